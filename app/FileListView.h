#pragma once

#include <QTableView>
#include <array>
#include <optional>

#include "filelist/FileTable.h"
#include "filelist/RowSelection.h"

class QAction;
class QMenu;

namespace folivar {

class FileListModel;

// The file list panel, ListView itself: the session's rows through a
// FileListModel, its context menu PopupMenu1 with one action per list
// command, what its keys mean, and the selection the commands work on. The
// window runs the commands: each action triggers the window's handler.
class FileListView : public QTableView {
    Q_OBJECT

public:
    // The list commands, in the menu's order.
    enum class Command {
        OpenFiles,
        OpenFolder,
        OpenInShell,
        SelectAll,
        InvertSelection,
        Shuffle,
        DeleteItems,
        DeleteFiles,
        SumSizes,
        PreviewNames,
        UndoRename,
        SortByDateTaken,
        KeepThisCopy,
    };
    static constexpr std::size_t kCommandCount = 13;

    FileListView(const FileTable& rows, QWidget* parent);

    // What the session tells of its changes to the rows.
    FileListModel& listModel() const { return *model_; }

    QMenu* menu() const { return menu_; }
    QAction* action(Command command) const { return actions_[static_cast<std::size_t>(command)]; }

    // The command a key runs while the list has the focus; nullopt: none.
    // "Exactly Shift" or "exactly Ctrl" means that modifier alone is held.
    static std::optional<Command> commandForKey(int key, Qt::KeyboardModifiers held);

    // The header's sort indicator on column (-1: none).
    void showSortedColumn(int column, bool descending);

    // Which rows are selected, one flag per row.
    RowSelection selectedRows() const;
    // Selects exactly the flagged rows, whole rows, in as few ranges as they form.
    void selectRows(const RowSelection& rows);

protected:
    // Home and End go to the first and the last row, as in a file manager.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void createMenu();
    // Whole texts at the narrow widths: elided cells show theirs as tooltips,
    // a double click on a header divider fits that column to its contents,
    // and rows of failed outcomes are marked.
    void makeOutcomesReadable();
    // A view painted while its rows are being replaced would show them half
    // done: it keeps its last picture until the change is over.
    void holdStillWhileRowsChange();
    // Keep This Copy only where the selection holds a row marked "Dupl".
    void enableKeepThisCopy();

    const FileTable& rows_;
    FileListModel* model_;
    QMenu* menu_ = nullptr;
    std::array<QAction*, kCommandCount> actions_{};
};

}  // namespace folivar
