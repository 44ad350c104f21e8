#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

namespace korvane::ui {

// The palette of the skin, ARGB.
namespace colour {
inline constexpr std::uint32_t kPrimary = 0xFF1D9BFB;
inline constexpr std::uint32_t kPrimaryHover = 0xFF43ACFC;
inline constexpr std::uint32_t kPrimaryPressed = 0xFF0F86E0;
inline constexpr std::uint32_t kAccent = 0xFF4A4FEA;
inline constexpr std::uint32_t kText = 0xFF333333;
inline constexpr std::uint32_t kTextStrong = 0xFF242424;
inline constexpr std::uint32_t kTextMuted = 0xFFA0A0A0;
inline constexpr std::uint32_t kBorder = 0xFFDCDFE6;
inline constexpr std::uint32_t kFieldBackground = 0xFFF7F8FA;
inline constexpr std::uint32_t kTrack = 0xFFEDEFF5;
inline constexpr std::uint32_t kWindow = 0xFFFFFFFF;
}  // namespace colour

// Corner radius of a window and of the controls on it, in pixels.
inline constexpr int kWindowRadius = 12;
inline constexpr int kControlRadius = 6;

QColor FromArgb(std::uint32_t argb);
std::uint32_t ToArgb(const QColor& colour);

// The skin's font at a pixel size: "微软雅黑" first, then the installed CJK fonts. `family`
// (UTF-8) replaces the first choice when not empty.
QFont SkinFont(int pixelSize, const QString& family = {});

}  // namespace korvane::ui
