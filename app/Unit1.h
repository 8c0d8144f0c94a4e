#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "app/Desktop.h"
#include "search/FileSearch.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QActionGroup;
class QSpinBox;

namespace folivar {

class ActionStrip;
class FileListSession;
class FileListView;
class FolderTree;
class ShellPane;
class StatusLine;
class StyledButton;
class StyledLabel;
class TForm2;
struct InterruptedBatch;
struct NamingScheme;
struct OpenRequest;
struct ScanSettings;

// The main window: every setting, the file list panel and the shell panes,
// over a FileListSession that holds the list and runs the commands. Each
// handler is named after the control and event it serves: it reads its
// controls, calls the session and shows what comes back. None lets an
// exception out: what escapes is shown with Desktop::error.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);  // runs FormCreate
    ~TForm1() override;

    void setDesktop(std::unique_ptr<Desktop> desktop);  // the real one is installed by default

    // The About window to show; without one, the window makes its own.
    void setAboutWindow(TForm2* about);

    // FindDuplButton's mode and caption together: true searches ("FIND DUPL"),
    // false deletes the duplicates found ("DEL DUPL"), and LINK DUPL shows.
    bool duplicateMode() const { return duplicateMode_; }
    void setDuplicateMode(bool search);

    // The file list and the commands over it.
    FileListSession& session() { return *session_; }

public slots:
    void FormCreate();
    void FormClose();
    void AboutButtonClick();

    // PATH group
    void PathEditKeyDown(int key, Qt::KeyboardModifiers shift);
    void PathListBoxKeyDown(int key, Qt::KeyboardModifiers shift);
    void PathButton1Click();
    void PathButton2Click();
    void PathButton3Click();
    void PathButton4Click();
    void PathButton5Click();

    // Scan Criteria group
    void ScanEdit1KeyDown(int key, Qt::KeyboardModifiers shift);
    void ScanEdit2KeyDown(int key, Qt::KeyboardModifiers shift);
    void ScanListBox1KeyDown(int key, Qt::KeyboardModifiers shift);
    void ScanListBox2KeyDown(int key, Qt::KeyboardModifiers shift);
    void ScanButton1Click();
    void ScanButton2Click();
    void ScanButton3Click();
    void ScanButton4Click();

    // Filters group
    void DateCheckBoxClick();
    void DateComboBox2Change();
    void DateTimePicker1Change();
    void SizeCheckBoxClick();

    // Folder tree and shell pane
    void ShellTreeViewChange();
    void ShellTreeViewKeyDown(int key, Qt::KeyboardModifiers shift);
    void ShellListViewKeyDown(int key, Qt::KeyboardModifiers shift);
    void CheckViewClick();
    void File1Click();
    void Viewaslist1Click();
    void Viewasreport1Click();
    void Viewassmallicon1Click();

    // File list and the operations over it
    void RenMovBoxChange();
    void ScanButtonClick();
    void ListViewColumnClick(int column);
    void SortByDateTaken1Click();
    void PrefixEditChange();
    void DateFormatEditChange();
    void RenameButtonClick();
    void FindDuplButtonClick();
    void LinkDuplButtonClick();
    void SumButtonClick();
    void ExportButtonClick();

    // The search component's events during a scan, as the session bound
    // them. They run inside ScanButtonClick, whose edge catches what escapes.
    void EasyFileSearch1FileFound(folivar::TFileInformations FileFound);
    bool EasyFileSearch1AcceptFile(folivar::TFileInformations FileFound);
    void EasyFileSearch1ChangeFolder(std::string NewPath);
    void EasyFileSearch1Statistics(folivar::TStatistics Stats);

    // List commands: ListView's keys, double click and context menu
    void ListViewKeyDown(int key, Qt::KeyboardModifiers shift);
    void ListViewDblClick();
    void OpenFiles1Click();
    void OpenFolder1Click();
    void OpenInShell1Click();
    void SelectAll1Click();
    void InvSelection1Click();
    void ShuffleItems1Click();
    void DeleteItems1Click();
    void DeleteFiles1Click();
    void SumUpZizeofFiles1Click();
    void KeepThisCopy1Click();

    // Preview and undo of RENAME, MOVE and REN+MOV: the list's menu and keys,
    // and the question after a batch that was killed in the middle, asked as
    // soon as the event loop runs.
    void PreviewNames1Click();
    void UndoRename1Click();
    void AskToUndoInterruptedBatch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using KeyHandler = void (TForm1::*)(int, Qt::KeyboardModifiers);

    // Runs a handler's body; what escapes it goes to Desktop::error. While a
    // long operation works, a handler reached meanwhile (by a timer or a
    // queued call) does nothing.
    void guarded(const std::function<void()>& body) noexcept;

