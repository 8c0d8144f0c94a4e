// The scan settings: the PATH list, the mask lists and the filter controls.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <initializer_list>
#include <stdexcept>

#include "app/EngineBridge.h"
#include "app/FolderTree.h"
#include "app/Unit1.h"
#include "search/FileSearch.h"
#include "widgets/StyledLabel.h"

namespace folivar {

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

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

void addMask(QLineEdit* edit, QListWidget* masks) {
    masks->addItem(trimmed(edit->text()));
    edit->clear();
}

void deleteSelected(QListWidget* list) {
    for (int row = list->count() - 1; row >= 0; --row) {
        if (list->item(row)->isSelected()) {
            delete list->takeItem(row);
        }
    }
}

}  // namespace

void TForm1::addEditedFolder() {
    if (!folderExists(PathEdit->text())) {
        return;
    }
    try {
        ShellTreeView->setPath(PathEdit->text());
    } catch (const std::runtime_error&) {
        return;  // the tree cannot show it: nothing is added
    }
    // Selecting the folder has put the tree's own path text into PathEdit.
    PathListBox->addItem(PathEdit->text());
    PathEdit->clear();
}

void TForm1::addFolderFromTree() {
    if (!folderExists(PathEdit->text())) {
        return;
    }
    PathListBox->addItem(PathEdit->text());
    PathEdit->clear();
}

void TForm1::moveUp() {
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
    ShellTreeView->setPath(text);
}

void TForm1::addFolderFromDialog() {
    const std::optional<QString> folder =
        desktop_->browseForFolder(QStringLiteral("Add folder..."), QString());
    if (!folder) {
        return;
    }
    PathEdit->setText(*folder);
    ShellTreeView->setPath(*folder);
    PathEdit->setFocus();
}

void TForm1::PathEditKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { addEditedFolder(); });
    }
}

void TForm1::PathButton1Click() {
    guarded([this] { addEditedFolder(); });
}

void TForm1::PathButton2Click() {
    guarded([this] { PathListBox->clear(); });
}

void TForm1::PathListBoxKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Delete) {
        guarded([this] { deleteSelected(PathListBox); });
    }
}

void TForm1::PathButton3Click() {
    guarded([this] { moveUp(); });
}

void TForm1::PathButton4Click() {
    guarded([this] { addFolderFromDialog(); });
}

void TForm1::ShellTreeViewKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { addFolderFromTree(); });
    } else if (key == Qt::Key_F5) {
        guarded([this] { ShellTreeView->refreshSelected(); });
    }
}

void TForm1::ScanEdit1KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { addMask(ScanEdit1, ScanListBox1); });
    }
}

void TForm1::ScanButton1Click() {
    guarded([this] { addMask(ScanEdit1, ScanListBox1); });
}

void TForm1::ScanListBox1KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Delete) {
        guarded([this] { deleteSelected(ScanListBox1); });
    }
}

void TForm1::ScanButton2Click() {
    guarded([this] { ScanListBox1->clear(); });
}

void TForm1::ScanEdit2KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { addMask(ScanEdit2, ScanListBox2); });
    }
}

void TForm1::ScanButton3Click() {
    guarded([this] { addMask(ScanEdit2, ScanListBox2); });
}

void TForm1::ScanListBox2KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Delete) {
        guarded([this] { deleteSelected(ScanListBox2); });
    }
}

void TForm1::ScanButton4Click() {
    guarded([this] { ScanListBox2->clear(); });
}

void TForm1::applyDateRule() {
    const bool on = DateCheckBox->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             DateLabel1, DateComboBox1, DateLabel2, DateComboBox2, DateLabel3, DateTimePicker1}) {
        control->setEnabled(on);
    }
    const bool between = on && chosenValue(DateComboBox2, dfkSame) == dfkBetween;
    DateLabel4->setEnabled(between);
    DateTimePicker2->setEnabled(between);
}

void TForm1::DateCheckBoxClick() {
    guarded([this] { applyDateRule(); });
}

void TForm1::DateComboBox2Change() {
    guarded([this] { applyDateRule(); });
}

void TForm1::DateTimePicker1Change() {
    // Both pickers stop at today, so this lower bound never passes the upper one;
    // a second date below it moves up to it.
    guarded([this] { DateTimePicker2->setMinimumDate(DateTimePicker1->date()); });
}

void TForm1::SizeCheckBoxClick() {
    guarded([this] {
        const bool on = SizeCheckBox->isChecked();
        for (QWidget* control :
             std::initializer_list<QWidget*>{SizeLabel1, SizeComboBox, SizeLabel2, SizeEdit}) {
            control->setEnabled(on);
        }
    });
}

}  // namespace folivar
