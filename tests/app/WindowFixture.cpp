#include "WindowFixture.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QListWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <filesystem>
#include <fstream>

#include "session/FileListSession.h"
#include "support/TempTree.h"

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

QByteArray readFile(const QString& path) {
    return QByteArray::fromStdString(test::readFile(path.toStdString()));
}

void writeFile(const QString& path, const QByteArray& contents) {
    const std::filesystem::path file(path.toStdString());
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary);
    out << contents.toStdString();
    if (!out.flush()) {
        QTest::qFail(qPrintable(QStringLiteral("cannot write %1").arg(path)), __FILE__, __LINE__);
    }
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

FileRow fileRow(std::string name, std::string size, std::string folder, std::string type) {
    return {
        std::move(name), std::move(folder), std::move(size), std::move(type), "1.1.2004", "0", "-"};
}

WindowFixture::WindowFixture() : WindowFixture([](const ScopedStateHome&, ScriptedDesktop&) {}) {}

WindowFixture::WindowFixture(
    const std::function<void(const ScopedStateHome&, ScriptedDesktop&)>& beforeWindow) {
    auto scripted = std::make_unique<ScriptedDesktop>();
    desktop_ = scripted.get();
    beforeWindow(state_, *scripted);
    form_ = std::make_unique<TForm1>();
    form_->setDesktop(std::move(scripted));
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) {
        qFatal("the main window was not shown");
    }
}

WindowFixture::~WindowFixture() = default;

QString WindowFixture::status() const {
    return control<QStatusBar>("StatusBar")->currentMessage();
}

QStringList WindowFixture::listColumn(int column) const {
    const QAbstractItemModel* model = control<QTableView>("ListView")->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->data(model->index(row, column)).toString();
    }
    return texts;
}

void WindowFixture::setRows(const std::vector<FileRow>& rows) {
    form_->session().replaceRows(rows);
}

void WindowFixture::giveModel(QTableView* view) {
    view->setModel(new QStandardItemModel(view));
}

}  // namespace folivar::test
