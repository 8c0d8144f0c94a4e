// folivar_listcmds shuffle|sum|delete LIST
//
// Reads LIST, one "<size>\t<folder/><name>" line per file, into the file table
// the way a scan fills it, selects every row and runs one list command:
//   shuffle  Shuffle Items; prints the rows in their new order, as read
//   sum      Sum Up Zize of File(s); prints "total <bytes> <files>" and the message
//   delete   Delete File(s); prints the status line
// The time the command itself took (table filled, output not written) goes to
// stderr as "command <ms> ms". Exit status 2 on a usage, input or output error.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <string_view>

#include "LastProgress.h"
#include "filelist/DeleteFiles.h"
#include "filelist/IntegerText.h"
#include "filelist/RowSelection.h"
#include "filelist/Shuffle.h"
#include "filelist/SizeSum.h"

namespace {

bool readList(const char* path, folivar::FileTable& table) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        const std::size_t slash = line.rfind('/');
        if (tab == std::string::npos || slash == std::string::npos || slash < tab) {
            return false;
        }
        table.append({line.substr(slash + 1), line.substr(tab + 1, slash - tab),
                      line.substr(0, tab), "", "1.1.2001", "0", "-"});
    }
    return in.eof();
}

bool writeRows(const folivar::FileTable& table) {
    std::string text;
    for (const folivar::FileRow& row : table) {
        text += row.Size;
        text += '\t';
        text += row.Path;
        text += row.FileName;
        text += '\n';
    }
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc == 3 ? argv[1] : "";
    if (command != "shuffle" && command != "sum" && command != "delete") {
        std::fprintf(stderr, "usage: %s shuffle|sum|delete LIST\n", argv[0]);
        return 2;
    }
    folivar::FileTable table;
    if (!readList(argv[2], table)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[2]);
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        std::string output;
        if (command == "shuffle") {
            folivar::shuffleRows(table);
        } else if (command == "sum") {
            const folivar::RowSelection all = folivar::selectAll(table.size());
            const auto message = folivar::sumSizes(table, all, folivar::ProgressSink::silent());
            // An exact total beside the message, for checking against the peer.
            std::int64_t total = 0;
            for (const folivar::FileRow& row : table) {
                total += folivar::StrToInt64(row.Size);
            }
            output = "total " + std::to_string(total) + " " + std::to_string(table.size()) + "\n" +
                     message.value_or("") + "\n";
        } else {
            folivar::bench::LastProgress shown;
            folivar::deleteFiles(table, folivar::selectAll(table.size()), shown);
            output = shown.text + "\n";
        }
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "command %.1f ms\n", spent.count());
        const bool written = command == "shuffle" ? writeRows(table)
                                                  : std::fwrite(output.data(), 1, output.size(),
                                                                stdout) == output.size();
        if (!written || std::fflush(stdout) != 0) {
            std::perror("write");
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 2;
    }
    return 0;
}
