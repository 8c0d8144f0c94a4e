#include "app/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QUrl>
#include <string>
#include <vector>

#include "app/DateFolderDialog.h"

namespace folivar {

namespace {

const std::string kSpreadsheetMimeType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// The file's own type and the types it is a kind of (a C source is also plain
// text), most particular first. Any file is a byte stream: a program for
// that alone opens nothing in particular, so it does not count.
std::vector<std::string> typesOf(const QString& file) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    std::vector<std::string> names{type.name().toStdString()};
    for (const QString& name : type.aliases() + type.allAncestors()) {
        if (name != QStringLiteral("application/octet-stream")) {
            names.push_back(name.toStdString());
        }
    }
    return names;
}

}  // namespace

QtDesktop::QtDesktop(QWidget* owner)
    : owner_(owner), applications_(platform::XdgDirectories::fromEnvironment()) {}

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
    DateFolderDialog dialog(owner_, prompt, preselected);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty()) {
        return std::nullopt;
    }
    return dialog.chosen();
}

void QtDesktop::beep() {
    QApplication::beep();
}

void QtDesktop::open(const QString& file, const QString& directory) {
    openFile(file, directory);
}

std::optional<QString> QtDesktop::openFile(const QString& file, const QString& /*directory*/) {
    // The desktop starts the program in a folder of its choosing.
    if (applications_.applicationFor(typesOf(file)).empty()) {
        return noProgramText(file);
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        return notStartedText(file);
    }
    return std::nullopt;
}

bool QtDesktop::hasSpreadsheetApplication() {
    return !applications_.applicationFor({kSpreadsheetMimeType}).empty();
}

QString QtDesktop::noProgramText(const QString& file) {
    return QStringLiteral("There is no program to open ") + file;
}

QString QtDesktop::notStartedText(const QString& file) {
    return QStringLiteral("The desktop could not start a program to open ") + file;
}

}  // namespace folivar
