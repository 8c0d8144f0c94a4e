#pragma once

#include <QPointer>
#include <QWidget>

#include "app/Desktop.h"

namespace folivar {

// The desktop as Qt reaches it: message boxes, the folder dialog, the default
// application of a file.
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

private:
    QString title() const;

    QPointer<QWidget> owner_;
};

}  // namespace folivar
