#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

// The program started as a terminal user would, without a graphical session:
// no QT_QPA_PLATFORM, no DISPLAY, no WAYLAND_DISPLAY.
class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void answersWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");  // the start of what it prints
        QTest::addColumn<QString>("err");
        const QString version = QStringLiteral("Mirosel Folivar " FOLIVAR_VERSION "\n");
        const QString usage = QStringLiteral("Usage: folivar");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("-v after a Qt option")
            << QStringList{"-style", "fusion", "-v"} << 0 << version << QString();
        QTest::newRow("no display") << QStringList{} << 1 << QString()
                                    << QStringLiteral("folivar: no graphical session was found");
    }

    void answersWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            environment.remove(QString::fromLatin1(variable));
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(FOLIVAR_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(-1));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);  // not an abort
        QCOMPARE(program.exitCode(), exitCode);
        const QString printed = QString::fromUtf8(program.readAllStandardOutput());
        const QString complained = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(printed.startsWith(out), qPrintable(printed));
        QVERIFY2(complained.startsWith(err), qPrintable(complained));
        if (out.isEmpty()) {
            QVERIFY(printed.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
