#include "WindowFixture.h"

#include <QAbstractItemModel>
#include <QListWidget>
#include <QTableView>
#include <QTest>

namespace folivar::test {

QStringList listEntries(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

void setListEntries(QListWidget* list, const QStringList& texts) {
    list->clear();
    list->addItems(texts);
}

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

QStringList WindowFixture::listColumn(int column) const {
    const QAbstractItemModel* model = control<QTableView>("ListView")->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->data(model->index(row, column)).toString();
    }
    return texts;
}

}  // namespace folivar::test
