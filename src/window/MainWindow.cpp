#include "window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>

#include "model/CommonNames.h"
#include "platform/MessageBox.h"
#include "window/ExportDialog.h"

namespace quorvex::window {

QString StructureName(const model::Structure& s) {
    const model::SuperlatticeMatrix& m = s.matrix;
    if (s.commonNameRow > 0 && s.commonNameRow < model::kCommonNameCount &&
        model::kCommonNames[s.commonNameRow].matrix == m) {
        std::string name(model::kCommonNames[s.commonNameRow].name);
        name = name.substr(0, name.find(" {"));
        return QString::fromStdString(name);
    }
    return QStringLiteral("(%1 %2 / %3 %4)").arg(m.m11).arg(m.m12).arg(m.m21).arg(m.m22);
}

MainWindow::MainWindow() {
    setObjectName(QStringLiteral("mainWindow"));
    form_ = new StructureForm();
    setCentralWidget(form_);
    setWindowTitle(form_->windowTitle());
    createMenus();
    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("patternReadout"));
    readout_->setTextFormat(Qt::RichText);
    statusBar()->addWidget(readout_, 1);
    statusBar()->setSizeGripEnabled(false);
    // The form keeps its own fixed size; the window fits around it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(form_, &StructureForm::patternChanged, this, [this] { updateScreen(); });
    connect(form_, &StructureForm::spotUnderPointer, this, [this](const QString& text, bool pinned) {
        readout_->setText(pinned && !text.isEmpty() ? QStringLiteral("\U0001F4CC ") + text : text);
    });
    // A structure file dropped anywhere on the window opens: the fields take no drops.
    setAcceptDrops(true);
    for (QLineEdit* field : form_->findChildren<QLineEdit*>()) field->setAcceptDrops(false);
    restoreSavedSets();
    savedContents_ = currentContents();
    connect(form_, &StructureForm::documentEdited, this, [this] { refreshModified(); });
    connect(form_, &StructureForm::savedSetsChanged, this, [this] { storeSavedSets(); });
    updateTitle();
}

MainWindow::~MainWindow() {
    storeRecentFiles();
    if (screen_) delete screen_;
}

void MainWindow::createMenus() {
    createFileMenu();
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* screenAction = view->addAction(QStringLiteral("&LEED screen"));
    screenAction->setObjectName(QStringLiteral("screenAction"));
    screenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(screenAction, &QAction::triggered, this, [this] { showScreen(); });
}

ScreenWindow& MainWindow::screen() {
    if (!screen_) {
        screen_ = new ScreenWindow();
        screen_->setSettings(form_->document().screen);
        connect(screen_, &ScreenWindow::settingsChanged, this, [this] {
            form_->document().screen = screen_->settings();
            refreshModified();
        });
        updateScreen();
    }
    return *screen_;
}

void MainWindow::showScreen() {
    ScreenWindow& s = screen();
    s.show();
    s.raise();
    s.activateWindow();
}

ScreenLayer MainWindow::CurrentLayer() const {
    const model::Document& d = form_->document();
    ScreenLayer layer;
    layer.structure = d.structure;
    layer.structure.options.include1x1 = form_->include1x1Box->isChecked();
    layer.structure.options.paintDomains = form_->paintDomainsBox->isChecked();
    layer.structure.options.includeDomains = form_->includeDomainsBox->isChecked();
    layer.vectors = d.derived.vectors;
    layer.pattern = d.derived.pattern;
    layer.name = StructureName(d.structure);
    return layer;
}

ExportSource MainWindow::exportSource() {
    ExportSource source;
    source.form = form_;
    source.screen = form_->document().screen;
    if (screen_) {
        source.screenLayers = screen_->layers();
        if (screen_->isVisible()) source.screenSize = screen_->view->size();
        if (screen_->measuredImage()) {
            const QPointer<ScreenWindow> screen = screen_;
            source.measuredScene = [screen](QPainter& p, const QRectF& target) {
                if (screen) screen->paintMeasuredScene(p, target);
            };
        }
    } else if (form_->document().derived.patternValid) {
        source.screenLayers.push_back(CurrentLayer());
    }
    return source;
}

void MainWindow::onExport() {
    ExportDialog dialog(this);
    dialog.setOptions(lastExport_);
    if (lastExportPath_.isEmpty())
        lastExportPath_ = QDir::home().filePath(QStringLiteral("quorvex-pattern.png"));
    dialog.setFileName(lastExportPath_);
    if (dialog.exec() != QDialog::Accepted) return;
    lastExport_ = dialog.options();
    lastExportPath_ = dialog.fileName();
    QString error;
    if (!ExportToFile(exportSource(), lastExport_, lastExportPath_, &error))
        platform::ShowMessage(error);
}

void MainWindow::updateScreen() {
    if (!screen_) return;
    if (!form_->document().derived.patternValid) {
        screen_->showNothing(QStringLiteral("Superlattice too large"));
        return;
    }
    screen_->showStructure(CurrentLayer());
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) form_->windowActivationChanged(isActiveWindow());
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    form_->closeOwnWindows();
    if (screen_) screen_->close();
    QMainWindow::closeEvent(event);
}

}  // namespace quorvex::window
