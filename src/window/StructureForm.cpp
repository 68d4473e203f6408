#include "window/StructureForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "model/FormLayout.h"
#include "model/NumberText.h"
#include "model/PlaneGroups.h"
#include "platform/MessageBox.h"
#include "window/FieldFormats.h"

namespace quorvex::window {

namespace {

constexpr double kTwips = model::kTwipsPerPixel;

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

// The visible lines of the window, in twips: the matrix brackets and the separators.
struct VisibleLine {
    int x1, y1, x2, y2;
};
constexpr VisibleLine kVisibleLines[] = {
    {360, 2640, 240, 2760},    {240, 2760, 240, 3720},    {240, 3720, 360, 3840},
    {1680, 2640, 1800, 2760},  {1800, 2760, 1800, 3720},  {1800, 3720, 1680, 3840},
    {5400, 120, 5400, 4080},   {120, 1800, 5280, 1800},   {120, 4200, 9636, 4200},
};

}  // namespace

QString ListRow(std::string_view text, std::size_t width) {
    std::string row(text.substr(0, width));
    row.resize(width, ' ');
    return QString::fromStdString(row);
}

QString Formatted(double value, const char* format) {
    return QString::fromStdString(model::FormatNumber(value, format));
}

StructureForm::StructureForm() {
    setObjectName(QStringLiteral("structureForm"));
    setWindowTitle(QStringLiteral("Quorvex version 1.2 "));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    setFont(font);
    const QSize client(static_cast<int>(model::kClientWidthTwips / kTwips + 0.5),
                       static_cast<int>(model::kClientHeightTwips / kTwips + 0.5));
    setFixedSize(client);
    const QColor back = palette().color(QPalette::Window);
    surface_ = std::make_unique<platform::ImageSurface>(
        static_cast<int>(model::kClientWidthTwips), static_cast<int>(model::kClientHeightTwips),
        platform::FromQColor(back), devicePixelRatioF());
    surface_->SetChangedCallback([this] { update(); });
    // The pointer is followed for the read-out of the spot under it.
    setMouseTracking(true);
    createControls();
    connectControls();
    startUp();
}

StructureForm::~StructureForm() {
    // Closing the widget moves the focus; the window is no longer there to hear it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    if (help_) delete help_;
}

std::array<QLineEdit*, 7> StructureForm::numberFields() const {
    return {lengthAField,  lengthBField,  alphaField,   matrixField11,
            matrixField12, matrixField21, matrixField22};
}

void StructureForm::createControls() {
    basicLatticeHeading = MakeLabel(this, "basicLatticeHeading", "Basic 2D lattice", 120, 120, 1935, 255);
    basicGroupLabel = MakeLabel(this, "basicGroupLabel", "2D lattice/group =", 240, 480, 1695, 255);
    basicGroupList = Make<QComboBox>(this, "basicGroupList", 1920, 480, 3135, 315);
    lengthALabel = MakeLabel(this, "lengthALabel", "a =", 360, 1080, 375, 255);
    lengthAField = Make<QLineEdit>(this, "lengthAField", 840, 960, 855, 375);
    lengthBLabel = MakeLabel(this, "lengthBLabel", "b =", 2040, 1080, 495, 255);
    lengthBField = Make<QLineEdit>(this, "lengthBField", 2520, 960, 855, 375);
    alphaLabel = MakeLabel(this, "alphaLabel", "a =", 3840, 1080, 495, 255);
    alphaField = Make<QLineEdit>(this, "alphaField", 4320, 960, 735, 375);
    higherSymmetryLabel = MakeLabel(this, "higherSymmetryLabel", "", 360, 1440, 3135, 255);
    superlatticeHeading = MakeLabel(this, "superlatticeHeading", "Superlattice", 120, 1920, 1455, 255);
    matrixLabel = MakeLabel(this, "matrixLabel", "Matrix", 240, 2280, 615, 255);
    matrixField11 = Make<QLineEdit>(this, "matrixField11", 360, 2760, 615, 375);
    matrixField12 = Make<QLineEdit>(this, "matrixField12", 1080, 2760, 615, 375);
    matrixField21 = Make<QLineEdit>(this, "matrixField21", 360, 3240, 615, 375);
    matrixField22 = Make<QLineEdit>(this, "matrixField22", 1080, 3240, 615, 375);
    reduceButton = MakeButton(this, "reduceButton", "Reduce", 480, 3720, 1095, 255);
    commonNameLabel = MakeLabel(this, "commonNameLabel", "Common name", 1920, 2160, 1455, 255);
    commonNameList = Make<QComboBox>(this, "commonNameList", 1920, 2400, 3135, 315);
    superlatticeParametersLabel = MakeLabel(this, "superlatticeParametersLabel", "", 1920, 2760, 3135, 255);
    symmetryLabel = MakeLabel(this, "symmetryLabel", "Symmetry  (", 1920, 3120, 1095, 255);
    constrainedBox = MakeCheck(this, "constrainedBox", "constrained )", 3000, 3120, 1695, 195);
    allowedGroupsLabel = MakeLabel(this, "allowedGroupsLabel", "", 1920, 3360, 3345, 255);
    superGroupList = Make<QComboBox>(this, "superGroupList", 1920, 3600, 3135, 315);
    symmetryDomainsHeading = MakeLabel(this, "symmetryDomainsHeading", "Symmetry / Domains", 5520, 120, 2535, 255);
    basicDiagramTitle = MakeLabel(this, "basicDiagramTitle", "Basic lattice", 5640, 480, 1575, 255);
    superDiagramTitle = MakeLabel(this, "superDiagramTitle", "Superlattice", 7800, 480, 1455, 255);
    includeDomainsBox = MakeCheck(this, "includeDomainsBox", "Include domains", 5640, 2880, 1815, 375);
    paintDomainsBox = MakeCheck(this, "paintDomainsBox", "Paint domains", 5640, 3240, 1575, 375);
    include1x1Box = MakeCheck(this, "include1x1Box", "Include 1x1", 7560, 2880, 1335, 375);
    includeBasesBox = MakeCheck(this, "includeBasesBox", "Include bases", 7560, 3240, 2055, 375);
    domainCountLabel = MakeLabel(this, "domainCountLabel", "", 5760, 3720, 3375, 255);
    latticeViewLabel = MakeLabel(this, "latticeViewLabel", "Lattice", 360, 4320, 855, 255);
    latticeZoomOutButton = MakeButton(this, "latticeZoomOutButton", "mag -", 1800, 4320, 735, 255);
    latticeZoomResetButton = MakeButton(this, "latticeZoomResetButton", "1", 2520, 4320, 375, 255);
    latticeZoomInButton = MakeButton(this, "latticeZoomInButton", "mag +", 2880, 4320, 735, 255);
    patternViewLabel = MakeLabel(this, "patternViewLabel", "Pattern", 4680, 4320, 975, 255);
    patternZoomOutButton = MakeButton(this, "patternZoomOutButton", "mag -", 6120, 4320, 735, 255);
    patternZoomResetButton = MakeButton(this, "patternZoomResetButton", "1", 6840, 4320, 375, 255);
    patternZoomInButton = MakeButton(this, "patternZoomInButton", "mag +", 7200, 4320, 735, 255);
    busyLabel = MakeLabel(this, "busyLabel", "WAIT!", 3765, 4440, 735, 255);
    legendTitleLabel = MakeLabel(this, "legendTitleLabel", "Domain colors :", 8280, 4560, 1215, 255);
    rotateMinus90Button = MakeButton(this, "rotateMinus90Button", "-90", 3840, 4800, 615, 255);
    rotateLeftButton = MakeButton(this, "rotateLeftButton", "< rot", 3840, 5160, 615, 255);
    rotateZeroButton = MakeButton(this, "rotateZeroButton", "0", 3840, 5520, 615, 255);
    rotateRightButton = MakeButton(this, "rotateRightButton", "rot >", 3840, 5880, 615, 255);
    rotatePlus90Button = MakeButton(this, "rotatePlus90Button", "90", 3840, 6240, 615, 255);
    dotSizeBar = Make<QScrollBar>(this, "dotSizeBar", 3840, 6600, 200, 1335);
    defaultSizesButton = MakeButton(this, "defaultSizesButton", "d", 4040, 6600, 220, 255);
    spotSizeBar = Make<QScrollBar>(this, "spotSizeBar", 4260, 6600, 200, 1335);
    refreshButton = MakeButton(this, "refreshButton", "Refresh", 8160, 5400, 1335, 375);
    loadButton = MakeButton(this, "loadButton", "Load", 8160, 5990, 1335, 255);
    saveButton = MakeButton(this, "saveButton", "Save", 8160, 6240, 645, 255);
    clearButton = MakeButton(this, "clearButton", "Clear", 8850, 6240, 645, 255);
    helpButton = MakeButton(this, "helpButton", "Help", 8160, 6720, 1335, 375);
    exitButton = MakeButton(this, "exitButton", "Exit", 8160, 7320, 1335, 375);
    settingsButton = MakeButton(this, "settingsButton", "Settings", 8160, 7920, 1335, 375);
    settingsButton->setEnabled(false);
    settingsButton->setVisible(false);

    alphaLabel->setText(QStringLiteral("\u03B1 ="));
    // The legend title must fit its narrow place beside the pattern box.
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);
    legendTitleLabel->setFont(small);
    const QFont fixed = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        f.setPointSize(9);
        return f;
    }();
    for (QLineEdit* field : numberFields()) field->setFont(fixed);

    busyLabel->setAutoFillBackground(true);
    QPalette red = busyLabel->palette();
    red.setColor(QPalette::Window, QColor(255, 0, 0));
    busyLabel->setPalette(red);
    matrixLabel->setAutoFillBackground(true);
    matrixLabel->setCursor(Qt::PointingHandCursor);

    for (QScrollBar* bar : {dotSizeBar, spotSizeBar}) {
        bar->setOrientation(Qt::Vertical);
        // Taking the focus on a click takes a pending field entry over first.
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setTracking(false);  // Change when a movement ends, Scroll while the thumb moves
    }
}

