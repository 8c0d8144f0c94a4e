#pragma once

#include <QObject>
#include <QtGlobal>
#include <memory>

#include "ScriptedDesktop.h"
#include "app/Unit1.h"

namespace folivar::test {

// A shown main window whose desktop is scripted.
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

private:
    std::unique_ptr<TForm1> form_;
    ScriptedDesktop* desktop_;
};

}  // namespace folivar::test
