#include "window/PatternForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "model/FieldReaders.h"
#include "model/Layout.h"
#include "model/Store.h"
#include "platform/MessageBox.h"

namespace quorvex::window {

using model::RGB;

namespace {

constexpr double kTwips = model::TwipsPerPixel;

QRect TwipRect(int left, int top, int width, int height) {
    return QRect(static_cast<int>(left / kTwips + 0.5), static_cast<int>(top / kTwips + 0.5),
                 static_cast<int>(width / kTwips + 0.5), static_cast<int>(height / kTwips + 0.5));
}

template <typename T>
T* Make(QWidget* parent, const char* name, int l, int t, int w, int h) {
    auto* c = new T(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(TwipRect(l, t, w, h));
    return c;
}

QLabel* MakeLabel(QWidget* p, const char* name, const QString& caption, int l, int t, int w,
                  int h) {
    auto* label = Make<QLabel>(p, name, l, t, w, h);
    label->setText(caption);
    return label;
}

QPushButton* MakeButton(QWidget* p, const char* name, const QString& caption, int l, int t, int w,
                        int h) {
    auto* button = Make<QPushButton>(p, name, l, t, w, h);
    button->setText(caption);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* MakeCheck(QWidget* p, const char* name, const QString& caption, int l, int t, int w,
                     int h) {
    auto* box = Make<QCheckBox>(p, name, l, t, w, h);
    box->setText(caption);
    return box;
}

// The visible lines of the window: the matrix brackets and the separators.
struct VisibleLine {
    int x1, y1, x2, y2;
};
constexpr VisibleLine kVisibleLines[] = {
    {360, 2640, 240, 2760},    {240, 2760, 240, 3720},    {240, 3720, 360, 3840},
    {1680, 2640, 1800, 2760},  {1800, 2760, 1800, 3720},  {1800, 3720, 1680, 3840},
    {5400, 120, 5400, 4080},   {120, 1800, 5280, 1800},   {120, 4200, 9636, 4200},
};

}  // namespace

PatternForm::PatternForm() {
    setObjectName(QStringLiteral("PatternForm"));
    setWindowTitle(QStringLiteral("Quorvex version 1.2 "));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    setFont(font);
    const QSize client(static_cast<int>(model::ClientWidthTwips / kTwips + 0.5),
                       static_cast<int>(model::ClientHeightTwips / kTwips + 0.5));
    setFixedSize(client);
    const QColor back = palette().color(QPalette::Window);
    surface_ = std::make_unique<platform::ImageSurface>(
        static_cast<int>(model::ClientWidthTwips), static_cast<int>(model::ClientHeightTwips),
        platform::FromQColor(back), devicePixelRatioF());
    surface_->SetChangedCallback([this] { update(); });
    CreateControls();
    ConnectControls();
    Form_Load();
}

PatternForm::~PatternForm() {
    // Closing the widget moves the focus; the window is no longer there to hear it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (help_) delete help_;
}

void PatternForm::CreateControls() {
    Label1 = MakeLabel(this, "Label1", "Basic 2D lattice", 120, 120, 1935, 255);
    Label6 = MakeLabel(this, "Label6", "2D lattice/group =", 240, 480, 1695, 255);
    Combo1 = Make<QComboBox>(this, "Combo1", 1920, 480, 3135, 315);
    Label3 = MakeLabel(this, "Label3", "a =", 360, 1080, 375, 255);
    Text1 = Make<QLineEdit>(this, "Text1", 840, 960, 855, 375);
    Label4 = MakeLabel(this, "Label4", "b =", 2040, 1080, 495, 255);
    Text2 = Make<QLineEdit>(this, "Text2", 2520, 960, 855, 375);
    Label5 = MakeLabel(this, "Label5", "a =", 3840, 1080, 495, 255);
    Text3 = Make<QLineEdit>(this, "Text3", 4320, 960, 735, 375);
    Label16 = MakeLabel(this, "Label16", "", 360, 1440, 3135, 255);
    Label2 = MakeLabel(this, "Label2", "Superlattice", 120, 1920, 1455, 255);
    Label9 = MakeLabel(this, "Label9", "Matrix", 240, 2280, 615, 255);
    Text6 = Make<QLineEdit>(this, "Text6", 360, 2760, 615, 375);
    Text8 = Make<QLineEdit>(this, "Text8", 1080, 2760, 615, 375);
    Text7 = Make<QLineEdit>(this, "Text7", 360, 3240, 615, 375);
    Text9 = Make<QLineEdit>(this, "Text9", 1080, 3240, 615, 375);
    Command10 = MakeButton(this, "Command10", "Reduce", 480, 3720, 1095, 255);
    Label7 = MakeLabel(this, "Label7", "Common name", 1920, 2160, 1455, 255);
    Combo3 = Make<QComboBox>(this, "Combo3", 1920, 2400, 3135, 315);
    Label17 = MakeLabel(this, "Label17", "", 1920, 2760, 3135, 255);
    Label8 = MakeLabel(this, "Label8", "Symmetry  (", 1920, 3120, 1095, 255);
    Check5 = MakeCheck(this, "Check5", "constrained )", 3000, 3120, 1695, 195);
    Label15 = MakeLabel(this, "Label15", "", 1920, 3360, 3345, 255);
    Combo2 = Make<QComboBox>(this, "Combo2", 1920, 3600, 3135, 315);
    Label14 = MakeLabel(this, "Label14", "Symmetry / Domains", 5520, 120, 2535, 255);
    Label10 = MakeLabel(this, "Label10", "Basic lattice", 5640, 480, 1575, 255);
    Label11 = MakeLabel(this, "Label11", "Superlattice", 7800, 480, 1455, 255);
    Check3 = MakeCheck(this, "Check3", "Include domains", 5640, 2880, 1815, 375);
    Check2 = MakeCheck(this, "Check2", "Paint domains", 5640, 3240, 1575, 375);
    Check1 = MakeCheck(this, "Check1", "Include 1x1", 7560, 2880, 1335, 375);
    Check4 = MakeCheck(this, "Check4", "Include bases", 7560, 3240, 2055, 375);
    Label19 = MakeLabel(this, "Label19", "", 5760, 3720, 3375, 255);
    Label12 = MakeLabel(this, "Label12", "Lattice", 360, 4320, 855, 255);
    Command4 = MakeButton(this, "Command4", "mag -", 1800, 4320, 735, 255);
    Command13 = MakeButton(this, "Command13", "1", 2520, 4320, 375, 255);
    Command3 = MakeButton(this, "Command3", "mag +", 2880, 4320, 735, 255);
    Label13 = MakeLabel(this, "Label13", "Pattern", 4680, 4320, 975, 255);
    Command6 = MakeButton(this, "Command6", "mag -", 6120, 4320, 735, 255);
    Command14 = MakeButton(this, "Command14", "1", 6840, 4320, 375, 255);
    Command5 = MakeButton(this, "Command5", "mag +", 7200, 4320, 735, 255);
    Label20 = MakeLabel(this, "Label20", "WAIT!", 3765, 4440, 735, 255);
    Label18 = MakeLabel(this, "Label18", "Domain colors :", 8280, 4560, 1215, 255);
    Command7 = MakeButton(this, "Command7", "-90", 3840, 4800, 615, 255);
    Command9 = MakeButton(this, "Command9", "< rot", 3840, 5160, 615, 255);
    Command12 = MakeButton(this, "Command12", "0", 3840, 5520, 615, 255);
    Command8 = MakeButton(this, "Command8", "rot >", 3840, 5880, 615, 255);
    Command15 = MakeButton(this, "Command15", "90", 3840, 6240, 615, 255);
    VScroll1 = Make<QScrollBar>(this, "VScroll1", 3840, 6600, 200, 1335);
    Command17 = MakeButton(this, "Command17", "d", 4040, 6600, 220, 255);
    VScroll2 = Make<QScrollBar>(this, "VScroll2", 4260, 6600, 200, 1335);
    Command1 = MakeButton(this, "Command1", "Refresh", 8160, 5400, 1335, 375);
    Command19 = MakeButton(this, "Command19", "Load", 8160, 5990, 1335, 255);
    Command18 = MakeButton(this, "Command18", "Save", 8160, 6240, 645, 255);
    Command20 = MakeButton(this, "Command20", "Clear", 8850, 6240, 645, 255);
    Command11 = MakeButton(this, "Command11", "Help", 8160, 6720, 1335, 375);
    Command2 = MakeButton(this, "Command2", "Exit", 8160, 7320, 1335, 375);
    Command16 = MakeButton(this, "Command16", "Settings", 8160, 7920, 1335, 375);
    Command16->setEnabled(false);
    Command16->setVisible(false);

    Label5->setText(QStringLiteral("\u03B1 ="));
    // The legend title must fit its narrow place beside the pattern box.
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);
    Label18->setFont(small);
    const QFont fixed = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPointSize(9);
        return f;
    }();
    for (QLineEdit* field : {Text1, Text2, Text3, Text6, Text7, Text8, Text9}) field->setFont(fixed);

