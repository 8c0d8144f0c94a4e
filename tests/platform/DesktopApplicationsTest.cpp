#include "platform/DesktopApplications.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/KeyFile.h"
#include "support/ScopedVariable.h"
#include "support/TempTree.h"

namespace folivar::platform {
namespace {

using test::ScopedVariable;

const std::string kXlsx = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

std::string entry(const std::string& mimeTypes, const std::string& extra = {}) {
    return "[Desktop Entry]\nType=Application\nName=Some program\nExec=sh -c true %f\nMimeType=" +
           mimeTypes + "\n" + extra;
}

// A desktop of its own: settings under config/, entries under data/ and
// system/ (less important), with the files of each case.
class DesktopApplicationsTest : public testing::Test {
protected:
    XdgDirectories dirs(std::vector<std::string> desktops = {}) const {
        return XdgDirectories{
            {tree_.at("config")}, {tree_.at("data"), tree_.at("system")}, std::move(desktops)};
    }

    std::string answer(const std::vector<std::pair<std::string, std::string>>& files,
                       const std::vector<std::string>& types,
                       std::vector<std::string> desktops = {}) {
        for (const auto& [path, contents] : files) {
            tree_.file(path, contents);
        }
        return DesktopApplications(dirs(std::move(desktops))).applicationFor(types);
    }

