#include "ui/system_message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "ui/busy_pointer.h"
#include "ui/skin.h"
#include "ui/text_bridge.h"

namespace korvane::ui {

void ShowSystemMessageBox(const std::string& clientText) {
    QMessageBox box;
    box.setWindowTitle(QStringLiteral("信息："));
    box.setFont(SkinFont(14));
    box.setIcon(QMessageBox::NoIcon);
    // Service texts are shown as they are, never interpreted as markup.
    box.setTextFormat(Qt::PlainText);
    QString text = ToQString(clientText);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
        ok->setText(QStringLiteral("确定"));
    }
    box.setWindowModality(Qt::ApplicationModal);
    const NormalPointer waitingForThePerson;
    box.exec();
}

}  // namespace korvane::ui