void StructureForm::connectControls() {
    connect(basicGroupList, &QComboBox::activated, this, [this] { onBasicGroupChosen(); });
    connect(superGroupList, &QComboBox::activated, this, [this] { onSuperGroupChosen(); });
    connect(commonNameList, &QComboBox::activated, this, [this] { onCommonNameChosen(); });

    // A box set from code runs its handler as a click would.
    connect(include1x1Box, &QCheckBox::toggled, this, [this] { onInclude1x1Toggled(); });
    connect(paintDomainsBox, &QCheckBox::toggled, this, [this] { onPaintDomainsToggled(); });
    connect(includeDomainsBox, &QCheckBox::toggled, this, [this] { onIncludeDomainsToggled(); });
    connect(includeBasesBox, &QCheckBox::toggled, this, [this] { onIncludeBasesToggled(); });
    connect(constrainedBox, &QCheckBox::toggled, this, [this] { onConstrainedToggled(); });

    const std::pair<QPushButton*, void (StructureForm::*)()> buttons[] = {
        {refreshButton, &StructureForm::onRefresh},
        {exitButton, &StructureForm::onExit},
        {latticeZoomInButton, &StructureForm::onLatticeZoomIn},
        {latticeZoomOutButton, &StructureForm::onLatticeZoomOut},
        {latticeZoomResetButton, &StructureForm::onLatticeZoomReset},
        {patternZoomInButton, &StructureForm::onPatternZoomIn},
        {patternZoomOutButton, &StructureForm::onPatternZoomOut},
        {patternZoomResetButton, &StructureForm::onPatternZoomReset},
        {rotateMinus90Button, &StructureForm::onRotateMinus90},
        {rotateLeftButton, &StructureForm::onRotateLeft},
        {rotateZeroButton, &StructureForm::onRotateZero},
        {rotateRightButton, &StructureForm::onRotateRight},
        {rotatePlus90Button, &StructureForm::onRotatePlus90},
        {reduceButton, &StructureForm::onReduce},
        {helpButton, &StructureForm::onHelp},
        {defaultSizesButton, &StructureForm::onDefaultSizes},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, [this, h = handler] { (this->*h)(); });

    // valueChanged when a movement ends (no tracking); sliderMoved while the
    // thumb moves, when value() has not followed yet.
    connect(dotSizeBar, &QScrollBar::valueChanged, this, [this] { onDotSizeChanged(); });
    connect(dotSizeBar, &QScrollBar::sliderMoved, this, [this](int v) {
        dotSizeBar->setSliderPosition(v);
        onDotSizeDragged();
    });
    connect(spotSizeBar, &QScrollBar::valueChanged, this, [this] { onSpotSizeChanged(); });
    connect(spotSizeBar, &QScrollBar::sliderMoved, this, [this](int v) {
        spotSizeBar->setSliderPosition(v);
        onSpotSizeDragged();
    });

    for (QLineEdit* field : numberFields()) field->installEventFilter(this);
    for (QWidget* w : std::initializer_list<QWidget*>{matrixLabel, saveButton, loadButton, clearButton,
                                                      basicGroupList, superGroupList,
                                                      commonNameList})
        w->installEventFilter(this);
    // Mouse events on a control stay with it: the window's own handlers edit
    // the lattice and the pattern.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_NoMousePropagation);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { onHelp(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { onFocusChanged(old, now); });
}