    Label20->setAutoFillBackground(true);
    QPalette red = Label20->palette();
    red.setColor(QPalette::Window, QColor(255, 0, 0));
    Label20->setPalette(red);
    Label9->setAutoFillBackground(true);
    Label9->setCursor(Qt::PointingHandCursor);

    for (QScrollBar* bar : {VScroll1, VScroll2}) {
        bar->setOrientation(Qt::Vertical);
        bar->setTracking(false);  // Change when a movement ends, Scroll while the thumb moves
    }
}

void PatternForm::ConnectControls() {
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });
    connect(Combo3, &QComboBox::activated, this, [this] { Combo3_Click(); });

    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Check3, &QCheckBox::toggled, this, [this] { Check3_Click(); });
    connect(Check4, &QCheckBox::toggled, this, [this] { Check4_Click(); });
    connect(Check5, &QCheckBox::toggled, this, [this] { Check5_Click(); });

    const std::pair<QPushButton*, void (PatternForm::*)()> buttons[] = {
        {Command1, &PatternForm::Command1_Click},   {Command2, &PatternForm::Command2_Click},
        {Command3, &PatternForm::Command3_Click},   {Command4, &PatternForm::Command4_Click},
        {Command5, &PatternForm::Command5_Click},   {Command6, &PatternForm::Command6_Click},
        {Command7, &PatternForm::Command7_Click},   {Command8, &PatternForm::Command8_Click},
        {Command9, &PatternForm::Command9_Click},   {Command10, &PatternForm::Command10_Click},
        {Command11, &PatternForm::Command11_Click}, {Command12, &PatternForm::Command12_Click},
        {Command13, &PatternForm::Command13_Click}, {Command14, &PatternForm::Command14_Click},
        {Command15, &PatternForm::Command15_Click}, {Command17, &PatternForm::Command17_Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, [this, h = handler] { (this->*h)(); });

    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    connect(VScroll1, &QScrollBar::sliderMoved, this, [this](int v) {
        // The thumb's position while it moves; value() follows only at the end.
        VScroll1->setSliderPosition(v);
        VScroll1_Scroll();
    });
    connect(VScroll2, &QScrollBar::valueChanged, this, [this] { VScroll2_Change(); });
    connect(VScroll2, &QScrollBar::sliderMoved, this, [this](int v) {
        VScroll2->setSliderPosition(v);
        VScroll2_Scroll();
    });

    for (QWidget* w : std::initializer_list<QWidget*>{Text1, Text2, Text3, Text6, Text7, Text8,
                                                      Text9, Label9, Command18, Command19,
                                                      Command20})
        w->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { OnFocusChanged(old, now); });
}

