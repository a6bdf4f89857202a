#include "app/ui/message_box_alert.h"

#include "app/alert.h"

#include <QApplication>
#include <QMessageBox>

namespace billprint {

void installMessageBoxAlerts()
{
    setAlertHandler([](const AlertRequest &request) {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(request.caption);
        box.setText(request.message);
        switch (request.icon) {
        case AlertIcon::Information: box.setIcon(QMessageBox::Information); break;
        case AlertIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case AlertIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case AlertIcon::Question: box.setIcon(QMessageBox::Question); break;
        }
        switch (request.buttons) {
        case AlertButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setButtonText(QMessageBox::Ok, QStringLiteral("确定"));
            break;
        case AlertButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setButtonText(QMessageBox::Yes, QStringLiteral("是(&Y)"));
            box.setButtonText(QMessageBox::No, QStringLiteral("否(&N)"));
            break;
        case AlertButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setButtonText(QMessageBox::Yes, QStringLiteral("是(&Y)"));
            box.setButtonText(QMessageBox::No, QStringLiteral("否(&N)"));
            box.setButtonText(QMessageBox::Cancel, QStringLiteral("取消"));
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return AlertAnswer::Yes;
        case QMessageBox::No: return AlertAnswer::No;
        case QMessageBox::Cancel: return AlertAnswer::Cancel;
        default: return request.buttons == AlertButtons::Ok ? AlertAnswer::Ok : AlertAnswer::Cancel;
        }
    });
}

} // namespace billprint
