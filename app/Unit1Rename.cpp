// RENAME, MOVE and REN+MOV over every row of the file list, the move target
// folder, and the prefix check of the naming scheme.
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <algorithm>
#include <string>

#include "app/EngineBridge.h"
#include "app/FileListModel.h"
#include "app/Unit1.h"
#include "renaming/NameComposition.h"
#include "renaming/RenameOperations.h"
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

QString filesInList(std::size_t rows) {
    return QString::number(rows) + QStringLiteral(" files in list");
}

}  // namespace

void TForm1::showStatus(const QString& text) {
    StatusBar->showMessage(text);
    // Long operations keep the event loop from running: paint it now.
    StatusBar->repaint();
}

void TForm1::PrefixEditChange() {
    guarded([this] {
        const std::optional<std::string> text =
            WithoutLastForbiddenCharacter(toEngine(PrefixEdit->text()));
        if (!text) {
            return;
        }
        // A change of its own: another forbidden character goes the same way,
        // with its own warning, before this one.
        PrefixEdit->setText(fromEngine(*text));
        PrefixEdit->selectAll();
        desktop_->warning(QString::fromLatin1(kForbiddenPrefixWarning));
    });
}

void TForm1::PathButton5Click() {
    guarded([this] {
        QString preselected;
        if (folderExists(moveTargetFolder_)) {
            preselected = moveTargetFolder_;
        } else {
            moveTargetFolder_.clear();
        }
        const std::optional<QString> folder =
            desktop_->browseForFolder(QStringLiteral("Put files into..."), preselected);
        if (!folder) {
            return;
        }
        moveTargetFolder_ = *folder;
        showStatus(filesInList(fileTable_.size()) + QStringLiteral("; You selected ") + *folder);
    });
}

NamingScheme TForm1::readNamingScheme() {
    NamingScheme scheme;
    scheme.prefix = toEngine(PrefixEdit->text());
    scheme.structure =
        static_cast<folivar::FileStructure>(std::max(FileStructureBox->currentIndex(), 0));
    scheme.capacity = wholeNumberOf(CapacityEdit, kDefaultCapacity);
    scheme.origin = wholeNumberOf(CountStartEdit, kDefaultOrigin);
    return scheme;
}

bool TForm1::chooseMoveTarget() {
    if (moveTargetFolder_.isEmpty()) {
        const std::optional<QString> folder = desktop_->browseForFolder(
            QStringLiteral("You must choose the folder for moving files"), QString());
        if (!folder) {
            showStatus(filesInList(fileTable_.size()));
            return false;
        }
        moveTargetFolder_ = *folder;
    }
    if (!desktop_->askYesNo(QStringLiteral("Files will move into ") + moveTargetFolder_)) {
        showStatus(filesInList(fileTable_.size()));
        return false;
    }
    return true;
}

void TForm1::runRenameOperation() {
    // The counter's two edits are read (and mended) whatever the operation.
    const NamingScheme scheme = readNamingScheme();

    RenameCallbacks callbacks;
    callbacks.progress.percent = [this](int percent) {
        ProgressBar->setValue(percent);
        ProgressBar->repaint();
    };
    callbacks.progress.status = [this](const std::string& text) { showStatus(fromEngine(text)); };
    callbacks.status = callbacks.progress.status;

    switch (static_cast<RenameKind>(RenMovBox->currentIndex())) {
        case RenameKind::Rename:
            RenameFiles(fileTable_, scheme, callbacks);
            break;
        case RenameKind::Move:
            if (chooseMoveTarget()) {
                MoveFiles(fileTable_, toEngine(moveTargetFolder_), callbacks);
            }
            break;
        case RenameKind::RenameAndMove:
            if (chooseMoveTarget()) {
                RenameAndMoveFiles(fileTable_, scheme, toEngine(moveTargetFolder_), callbacks);
            }
            break;
    }
}

void TForm1::RenameButtonClick() {
    guarded([this] {
        for (QWidget* button : {ScanButton, RenameButton, FindDuplButton}) {
            button->hide();
        }
        ProgressBar->setValue(0);
        ProgressBar->show();
        ProgressBar->repaint();
        showStatus(QStringLiteral("Please wait..."));

        // However the run ends, the rows show what it wrote and the buttons
        // come back: without SCAN the window could not go on.
        const auto finish = [this] {
            listModel_->cellsChanged();
            ProgressBar->hide();
            if (!duplicateMode_) {
                setDuplicateMode(true);
            }
            for (QWidget* button : {ScanButton, RenameButton, FindDuplButton}) {
                button->show();
            }
        };
        try {
            runRenameOperation();
        } catch (...) {
            finish();
            throw;
        }
        finish();
    });
}

}  // namespace folivar
