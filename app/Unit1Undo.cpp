// The preview of RENAME, MOVE and REN+MOV, and the undo of the batches:
// from ListView's menu and keys, and once at start after a batch that was
// killed in the middle.
#include <QComboBox>
#include <optional>
#include <vector>

#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/PreviewDialog.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "filelist/ListStatus.h"
#include "renaming/NamePreview.h"
#include "session/FileListSession.h"

namespace folivar {

void TForm1::PreviewNames1Click() {
    guarded([this] {
        const NamingScheme scheme = readNamingScheme();
        const auto kind = static_cast<RenameKind>(chosenValue(RenMovBox, 0));
        if (kind != RenameKind::Rename && !chooseMoveTarget()) {
            StatusBar->status(session_->filesInList());
            return;
        }
        StatusBar->status(kPleaseWait);
        std::optional<std::vector<PreviewRow>> rows;
        {
            // Names made of dates taken may have many dates to read first.
            LongOperation work = strip_->begin(LongOperation::Strip::Kept, nullptr);
            rows = session_->preview(kind, scheme, work);
        }
        if (!rows) {
            return;  // stopped while it read: the status line says so
        }
        StatusBar->status(session_->filesInList());
        // One preview at a time: the newest.
        delete findChild<PreviewDialog*>(QString(), Qt::FindDirectChildrenOnly);
        auto* dialog =
            new PreviewDialog(std::move(*rows), RenMovBox->currentText().toUpper(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

void TForm1::undoLastBatch(const InterruptedBatch* interrupted) {
    LongOperation work = strip_->begin(LongOperation::Strip::Bar, nullptr);
    if (interrupted != nullptr) {
        session_->undoInterruptedBatch(*interrupted, work);
    } else {
        session_->undoLastBatch(work);
    }
}

void TForm1::UndoRename1Click() {
    guarded([this] { undoLastBatch(); });
}

void TForm1::AskToUndoInterruptedBatch() {
    guarded([this] {
        const JournalCheck check = session_->checkJournal();
        if (!check.unusable.empty()) {
            StatusBar->write(fromEngine(check.unusable));
        }
        if (!check.interrupted) {
            return;
        }
        if (desktop_->askYesNo(
                QStringLiteral("The last rename or move was interrupted before it ended: %1. "
                               "Move the files it moved back to their old names?")
                    .arg(fromEngine(describe(*check.interrupted))))) {
            undoLastBatch(&*check.interrupted);
        } else {
            session_->keepInterruptedBatch(*check.interrupted);
        }
    });
}

}  // namespace folivar
