// The main window's controls: where each group stands, and the controls the
// window keeps itself, with their captions, hints and start values. The scan
// settings and the naming scheme place their own groups; behaviour is wired
// up in Unit1.cpp and, for the file list, in Unit1ListCommands.cpp.
#include <QAction>
#include <QActionGroup>
#include <QGroupBox>
#include <QMenu>
#include <QStyle>
#include <array>
#include <utility>

#include "app/ActionStrip.h"
#include "app/ControlPlacing.h"
#include "app/DesktopIdentity.h"
#include "app/FileListView.h"
#include "app/FolderTree.h"
#include "app/NamingPanel.h"
#include "app/ScanSettingsPanel.h"
#include "app/ShellPane.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

constexpr int kClientWidth = 747;
constexpr int kClientHeight = 564;
constexpr int kStatusBarHeight = 19;

}  // namespace

void TForm1::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Mirosel Folivar v3.0"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    // A small face so every caption fits its control; group captions sit on the
    // frame line, so the controls keep the places they are given.
    setStyleSheet(QStringLiteral(
        "QWidget { font-size: 8pt; }"
        "QGroupBox { border: 1px solid #b4b4b4; border-radius: 3px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 7px; padding: 0px 2px; }"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
    setCentralWidget(client);

    // First: the strip writes it.
    StatusBar = new StatusLine(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setFixedHeight(kStatusBarHeight);
    setStatusBar(StatusBar);

    // In the order the keyboard goes through them.
    scan_ = new ScanSettingsPanel(this);
    naming_ = new NamingPanel(this);
    scan_->placePath(client);
    naming_->place(client);
    scan_->placeCriteria(client);
    createOthersGroup(client);

    auto* tree =
        place<QGroupBox>(client, "TreeView", {480, 0, 265, 295}, QStringLiteral("TreeView"));
    ShellTreeView = place<FolderTree>(tree, "ShellTreeView", {8, 18, 249, 269});

    auto* fileList =
        place<QGroupBox>(client, "FileList", {0, 296, 521, 249}, QStringLiteral("File List"));
    strip_ = new ActionStrip(*StatusBar, fileList);
    ListView = place<FileListView>(fileList, "ListView", {8, 48, 505, 193}, session_->rows());
    ShellListView = place<ShellPane>(fileList, "ShellListView", {8, 48, 505, 193});
    ShellListView->hide();

    scan_->placeFilters(client);
    createViewMenu();
}

void TForm1::createOthersGroup(QWidget* client) {
    auto* others = place<QGroupBox>(client, "Others", {416, 167, 57, 128});
    AboutButton = glyphButton(others, "AboutButton", {8, 10, 41, 34}, QStyle::SP_MessageBoxQuestion,
                              QStringLiteral("About"));
    ExportButton =
        glyphButton(others, "ExportButton", {8, 48, 41, 34}, QStyle::SP_FileDialogDetailedView,
                    QStringLiteral("Export file list to Excel"));
    SumButton = place<StyledButton>(others, "SumButton", {8, 86, 41, 34}, QStringLiteral("SUM"));
    SumButton->setToolTip(QStringLiteral("Sum up size of selected files"));
}

void TForm1::createViewMenu() {
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    auto* styles = new QActionGroup(PopupMenu2);
    styles->setExclusive(true);
    const std::array<std::pair<const char*, const char*>, 4> items{{
        {"MenuItem1", "View as icon"},
        {"MenuItem2", "View as list"},
        {"MenuItem3", "View as report"},
        {"MenuItem4", "View as small icon"},
    }};
    std::array<QAction*, 4> actions{};
    for (std::size_t i = 0; i < items.size(); ++i) {
        actions[i] = PopupMenu2->addAction(QString::fromLatin1(items[i].second));
        actions[i]->setObjectName(QString::fromLatin1(items[i].first));
        actions[i]->setCheckable(true);
        styles->addAction(actions[i]);
    }
    MenuItem1 = actions[0];
    MenuItem2 = actions[1];
    MenuItem3 = actions[2];
    MenuItem4 = actions[3];
    MenuItem3->setChecked(true);
}

}  // namespace folivar
