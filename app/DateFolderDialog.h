#pragma once

#include <QFileDialog>

namespace folivar {

// The folder picker of the move target. Besides a folder, it takes a typed
// path that holds dates between braces ("/Photos/{yyyy}/{yyyy-MM}"), as long
// as the folder before the first date exists: the folders after it are made
// by the move.
class DateFolderDialog : public QFileDialog {
    Q_OBJECT

public:
    DateFolderDialog(QWidget* parent, const QString& caption, const QString& folder);

    // Whether path holds dates under a folder that exists.
    static bool isDatePattern(const QString& path);

    // The folder or the pattern accepted; empty before.
    QString chosen() const { return chosen_; }

    void accept() override;

private:
    QString chosen_;
};

}  // namespace folivar
