// The main window: its controls, the start-up, the update cycle and every
// event handler. Handlers read a control, call model/render, write controls.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <memory>

#include "model/Module1.h"
#include "platform/HelpViewer.h"
#include "platform/ImageSurface.h"

namespace quorvex::window {

using model::Long;

class PatternForm : public QWidget {
    Q_OBJECT
public:
    PatternForm();
    ~PatternForm() override;

    model::Module1& State() { return m_; }
    const model::Module1& State() const { return m_; }
    platform::ImageSurface& Canvas() { return *surface_; }
    // The help window, once "Help" has opened it.
    platform::HelpViewer* Help() const { return help_; }
    // How many update cycles have drawn (for tests of the redraw rules).
    int UpdateRuns() const { return updateRuns_; }
    int PatternRuns() const { return patternRuns_; }

    // The update cycle and the drawing procedures of the window.
    void UpdateAll(Long drawPattern, Long respectHold);
    void DrawPattern();
    void SelectActiveText();
    void ApplyCommonName(Long row);

    // Lists.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();

    // Number fields.
    void Text1_GotFocus();
    void Text1_KeyUp(int keyCode);
    void Text1_LostFocus();
    void Text2_GotFocus();
    void Text2_KeyUp(int keyCode);
    void Text2_LostFocus();
    void Text3_GotFocus();
    void Text3_KeyUp(int keyCode);
    void Text3_LostFocus();
    void Text6_GotFocus();
    void Text6_KeyUp(int keyCode);
    void Text6_LostFocus();
    void Text7_GotFocus();
    void Text7_KeyUp(int keyCode);
    void Text7_LostFocus();
    void Text8_GotFocus();
    void Text8_KeyUp(int keyCode);
    void Text8_LostFocus();
    void Text9_GotFocus();
    void Text9_KeyUp(int keyCode);
    void Text9_LostFocus();

    // Check boxes, buttons, the "Matrix" label and the window.
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command17_Click();
    void Label9_Click();
    void Form_Activate();

    // Size scroll bars.
    void VScroll1_Change();
    void VScroll1_Scroll();
    void VScroll2_Change();
    void VScroll2_Scroll();

    // Mouse editing, in twips.
    void Form_MouseDown(float x, float y);
    void Form_MouseMove(float x, float y);
    void Form_MouseUp(float x, float y);

    // Saved states.
    void Command18_MouseUp();
    void Command19_MouseUp();
    void Command20_MouseUp();

    // The help file beside the program.
    QString HelpFilePath() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ConnectControls();
    void Form_Load();
    void OnFocusChanged(QWidget* old, QWidget* now);
    void TextKeyUp(QLineEdit* field, int keyCode);
    void TextGotFocus(QLineEdit* field);
    void TextLostFocus(QLineEdit* field);

    // Field handling shared by the seven number fields.
    void ReadRealField(double& value, QLineEdit* field, const char* pattern, Long& invalid);
    void ReadIntegerField(Long& value, QLineEdit* field, const char* pattern, Long& invalid);
    void LengthEntered(double& value, QLineEdit* field, bool bFollowsA);
    void AlphaEntered();
    void MatrixEntered(Long& value, QLineEdit* field);
    void ShowMatrixFields();
    void ShowLatticeFields();
    void ShowAllowedGroups();
    void ShowLoadCaption();
    void SetLabel9Red(bool red);
    void SetRotation(double angle, double c, double s);
    void StepRotation(double degrees);
    void ApplyLatticeFieldVisibility();
    void DrawSamples();
    void DrawPreview(int bar);
    void SetCheck(QCheckBox* box, bool ticked);
    bool Ticked(const QCheckBox* box) const { return box->isChecked(); }
    bool InsideLatBox(float x, float y) const;
    bool InsidePatBox(float x, float y) const;
    double LatticeS(float x, float y) const;
    double LatticeT(float x, float y) const;
    void Message(const QString& text);

    model::Module1 m_;
    std::unique_ptr<platform::ImageSurface> surface_;
    int updateRuns_ = 0;
    int patternRuns_ = 0;
    bool loading_ = true;
    bool leftForOwnWindow_ = false;
    QPointer<platform::HelpViewer> help_;

public:
    // The controls, named as on the window (objectName is the same).
    QLabel *Label1{}, *Label2{}, *Label3{}, *Label4{}, *Label5{}, *Label6{}, *Label7{}, *Label8{},
        *Label9{}, *Label10{}, *Label11{}, *Label12{}, *Label13{}, *Label14{}, *Label15{},
        *Label16{}, *Label17{}, *Label18{}, *Label19{}, *Label20{};
    QComboBox *Combo1{}, *Combo2{}, *Combo3{};
    QLineEdit *Text1{}, *Text2{}, *Text3{}, *Text6{}, *Text7{}, *Text8{}, *Text9{};
    QCheckBox *Check1{}, *Check2{}, *Check3{}, *Check4{}, *Check5{};
    QPushButton *Command1{}, *Command2{}, *Command3{}, *Command4{}, *Command5{}, *Command6{},
        *Command7{}, *Command8{}, *Command9{}, *Command10{}, *Command11{}, *Command12{},
        *Command13{}, *Command14{}, *Command15{}, *Command16{}, *Command17{}, *Command18{},
        *Command19{}, *Command20{};
    QScrollBar *VScroll1{}, *VScroll2{};
};

}  // namespace quorvex::window
