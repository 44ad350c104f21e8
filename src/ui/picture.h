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
QImage LoadPicture(const QString& path);

}  // namespace korvane::ui
