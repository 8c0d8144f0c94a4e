// The date taken of real files, made here: each picture and video format
// that can be written on the test machine, the fall-backs in their order,
// time-zone offsets, and files that are damaged or are no files at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <functional>
#include <string>

#include "datetaken/ContainerDate.h"
#include "datetaken/CpuBoundedRead.h"
#include "datetaken/DateFormat.h"
#include "datetaken/DateTaken.h"
#include "datetaken/DateTimeText.h"
#include "datetaken/DatesTaken.h"
#include "support/MediaFiles.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using test::ExifTags;
using test::TempTree;

// Central European time: UTC+1, UTC+2 in summer (15 April is summer).
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

const ExifTags kOriginal{{"Exif.Photo.DateTimeOriginal", "2023:04:15 12:34:56"}};

std::string shown(const DateTaken& taken) {
    const char* source[] = {"metadata", "name", "modified", "none"};
    return formatDate("yyyy-MM-dd HH:mm:ss.zzz ", taken.when) +
           source[static_cast<int>(taken.source)];
}

// 1 March 2020, noon: the modification time every file gets, far from the
// dates the files hold.
std::time_t modifiedAt() {
    return test::localTime(2020, 3, 1, 12, 0, 0);
}

struct FormatCase {
    const char* name;
    const char* file;
    std::function<void(const std::string&)> make;
    const char* expected;
};

class DateTakenTest : public ::testing::Test {
protected:
    std::string read(const std::string& relative) {
        tree.setTimes(relative, modifiedAt(), modifiedAt());
        return shown(readDateTaken(tree.at(relative)));
    }

    test::ScopedTimeZone zone{kCentralEurope};
    TempTree tree;
};

