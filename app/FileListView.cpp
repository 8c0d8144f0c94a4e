#include "app/FileListView.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "app/FileCellDelegate.h"
#include "app/FileListModel.h"
#include "duplicates/DuplicateFinder.h"
#include "filelist/FileRow.h"

namespace folivar {

namespace {

constexpr std::array<int, kFileColumnCount> kColumnWidths{100, 200, 60, 35, 60, 30, 30};
constexpr int kHeaderStretch = 70;  // percent of the normal width
constexpr int kHeaderPadding = 1;

// The menu's items; the bracketed keys are part of the captions, and the
// items carry no shortcuts of their own: the keys work through the window's
// key handler.
struct MenuItem {
    const char* name;
    const char* caption;  // nullptr: a separator
    FileListView::Command command;
};

constexpr std::array<MenuItem, 16> kMenu{{
    {"OpenFiles1", "Open File(s)  [Enter]", FileListView::Command::OpenFiles},
    {"OpenFolder1", "Open Folder  [Shift+Enter]", FileListView::Command::OpenFolder},
    {"OpenInShell1", "Open In Shell  [Space]", FileListView::Command::OpenInShell},
    {"N1", nullptr, {}},
    {"SelectAll1", "Select All  [Ctrl+A]", FileListView::Command::SelectAll},
    {"InvSelection1", "Inv. Selection  [Ctrl+Q]", FileListView::Command::InvertSelection},
    {"ShuffleItems1", "Shuffle Items  [Ctrl+S]", FileListView::Command::Shuffle},
    {"N2", nullptr, {}},
    {"DeleteItems1", "Delete Item(s)  [Delete]", FileListView::Command::DeleteItems},
    {"DeleteFiles1", "Delete File(s)  [Shift+Del]", FileListView::Command::DeleteFiles},
    {"N3", nullptr, {}},
    {"SumUpZizeofFiles1", "Sum Up Zize of File(s)  [+]", FileListView::Command::SumSizes},
    {"PreviewNames1", "Preview New Names  [Ctrl+P]", FileListView::Command::PreviewNames},
    {"UndoRename1", "Undo Last Batch  [Ctrl+Z]", FileListView::Command::UndoRename},
    {"SortByDateTaken1", "Sort by Date Taken", FileListView::Command::SortByDateTaken},
    {"KeepThisCopy1", "Keep This Copy", FileListView::Command::KeepThisCopy},
}};

// The modifiers a key binding looks at; the keypad flag only says where the
// key sits.
constexpr Qt::KeyboardModifiers kHeldModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool exactly(Qt::KeyboardModifiers held, Qt::KeyboardModifier one) {
    return (held & kHeldModifiers) == one;
}

// The commands of Ctrl with a letter (and no other modifier).
constexpr std::array<std::pair<int, FileListView::Command>, 5> kControlLetters{{
    {Qt::Key_A, FileListView::Command::SelectAll},
    {Qt::Key_Q, FileListView::Command::InvertSelection},
    {Qt::Key_S, FileListView::Command::Shuffle},
    {Qt::Key_P, FileListView::Command::PreviewNames},
    {Qt::Key_Z, FileListView::Command::UndoRename},
}};

}  // namespace

FileListView::FileListView(const FileTable& rows, QWidget* parent)
    : QTableView(parent), rows_(rows), model_(new FileListModel(rows, this)) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // One height for every row: 200,000 rows are laid out without asking each one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSortingEnabled(false);  // a header click sorts the session's rows instead
    horizontalHeader()->setSortIndicatorShown(true);
    showSortedColumn(-1, false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // "Group" and "Status" have 30 pixels: a narrower face and slim padding keep them whole.
    QFont narrow = horizontalHeader()->font();
    narrow.setStretch(kHeaderStretch);
    horizontalHeader()->setFont(narrow);
    horizontalHeader()->setStyleSheet(
        QStringLiteral(
            "QHeaderView::section { padding: 1px %1px; border: none;"
            " border-right: 1px solid palette(mid); border-bottom: 1px solid palette(mid);"
            " background-color: palette(button); }")
            .arg(kHeaderPadding));
    setModel(model_);
    for (int column = 0; column < kFileColumnCount; ++column) {
        setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
    }
    createMenu();
    enableKeepThisCopy();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileListView::enableKeepThisCopy);
    connect(model_, &QAbstractItemModel::dataChanged, this, &FileListView::enableKeepThisCopy);
    connect(model_, &QAbstractItemModel::modelReset, this, &FileListView::enableKeepThisCopy);
    makeOutcomesReadable();
    holdStillWhileRowsChange();
}

