// SCAN: the scan settings into the search component, one run per PATH entry,
// the rows into the file list, and the search component's four events.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <string>
#include <utility>
#include <vector>

#include "app/EngineBridge.h"
#include "app/FileListModel.h"
#include "app/Unit1.h"
#include "filelist/RateLimiter.h"
#include "filelist/ScanDriver.h"
#include "filelist/ScanSettings.h"
#include "search/DateTime.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

// The event loop does not run during a scan, so the status line is painted by
// hand; a few times a second is enough to see it move.
constexpr std::uint32_t kStatusRepaintMs = 250;

std::vector<std::string> entries(const QListWidget* list) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        texts.push_back(toEngine(list->item(i)->text()));
    }
    return texts;
}

TDateTime dateOf(const QDateEdit* picker) {
    const QDate date = picker->date();
    return EncodeDate(date.year(), date.month(), date.day());
}

// Shows the last status text of a scan on every way out, also when a mask
// error ends it between two repaints.
class FinalStatus {
public:
    explicit FinalStatus(QStatusBar* bar) : bar_(bar) {}
    ~FinalStatus() {
        if (!text_.isNull() && bar_->currentMessage() != text_) {
            bar_->showMessage(text_);
        }
    }
    FinalStatus(const FinalStatus&) = delete;
    FinalStatus& operator=(const FinalStatus&) = delete;

    void set(QString text) { text_ = std::move(text); }

private:
    QStatusBar* bar_;
    QString text_;
};

}  // namespace

void TForm1::bindSearchEvents() {
    // The driver bound the component to itself; the window's handlers stand in
    // between, so the component calls them by the names the window knows.
    driverFileFound_ = std::move(EasyFileSearch1.OnFileFound);
    driverAcceptFile_ = std::move(EasyFileSearch1.OnAcceptFile);
    driverChangeFolder_ = std::move(EasyFileSearch1.OnChangeFolder);
    driverStatistics_ = std::move(EasyFileSearch1.OnStatistics);
    EasyFileSearch1.OnFileFound = [this](TFileInformations file) {
        EasyFileSearch1FileFound(std::move(file));
    };
    EasyFileSearch1.OnAcceptFile = [this](TFileInformations file) {
        return EasyFileSearch1AcceptFile(std::move(file));
    };
    EasyFileSearch1.OnChangeFolder = [this](std::string folder) {
        EasyFileSearch1ChangeFolder(std::move(folder));
    };
    EasyFileSearch1.OnStatistics = [this](TStatistics stats) { EasyFileSearch1Statistics(stats); };
}

void TForm1::EasyFileSearch1FileFound(TFileInformations FileFound) {
    if (driverFileFound_) {
        driverFileFound_(std::move(FileFound));
    }
}

bool TForm1::EasyFileSearch1AcceptFile(TFileInformations FileFound) {
    return !driverAcceptFile_ || driverAcceptFile_(std::move(FileFound));
}

void TForm1::EasyFileSearch1ChangeFolder(std::string NewPath) {
    if (driverChangeFolder_) {
        driverChangeFolder_(std::move(NewPath));
    }
}

void TForm1::EasyFileSearch1Statistics(TStatistics Stats) {
    if (driverStatistics_) {
        driverStatistics_(Stats);
    }
    scanFolderCount_ = scanDriver_->folderCount();
    scanTime_ = scanDriver_->timeSpent();
}

ScanSettings TForm1::readScanSettings() const {
    ScanSettings settings;
    settings.Paths = entries(PathListBox);
    settings.IncludeMasks = entries(ScanListBox1);
    settings.IncludeSubfolders = ScanCheckBox1->isChecked();
    settings.LookForAnyFiles = ScanCheckBox2->isChecked();
    settings.LookForReadOnlyFiles = ScanCheckBox3->isChecked();
    settings.LookForHiddenFiles = ScanCheckBox4->isChecked();
    settings.LookForSystemFiles = ScanCheckBox5->isChecked();
    settings.LookForArchiveFiles = ScanCheckBox6->isChecked();
    settings.FilterOnSize = SizeCheckBox->isChecked();
    settings.SizeKindIndex = SizeComboBox->currentIndex();
    settings.SizeText = toEngine(SizeEdit->text());
    settings.FilterOnDate = DateCheckBox->isChecked();
    settings.DateKindIndex = DateComboBox2->currentIndex();
    settings.FirstDate = dateOf(DateTimePicker1);
    settings.SecondDate = dateOf(DateTimePicker2);
    settings.DateAccessIndex = DateComboBox1->currentIndex();
    settings.ExcludeMasks = entries(ScanListBox2);
    settings.ShortNamesOnly = ShortnameCheckBox->isChecked();
    return settings;
}

void TForm1::ScanButtonClick() {
    guarded([this] {
        const ScanSettings settings = readScanSettings();
        FinalStatus finalStatus(StatusBar);
        RateLimiter repaints(kStatusRepaintMs);

        ScanDriver::Events events;
        events.status = [&](const std::string& text) {
            QString shown = fromEngine(text);
            if (repaints.ready()) {
                StatusBar->showMessage(shown);
                StatusBar->repaint();
            }
            finalStatus.set(std::move(shown));
        };
        events.pathList = [this](const std::vector<std::string>& paths) {
            PathListBox->clear();
            for (const std::string& path : paths) {
                PathListBox->addItem(fromEngine(path));
            }
        };
        events.beginUpdate = [this] { listModel_->beginBulkUpdate(); };
        events.endUpdate = [this] { listModel_->endBulkUpdate(); };

        const ScanDriver::Outcome outcome = scanDriver_->scan(settings, events);
        switch (outcome.result) {
            case ScanDriver::Result::NoPath:
                desktop_->beep();
                PathEdit->setFocus();
                break;
            case ScanDriver::Result::NoMask:
                desktop_->beep();
                ScanEdit1->setFocus();
                break;
            case ScanDriver::Result::Completed:
                if (!duplicateMode_) {
                    setDuplicateMode(true);
                }
                RenameButton->setEnabled(outcome.renameEnabled);
                FindDuplButton->setEnabled(outcome.findDuplEnabled);
                break;
        }
    });
}

}  // namespace folivar
