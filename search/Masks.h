#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace folivar {

class EMaskException : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One compiled wildcard mask: '*' any run of characters, '?' one character,
// [abc] [a-z] [!a-z] one character of (or not of) a set, everything else itself.
// Only 'a'..'z' and 'A'..'Z' match each other; a multi-byte UTF-8 character
// matches only itself and is never a member of a set.
class TMask {
public:
    explicit TMask(std::string_view mask);  // throws EMaskException

    bool Matches(std::string_view name) const;

    // At most this many states of one mask may follow a '*'.
    static constexpr int kMaxSkipStates = 30;

private:
    enum class Kind : std::uint8_t { Literal, AnyOne, Set, MultiByte };

    struct State {
        bool skipTo = false;
        Kind kind = Kind::Literal;
        bool negate = false;                  // Set
        std::uint8_t length = 1;              // MultiByte: bytes in the character
        std::array<std::uint8_t, 4> bytes{};  // Literal: bytes[0]; MultiByte: the character
        std::uint16_t set = 0;                // Set: index into sets_
    };

    bool fits(const State& state, std::string_view name, std::size_t p,
              std::size_t charLength) const;

    std::vector<State> states_;
    bool suffixOnly_ = false;  // "*" then ASCII literals only
    std::string suffix_;       // upper-cased
    std::vector<std::bitset<256>> sets_;
};

}  // namespace folivar
