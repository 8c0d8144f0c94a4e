#include <QBuffer>
#include <QTest>
#include <stdexcept>

#include "app/BannerImage.h"

using folivar::BannerImage;

class BannerImageTest : public QObject {
    Q_OBJECT

private slots:
    void decodesTheProgramsBanner() {
        const QImage banner = BannerImage::picture();
        QCOMPARE(banner.size(), QSize(449, 25));
        // A blue strip: blue outweighs red on the left edge.
        const QColor left = banner.pixelColor(2, 12);
        QVERIFY2(left.blue() > left.red() + 40, qPrintable(left.name()));
    }

    void decodesColourAndGreyPictures_data() {
        QTest::addColumn<QImage>("source");
        QImage colour(40, 24, QImage::Format_RGB32);
        colour.fill(QColor(200, 30, 40));
        QImage grey(17, 9, QImage::Format_Grayscale8);
        grey.fill(QColor(128, 128, 128));
        QTest::newRow("colour") << colour;
        QTest::newRow("grey, odd size") << grey;
    }

    void decodesColourAndGreyPictures() {
        QFETCH(QImage, source);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(source.save(&buffer, "JPG", 95));

        const QImage decoded = BannerImage::decode(jpeg);
        QCOMPARE(decoded.size(), source.size());
        const QColor expected = source.pixelColor(source.width() / 2, source.height() / 2);
        const QColor got = decoded.pixelColor(decoded.width() / 2, decoded.height() / 2);
        QVERIFY2(qAbs(got.red() - expected.red()) < 8 && qAbs(got.green() - expected.green()) < 8 &&
                     qAbs(got.blue() - expected.blue()) < 8,
                 qPrintable(got.name() + QStringLiteral(" for ") + expected.name()));
    }

    void refusesWhatIsNoJpeg_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("this is not a picture at all");
        QTest::newRow("PNG signature") << QByteArray("\x89PNG\r\n\x1a\n0000", 12);
        QTest::newRow("JPEG start only") << QByteArray("\xff\xd8\xff", 3);
    }

    void refusesWhatIsNoJpeg() {
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, BannerImage::decode(bytes));
    }

    void survivesADamagedTail() {
        // A cut-off file is decoded as far as it goes rather than refused.
        QImage source(256, 256, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                source.setPixelColor(x, y, QColor(x, y, (x * y) % 256));
            }
        }
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(source.save(&buffer, "JPG"));
        const QImage decoded = BannerImage::decode(jpeg.left(jpeg.size() * 3 / 4));
        QCOMPARE(decoded.size(), source.size());
    }
};

QTEST_MAIN(BannerImageTest)
#include "BannerImageTest.moc"
