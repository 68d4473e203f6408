// Structure files through the main window: the File menu, opening as Load
// shows a saved set, bad files that change nothing, the title's modified
// mark, the question about unsaved changes, recent files, the example files,
// and the saved sets kept between sessions.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "WindowFixture.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "window/MainWindow.h"

namespace quorvex::testing {
namespace {

using platform::UnsavedChoice;

// The main window with its questions and file dialogs answered by the test,
// and no saved sets or recent files from an earlier session.
class StructureFilesTest : public MainWindowTest {
  protected:
    void SetUp() override {
        QDir(window::MainWindow::dataFolder()).removeRecursively();
        platform::SetUnsavedChangesHandler([this](const QString& question) {
            questions.push_back(question);
            return answer;
        });
        platform::SetFileDialogHandler([this](platform::FileDialogKind, const QString&) {
            ++dialogs;
            return chosenFile;
        });
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        platform::SetUnsavedChangesHandler({});
        platform::SetFileDialogHandler({});
    }
    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
    // Everything a user sees of the form: the picture and every caption and field.
    struct Seen {
        QImage picture;
        QStringList texts;
        bool operator==(const Seen&) const = default;
    };
    Seen Look() {
        Seen seen{F().canvas().Image().copy(), {}};
        for (QWidget* w : F().findChildren<QWidget*>()) {
            QString line = w->objectName() + QStringLiteral(": ") + w->property("text").toString();
            if (auto* list = qobject_cast<QComboBox*>(w)) line += list->currentText();
            if (auto* box = qobject_cast<QCheckBox*>(w)) line += box->isChecked() ? "[x]" : "[ ]";
            line += w->isHidden() ? QStringLiteral(" hidden") : QString();
            seen.texts.append(line);
        }
        return seen;
    }
    // All but the Load button's caption, which counts the saved sets.
    static QStringList WithoutLoadCaption(QStringList texts) {
        texts.removeIf([](const QString& t) { return t.startsWith("loadButton:"); });
        return texts;
    }
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QString SaveTo(const char* name) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QString error;
        EXPECT_TRUE(main->saveStructureFile(path, &error)) << error.toStdString();
        return path;
    }
    QByteArray Contents(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    // An oblique cell on c(2x2) with everything ticked, turned by 20 degrees.
    void MakeObliqueState() {
        Choose("basicGroupList", "Oblique p2");
        Type("lengthAField", "2.5");
        Type("alphaField", "-70");
        Choose("commonNameList", "c(2x2)");
        for (const char* box : {"includeDomainsBox", "paintDomainsBox", "includeBasesBox"})
            Tick(box);
        Tick("constrainedBox", false);
        Choose("superGroupList", "Oblique p2");
        F().onRotateRight();
        F().onRotateRight();
        F().onPatternZoomOut();
    }
    void MakeOtherState() {
        Choose("basicGroupList", "p6mm (p6m)");
        Choose("commonNameList", "(r7xr7)");
        Tick("include1x1Box", false);
    }

    QTemporaryDir dir;
    std::vector<QString> questions;
    UnsavedChoice answer = UnsavedChoice::Cancel;
    QString chosenFile;
    int dialogs = 0;
};

// Opening a file brings back every caption, field and pixel as they were
// when it was saved, with one update; the saved sets' test does the same for Load.
TEST_F(StructureFilesTest, OpeningShowsTheWindowAsItWasSaved) {
    MakeObliqueState();
    const Seen saved = Look();
    const QString path = SaveTo("oblique.qvx");
    MakeOtherState();
    const int updates = F().updateRuns();
    QString error;
    ASSERT_TRUE(main->openStructureFile(path, &error)) << error.toStdString();
    EXPECT_EQ(F().updateRuns(), updates + 1);
    EXPECT_EQ(Look().texts, saved.texts);
    EXPECT_TRUE(Look().picture == saved.picture);
    EXPECT_TRUE(messages.empty());
}

// A file refused late, in the screen's kept list after a good structure,
// changes nothing; the file reader's own tests have every kind of bad file and
// its message, and the window reads a whole file before it shows any of it.
TEST_F(StructureFilesTest, BadFilesChangeNothing) {
    const QString good = Write("good.qvx", R"J({"format": "quorvex-structure", "version": 1,
        "structure": {"commonName": "p(2x2)"}})J");
    const QString large = Write("large.qvx", R"J({"format": "quorvex-structure", "version": 1,
        "structure": {"commonName": "c(2x2)"},
        "screen": {"kept": [{"structure": {"matrix": [[30, 0], [0, 1]]}}]}})J");
    QString error;
    ASSERT_TRUE(main->openStructureFile(good, &error));
    MakeObliqueState();  // unsaved changes on top of the open file
    const Seen before = Look();
    const files::StructureFileContents contents = main->currentContents();
    const QString title = main->windowTitle();
    EXPECT_FALSE(main->openStructureFile(large, &error));
    EXPECT_EQ(error, "large.qvx: screen.kept[0].structure.matrix: Superlattice too large");
    EXPECT_TRUE(Look() == before);
    EXPECT_TRUE(main->currentContents() == contents);
    EXPECT_EQ(std::tuple(main->windowTitle(), main->isWindowModified(), main->currentFile()),
              std::tuple(title, true, good));
    EXPECT_TRUE(messages.empty());
    // Through the menu: one message, the same.
    answer = UnsavedChoice::Discard;
    chosenFile = large;
    Trigger("openAction");
    EXPECT_EQ(messages, std::vector<QString>{error});
    EXPECT_TRUE(Look() == before);
}

