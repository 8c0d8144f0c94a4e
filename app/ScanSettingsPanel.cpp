#include "app/ScanSettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <initializer_list>
#include <stdexcept>

#include "app/EngineBridge.h"
#include "app/FolderTree.h"
#include "search/DateTime.h"
#include "widgets/StyledButton.h"
#include "widgets/StyledLabel.h"

namespace folivar {

namespace {

// Blanks and control characters go from both ends, nothing else.
QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ') {
        ++begin;
    }
    while (end > begin && text[end - 1].unicode() <= u' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

void deleteSelected(QListWidget* list) {
    for (int row = list->count() - 1; row >= 0; --row) {
        if (list->item(row)->isSelected()) {
            delete list->takeItem(row);
        }
    }
}

std::vector<std::string> entries(const QListWidget* list) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        texts.push_back(toEngine(list->item(i)->text()));
    }
    return texts;
}

TDateTime dateOf(const QDateEdit* picker) {
    const QDate date = picker->date();
    return EncodeDate(date.year(), date.month(), date.day());
}

}  // namespace

ScanSettingsPanel::ScanSettingsPanel(QObject* parent) : QObject(parent) {}

void ScanSettingsPanel::startDates(const QDate& today) {
    DateTimePicker1->setDate(today);
    DateTimePicker2->setDate(today);
    DateTimePicker1->setMaximumDate(today);
    DateTimePicker2->setMaximumDate(today);
    DateTimePicker2->setMinimumDate(today);
}

ScanSettings ScanSettingsPanel::settings() const {
    ScanSettings settings;
    settings.folders = entries(PathListBox);
    settings.includeMasks = entries(ScanListBox1);
    settings.excludeMasks = entries(ScanListBox2);
    settings.options = {};
    for (const auto& [box, option] : attributes_) {
        if (box->isChecked()) {
            settings.options.insert(option);
        }
    }
    settings.filterOnDate = DateCheckBox->isChecked();
    settings.dateAccess =
        static_cast<TDateFilterAccessKind>(chosenValue(DateComboBox1, settings.dateAccess));
    settings.dateKind = static_cast<TDateFilterKind>(chosenValue(DateComboBox2, settings.dateKind));
    settings.firstDate = dateOf(DateTimePicker1);
    settings.secondDate = dateOf(DateTimePicker2);
    settings.filterOnSize = SizeCheckBox->isChecked();
    settings.sizeKind = static_cast<TSizeFilterKind>(chosenValue(SizeComboBox, settings.sizeKind));
    settings.sizeText = toEngine(SizeEdit->text());
    settings.shortNamesOnly = ShortnameCheckBox->isChecked();
    return settings;
}

void ScanSettingsPanel::showFolders(const std::vector<std::string>& folders) {
    PathListBox->clear();
    for (const std::string& folder : folders) {
        PathListBox->addItem(fromEngine(folder));
    }
}

QString ScanSettingsPanel::editedFolder() const {
    return PathEdit->text();
}

void ScanSettingsPanel::setEditedFolder(const QString& folder) {
    PathEdit->setText(folder);
}

void ScanSettingsPanel::addEditedFolder(FolderTree& tree) {
    if (!folderExists(PathEdit->text())) {
        return;
    }
    try {
        tree.setPath(PathEdit->text());
    } catch (const std::runtime_error&) {
        return;  // the tree cannot show it: nothing is added
    }
    // Selecting the folder has put the tree's own path text into PathEdit.
    PathListBox->addItem(PathEdit->text());
    PathEdit->clear();
}

void ScanSettingsPanel::addFolderFromTree() {
    if (!folderExists(PathEdit->text())) {
        return;
    }
    PathListBox->addItem(PathEdit->text());
    PathEdit->clear();
}

void ScanSettingsPanel::moveUp(FolderTree& tree) {
    QString text = PathEdit->text();
    if (!folderExists(text)) {
        return;
    }
    const qsizetype slash = text.lastIndexOf(u'/');
    if (slash == 0) {
        text.truncate(1);  // the root stays the root
    } else if (slash > 0) {
        text.truncate(slash);
    }
    PathEdit->setText(text);
    tree.setPath(text);
}

void ScanSettingsPanel::showPickedFolder(const QString& folder, FolderTree& tree) {
    PathEdit->setText(folder);
    tree.setPath(folder);
    PathEdit->setFocus();
}

void ScanSettingsPanel::clearFolders() {
    PathListBox->clear();
}

void ScanSettingsPanel::deleteSelectedFolders() {
    deleteSelected(PathListBox);
}

QLineEdit* ScanSettingsPanel::maskEdit(Masks which) const {
    return which == Masks::Include ? ScanEdit1 : ScanEdit2;
}

QListWidget* ScanSettingsPanel::maskList(Masks which) const {
    return which == Masks::Include ? ScanListBox1 : ScanListBox2;
}

void ScanSettingsPanel::addMask(Masks which) {
    maskList(which)->addItem(trimmed(maskEdit(which)->text()));
    maskEdit(which)->clear();
}

void ScanSettingsPanel::clearMasks(Masks which) {
    maskList(which)->clear();
}

void ScanSettingsPanel::deleteSelectedMasks(Masks which) {
    deleteSelected(maskList(which));
}

void ScanSettingsPanel::applyDateRule() {
    const bool on = DateCheckBox->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             DateLabel1, DateComboBox1, DateLabel2, DateComboBox2, DateLabel3, DateTimePicker1}) {
        control->setEnabled(on);
    }
    const bool between = on && chosenValue(DateComboBox2, dfkSame) == dfkBetween;
    DateLabel4->setEnabled(between);
    DateTimePicker2->setEnabled(between);
}

void ScanSettingsPanel::followFirstDate() {
    // Both pickers stop at today, so this lower bound never passes the upper one;
    // a second date below it moves up to it.
    DateTimePicker2->setMinimumDate(DateTimePicker1->date());
}

void ScanSettingsPanel::applySizeRule() {
    const bool on = SizeCheckBox->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{SizeLabel1, SizeComboBox, SizeLabel2, SizeEdit}) {
        control->setEnabled(on);
    }
}

void ScanSettingsPanel::focusFolders() {
    PathEdit->setFocus();
}

void ScanSettingsPanel::focusMasks() {
    ScanEdit1->setFocus();
}

void ScanSettingsPanel::showMoveTarget(const QString& folder) {
    // The hint names the folder chosen, so it can be seen before a move.
    const QString hint = QStringLiteral("Put files into");
    PathButton5->setToolTip(folder.isEmpty() ? hint : hint + QLatin1Char(' ') + folder);
}

QPushButton* ScanSettingsPanel::addFolderButton() const {
    return PathButton1;
}

QPushButton* ScanSettingsPanel::clearFoldersButton() const {
    return PathButton2;
}

QPushButton* ScanSettingsPanel::upButton() const {
    return PathButton3;
}

QPushButton* ScanSettingsPanel::pickFolderButton() const {
    return PathButton4;
}

QPushButton* ScanSettingsPanel::moveTargetButton() const {
    return PathButton5;
}

QPushButton* ScanSettingsPanel::addMaskButton(Masks which) const {
    return which == Masks::Include ? ScanButton1 : ScanButton3;
}

QPushButton* ScanSettingsPanel::clearMasksButton(Masks which) const {
    return which == Masks::Include ? ScanButton2 : ScanButton4;
}

}  // namespace folivar
