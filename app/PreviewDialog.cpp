#include "app/PreviewDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/PreviewModel.h"

namespace folivar {

namespace {

// The outcome with its reason after it, "Error: a folder of that name is in
// the way", and what goes along: "Moved; makes /P/2023/; with a.xmp as
// 0001.xmp". The model's text stays the bare outcome, as the run writes it.
class OutcomeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString reason = index.data(PreviewModel::ReasonRole).toString();
        if (!reason.isEmpty()) {
            option->text += QStringLiteral(": ") + reason;
        }
        const QString note = index.data(PreviewModel::NoteRole).toString();
        if (!note.isEmpty()) {
            option->text += QStringLiteral("; ") + note;
        }
    }
};

// The size of the last preview shown, for the next one.
QSize& keptSize() {
    static QSize size(900, 500);
    return size;
}

}  // namespace

PreviewDialog::PreviewDialog(std::vector<PreviewRow> rows, const QString& operation,
                             QWidget* parent)
    : QDialog(parent),
      model_(nullptr),
      view_(new QTableView(this)),
      problemsOnly_(
          new QCheckBox(QStringLiteral("Only rows that would clash, fail or may fail"), this)),
      summary_(new QLabel(this)) {
    setObjectName(QStringLiteral("PreviewDialog"));
    setWindowTitle(QStringLiteral("Preview of ") + operation);
    summary_->setText(QString::fromStdString(previewSummary(rows)) +
                      QStringLiteral(". Nothing is changed until the operation runs."));
    summary_->setWordWrap(true);
    model_ = new PreviewModel(std::move(rows), this);

    view_->setObjectName(QStringLiteral("PreviewView"));
    view_->setModel(model_);
    view_->setItemDelegateForColumn(PreviewModel::Status, new OutcomeDelegate(view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideMiddle);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->hide();
    // One height for every row: 200,000 rows are laid out without asking each one.
    view_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view_->horizontalHeader()->setStretchLastSection(true);

    problemsOnly_->setObjectName(QStringLiteral("ProblemsOnlyBox"));
    problemsOnly_->setEnabled(model_->problemCount() > 0);
    connect(problemsOnly_, &QCheckBox::toggled, model_, &PreviewModel::showProblemsOnly);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(problemsOnly_);
    layout->addWidget(view_, 1);
    layout->addWidget(buttons);
    resize(keptSize());
    // The paths as wide as the rows in sight need, each within a share of
    // the dialog that leaves the outcome its room.
    const int most = width() * 2 / 5;
    for (const int column : {PreviewModel::OldPath, PreviewModel::NewPath}) {
        view_->resizeColumnToContents(column);
        view_->setColumnWidth(column, std::min(view_->columnWidth(column), most));
    }
}

PreviewDialog::~PreviewDialog() {
    keptSize() = size();
}

}  // namespace folivar
