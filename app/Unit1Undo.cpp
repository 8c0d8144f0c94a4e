// The preview of RENAME, MOVE and REN+MOV, and the undo of the last batch:
// from ListView's menu and keys, and once at start after a batch that was
// killed in the middle.
#include <QComboBox>
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
        std::vector<PreviewRow> rows = session_->preview(kind, scheme);
        StatusBar->status(session_->filesInList());
        // One preview at a time: the newest.
        delete findChild<PreviewDialog*>(QString(), Qt::FindDirectChildrenOnly);
        auto* dialog = new PreviewDialog(std::move(rows), RenMovBox->currentText().toUpper(), this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

void TForm1::undoLastBatch() {
    LongOperation work = strip_->begin(LongOperation::Strip::Bar, nullptr);
    session_->undoLastBatch(work);
}

void TForm1::UndoRename1Click() {
    guarded([this] { undoLastBatch(); });
}

void TForm1::AskToUndoInterruptedBatch() {
    guarded([this] {
        if (!session_->hasInterruptedBatch()) {
            return;
        }
        if (desktop_->askYesNo(
                QStringLiteral("The last rename or move was interrupted before it ended. "
                               "Move the files it moved back to their old names?"))) {
            undoLastBatch();
        } else {
            session_->keepInterruptedBatch();
        }
    });
}

}  // namespace folivar