TEST_F(StructureFilesTest, TitleShowsTheFileAndItsChanges) {
    EXPECT_FALSE(main->isWindowModified());
    Choose("commonNameList", "c(2x2)");
    EXPECT_TRUE(main->isWindowModified());
    // Save of an untitled structure asks for a name; the extension is added.
    chosenFile = dir.filePath("first");
    Trigger("saveAction");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(main->currentFile(), dir.filePath("first.qvx"));
    EXPECT_EQ(main->windowTitle(), "Quorvex version 1.2 - first.qvx[*]");
    EXPECT_FALSE(main->isWindowModified());

    // Every kind of change marks the title (the form's update, the size bars, the
    // options, the screen's settings), and going back to the saved state clears it.
    const std::function<void()> changes[] = {
        [&] {
            main->screen().energyField->setText("250");
            emit main->screen().energyField->editingFinished();
        },
        [&] { F().onLatticeZoomIn(); },
        [&] { Find<QScrollBar>("spotSizeBar")->setValue(20); },
        [&] { Tick("constrainedBox", false); },
        [&] { Type("matrixField11", "3"); },
    };
    for (const auto& change : changes) {
        QString error;
        ASSERT_TRUE(main->openStructureFile(main->currentFile(), &error));
        ASSERT_FALSE(main->isWindowModified());
        change();
        EXPECT_TRUE(main->isWindowModified());
    }
    // Back to the saved state (the last change only typed a matrix entry): no changes.
    Choose("commonNameList", "c(2x2)");
    EXPECT_FALSE(main->isWindowModified());
    // Save keeps the name.
    Choose("commonNameList", "p(2x2)");
    Trigger("saveAction");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(files::ReadStructureFile(dir.filePath("first.qvx")).value->structure.commonNameRow,
              4);
}

// Closing or opening another file with unsaved changes asks; Cancel keeps all.
TEST_F(StructureFilesTest, UnsavedChangesAreAskedAbout) {
    const QString other = Write("other.qvx", R"J({"format": "quorvex-structure", "version": 1})J");
    // Nothing to ask about before a change.
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(questions.empty());
    struct Case {
        UnsavedChoice answer;
        const char* chosen;  // for Save of an untitled structure; empty cancels the dialog
        bool closes;
    };
    const Case cases[] = {{UnsavedChoice::Cancel, "", false},
                          {UnsavedChoice::Discard, "", true},
                          {UnsavedChoice::Save, "", false},
                          {UnsavedChoice::Save, "saved.qvx", true}};
    for (const Case& c : cases) {
        Restart();
        questions.clear();
        MakeObliqueState();
        answer = c.answer;
        chosenFile = *c.chosen ? dir.filePath(QString::fromLatin1(c.chosen)) : QString();
        const files::StructureFileContents before = main->currentContents();
        EXPECT_EQ(main->close(), c.closes);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0], "The structure has changes that are not saved.\nSave them?");
        EXPECT_TRUE(c.closes || main->currentContents() == before);  // kept unless closed
    }
    EXPECT_EQ(files::ReadStructureFile(dir.filePath("saved.qvx")).value, main->currentContents());

    // Opening another file: Cancel keeps the changes, Save writes them first.
    MakeOtherState();
    questions.clear();
    answer = UnsavedChoice::Cancel;
    chosenFile = other;
    const files::StructureFileContents edited = main->currentContents();
    Trigger("openAction");
    EXPECT_EQ(dialogs, 2);  // only the Save As of the table asked for a file
    EXPECT_TRUE(main->currentContents() == edited);
    answer = UnsavedChoice::Save;
    Trigger("openAction");
    EXPECT_EQ(questions,
              (std::vector<QString>(2, "saved.qvx has changes that are not saved.\nSave them?")));
    EXPECT_EQ(files::ReadStructureFile(dir.filePath("saved.qvx")).value, edited);
    EXPECT_EQ(main->currentFile(), other);
    EXPECT_EQ(main->currentContents().structure, model::Structure{});
}

