#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include "WindowFixture.h"
#include "app/FileListView.h"

using folivar::test::WindowFixture;

// The window tests' own footing: a control that is not there fails only the
// test that asks for it, and the test runs on without crashing.
class WindowFixtureTest : public QObject {
    Q_OBJECT

private slots:
    void aControlIsFoundByItsName() {
        WindowFixture w;
        QCOMPARE(w.control<QPushButton>("ScanButton")->text(), QStringLiteral("SCAN"));
        QCOMPARE(w.control<QAction>("OpenFiles1")->objectName(), QStringLiteral("OpenFiles1"));
        QCOMPARE(w.listView(), w.control<QTableView>("ListView"));
    }

    void aMissingControlFailsItsTestAndHandsBackAStandIn() {
        WindowFixture w;
        QEXPECT_FAIL("", "there is no such control", Continue);
        QPushButton* button = w.control<QPushButton>("NoSuchButton");
        QVERIFY(button != nullptr);
        QVERIFY(button->window() != &w.form());

        // Of the kind asked for, and not the control of another kind that bears the name.
        QEXPECT_FAIL("", "ScanButton is no status bar", Continue);
        QVERIFY(w.control<QStatusBar>("ScanButton")->currentMessage().isEmpty());

        // A list stand-in has rows to count: none.
        QEXPECT_FAIL("", "there is no such list", Continue);
        QCOMPARE(w.control<QTableView>("NoSuchList")->model()->rowCount(), 0);
        QEXPECT_FAIL("", "there is no such panel", Continue);
        QCOMPARE(w.control<folivar::FileListView>("NoSuchPanel")->selectedRows().size(), 0u);
    }
};

QTEST_MAIN(WindowFixtureTest)
#include "WindowFixtureTest.moc"
