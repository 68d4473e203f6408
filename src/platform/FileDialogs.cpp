#include "platform/FileDialogs.h"

#include <QFileDialog>

namespace quorvex::platform {

namespace {
FileDialogHandler& Handler() {
    static FileDialogHandler handler;
    return handler;
}
}  // namespace

void SetFileDialogHandler(FileDialogHandler handler) {
    Handler() = std::move(handler);
}

QString AskForStructureFile(QWidget* parent, FileDialogKind kind, const QString& suggestion) {
    if (Handler()) return Handler()(kind, suggestion);
    const QString filter = QStringLiteral("Quorvex structures (*.qvx);;All files (*)");
    if (kind == FileDialogKind::Open)
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open structure"), suggestion,
                                            filter);
    QFileDialog dialog(parent, QStringLiteral("Save structure as"), suggestion, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("qvx"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace quorvex::platform