bool StructureForm::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    auto* list = qobject_cast<QComboBox*>(watched);
    const QEvent::Type type = event->type();
    if (field && type == QEvent::FocusIn) {
        selectFocusedFieldText();
        // A click gives the focus before the field places its cursor, which
        // drops the selection: the click's release selects the text again.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        fieldFocusedByClick_ = reason == Qt::MouseFocusReason ? field : nullptr;
    } else if (field && type == QEvent::MouseButtonRelease && field == fieldFocusedByClick_) {
        fieldFocusedByClick_ = nullptr;
        if (field->hasFocus()) field->selectAll();
    } else if (field && type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) onFieldCommitted(field);
    } else if (list && type == QEvent::KeyPress) {
        return filterListKey(list, static_cast<QKeyEvent*>(event));
    } else if (list && type == QEvent::Wheel) {
        return true;  // turning the wheel over a closed list chooses nothing either
    } else if (watched == matrixLabel &&
               (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                type == QEvent::MouseButtonRelease)) {
        // Only a left click, pressed and released on the label, toggles the
        // hold, once; the second press of a double click is no new click.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            matrixLabelPressed_ =
                type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton;
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            const bool click = matrixLabelPressed_ && mouse->button() == Qt::LeftButton &&
                               matrixLabel->rect().contains(mouse->position().toPoint());
            matrixLabelPressed_ = false;
            if (click) onMatrixLabelClicked();
        }
        return true;
    } else if (type == QEvent::MouseButtonRelease) {
        // Save, Load and Clear act on the release of any mouse button.
        if (watched == saveButton) onSave();
        if (watched == loadButton) onLoad();
        if (watched == clearButton) onClear();
    }
    return QWidget::eventFilter(watched, event);
}

