#include "renaming/BatchRecord.h"

#include <charconv>
#include <iterator>
#include <limits>
#include <unordered_set>

namespace folivar {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

struct Fields {
    std::string_view parts[12];
    std::size_t count = 0;
};

Fields split(std::string_view line) {
    Fields fields;
    while (fields.count < std::size(fields.parts)) {
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

// Five fields from first on; false when they are not five numbers ("-").
bool identity(const Fields& f, std::size_t first, std::optional<MovedIdentity>& out) {
    MovedIdentity read;
    if (f.count < first + 5 || !number(f.parts[first], read.device) ||
        !number(f.parts[first + 1], read.inode) || !number(f.parts[first + 2], read.size) ||
        !number(f.parts[first + 3], read.modified.seconds) ||
        !number(f.parts[first + 4], read.modified.nanoseconds)) {
        return false;
    }
    out = read;
    return true;
}

struct Planned {
    std::string from;
    std::string to;
    std::optional<MovedIdentity> source;
    bool identified = false;  // its S line is there: it may have moved
    bool moved = false;
};

class Reader {
public:
    BatchRecord record;

    void line(std::string_view text) {
        const Fields f = split(text);
        const std::string_view kind = f.parts[0];
        if (const std::optional<BatchState> state = journal::stateOfLine(text)) {
            record.state = *state;
            record.ended = record.ended || *state == BatchState::Ended;
        } else if (kind == "batch" && (f.count == 2 || f.count == 3)) {
            number(f.parts[1], record.rows);
            record.when = f.count == 3 ? journal::unescaped(f.parts[2]) : std::string();
        } else if (kind == "F" && f.count == 3) {
            std::size_t id = 0;
            if (number(f.parts[1], id) && id == folders_.size()) {
                folders_.push_back(journal::unescaped(f.parts[2]));
            }
        } else if (kind == "P" && f.count == 6) {
            planned(f);
        } else if (kind == "S" && (f.count == 3 || f.count == 7)) {
            std::size_t row = 0;
            if (number(f.parts[1], row) && row < planned_.size()) {
                identity(f, 2, planned_[row].source);
                planned_[row].identified = true;
            }
        } else if (kind == "I" && f.count == 3) {
            std::size_t row = 0;
            if (number(f.parts[1], row) && row < planned_.size()) {
                planned_[row].to = journal::unescaped(f.parts[2]);
                lastTold_ = row;
            }
        } else if (kind == "M" && (f.count == 2 || f.count == 3 || f.count == 7)) {
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
            // last one recorded can have moved unrecorded; and only once their
            // file was written down.
            const bool after = lastTold_ == kNone || row >= lastTold_;
            if (!record.ended && after && p.identified) {
                record.moves.push_back(
                    JournaledMove{row, p.from, p.to, std::nullopt, p.source, false});
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
        Planned& p = planned_[row];
        p.from = folders_[fromFolder] + journal::unescaped(f.parts[3]);
        p.to = folders_[toFolder] + journal::unescaped(f.parts[5]);
        ++record.planned;
        if (usedFolders_.insert(fromFolder).second) {
            record.folders.push_back(folders_[fromFolder]);
        }
    }

    void moved(const Fields& f) {
        std::size_t row = 0;
        if (!number(f.parts[1], row) || row >= planned_.size() || planned_[row].from.empty()) {
            return;
        }
        Planned& p = planned_[row];
        JournaledMove move{row, p.from, p.to, std::nullopt, p.source, true};
        if (f.count == 7) {
            identity(f, 2, move.identity);
        }
        p.moved = true;
        lastTold_ = row;
        record.moves.push_back(std::move(move));
    }

    std::vector<std::string> folders_;
    std::unordered_set<std::size_t> usedFolders_;
    std::vector<Planned> planned_;
    std::size_t lastTold_ = kNone;
};

}  // namespace

bool JournaledMove::madeIt(const MovedIdentity& found) const {
    if (identity) {
        return found == *identity;
    }
    if (source) {
        return source->movedTo(found);
    }
    return recorded;  // the journal of an older version: as it ever was
}

BatchRecord BatchRecord::parse(std::string_view text) {
    Reader reader;
    if (!text.starts_with(journal::kFirstLine) && !text.starts_with(journal::kFirstLineV1)) {
        return reader.record;
    }
    text.remove_prefix(journal::kFirstLine.size());  // both versions' are as long
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
