// SCAN: the scan settings as the engine takes them, the scan itself, and the
// search component's four events.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <string>
#include <utility>
#include <vector>

#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/Unit1.h"
#include "search/DateTime.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

std::vector<std::string> entries(const QListWidget* list) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        texts.push_back(toEngine(list->item(i)->text()));
    }
    return texts;
}

void setEntries(QListWidget* list, const std::vector<std::string>& texts) {
    list->clear();
    for (const std::string& text : texts) {
        list->addItem(fromEngine(text));
    }
}

TDateTime dateOf(const QDateEdit* picker) {
    const QDate date = picker->date();
    return EncodeDate(date.year(), date.month(), date.day());
}

}  // namespace

// The component's events, as the session bound them to its scan.
void TForm1::EasyFileSearch1FileFound(TFileInformations FileFound) {
    session_->search().OnFileFound(std::move(FileFound));
}

bool TForm1::EasyFileSearch1AcceptFile(TFileInformations FileFound) {
    return session_->search().OnAcceptFile(std::move(FileFound));
}

void TForm1::EasyFileSearch1ChangeFolder(std::string NewPath) {
    session_->search().OnChangeFolder(std::move(NewPath));
}

void TForm1::EasyFileSearch1Statistics(TStatistics Stats) {
    session_->search().OnStatistics(Stats);
}

ScanSettings TForm1::readScanSettings() const {
    ScanSettings settings;
    settings.folders = entries(PathListBox);
    settings.includeMasks = entries(ScanListBox1);
    settings.excludeMasks = entries(ScanListBox2);
    settings.options = {};
    const std::pair<const QCheckBox*, TOptionsKind> attributes[] = {
        {ScanCheckBox1, okIncludeSubfolder},    {ScanCheckBox2, okLookForAnyFile},
        {ScanCheckBox3, okLookForReadOnlyFile}, {ScanCheckBox4, okLookForHiddenFile},
        {ScanCheckBox5, okLookForSystemFile},   {ScanCheckBox6, okLookForArchiveFile},
    };
    for (const auto& [box, option] : attributes) {
        if (box->isChecked()) {
            settings.options.insert(option);
        }
    }
    settings.filterOnDate = DateCheckBox->isChecked();
    settings.dateAccess =
        static_cast<TDateFilterAccessKind>(chosenValue(DateComboBox1, settings.dateAccess));
    settings.dateKind = static_cast<TDateFilterKind>(chosenValue(DateComboBox2, settings.dateKind));
    settings.firstDate = dateOf(DateTimePicker1);
    settings.secondDate = dateOf(DateTimePicker2);
    settings.filterOnSize = SizeCheckBox->isChecked();
    settings.sizeKind = static_cast<TSizeFilterKind>(chosenValue(SizeComboBox, settings.sizeKind));
    settings.sizeText = toEngine(SizeEdit->text());
    settings.shortNamesOnly = ShortnameCheckBox->isChecked();
    return settings;
}

void TForm1::ScanButtonClick() {
    guarded([this] {
        ScanOutcome outcome;
        {
            LongOperation work = strip_->begin(LongOperation::Strip::Kept, strip_->scanButton());
            outcome = session_->scan(readScanSettings(), work);
        }
        if (outcome.folders) {
            setEntries(PathListBox, *outcome.folders);
        }
        switch (outcome.result) {
            case ScanOutcome::Result::NoPath:
                desktop_->beep();
                PathEdit->setFocus();
                break;
            case ScanOutcome::Result::NoMask:
                desktop_->beep();
                ScanEdit1->setFocus();
                break;
            case ScanOutcome::Result::Stopped:
                desktop_->error(QString::fromStdString(outcome.error));
                break;
            case ScanOutcome::Result::Completed:
                setDuplicateMode(true);
                strip_->apply(outcome.buttons);
                break;
        }
    });
}

}  // namespace folivar
