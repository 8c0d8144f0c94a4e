#include "SyntheticFileList.h"

#include <array>
#include <random>
#include <string>

namespace folivar::bench {

namespace {

constexpr std::array<const char*, 8> kTops = {"/home/anna/Pictures/", "/home/anna/Documents/",
                                              "/media/backup/Fotos/", "/home/anna/Downloads/",
                                              "/srv/share/Scans/",    "/home/anna/Music/",
                                              "/media/usb/DCIM/",     "/home/anna/Projekte/"};
constexpr std::array<const char*, 12> kFolders = {"2019",
                                                  "2023",
                                                  "Urlaub \xC3\x96sterreich",
                                                  "Familie",
                                                  "Rechnungen",
                                                  "Camera",
                                                  "\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE",
                                                  "old backups",
                                                  "Hochzeit Tina & Jan",
                                                  "raw",
                                                  "\xE6\x97\x85\xE8\xA1\x8C",
                                                  "misc"};
constexpr std::array<const char*, 10> kStems = {"IMG_",
                                                "DSC",
                                                "Scan ",
                                                "Dokument \xC3\x9C"
                                                "bersicht ",
                                                "P",
                                                "Rechnung-",
                                                "track ",
                                                "Screenshot from 2023-05-14 18-30-",
                                                "\xE5\x86\x99\xE7\x9C\x9F",
                                                "notes "};
constexpr std::array<const char*, 10> kTypes = {"jpg", "JPG", "png", "pdf", "docx",
                                                "mp3", "CR2", "txt", "mov", ""};

}  // namespace

FileTable syntheticFileList(std::size_t rows, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    const auto pick = [&](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    FileTable table;
    std::string path;
    for (std::size_t i = 0; i < rows; ++i) {
        // A new folder every few dozen files, as a walk reports them.
        if (i % (7 + pick(60)) == 0 || path.empty()) {
            path = kTops[pick(kTops.size())];
            const std::size_t depth = 2 + pick(5);
            for (std::size_t level = 0; level < depth; ++level) {
                path += kFolders[pick(kFolders.size())];
                path += '/';
            }
        }
        const std::string type = kTypes[pick(kTypes.size())];
        std::string name = kStems[pick(kStems.size())] + std::to_string(pick(100000));
        if (!type.empty()) {
            name += "." + type;
        }
        const int sizeBits = 8 + static_cast<int>(pick(26));
        const std::uint64_t size = random() % (std::uint64_t{1} << sizeBits);
        const std::string modified = std::to_string(1 + pick(28)) + "." +
                                     std::to_string(1 + pick(12)) + "." +
                                     std::to_string(2000 + pick(27));
        table.append({std::move(name), path, std::to_string(size), type, modified, "0", "-"});
    }
    return table;
}

}  // namespace folivar::bench