bool PatternForm::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::FocusIn) {
        TextGotFocus(field);
    } else if (field && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) TextKeyUp(field, 13);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Label9) Label9_Click();
        if (watched == Command18) Command18_MouseUp();
        if (watched == Command19) Command19_MouseUp();
        if (watched == Command20) Command20_MouseUp();
    }
    return QWidget::eventFilter(watched, event);
}

void PatternForm::OnFocusChanged(QWidget* old, QWidget* now) {
    // A field loses the focus only to another control of this window; a
    // message box, a list's popup or another program taking it is no loss.
    auto* field = qobject_cast<QLineEdit*>(old);
    if (!field || field->parentWidget() != this) return;
    if (!now || now->window() != this) return;
    TextLostFocus(field);
}

void PatternForm::Message(const QString& text) { platform::ShowMessage(text); }

void PatternForm::Form_Load() {
    // Constants, tables and the three lists.
    model::FillTables(m_);
    m_.AppPath = QCoreApplication::applicationDirPath().toStdString();
    Combo1->setVisible(true);
    Combo1->clear();
    for (int g = 1; g <= model::BasicGroupCount; ++g)
        Combo1->addItem(QString::fromStdString(m_.GroupName[g]));
    Combo2->setVisible(true);
    Combo2->clear();
    for (int g = 1; g <= model::GroupCount; ++g)
        Combo2->addItem(QString::fromStdString(m_.SuperGroupName[g]));
    Combo3->clear();
    for (int r = 0; r < model::CommonNameShown; ++r)
        Combo3->addItem(QString::fromStdString(m_.CommonName[r]));
    ApplyCommonName(1);

    // The two boxes from their marker lines.
    m_.LatBoxLeft = model::Line8.X1;
    m_.LatBoxTop = model::Line8.Y1;
    m_.LatBoxWidth = model::Line8.X2 - model::Line8.X1;
    m_.LatBoxHeight = model::Line8.Y2 - model::Line8.Y1;
    m_.LatBoxHalfW = m_.LatBoxWidth / 2;
    m_.LatBoxHalfH = m_.LatBoxHeight / 2;
    m_.LatBoxCenterX = m_.LatBoxLeft + m_.LatBoxHalfW;
    m_.LatBoxCenterY = m_.LatBoxTop + m_.LatBoxHalfH;
    m_.PatBoxLeft = model::Line7.X1;
    m_.PatBoxTop = model::Line7.Y1;
    m_.PatBoxWidth = model::Line7.X2 - model::Line7.X1;
    m_.PatBoxHeight = model::Line7.Y2 - model::Line7.Y1;
    m_.PatBoxHalfW = m_.PatBoxWidth / 2;
    m_.PatBoxHalfH = m_.PatBoxHeight / 2;
    m_.PatBoxCenterX = m_.PatBoxLeft + m_.PatBoxHalfW;
    m_.PatBoxCenterY = m_.PatBoxTop + m_.PatBoxHalfH;

    m_.LatDotRadiusDefault = 45;
    m_.SpotRadiusDefault = 45;
    m_.LatDotRadius = 45;
    m_.SpotRadius = 45;
    for (QScrollBar* bar : {VScroll1, VScroll2}) {
        bar->setMinimum(0);
        bar->setMaximum(150);
    }
    VScroll1->setValue(VScroll1->maximum() - static_cast<int>(m_.LatDotRadius));
    VScroll2->setValue(VScroll2->maximum() - static_cast<int>(m_.SpotRadius));

    m_.LatticeA = 1.0;
    m_.LatticeB = 1.0;
    m_.LatticeAlpha = 90.0;
    m_.BasicGroup = 11;
    m_.SuperGroup = 11;
    m_.SuperLatticeType = m_.GroupLatticeType[11];
    m_.CentredAxis = 0;
    m_.Constrained = true;
    m_.CommonNameIndex = 1;
    ApplyCommonName(m_.CommonNameIndex);
    m_.LatMag = 1.0;
    m_.PatMag = 1.0;
    m_.RotAngle = 0;
    m_.RotCos = 1;
    m_.RotSin = 0;
    m_.ResetSuperGroup = true;

    Label16->setText(QStringLiteral(" "));
    Label16->setVisible(false);
    Label20->setVisible(false);
    ShowLatticeFields();
    Label3->setText(QStringLiteral("a ="));
    Label4->setText(QStringLiteral("b ="));
    Label5->setText(QStringLiteral("\u03B1 ="));
    Text2->setVisible(false);
    Text3->setVisible(false);
    Label4->setVisible(false);
    Label5->setVisible(false);
    ShowMatrixFields();
    Combo1->setCurrentIndex(m_.BasicGroup - 1);
    Combo2->setCurrentIndex(m_.SuperGroup - 1);
    Combo3->setCurrentIndex(m_.CommonNameIndex);

    SetCheck(Check1, true);
    SetCheck(Check2, false);
    SetCheck(Check4, false);
    Check2->setVisible(m_.SubpatternCount >= 2);
    Label19->setVisible(m_.SubpatternCount >= 2);

    m_.RedrawOnActivate = true;
    UpdateAll(1, 0);
    SetCheck(Check5, true);

    m_.MatrixHold = false;
    m_.StoreCount = 0;
    Command18->setText(QStringLiteral("Save"));
    m_.StoreCapacity = 10;
    m_.StoreIndex = 0;
    ShowLoadCaption();

    m_.Include1x1 = Ticked(Check1);
    m_.PaintDomains = Ticked(Check2);
    m_.IncludeDomains = Ticked(Check3);
    m_.IncludeBases = Ticked(Check4);
    loading_ = false;
}

