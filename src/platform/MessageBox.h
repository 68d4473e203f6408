// The program's message box: modal, title "Quorvex", one OK button.
#pragma once

#include <QString>
#include <functional>

namespace quorvex::platform {

// Shows the message and returns when the user has pressed OK.
void ShowMessage(const QString& text);

// Tests capture the messages instead of showing a box. Pass an empty function
// to show real boxes again.
using MessageHandler = std::function<void(const QString&)>;
void SetMessageHandler(MessageHandler handler);

}  // namespace quorvex::platform
