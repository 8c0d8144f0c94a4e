#include <QEnterEvent>
#include <QTest>

#include "widgets/StyledButton.h"
#include "widgets/StyledLabel.h"

using folivar::StyledButton;
using folivar::StyledLabel;

class StyledWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void buttonStyleCarriesItsThreeColours() {
        StyledButton button(QStringLiteral("SCAN"));
        button.setColors(QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66),
                         QColor(0x77, 0x88, 0x99));
        const QString sheet = button.styleSheet();
        const qsizetype plain = sheet.indexOf(QStringLiteral("background-color: #112233"));
        const qsizetype hover = sheet.indexOf(QStringLiteral(":hover { background-color: #445566"));
        const qsizetype pressed =
            sheet.indexOf(QStringLiteral(":pressed { background-color: #778899"));
        QVERIFY2(plain >= 0 && hover > plain && pressed > hover, qPrintable(sheet));
        // Dark colours get a light text, light ones a dark text.
        QVERIFY(sheet.contains(QStringLiteral("#112233; color: #ffffff")));
        button.setColors(QColor(0xee, 0xee, 0xee), QColor(0xdd, 0xdd, 0xdd), Qt::black);
        QVERIFY(button.styleSheet().contains(QStringLiteral("#eeeeee; color: #202020")));
    }

    void labelFollowsTheMouse() {
        StyledLabel label(QStringLiteral("Kind"));
        const QColor plain(0x10, 0x10, 0x10);
        const QColor hover(0x20, 0x80, 0x20);
        const QColor pressed(0x80, 0x20, 0x20);
        label.setColors(plain, hover, pressed);
        label.resize(60, 16);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));

        const auto windowText = [&label] {
            return label.palette().color(QPalette::Active, QPalette::WindowText);
        };
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&label, &leave);  // wherever the platform put the pointer
        QCOMPARE(windowText(), plain);

        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&label, &enter);
        QCOMPARE(windowText(), hover);

        QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(windowText(), pressed);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(windowText(), hover);

        QApplication::sendEvent(&label, &leave);
        QCOMPARE(windowText(), plain);
    }

    void disabledLabelKeepsTheGreyOfThePalette() {
        StyledLabel label(QStringLiteral("Date 2"));
        const QColor grey = label.palette().color(QPalette::Disabled, QPalette::WindowText);
        label.setColors(Qt::red, Qt::green, Qt::blue);
        QCOMPARE(label.palette().color(QPalette::Disabled, QPalette::WindowText), grey);
    }
};

QTEST_MAIN(StyledWidgetsTest)
#include "StyledWidgetsTest.moc"