void PatternForm::SetCheck(QCheckBox* box, bool ticked) {
    // Setting a box to another value runs its handler, as a click would.
    box->setChecked(ticked);
}

void PatternForm::ShowLoadCaption() {
    Command19->setText(QString::fromStdString(model::LoadCaption(m_)));
}

void PatternForm::ShowLatticeFields() {
    Text1->setText(QString::fromStdString(model::FormatNumber(m_.LatticeA, "###0.0000")));
    Text2->setText(QString::fromStdString(model::FormatNumber(m_.LatticeB, "###0.0000")));
    Text3->setText(QString::fromStdString(model::FormatNumber(m_.LatticeAlpha, "###0.0")));
}

void PatternForm::ShowMatrixFields() {
    Text6->setText(QString::fromStdString(model::FormatNumber(m_.M11, "####0")));
    Text7->setText(QString::fromStdString(model::FormatNumber(m_.M21, "####0")));
    Text8->setText(QString::fromStdString(model::FormatNumber(m_.M12, "####0")));
    Text9->setText(QString::fromStdString(model::FormatNumber(m_.M22, "####0")));
}

void PatternForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPoint(0, 0), surface_->Image());
    if (surface_->HasOverlay()) p.drawImage(QPoint(0, 0), surface_->Overlay());
    p.setPen(QPen(Qt::black, 1));
    for (const auto& l : kVisibleLines)
        p.drawLine(QPointF(l.x1 / kTwips, l.y1 / kTwips), QPointF(l.x2 / kTwips, l.y2 / kTwips));
}

void PatternForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) {
            // Coming back from our own message box or help window is no new activation.
            const bool fromOwnWindow = leftForOwnWindow_;
            leftForOwnWindow_ = false;
            if (!fromOwnWindow) Form_Activate();
        } else {
            leftForOwnWindow_ = QApplication::activeWindow() != nullptr ||
                                QApplication::activeModalWidget() != nullptr;
        }
    }
    QWidget::changeEvent(event);
}

void PatternForm::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    Form_MouseDown(static_cast<float>(p.x() * kTwips), static_cast<float>(p.y() * kTwips));
}

void PatternForm::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    Form_MouseMove(static_cast<float>(p.x() * kTwips), static_cast<float>(p.y() * kTwips));
}

void PatternForm::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    Form_MouseUp(static_cast<float>(p.x() * kTwips), static_cast<float>(p.y() * kTwips));
}

QString PatternForm::HelpFilePath() const {
    return QString::fromStdString(m_.AppPath) + QStringLiteral("/Quorvex.hlp");
}

}  // namespace quorvex::window
