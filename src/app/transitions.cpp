#include "app/transitions.h"

#include <utility>

#include "ui/control.h"
#include "ui/control_update_cache.h"

namespace korvane::app {

namespace {

constexpr int kSlidePeriod = 12;
constexpr int kQuadIn = 1;
constexpr int kQuadOut = 2;

int SlideLeft(ui::ControlRef& target, double value, int code) {
    switch (code) {
        case anim::Value:
            target.SetLeft(static_cast<int>(value));
            break;
        case anim::AfterValue:
            ui::ControlUpdateCache();
            break;
        default:
            break;
    }
    return 0;
}

using SlideCallback = int (*)(const std::shared_ptr<ui::ControlRef>&, double, double,
                              anim::TweenRecord*, int);

void Start(int from, int to, int easing, SlideCallback slide,
           std::shared_ptr<ui::ControlRef> target) {
    anim::StartTween(
        from, to, easing,
        [slide, target = std::move(target)](double value, double progress, anim::TweenRecord* tween,
                                            int code) {
            return slide(target, value, progress, tween, code);
        },
        kSlidePeriod);
}

}  // namespace

int SlideLoginCover(const std::shared_ptr<ui::ControlRef>& cover, double value, double,
                    anim::TweenRecord*, int code) {
    return SlideLeft(*cover, value, code);
}

int SlidePageArea(const std::shared_ptr<ui::ControlRef>& pageArea, double value, double,
                  anim::TweenRecord*, int code) {
    return SlideLeft(*pageArea, value, code);
}

void StartCoverToRegistration(std::shared_ptr<ui::ControlRef> cover) {
    Start(60, 350, kQuadOut, SlideLoginCover, std::move(cover));
}

void StartCoverToSignIn(std::shared_ptr<ui::ControlRef> cover) {
    Start(350, 60, kQuadIn, SlideLoginCover, std::move(cover));
}

void StartPageAreaIn(std::shared_ptr<ui::ControlRef> pageArea) {
    Start(0, 264, kQuadOut, SlidePageArea, std::move(pageArea));
}

}  // namespace korvane::app
