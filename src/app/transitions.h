#pragma once

#include <memory>

#include "anim/tween.h"

namespace korvane::ui {
class ControlRef;
}

namespace korvane::app {

// Tween callbacks of the two slides. They run on timer threads: `Value` moves the control's
// left edge to the value truncated toward zero, `AfterValue` refreshes the drawing, and the
// answer is always 0 so a slide runs to its end. A control that is gone takes no writes.
int SlideLoginCover(const std::shared_ptr<ui::ControlRef>& cover, double value, double progress,
                    anim::TweenRecord* tween, int code);
int SlidePageArea(const std::shared_ptr<ui::ControlRef>& pageArea, double value, double progress,
                  anim::TweenRecord* tween, int code);

// The slides as the windows start them: the cover of the login window to the right (showing
// the registration panel) or back to the left (showing the sign-in panel), and the main
// window's page area in from the left. Each starts from its fixed start value.
void StartCoverToRegistration(std::shared_ptr<ui::ControlRef> cover);
void StartCoverToSignIn(std::shared_ptr<ui::ControlRef> cover);
void StartPageAreaIn(std::shared_ptr<ui::ControlRef> pageArea);

}  // namespace korvane::app
