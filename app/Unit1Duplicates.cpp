// FIND DUPL and DEL DUPL: one button, two operations in turn over the file list.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <optional>
#include <string>

#include "app/EngineBridge.h"
#include "app/FileListModel.h"
#include "app/Unit1.h"
#include "duplicates/DuplicateFinder.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

// nullopt: the operation leaves the button as it was.
void applyEnabled(QWidget* button, std::optional<bool> enabled) {
    if (enabled) {
        button->setEnabled(*enabled);
    }
}

}  // namespace

void TForm1::DuplicateFinderDeleter::operator()(DuplicateFinder* finder) const noexcept {
    delete finder;
}

DuplicateFinder& TForm1::duplicateFinder() {
    if (!duplicateFinder_) {
        duplicateFinder_.reset(new DuplicateFinder());
    }
    return *duplicateFinder_;
}

void TForm1::runDuplicateSearch() {
    ProgressBar->setValue(0);
    ProgressBar->show();
    ProgressBar->repaint();
    DuplicateFinder::Callbacks callbacks;
    // The event loop does not run meanwhile: each new figure is painted by hand.
    callbacks.progress = [this](int percent) {
        ProgressBar->setValue(percent);
        ProgressBar->repaint();
    };
    callbacks.status = [this](const std::string& text) { showStatus(fromEngine(text)); };
    const DuplicateFinder::SearchOutcome outcome = duplicateFinder().search(fileTable_, callbacks);
    ProgressBar->hide();
    applyEnabled(RenameButton, outcome.renameEnabled);
    applyEnabled(FindDuplButton, outcome.findDuplEnabled);
    if (outcome.deleteMode) {
        setDuplicateMode(false);
    }
}

void TForm1::runDuplicateDeletion() {
    Banner->show();
    Banner->repaint();
    DuplicateFinder::Callbacks callbacks;
    callbacks.status = [this](const std::string& text) { showStatus(fromEngine(text)); };
    const DuplicateFinder::DeleteOutcome outcome =
        duplicateFinder().deleteDuplicates(fileTable_, callbacks);
    Banner->hide();
    applyEnabled(RenameButton, outcome.renameEnabled);
    applyEnabled(FindDuplButton, outcome.findDuplEnabled);
}

void TForm1::FindDuplButtonClick() {
    guarded([this] {
        for (QWidget* button : {ScanButton, RenameButton, FindDuplButton}) {
            button->hide();
        }
        showStatus(QStringLiteral("Please wait..."));
        listModel_->beginBulkUpdate();

        // However the operation ends, the list is drawn again and the buttons
        // come back: without SCAN the window could not go on.
        const auto finish = [this] {
            ProgressBar->hide();
            Banner->hide();
            listModel_->endBulkUpdate();
            for (QWidget* button : {ScanButton, RenameButton, FindDuplButton}) {
                button->show();
            }
        };
        try {
            if (duplicateMode_) {
                runDuplicateSearch();
            } else {
                runDuplicateDeletion();
            }
        } catch (...) {
            finish();
            throw;
        }
        finish();
    });
}

}  // namespace folivar
