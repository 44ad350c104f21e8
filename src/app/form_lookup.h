#pragma once

#include <QObject>
#include <QtGlobal>
#include <string>
#include <string_view>

#include "ui/form_builder.h"

namespace korvane::app {

// The control of a window's form table named `name`. Every name a handler asks for is in its
// window's table, so a miss is a broken table and stops the program.
template <class T>
T& Find(const QObject& window, std::string_view name) {
    T* control = ui::FindControl<T>(window, name);
    if (control == nullptr) {
        qFatal("form control missing: %s", std::string(name).c_str());
    }
    return *control;
}

}  // namespace korvane::app
