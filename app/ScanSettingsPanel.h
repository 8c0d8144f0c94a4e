#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "filelist/ScanSettings.h"

class QCheckBox;
class QComboBox;
class QDate;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace folivar {

class FolderTree;
class StyledButton;
class StyledLabel;

// The groups that say what SCAN lists: PATH (the folders, and the move
// target's button), Scan Criteria (the masks and attributes) and Filters.
// It owns their controls and gives the settings as the engine takes them;
// the window wires the controls' events to its handlers.
class ScanSettingsPanel : public QObject {
    Q_OBJECT

public:
    enum class Masks { Include, Exclude };

    explicit ScanSettingsPanel(QObject* parent = nullptr);

    // Each group at its place in the window; in this order, with other groups
    // in between, as the keyboard goes through them.
    void placePath(QWidget* client);
    void placeCriteria(QWidget* client);
    void placeFilters(QWidget* client);

    // Both dates today, and no later day to choose.
    void startDates(const QDate& today);

    ScanSettings settings() const;
    // The PATH list as the scan pruned it.
    void showFolders(const std::vector<std::string>& folders);

    // The folder being typed or picked in the tree.
    QString editedFolder() const;
    void setEditedFolder(const QString& folder);
    // The edited folder goes into the PATH list, when it exists; shown in
    // the tree first, when taken from the edit.
    void addEditedFolder(FolderTree& tree);
    void addFolderFromTree();
    // The edited folder's parent, in the edit and the tree.
    void moveUp(FolderTree& tree);
    // A folder picked in the dialog, ready to add.
    void showPickedFolder(const QString& folder, FolderTree& tree);
    void clearFolders();
    void deleteSelectedFolders();

    void addMask(Masks which);
    void clearMasks(Masks which);
    void deleteSelectedMasks(Masks which);

    // The filter controls usable as their boxes are ticked; the second date
    // no earlier than the first.
    void applyDateRule();
    void followFirstDate();
    void applySizeRule();

    // Where the user goes on after SCAN refused.
    void focusFolders();
    void focusMasks();

    // The hint of the move target's button names the folder chosen.
    void showMoveTarget(const QString& folder);

    // The controls whose events the window handles.
    QLineEdit* folderEdit() const { return PathEdit; }
    QListWidget* folderList() const { return PathListBox; }
    QLineEdit* maskEdit(Masks which) const;
    QListWidget* maskList(Masks which) const;
    QPushButton* addFolderButton() const;
    QPushButton* clearFoldersButton() const;
    QPushButton* upButton() const;
    QPushButton* pickFolderButton() const;
    QPushButton* moveTargetButton() const;
    QPushButton* addMaskButton(Masks which) const;
    QPushButton* clearMasksButton(Masks which) const;
    QCheckBox* dateBox() const { return DateCheckBox; }
    QComboBox* dateKindBox() const { return DateComboBox2; }
    QDateEdit* firstDate() const { return DateTimePicker1; }
    QCheckBox* sizeBox() const { return SizeCheckBox; }

private:
    // PATH
    QLineEdit* PathEdit = nullptr;
    QListWidget* PathListBox = nullptr;
    StyledButton* PathButton1 = nullptr;
    StyledButton* PathButton2 = nullptr;
    StyledButton* PathButton3 = nullptr;
    StyledButton* PathButton4 = nullptr;
    StyledButton* PathButton5 = nullptr;

    // Scan Criteria
    QLineEdit* ScanEdit1 = nullptr;
    StyledButton* ScanButton1 = nullptr;
    QListWidget* ScanListBox1 = nullptr;
    StyledButton* ScanButton2 = nullptr;
    QLineEdit* ScanEdit2 = nullptr;
    StyledButton* ScanButton3 = nullptr;
    QListWidget* ScanListBox2 = nullptr;
    StyledButton* ScanButton4 = nullptr;
    std::vector<std::pair<QCheckBox*, TOptionsKind>> attributes_;

    // Filters
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
};

}  // namespace folivar