bool StructureForm::filterListKey(QComboBox* list, QKeyEvent* key) {
    const bool opens = key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space ||
                       ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
                        (key->modifiers() & Qt::AltModifier));
    if (opens) list->showPopup();
    // Tab and Shift+Tab still move the focus on.
    return key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
}

void StructureForm::closeEvent(QCloseEvent* event) {
    closeOwnWindows();
    QWidget::closeEvent(event);
}

void StructureForm::closeOwnWindows() {
    // Exit and the window's close button end the program: the help goes with it.
    if (help_) help_->close();
}

void StructureForm::onFocusChanged(QWidget* old, QWidget* now) {
    // A field loses the focus only to another control of this window; a
    // message box, a list's popup or another program taking it is no loss.
    auto* field = qobject_cast<QLineEdit*>(old);
    if (!field || field->parentWidget() != this) return;
    if (!now || now->window() != window()) return;
    // The field the focus passes through while a refused entry takes it back
    // keeps its text for its own turn: committing it there could refuse it in
    // turn (two lengths too small to show read back as 0), and the two fields
    // would hand the focus back and forth without end.
    if (committingLeftField_) return;
    committingLeftField_ = true;
    onFieldCommitted(field);
    committingLeftField_ = false;
}

void StructureForm::showMessage(const QString& text) { platform::ShowMessage(text); }

void StructureForm::startUp() {
    basicGroupList->clear();
    for (int g = 1; g <= model::kBasicGroupCount; ++g)
        basicGroupList->addItem(ListRow(model::kGroupNames[g], model::kGroupNameWidth));
    superGroupList->clear();
    for (int g = 1; g <= model::kGroupCount; ++g)
        superGroupList->addItem(ListRow(model::kGroupNames[g], model::kGroupNameWidth));
    commonNameList->clear();
    for (const model::CommonName& name : model::kCommonNames)
        commonNameList->addItem(ListRow(name.name, model::kCommonNameWidth));
    applyCommonName(1);

    for (QScrollBar* bar : {dotSizeBar, spotSizeBar}) {
        bar->setMinimum(0);
        bar->setMaximum(kLargestRadius);
    }
    // These run the bars' change handlers, which only preview while the window is hidden.
    dotSizeBar->setValue(dotSizeBar->maximum() - static_cast<int>(document_.view.dotRadius));
    spotSizeBar->setValue(spotSizeBar->maximum() - static_cast<int>(document_.view.spotRadius));

    model::Structure& s = document_.structure;
    s = model::Structure{};
    document_.derived.superlattice.latticeType = model::LatticeTypeOf(s.superGroup);
    applyCommonName(s.commonNameRow);
    document_.view = model::ViewSettings{};
    document_.superGroupResetPending = true;

    higherSymmetryLabel->setText(QStringLiteral(" "));
    higherSymmetryLabel->setVisible(false);
    busyLabel->setVisible(false);
    showLatticeFields();
    lengthBField->setVisible(false);
    alphaField->setVisible(false);
    lengthBLabel->setVisible(false);
    alphaLabel->setVisible(false);
    showMatrixFields();
    basicGroupList->setCurrentIndex(s.basicGroup - 1);
    superGroupList->setCurrentIndex(s.superGroup - 1);
    commonNameList->setCurrentIndex(s.commonNameRow);

    // Ticking "Include 1x1" runs its handler and with it the first update.
    setChecked(include1x1Box, true);
    setChecked(paintDomainsBox, false);
    setChecked(includeBasesBox, false);
    paintDomainsBox->setVisible(false);
    domainCountLabel->setVisible(false);

    redrawOnActivate_ = true;
    updateAll(PatternPart::Draw, Hold::End);
    setChecked(constrainedBox, true);

    matrixHold_ = false;
    saveButton->setText(QStringLiteral("Save"));
    showLoadCaption();
    s.options = checkedOptions();
}

