#pragma once

#include "app/form_table.h"

namespace korvane::app {

// The message window: icon, title, text, OK, Cancel and close, and the two mask controls that
// its creation moves over the owner window.
const FormTable& MessageForm();

}  // namespace korvane::app
