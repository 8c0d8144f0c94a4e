// The folder tree and the shell file pane that stands in for the file list.
#include <QAction>
#include <QCheckBox>

#include "app/ActionStrip.h"
#include "app/FileListView.h"
#include "app/FolderTree.h"
#include "app/ScanSettingsPanel.h"
#include "app/ShellPane.h"
#include "app/Unit1.h"
#include "widgets/StyledButton.h"

namespace folivar {

void TForm1::ShellTreeViewChange() {
    guarded([this] { scan_->setEditedFolder(ShellTreeView->path()); });
}

void TForm1::ShellListViewKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_F5) {
        // The linked pane reads its folder again with the tree.
        guarded([this] { ShellTreeView->refreshSelected(); });
    }
}

void TForm1::setShellMode(bool on) {
    ExportButton->setEnabled(!on);
    strip_->setShellMode(on);
    ListView->setVisible(!on);
    ShellListView->setVisible(on);
    if (!on) {
        ShellListView->unlink();
    } else {
        ShellListView->link(ShellTreeView);
        ShellTreeView->refreshSelected();
    }
}

void TForm1::CheckViewClick() {
    guarded([this] { setShellMode(strip_->shellBox()->isChecked()); });
}

void TForm1::chooseViewStyle(QAction* item) {
    if (item == MenuItem1) {
        ShellListView->setViewStyle(ShellPane::ViewStyle::Icon);
    } else if (item == MenuItem2) {
        ShellListView->setViewStyle(ShellPane::ViewStyle::List);
    } else if (item == MenuItem3) {
        ShellListView->setViewStyle(ShellPane::ViewStyle::Report);
    } else {
        ShellListView->setViewStyle(ShellPane::ViewStyle::SmallIcon);
    }
    item->setChecked(true);  // the group unticks the others
}

void TForm1::File1Click() {
    guarded([this] { chooseViewStyle(MenuItem1); });
}

void TForm1::Viewaslist1Click() {
    guarded([this] { chooseViewStyle(MenuItem2); });
}

void TForm1::Viewasreport1Click() {
    guarded([this] { chooseViewStyle(MenuItem3); });
}

void TForm1::Viewassmallicon1Click() {
    guarded([this] { chooseViewStyle(MenuItem4); });
}

}  // namespace folivar
