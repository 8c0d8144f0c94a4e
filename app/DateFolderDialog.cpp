#include "app/DateFolderDialog.h"

#include <QFileInfo>

#include "app/EngineBridge.h"
#include "renaming/DateFolderPattern.h"

namespace folivar {

DateFolderDialog::DateFolderDialog(QWidget* parent, const QString& caption, const QString& folder)
    : QFileDialog(parent, caption, folder) {
    setObjectName(QStringLiteral("DateFolderDialog"));
    // Qt's own dialog: a desktop's would refuse a folder that is not there yet.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ShowDirsOnly);
    setFileMode(QFileDialog::Directory);
    setLabelText(QFileDialog::FileName, QStringLiteral("Folder, or {yyyy}/{MM} for dates:"));
    if (isDatePattern(folder)) {
        // Opened on the folder the dates go under, the dates ready to edit.
        const QString base = fromEngine(DateFolderPattern(toEngine(folder)).base());
        setDirectory(base);
        selectFile(folder.mid(base.size()));
    }
}

bool DateFolderDialog::isDatePattern(const QString& path) {
    const DateFolderPattern pattern(toEngine(path));
    return pattern.holdsDates() && QFileInfo(fromEngine(pattern.base())).isDir();
}

void DateFolderDialog::accept() {
    const QString typed = selectedFiles().value(0);
    if (isDatePattern(typed)) {
        chosen_ = typed;
        done(QDialog::Accepted);
        return;
    }
    QFileDialog::accept();
    if (result() == QDialog::Accepted) {
        chosen_ = selectedFiles().value(0);
    }
}

}  // namespace folivar
