#include "app/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace folivar {

namespace {

const QString kSpreadsheetMimeType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

}  // namespace

QtDesktop::QtDesktop(QWidget* owner) : owner_(owner) {}

QString QtDesktop::title() const {
    return owner_ != nullptr ? owner_->window()->windowTitle() : QApplication::applicationName();
}

void QtDesktop::information(const QString& text) {
    QMessageBox::information(owner_, title(), text);
}

void QtDesktop::warning(const QString& text) {
    QMessageBox::warning(owner_, title(), text);
}

bool QtDesktop::askYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Information, title(), text, QMessageBox::Yes | QMessageBox::No,
                    owner_);
    return box.exec() == QMessageBox::Yes;
}

void QtDesktop::error(const QString& text) {
    QMessageBox::critical(owner_, title(), text);
}

std::optional<QString> QtDesktop::browseForFolder(const QString& prompt,
                                                  const QString& preselected) {
    const QString folder =
        QFileDialog::getExistingDirectory(owner_, prompt, preselected, QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

void QtDesktop::beep() {
    QApplication::beep();
}

void QtDesktop::open(const QString& file, const QString& /*directory*/) {
    // The desktop starts the default application in a folder of its choosing;
    // its result is not looked at.
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtDesktop::hasSpreadsheetApplication() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), kSpreadsheetMimeType});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        return false;
    }
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace folivar
