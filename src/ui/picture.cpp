#include "ui/picture.h"

#include <png.h>

#include <QFile>
#include <QGuiApplication>
#include <cstring>

namespace korvane::ui {
namespace {

// The artwork is at most a few hundred pixels a side; this only stops a hostile header from
// asking for gigabytes.
constexpr png_uint_32 kMaxSide = 8192;

// png_image must be freed on every path once begin_read has run.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

}  // namespace

QImage DecodePng(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return {};
    }
    PngImage png;
    if (png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()) == 0) {
        return {};
    }
    if (png.image.width == 0 || png.image.height == 0 || png.image.width > kMaxSide ||
        png.image.height > kMaxSide) {
        return {};
    }
    png.image.format = PNG_FORMAT_RGBA;
    QImage decoded(static_cast<int>(png.image.width), static_cast<int>(png.image.height),
                   QImage::Format_RGBA8888);
    if (decoded.isNull()) {
        return {};
    }
    const auto stride = static_cast<png_int_32>(decoded.bytesPerLine());
    if (png_image_finish_read(&png.image, nullptr, decoded.bits(), stride, nullptr) == 0) {
        return {};
    }
    return decoded.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

namespace {

QImage ReadPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    constexpr qint64 kMaxBytes = 32 * 1024 * 1024;
    if (file.size() > kMaxBytes) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return DecodePng(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
}

// "name.png" -> "name@2x.png"; empty when the name has no extension to put it before.
QString DoubleResolutionPath(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash + 1) {
        return {};
    }
    return path.left(dot) + QLatin1String("@2x") + path.mid(dot);
}

}  // namespace

QImage LoadPicture(const QString& path, qreal ratio) {
    if (path.isEmpty()) {
        return {};
    }
    if (ratio > 1.0) {
        const QString doubled = DoubleResolutionPath(path);
        if (!doubled.isEmpty() && QFile::exists(doubled)) {
            QImage picture = ReadPicture(doubled);
            if (!picture.isNull()) {
                picture.setDevicePixelRatio(2.0);
                return picture;
            }
        }
    }
    return ReadPicture(path);
}

QImage LoadPicture(const QString& path) {
    return LoadPicture(path, qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0);
}

}  // namespace korvane::ui
