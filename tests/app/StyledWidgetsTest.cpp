#include <QEnterEvent>
#include <QImage>
#include <QTest>

#include "widgets/StyledButton.h"
#include "widgets/StyledLabel.h"

using folivar::StyledButton;
using folivar::StyledLabel;

// The lightest (or darkest) pixel where the text stands: the colour of the
// text's solid strokes.
QColor extremeText(const QImage& image, bool lightest) {
    QColor found = image.pixelColor(image.width() / 2, image.height() / 2);
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
        for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if ((pixel.lightness() > found.lightness()) == lightest &&
                pixel.lightness() != found.lightness()) {
                found = pixel;
            }
        }
    }
    return found;
}

class StyledWidgetsTest : public QObject {
    Q_OBJECT

private slots:
    // What the button looks like as drawn, not how its style is written: its
    // colour, lighter under the mouse, darker pressed, and a text that stays
    // readable on each.
    void buttonIsDrawnInItsThreeColours() {
        StyledButton button(QStringLiteral("HH"));
        QFont big = button.font();
        big.setPixelSize(22);
        big.setBold(true);
        button.setFont(big);
        button.resize(90, 34);
        const QPoint beside(4, 17);  // inside the border, left of the text
        const auto drawn = [&] { return button.grab().toImage(); };

        button.setColors(QColor(0x11, 0x22, 0x33), QColor(0x44, 0x55, 0x66),
                         QColor(0x77, 0x88, 0x99));
        QCOMPARE(drawn().pixelColor(beside), QColor(0x11, 0x22, 0x33));
        QCOMPARE(extremeText(drawn(), true), QColor(Qt::white));  // dark: a light text
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseMove(&button, beside);
        QTRY_VERIFY(button.underMouse());
        QCOMPARE(drawn().pixelColor(beside), QColor(0x44, 0x55, 0x66));
        button.setDown(true);
        QCOMPARE(drawn().pixelColor(beside), QColor(0x77, 0x88, 0x99));
        button.setDown(false);
        QTest::mouseMove(&button, QPoint(-20, -20));
        QTRY_VERIFY(!button.underMouse());

        button.setColors(QColor(0xee, 0xee, 0xee), QColor(0xdd, 0xdd, 0xdd), Qt::black);
        QCOMPARE(drawn().pixelColor(beside), QColor(0xee, 0xee, 0xee));
        QCOMPARE(extremeText(drawn(), false), QColor(0x20, 0x20, 0x20));  // light: a dark text
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