void FileListView::makeOutcomesReadable() {
    setItemDelegate(new FileCellDelegate(this));
    // QTableView fits a column on a double click of its divider where the
    // user may resize it.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void FileListView::holdStillWhileRowsChange() {
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { viewport()->setUpdatesEnabled(false); });
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { viewport()->setUpdatesEnabled(true); });
}

void FileListView::createMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    for (const MenuItem& item : kMenu) {
        QAction* action = item.caption == nullptr
                              ? menu_->addSeparator()
                              : menu_->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        if (item.caption != nullptr) {
            actions_[static_cast<std::size_t>(item.command)] = action;
        }
    }
    // The menu draws its default item in bold.
    menu_->setDefaultAction(action(Command::OpenFiles));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, menu_,
            [this](const QPoint& at) { menu_->popup(viewport()->mapToGlobal(at)); });
}

void FileListView::enableKeepThisCopy() {
    bool found = false;
    // The selected rows only, and only until the first: a selection of a
    // few rows in a long list is looked at in a moment.
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom() && !found; ++row) {
            const auto at = static_cast<std::size_t>(row);
            found = at < rows_.size() && DuplicateFinder::markedDuplicate(rows_[at]);
        }
        if (found) {
            break;
        }
    }
    action(Command::KeepThisCopy)->setEnabled(found);
}

std::optional<FileListView::Command> FileListView::commandForKey(int key,
                                                                 Qt::KeyboardModifiers held) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return exactly(held, Qt::ShiftModifier) ? Command::OpenFolder : Command::OpenFiles;
        case Qt::Key_Space:
            return Command::OpenInShell;
        case Qt::Key_Delete:
            return exactly(held, Qt::ShiftModifier) ? Command::DeleteFiles : Command::DeleteItems;
        // The keypad's plus, and the main keyboard's plus-and-equals key with
        // or without Shift.
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            return Command::SumSizes;
        default:
            break;
    }
    if (exactly(held, Qt::ControlModifier)) {
        for (const auto& [letter, command] : kControlLetters) {
            if (letter == key) {
                return command;
            }
        }
    }
    return std::nullopt;
}

void FileListView::showSortedColumn(int column, bool descending) {
    horizontalHeader()->setSortIndicator(column,
                                         descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

QModelIndex FileListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const bool home = cursorAction == MoveHome;
    if ((home || cursorAction == MoveEnd) && !(modifiers & Qt::ControlModifier) &&
        model_->rowCount() > 0) {
        const int column = std::max(currentIndex().column(), 0);
        return model_->index(home ? 0 : model_->rowCount() - 1, column);
    }
    return QTableView::moveCursor(cursorAction, modifiers);
}

RowSelection FileListView::selectedRows() const {
    RowSelection rows(static_cast<std::size_t>(model_->rowCount()), false);
    // Ranges, not indexes: selecting every one of 200,000 rows is one range.
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
                rows[static_cast<std::size_t>(row)] = true;
            }
        }
    }
    return rows;
}

void FileListView::selectRows(const RowSelection& rows) {
    QItemSelection wanted;
    const int lastColumn = kFileColumnCount - 1;
    const auto count = std::min(rows.size(), static_cast<std::size_t>(model_->rowCount()));
    std::size_t row = 0;
    while (row < count) {
        if (!rows[row]) {
            ++row;
            continue;
        }
        const std::size_t first = row;
        while (row < count && rows[row]) {
            ++row;
        }
        wanted.append(QItemSelectionRange(model_->index(static_cast<int>(first), 0),
                                          model_->index(static_cast<int>(row - 1), lastColumn)));
    }
    // Replacing one selection of many ranges by another in one step has the
    // model compare them range by range, which takes minutes on 200,000 rows
    // selected every other one. Emptied first, neither side needs comparing.
    selectionModel()->clearSelection();
    selectionModel()->select(wanted, QItemSelectionModel::Select);
}

}  // namespace folivar
