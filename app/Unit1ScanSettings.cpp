// The handlers of the scan settings: the PATH list, the mask lists and the
// filter controls, each a call into the scan settings panel.
#include "app/FolderTree.h"
#include "app/ScanSettingsPanel.h"
#include "app/Unit1.h"

namespace folivar {

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

using Masks = ScanSettingsPanel::Masks;

}  // namespace

void TForm1::PathEditKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { scan_->addEditedFolder(*ShellTreeView); });
    }
}

void TForm1::PathButton1Click() {
    guarded([this] { scan_->addEditedFolder(*ShellTreeView); });
}

void TForm1::PathButton2Click() {
    guarded([this] { scan_->clearFolders(); });
}

void TForm1::PathListBoxKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Delete) {
        guarded([this] { scan_->deleteSelectedFolders(); });
    }
}

void TForm1::PathButton3Click() {
    guarded([this] { scan_->moveUp(*ShellTreeView); });
}

void TForm1::PathButton4Click() {
    guarded([this] {
        if (const auto folder =
                desktop_->browseForFolder(QStringLiteral("Add folder..."), QString())) {
            scan_->showPickedFolder(*folder, *ShellTreeView);
        }
    });
}

void TForm1::ShellTreeViewKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { scan_->addFolderFromTree(); });
    } else if (key == Qt::Key_F5) {
        guarded([this] { ShellTreeView->refreshSelected(); });
    }
}

void TForm1::ScanEdit1KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { scan_->addMask(Masks::Include); });
    }
}

void TForm1::ScanButton1Click() {
    guarded([this] { scan_->addMask(Masks::Include); });
}

void TForm1::ScanListBox1KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Delete) {
        guarded([this] { scan_->deleteSelectedMasks(Masks::Include); });
    }
}

void TForm1::ScanButton2Click() {
    guarded([this] { scan_->clearMasks(Masks::Include); });
}

void TForm1::ScanEdit2KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (isEnter(key)) {
        guarded([this] { scan_->addMask(Masks::Exclude); });
    }
}

void TForm1::ScanButton3Click() {
    guarded([this] { scan_->addMask(Masks::Exclude); });
}

void TForm1::ScanListBox2KeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Delete) {
        guarded([this] { scan_->deleteSelectedMasks(Masks::Exclude); });
    }
}

void TForm1::ScanButton4Click() {
    guarded([this] { scan_->clearMasks(Masks::Exclude); });
}

void TForm1::DateCheckBoxClick() {
    guarded([this] { scan_->applyDateRule(); });
}

void TForm1::DateComboBox2Change() {
    guarded([this] { scan_->applyDateRule(); });
}

void TForm1::DateTimePicker1Change() {
    guarded([this] { scan_->followFirstDate(); });
}

void TForm1::SizeCheckBoxClick() {
    guarded([this] { scan_->applySizeRule(); });
}

}  // namespace folivar
