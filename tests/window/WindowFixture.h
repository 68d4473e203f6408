// Windows built for a test: their messages captured instead of shown, their
// controls found by their object names and driven as a user drives them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointF>
#include <QTest>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/FormLayout.h"
#include "platform/MessageBox.h"
#include "window/MainWindow.h"
#include "window/StructureForm.h"

namespace quorvex::testing {

// A superlattice matrix as m11, m12, m21, m22.
using Matrix = std::array<int, 4>;
inline constexpr Matrix kIdentity{1, 0, 0, 1};

// A list row as it is stored and shown: padded with blanks to its fixed width.
inline std::string Padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// Finds the controls of a window by their object names and drives them as a
// user does.
class ControlDriver {
  public:
    virtual ~ControlDriver() = default;

  protected:
    virtual QWidget& Root() = 0;

    // The control with this object name; a missing one fails the test.
    template <typename T = QWidget>
    T* Find(const char* name) {
        T* control = Root().findChild<T*>(QString::fromLatin1(name));
        if (!control) throw std::runtime_error(std::string("no control named ") + name);
        return control;
    }
    void Click(const char* button) { Find<QAbstractButton>(button)->click(); }
    // A real click: Save, Load, Clear and the matrix label act on the release.
    void MouseClick(const char* name, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(Find(name), b);
    }
    void Tick(const char* box, bool ticked = true) { Find<QCheckBox>(box)->setChecked(ticked); }
    // Types into a field and confirms with Enter.
    void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void Type(const char* field, const QString& text) { Type(Find<QLineEdit>(field), text); }
    // Chooses a row of a list as a user would; by text, the first row containing it.
    void Choose(QComboBox* list, int row) {
        list->setCurrentIndex(row);
        emit list->activated(row);
    }
    void Choose(QComboBox* list, const QString& text) {
        const int row = list->findText(text, Qt::MatchContains);
        EXPECT_GE(row, 0) << "no row " << text.toStdString();
        Choose(list, row);
    }
    void Choose(const char* list, int row) { Choose(Find<QComboBox>(list), row); }
    void Choose(const char* list, const QString& text) { Choose(Find<QComboBox>(list), text); }
    int Row(const char* list) { return Find<QComboBox>(list)->currentIndex(); }

    // A label's or a field's text, a button's caption, a list's shown row.
    std::string Text(const char* name) {
        QWidget* w = Find(name);
        if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText().toStdString();
        return w->property("text").toString().toStdString();
    }
};

// The structure window on its own.
class WindowTest : public ::testing::Test, protected ControlDriver {
  protected:
    using Part = window::StructureForm::PatternPart;
    using Hold = window::StructureForm::Hold;

    void SetUp() override {
        platform::SetMessageHandler(
            [this](const QString& t) { messages.push_back(t.toStdString()); });
        Restart();
    }
    void TearDown() override {
        win.reset();
        platform::SetMessageHandler({});
    }
    // A fresh window, for each row of a table.
    void Restart() {
        win.reset();
        messages.clear();
        win = std::make_unique<window::StructureForm>();
    }
    // Shows the window and waits until it is the active window.
    void ShowActive() {
        win->show();
        win->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
        QTest::qWait(20);  // let the activation's own redraw finish
    }

    QWidget& Root() override { return *win; }
    window::StructureForm& W() { return *win; }
    model::Structure& S() { return win->document().structure; }
    model::ViewSettings& V() { return win->document().view; }
    model::DerivedState& Derived() { return win->document().derived; }
    void Update() { W().updateAll(Part::Draw, Hold::End); }

    // Which of the controls would be seen; which of the check boxes are ticked.
    std::vector<bool> Shown(std::initializer_list<const char*> names) {
        std::vector<bool> shown;
        for (const char* n : names) shown.push_back(!Find(n)->isHidden());
        return shown;
    }
    static constexpr const char* kBoxes[] = {"include1x1Box", "paintDomainsBox",
                                             "includeDomainsBox", "includeBasesBox",
                                             "constrainedBox"};
    std::vector<bool> Ticked() {
        std::vector<bool> ticked;
        for (const char* n : kBoxes) ticked.push_back(Find<QCheckBox>(n)->isChecked());
        return ticked;
    }
    bool Red(const char* label) {
        return Find(label)->palette().color(QPalette::Window) == QColor(255, 0, 0);
    }

    static constexpr const char* kMatrixFields[] = {"matrixField11", "matrixField12",
                                                    "matrixField21", "matrixField22"};
    Matrix Mat() { return {S().matrix.m11, S().matrix.m12, S().matrix.m21, S().matrix.m22}; }
    Matrix Fields() {
        Matrix shown{};
        for (int i = 0; i < 4; ++i) shown[i] = Find<QLineEdit>(kMatrixFields[i])->text().toInt();
        return shown;
    }
    void SetMatrix(const Matrix& m) { S().matrix = {m[0], m[1], m[2], m[3]}; }

    model::Rgb Pixel(double xTwips, double yTwips) { return W().canvas().PixelAt(xTwips, yTwips); }
    // The two boxes of the canvas in pixels, to tell which side a control redrew.
    static inline const QRect kLatticePixels{16, 312, 233, 233}, kPatternPixels{304, 312, 233, 233};
    QImage Picture() { return W().canvas().Image().copy(); }
    bool Kept(const QImage& before, const QRect& box) {
        return before.copy(box) == W().canvas().Image().copy(box);
    }

    // Twip position of the lattice point i a1 + j a2 as the lattice box draws it.
    QPointF LatticePoint(double i, double j) {
        const model::CellVectors& v = Derived().vectors;
        const double scale = Derived().latticeScale;
        return {model::kLatticeBox.CentreX() + (i * v.a1.x + j * v.a2.x) * scale,
                model::kLatticeBox.CentreY() - (i * v.a1.y + j * v.a2.y) * scale};
    }

    std::unique_ptr<window::StructureForm> win;
    std::vector<std::string> messages;
};

// The main window: the structure window inside it with the menu bar, and the
// LEED screen window beside it.
class MainWindowTest : public ::testing::Test, protected ControlDriver {
  protected:
    void SetUp() override {
        platform::SetMessageHandler([this](const QString& t) { messages.push_back(t); });
        Restart();
    }
    void TearDown() override {
        main.reset();
        platform::SetMessageHandler({});
    }
    void Restart() {
        main.reset();
        main = std::make_unique<window::MainWindow>();
    }
    QWidget& Root() override { return *main; }
    window::StructureForm& F() { return main->form(); }
    window::ScreenWindow& Scr() { return main->screen(); }

    std::unique_ptr<window::MainWindow> main;
    std::vector<QString> messages;
};

}  // namespace quorvex::testing
