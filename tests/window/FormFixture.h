// A main window built for a test, with its messages captured instead of shown.
#pragma once

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "window/PatternForm.h"

namespace quorvex::testing {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetMessageHandler([this](const QString& text) {
            messages.push_back(text.toStdString());
        });
        form = std::make_unique<window::PatternForm>();
    }
    void TearDown() override {
        form.reset();
        platform::SetMessageHandler({});
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

    // Types into a field and presses Enter there.
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

    model::Rgb Pixel(double xTwips, double yTwips) { return form->Canvas().PixelAt(xTwips, yTwips); }

    std::string Text(const QLabel* l) const { return l->text().toStdString(); }
    std::string Text(const QLineEdit* e) const { return e->text().toStdString(); }
    std::string Text(const QAbstractButton* b) const { return b->text().toStdString(); }
    std::string Text(const QComboBox* c) const { return c->currentText().toStdString(); }

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
