#include "PairwiseReference.h"

#include <string>
#include <vector>

#include "ContentComparison.h"
#include "filelist/ColumnSort.h"
#include "filelist/IntegerText.h"

namespace folivar::test {

std::int32_t pairwiseSearch(FileTable& table) {
    sortRows(table, fcSize, false);
    std::int32_t group = 1;
    bool groupUsed = false;
    std::int32_t found = 0;
    std::size_t i = 0;
    while (i + 1 < table.size()) {
        if (table[i].Size != table[i + 1].Size) {
            ++i;
            continue;
        }
        const std::string size = table[i].Size;
        const std::size_t start = i;
        while (i < table.size() && table[i].Size == size) {
            ++i;
        }
        for (std::size_t a = start; a + 2 <= i; ++a) {
            if (groupUsed) {
                ++group;
            }
            groupUsed = false;
            if (table[a].Status == "Dupl") {
                continue;
            }
            for (std::size_t b = a + 1; b < i; ++b) {
                if (table[b].Status != "Dupl" &&
                    filesIdentical(table[a].file(), table[b].file(), StrToInt64(size))) {
                    table[a].Group = table[b].Group = std::to_string(group);
                    table[a].Status = "Orig";
                    table[b].Status = "Dupl";
                    groupUsed = true;
                    ++found;
                }
            }
        }
    }
    std::vector<std::size_t> ungrouped;
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].Group == "0") {
            ungrouped.push_back(row);
        }
    }
    table.removeRows(ungrouped);
    return found;
}

}  // namespace folivar::test
