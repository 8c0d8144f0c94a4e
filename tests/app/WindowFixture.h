#pragma once

#include <QObject>
#include <QStringList>
#include <QtGlobal>
#include <memory>

#include "ScriptedDesktop.h"
#include "app/Unit1.h"

class QListWidget;

namespace folivar::test {

// A shown main window whose desktop is scripted.
// The texts of a list box's entries, and a list box holding just these.
QStringList listEntries(const QListWidget* list);
void setListEntries(QListWidget* list, const QStringList& texts);

class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    TForm1& form() { return *form_; }
    ScriptedDesktop& desktop() { return *desktop_; }

    // The control of that name; the test stops when there is none.
    template <typename T>
    T* control(const char* name) const {
        T* found = form_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control %s of the kind asked for", name);
        }
        return found;
    }

    // The texts of one column of the file list, top row first, as ListView shows them.
    QStringList listColumn(int column) const;

private:
    std::unique_ptr<TForm1> form_;
    ScriptedDesktop* desktop_;
};

}  // namespace folivar::test
