#include "app/field_hints.h"

#include "ui/editbox_ex.h"

namespace korvane::app {

void SetHintOnBlur(ui::EditboxEx& box, const std::string& hint, bool masked, bool gained) {
    if (!gained && box.Text().empty()) {
        if (masked) {
            box.SetInputMode(ui::EditboxEx::kPlain);
        }
        box.SetText(hint);
    }
    if (gained && box.Text() == hint) {
        if (masked) {
            box.SetInputMode(ui::EditboxEx::kPassword);
        }
        box.SetText(std::string());
    }
}

}  // namespace korvane::app
