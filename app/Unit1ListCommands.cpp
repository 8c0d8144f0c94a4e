// The commands over the file list's rows: the context menu, the keys and the
// double click of ListView, and SUM.
#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/EngineBridge.h"
#include "app/FileListModel.h"
#include "app/FolderTree.h"
#include "app/Unit1.h"
#include "app/ViewSelection.h"
#include "filelist/DeleteFiles.h"
#include "filelist/DeleteItems.h"
#include "filelist/ListStatus.h"
#include "filelist/OpenRequests.h"
#include "filelist/RowSelection.h"
#include "filelist/Shuffle.h"
#include "filelist/SizeSum.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

// The modifiers a key binding looks at; the keypad flag only says where the
// key sits.
constexpr Qt::KeyboardModifiers kHeldModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool exactly(Qt::KeyboardModifiers held, Qt::KeyboardModifier one) {
    return (held & kHeldModifiers) == one;
}

// The view forgets its rows while the engine changes them, and reads them
// again once, on every way out.
class BulkUpdate {
public:
    explicit BulkUpdate(FileListModel& model) : model_(model) { model_.beginBulkUpdate(); }
    ~BulkUpdate() { model_.endBulkUpdate(); }
    BulkUpdate(const BulkUpdate&) = delete;
    BulkUpdate& operator=(const BulkUpdate&) = delete;

private:
    FileListModel& model_;
};

void openWith(Desktop& desktop, const OpenRequest& request) {
    desktop.open(fromEngine(request.file), fromEngine(request.directory));
}

}  // namespace

void TForm1::createListMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    struct Item {
        const char* name;
        const char* caption;  // none: a separator
        QAction* TForm1::*member;
        void (TForm1::*handler)();
    };
    const std::array<Item, 12> items{{
        {"OpenFiles1", "Open File(s)  [Enter]", &TForm1::OpenFiles1, &TForm1::OpenFiles1Click},
        {"OpenFolder1", "Open Folder  [Shift+Enter]", &TForm1::OpenFolder1,
         &TForm1::OpenFolder1Click},
        {"OpenInShell1", "Open In Shell  [Space]", &TForm1::OpenInShell1,
         &TForm1::OpenInShell1Click},
        {"N1", nullptr, &TForm1::N1, nullptr},
        {"SelectAll1", "Select All  [Ctrl+A]", &TForm1::SelectAll1, &TForm1::SelectAll1Click},
        {"InvSelection1", "Inv. Selection  [Ctrl+Q]", &TForm1::InvSelection1,
         &TForm1::InvSelection1Click},
        {"ShuffleItems1", "Shuffle Items  [Ctrl+S]", &TForm1::ShuffleItems1,
         &TForm1::ShuffleItems1Click},
        {"N2", nullptr, &TForm1::N2, nullptr},
        {"DeleteItems1", "Delete Item(s)  [Delete]", &TForm1::DeleteItems1,
         &TForm1::DeleteItems1Click},
        {"DeleteFiles1", "Delete File(s)  [Shift+Del]", &TForm1::DeleteFiles1,
         &TForm1::DeleteFiles1Click},
        {"N3", nullptr, &TForm1::N3, nullptr},
        {"SumUpZizeofFiles1", "Sum Up Zize of File(s)  [+]", &TForm1::SumUpZizeofFiles1,
         &TForm1::SumUpZizeofFiles1Click},
    }};
    for (const Item& item : items) {
        QAction* action = item.caption == nullptr
                              ? PopupMenu1->addSeparator()
                              : PopupMenu1->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        this->*item.member = action;
        if (item.handler != nullptr) {
            connect(action, &QAction::triggered, this, item.handler);
        }
    }
    // The menu draws its default item in bold.
    PopupMenu1->setDefaultAction(OpenFiles1);
}

void TForm1::connectListCommands() {
    createListMenu();
    ListView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView, &QWidget::customContextMenuRequested, PopupMenu1,
            [this](const QPoint& at) { PopupMenu1->popup(ListView->viewport()->mapToGlobal(at)); });
    connect(ListView, &QAbstractItemView::doubleClicked, this, &TForm1::ListViewDblClick);
    watchKeys(ListView, &TForm1::ListViewKeyDown);
}

void TForm1::ListViewKeyDown(int key, Qt::KeyboardModifiers shift) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (exactly(shift, Qt::ShiftModifier)) {
                OpenFolder1Click();
            } else {
                OpenFiles1Click();
            }
            break;
        case Qt::Key_Space:
            OpenInShell1Click();
            break;
        case Qt::Key_Delete:
            if (exactly(shift, Qt::ShiftModifier)) {
                DeleteFiles1Click();
            } else {
                DeleteItems1Click();
            }
            break;
        case Qt::Key_A:
            if (exactly(shift, Qt::ControlModifier)) {
                SelectAll1Click();
            }
            break;
        case Qt::Key_Q:
            if (exactly(shift, Qt::ControlModifier)) {
                InvSelection1Click();
            }
            break;
        case Qt::Key_S:
            if (exactly(shift, Qt::ControlModifier)) {
                ShuffleItems1Click();
            }
            break;
        // The keypad's plus, and the main keyboard's plus-and-equals key with
        // or without Shift.
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            SumUpZizeofFiles1Click();
            break;
        default:
            break;
    }
}

