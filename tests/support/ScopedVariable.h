#pragma once

#include <optional>
#include <string>

namespace folivar::test {

// Sets an environment variable (unsets it for nullopt) for the life of the
// object and puts back what it was afterwards, unset included.
class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string>& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace folivar::test
