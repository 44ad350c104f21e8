#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "text/code_page.h"
#include "ui/picture.h"
#include "ui/picture_box_ex.h"
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

}  // namespace
}  // namespace korvane::ui
