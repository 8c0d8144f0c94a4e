#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "app/Desktop.h"
#include "search/FileSearch.h"

class QAction;
class QMenu;

namespace folivar {

class ActionStrip;
class FileListSession;
class FileListView;
class FolderTree;
class NamingPanel;
class PreviewDialog;
class ScanSettingsPanel;
class ShellPane;
class StatusLine;
class StyledButton;
class TForm2;
struct InterruptedBatch;
struct OpenRequest;

// The main window: its panels (the scan settings, the naming scheme, the
// file list, the action strip) and the shell panes, over a FileListSession
// that holds the list and runs the commands. Each handler is named after the
// control and event it serves: it asks its panel for the settings, calls the
// session and shows what comes back. None lets an exception out: what
// escapes is shown with Desktop::error.
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
    void createOthersGroup(QWidget* client);
    void createViewMenu();
    void connectHandlers();
    void connectListCommands();
    void watchKeys(QWidget* control, KeyHandler handler);

    bool chooseMoveTarget();
    void setMoveTarget(const QString& folder);
    // The newest batch not undone, or the interrupted one the start asked about.
    void undoLastBatch(const InterruptedBatch* interrupted = nullptr);
    void open(const OpenRequest& request);
    void sumSelectedSizes();
    void setShellMode(bool on);
    void chooseViewStyle(QAction* item);

    std::unique_ptr<Desktop> desktop_;
    TForm2* about_ = nullptr;
    QHash<QObject*, KeyHandler> keyHandlers_;
    bool duplicateMode_ = true;  // true: FindDuplButton searches ("FIND DUPL")
    std::unique_ptr<FileListSession> session_;

    ScanSettingsPanel* scan_ = nullptr;  // PATH, Scan Criteria, Filters
    NamingPanel* naming_ = nullptr;      // File Structure
    StyledButton* AboutButton = nullptr;
    StyledButton* ExportButton = nullptr;
    StyledButton* SumButton = nullptr;
    FolderTree* ShellTreeView = nullptr;
    // SCAN, RENAME, FIND DUPL, the Shell box and Stop, and the long work
    ActionStrip* strip_ = nullptr;
    FileListView* ListView = nullptr;  // holds PopupMenu1 and its items
    ShellPane* ShellListView = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* MenuItem1 = nullptr;
    QAction* MenuItem2 = nullptr;
    QAction* MenuItem3 = nullptr;
    QAction* MenuItem4 = nullptr;
    StatusLine* StatusBar = nullptr;
    QPointer<PreviewDialog> preview_;  // one at a time: the newest
};

}  // namespace folivar
