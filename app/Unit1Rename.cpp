// RENAME, MOVE and REN+MOV over every row of the file list, the move target
// folder, and the naming scheme's controls.
#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSpinBox>
#include <algorithm>
#include <optional>
#include <string>

#include "app/ActionStrip.h"
#include "app/DateFolderDialog.h"
#include "app/EngineBridge.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "renaming/NameComposition.h"
#include "renaming/RenameOperations.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

constexpr int kDefaultCapacity = 4;
constexpr int kDefaultOrigin = 1;

// A spin edit's number; a text that is no whole number is put back to the
// fallback first, and a number the edit would not take is brought into its range.
int wholeNumberOf(QSpinBox* edit, int fallback) {
    bool whole = false;
    const int typed = edit->cleanText().toInt(&whole);
    if (!whole) {
        edit->setValue(fallback);
        return fallback;
    }
    return std::clamp(typed, edit->minimum(), edit->maximum());
}

// The edit's text without the forbidden character the check found, and the
// warning; nothing when it found none.
void putBackWithout(QLineEdit* edit, const std::optional<std::string>& text, Desktop& desktop) {
    if (!text) {
        return;
    }
    // A change of its own: another forbidden character goes the same way,
    // with its own warning, before this one.
    edit->setText(fromEngine(*text));
    edit->selectAll();
    desktop.warning(QString::fromLatin1(kForbiddenPrefixWarning));
}

}  // namespace

void TForm1::RenMovBoxChange() {
    guarded([this] { strip_->setRenameCaption(RenMovBox->currentText().toUpper()); });
}

void TForm1::PrefixEditChange() {
    guarded([this] {
        putBackWithout(PrefixEdit, WithoutLastForbiddenCharacter(toEngine(PrefixEdit->text())),
                       *desktop_);
    });
}

// The same check on what the date format writes.
void TForm1::DateFormatEditChange() {
    guarded([this] {
        putBackWithout(DateFormatEdit,
                       DateFormatWithoutForbiddenCharacter(toEngine(DateFormatEdit->text())),
                       *desktop_);
    });
}

void TForm1::setMoveTarget(const QString& folder) {
    session_->setMoveTarget(toEngine(folder));
    // The hint names the folder chosen, so it can be seen before a move.
    const QString hint = QStringLiteral("Put files into");
    PathButton5->setToolTip(folder.isEmpty() ? hint : hint + QLatin1Char(' ') + folder);
}

void TForm1::PathButton5Click() {
    guarded([this] {
        QString preselected = fromEngine(session_->moveTarget());
        if (!folderExists(preselected) && !DateFolderDialog::isDatePattern(preselected)) {
            setMoveTarget({});
            preselected.clear();
        }
        const std::optional<QString> folder =
            desktop_->browseForFolder(QStringLiteral("Put files into..."), preselected);
        if (!folder) {
            return;
        }
        setMoveTarget(*folder);
        StatusBar->write(fromEngine(session_->filesInList()) + QStringLiteral("; You selected ") +
                         *folder);
    });
}

NamingScheme TForm1::readNamingScheme() {
    NamingScheme scheme;
    scheme.prefix = toEngine(PrefixEdit->text());
    scheme.structure = static_cast<folivar::FileStructure>(
        chosenValue(FileStructureBox, static_cast<int>(scheme.structure)));
    scheme.capacity = wholeNumberOf(CapacityEdit, kDefaultCapacity);
    scheme.origin = wholeNumberOf(CountStartEdit, kDefaultOrigin);
    scheme.dateFormat = toEngine(DateFormatEdit->text());
    return scheme;
}

// A moving operation needs a move target folder, asked for when there is
// none; false when the user cancels.
bool TForm1::chooseMoveTarget() {
    if (session_->moveTarget().empty()) {
        const std::optional<QString> folder = desktop_->browseForFolder(
            QStringLiteral("You must choose the folder for moving files"), QString());
        if (!folder) {
            return false;
        }
        setMoveTarget(*folder);
    }
    return true;
}

// ... and the user's yes.
bool TForm1::confirmMoveTarget() {
    return chooseMoveTarget() && desktop_->askYesNo(QStringLiteral("Files will move into ") +
                                                    fromEngine(session_->moveTarget()));
}

void TForm1::RenameButtonClick() {
    guarded([this] {
        // However the run ends, FIND DUPL searches again.
        const auto searchAgain = qScopeGuard([this] { setDuplicateMode(true); });

        // The counter's two edits are read (and mended) whatever the operation.
        const NamingScheme scheme = readNamingScheme();
        const auto kind = static_cast<RenameKind>(chosenValue(RenMovBox, 0));
        if (kind != RenameKind::Rename && !confirmMoveTarget()) {
            StatusBar->status(session_->filesInList());
            return;
        }
        // Names made of dates taken read every row's date first: one long
        // operation with the batch, so that a stop in between is not lost.
        std::optional<LongOperation> work;
        work.emplace(*strip_, LongOperation::Strip::Bar, strip_->renameButton());
        BatchStart batch = session_->prepareRename(kind, scheme, *work);
        if (batch.state() == BatchStart::State::Stopped) {
            return;  // nothing moved, and the status line says so
        }
        if (batch.state() == BatchStart::State::Unjournaled) {
            work.reset();  // the question takes the user's input
            if (desktop_->askYesNo(QStringLiteral("This batch cannot be written into the undo "
                                                  "journal (%1).\nRun it anyway, without undo?")
                                       .arg(fromEngine(batch.why())))) {
                batch.runWithoutUndo();
            }
            work.emplace(*strip_, LongOperation::Strip::Bar, strip_->renameButton());
        }
        session_->rename(std::move(batch), *work);
    });
}

}  // namespace folivar
