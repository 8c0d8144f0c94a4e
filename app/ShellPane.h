#pragma once

#include <QFileSystemModel>
#include <QListView>
#include <QMetaObject>
#include <QStackedWidget>
#include <QTableView>

namespace folivar {

class FolderTree;

// The shell file pane: the files and folders (hidden ones too) of one folder,
// as icons, small icons, a list or a report. Linked to a folder tree it shows
// the tree's selected folder and follows it.
class ShellPane : public QStackedWidget {
    Q_OBJECT

public:
    enum class ViewStyle { Icon, SmallIcon, List, Report };

    explicit ShellPane(QWidget* parent = nullptr);

    void link(FolderTree* tree);
    void unlink();
    bool isLinked() const { return tree_ != nullptr; }

    void setViewStyle(ViewStyle style);
    ViewStyle viewStyle() const { return style_; }

    // The folder shown; empty before the first one.
    QString folder() const { return folder_; }
    void showFolder(const QString& folder);

    // Reads the shown folder again from disk.
    void refresh();

    QFileSystemModel* fileModel() const { return model_; }
    QListView* listView() const { return list_; }
    QTableView* reportView() const { return report_; }

signals:
    void contextMenuRequested(const QPoint& globalPos);
    // A name edited in place was not given: the text says why.
    void renameRefused(const QString& text);

private:
    void installModel();
    void followTree();

    QFileSystemModel* model_ = nullptr;
    QListView* list_;
    QTableView* report_;
    ViewStyle style_ = ViewStyle::Report;
    QString folder_;
    FolderTree* tree_ = nullptr;
    QMetaObject::Connection changedLink_;
    QMetaObject::Connection refreshedLink_;
};

}  // namespace folivar
