#include "ExportVariants.h"

#include <sys/stat.h>

#include <cstdio>
#include <stdexcept>

#include "LastProgress.h"
#include "export/SpreadsheetExport.h"
#include "export/XlsxApplication.h"

namespace folivar::bench {

namespace {

std::uint64_t sizeOf(const std::string& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

void putField(const std::string& text, std::FILE* out) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        std::fwrite(text.data(), 1, text.size(), out);
        return;
    }
    std::fputc('"', out);
    for (char c : text) {
        if (c == '"') {
            std::fputc('"', out);
        }
        std::fputc(c, out);
    }
    std::fputc('"', out);
}

}  // namespace

VariantResult exportWorkbook(const FileTable& table) {
    VariantResult result;
    SpreadsheetExport exporter(XlsxApplication::creator(
        {{}, [&](const std::string& file, const std::string&) { result.file = file; }}));
    LastProgress shown;
    if (exporter.exportList(table, shown).result != SpreadsheetExport::Result::Completed ||
        shown.position != 100) {
        throw std::runtime_error("the export did not complete: " + shown.text);
    }
    result.fileBytes = sizeOf(result.file);
    return result;
}

VariantResult writeCsv(const FileTable& table, const std::string& folder) {
    VariantResult result;
    result.file = folder + "/FileList.csv";
    std::FILE* out = std::fopen(result.file.c_str(), "wx");
    if (out == nullptr) {
        throw std::runtime_error("cannot create " + result.file);
    }
    for (const FileRow& row : table) {
        for (int column = 0; column < kFileColumnCount; ++column) {
            if (column > 0) {
                std::fputc(',', out);
            }
            putField(row.cell(static_cast<TFileColumn>(column)), out);
        }
        std::fputc('\n', out);
    }
    if (std::fclose(out) != 0) {
        throw std::runtime_error("cannot write " + result.file);
    }
    result.fileBytes = sizeOf(result.file);
    return result;
}

}  // namespace folivar::bench
