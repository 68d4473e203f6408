// The program's main window: the structure form with a menu bar above it and
// a status line below, and the LEED screen window kept in step with it.
#pragma once

#include <QJsonObject>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>

#include "files/StructureFile.h"
#include "window/PictureExport.h"
#include "window/ScreenWindow.h"
#include "window/StructureForm.h"

namespace quorvex::window {

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow();
    ~MainWindow() override;

    StructureForm& form() { return *form_; }
    // The LEED screen window, made when it is first shown.
    ScreenWindow& screen();
    bool screenShown() const { return screen_ && screen_->isVisible(); }
    void showScreen();

    // The current structure as the screen shows it.
    ScreenLayer CurrentLayer() const;

    // Opens a structure file as Load shows a saved set. No dialogs: on failure
    // false and the one-line message, and the window is as it was. Opened, but
    // with a measured image that cannot be found: true, and its message.
    bool openStructureFile(const QString& path, QString* error);
    // Saves the window's structure to a file (atomically); it becomes the current file.
    bool saveStructureFile(const QString& path, QString* error);
    // What a structure file of the window holds now.
    files::StructureFileContents currentContents() const;
    // The open file; empty for a structure not yet saved.
    QString currentFile() const { return currentFile_; }
    QStringList recentFiles() const { return recentFiles_; }
    // The measured image's state as a file keeps it (opaque here).
    const QJsonObject& measuredImage() const { return measuredImage_; }
    void setMeasuredImage(const QJsonObject& state);
    // Where the saved sets and the recent files are kept between sessions.
    static QString dataFolder();
    // What an export draws: the form, and the screen as it is set up (its
    // window's picture size once it has been shown).
    ExportSource exportSource();
    // Asks for the view, the file and the options, then writes the file; a
    // failure is one message.
    void onExport();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createMenus();
    void createFileMenu();
    void updateScreen();

    // The File menu's actions.
    void onOpen();
    bool onSave();
    bool onSaveAs();
    void onOpenRecent(const QString& path);
    // Asks what to do with unsaved changes; false when the user cancels.
    bool maybeSave();
    void openWithMessage(const QString& path);
    void refreshModified();
    void updateTitle();
    void rememberRecent(const QString& path);
    void storeRecentFiles();
    void showRecentMenu();
    void restoreSavedSets();
    void storeSavedSets();

    QString currentFile_;
    files::StructureFileContents savedContents_;
    QJsonObject measuredImage_;
    QStringList recentFiles_;
    bool recentFilesPending_ = false;
    // A damaged store of saved sets is kept until the user saves a set.
    bool savedSetsStoreWritable_ = true;
    QMenu* recentMenu_{};

    StructureForm* form_{};
    QPointer<ScreenWindow> screen_;
    QLabel* readout_{};
    // The last export's choices, offered again.
    ExportOptions lastExport_;
    QString lastExportPath_;
};

// The structure's name for lists: its Wood's name, or its matrix.
QString StructureName(const model::Structure& structure);

}  // namespace quorvex::window
