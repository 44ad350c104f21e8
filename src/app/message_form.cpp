#include "app/message_form.h"

#include <array>

namespace korvane::app {

namespace {

using K = ui::ControlKind;
using E = ui::FormEntry;

constexpr std::array kRows = {
    E{.kind = K::Window,
      .name = "窗口EX1",
      .left = 4,
      .top = 4,
      .width = 24,
      .height = 24,
      .spokenName = "消息窗口"},
    E{.kind = K::Label,
      .name = "标签EX1",
      .left = 43,
      .top = 33,
      .width = 136,
      .height = 32,
      .fontSize = 16,
      .colour = 0xFF242424,
      .spokenName = "标题"},
    E{.kind = K::Imagebutton,
      .name = "图片按钮EX1",
      .left = 330,
      .top = 34,
      .width = 24,
      .height = 24,
      .picture = ":/assets/close_small.png",
      .spokenName = "关闭"},
    E{.kind = K::PictureBox,
      .name = "图片框EX1",
      .left = 52,
      .top = 84,
      .width = 45,
      .height = 45,
      .spokenName = "图标"},
    E{.kind = K::Label,
      .name = "标签EX2",
      .left = 108,
      .top = 71,
      .width = 241,
      .height = 72,
      .fontSize = 14,
      .colour = 0xFF242424,
      .spokenName = "内容"},
    E{.kind = K::Button,
      .name = "按钮EX1",
      .left = 200,
      .top = 150,
      .width = 70,
      .height = 28,
      .text = "确定"},
    E{.kind = K::Button,
      .name = "按钮EX2",
      .left = 280,
      .top = 150,
      .width = 70,
      .height = 28,
      .text = "取消",
      .style = 1},
    E{.kind = K::Label, .name = "标签_遮罩", .hidden = true, .spokenName = "遮罩"},
    E{.kind = K::Filter, .name = "滤镜_遮罩", .hidden = true, .spokenName = "遮罩"},
};

constexpr FormTable kForm{.width = 389, .height = 215, .rows = kRows};

}  // namespace

const FormTable& MessageForm() {
    return kForm;
}

}  // namespace korvane::app
