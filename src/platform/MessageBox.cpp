#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace quorvex::platform {

namespace {
MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

UnsavedChangesHandler& UnsavedHandler() {
    static UnsavedChangesHandler handler;
    return handler;
}
}  // namespace

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }
void SetUnsavedChangesHandler(UnsavedChangesHandler handler) {
    UnsavedHandler() = std::move(handler);
}

UnsavedChoice AskAboutUnsavedChanges(const QString& text) {
    if (UnsavedHandler()) return UnsavedHandler()(text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quorvex"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
        case QMessageBox::Save:
            return UnsavedChoice::Save;
        case QMessageBox::Discard:
            return UnsavedChoice::Discard;
        default:
            return UnsavedChoice::Cancel;
    }
}

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