    void createControls();
    void createPathGroup(QWidget* client);
    void createFileStructureGroup(QWidget* client);
    void createScanCriteriaGroup(QWidget* client);
    void createOthersGroup(QWidget* client);
    void createTreeViewGroup(QWidget* client);
    void createFileListGroup(QWidget* client);
    void createFiltersGroup(QWidget* client);
    void createViewMenu();
    void connectHandlers();
    void connectListCommands();
    void watchKeys(QWidget* control, KeyHandler handler);

    // Procedures of the scan and the operations over the list
    ScanSettings readScanSettings() const;
    NamingScheme readNamingScheme();
    bool confirmMoveTarget();
    bool chooseMoveTarget();
    void setMoveTarget(const QString& folder);
    // The newest batch not undone, or the interrupted one the start asked about.
    void undoLastBatch(const InterruptedBatch* interrupted = nullptr);
    void open(const OpenRequest& request);
    void sumSelectedSizes();

    // Procedures of the scan settings
    void addEditedFolder();
    void addFolderFromTree();
    void moveUp();
    void addFolderFromDialog();
    void applyDateRule();
    void setShellMode(bool on);
    void chooseViewStyle(QAction* item);

    std::unique_ptr<Desktop> desktop_;
    TForm2* about_ = nullptr;
    QHash<QObject*, KeyHandler> keyHandlers_;
    bool duplicateMode_ = true;  // true: FindDuplButton searches ("FIND DUPL")
    std::unique_ptr<FileListSession> session_;

    // PATH
    QGroupBox* PATH = nullptr;
    StyledButton* PathButton3 = nullptr;
    QLineEdit* PathEdit = nullptr;
    StyledButton* PathButton1 = nullptr;
    QListWidget* PathListBox = nullptr;
    StyledButton* PathButton2 = nullptr;
    StyledButton* PathButton4 = nullptr;
    StyledButton* PathButton5 = nullptr;

    // File Structure
    QGroupBox* FileStructure = nullptr;
    QLineEdit* PrefixEdit = nullptr;
    QLineEdit* DateFormatEdit = nullptr;
    QComboBox* FileStructureBox = nullptr;
    QComboBox* RenMovBox = nullptr;
    QSpinBox* CapacityEdit = nullptr;
    QSpinBox* CountStartEdit = nullptr;

    // Scan Criteria
    QGroupBox* ScanCriteria = nullptr;
    QLineEdit* ScanEdit1 = nullptr;
    StyledButton* ScanButton1 = nullptr;
    QListWidget* ScanListBox1 = nullptr;
    StyledButton* ScanButton2 = nullptr;
    QLineEdit* ScanEdit2 = nullptr;
    StyledButton* ScanButton3 = nullptr;
    QListWidget* ScanListBox2 = nullptr;
    StyledButton* ScanButton4 = nullptr;
    QCheckBox* ScanCheckBox1 = nullptr;
    QCheckBox* ScanCheckBox2 = nullptr;
    QCheckBox* ScanCheckBox3 = nullptr;
    QCheckBox* ScanCheckBox4 = nullptr;
    QCheckBox* ScanCheckBox5 = nullptr;
    QCheckBox* ScanCheckBox6 = nullptr;

    // Others
    QGroupBox* Others = nullptr;
    StyledButton* AboutButton = nullptr;
    StyledButton* ExportButton = nullptr;
    StyledButton* SumButton = nullptr;

    // TreeView
    QGroupBox* TreeView = nullptr;
    FolderTree* ShellTreeView = nullptr;

    // File List; ListView holds PopupMenu1 and its items
    QGroupBox* FileList = nullptr;
    // SCAN, RENAME, FIND DUPL, the Shell box and Stop, and the long work
    ActionStrip* strip_ = nullptr;
    FileListView* ListView = nullptr;
    ShellPane* ShellListView = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QActionGroup* ViewStyles = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* MenuItem2 = nullptr;
    QAction* MenuItem3 = nullptr;
    QAction* MenuItem4 = nullptr;

    // Filters
    QGroupBox* Filters = nullptr;
    QCheckBox* DateCheckBox = nullptr;
    StyledLabel* DateLabel1 = nullptr;
    QComboBox* DateComboBox1 = nullptr;
    StyledLabel* DateLabel2 = nullptr;
    QComboBox* DateComboBox2 = nullptr;
    StyledLabel* DateLabel3 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    StyledLabel* DateLabel4 = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QCheckBox* SizeCheckBox = nullptr;
    StyledLabel* SizeLabel1 = nullptr;
    QComboBox* SizeComboBox = nullptr;
    StyledLabel* SizeLabel2 = nullptr;
    QLineEdit* SizeEdit = nullptr;
    QCheckBox* ShortnameCheckBox = nullptr;

    StatusLine* StatusBar = nullptr;
};

}  // namespace folivar
