#pragma once

#include <QObject>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "ScriptedDesktop.h"
#include "app/FileListView.h"
#include "app/Unit1.h"
#include "filelist/FileRow.h"
#include "filelist/FileTable.h"
#include "filelist/RowSelection.h"
#include "support/ScopedStateHome.h"

class QListWidget;
class QTableView;

namespace folivar::test {

// The texts of a list box's entries, and a list box holding just these.
QStringList listEntries(const QListWidget* list);
void setListEntries(QListWidget* list, const QStringList& texts);

// A file's contents (empty when it cannot be read), and a file written with
// these contents (its folders made as needed; the test fails when it cannot),
// by paths as the window shows them.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& contents);

// The names of the files in a folder, sorted.
QStringList filesIn(const QString& folder);

// A row as a scan makes it, of a file in a folder that need not exist.
FileRow fileRow(std::string name, std::string size, std::string folder = "/x/",
                std::string type = "jpg");

// A shown main window whose desktop is scripted, and whose undo journal lives
// in a temporary state folder of its own.
class WindowFixture {
public:
    WindowFixture();
    // Runs beforeWindow with the state folder and the desktop (to script its
    // answers) before the window is made.
    explicit WindowFixture(
        const std::function<void(const ScopedStateHome&, ScriptedDesktop&)>& beforeWindow);
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    TForm1& form() { return *form_; }
    ScriptedDesktop& desktop() { return *desktop_; }
    // The state folder the window keeps its journal in (XDG_STATE_HOME).
    const ScopedStateHome& state() const { return state_; }

    // The control of that name. A missing one fails the test that asks, and a
    // stand-in of the kind asked for lets that test run on to its end without
    // taking the other tests down with it.
    template <typename T>
    T* control(const char* name) const {
        if (T* found = form_->findChild<T*>(QString::fromLatin1(name))) {
            return found;
        }
        QTest::qFail(qPrintable(QStringLiteral("no control %1 of the kind asked for")
                                    .arg(QString::fromLatin1(name))),
                     __FILE__, __LINE__);
        return standIn<T>();
    }

    // The status line's text.
    QString status() const;

    // The texts of one column of the file list, top row first, as ListView shows them.
    QStringList listColumn(int column) const;

    // The file list panel, and the rows it selects.
    FileListView* listView() const { return control<FileListView>("ListView"); }
    RowSelection selected() const { return listView()->selectedRows(); }
    void select(const RowSelection& rows) const { listView()->selectRows(rows); }

    // These rows in the list, as a scan would leave them.
    void setRows(const std::vector<FileRow>& rows);

private:
    template <typename T>
    T* standIn() const {
        if (!standIns_) {
            standIns_ = std::make_unique<QWidget>();
        }
        if constexpr (std::is_same_v<T, FileListView>) {
            return new FileListView(noRows_, standIns_.get());
        } else {
            return withModel(new T(standIns_.get()));
        }
    }
    template <typename T>
    static T* withModel(T* standIn) {
        if constexpr (std::is_base_of_v<QTableView, T>) {
            giveModel(standIn);
        }
        return standIn;
    }
    static void giveModel(QTableView* view);

    ScopedStateHome state_;  // before the window: it reads the journal as it starts
    std::unique_ptr<TForm1> form_;
    ScriptedDesktop* desktop_ = nullptr;
    FileTable noRows_;
    mutable std::unique_ptr<QWidget> standIns_;
};

}  // namespace folivar::test
