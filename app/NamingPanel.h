#pragma once

#include <QObject>
#include <QString>

#include "renaming/NameComposition.h"
#include "renaming/RenameOperations.h"

class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace folivar {

// The File Structure group: how RENAME names each file (the naming scheme)
// and which of RENAME, MOVE and REN+MOV runs. It owns its controls; the
// window wires their events to its handlers.
class NamingPanel : public QObject {
    Q_OBJECT

public:
    explicit NamingPanel(QObject* parent = nullptr);

    void place(QWidget* client);

    // The scheme as typed; the counter's two edits are mended on the way (a
    // text that is no whole number goes back to its default).
    NamingScheme scheme();
    RenameKind operation() const;
    // The operation as the RENAME button reads: "RENAME", "MOVE", "REN+MOV".
    QString operationCaption() const;

    // The prefix, or the date format, without the forbidden character just
    // typed; true when one went, for the window to warn.
    bool dropForbiddenFromPrefix();
    bool dropForbiddenFromDateFormat();

    // The controls whose events the window handles.
    QLineEdit* prefixEdit() const { return PrefixEdit; }
    QLineEdit* dateFormatEdit() const { return DateFormatEdit; }
    QComboBox* operationBox() const { return RenMovBox; }

private:
    QLineEdit* PrefixEdit = nullptr;
    QLineEdit* DateFormatEdit = nullptr;
    QComboBox* FileStructureBox = nullptr;
    QComboBox* RenMovBox = nullptr;
    QSpinBox* CapacityEdit = nullptr;
    QSpinBox* CountStartEdit = nullptr;
};

}  // namespace folivar
