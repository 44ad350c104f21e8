#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "ui/control.h"

class QLineEdit;
class QProxyStyle;

namespace korvane::ui {

// A single-line edit box on a rounded field that turns blue while it has the focus. Input
// mode 0 shows the text, 2 shows each character as "*" (the character comes from the box's
// style, so it cannot be lost to a style sheet). The box forwards focus to its inner line
// edit, so setFocus() and QWidget::setTabOrder() work on the box itself.
class EditboxEx : public Control {
    Q_OBJECT
  public:
    enum InputMode : int { kPlain = 0, kPassword = 2 };

    explicit EditboxEx(QWidget* parent = nullptr);
    ~EditboxEx() override;

    void SetText(const std::string& clientText);
    std::string Text() const;
    void SetTextQ(const QString& text);
    QString TextQ() const;

    void SetFontPixelSize(int pixels);
    void SetTextColour(std::uint32_t argb);

    // 0 plain, 2 password; other values read as plain.
    void SetInputMode(int mode);
    int InputMode() const { return mode_; }

    // Room left of the text, e.g. for an icon picture placed over the box's left end.
    void SetTextIndent(int pixels);

    // The inner editor, for tests and for key handling.
    QLineEdit* Editor() const { return edit_.get(); }

  signals:
    // true when the box gains the focus, false when it loses it.
    void focusChanged(bool gained);
    // Enter or Return pressed in the box; the key goes no further.
    void returnPressed();

  protected:
    void SpokenNameChanged(const QString& name) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Relayout();

    // Declared before edit_ so that it outlives the editor that uses it.
    std::unique_ptr<QProxyStyle> style_;
    std::unique_ptr<QLineEdit> edit_;
    int mode_ = kPlain;
    int indent_ = 12;
    int pixelSize_ = 13;
};

}  // namespace korvane::ui
