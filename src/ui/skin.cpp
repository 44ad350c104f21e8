#include "ui/skin.h"

#include <QStringList>

namespace korvane::ui {

QColor FromArgb(std::uint32_t argb) {
    return QColor::fromRgba(argb);
}

std::uint32_t ToArgb(const QColor& colour) {
    return colour.rgba();
}

QFont SkinFont(int pixelSize, const QString& family) {
    QStringList families{QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                         QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                         QStringLiteral("Droid Sans Fallback")};
    if (!family.isEmpty() && family != families.front()) {
        families.prepend(family);
    }
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize > 0 ? pixelSize : 14);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace korvane::ui
