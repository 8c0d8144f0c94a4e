// The main window's life: its making and closing, the About window, the edge
// every handler runs inside, the keys of the controls, and where what the
// handlers show goes.
#include "app/Unit1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <exception>
#include <utility>

#include "app/ActionStrip.h"
#include "app/DesktopSpreadsheet.h"
#include "app/EngineBridge.h"
#include "app/FileListModel.h"
#include "app/FileListView.h"
#include "app/FolderTree.h"
#include "app/NamingPanel.h"
#include "app/QtDesktop.h"
#include "app/ScanSettingsPanel.h"
#include "app/ShellPane.h"
#include "app/StatusLine.h"
#include "app/Unit2.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      desktop_(std::make_unique<QtDesktop>(this)),
      session_(std::make_unique<FileListSession>(
          desktopSpreadsheet([this]() -> Desktop& { return *desktop_; },
                             // After the export's own texts, as a file opened from the list.
                             [this](const QString& failure) { StatusBar->writeLater(failure); }))) {
    createControls();
    strip_->setCloseQuestion([this] {
        return desktop_->askYesNo(
            QStringLiteral("Work is in progress. Stop it and close the window?"));
    });
    session_->setObserver(&ListView->listModel());
    connectHandlers();
    connectListCommands();
    if (const QScreen* screen = this->screen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    FormCreate();
    // Asked through the desktop installed by then, once the event loop runs.
    QTimer::singleShot(0, this, &TForm1::AskToUndoInterruptedBatch);
}

TForm1::~TForm1() {
    // The list goes while the rows it shows are still there.
    session_->setObserver(nullptr);
    delete ListView;
}

void TForm1::setDesktop(std::unique_ptr<Desktop> desktop) {
    desktop_ = std::move(desktop);
}

void TForm1::setAboutWindow(TForm2* about) {
    about_ = about;
}

void TForm1::setDuplicateMode(bool search) {
    strip_->setFindDuplCaption(search ? QStringLiteral("FIND DUPL") : QStringLiteral("DEL DUPL"));
    strip_->setLinkDuplShown(!search);
    duplicateMode_ = search;
}

void TForm1::guarded(const std::function<void()>& body) noexcept {
    if (strip_->busy()) {
        return;
    }
    QString message;
    try {
        body();
        return;
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("An unknown error occurred");
    }
    try {
        desktop_->error(message);
    } catch (...) {
        // The error box itself failed: nothing is left to show it with.
    }
}

void TForm1::watchKeys(QWidget* control, KeyHandler handler) {
    keyHandlers_.insert(control, handler);
    control->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto found = keyHandlers_.constFind(watched);
        if (found != keyHandlers_.constEnd()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            (this->*found.value())(key->key(), key->modifiers());
        }
    }
    return QMainWindow::eventFilter(watched, event);  // the control still gets its key
}

