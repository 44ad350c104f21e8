#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvane::ui {

class FormWindow;

enum class ControlKind {
    Window,           // WindowEx
    PictureBox,       // PictureBoxEx
    Label,            // LabelEx
    Button,           // ButtonEx
    Imagebutton,      // ImagebuttonEx
    Superbutton,      // SuperbuttonEx
    Editbox,          // EditboxEx
    Progressbar,      // ProgressbarEx
    Selectthefolder,  // SelectthefolderEx
    Filter,           // FilterEx
    Timer,            // WindowTimer, stopped; geometry unused
};

// One row of a form table. Texts are UTF-8 source literals; the control's objectName is the
// UTF-8 name. Fields a kind has no use for are ignored.
struct FormEntry {
    ControlKind kind;
    const char* name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Label text, button / superbutton caption, edit box text; for a tab control its tab
    // captions separated by '|'.
    const char* text = "";
    // Resource path of the picture / image / icon, e.g. ":/assets/banner.png".
    const char* picture = "";
    int fontSize = 0;          // pixels; 0 keeps the control's default
    std::uint32_t colour = 0;  // ARGB text colour (label, superbutton, edit box); 0 keeps it
    // Kind-specific: progress value, superbutton selected flag, edit box input mode, filter
    // effect.
    int value = 0;
    // Kind-specific: progress style (0 bar, 1 round), button look (0 primary, 1 secondary).
    int style = 0;
    // Where the control goes: "" for the window's surface, otherwise the name of a tab
    // control built earlier, with `page` its page index.
    const char* parent = "";
    int page = 0;
    bool hidden = false;  // a Filter row always starts hidden
    // What screen readers call the control when its caption does not say it (or it has
    // none): a picture's purpose, a tab control's role. An edit box without one is called by
    // its initial text, its hint.
    const char* spokenName = "";
};

// Builds the rows in order onto `window`, later rows above earlier ones. A row whose parent
// is unknown is put on the surface. Returns the number of controls made.
int BuildForm(FormWindow& window, std::span<const FormEntry> rows);

// The control named `utf8Name` (its form name, e.g. "编辑框EX1") of the given kind anywhere
// under `root`, or nullptr.
template <class T>
T* FindControl(const QObject& root, std::string_view utf8Name) {
    return root.findChild<T*>(
        QString::fromUtf8(utf8Name.data(), static_cast<qsizetype>(utf8Name.size())));
}

}  // namespace korvane::ui
