// RENAME, MOVE and REN+MOV over every row of the file list, the move target
// folder, and the naming scheme's controls.
#include <QScopeGuard>
#include <optional>

#include "app/ActionStrip.h"
#include "app/DateFolderDialog.h"
#include "app/EngineBridge.h"
#include "app/NamingPanel.h"
#include "app/ScanSettingsPanel.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

void TForm1::RenMovBoxChange() {
    guarded([this] { strip_->setRenameCaption(naming_->operationCaption()); });
}

void TForm1::PrefixEditChange() {
    guarded([this] {
        if (naming_->dropForbiddenFromPrefix()) {
            desktop_->warning(QString::fromLatin1(kForbiddenPrefixWarning));
        }
    });
}

void TForm1::DateFormatEditChange() {
    guarded([this] {
        if (naming_->dropForbiddenFromDateFormat()) {
            desktop_->warning(QString::fromLatin1(kForbiddenPrefixWarning));
        }
    });
}

void TForm1::setMoveTarget(const QString& folder) {
    session_->setMoveTarget(toEngine(folder));
    scan_->showMoveTarget(folder);
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

void TForm1::RenameButtonClick() {
    guarded([this] {
        // However the run ends, FIND DUPL searches again.
        const auto searchAgain = qScopeGuard([this] { setDuplicateMode(true); });

        // The counter's two edits are read (and mended) whatever the operation.
        const NamingScheme scheme = naming_->scheme();
        const RenameKind kind = naming_->operation();
        if (kind != RenameKind::Rename) {
            if (!chooseMoveTarget()) {
                // Still none: the session refuses, and says so.
                session_->rename(kind, scheme, *StatusBar);
                return;
            }
            if (!desktop_->askYesNo(QStringLiteral("Files will move into ") +
                                    fromEngine(session_->moveTarget()))) {
                StatusBar->status(session_->filesInList());
                return;
            }
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
