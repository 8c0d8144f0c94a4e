#include "WindowFixture.h"

#include <QTest>

namespace folivar::test {

WindowFixture::WindowFixture() : form_(std::make_unique<TForm1>()) {
    auto scripted = std::make_unique<ScriptedDesktop>();
    desktop_ = scripted.get();
    form_->setDesktop(std::move(scripted));
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) {
        qFatal("the main window was not shown");
    }
}

WindowFixture::~WindowFixture() = default;

}  // namespace folivar::test
