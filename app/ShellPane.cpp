#include "app/ShellPane.h"

#include <QHeaderView>

#include "app/FileIcons.h"
#include "app/FolderTree.h"
#include "app/ShellRenameDelegate.h"

namespace folivar {

ShellPane::ShellPane(QWidget* parent)
    : QStackedWidget(parent), list_(new QListView(this)), report_(new QTableView(this)) {
    auto* names = new ShellRenameDelegate(this);
    connect(names, &ShellRenameDelegate::renameRefused, this, &ShellPane::renameRefused);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(list_), static_cast<QAbstractItemView*>(report_)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::SelectedClicked);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->setItemDelegate(names);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            emit contextMenuRequested(view->viewport()->mapToGlobal(pos));
        });
    }
    list_->setResizeMode(QListView::Adjust);
    list_->setWrapping(true);
    report_->setShowGrid(true);
    report_->setSelectionBehavior(QAbstractItemView::SelectRows);
    report_->setSortingEnabled(false);
    report_->setWordWrap(false);
    report_->verticalHeader()->hide();
    report_->verticalHeader()->setDefaultSectionSize(report_->fontMetrics().height() + 4);
    report_->horizontalHeader()->setSectionsClickable(false);
    report_->horizontalHeader()->setHighlightSections(false);
    addWidget(list_);
    addWidget(report_);
    installModel();
    setViewStyle(ViewStyle::Report);
}

void ShellPane::installModel() {
    auto* fresh = new QFileSystemModel(this);
    fresh->setOption(QFileSystemModel::DontWatchForChanges);
    fresh->setIconProvider(&FileIcons::shared());
    fresh->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    fresh->setReadOnly(false);  // names can be edited in place
    QFileSystemModel* old = model_;
    QItemSelectionModel* oldList = list_->selectionModel();
    QItemSelectionModel* oldReport = report_->selectionModel();
    model_ = fresh;
    list_->setModel(fresh);
    report_->setModel(fresh);
    // Name, Size, Type, Date Modified: room for a whole date and time.
    const int widths[] = {170, 70, 90, 150};
    for (int column = 0; column < 4; ++column) {
        report_->setColumnWidth(column, widths[column]);
    }
    if (old != nullptr) {
        oldList->deleteLater();
        oldReport->deleteLater();
        old->deleteLater();
    }
}

void ShellPane::showFolder(const QString& folder) {
    folder_ = folder;
    const QModelIndex root = folder.isEmpty() ? QModelIndex() : model_->setRootPath(folder);
    list_->setRootIndex(root);
    report_->setRootIndex(root);
}

void ShellPane::refresh() {
    installModel();
    showFolder(folder_);
}

void ShellPane::link(FolderTree* tree) {
    unlink();
    tree_ = tree;
    changedLink_ = connect(tree, &FolderTree::changed, this, &ShellPane::followTree);
    refreshedLink_ = connect(tree, &FolderTree::refreshed, this, &ShellPane::refresh);
    followTree();
}

void ShellPane::unlink() {
    disconnect(changedLink_);
    disconnect(refreshedLink_);
    tree_ = nullptr;
}

void ShellPane::followTree() {
    if (tree_ != nullptr) {
        showFolder(tree_->path());
    }
}

void ShellPane::setViewStyle(ViewStyle style) {
    style_ = style;
    switch (style) {
        case ViewStyle::Icon:
            list_->setViewMode(QListView::IconMode);
            list_->setFlow(QListView::LeftToRight);
            list_->setIconSize(QSize(32, 32));
            list_->setGridSize(QSize(84, 64));
            list_->setWordWrap(true);
            setCurrentWidget(list_);
            break;
        case ViewStyle::SmallIcon:
            list_->setViewMode(QListView::ListMode);
            list_->setFlow(QListView::LeftToRight);
            list_->setIconSize(QSize(16, 16));
            list_->setGridSize(QSize(140, 20));
            list_->setWordWrap(false);
            setCurrentWidget(list_);
            break;
        case ViewStyle::List:
            list_->setViewMode(QListView::ListMode);
            list_->setFlow(QListView::TopToBottom);
            list_->setIconSize(QSize(16, 16));
            list_->setGridSize(QSize());
            list_->setWordWrap(false);
            setCurrentWidget(list_);
            break;
        case ViewStyle::Report:
            setCurrentWidget(report_);
            break;
    }
    list_->setWrapping(true);
    list_->setMovement(QListView::Static);
}

}  // namespace folivar
