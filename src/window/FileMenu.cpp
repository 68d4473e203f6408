// The File menu: structure files opened, saved and dropped on the window, the
// recent files, the question about unsaved changes, and the saved sets kept
// between sessions.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>

#include "model/AllowedGroups.h"
#include "model/CellAnalysis.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "window/MainWindow.h"

namespace quorvex::window {

namespace {

constexpr int kMostRecentFiles = 10;

QString SavedSetsPath() {
    return MainWindow::dataFolder() + QStringLiteral("/saved-sets.json");
}
QString RecentFilesPath() {
    return MainWindow::dataFolder() + QStringLiteral("/recent-files.json");
}

// A kept structure as the screen draws it, computed as the update computes
// the current one, in the view's rotation.
ScreenLayer KeptLayer(const files::KeptStructure& kept, const model::ViewSettings& view) {
    ScreenLayer layer;
    layer.structure = kept.structure;
    const model::CellVectors cell = model::ComputeCellVectors(kept.structure);
    const model::SuperlatticeAnalysis analysis = model::AnalyzeSuperlattice(cell.b1, cell.b2);
    const model::AllowedGroups groups =
        model::ComputeAllowedGroups(kept.structure, cell, analysis.latticeType);
    if (!groups.Allows(layer.structure.superGroup)) layer.structure.superGroup = model::kP1;
    layer.vectors = model::Rotated(cell, view, kept.structure.matrix);
    layer.pattern = model::ComputePattern(layer.vectors, layer.structure, view, groups);
    layer.visible = kept.visible;
    layer.name = StructureName(layer.structure);
    return layer;
}

// The one structure file among dragged things, or nothing.
QString DroppedStructureFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".qvx"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

QString MainWindow::dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void MainWindow::createFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    auto add = [this, file](const char* name, const QString& caption, QKeySequence keys) {
        QAction* action = file->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        return action;
    };
    connect(add("openAction", QStringLiteral("&Open\u2026"), QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, [this] { onOpen(); });
    connect(add("saveAction", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { onSave(); });
    connect(add("saveAsAction", QStringLiteral("Save &As\u2026"),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this, [this] { onSaveAs(); });
    file->addSeparator();
    connect(add("exportAction", QStringLiteral("&Export\u2026"), QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, this, [this] { onExport(); });
    recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
    recentMenu_->setObjectName(QStringLiteral("recentMenu"));
    file->addSeparator();
    connect(add("quitAction", QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, [this] { close(); });
    recentFiles_ = files::ReadRecentFiles(RecentFilesPath());
    showRecentMenu();
}

void MainWindow::showRecentMenu() {
    recentMenu_->clear();
    for (const QString& path : recentFiles_) {
        QAction* action = recentMenu_->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { onOpenRecent(path); });
    }
    recentMenu_->setEnabled(!recentFiles_.isEmpty());
}

void MainWindow::rememberRecent(const QString& path) {
    if (!recentFiles_.isEmpty() && recentFiles_.front() == path) return;
    recentFiles_.removeAll(path);
    recentFiles_.prepend(path);
    while (recentFiles_.size() > kMostRecentFiles) recentFiles_.removeLast();
    showRecentMenu();
    // Written once the window is drawn: a safe write waits for the disk.
    if (!recentFilesPending_) QTimer::singleShot(0, this, [this] { storeRecentFiles(); });
    recentFilesPending_ = true;
}

void MainWindow::storeRecentFiles() {
    if (!recentFilesPending_) return;
    recentFilesPending_ = false;
    files::WriteRecentFiles(RecentFilesPath(), recentFiles_);
}

files::StructureFileContents MainWindow::currentContents() const {
    const model::Document& d = form_->document();
    files::StructureFileContents c;
    c.structure = d.structure;
    c.view = d.view;
    c.screen = d.screen;
    if (screen_)
        for (const ScreenLayer& layer : screen_->keptLayers())
            c.kept.push_back({layer.structure, layer.visible});
    // The screen window holds the measured image once it exists.
    c.measuredImage = screen_ ? screen_->measuredImageState() : measuredImage_;
    return c;
}

void MainWindow::setMeasuredImage(const QJsonObject& state) {
    measuredImage_ = state;
    refreshModified();
}

bool MainWindow::openStructureFile(const QString& path, QString* error) {
    const files::ReadResult<files::StructureFileContents> read = files::ReadStructureFile(path);
    if (!read.value) {
        if (error) *error = read.error;
        return false;
    }
    const files::StructureFileContents& c = *read.value;
    form_->document().screen = c.screen;
    if (screen_) screen_->setSettings(c.screen);
    form_->showOpenedStructure(c.structure, c.view);
    if (!c.kept.empty() || screen_) {
        std::vector<ScreenLayer> kept;
        for (const files::KeptStructure& k : c.kept) kept.push_back(KeptLayer(k, c.view));
        screen().setKeptLayers(std::move(kept));
    }
    measuredImage_ = c.measuredImage;
    // A measured image that cannot be opened is said; the rest of the file
    // still opens, and its levels and calibration wait for the image.
    QString imageProblem;
    if (!c.measuredImage.isEmpty() || screen_)
        if (!screen().setMeasuredImageState(c.measuredImage, QFileInfo(path).absolutePath(),
                                            &imageProblem) &&
            error)
            *error = imageProblem;
    currentFile_ = QFileInfo(path).absoluteFilePath();
    savedContents_ = currentContents();
    refreshModified();
    rememberRecent(currentFile_);
    return true;
}

bool MainWindow::saveStructureFile(const QString& path, QString* error) {
    const files::StructureFileContents contents = currentContents();
    if (!files::WriteStructureFile(path, contents, error)) return false;
    currentFile_ = QFileInfo(path).absoluteFilePath();
    savedContents_ = contents;
    refreshModified();
    rememberRecent(currentFile_);
    return true;
}

void MainWindow::refreshModified() {
    setWindowModified(!(currentContents() == savedContents_));
    updateTitle();
}

void MainWindow::updateTitle() {
    // The form's own title first, as the window has always shown it.
    const QString name = currentFile_.isEmpty()
                             ? QString()
                             : QStringLiteral("- ") + QFileInfo(currentFile_).fileName();
    setWindowTitle(form_->windowTitle() + name + QStringLiteral("[*]"));
}

void MainWindow::openWithMessage(const QString& path) {
    QString error;
    openStructureFile(path, &error);
    // A refused file, or one whose measured image is missing.
    if (!error.isEmpty()) platform::ShowMessage(error);
}

void MainWindow::onOpen() {
    if (!maybeSave()) return;
    const QString folder =
        currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).absolutePath();
    const QString path =
        platform::AskForStructureFile(this, platform::FileDialogKind::Open, folder);
    if (!path.isEmpty()) openWithMessage(path);
}

bool MainWindow::onSave() {
    if (currentFile_.isEmpty()) return onSaveAs();
    QString error;
    if (saveStructureFile(currentFile_, &error)) return true;
    platform::ShowMessage(error);
    return false;
}

bool MainWindow::onSaveAs() {
    const QString suggestion =
        currentFile_.isEmpty() ? QDir::homePath() + QStringLiteral("/structure.qvx") : currentFile_;
    QString path =
        platform::AskForStructureFile(this, platform::FileDialogKind::SaveAs, suggestion);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".qvx");
    QString error;
    if (saveStructureFile(path, &error)) return true;
    platform::ShowMessage(error);
    return false;
}

void MainWindow::onOpenRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        recentFiles_.removeAll(path);
        recentFilesPending_ = true;
        storeRecentFiles();
        showRecentMenu();
        platform::ShowMessage(
            path + QStringLiteral("\nno longer exists; it is taken off the recent files."));
        return;
    }
    if (!maybeSave()) return;
    openWithMessage(path);
}

bool MainWindow::maybeSave() {
    refreshModified();  // the measured image's panel changes the state too
    if (!isWindowModified()) return true;
    const QString name = currentFile_.isEmpty() ? QStringLiteral("The structure")
                                                : QFileInfo(currentFile_).fileName();
    switch (
        platform::AskAboutUnsavedChanges(name + QStringLiteral(" has changes that are not saved.\n"
                                                               "Save them?"))) {
        case platform::UnsavedChoice::Save:
            return onSave();
        case platform::UnsavedChoice::Discard:
            return true;
        case platform::UnsavedChoice::Cancel:
            break;
    }
    return false;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedStructureFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedStructureFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    if (maybeSave()) openWithMessage(path);
}

void MainWindow::restoreSavedSets() {
    const QString path = SavedSetsPath();
    if (!QFileInfo::exists(path)) return;
    const std::optional<std::vector<model::SavedState>> sets = files::ReadSavedSets(path);
    // A damaged store starts the session empty, without a word, and stays as
    // it is until the user saves a set.
    savedSetsStoreWritable_ = sets.has_value();
    if (sets) form_->restoreSavedSets(*sets);
}

void MainWindow::storeSavedSets() {
    const model::SavedStates& sets = form_->document().saved;
    if (sets.Count() > 0) savedSetsStoreWritable_ = true;
    if (savedSetsStoreWritable_) files::WriteSavedSets(SavedSetsPath(), sets);
}

}  // namespace quorvex::window
