// The program's message box: modal, title "Quorvex", one OK button; and its
// question about unsaved changes.
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

// What to do with changes not yet saved: the question with Save, Discard and
// Cancel buttons (Escape cancels).
enum class UnsavedChoice { Save, Discard, Cancel };
UnsavedChoice AskAboutUnsavedChanges(const QString& text);
// Tests answer the question instead of a user; an empty function shows it again.
using UnsavedChangesHandler = std::function<UnsavedChoice(const QString&)>;
void SetUnsavedChangesHandler(UnsavedChangesHandler handler);

}  // namespace quorvex::platform
