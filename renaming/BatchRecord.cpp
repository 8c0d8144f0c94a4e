#include "renaming/BatchRecord.h"

#include <charconv>
#include <limits>

namespace folivar {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

struct Fields {
    std::string_view parts[8];
    std::size_t count = 0;
};

Fields split(std::string_view line) {
    Fields fields;
    while (fields.count < 8) {
        const std::size_t tab = line.find('\t');
        fields.parts[fields.count++] = line.substr(0, tab);
        if (tab == std::string_view::npos) {
            break;
        }
        line.remove_prefix(tab + 1);
    }
    return fields;
}

template <typename T>
bool number(std::string_view text, T& value) {
    std::uint64_t wide = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wide);
    if (error != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    value = static_cast<T>(wide);
    return true;
}

struct Planned {
    std::string from;
    std::string to;
    bool moved = false;
};

class Reader {
public:
    BatchRecord record;

    void line(std::string_view text) {
        const Fields f = split(text);
        const std::string_view kind = f.parts[0];
        if (text == "begin") {
            record.begun = true;
            record.interrupted = true;
        } else if (text == "end") {
            record.ended = true;
            record.interrupted = false;
        } else if (text == "undo") {
            record.interrupted = true;
        } else if (text == "undone") {
            record.undone = true;
            record.interrupted = false;
        } else if (text == "kept") {
            record.interrupted = false;
        } else if (kind == "batch" && f.count == 2) {
            number(f.parts[1], record.rows);
        } else if (kind == "F" && f.count == 3) {
            std::size_t id = 0;
            if (number(f.parts[1], id) && id == folders_.size()) {
                folders_.push_back(journal::unescaped(f.parts[2]));
            }
        } else if (kind == "P" && f.count == 6) {
            planned(f);
        } else if (kind == "I" && f.count == 3) {
            std::size_t row = 0;
            if (number(f.parts[1], row) && row < planned_.size()) {
                planned_[row].to = journal::unescaped(f.parts[2]);
                lastTold_ = row;
            }
        } else if (kind == "M" && (f.count == 3 || f.count == 7)) {
            moved(f);
        }
    }

    void finish() {
        for (std::size_t row = 0; row < planned_.size(); ++row) {
            Planned& p = planned_[row];
            if (p.moved) {
                continue;
            }
            // Moves are recorded in the order made, so only the rows after the
            // last one recorded can have moved unrecorded.
            const bool after = lastTold_ == kNone || row >= lastTold_;
            if (!record.ended && after && !p.from.empty()) {
                record.moves.push_back(JournaledMove{row, p.from, p.to, std::nullopt, false});
            }
        }
    }

private:
    void planned(const Fields& f) {
        std::size_t row = 0;
        std::size_t fromFolder = 0;
        std::size_t toFolder = 0;
        if (!number(f.parts[1], row) || !number(f.parts[2], fromFolder) ||
            !number(f.parts[4], toFolder) || fromFolder >= folders_.size() ||
            toFolder >= folders_.size() || row >= record.rows) {
            return;
        }
        if (planned_.size() <= row) {
            planned_.resize(record.rows);
        }
        planned_[row].from = folders_[fromFolder] + journal::unescaped(f.parts[3]);
        planned_[row].to = folders_[toFolder] + journal::unescaped(f.parts[5]);
    }

    void moved(const Fields& f) {
        std::size_t row = 0;
        if (!number(f.parts[1], row) || row >= planned_.size() || planned_[row].from.empty()) {
            return;
        }
        Planned& p = planned_[row];
        JournaledMove move{row, p.from, p.to, std::nullopt, true};
        MovedIdentity identity;
        if (f.count == 7 && number(f.parts[2], identity.device) &&
            number(f.parts[3], identity.inode) && number(f.parts[4], identity.size) &&
            number(f.parts[5], identity.modified.seconds) &&
            number(f.parts[6], identity.modified.nanoseconds)) {
            move.identity = identity;
        }
        p.moved = true;
        lastTold_ = row;
        record.moves.push_back(std::move(move));
    }

    std::vector<std::string> folders_;
    std::vector<Planned> planned_;
    std::size_t lastTold_ = kNone;
};

}  // namespace

BatchRecord BatchRecord::parse(std::string_view text) {
    Reader reader;
    if (text.substr(0, journal::kFirstLine.size()) != journal::kFirstLine) {
        return reader.record;
    }
    text.remove_prefix(journal::kFirstLine.size());
    for (;;) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            break;  // nothing, or a line cut short by a kill
        }
        reader.line(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    reader.finish();
    return reader.record;
}

}  // namespace folivar
