#include "ScriptedDesktop.h"

namespace folivar::test {

void ScriptedDesktop::information(const QString& text) {
    calls << QStringLiteral("information: ") + text;
}

void ScriptedDesktop::warning(const QString& text) {
    calls << QStringLiteral("warning: ") + text;
}

bool ScriptedDesktop::askYesNo(const QString& text) {
    calls << QStringLiteral("askYesNo: ") + text;
    if (yesNoAnswers.empty()) {
        return false;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void ScriptedDesktop::error(const QString& text) {
    calls << QStringLiteral("error: ") + text;
}

std::optional<QString> ScriptedDesktop::browseForFolder(const QString& prompt,
                                                        const QString& preselected) {
    calls << QStringLiteral("browseForFolder: %1 [%2]").arg(prompt, preselected);
    if (folderAnswers.empty()) {
        return std::nullopt;
    }
    const QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    if (answer.isNull()) {
        return std::nullopt;
    }
    return std::make_optional(answer);
}

void ScriptedDesktop::beep() {
    calls << QStringLiteral("beep");
}

void ScriptedDesktop::open(const QString& file, const QString& directory) {
    calls << QStringLiteral("open: %1 [%2]").arg(file, directory);
}

bool ScriptedDesktop::hasSpreadsheetApplication() {
    calls << QStringLiteral("hasSpreadsheetApplication");
    return spreadsheetApplication;
}

}  // namespace folivar::test
