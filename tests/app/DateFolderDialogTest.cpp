// The move target's picker takes a chosen folder, and a typed date pattern
// under an existing folder, whose folders are not there yet.
#include <QTest>

#include "app/DateFolderDialog.h"
#include "support/TempTree.h"

using folivar::DateFolderDialog;

class DateFolderDialogTest : public QObject {
    Q_OBJECT

private slots:
    void takesAFolderOrADatePatternUnderOne() {
        folivar::test::TempTree tree;
        const QString folder = QString::fromStdString(tree.path());
        tree.dir("sub");
        const struct {
            QString typed;
            QString chosen;
        } cases[] = {
            {QStringLiteral("sub"), folder + QStringLiteral("/sub")},
            {QStringLiteral("{yyyy}/{MM}"), folder + QStringLiteral("/{yyyy}/{MM}")},
            {QStringLiteral("sub/trip {yyyy-MM}"), folder + QStringLiteral("/sub/trip {yyyy-MM}")},
        };
        for (const auto& c : cases) {
            DateFolderDialog dialog(nullptr, QStringLiteral("Put files into..."), folder);
            dialog.selectFile(c.typed);
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.chosen(), c.chosen);
        }
    }

    // Opened again on a pattern, it shows the folder the dates go under and
    // gives the same pattern back.
    void reopensOnTheFolderTheDatesGoUnder() {
        folivar::test::TempTree tree;
        const QString pattern = QString::fromStdString(tree.path()) + QStringLiteral("/{yyyy}");
        DateFolderDialog dialog(nullptr, QStringLiteral("Put files into..."), pattern);
        QCOMPARE(dialog.directory().absolutePath(), QString::fromStdString(tree.path()));
        dialog.accept();
        QCOMPARE(dialog.chosen(), pattern);
        QVERIFY(!DateFolderDialog::isDatePattern(QStringLiteral("/no/such/folder/{yyyy}")));
    }
};

QTEST_MAIN(DateFolderDialogTest)
#include "DateFolderDialogTest.moc"
