#pragma once

#include <QStringList>
#include <deque>

#include "app/Desktop.h"

namespace folivar::test {

// Records every call as "kind: text" and answers from scripts; a dialog with
// nothing scripted answers "cancel" / "No".
class ScriptedDesktop : public Desktop {
public:
    QStringList calls;
    std::deque<QString> folderAnswers;  // a null text cancels the dialog
    std::deque<bool> yesNoAnswers;
    bool spreadsheetApplication = false;

    void information(const QString& text) override;
    void warning(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void error(const QString& text) override;
    std::optional<QString> browseForFolder(const QString& prompt,
                                           const QString& preselected) override;
    void beep() override;
    void open(const QString& file, const QString& directory) override;
    bool hasSpreadsheetApplication() override;
};

}  // namespace folivar::test
