#pragma once

#include <QDialog>
#include <vector>

#include "renaming/NamePreview.h"

class QCheckBox;
class QLabel;
class QTableView;

namespace folivar {

class PreviewModel;

// What the operation would do to every row, before it touches a file: the
// old and new full path and the outcome of each row in list order (PreviewView),
// a count of the outcomes, and a switch to show only the rows that would
// clash, fail or may fail (ProblemsOnlyBox). Why stands beside its outcome.
// Paths too long for their column lose their middle, never the names; the
// dialog opens at the size the last one had.
class PreviewDialog : public QDialog {
    Q_OBJECT

public:
    // operation: the RENAME button's caption, for the title.
    PreviewDialog(std::vector<PreviewRow> rows, const QString& operation, QWidget* parent);
    // Its size is kept for the next preview.
    ~PreviewDialog() override;

    PreviewModel& previewModel() const { return *model_; }

private:
    PreviewModel* model_;
    QTableView* view_;
    QCheckBox* problemsOnly_;
    QLabel* summary_;
};

}  // namespace folivar
