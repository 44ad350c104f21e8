#pragma once

#include <array>
#include <string>

namespace korvane::ui {
class EditboxEx;
}

namespace korvane::app {

// An edit box of the login window with the hint it shows while empty and unfocused.
struct FieldHint {
    const char* box;
    const char* hint;  // UTF-8
    bool masked;       // shows "*" while being edited
};

inline constexpr std::array<FieldHint, 6> kFieldHints = {{
    {"编辑框EX1", "请输入账号", false},
    {"编辑框EX2", "请输入密码", true},
    {"编辑框EX3", "请输入手机号/邮箱", false},
    {"编辑框EX4", "请输入密码", true},
    {"编辑框EX5", "验证码", false},
    {"编辑框EX6", "请再次输入密码", true},
}};

// The focus-change handler of a hinted box: leaving it empty brings the hint back (plain
// characters), entering it while it shows the hint clears it (masked boxes switch to "*").
// `hint` is client text.
void SetHintOnBlur(ui::EditboxEx& box, const std::string& hint, bool masked, bool gained);

}  // namespace korvane::app
