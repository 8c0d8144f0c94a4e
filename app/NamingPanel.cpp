#include "app/NamingPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <optional>
#include <string>

#include "app/ControlPlacing.h"
#include "app/EngineBridge.h"

namespace folivar {

namespace {

constexpr int kDefaultCapacity = 4;
constexpr int kDefaultOrigin = 1;

// A spin edit's number; a text that is no whole number is put back to the
// fallback first, and a number the edit would not take is brought into its range.
int wholeNumberOf(QSpinBox* edit, int fallback) {
    bool whole = false;
    const int typed = edit->cleanText().toInt(&whole);
    if (!whole) {
        edit->setValue(fallback);
        return fallback;
    }
    return std::clamp(typed, edit->minimum(), edit->maximum());
}

// The edit's text without the forbidden character the check found; false
// when it found none.
bool putBackWithout(QLineEdit* edit, const std::optional<std::string>& text) {
    if (!text) {
        return false;
    }
    // A change of its own: another forbidden character goes the same way,
    // with its own warning, before this one.
    edit->setText(fromEngine(*text));
    edit->selectAll();
    return true;
}

// The naming scheme's structures; the window has a group of that name.
using Structure = folivar::FileStructure;

int valueOf(Structure structure) {
    return static_cast<int>(structure);
}

int valueOf(RenameKind kind) {
    return static_cast<int>(kind);
}

}  // namespace

NamingPanel::NamingPanel(QObject* parent) : QObject(parent) {}

void NamingPanel::place(QWidget* client) {
    auto* group = folivar::place<QGroupBox>(client, "FileStructure", {0, 112, 473, 49},
                                            QStringLiteral("File Structure"));
    PrefixEdit = folivar::place<QLineEdit>(group, "PrefixEdit", {8, 19, 38, 22});
    PrefixEdit->setText(QStringLiteral("pic"));
    PrefixEdit->setToolTip(QStringLiteral("Prefix (picture, image, track, sound etc.)"));
    DateFormatEdit = folivar::place<QLineEdit>(group, "DateFormatEdit", {50, 19, 55, 22});
    DateFormatEdit->setText(QString::fromLatin1(kDefaultDateFormat));
    DateFormatEdit->setCursorPosition(0);  // narrow: the format's start shows
    DateFormatEdit->setToolTip(
        QStringLiteral("Date taken as yyyy MM dd HH mm ss (a Qt date-time format)"));
    FileStructureBox =
        dropDownList(group, "FileStructureBox", {109, 19, 165, 22},
                     {{"counter", valueOf(Structure::Counter)},
                      {"counter+prefix", valueOf(Structure::CounterPrefix)},
                      {"prefix+counter", valueOf(Structure::PrefixCounter)},
                      {"counter+oldname", valueOf(Structure::CounterOldName)},
                      {"prefix+oldname", valueOf(Structure::PrefixOldName)},
                      {"counter+prefix+oldname", valueOf(Structure::CounterPrefixOldName)},
                      {"prefix+counter+oldname", valueOf(Structure::PrefixCounterOldName)},
                      {"date+counter", valueOf(Structure::DateCounter)},
                      {"prefix+date+counter", valueOf(Structure::PrefixDateCounter)},
                      {"date+oldname", valueOf(Structure::DateOldName)}},
                     valueOf(Structure::PrefixCounter));
    FileStructureBox->setToolTip(QStringLiteral("Structure of a new file name"));
    RenMovBox = dropDownList(group, "RenMovBox", {278, 19, 76, 22},
                             {{"rename", valueOf(RenameKind::Rename)},
                              {"move", valueOf(RenameKind::Move)},
                              {"ren+mov", valueOf(RenameKind::RenameAndMove)}},
                             valueOf(RenameKind::Rename));
    RenMovBox->setToolTip(QStringLiteral("Operation"));
    CapacityEdit = folivar::place<QSpinBox>(group, "CapacityEdit", {358, 19, 34, 22});
    CapacityEdit->setRange(1, 6);
    CapacityEdit->setValue(kDefaultCapacity);
    CapacityEdit->setToolTip(QStringLiteral("Digit capacity"));
    CountStartEdit = folivar::place<QSpinBox>(group, "CountStartEdit", {396, 19, 69, 22});
    CountStartEdit->setRange(1, 999999);
    CountStartEdit->setValue(kDefaultOrigin);
    CountStartEdit->setToolTip(QStringLiteral("Origin"));
}

NamingScheme NamingPanel::scheme() {
    NamingScheme scheme;
    scheme.prefix = toEngine(PrefixEdit->text());
    scheme.structure =
        static_cast<Structure>(chosenValue(FileStructureBox, valueOf(scheme.structure)));
    scheme.capacity = wholeNumberOf(CapacityEdit, kDefaultCapacity);
    scheme.origin = wholeNumberOf(CountStartEdit, kDefaultOrigin);
    scheme.dateFormat = toEngine(DateFormatEdit->text());
    return scheme;
}

RenameKind NamingPanel::operation() const {
    return static_cast<RenameKind>(chosenValue(RenMovBox, valueOf(RenameKind::Rename)));
}

QString NamingPanel::operationCaption() const {
    return RenMovBox->currentText().toUpper();
}

bool NamingPanel::dropForbiddenFromPrefix() {
    return putBackWithout(PrefixEdit, WithoutLastForbiddenCharacter(toEngine(PrefixEdit->text())));
}

// The same check on what the date format writes.
bool NamingPanel::dropForbiddenFromDateFormat() {
    return putBackWithout(DateFormatEdit,
                          DateFormatWithoutForbiddenCharacter(toEngine(DateFormatEdit->text())));
}

}  // namespace folivar
