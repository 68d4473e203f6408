// A main window built for a test, with its messages captured instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/MessageBox.h"
#include "window/PatternForm.h"

namespace quorvex::testing {

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetMessageHandler(
            [this](const QString& text) { messages.push_back(text.toStdString()); });
        Restart();
    }
    void TearDown() override {
        form.reset();
        platform::SetMessageHandler({});
    }

    // A fresh window, for each row of a table.
    void Restart() {
        form.reset();
        messages.clear();
        form = std::make_unique<window::PatternForm>();
    }

    // Shows the window and waits until it is the active window.
    void ShowActive() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::qWait(20);  // let the activation's own redraw finish
    }

    window::PatternForm& F() { return *form; }
    model::Module1& M() { return form->State(); }

    void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // Chooses a row of a list as a user would.
    void Choose(QComboBox* list, int row) {
        list->setCurrentIndex(row);
        emit list->activated(row);
    }

    model::Rgb Pixel(double xTwips, double yTwips) {
        return form->Canvas().PixelAt(xTwips, yTwips);
    }

    std::string Text(const QLabel* l) const { return l->text().toStdString(); }
    std::string Text(const QLineEdit* e) const { return e->text().toStdString(); }
    std::string Text(const QAbstractButton* b) const { return b->text().toStdString(); }
    std::string Text(const QComboBox* c) const { return c->currentText().toStdString(); }

    // The matrix as M11, M12, M21, M22: in the state, in the fields (Text6, Text8, Text7, Text9).
    using Matrix = std::array<int, 4>;
    Matrix Mat() { return {M().M11, M().M12, M().M21, M().M22}; }
    Matrix Fields() {
        return {F().Text6->text().toInt(), F().Text8->text().toInt(), F().Text7->text().toInt(),
                F().Text9->text().toInt()};
    }
    void SetMatrix(const Matrix& m) {
        std::tie(M().M11, M().M12, M().M21, M().M22) = std::tie(m[0], m[1], m[2], m[3]);
    }

    // Which of the widgets would be seen, and which of the five check boxes are ticked.
    std::vector<bool> Shown(std::initializer_list<QWidget*> widgets) {
        std::vector<bool> shown;
        for (QWidget* w : widgets) shown.push_back(!w->isHidden());
        return shown;
    }
    std::vector<bool> Ticked() {
        return {F().Check1->isChecked(), F().Check2->isChecked(), F().Check3->isChecked(),
                F().Check4->isChecked(), F().Check5->isChecked()};
    }

    // The two boxes of the canvas in pixels, to tell which side a control redrew.
    static inline const QRect kLatticeBox{16, 312, 233, 233};
    static inline const QRect kPatternBox{304, 312, 233, 233};
    QImage Picture() { return F().Canvas().Image().copy(); }
    bool Kept(const QImage& before, const QRect& box) {
        return before.copy(box) == F().Canvas().Image().copy(box);
    }

    std::unique_ptr<window::PatternForm> form;
    std::vector<std::string> messages;
};

// A list row as it is stored and shown: padded with blanks to its fixed length.
inline std::string Padded(const std::string& text, std::size_t length) {
    std::string s = text;
    s.resize(length, ' ');
    return s;
}

}  // namespace quorvex::testing
