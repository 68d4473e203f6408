#include "platform/HelpViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>

namespace quorvex::platform {

QString FindHelpFile(const QString& programFolder) {
    const QString beside = programFolder + QStringLiteral("/Quorvex.hlp");
    const QString installed =
        QDir::cleanPath(programFolder + QStringLiteral("/../share/quorvex/Quorvex.hlp"));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) return installed;
    return beside;
}

HelpViewer::HelpViewer() {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Quorvex Help"));
    setOpenLinks(true);
    setOpenExternalLinks(false);
    resize(560, 620);
}

bool HelpViewer::ShowContents(const QString& path) {
    // Shown first: a hidden text browser defers scrolling to an anchor until it
    // is shown, and would then undo the margin kept below.
    show();
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
    const QString title = document()->metaInformation(QTextDocument::DocumentTitle);
    if (!title.isEmpty()) setWindowTitle(title);
    ScrollToAnchor(QStringLiteral("contents"));
    return true;
}

void HelpViewer::ScrollToAnchor(const QString& name) {
    scrollToAnchor(name);
    // scrollToAnchor puts the anchor's line at the very top; keep the page's
    // margin above it, so that a page starting at the top of the file shows
    // from its first pixel.
    QScrollBar* bar = verticalScrollBar();
    const int margin = static_cast<int>(document()->documentMargin());
    bar->setValue(std::max(bar->minimum(), bar->value() - margin));
}

}  // namespace quorvex::platform
