#include "app/assets.h"

#include <QPixmap>
#include <QString>
#include <QtGlobal>

#include "ui/picture.h"

// The resource lives in a static library, so nothing would pull it in by itself.
static void InitAssetsResource() {
    Q_INIT_RESOURCE(assets);
}

namespace korvane::app {

void LoadAssets() {
    static const bool loaded = [] {
        InitAssetsResource();
        return true;
    }();
    (void)loaded;
}

QIcon ApplicationIcon() {
    LoadAssets();
    // The small sizes are a bolder drawing, not a scaled-down copy, so each is added. Every
    // size goes to the window manager with each window; 512 would only add a megabyte to that.
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral(":/assets/icon/%1x%1/korvane.png").arg(side);
        const QImage picture = ui::LoadPicture(path, 1.0);
        if (!picture.isNull()) {
            icon.addPixmap(QPixmap::fromImage(picture));
        }
    }
    return icon;
}

}  // namespace korvane::app
