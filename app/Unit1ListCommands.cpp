// The commands over the file list's rows, run from ListView's menu, keys and
// double click, and from SUM.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <optional>
#include <string>
#include <utility>

#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/FileListModel.h"
#include "app/FileListView.h"
#include "app/FolderTree.h"
#include "app/KeptSelection.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"

namespace folivar {

void TForm1::connectListCommands() {
    using Command = FileListView::Command;
    const std::pair<Command, void (TForm1::*)()> handlers[] = {
        {Command::OpenFiles, &TForm1::OpenFiles1Click},
        {Command::OpenFolder, &TForm1::OpenFolder1Click},
        {Command::OpenInShell, &TForm1::OpenInShell1Click},
        {Command::SelectAll, &TForm1::SelectAll1Click},
        {Command::InvertSelection, &TForm1::InvSelection1Click},
        {Command::Shuffle, &TForm1::ShuffleItems1Click},
        {Command::DeleteItems, &TForm1::DeleteItems1Click},
        {Command::DeleteFiles, &TForm1::DeleteFiles1Click},
        {Command::SumSizes, &TForm1::SumUpZizeofFiles1Click},
        {Command::PreviewNames, &TForm1::PreviewNames1Click},
        {Command::UndoRename, &TForm1::UndoRename1Click},
        {Command::SortByDateTaken, &TForm1::SortByDateTaken1Click},
        {Command::KeepThisCopy, &TForm1::KeepThisCopy1Click},
    };
    for (const auto& [command, handler] : handlers) {
        connect(ListView->action(command), &QAction::triggered, this, handler);
    }
    connect(ListView, &QAbstractItemView::doubleClicked, this, &TForm1::ListViewDblClick);
    connect(ListView->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TForm1::ListViewColumnClick);
    // Whatever put the rows in their order, the header shows it.
    connect(&ListView->listModel(), &QAbstractItemModel::modelReset, this, [this] {
        const auto sorted = session_->sortedBy();
        ListView->showSortedColumn(sorted ? sorted->column : -1, sorted && sorted->descending);
    });
    watchKeys(ListView, &TForm1::ListViewKeyDown);
}

// The key runs the menu item of its command.
void TForm1::ListViewKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (const std::optional<FileListView::Command> command =
            FileListView::commandForKey(key, shift)) {
        ListView->action(*command)->trigger();
    }
}

void TForm1::open(const OpenRequest& request) {
    // Why it failed comes after the texts of the handler that asked.
    if (const auto failure =
            desktop_->openFile(fromEngine(request.file), fromEngine(request.directory))) {
        StatusBar->writeLater(*failure);
    }
}

void TForm1::ListViewDblClick() {
    guarded([this] {
        if (const auto request = session_->fileToOpen(ListView->selectedRows())) {
            open(*request);
        }
    });
}

void TForm1::OpenFiles1Click() {
    guarded([this] {
        const RowSelection selection = ListView->selectedRows();
        session_->workOverList(*StatusBar, [&] {
            for (const OpenRequest& request : session_->filesToOpen(selection)) {
                open(request);
            }
        });
    });
}

void TForm1::OpenFolder1Click() {
    guarded([this] {
        if (const auto request = session_->folderToOpen(ListView->selectedRows())) {
            open(*request);
        }
    });
}

void TForm1::OpenInShell1Click() {
    guarded([this] {
        const std::optional<std::string> folder = session_->shellFolder(ListView->selectedRows());
        if (!folder) {
            return;
        }
        ShellTreeView->setPath(fromEngine(*folder));
        // As a click on it would: CheckViewClick enters shell mode.
        strip_->shellBox()->setChecked(true);
    });
}

void TForm1::SelectAll1Click() {
    guarded([this] {
        session_->workOverList(
            *StatusBar, [this] { ListView->selectRows(selectAll(session_->rows().size())); });
    });
}

void TForm1::InvSelection1Click() {
    guarded([this] {
        session_->workOverList(*StatusBar, [this] {
            ListView->selectRows(invertSelection(ListView->selectedRows()));
        });
    });
}

void TForm1::ShuffleItems1Click() {
    guarded([this] {
        KeptSelection kept(*ListView);
        kept.follow(session_->shuffle());
    });
}

void TForm1::DeleteItems1Click() {
    guarded([this] { strip_->apply(session_->deleteItems(ListView->selectedRows(), *StatusBar)); });
}

void TForm1::DeleteFiles1Click() {
    guarded([this] {
        const RowSelection selection = ListView->selectedRows();
        DeleteFilesOutcome outcome;
        {
            LongOperation work = strip_->begin(LongOperation::Strip::Kept, nullptr);
            outcome = session_->deleteFiles(selection, work);
        }
        // The rows whose files stayed are still selected.
        ListView->selectRows(outcome.selection);
        strip_->apply(outcome.buttons);
    });
}

void TForm1::sumSelectedSizes() {
    if (const auto message = session_->sumSizes(ListView->selectedRows(), *StatusBar)) {
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
