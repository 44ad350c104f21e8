#pragma once

#include "app/form_table.h"

namespace korvane::app {

// The login window: registration panel on the left, sign-in panel on the right, the cover
// over the registration panel.
const FormTable& LoginForm();

}  // namespace korvane::app
