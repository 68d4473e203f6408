// A small help window of ours that shows the help file at its contents page.
#pragma once

#include <QString>
#include <QTextBrowser>

namespace quorvex::platform {

// The help file for a program in this folder: beside it (the build tree),
// or in ../share/quorvex (an installed program); the one beside it when
// there is neither, so that a message can name where it should be.
QString FindHelpFile(const QString& programFolder);

class HelpViewer : public QTextBrowser {
    Q_OBJECT
  public:
    HelpViewer();
    // Shows the window with the file at its contents; a missing or unreadable
    // file shows a message naming the path instead of a blank window. Returns
    // whether the file could be shown.
    bool ShowContents(const QString& path);

  private:
    void ScrollToAnchor(const QString& name);
};

}  // namespace quorvex::platform
