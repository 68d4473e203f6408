#include "platform/MessageBox.h"
#include <QMessageBox>
namespace quorvex::platform {
void ShowMessage(const QString& text) { QMessageBox::information(nullptr, "Quorvex", text); }
}