TEST_F(StructureFilesTest, SavedSetsComeBackInTheNextSession) {
    const QString store = window::MainWindow::dataFolder() + "/saved-sets.json";
    Choose("commonNameList", "c(2x2)");
    F().onSave();
    MakeObliqueState();
    F().onSave();
    const Seen oblique = Look();
    Restart();
    EXPECT_EQ(Text("loadButton"), "Load (1/2)");
    F().onLoad();
    EXPECT_EQ(WithoutLoadCaption(Look().texts), WithoutLoadCaption(oblique.texts));
    EXPECT_TRUE(Look().picture == oblique.picture);
    F().onLoad();
    EXPECT_EQ(Text("commonNameList"), Padded("c(2x2)", 30));
    // Clear is kept too.
    F().onClear();
    Restart();
    EXPECT_EQ(Text("loadButton"), "Load (0/0)");

    // A damaged store: an empty ring, no message, and the store kept as it is
    // until a set is saved.
    QFile damaged(store);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": \"quorvex-saved-sets\", \"sets\": [");
    damaged.close();
    Restart();
    EXPECT_EQ(Text("loadButton"), "Load (0/0)");
    F().onClear();
    EXPECT_EQ(Contents(store), "{\"format\": \"quorvex-saved-sets\", \"sets\": [");
    F().onSave();
    Restart();
    EXPECT_EQ(Text("loadButton"), "Load (1/1)");
    EXPECT_TRUE(messages.empty());
}

// The files opened are kept in the recent files, and pruned when they are gone.
TEST_F(StructureFilesTest, RecentFilesAreKeptAndPruned) {
    const QString a = Write("a.qvx", R"J({"format": "quorvex-structure", "version": 1})J");
    const QString b = Write("b.qvx", R"J({"format": "quorvex-structure", "version": 1})J");
    QString error;
    for (const QString& path : {a, b, a, b}) ASSERT_TRUE(main->openStructureFile(path, &error));
    Restart();
    EXPECT_EQ(main->recentFiles(), (QStringList{b, a}));
    QStringList shown;
    for (QAction* action : Find<QMenu>("recentMenu")->actions()) shown << action->text();
    EXPECT_EQ(shown, (QStringList{"b.qvx", "a.qvx"}));
    // Chosen from the menu: opened; gone from the disk: a message, and taken off.
    Find<QMenu>("recentMenu")->actions()[1]->trigger();
    EXPECT_EQ(main->currentFile(), a);
    QFile::remove(b);
    Find<QMenu>("recentMenu")->actions()[1]->trigger();
    EXPECT_EQ(messages,
              (std::vector<QString>{b + "\nno longer exists; it is taken off the recent files."}));
    EXPECT_EQ(main->currentFile(), a);
    Restart();
    EXPECT_EQ(main->recentFiles(), QStringList{a});
}

// The example files open without a word and save again byte for byte:
// nothing in them is lost, added or out of date.
TEST_F(StructureFilesTest, ExamplesOpenAndSaveAgainUnchanged) {
    for (const char* file : {"p4mm-c2x2.qvx", "p6mm-r3xr3R30-domains.qvx", "p2mg-2x1-glides.qvx",
                             "p6mm-19-1-3-17.qvx"}) {
        const QString example = QStringLiteral(QUORVEX_EXAMPLES_DIR "/") + file;
        QString error;
        ASSERT_TRUE(main->openStructureFile(example, &error)) << file;
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(Contents(SaveTo(file)), Contents(example)) << file;
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace quorvex::testing
