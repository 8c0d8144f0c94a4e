#include "search/Masks.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "search/Utf8.h"

namespace folivar {

namespace {

[[noreturn]] void invalidMask(std::string_view mask, std::size_t position) {
    throw EMaskException("'" + std::string(mask) + "' is an invalid mask at (" +
                         std::to_string(position) + ")");
}

}  // namespace

TMask::TMask(std::string_view mask) {
    const std::size_t size = mask.size();
    bool pendingSkip = false;
    int skipStates = 0;

    // faultPosition: where a 31st state after a '*' is reported.
    auto append = [&](State state, std::size_t faultPosition) {
        state.skipTo = pendingSkip;
        if (pendingSkip && ++skipStates > kMaxSkipStates) {
            invalidMask(mask, faultPosition);
        }
        states_.push_back(state);
        pendingSkip = false;
    };
    auto byteAt = [&](std::size_t pos) { return static_cast<unsigned char>(mask[pos]); };

    std::size_t i = 0;
    while (i < size) {
        const unsigned char c = byteAt(i);
        if (c == '*') {
            pendingSkip = true;
            ++i;
        } else if (c == '?') {
            if (!pendingSkip) {  // "*?" is the same as "*"
                append(State{.kind = Kind::AnyOne}, i + 1);
            }
            ++i;
        } else if (c == '[') {
            std::size_t pos = i + 1;
            bool negate = false;
            if (pos < size && mask[pos] == '!') {
                negate = true;
                ++pos;
            }
            std::bitset<256> members;
            int lastSingle = -1;  // a range is never the lower bound of another
            bool closed = false;
            while (pos < size) {
                const unsigned char b = byteAt(pos);
                if (b == ']') {
                    closed = true;
                    break;
                }
                if (b == '-') {
                    if (lastSingle < 0) {
                        invalidMask(mask, pos + 1);
                    }
                    if (pos + 1 >= size) {
                        invalidMask(mask, size + 1);  // no upper bound: the set is not closed
                    }
                    const int upper = asciiUpper(byteAt(pos + 1));
                    for (int m = lastSingle; m <= upper; ++m) {
                        members.set(static_cast<std::size_t>(m));
                    }
                    // The bound is consumed whatever it is, a whole multi-byte character included.
                    pos += 1 + utf8CharLength(mask, pos + 1);
                    continue;
                }
                const std::size_t length = utf8CharLength(mask, pos);
                if (length == 1) {
                    lastSingle = asciiUpper(b);
                    members.set(static_cast<std::size_t>(lastSingle));
                }
                pos += length;  // a multi-byte character is never a member
            }
            if (!closed) {
                invalidMask(mask, size + 1);
            }
            if (members.none()) {
                invalidMask(mask, pos + 1);
            }
            sets_.push_back(members);
            append(State{.kind = Kind::Set,
                         .negate = negate,
                         .set = static_cast<std::uint16_t>(sets_.size() - 1)},
                   pos + 1);
            i = pos + 1;
        } else if (const std::size_t length = utf8CharLength(mask, i); length > 1) {
            State state{.kind = Kind::MultiByte, .length = static_cast<std::uint8_t>(length)};
            std::memcpy(state.bytes.data(), mask.data() + i, length);
            append(state, i + length);
            i += length;
        } else {
            append(State{.kind = Kind::Literal, .bytes = {asciiUpper(c)}}, i + 1);
            ++i;
        }
    }
    append(State{.kind = Kind::Literal, .bytes = {0}}, size + 1);  // the end of the name

    suffixOnly_ = states_.size() >= 2 && states_[0].skipTo && !states_.back().skipTo;
    for (std::size_t k = 0; suffixOnly_ && k + 1 < states_.size(); ++k) {
        const State& s = states_[k];
        suffixOnly_ = s.kind == Kind::Literal && s.bytes[0] != 0 && s.bytes[0] < 0x80 &&
                      (k == 0 || !s.skipTo);
        suffix_.push_back(static_cast<char>(s.bytes[0]));
    }
}

bool TMask::fits(const State& state, std::string_view name, std::size_t p,
                 std::size_t charLength) const {
    if (p >= name.size()) {
        return state.kind == Kind::Literal && state.bytes[0] == 0;
    }
    const auto c = static_cast<unsigned char>(name[p]);
    switch (state.kind) {
        case Kind::Literal:
            return charLength == 1 && asciiUpper(c) == state.bytes[0];
        case Kind::AnyOne:
            return true;
        case Kind::Set:
            return (charLength == 1 && sets_[state.set].test(asciiUpper(c))) != state.negate;
        case Kind::MultiByte:
            return charLength == state.length &&
                   std::memcmp(name.data() + p, state.bytes.data(), charLength) == 0;
    }
    return false;
}

bool TMask::Matches(std::string_view name) const {
    if (const auto nul = name.find('\0'); nul != std::string_view::npos) {
        name = name.substr(0, nul);  // a name ends at its first NUL
    }
    if (suffixOnly_) {
        // An ASCII byte never sits inside a multi-byte character, so the literals
        // match exactly when the name ends in them.
        if (name.size() < suffix_.size()) {
            return false;
        }
        const char* tail = name.data() + (name.size() - suffix_.size());
        for (std::size_t k = 0; k < suffix_.size(); ++k) {
            if (asciiUpper(static_cast<unsigned char>(tail[k])) !=
                static_cast<unsigned char>(suffix_[k])) {
                return false;
            }
        }
        return true;
    }
    auto lengthAt = [&](std::size_t p) -> std::size_t {
        return p < name.size() ? utf8CharLength(name, p) : 0;
    };

    struct Retry {
        std::size_t position;
        std::size_t state;
    };
    // Each state after a '*' holds at most one retry, and the retries on the stack
    // belong to states in increasing order.
    std::array<Retry, kMaxSkipStates> stack{};
    std::size_t depth = 0;
    std::size_t deepestSkip = 0;

    std::size_t p = 0;
    std::size_t i = 0;
    for (;;) {
        bool failed = false;
        for (; i < states_.size(); ++i) {
            const State& state = states_[i];
            if (state.skipTo) {
                while (p < name.size() && !fits(state, name, p, lengthAt(p))) {
                    p += lengthAt(p);
                }
                if (p < name.size() && depth < stack.size()) {
                    stack[depth++] = Retry{p + lengthAt(p), i};
                }
                deepestSkip = std::max(deepestSkip, i);
            }
            const std::size_t length = lengthAt(p);
            if (!fits(state, name, p, length)) {
                failed = true;
                break;
            }
            p += length;
        }
        if (!failed) {
            return true;
        }
        if (depth == 0) {
            return false;
        }
        const Retry retry = stack[--depth];
        // Once a later '*' has been reached, retrying an earlier one can only reach
        // it again further right, where the later one's own retries have already
        // looked. Dropping those retries changes no result and keeps matching linear.
        if (retry.state < deepestSkip) {
            return false;
        }
        p = retry.position;
        i = retry.state;
    }
}

}  // namespace folivar
