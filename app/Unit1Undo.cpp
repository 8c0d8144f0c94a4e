// The preview of RENAME, MOVE and REN+MOV, and the undo of the batches:
// from ListView's menu and keys, and once at start after a batch that was
// killed in the middle.
#include <optional>
#include <vector>

#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/NamingPanel.h"
#include "app/PreviewDialog.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "renaming/NamePreview.h"
#include "session/FileListSession.h"

namespace folivar {

void TForm1::PreviewNames1Click() {
    guarded([this] {
        const NamingScheme scheme = naming_->scheme();
        const RenameKind kind = naming_->operation();
        if (kind != RenameKind::Rename) {
            chooseMoveTarget();  // still none: the session refuses, and says so
        }
        std::optional<std::vector<PreviewRow>> rows;
        {
            // Names made of dates taken may have many dates to read first.
            LongOperation work = strip_->begin(LongOperation::Strip::Kept, nullptr);
            rows = session_->preview(kind, scheme, work);
        }
        if (!rows) {
            return;  // the status line says why
        }
        // One preview at a time: the newest.
        delete preview_;
        preview_ = new PreviewDialog(std::move(*rows), naming_->operationCaption(), this);
        preview_->setAttribute(Qt::WA_DeleteOnClose);
        preview_->open();
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
