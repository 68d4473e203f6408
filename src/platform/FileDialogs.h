// The dialogs that ask for a structure file to open or a name to save under.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace quorvex::platform {

enum class FileDialogKind { Open, SaveAs };

// The chosen path, or empty when the user cancelled.
QString AskForStructureFile(QWidget* parent, FileDialogKind kind, const QString& suggestion);

// Tests choose the file instead of a user; an empty function shows the dialogs again.
using FileDialogHandler = std::function<QString(FileDialogKind, const QString& suggestion)>;
void SetFileDialogHandler(FileDialogHandler handler);

}  // namespace quorvex::platform
