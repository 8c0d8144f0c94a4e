// The main window's controls: where each one stands, its caption, hint and
// start value. Behaviour is wired up in Unit1.cpp and, for the file list, in
// Unit1ListCommands.cpp.
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QStyle>
#include <array>
#include <initializer_list>
#include <utility>

#include "app/ActionStrip.h"
#include "app/DateTyping.h"
#include "app/DesktopIdentity.h"
#include "app/FileListView.h"
#include "app/FolderTree.h"
#include "app/ShellPane.h"
#include "app/StatusLine.h"
#include "app/Unit1.h"
#include "renaming/NameComposition.h"
#include "renaming/RenameOperations.h"
#include "search/FileSearch.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"
#include "widgets/StyledLabel.h"

namespace folivar {

namespace {

constexpr int kClientWidth = 747;
constexpr int kClientHeight = 564;
constexpr int kStatusBarHeight = 19;

// Creates a control named as the window knows it, at its place in its parent.
template <typename W, typename... Args>
W* place(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

StyledButton* glyphButton(QWidget* parent, const char* name, QRect geometry,
                          QStyle::StandardPixmap glyph, const QString& hint) {
    auto* button = place<StyledButton>(parent, name, geometry);
    button->setIcon(button->style()->standardIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    return button;
}

// The naming scheme's structures; the window has a group of that name.
using Structure = folivar::FileStructure;

// A drop-down list whose entries each carry the engine's value they choose.
struct Choice {
    const char* text;
    int value;
};

QComboBox* dropDownList(QWidget* parent, const char* name, QRect geometry,
                        std::initializer_list<Choice> choices, int chosen) {
    auto* box = place<QComboBox>(parent, name, geometry);
    for (const Choice& choice : choices) {
        box->addItem(QString::fromLatin1(choice.text), choice.value);
    }
    box->setCurrentIndex(box->findData(chosen));
    return box;
}

QListWidget* multiSelectList(QWidget* parent, const char* name, QRect geometry) {
    auto* list = place<QListWidget>(parent, name, geometry);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QDateEdit* datePicker(QWidget* parent, const char* name, QRect geometry) {
    auto* picker = place<QDateEdit>(parent, name, geometry);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateTyping::attach(picker);
    return picker;
}

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

    createPathGroup(client);
    createFileStructureGroup(client);
    createScanCriteriaGroup(client);
    createOthersGroup(client);
    createTreeViewGroup(client);
    createFileListGroup(client);
    createFiltersGroup(client);
    createViewMenu();
}

void TForm1::createPathGroup(QWidget* client) {
    PATH = place<QGroupBox>(client, "PATH", {0, 0, 473, 113}, QStringLiteral("PATH"));
    PathButton3 =
        glyphButton(PATH, "PathButton3", {8, 18, 24, 22}, QStyle::SP_ArrowUp, QStringLiteral("Up"));
    PathEdit = place<QLineEdit>(PATH, "PathEdit", {34, 18, 386, 22});
    PathEdit->setToolTip(QStringLiteral("For example /My pictures"));
    PathButton1 =
        place<StyledButton>(PATH, "PathButton1", {424, 18, 41, 22}, QStringLiteral("Add"));
    PathListBox = multiSelectList(PATH, "PathListBox", {8, 44, 412, 61});
    PathButton2 =
        place<StyledButton>(PATH, "PathButton2", {424, 44, 41, 19}, QStringLiteral("Clear"));
    PathButton4 = glyphButton(PATH, "PathButton4", {424, 65, 41, 19}, QStyle::SP_DirOpenIcon,
                              QStringLiteral("Add folder"));
    PathButton5 = glyphButton(PATH, "PathButton5", {424, 86, 41, 19}, QStyle::SP_DirLinkIcon,
                              QStringLiteral("Put files into"));
}

void TForm1::createFileStructureGroup(QWidget* client) {
    FileStructure = place<QGroupBox>(client, "FileStructure", {0, 112, 473, 49},
                                     QStringLiteral("File Structure"));
    PrefixEdit = place<QLineEdit>(FileStructure, "PrefixEdit", {8, 19, 38, 22});
    PrefixEdit->setText(QStringLiteral("pic"));
    PrefixEdit->setToolTip(QStringLiteral("Prefix (picture, image, track, sound etc.)"));
    DateFormatEdit = place<QLineEdit>(FileStructure, "DateFormatEdit", {50, 19, 55, 22});
    DateFormatEdit->setText(QString::fromLatin1(kDefaultDateFormat));
    DateFormatEdit->setCursorPosition(0);  // narrow: the format's start shows
    DateFormatEdit->setToolTip(
        QStringLiteral("Date taken as yyyy MM dd HH mm ss (a Qt date-time format)"));
    FileStructureBox =
        dropDownList(FileStructure, "FileStructureBox", {109, 19, 165, 22},
                     {{"counter", static_cast<int>(Structure::Counter)},
                      {"counter+prefix", static_cast<int>(Structure::CounterPrefix)},
                      {"prefix+counter", static_cast<int>(Structure::PrefixCounter)},
                      {"counter+oldname", static_cast<int>(Structure::CounterOldName)},
                      {"prefix+oldname", static_cast<int>(Structure::PrefixOldName)},
                      {"counter+prefix+oldname", static_cast<int>(Structure::CounterPrefixOldName)},
                      {"prefix+counter+oldname", static_cast<int>(Structure::PrefixCounterOldName)},
                      {"date+counter", static_cast<int>(Structure::DateCounter)},
                      {"prefix+date+counter", static_cast<int>(Structure::PrefixDateCounter)},
                      {"date+oldname", static_cast<int>(Structure::DateOldName)}},
                     static_cast<int>(Structure::PrefixCounter));
    FileStructureBox->setToolTip(QStringLiteral("Structure of a new file name"));
    RenMovBox = dropDownList(FileStructure, "RenMovBox", {278, 19, 76, 22},
                             {{"rename", static_cast<int>(RenameKind::Rename)},
                              {"move", static_cast<int>(RenameKind::Move)},
                              {"ren+mov", static_cast<int>(RenameKind::RenameAndMove)}},
                             static_cast<int>(RenameKind::Rename));
    RenMovBox->setToolTip(QStringLiteral("Operation"));
    CapacityEdit = place<QSpinBox>(FileStructure, "CapacityEdit", {358, 19, 34, 22});
    CapacityEdit->setRange(1, 6);
    CapacityEdit->setValue(4);
    CapacityEdit->setToolTip(QStringLiteral("Digit capacity"));
    CountStartEdit = place<QSpinBox>(FileStructure, "CountStartEdit", {396, 19, 69, 22});
    CountStartEdit->setRange(1, 999999);
    CountStartEdit->setValue(1);
    CountStartEdit->setToolTip(QStringLiteral("Origin"));
}

void TForm1::createScanCriteriaGroup(QWidget* client) {
    ScanCriteria = place<QGroupBox>(client, "ScanCriteria", {0, 160, 409, 135},
                                    QStringLiteral("Scan  Criteria"));
    place<StyledLabel>(ScanCriteria, "Label1", {8, 16, 106, 14}, QStringLiteral("Include mask"));
    ScanEdit1 = place<QLineEdit>(ScanCriteria, "ScanEdit1", {8, 31, 82, 22});
    ScanEdit1->setToolTip(QStringLiteral("For example *.jpg"));
    ScanButton1 =
        place<StyledButton>(ScanCriteria, "ScanButton1", {92, 31, 22, 22}, QStringLiteral("+"));
    ScanListBox1 = multiSelectList(ScanCriteria, "ScanListBox1", {8, 56, 82, 72});
    ScanListBox1->addItem(QStringLiteral("*.*"));
    ScanButton2 = place<StyledButton>(ScanCriteria, "ScanButton2", {92, 56, 22, 22},
                                      QStringLiteral("\u00d7"));

    place<StyledLabel>(ScanCriteria, "Label2", {122, 16, 106, 14}, QStringLiteral("Exclude mask"));
    ScanEdit2 = place<QLineEdit>(ScanCriteria, "ScanEdit2", {122, 31, 82, 22});
    ScanEdit2->setToolTip(QStringLiteral("For example pic*.jpg"));
    ScanButton3 =
        place<StyledButton>(ScanCriteria, "ScanButton3", {206, 31, 22, 22}, QStringLiteral("+"));
    ScanListBox2 = multiSelectList(ScanCriteria, "ScanListBox2", {122, 56, 82, 72});
    ScanButton4 = place<StyledButton>(ScanCriteria, "ScanButton4", {206, 56, 22, 22},
                                      QStringLiteral("\u00d7"));

    place<StyledLabel>(ScanCriteria, "Label3", {236, 16, 100, 14}, QStringLiteral("Attributes"));
    const std::array<std::pair<const char*, const char*>, 6> attributes{{
        {"ScanCheckBox1", "Include Subfolders"},
        {"ScanCheckBox2", "Look For Any Files"},
        {"ScanCheckBox3", "Look for ReadOnly Files"},
        {"ScanCheckBox4", "Look for Hidden Files"},
        {"ScanCheckBox5", "Look For System Files"},
        {"ScanCheckBox6", "Look For Archive Files"},
    }};
    std::array<QCheckBox*, 6> boxes{};
    for (size_t i = 0; i < attributes.size(); ++i) {
        boxes[i] = place<QCheckBox>(ScanCriteria, attributes[i].first,
                                    {236, 30 + static_cast<int>(i) * 17, 167, 17},
                                    QString::fromLatin1(attributes[i].second));
        boxes[i]->setChecked(true);
    }
    ScanCheckBox1 = boxes[0];
    ScanCheckBox2 = boxes[1];
    ScanCheckBox3 = boxes[2];
    ScanCheckBox4 = boxes[3];
    ScanCheckBox5 = boxes[4];
    ScanCheckBox6 = boxes[5];
}

void TForm1::createOthersGroup(QWidget* client) {
    Others = place<QGroupBox>(client, "Others", {416, 167, 57, 128});
    AboutButton = glyphButton(Others, "AboutButton", {8, 10, 41, 34}, QStyle::SP_MessageBoxQuestion,
                              QStringLiteral("About"));
    ExportButton =
        glyphButton(Others, "ExportButton", {8, 48, 41, 34}, QStyle::SP_FileDialogDetailedView,
                    QStringLiteral("Export file list to Excel"));
    SumButton = place<StyledButton>(Others, "SumButton", {8, 86, 41, 34}, QStringLiteral("SUM"));
    SumButton->setToolTip(QStringLiteral("Sum up size of selected files"));
}

void TForm1::createTreeViewGroup(QWidget* client) {
    TreeView = place<QGroupBox>(client, "TreeView", {480, 0, 265, 295}, QStringLiteral("TreeView"));
    ShellTreeView = place<FolderTree>(TreeView, "ShellTreeView", {8, 18, 249, 269});
}

void TForm1::createFileListGroup(QWidget* client) {
    FileList =
        place<QGroupBox>(client, "FileList", {0, 296, 521, 249}, QStringLiteral("File List"));
    strip_ = new ActionStrip(*StatusBar, FileList);

    ListView = place<FileListView>(FileList, "ListView", {8, 48, 505, 193}, session_->rows());

    ShellListView = place<ShellPane>(FileList, "ShellListView", {8, 48, 505, 193});
    ShellListView->hide();
}

void TForm1::createViewMenu() {
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    ViewStyles = new QActionGroup(PopupMenu2);
    ViewStyles->setExclusive(true);
    const std::array<std::pair<const char*, const char*>, 4> items{{
        {"MenuItem1", "View as icon"},
        {"MenuItem2", "View as list"},
        {"MenuItem3", "View as report"},
        {"MenuItem4", "View as small icon"},
    }};
    std::array<QAction*, 4> actions{};
    for (size_t i = 0; i < items.size(); ++i) {
        actions[i] = PopupMenu2->addAction(QString::fromLatin1(items[i].second));
        actions[i]->setObjectName(QString::fromLatin1(items[i].first));
        actions[i]->setCheckable(true);
        ViewStyles->addAction(actions[i]);
    }
    MenuItem1 = actions[0];
    MenuItem2 = actions[1];
    MenuItem3 = actions[2];
    MenuItem4 = actions[3];
    MenuItem3->setChecked(true);
}

void TForm1::createFiltersGroup(QWidget* client) {
    Filters =
        place<QGroupBox>(client, "Filters", {528, 296, 217, 249}, QStringLiteral(" Filters "));
    DateCheckBox = place<QCheckBox>(Filters, "DateCheckBox", {8, 20, 200, 17},
                                    QStringLiteral("Filter On Date"));
    DateLabel1 = place<StyledLabel>(Filters, "DateLabel1", {8, 45, 92, 14},
                                    QStringLiteral("File Access Kind"));
    DateComboBox1 = dropDownList(Filters, "DateComboBox1", {102, 41, 107, 22},
                                 {{"Any files", dfakAnyFiles},
                                  {"Created files", dfakCreatedFiles},
                                  {"Modified files", dfakModifiedFiles},
                                  {"Opened files", dfakOpenedFiles}},
                                 dfakModifiedFiles);
    DateLabel2 = place<StyledLabel>(Filters, "DateLabel2", {8, 70, 92, 14}, QStringLiteral("Kind"));
    // Not in the order of the search's kinds: each entry carries its own.
    DateComboBox2 = dropDownList(
        Filters, "DateComboBox2", {102, 66, 107, 22},
        {{"Between", dfkBetween}, {"After", dfkAfter}, {"Before", dfkBefore}, {"Same", dfkSame}},
        dfkSame);
    DateLabel3 =
        place<StyledLabel>(Filters, "DateLabel3", {8, 95, 92, 14}, QStringLiteral("Date 1"));
    DateTimePicker1 = datePicker(Filters, "DateTimePicker1", {102, 91, 107, 22});
    DateLabel4 =
        place<StyledLabel>(Filters, "DateLabel4", {8, 120, 92, 14}, QStringLiteral("Date 2"));
    DateTimePicker2 = datePicker(Filters, "DateTimePicker2", {102, 116, 107, 22});

    SizeCheckBox = place<QCheckBox>(Filters, "SizeCheckBox", {8, 148, 200, 17},
                                    QStringLiteral("Filter On Size"));
    SizeLabel1 =
        place<StyledLabel>(Filters, "SizeLabel1", {8, 173, 30, 14}, QStringLiteral("Kind"));
    SizeComboBox = dropDownList(
        Filters, "SizeComboBox", {40, 169, 169, 22},
        {{"Smaller Or Equal To", sfkSmallerOrEqualTo}, {"Bigger Or Equal To", sfkBiggerOrEqualTo}},
        sfkSmallerOrEqualTo);
    SizeLabel2 =
        place<StyledLabel>(Filters, "SizeLabel2", {8, 198, 92, 14}, QStringLiteral("Size (bytes)"));
    SizeEdit = place<QLineEdit>(Filters, "SizeEdit", {102, 194, 107, 22});
    SizeEdit->setText(QStringLiteral("0"));

    ShortnameCheckBox = place<QCheckBox>(Filters, "ShortnameCheckBox", {8, 224, 200, 17},
                                         QStringLiteral("Only include short filename"));

    for (QWidget* control : std::initializer_list<QWidget*>{
             DateLabel1, DateComboBox1, DateLabel2, DateComboBox2, DateLabel3, DateTimePicker1,
             DateLabel4, DateTimePicker2, SizeLabel1, SizeComboBox, SizeLabel2, SizeEdit}) {
        control->setEnabled(false);
    }
}

}  // namespace folivar
