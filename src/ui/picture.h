#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <span>

namespace korvane::ui {

// Decodes PNG bytes with libpng into a premultiplied RGBA image. Broken, truncated or
// absurdly large input gives a null image.
QImage DecodePng(std::span<const std::uint8_t> bytes);

// Reads a picture from a Qt resource (":/assets/banner.png") or a file path. A missing or
// bad picture gives a null image, which every control shows as nothing.
// For a device pixel ratio above 1 the double-resolution version beside it
// (":/assets/banner@2x.png") is read instead when there is one; it carries device pixel ratio
// 2, so its logical size is that of the plain picture and it draws crisply where a scaled-up
// plain picture would blur. Without a ratio, the highest ratio of the screens counts.
QImage LoadPicture(const QString& path, qreal ratio);
QImage LoadPicture(const QString& path);

}  // namespace korvane::ui
