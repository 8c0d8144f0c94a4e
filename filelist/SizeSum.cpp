#include "filelist/SizeSum.h"

#include <array>
#include <charconv>
#include <stdexcept>

#include "filelist/IntegerText.h"
#include "filelist/ListStatus.h"

namespace folivar {

namespace {

// Fixed-point text of value. to_chars rounds the exact binary value, halves to
// even, and never looks at the locale.
std::string fixed(double value, int decimals) {
    std::array<char, 400> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        throw std::range_error("size total out of range");
    }
    return std::string(text.data(), end);
}

// One decimal after a comma. The amounts are the total over a power of two,
// exact in a double, so a half is a true half.
std::string oneDecimal(double value) {
    std::string text = fixed(value, 1);
    text[text.size() - 2] = ',';
    return text;
}

std::string whole(double value) {
    std::string text = fixed(value, 0);
    return text == "-0" ? "0" : text;
}

constexpr double kKb = 1024.0;
constexpr double kMb = 1048576.0;
constexpr double kGb = 1073741824.0;

}  // namespace

std::string sizeText(double total) {
    if (total < kKb) {
        return whole(total) + " bytes";
    }
    if (total < kMb) {
        return oneDecimal(total / kKb) + " Kb";
    }
    if (total < kGb) {
        return oneDecimal(total / kMb) + " Mb";
    }
    return oneDecimal(total / kGb) + " Gb";
}

std::string sumMessage(double total, std::int64_t count) {
    const double average = total / static_cast<double>(count);
    std::string text = sizeText(total) + " in " + std::to_string(count) + " files (average size - ";
    if (total < kMb) {
        return text + whole(average) + " bytes)";
    }
    if (total < kGb) {
        return text + whole(average / kKb) + " Kb)";
    }
    return text + whole(average / kMb) + " Mb)";
}

std::optional<std::string> sumSizes(const FileTable& table, const RowSelection& selection,
                                    ProgressSink& progress) {
    requireSelectionFits(selection, table.size());
    progress.status(kPleaseWait);
    double total = 0.0;
    std::int64_t count = 0;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (selection[row]) {
            total += static_cast<double>(StrToInt64(table[row].Size));
            ++count;
        }
    }
    progress.status(filesInListText(table.size()));
    if (count == 0) {
        return std::nullopt;
    }
    return sumMessage(total, count);
}

}  // namespace folivar
