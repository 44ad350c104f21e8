#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "text/code_page.h"
#include "ui/picture.h"
#include "ui/picture_box_ex.h"
#include "ui/picture_paint.h"
#include "ui/text_bridge.h"

namespace korvane::ui {
namespace {

QByteArray PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::span<const std::uint8_t> Span(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

QImage Sample() {
    QImage image(5, 3, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(0x1D, 0x9B, 0xFB, 0xFF));
    image.setPixel(4, 2, qRgba(0xF5, 0x22, 0x2D, 0xFF));
    image.setPixel(2, 1, qRgba(0x80, 0x40, 0x20, 0x80));
    return image;
}

TEST(PictureTest, GoodPngDecodesToItsPixels) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sample.png"));
    ASSERT_TRUE(Sample().save(path));

    const QImage decoded = LoadPicture(path);
    ASSERT_EQ(decoded.size(), QSize(5, 3));
    const QImage expected = Sample().convertToFormat(QImage::Format_ARGB32);
    const QImage actual = decoded.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const QRgb want = expected.pixel(x, y);
            const QRgb got = actual.pixel(x, y);
            EXPECT_EQ(qAlpha(got), qAlpha(want)) << x << "," << y;
            if (qAlpha(want) == 0xFF) {
                EXPECT_EQ(got, want) << x << "," << y;
            }
        }
    }
}

TEST(PictureTest, BadPicturesGiveAnEmptyImage) {
    const QByteArray good = PngBytes(Sample());
    const QByteArray cases[] = {
        QByteArray(), QByteArray("not a picture at all"),
        good.left(good.size() / 2),             // truncated
        good.left(8) + QByteArray(64, '\xff'),  // signature, then garbage
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_TRUE(DecodePng(Span(bytes)).isNull()) << bytes.size();
    }
    EXPECT_TRUE(LoadPicture(QStringLiteral(":/assets/no_such_picture.png")).isNull());
    EXPECT_TRUE(LoadPicture(QString()).isNull());

    PictureBoxEx box;
    box.resize(40, 40);
    box.SetPicturePath(QStringLiteral("/nonexistent/picture.png"));
    EXPECT_TRUE(box.Picture().isNull());
    box.grab();  // paints nothing, and does not crash
}

TEST(TextBridgeTest, ClientTextRoundTripsThroughQString) {
    const std::string client = text::Utf8ToLocal("信息：以下为公告内容\r\n");
    const QString text = ToQString(client);
    EXPECT_EQ(text, QStringLiteral("信息：以下为公告内容\r\n"));
    EXPECT_EQ(FromQString(text), client);
    EXPECT_TRUE(ToQString("").isEmpty());
    EXPECT_EQ(FromQString(QString()), "");
}

// A 1-pixel checkerboard: any resampling on the way to the screen greys it.
QImage Checkerboard(QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return image;
}

TEST(PictureTest, HighRatioReadsTheDoubleResolutionPictureBesideThePlainOne) {
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("pic.png"));
    ASSERT_TRUE(Sample().save(plain));
    ASSERT_TRUE(Checkerboard(QSize(10, 6)).save(dir.filePath(QStringLiteral("pic@2x.png"))));
    const QString alone = dir.filePath(QStringLiteral("alone.png"));
    ASSERT_TRUE(Sample().save(alone));
    const QString brokenDouble = dir.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(Sample().save(brokenDouble));
    QFile broken(dir.filePath(QStringLiteral("broken@2x.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("folder.d"))));
    const QString noExtension = dir.filePath(QStringLiteral("folder.d/pic"));
    ASSERT_TRUE(Sample().save(noExtension, "PNG"));

    struct Case {
        QString path;
        qreal ratio;
        QSize pixels;
        qreal pictureRatio;
    };
    const Case cases[] = {
        {plain, 2.0, QSize(10, 6), 2.0},       {plain, 1.5, QSize(10, 6), 2.0},
        {plain, 1.0, QSize(5, 3), 1.0},        {alone, 2.0, QSize(5, 3), 1.0},
        {brokenDouble, 2.0, QSize(5, 3), 1.0}, {noExtension, 2.0, QSize(5, 3), 1.0},
    };
    for (const Case& c : cases) {
        const QImage picture = LoadPicture(c.path, c.ratio);
        EXPECT_EQ(picture.size(), c.pixels) << c.path.toStdString() << " at " << c.ratio;
        EXPECT_EQ(picture.devicePixelRatio(), c.pictureRatio) << c.path.toStdString();
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(5, 3)) << c.path.toStdString();
    }
}

TEST(PictureTest, DoubleResolutionPictureFillsItsBoxPixelForPixelAtRatioTwo) {
    QImage picture = Checkerboard(QSize(40, 24));
    picture.setDevicePixelRatio(2.0);
    QImage screen(QSize(40, 24), QImage::Format_ARGB32_Premultiplied);
    screen.setDevicePixelRatio(2.0);
    screen.fill(Qt::red);
    QPixmap cache;
    {
        QPainter painter(&screen);
        DrawPictureFitted(painter, QRect(0, 0, 20, 12), picture, cache, 2.0);
    }
    const QImage want = Checkerboard(QSize(40, 24));
    const QImage got = screen.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(got.pixel(x, y), want.pixel(x, y)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace korvane::ui