void TForm1::connectHandlers() {
    using Masks = ScanSettingsPanel::Masks;
    watchKeys(scan_->folderEdit(), &TForm1::PathEditKeyDown);
    watchKeys(scan_->folderList(), &TForm1::PathListBoxKeyDown);
    watchKeys(ShellTreeView, &TForm1::ShellTreeViewKeyDown);
    watchKeys(scan_->maskEdit(Masks::Include), &TForm1::ScanEdit1KeyDown);
    watchKeys(scan_->maskEdit(Masks::Exclude), &TForm1::ScanEdit2KeyDown);
    watchKeys(scan_->maskList(Masks::Include), &TForm1::ScanListBox1KeyDown);
    watchKeys(scan_->maskList(Masks::Exclude), &TForm1::ScanListBox2KeyDown);
    watchKeys(ShellListView->listView(), &TForm1::ShellListViewKeyDown);
    watchKeys(ShellListView->reportView(), &TForm1::ShellListViewKeyDown);

    const std::pair<QPushButton*, void (TForm1::*)()> clicks[] = {
        {scan_->addFolderButton(), &TForm1::PathButton1Click},
        {scan_->clearFoldersButton(), &TForm1::PathButton2Click},
        {scan_->upButton(), &TForm1::PathButton3Click},
        {scan_->pickFolderButton(), &TForm1::PathButton4Click},
        {scan_->moveTargetButton(), &TForm1::PathButton5Click},
        {scan_->addMaskButton(Masks::Include), &TForm1::ScanButton1Click},
        {scan_->clearMasksButton(Masks::Include), &TForm1::ScanButton2Click},
        {scan_->addMaskButton(Masks::Exclude), &TForm1::ScanButton3Click},
        {scan_->clearMasksButton(Masks::Exclude), &TForm1::ScanButton4Click},
        {AboutButton, &TForm1::AboutButtonClick},
        {strip_->scanButton(), &TForm1::ScanButtonClick},
        {strip_->renameButton(), &TForm1::RenameButtonClick},
        {strip_->findDuplButton(), &TForm1::FindDuplButtonClick},
        {strip_->linkDuplButton(), &TForm1::LinkDuplButtonClick},
        {SumButton, &TForm1::SumButtonClick},
        {ExportButton, &TForm1::ExportButtonClick},
    };
    for (const auto& [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this, handler);
    }

    connect(scan_->dateBox(), &QCheckBox::toggled, this, &TForm1::DateCheckBoxClick);
    connect(scan_->dateKindBox(), &QComboBox::currentIndexChanged, this,
            &TForm1::DateComboBox2Change);
    connect(scan_->firstDate(), &QDateEdit::dateChanged, this, &TForm1::DateTimePicker1Change);
    connect(scan_->sizeBox(), &QCheckBox::toggled, this, &TForm1::SizeCheckBoxClick);

    connect(ShellTreeView, &FolderTree::changed, this, &TForm1::ShellTreeViewChange);
    connect(strip_->shellBox(), &QCheckBox::toggled, this, &TForm1::CheckViewClick);
    connect(ShellListView, &ShellPane::contextMenuRequested, PopupMenu2,
            [this](const QPoint& at) { PopupMenu2->popup(at); });
    connect(ShellListView, &ShellPane::renameRefused, StatusBar, &StatusLine::write);
    connect(MenuItem1, &QAction::triggered, this, &TForm1::File1Click);
    connect(MenuItem2, &QAction::triggered, this, &TForm1::Viewaslist1Click);
    connect(MenuItem3, &QAction::triggered, this, &TForm1::Viewasreport1Click);
    connect(MenuItem4, &QAction::triggered, this, &TForm1::Viewassmallicon1Click);

    connect(naming_->operationBox(), &QComboBox::currentIndexChanged, this,
            &TForm1::RenMovBoxChange);
    connect(naming_->prefixEdit(), &QLineEdit::textChanged, this, &TForm1::PrefixEditChange);
    connect(naming_->dateFormatEdit(), &QLineEdit::textChanged, this,
            &TForm1::DateFormatEditChange);
}

void TForm1::FormCreate() {
    guarded([this] {
        scan_->setEditedFolder(QStringLiteral("/"));
        if (folderExists(scan_->editedFolder())) {
            ShellTreeView->setPath(scan_->editedFolder());
        } else {
            scan_->setEditedFolder({});
        }
        setMoveTarget({});
        scan_->startDates(todayDate());
        // The session starts with no sorted column.
        duplicateMode_ = true;
    });
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Asked while an operation works, the window stays; the user is asked at
    // the work's next step whether to stop it and close.
    if (strip_->busy()) {
        strip_->requestClose();
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    guarded([this] { session_->close(); });
}

void TForm1::AboutButtonClick() {
    guarded([this] {
        if (about_ == nullptr) {
            about_ = new TForm2(this);
        }
        about_->exec();
    });
}

}  // namespace folivar
