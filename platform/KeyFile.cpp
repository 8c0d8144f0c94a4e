#include "platform/KeyFile.h"

#include <fstream>
#include <sstream>

namespace folivar::platform {

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Undoes the escapes of a value; a list is also split at each unescaped ";"
// ("\;" stays a ";" inside a part).
std::vector<std::string> unescape(std::string_view raw, bool isList) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (isList && c == ';') {
            parts.emplace_back();
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char next = raw[++i];
            switch (next) {
                case 's':
                    parts.back() += ' ';
                    break;
                case 'n':
                    parts.back() += '\n';
                    break;
                case 't':
                    parts.back() += '\t';
                    break;
                case 'r':
                    parts.back() += '\r';
                    break;
                default:  // "\\", "\;" and anything else stand for themselves
                    parts.back() += next;
                    break;
            }
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

}  // namespace

std::optional<KeyFile> KeyFile::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return parse(text.str());
}

KeyFile KeyFile::parse(std::string_view text) {
    KeyFile file;
    std::map<std::string, std::string>* group = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            group = &file.groups_[std::string(line.substr(1, line.size() - 2))];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (group == nullptr || equals == std::string_view::npos) {
            continue;  // not a key of any group
        }
        group->try_emplace(std::string(trimmed(line.substr(0, equals))),
                           std::string(trimmed(line.substr(equals + 1))));
    }
    return file;
}

const std::string* KeyFile::raw(const std::string& group, const std::string& key) const {
    const auto found = groups_.find(group);
    if (found == groups_.end()) {
        return nullptr;
    }
    const auto value = found->second.find(key);
    return value == found->second.end() ? nullptr : &value->second;
}

bool KeyFile::has(const std::string& group, const std::string& key) const {
    return raw(group, key) != nullptr;
}

std::string KeyFile::value(const std::string& group, const std::string& key) const {
    const std::string* found = raw(group, key);
    return found == nullptr ? std::string() : unescape(*found, false).front();
}

std::vector<std::string> KeyFile::list(const std::string& group, const std::string& key) const {
    const std::string* found = raw(group, key);
    std::vector<std::string> parts;
    if (found != nullptr) {
        for (std::string& part : unescape(*found, true)) {
            if (!part.empty()) {
                parts.push_back(std::move(part));
            }
        }
    }
    return parts;
}

}  // namespace folivar::platform