void TForm1::showListStatus(const std::string& text) {
    showStatus(fromEngine(text));
}

void TForm1::ListViewDblClick() {
    guarded([this] {
        const auto request = openFileRequest(fileTable_, selectedRows(*ListView->selectionModel()));
        if (request) {
            openWith(*desktop_, *request);
        }
    });
}

void TForm1::OpenFiles1Click() {
    guarded([this] {
        const std::vector<bool> selection = selectedRows(*ListView->selectionModel());
        showListStatus(kPleaseWait);
        for (const OpenRequest& request : openFilesRequests(fileTable_, selection)) {
            openWith(*desktop_, request);
        }
        showListStatus(filesInListText(fileTable_.size()));
    });
}

void TForm1::OpenFolder1Click() {
    guarded([this] {
        const auto request =
            openFolderRequest(fileTable_, selectedRows(*ListView->selectionModel()));
        if (request) {
            openWith(*desktop_, *request);
        }
    });
}

void TForm1::OpenInShell1Click() {
    guarded([this] {
        const std::optional<std::string> folder =
            shellFolder(fileTable_, selectedRows(*ListView->selectionModel()));
        if (!folder) {
            return;
        }
        ShellTreeView->setPath(fromEngine(*folder));
        // As a click on it would: CheckViewClick enters shell mode.
        CheckView->setChecked(true);
    });
}

void TForm1::SelectAll1Click() {
    guarded([this] {
        showListStatus(kPleaseWait);
        selectRows(*ListView->selectionModel(), selectAll(fileTable_.size()));
        showListStatus(filesInListText(fileTable_.size()));
    });
}

void TForm1::InvSelection1Click() {
    guarded([this] {
        showListStatus(kPleaseWait);
        QItemSelectionModel& selection = *ListView->selectionModel();
        selectRows(selection, invertSelection(selectedRows(selection)));
        showListStatus(filesInListText(fileTable_.size()));
    });
}

void TForm1::ShuffleItems1Click() {
    guarded([this] {
        QItemSelectionModel& selection = *ListView->selectionModel();
        const std::vector<bool> selected = selectedRows(selection);
        const QModelIndex current = selection.currentIndex();
        std::vector<std::size_t> order;
        {
            BulkUpdate update(*listModel_);
            order = shuffleRows(fileTable_);
        }
        // The selection and the current row stay with their files.
        selectRows(selection, followRows(selected, order));
        if (current.isValid()) {
            for (std::size_t k = 0; k < order.size(); ++k) {
                if (order[k] == static_cast<std::size_t>(current.row())) {
                    selection.setCurrentIndex(
                        listModel_->index(static_cast<int>(k), current.column()),
                        QItemSelectionModel::NoUpdate);
                    break;
                }
            }
        }
    });
}

void TForm1::applyRemoval(const ButtonsAfterRemoval& buttons) {
    if (buttons.disableRename) {
        RenameButton->setEnabled(false);
    }
    if (buttons.disableFindDupl) {
        FindDuplButton->setEnabled(false);
    }
}

void TForm1::DeleteItems1Click() {
    guarded([this] {
        const std::vector<bool> selection = selectedRows(*ListView->selectionModel());
        ButtonsAfterRemoval buttons;
        {
            BulkUpdate update(*listModel_);
            buttons = deleteItems(fileTable_, selection,
                                  [this](const std::string& text) { showListStatus(text); });
        }
        applyRemoval(buttons);
    });
}

void TForm1::DeleteFiles1Click() {
    guarded([this] {
        const std::vector<bool> selection = selectedRows(*ListView->selectionModel());
        DeleteFilesOutcome outcome;
        {
            BulkUpdate update(*listModel_);
            outcome = deleteFiles(fileTable_, selection,
                                  [this](const std::string& text) { showListStatus(text); });
        }
        // The rows whose files stayed are still selected.
        selectRows(*ListView->selectionModel(), outcome.selection);
        applyRemoval(outcome.buttons);
    });
}

void TForm1::sumSelectedSizes() {
    const std::optional<std::string> message =
        sumSizes(fileTable_, selectedRows(*ListView->selectionModel()),
                 [this](const std::string& text) { showListStatus(text); });
    if (message) {
        desktop_->information(fromEngine(*message));
    }
}

void TForm1::SumUpZizeofFiles1Click() {
    guarded([this] { sumSelectedSizes(); });
}

// Also in shell mode, where the file list is hidden: the rows still selected
// there are summed.
void TForm1::SumButtonClick() {
    guarded([this] { sumSelectedSizes(); });
}

}  // namespace folivar
