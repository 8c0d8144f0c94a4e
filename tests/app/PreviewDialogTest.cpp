#include <QAbstractItemView>
#include <QCheckBox>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include "app/PreviewDialog.h"
#include "app/PreviewModel.h"
#include "renaming/NamePreview.h"

using folivar::PreviewDialog;
using folivar::PreviewModel;
using folivar::PreviewRow;

namespace {

const std::string kDeep =
    "/home/someone/Pictures/Holidays/2023 Summer by the sea with the whole family/day 3/";

// A row renamed in a deep folder, one that clashes, and one moved under a
// name the time of day settles.
std::vector<PreviewRow> rows() {
    return {
        {kDeep + "IMG_0001.JPG", kDeep + "pic0001.JPG", folivar::kRenamed, nullptr},
        {kDeep + "y.jpg", kDeep + "pic0001.JPG", folivar::kAlreadyExists, "a row above takes it"},
        {kDeep + "IMG_0060.JPG", "/target/IMG_0060 (08140512).JPG", folivar::kMoved,
         folivar::kSuffixedAtMove, true},
    };
}

QTableView* viewOf(PreviewDialog& dialog) {
    return dialog.findChild<QTableView*>(QStringLiteral("PreviewView"));
}

}  // namespace

class PreviewDialogTest : public QObject {
    Q_OBJECT

private slots:
    // A path too long for its column keeps its end, the new name, in sight;
    // the columns take what their texts need up to a share of the dialog.
    void theNewNamesStayInSight() {
        PreviewDialog dialog(rows(), QStringLiteral("RENAME"), nullptr);
        dialog.show();
        QTableView* view = viewOf(dialog);
        QVERIFY(view != nullptr);
        QCOMPARE(view->textElideMode(), Qt::ElideMiddle);
        const int width = view->columnWidth(PreviewModel::NewPath);
        QVERIFY(width > view->fontMetrics().horizontalAdvance(QStringLiteral("pic0001.JPG")));
        QVERIFY(width <= dialog.width() * 2 / 5);
        const QString shown = view->fontMetrics().elidedText(
            QString::fromStdString(kDeep + "pic0001.JPG"), Qt::ElideMiddle, width);
        QVERIFY2(shown.endsWith(QStringLiteral("pic0001.JPG")), qPrintable(shown));
    }

    // The filter shows the clashes, also the one a time of day settles.
    void aNameTheTimeOfDaySettlesIsAClash() {
        PreviewDialog dialog(rows(), QStringLiteral("MOVE"), nullptr);
        auto* only = dialog.findChild<QCheckBox*>(QStringLiteral("ProblemsOnlyBox"));
        QVERIFY(only->isEnabled());
        only->setChecked(true);
        const QAbstractItemModel* model = viewOf(dialog)->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1, PreviewModel::Status).data().toString(), QStringLiteral("Moved"));
        QVERIFY(model->index(1, PreviewModel::Status)
                    .data(PreviewModel::ReasonRole)
                    .toString()
                    .contains(QStringLiteral("time of day it moves")));
    }

    void theNextPreviewOpensAtTheSizeTheLastOneHad() {
        {
            PreviewDialog first(rows(), QStringLiteral("RENAME"), nullptr);
            first.show();
            first.resize(640, 333);
        }
        PreviewDialog next(rows(), QStringLiteral("RENAME"), nullptr);
        QCOMPARE(next.size(), QSize(640, 333));
    }
};

QTEST_MAIN(PreviewDialogTest)
#include "PreviewDialogTest.moc"
