#include "ui/skin.h"

#include <QFontDatabase>
#include <QStringList>

namespace korvane::ui {

QColor FromArgb(std::uint32_t argb) {
    return QColor::fromRgba(argb);
}

std::uint32_t ToArgb(const QColor& colour) {
    return colour.rgba();
}

namespace {

// Only installed families go into the list: an unknown first family would be matched by the
// font system to some Latin face, and Latin text would then not match the CJK text.
QStringList InstalledFamilies() {
    const QStringList wanted{QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"),
                             QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Droid Sans Fallback")};
    QStringList installed;
    for (const QString& family : wanted) {
        if (QFontDatabase::hasFamily(family)) {
            installed.append(family);
        }
    }
    return installed.isEmpty() ? wanted : installed;
}

}  // namespace

QFont SkinFont(int pixelSize, const QString& family) {
    static const QStringList kInstalled = InstalledFamilies();
    QStringList families = kInstalled;
    if (!family.isEmpty() && !families.contains(family) && QFontDatabase::hasFamily(family)) {
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