TEST_F(DateTakenTest, EveryFormatGivesItsDate) {
    const long long utc = 1681554896;  // 2023-04-15 10:34:56 UTC, 12:34:56 in Paris
    const FormatCase cases[] = {
        {"jpeg", "a.jpg", [](auto& p) { test::writeJpeg(p, kOriginal); },
         "2023-04-15 12:34:56.000 metadata"},
        {"png", "a.png", [](auto& p) { test::writePng(p, kOriginal); },
         "2023-04-15 12:34:56.000 metadata"},
        {"webp", "a.webp", [](auto& p) { test::writeWebp(p, kOriginal); },
         "2023-04-15 12:34:56.000 metadata"},
        {"tiff", "a.tif", [](auto& p) { test::writeTiff(p, kOriginal); },
         "2023-04-15 12:34:56.000 metadata"},
        // A camera raw of the TIFF family (DNG, NEF, ARW, ...).
        {"dng", "a.dng", [](auto& p) { test::writeTiff(p, kOriginal); },
         "2023-04-15 12:34:56.000 metadata"},
        {"heic", "a.heic", [](auto& p) { test::writeHeic(p, kOriginal); },
         "2023-04-15 12:34:56.000 metadata"},
        {"mp4", "a.mp4", [utc](auto& p) { test::writeIsoMedia(p, "isom", utc); },
         "2023-04-15 12:34:56.000 metadata"},
        {"mov", "a.mov", [utc](auto& p) { test::writeIsoMedia(p, "qt  ", utc); },
         "2023-04-15 12:34:56.000 metadata"},
        {"m4v", "a.m4v", [utc](auto& p) { test::writeIsoMedia(p, "M4V ", utc); },
         "2023-04-15 12:34:56.000 metadata"},
        {"3gp", "a.3gp", [utc](auto& p) { test::writeIsoMedia(p, "3gp4", utc); },
         "2023-04-15 12:34:56.000 metadata"},
        {"mkv", "a.mkv", [utc](auto& p) { test::writeMatroska(p, utc); },
         "2023-04-15 12:34:56.000 metadata"},
        // AVI's date is the camera's local time, taken as it stands.
        {"avi", "a.avi", [](auto& p) { test::writeAvi(p, "SAT APR 15 12:34:56 2023"); },
         "2023-04-15 12:34:56.000 metadata"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(tree.file(c.file));
        EXPECT_EQ(read(c.file), c.expected);
    }
}

TEST_F(DateTakenTest, ExifTagsInTheirOrderWithOffsetAndFraction) {
    struct Case {
        const char* name;
        ExifTags tags;
        const char* expected;
    };
    const Case cases[] = {
        {"original before digitized",
         {{"Exif.Photo.DateTimeOriginal", "2023:04:15 12:34:56"},
          {"Exif.Photo.DateTimeDigitized", "2024:01:01 00:00:00"}},
         "2023-04-15 12:34:56.000 metadata"},
        {"digitized without original",
         {{"Exif.Photo.DateTimeDigitized", "2024:01:02 03:04:05"}},
         "2024-01-02 03:04:05.000 metadata"},
        {"an unset original is no date",
         {{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"},
          {"Exif.Photo.DateTimeDigitized", "2024:01:02 03:04:05"}},
         "2024-01-02 03:04:05.000 metadata"},
        // Taken in Tokyo at 19:34:56, 12:34:56 in Paris.
        {"offset moves the moment into the local zone",
         {{"Exif.Photo.DateTimeOriginal", "2023:04:15 19:34:56"},
          {"Exif.Photo.OffsetTimeOriginal", "+09:00"}},
         "2023-04-15 12:34:56.000 metadata"},
        {"offset west of UTC",
         {{"Exif.Photo.DateTimeOriginal", "2023:04:15 05:34:56"},
          {"Exif.Photo.OffsetTimeOriginal", "-05:00"}},
         "2023-04-15 12:34:56.000 metadata"},
        {"offset of the other tag is not taken",
         {{"Exif.Photo.DateTimeOriginal", "2023:04:15 12:34:56"},
          {"Exif.Photo.OffsetTimeDigitized", "+09:00"}},
         "2023-04-15 12:34:56.000 metadata"},
        {"fraction of a second",
         {{"Exif.Photo.DateTimeOriginal", "2023:04:15 12:34:56"},
          {"Exif.Photo.SubSecTimeOriginal", "12"}},
         "2023-04-15 12:34:56.120 metadata"},
        {"no date tag: the modification time",
         {{"Exif.Image.Make", "Camera"}},
         "2020-03-01 12:00:00.000 modified"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "tags" + std::to_string(n++) + ".jpg";
        test::writeJpeg(tree.file(name), c.tags);
        EXPECT_EQ(read(name), c.expected);
    }
}

TEST_F(DateTakenTest, XmpWhenTheExifHasNoDate) {
    test::writeJpegXmp("Xmp.exif.DateTimeOriginal", "2023-04-15T19:34:56+09:00",
                       tree.file("xmp.jpg"));
    EXPECT_EQ(read("xmp.jpg"), "2023-04-15 12:34:56.000 metadata");
}

TEST_F(DateTakenTest, FallsBackInOrder) {
    // Metadata first, even when the name holds another date.
    test::writeJpeg(tree.file("IMG_20190101_000000.jpg"), kOriginal);
    EXPECT_EQ(read("IMG_20190101_000000.jpg"), "2023-04-15 12:34:56.000 metadata");
    // No metadata: the name.
    tree.file("IMG_20190102_030405.jpg", "not a picture");
    EXPECT_EQ(read("IMG_20190102_030405.jpg"), "2019-01-02 03:04:05.000 name");
    // Neither: the modification time.
    tree.file("holiday.jpg", "not a picture");
    EXPECT_EQ(read("holiday.jpg"), "2020-03-01 12:00:00.000 modified");
    // A name whose date does not exist is no date.
    tree.file("2023-02-30 12.00.00.jpg", "not a picture");
    EXPECT_EQ(read("2023-02-30 12.00.00.jpg"), "2020-03-01 12:00:00.000 modified");
}

TEST_F(DateTakenTest, DamagedFilesFallBackWithoutHarm) {
    struct Case {
        const char* file;
        std::function<void(const std::string&)> make;
        long long keep;  // bytes left of the file
    };
    const Case cases[] = {
        {"VID_20190102_030405.mp4", [](auto& p) { test::writeIsoMedia(p, "isom", 1681554896); },
         40},
        {"IMG_20190102_030405.jpg", [](auto& p) { test::writeJpeg(p, kOriginal); }, 30},
        {"IMG_20190102_030405.heic", [](auto& p) { test::writeHeic(p, kOriginal); }, 100},
        {"IMG_20190102_030405.tif", [](auto& p) { test::writeTiff(p, kOriginal); }, 20},
        {"VID_20190102_030405.mkv", [](auto& p) { test::writeMatroska(p, 1681554896); }, 30},
        {"VID_20190102_030405.avi", [](auto& p) { test::writeAvi(p, "SAT APR 15 12:34:56 2023"); },
         24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = tree.file(c.file);
        c.make(path);
        test::truncateTo(path, c.keep);
        EXPECT_EQ(read(c.file), "2019-01-02 03:04:05.000 name");
    }
    // A header that promises more than the file holds.
    tree.file("big.jpg", std::string("\xff\xd8\xff\xe1\xff\xff"
                                     "Exif\0\0II*\0",
                                     16));
    EXPECT_EQ(read("big.jpg"), "2020-03-01 12:00:00.000 modified");
}

TEST_F(DateTakenTest, FilesThatCannotBeReadKeepTheirNameAndStatus) {
    // A FIFO is never opened (that would wait for a writer): its name and
    // status still tell.
    ASSERT_EQ(::mkfifo(tree.at("IMG_20190102_030405.jpg").c_str(), 0600), 0);
    EXPECT_EQ(read("IMG_20190102_030405.jpg"), "2019-01-02 03:04:05.000 name");
    ASSERT_EQ(::mkfifo(tree.at("pipe").c_str(), 0600), 0);
    EXPECT_EQ(read("pipe"), "2020-03-01 12:00:00.000 modified");
    // A file gone: its name still tells; without a date there, nothing does.
    EXPECT_EQ(shown(readDateTaken(tree.at("PXL_20230415_123456789.jpg"))),
              "2023-04-15 12:34:56.789 name");
    EXPECT_FALSE(readDateTaken(tree.at("gone.jpg")).usable());
}

// A damaged container that MediaInfo counts through for a second; a fuzzed
// one that claimed more took it 26 s of processor time.
TEST_F(DateTakenTest, AContainerTheLibraryLoopsOverIsGivenUp) {
    using namespace std::chrono_literals;
    const std::string path = test::writeCountedOutContainer(tree.file("looping.mov"), 1u << 26);
    const BoundedDate given = videoDateTaken(path, 20ms);
    EXPECT_TRUE(given.givenUp);
    EXPECT_FALSE(given.taken.has_value());
    EXPECT_TRUE(videoDateTaken(path, 20ms).givenUp);
    EXPECT_EQ(givenUpReadsRunning(), 2u);

    // Two given up still run: the next read starts once one has ended.
    const std::string clip = test::writeIsoMedia(tree.file("clip.mp4"), "isom", 1681554896);
    const BoundedDate whole = videoDateTaken(clip, kVideoReadLimit);
    EXPECT_FALSE(whole.givenUp);
    ASSERT_TRUE(whole.taken.has_value());
    EXPECT_EQ(formatDate("yyyy-MM-dd HH:mm:ss", whole.taken->local()), "2023-04-15 12:34:56");
    EXPECT_LE(givenUpReadsRunning(), 1u);
    waitForGivenUpReads();
    EXPECT_EQ(givenUpReadsRunning(), 0u);
}

// Several files read at once: each row gets its own file's date.
TEST_F(DateTakenTest, ReadingOnThreadsGivesEachRowItsOwnDate) {
    FileTable table;
    for (int minute = 0; minute < 60; ++minute) {
        const std::string name = "m" + std::to_string(minute) + (minute % 2 ? ".jpg" : ".mp4");
        if (minute % 2 == 1) {
            test::writeJpeg(tree.file(name),
                            {{"Exif.Photo.DateTimeOriginal",
                              "2023:04:15 12:" + std::to_string(100 + minute).substr(1) + ":00"}});
        } else {
            test::writeIsoMedia(tree.file(name), "isom", 1681552800 + 60LL * minute);
        }
        table.append(FileRow{name, tree.path() + "/", "1", "jpg", "1.1.2020", "0", "-"});
    }
    DatesTaken dates(readDateTaken, 4);
    dates.readAll(table, ProgressSink::silent());
    for (int minute = 0; minute < 60; ++minute) {
        const DateTaken* taken = dates.find(table[static_cast<std::size_t>(minute)].file());
        ASSERT_NE(taken, nullptr);
        EXPECT_EQ(shown(*taken),
                  "2023-04-15 12:" + std::to_string(100 + minute).substr(1) + ":00.000 metadata");
    }
}

TEST(DateTimeTextTest, ReadsTheFormsMetadataWrites) {
    struct Case {
        const char* text;
        const char* expected;  // the calendar time, then the offset; "-" for none
    };
    const Case cases[] = {
        {"2023:04:15 12:34:56", "2023-04-15 12:34:56.000 -"},
        {"2023-04-15T12:34:56.12+02:00", "2023-04-15 12:34:56.120 120"},
        {"2023-04-15T12:34:56Z", "2023-04-15 12:34:56.000 0"},
        {"2023-04-15 12:34:56 UTC", "2023-04-15 12:34:56.000 0"},
        {"UTC 2023-04-15 12:34:56", "2023-04-15 12:34:56.000 0"},
        {"2023-04-15T12:34-0530", "2023-04-15 12:34:00.000 -330"},
        {" 2023:04:15 12:34:56 ", "2023-04-15 12:34:56.000 -"},
        {"2023:02:29 12:00:00", "-"},
        {"2023:04:15 24:00:00", "-"},
        {"0000:00:00 00:00:00", "-"},
        {"    :  :     :  :  ", "-"},
        {"2023:04:15", "-"},
        {"2023-04:15 12:34:56", "-"},
        {"2023-04-15 12:34:56 +25:00", "-"},
        {"2023-04-15 12:34:56 later", "-"},
        {"", "-"},
    };
    for (const Case& c : cases) {
        const auto read = readDateTimeText(c.text);
        std::string got = "-";
        if (read) {
            got = formatDate("yyyy-MM-dd HH:mm:ss.zzz ", read->time) +
                  (read->offsetMinutes ? std::to_string(*read->offsetMinutes) : "-");
        }
        EXPECT_EQ(got, c.expected) << "\"" << c.text << "\"";
    }
}

}  // namespace
}  // namespace folivar
