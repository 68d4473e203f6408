// The program's main window: the structure form with a menu bar above it and
// a status line below, and the LEED screen window kept in step with it.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>

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

    // What an export draws: the form, and the screen as it is set up (its
    // window's picture size once it has been shown).
    ExportSource exportSource();
    // Asks for the view, the file and the options, then writes the file; a
    // failure is one message.
    void onExport();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void createMenus();
    void updateScreen();

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