    test::TempTree tree_;
};

TEST_F(DesktopApplicationsTest, NoEntriesNoProgram) {
    EXPECT_EQ(answer({}, {kXlsx}), "");
    EXPECT_EQ(answer({{"system/applications/viewer.desktop", entry("image/png;")}}, {kXlsx}), "");
}

TEST_F(DesktopApplicationsTest, AnEntryThatNamesTheType) {
    EXPECT_EQ(
        answer({{"system/applications/calc.desktop", entry("text/csv;" + kXlsx + ";")}}, {kXlsx}),
        "calc.desktop");
}

TEST_F(DesktopApplicationsTest, TheDefaultWinsOverOtherEntries) {
    EXPECT_EQ(answer({{"system/applications/a-calc.desktop", entry(kXlsx)},
                      {"system/applications/b-calc.desktop", entry(kXlsx)},
                      {"config/mimeapps.list",
                       "[Default Applications]\n" + kXlsx + "=gone.desktop;b-calc.desktop;\n"}},
                     {kXlsx}),
              "b-calc.desktop");
}

TEST_F(DesktopApplicationsTest, ADefaultThatIsGoneFallsBackToTheEntries) {
    EXPECT_EQ(
        answer({{"system/applications/calc.desktop", entry(kXlsx)},
                {"config/mimeapps.list", "[Default Applications]\n" + kXlsx + "=gone.desktop\n"}},
               {kXlsx}),
        "calc.desktop");
}

TEST_F(DesktopApplicationsTest, EntriesThatCannotStartDoNotCount) {
    const std::vector<std::pair<std::string, std::string>> unusable{
        {"system/applications/a.desktop", entry(kXlsx, "TryExec=/nonexistent/calc\n")},
        {"system/applications/b.desktop", entry(kXlsx, "TryExec=no-such-program-here\n")},
        {"system/applications/c.desktop", entry(kXlsx, "Hidden=true\n")},
        {"system/applications/d.desktop",
         "[Desktop Entry]\nType=Link\nURL=http://x\nMimeType=" + kXlsx + "\n"},
        {"system/applications/e.desktop", "[Desktop Entry]\nType=Application\nMimeType=" + kXlsx},
        {"system/applications/g.desktop",
         "[Desktop Entry]\nType=Application\nExec=removed-program %f\nMimeType=" + kXlsx},
        {"system/applications/h.desktop",
         "[Desktop Entry]\nType=Application\nExec=\"/no where/calc\" %f\nMimeType=" + kXlsx},
    };
    EXPECT_EQ(answer(unusable, {kXlsx}), "");
    EXPECT_EQ(answer({{"system/applications/f.desktop", entry(kXlsx, "TryExec=sh\n")}}, {kXlsx}),
              "f.desktop");
    EXPECT_EQ(
        answer({{"system/applications/a-bus.desktop",
                 "[Desktop Entry]\nType=Application\nDBusActivatable=true\nMimeType=" + kXlsx}},
               {kXlsx}),
        "a-bus.desktop");
    EXPECT_EQ(
        answer({{"system/applications/0-quoted.desktop",
                 "[Desktop Entry]\nType=Application\nExec=\"/bin/sh\" -c true\nMimeType=" + kXlsx}},
               {kXlsx}),
        "0-quoted.desktop");
}

TEST_F(DesktopApplicationsTest, AHiddenEntryHidesTheSameIdFurtherDown) {
    EXPECT_EQ(answer({{"data/applications/calc.desktop", entry(kXlsx, "Hidden=true\n")},
                      {"system/applications/calc.desktop", entry(kXlsx)}},
                     {kXlsx}),
              "");
}

TEST_F(DesktopApplicationsTest, AddedAndRemovedAssociations) {
    EXPECT_EQ(
        answer({{"system/applications/calc.desktop", entry(kXlsx)},
                {"config/mimeapps.list", "[Removed Associations]\n" + kXlsx + "=calc.desktop;\n"}},
               {kXlsx}),
        "");
    EXPECT_EQ(
        answer({{"system/applications/editor.desktop", entry("text/plain")},
                {"config/mimeapps.list", "[Added Associations]\n" + kXlsx + "=editor.desktop;\n"}},
               {kXlsx}),
        "editor.desktop");
}

TEST_F(DesktopApplicationsTest, TheRunningDesktopsOwnListComesFirst) {
    const std::vector<std::pair<std::string, std::string>> files{
        {"system/applications/a.desktop", entry(kXlsx)},
        {"system/applications/b.desktop", entry(kXlsx)},
        {"config/mimeapps.list", "[Default Applications]\n" + kXlsx + "=a.desktop\n"},
        {"config/xfce-mimeapps.list", "[Default Applications]\n" + kXlsx + "=b.desktop\n"}};
    EXPECT_EQ(answer(files, {kXlsx}), "a.desktop");
    EXPECT_EQ(answer(files, {kXlsx}, {"xfce"}), "b.desktop");
}

TEST_F(DesktopApplicationsTest, EntriesInSubfoldersAreNamedByTheirPath) {
    EXPECT_EQ(answer({{"system/applications/kde/calc.desktop", entry("text/csv")},
                      {"system/applications/mimeapps.list",
                       "[Default Applications]\ntext/csv=kde-calc.desktop\n"}},
                     {"text/csv"}),
              "kde-calc.desktop");
}

TEST_F(DesktopApplicationsTest, TheFirstTypeWithAProgramDecides) {
    const std::vector<std::pair<std::string, std::string>> files{
        {"system/applications/editor.desktop", entry("text/plain")},
        {"system/applications/csv.desktop", entry("text/csv")}};
    EXPECT_EQ(answer(files, {"text/x-unknown", "text/plain"}), "editor.desktop");
    EXPECT_EQ(answer(files, {"text/csv", "text/plain"}), "csv.desktop");
}

TEST_F(DesktopApplicationsTest, AProgramInstalledLaterIsSeen) {
    tree_.dir("system/applications");
    tree_.setTimes("system/applications", 1000000000, 1000000000);
    DesktopApplications applications(dirs());
    EXPECT_EQ(applications.applicationFor({kXlsx}), "");
    tree_.file("system/applications/calc.desktop", entry(kXlsx));
    EXPECT_EQ(applications.applicationFor({kXlsx}), "calc.desktop");
}

TEST(XdgDirectoriesTest, FromTheEnvironmentWithItsDefaults) {
    XdgDirectories dirs;
    {
        const ScopedVariable home("HOME", "/home/u");
        const ScopedVariable configHome("XDG_CONFIG_HOME", std::nullopt);
        const ScopedVariable configDirs("XDG_CONFIG_DIRS", "relative:/etc/a::/etc/b");
        const ScopedVariable dataHome("XDG_DATA_HOME", "/data/home");
        const ScopedVariable dataDirs("XDG_DATA_DIRS", "");
        const ScopedVariable desktop("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        dirs = XdgDirectories::fromEnvironment();
    }
    EXPECT_EQ(dirs.configDirs, (std::vector<std::string>{"/home/u/.config", "/etc/a", "/etc/b"}));
    EXPECT_EQ(dirs.dataDirs,
              (std::vector<std::string>{"/data/home", "/usr/local/share", "/usr/share"}));
    EXPECT_EQ(dirs.desktops, (std::vector<std::string>{"ubuntu", "gnome"}));
}

TEST(KeyFileTest, GroupsKeysEscapesAndLists) {
    const KeyFile file = KeyFile::parse(
        "# comment\n"
        "ignored=before any group\n"
        "[Desktop Entry]\n"
        "Name = Some\\sprogram \n"
        "Name=second one is ignored\n"
        "MimeType=text/csv;;a\\;b;\r\n"
        "Path=C:\\\\x\n"
        "[Other]\n"
        "Name=other\n");
    EXPECT_EQ(file.value("Desktop Entry", "Name"), "Some program");
    EXPECT_EQ(file.list("Desktop Entry", "MimeType"),
              (std::vector<std::string>{"text/csv", "a;b"}));
    EXPECT_EQ(file.value("Desktop Entry", "Path"), "C:\\x");
    EXPECT_EQ(file.value("Other", "Name"), "other");
    EXPECT_FALSE(file.has("Desktop Entry", "ignored"));
    EXPECT_FALSE(file.has("Missing", "Name"));
    EXPECT_EQ(file.value("Desktop Entry", "Missing"), "");
    EXPECT_FALSE(KeyFile::read("/nonexistent/file.desktop").has_value());
}

}  // namespace
}  // namespace folivar::platform
