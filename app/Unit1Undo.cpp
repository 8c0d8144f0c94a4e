// The preview of RENAME, MOVE and REN+MOV, and the undo of the batches:
// from ListView's menu and keys, and once at start after a batch that was
// killed in the middle.
#include <QComboBox>
#include <vector>

#include "app/BusyStrip.h"
#include "app/EngineBridge.h"
#include "app/LongWork.h"
#include "app/PreviewDialog.h"
#include "app/Unit1.h"
#include "app/WindowProgress.h"
#include "filelist/ListStatus.h"
#include "renaming/NamePreview.h"
#include "session/FileListSession.h"

namespace folivar {

void TForm1::PreviewNames1Click() {
    guarded([this] {
        const NamingScheme scheme = readNamingScheme();
        const auto kind = static_cast<RenameKind>(chosenValue(RenMovBox, 0));
        WindowProgress shown = progress();
        if (kind != RenameKind::Rename && !chooseMoveTarget()) {
            shown.status(session_->filesInList());
            return;
        }
        shown.status(kPleaseWait);
        std::vector<PreviewRow> rows;
        {
            // Names made of dates taken may have many dates to read first.
            const LongWork::Running running(*work_);
            rows = session_->preview(kind, scheme, shown);
        }
        shown.status(session_->filesInList());
        // One preview at a time: the newest.
        delete findChild<PreviewDialog*>(QString(), Qt::FindDirectChildrenOnly);
        auto* dialog = new PreviewDialog(std::move(rows), RenMovBox->currentText().toUpper(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

void TForm1::undoLastBatch(const InterruptedBatch* interrupted) {
    BusyStrip strip = busyStrip();
    strip.showProgress(true);
    WindowProgress shown = progress();
    shown.status(kPleaseWait);
    const LongWork::Running running(*work_);
    if (interrupted != nullptr) {
        session_->undoInterruptedBatch(*interrupted, shown);
    } else {
        session_->undoLastBatch(shown);
    }
}

void TForm1::UndoRename1Click() {
    guarded([this] { undoLastBatch(); });
}

void TForm1::AskToUndoInterruptedBatch() {
    guarded([this] {
        const JournalCheck check = session_->checkJournal();
        if (!check.unusable.empty()) {
            progress().show(fromEngine(check.unusable));
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
