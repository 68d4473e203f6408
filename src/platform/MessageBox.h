#pragma once
#include <QString>
namespace quorvex::platform {
void ShowMessage(const QString& text);
}
