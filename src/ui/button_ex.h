#pragma once

#include <QString>
#include <string>

#include "ui/pressable_control.h"

namespace korvane::ui {

// A flat rounded push button. Primary: blue fill, white caption. Secondary: white fill, grey
// border, dark caption (for a Cancel beside an OK). setEnabled(false) greys it out and stops
// clicks. It takes no keyboard focus, so Tab walks the edit boxes only.
class ButtonEx : public PressableControl {
    Q_OBJECT
  public:
    enum class Look { Primary, Secondary };

    explicit ButtonEx(QWidget* parent = nullptr);

    void SetCaption(const std::string& clientText);
    std::string Caption() const;
    void SetCaptionQ(const QString& caption);
    const QString& CaptionQ() const { return caption_; }

    void SetFontPixelSize(int pixels);
    void SetLook(Look look);

    // Same as clicking it: emits clicked() if enabled.
    void Click();

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void OnClick() override { Click(); }

  private:
    QString caption_;
    int pixelSize_ = 14;
    Look look_ = Look::Primary;
};

}  // namespace korvane::ui
