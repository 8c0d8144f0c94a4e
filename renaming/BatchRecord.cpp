#include "renaming/BatchRecord.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <string>
#include <unordered_set>

namespace folivar {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

struct Fields {
    std::string_view parts[16];
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

// A file the batch was to move: a row's, or a side file's.
struct Planned {
    std::string from;
    std::string to;
    std::optional<MovedIdentity> source;
    std::size_t row = 0;        // the row it moves for
    std::size_t order = kNone;  // its place in the order the files move; kNone: not planned
    bool side = false;
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
            std::size_t row = 0;
            if (number(f.parts[1], row) && row < record.rows) {
                planned(row, row, false, f, 2);
            }
        } else if (kind == "A" && f.count == 7) {
            side(f);
        } else if (kind == "S" && (f.count == 3 || f.count == 7)) {
            if (Planned* p = entry(f.parts[1])) {
                identity(f, 2, p->source);
                p->identified = true;
            }
        } else if (kind == "I" && f.count == 3) {
            if (Planned* p = entry(f.parts[1])) {
                p->to = journal::unescaped(f.parts[2]);
                lastTold_ = p->order;
            }
        } else if (kind == "M" && (f.count == 2 || f.count == 3 || f.count == 7)) {
            moved(f);
        } else if (kind == "D" && f.count == 3) {
            std::size_t n = 0;
            if (number(f.parts[1], n) && n == record.madeFolders.size()) {
                record.madeFolders.push_back(MadeFolder{journal::unescaped(f.parts[2])});
            }
        } else if (kind == "C" && (f.count == 3 || f.count == 4)) {
            made(f);
        } else if (kind == "L" && f.count == 15) {
            link(f);
        } else if (kind == "K" && f.count == 2) {
            std::size_t row = 0;
            if (number(f.parts[1], row) && !record.links.empty() &&
                record.links.back().row == row) {
                record.links.back().recorded = true;
            }
        } else if (kind == "H" && f.count == 3) {
            JournaledShare share;
            if (number(f.parts[1], share.row)) {
                share.path = journal::unescaped(f.parts[2]);
                record.shares.push_back(std::move(share));
            }
        }
    }

    void finish() {
        for (const std::size_t at : order_) {
            const Planned& p = planned_[at];
            if (p.moved) {
                continue;
            }
            // Moves are recorded in the order made, so only the files after the
            // last one recorded can have moved unrecorded; and only once they
            // were written down.
            const bool after = lastTold_ == kNone || p.order >= lastTold_;
            if (!record.ended && after && p.identified) {
                record.moves.push_back(
                    JournaledMove{p.row, p.from, p.to, std::nullopt, p.source, false, p.side});
            }
        }
    }

private:
    // The planned file the field names; nullptr when none.
    Planned* entry(std::string_view field) {
        std::size_t at = 0;
        if (!number(field, at) || at >= planned_.size() || planned_[at].order == kNone) {
            return nullptr;
        }
        return &planned_[at];
    }

    void planned(std::size_t at, std::size_t row, bool side, const Fields& f, std::size_t first) {
        std::size_t fromFolder = 0;
        std::size_t toFolder = 0;
        if (!number(f.parts[first], fromFolder) || !number(f.parts[first + 2], toFolder) ||
            fromFolder >= folders_.size() || toFolder >= folders_.size()) {
            return;
        }
        if (planned_.size() <= at) {
            planned_.resize(std::max(at + 1, record.rows));
        }
        Planned& p = planned_[at];
        p.from = folders_[fromFolder] + journal::unescaped(f.parts[first + 1]);
        p.to = folders_[toFolder] + journal::unescaped(f.parts[first + 3]);
        p.row = row;
        p.side = side;
        p.order = order_.size();
        order_.push_back(at);
        if (side) {
            return;
        }
        ++record.planned;
        if (usedFolders_.insert(fromFolder).second) {
            record.folders.push_back(folders_[fromFolder]);
        }
    }

    void link(const Fields& f) {
        JournaledLink link;
        std::optional<MovedIdentity> duplicate;
        std::optional<MovedIdentity> original;
        if (!number(f.parts[1], link.row) || !identity(f, 5, duplicate) ||
            !identity(f, 10, original)) {
            return;
        }
        link.path = journal::unescaped(f.parts[2]);
        link.original = journal::unescaped(f.parts[3]);
        link.aside = journal::unescaped(f.parts[4]);
        link.duplicate = *duplicate;
        link.originalFile = *original;
        ++record.planned;
        const std::string folder = link.path.substr(0, link.path.rfind('/') + 1);
        if (linkFolders_.insert(folder).second) {
            record.folders.push_back(folder);
        }
        record.links.push_back(std::move(link));
    }

    // Side files are numbered on from the rows, one after the other, each
    // after its row's file.
    void side(const Fields& f) {
        std::size_t at = 0;
        std::size_t row = 0;
        if (!number(f.parts[1], at) || !number(f.parts[2], row) || row >= record.rows ||
            row >= planned_.size() || planned_[row].order == kNone ||
            at != std::max(planned_.size(), record.rows)) {
            return;
        }
        planned(at, row, true, f, 3);
    }

    void moved(const Fields& f) {
        Planned* p = entry(f.parts[1]);
        if (p == nullptr) {
            return;
        }
        JournaledMove move{p->row, p->from, p->to, std::nullopt, p->source, true, p->side};
        if (f.count == 7) {
            identity(f, 2, move.identity);
        }
        p->moved = true;
        lastTold_ = p->order;
        record.moves.push_back(std::move(move));
    }

    void made(const Fields& f) {
        std::size_t n = 0;
        if (!number(f.parts[1], n) || n >= record.madeFolders.size()) {
            return;
        }
        MadeFolder& folder = record.madeFolders[n];
        folder.told = true;
        folder.made =
            f.count == 4 && number(f.parts[2], folder.device) && number(f.parts[3], folder.inode);
    }

    std::vector<std::string> folders_;
    std::unordered_set<std::size_t> usedFolders_;
    std::unordered_set<std::string> linkFolders_;
    std::vector<Planned> planned_;    // by row, then the side files
    std::vector<std::size_t> order_;  // the planned, in the order they move
    std::size_t lastTold_ = kNone;    // by order
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
