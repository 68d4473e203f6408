#include "platform/HelpViewer.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace quorvex::platform {

HelpViewer::HelpViewer() {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Quorvex Help"));
    setOpenLinks(true);
    setOpenExternalLinks(false);
    resize(560, 620);
}

bool HelpViewer::ShowContents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setHtml(QStringLiteral("<h3>Help not found</h3><p>The help file could not be opened:</p>"
                               "<p><tt>%1</tt></p>")
                    .arg(path.toHtmlEscaped()));
        return false;
    }
    const QString html = QString::fromUtf8(file.readAll());
    setSearchPaths({QFileInfo(path).absolutePath()});
    setHtml(html);
    // The contents page is the top of the file.
    scrollToAnchor(QStringLiteral("contents"));
    return true;
}

}  // namespace quorvex::platform
