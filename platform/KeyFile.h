#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folivar::platform {

// A file of "[Group]" headers and "Key=Value" lines, as desktop entries and
// mimeapps.list are written. Comments and blank lines are skipped; of a key
// given twice in one group the first counts.
class KeyFile {
public:
    // nullopt when the file cannot be read.
    static std::optional<KeyFile> read(const std::string& path);
    static KeyFile parse(std::string_view text);

    // The value with its escapes (\s \n \t \r \\) undone; empty when missing.
    std::string value(const std::string& group, const std::string& key) const;
    // A list value: the parts between unescaped ";", empty parts left out.
    std::vector<std::string> list(const std::string& group, const std::string& key) const;
    bool has(const std::string& group, const std::string& key) const;

private:
    const std::string* raw(const std::string& group, const std::string& key) const;

    std::map<std::string, std::map<std::string, std::string>, std::less<>> groups_;
};

}  // namespace folivar::platform