void StructureForm::setChecked(QCheckBox* box, bool ticked) { box->setChecked(ticked); }

model::PatternOptions StructureForm::checkedOptions() const {
    model::PatternOptions o;
    o.include1x1 = include1x1Box->isChecked();
    o.paintDomains = paintDomainsBox->isChecked();
    o.includeDomains = includeDomainsBox->isChecked();
    o.includeBases = includeBasesBox->isChecked();
    return o;
}

void StructureForm::showLoadCaption() {
    loadButton->setText(QString::fromStdString(document_.saved.LoadCaption()));
}

void StructureForm::showLatticeFields() {
    const model::Structure& s = document_.structure;
    lengthAField->setText(Formatted(s.a, kLengthFormat));
    lengthBField->setText(Formatted(s.b, kLengthFormat));
    alphaField->setText(Formatted(s.alpha, kAngleFormat));
}

void StructureForm::showMatrixFields() {
    const model::SuperlatticeMatrix& m = document_.structure.matrix;
    matrixField11->setText(Formatted(m.m11, kMatrixFormat));
    matrixField21->setText(Formatted(m.m21, kMatrixFormat));
    matrixField12->setText(Formatted(m.m12, kMatrixFormat));
    matrixField22->setText(Formatted(m.m22, kMatrixFormat));
}

void StructureForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPoint(0, 0), surface_->Image());
    if (surface_->HasOverlay()) p.drawImage(QPoint(0, 0), surface_->Overlay());
    paintVisibleLines(p);
}

void StructureForm::paintVisibleLines(QPainter& p) const {
    p.setPen(QPen(Qt::black, 1));
    for (const auto& l : kVisibleLines)
        p.drawLine(QPointF(l.x1 / kTwips, l.y1 / kTwips), QPointF(l.x2 / kTwips, l.y2 / kTwips));
}

void StructureForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isWindow())
        windowActivationChanged(isActiveWindow());
    QWidget::changeEvent(event);
}

void StructureForm::windowActivationChanged(bool active) {
    if (active) {
        // Coming back from our own message box or help window is no new activation.
        const bool fromOwnWindow = leftForOwnWindow_;
        leftForOwnWindow_ = false;
        if (!fromOwnWindow) onActivated();
    } else {
        leftForOwnWindow_ = QApplication::activeWindow() != nullptr ||
                            QApplication::activeModalWidget() != nullptr;
    }
}

void StructureForm::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    onMousePressed(static_cast<float>(p.x() * kTwips), static_cast<float>(p.y() * kTwips));
}

void StructureForm::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    const float x = static_cast<float>(p.x() * kTwips), y = static_cast<float>(p.y() * kTwips);
    onMouseMoved(x, y);
    if (event->buttons() == Qt::NoButton) readOutSpot(x, y, false);
}

void StructureForm::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    const float x = static_cast<float>(p.x() * kTwips), y = static_cast<float>(p.y() * kTwips);
    const bool dragged = drag_.active;
    onMouseReleased(x, y);
    if (!dragged && event->button() == Qt::LeftButton) readOutSpot(x, y, true);
}

QString StructureForm::helpFilePath() const {
    return platform::FindHelpFile(QCoreApplication::applicationDirPath());
}

}  // namespace quorvex::window
