#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace quorvex::platform {

namespace {
MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}
}  // namespace

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }

void ShowMessage(const QString& text) {
    if (Handler()) {
        Handler()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvex"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace quorvex::platform
