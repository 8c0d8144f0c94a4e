#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Desktop.h"
#include "platform/DesktopApplications.h"

namespace folivar {

// The desktop as Qt reaches it: message boxes, the folder dialog, the default
// application of a file. Opening a file that no program opens, or whose
// program cannot be started, answers why.
class QtDesktop : public Desktop {
public:
    // Dialogs are modal to owner (may be null).
    explicit QtDesktop(QWidget* owner);

    void information(const QString& text) override;
    void warning(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void error(const QString& text) override;
    std::optional<QString> browseForFolder(const QString& prompt,
                                           const QString& preselected) override;
    void beep() override;
    void open(const QString& file, const QString& directory) override;
    bool hasSpreadsheetApplication() override;
    std::optional<QString> openFile(const QString& file, const QString& directory) override;

    // The text that names a file no program opens.
    static QString noProgramText(const QString& file);
    // The text that names a file whose program the desktop could not start.
    static QString notStartedText(const QString& file);

private:
    QString title() const;

    QPointer<QWidget> owner_;
    platform::DesktopApplications applications_;
};

}  // namespace folivar
