#include "app/assets.h"

#include <QtGlobal>

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

}  // namespace korvane::app
