#pragma once

#include <QString>
#include <optional>

namespace folivar {

// Everything the window asks of the desktop; tests replace it.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void information(const QString& text) = 0;  // modal, information icon, OK
    virtual void warning(const QString& text) = 0;      // modal, warning icon, OK
    virtual bool askYesNo(const QString& text) = 0;     // modal, information icon, Yes/No
    virtual void error(const QString& text) = 0;        // the default error box
    virtual std::optional<QString> browseForFolder(
        const QString& prompt,
        const QString& preselected) = 0;  // nullopt: cancelled
    virtual void beep() = 0;
    virtual void open(const QString& file, const QString& directory) = 0;  // default action
    virtual bool hasSpreadsheetApplication() = 0;

    // The default action, and why it could not be taken (nullopt: it was).
    // A desktop that cannot tell needs only open().
    virtual std::optional<QString> openFile(const QString& file, const QString& directory) {
        open(file, directory);
        return std::nullopt;
    }
};

}  // namespace folivar
