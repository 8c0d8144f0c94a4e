#include "filelist/ColumnSort.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>

#include "filelist/DateText.h"
#include "filelist/IntegerText.h"

namespace folivar {

namespace {

unsigned char foldAscii(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - ('a' - 'A')) : u;
}

// Only the ASCII letters a..z are folded onto A..Z, every other byte compares
// by its own code, and no locale is consulted; a text that begins another
// comes first.
int compareTextNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int diff = int{foldAscii(a[i])} - int{foldAscii(b[i])};
        if (diff != 0) {
            return diff;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

// Sorts positions by their keys with a three-way comparison; a descending
// sort negates it. Keys are made once per row, not once per comparison.
template <typename Key, typename Compare>
std::vector<std::size_t> orderBy(const std::vector<Key>& keys, bool descending, Compare compare) {
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (descending) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return compare(keys[a], keys[b]) > 0;
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return compare(keys[a], keys[b]) < 0;
        });
    }
    return order;
}

template <typename T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// strcmp on these keys ranks texts as strcoll does, at a fraction of its cost.
std::string collationKey(const std::string& text) {
    std::string key(text.size() * 4 + 16, '\0');
    std::size_t length = std::strxfrm(key.data(), text.c_str(), key.size());
    if (length >= key.size()) {
        key.assign(length + 1, '\0');
        length = std::strxfrm(key.data(), text.c_str(), key.size());
    }
    key.resize(length);
    return key;
}

template <typename Read>
auto readCells(const FileTable& table, TFileColumn column, Read read) {
    std::vector<decltype(read(std::string()))> keys;
    keys.reserve(table.size());
    for (const FileRow& row : table) {
        keys.push_back(read(row.cell(column)));
    }
    return keys;
}

std::vector<std::size_t> sortedOrder(const FileTable& table, TFileColumn column, bool descending) {
    switch (column) {
        case fcSize:
        case fcGroup: {
            const auto keys =
                readCells(table, column, [](const std::string& cell) { return StrToInt64(cell); });
            return orderBy(keys, descending, threeWay<int64_t>);
        }
        case fcModified: {
            const auto keys =
                readCells(table, column, [](const std::string& cell) { return StrToDate(cell); });
            return orderBy(keys, descending, threeWay<TDateTime>);
        }
        case fcFileName:
            if (!descending) {
                const auto keys = readCells(table, column, collationKey);
                return orderBy(keys, false, threeWay<std::string>);
            }
            [[fallthrough]];
        case fcPath:
        case fcType:
        case fcStatus: {
            const auto keys = readCells(
                table, column, [](const std::string& cell) { return std::string_view(cell); });
            return orderBy(keys, descending, compareTextNoCase);
        }
    }
    throw std::out_of_range("no such file list column");
}

}  // namespace

std::vector<std::size_t> sortRows(FileTable& table, TFileColumn column, bool descending) {
    std::vector<std::size_t> order = sortedOrder(table, column, descending);
    table.reorder(order);
    return order;
}

std::vector<std::size_t> clickColumn(FileTable& table, int column, int8_t& lastSortedColumn) {
    if (column < 0 || column >= kFileColumnCount) {
        throw std::out_of_range("no such file list column");
    }
    const bool descending = column == lastSortedColumn;
    std::vector<std::size_t> order = sortRows(table, static_cast<TFileColumn>(column), descending);
    lastSortedColumn = descending ? int8_t{-1} : static_cast<int8_t>(column);
    return order;
}

}  // namespace folivar
