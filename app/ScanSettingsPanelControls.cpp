// Where each control of the scan settings stands, its caption, hint and start
// value.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <array>
#include <initializer_list>
#include <utility>

#include "app/ControlPlacing.h"
#include "app/ScanSettingsPanel.h"
#include "search/FileSearch.h"
#include "widgets/StyledButton.h"
#include "widgets/StyledLabel.h"

namespace folivar {

void ScanSettingsPanel::placePath(QWidget* client) {
    auto* group = place<QGroupBox>(client, "PATH", {0, 0, 473, 113}, QStringLiteral("PATH"));
    PathButton3 = glyphButton(group, "PathButton3", {8, 18, 24, 22}, QStyle::SP_ArrowUp,
                              QStringLiteral("Up"));
    PathEdit = place<QLineEdit>(group, "PathEdit", {34, 18, 386, 22});
    PathEdit->setToolTip(QStringLiteral("For example /My pictures"));
    PathButton1 =
        place<StyledButton>(group, "PathButton1", {424, 18, 41, 22}, QStringLiteral("Add"));
    PathListBox = multiSelectList(group, "PathListBox", {8, 44, 412, 61});
    PathButton2 =
        place<StyledButton>(group, "PathButton2", {424, 44, 41, 19}, QStringLiteral("Clear"));
    PathButton4 = glyphButton(group, "PathButton4", {424, 65, 41, 19}, QStyle::SP_DirOpenIcon,
                              QStringLiteral("Add folder"));
    PathButton5 = glyphButton(group, "PathButton5", {424, 86, 41, 19}, QStyle::SP_DirLinkIcon,
                              QStringLiteral("Put files into"));
}

void ScanSettingsPanel::placeCriteria(QWidget* client) {
    auto* group = place<QGroupBox>(client, "ScanCriteria", {0, 160, 409, 135},
                                   QStringLiteral("Scan  Criteria"));
    place<StyledLabel>(group, "Label1", {8, 16, 106, 14}, QStringLiteral("Include mask"));
    ScanEdit1 = place<QLineEdit>(group, "ScanEdit1", {8, 31, 82, 22});
    ScanEdit1->setToolTip(QStringLiteral("For example *.jpg"));
    ScanButton1 = place<StyledButton>(group, "ScanButton1", {92, 31, 22, 22}, QStringLiteral("+"));
    ScanListBox1 = multiSelectList(group, "ScanListBox1", {8, 56, 82, 72});
    ScanListBox1->addItem(QStringLiteral("*.*"));
    ScanButton2 =
        place<StyledButton>(group, "ScanButton2", {92, 56, 22, 22}, QStringLiteral("\u00d7"));

    place<StyledLabel>(group, "Label2", {122, 16, 106, 14}, QStringLiteral("Exclude mask"));
    ScanEdit2 = place<QLineEdit>(group, "ScanEdit2", {122, 31, 82, 22});
    ScanEdit2->setToolTip(QStringLiteral("For example pic*.jpg"));
    ScanButton3 = place<StyledButton>(group, "ScanButton3", {206, 31, 22, 22}, QStringLiteral("+"));
    ScanListBox2 = multiSelectList(group, "ScanListBox2", {122, 56, 82, 72});
    ScanButton4 =
        place<StyledButton>(group, "ScanButton4", {206, 56, 22, 22}, QStringLiteral("\u00d7"));

    place<StyledLabel>(group, "Label3", {236, 16, 100, 14}, QStringLiteral("Attributes"));
    struct Attribute {
        const char* name;
        const char* caption;
        TOptionsKind option;
    };
    const std::array<Attribute, 6> attributes{{
        {"ScanCheckBox1", "Include Subfolders", okIncludeSubfolder},
        {"ScanCheckBox2", "Look For Any Files", okLookForAnyFile},
        {"ScanCheckBox3", "Look for ReadOnly Files", okLookForReadOnlyFile},
        {"ScanCheckBox4", "Look for Hidden Files", okLookForHiddenFile},
        {"ScanCheckBox5", "Look For System Files", okLookForSystemFile},
        {"ScanCheckBox6", "Look For Archive Files", okLookForArchiveFile},
    }};
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        auto* box = place<QCheckBox>(group, attributes[i].name,
                                     {236, 30 + static_cast<int>(i) * 17, 167, 17},
                                     QString::fromLatin1(attributes[i].caption));
        box->setChecked(true);
        attributes_.emplace_back(box, attributes[i].option);
    }
}

void ScanSettingsPanel::placeFilters(QWidget* client) {
    auto* group =
        place<QGroupBox>(client, "Filters", {528, 296, 217, 249}, QStringLiteral(" Filters "));
    DateCheckBox =
        place<QCheckBox>(group, "DateCheckBox", {8, 20, 200, 17}, QStringLiteral("Filter On Date"));
    DateLabel1 = place<StyledLabel>(group, "DateLabel1", {8, 45, 92, 14},
                                    QStringLiteral("File Access Kind"));
    DateComboBox1 = dropDownList(group, "DateComboBox1", {102, 41, 107, 22},
                                 {{"Any files", dfakAnyFiles},
                                  {"Created files", dfakCreatedFiles},
                                  {"Modified files", dfakModifiedFiles},
                                  {"Opened files", dfakOpenedFiles}},
                                 dfakModifiedFiles);
    DateLabel2 = place<StyledLabel>(group, "DateLabel2", {8, 70, 92, 14}, QStringLiteral("Kind"));
    // Not in the order of the search's kinds: each entry carries its own.
    DateComboBox2 = dropDownList(
        group, "DateComboBox2", {102, 66, 107, 22},
        {{"Between", dfkBetween}, {"After", dfkAfter}, {"Before", dfkBefore}, {"Same", dfkSame}},
        dfkSame);
    DateLabel3 = place<StyledLabel>(group, "DateLabel3", {8, 95, 92, 14}, QStringLiteral("Date 1"));
    DateTimePicker1 = datePicker(group, "DateTimePicker1", {102, 91, 107, 22});
    DateLabel4 =
        place<StyledLabel>(group, "DateLabel4", {8, 120, 92, 14}, QStringLiteral("Date 2"));
    DateTimePicker2 = datePicker(group, "DateTimePicker2", {102, 116, 107, 22});

    SizeCheckBox = place<QCheckBox>(group, "SizeCheckBox", {8, 148, 200, 17},
                                    QStringLiteral("Filter On Size"));
    SizeLabel1 = place<StyledLabel>(group, "SizeLabel1", {8, 173, 30, 14}, QStringLiteral("Kind"));
    SizeComboBox = dropDownList(
        group, "SizeComboBox", {40, 169, 169, 22},
        {{"Smaller Or Equal To", sfkSmallerOrEqualTo}, {"Bigger Or Equal To", sfkBiggerOrEqualTo}},
        sfkSmallerOrEqualTo);
    SizeLabel2 =
        place<StyledLabel>(group, "SizeLabel2", {8, 198, 92, 14}, QStringLiteral("Size (bytes)"));
    SizeEdit = place<QLineEdit>(group, "SizeEdit", {102, 194, 107, 22});
    SizeEdit->setText(QStringLiteral("0"));

    ShortnameCheckBox = place<QCheckBox>(group, "ShortnameCheckBox", {8, 224, 200, 17},
                                         QStringLiteral("Only include short filename"));
    applyDateRule();
    applySizeRule();
}

}  // namespace folivar
