#include "window/ScreenWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "model/DomainColours.h"
#include "platform/MessageBox.h"
#include "window/SpotReadout.h"

namespace quorvex::window {

namespace {

constexpr double kPageStepEv = 10;
constexpr double kWheelStepEv = 1;
// A spot answers the pointer this many pixels beyond its own radius.
constexpr double kPointerReach = 4;

QString Number(double v) { return QString::number(v, 'g', 6); }

ScreenLayer::Marker MarkerOfKept(int index) {
    static constexpr ScreenLayer::Marker kMarkers[] = {
        ScreenLayer::Marker::Square, ScreenLayer::Marker::Triangle, ScreenLayer::Marker::Diamond,
        ScreenLayer::Marker::Cross};
    return kMarkers[static_cast<std::size_t>(index) % std::size(kMarkers)];
}

QString MarkerName(ScreenLayer::Marker m) {
    switch (m) {
        case ScreenLayer::Marker::Square:
            return QStringLiteral("\u25A0");
        case ScreenLayer::Marker::Triangle:
            return QStringLiteral("\u25B2");
        case ScreenLayer::Marker::Diamond:
            return QStringLiteral("\u25C6");
        case ScreenLayer::Marker::Cross:
            return QStringLiteral("\u271A");
        case ScreenLayer::Marker::Disc:
            break;
    }
    return QStringLiteral("\u25CF");
}

}  // namespace

ScreenView::ScreenView(ScreenWindow* owner) : QWidget(owner) {
    setObjectName(QStringLiteral("view"));
    setMouseTracking(true);
    setMinimumSize(200, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenView::setLayers(std::vector<ScreenLayer> layers, const model::ScreenSettings& settings) {
    layers_ = std::move(layers);
    settings_ = settings;
    stale_ = true;
    update();
}

ScreenGeometry ScreenView::geometry() const {
    const qreal dpr = devicePixelRatioF();
    return ScreenGeometry::Fitting(QSize(static_cast<int>(std::lround(width() * dpr)),
                                         static_cast<int>(std::lround(height() * dpr))));
}

void ScreenView::render() {
    const qreal dpr = devicePixelRatioF();
    const QSize size(static_cast<int>(std::lround(width() * dpr)),
                     static_cast<int>(std::lround(height() * dpr)));
    if (image_.size() != size) image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (measured_)
        renderOverImage();
    else
        drawn_ = PaintScreen(image_, layers_, settings_, geometry());
    image_.setDevicePixelRatio(dpr);
    stale_ = false;
}

void ScreenView::paintEvent(QPaintEvent*) {
    if (stale_) render();
    QPainter p(this);
    p.drawImage(QPoint(0, 0), image_);
}

void ScreenView::resizeEvent(QResizeEvent*) { stale_ = true; }

void ScreenView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed(event->position());
}

void ScreenView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(event->position());
    if (event->buttons() & Qt::LeftButton) emit dragged(event->position());
}

void ScreenView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked(event->position());
}

void ScreenView::wheelEvent(QWheelEvent* event) {
    // Fine wheels and touchpads send parts of a notch: they add up to whole steps.
    wheelParts_ += event->angleDelta().y();
    const int steps = wheelParts_ / 120;
    wheelParts_ -= steps * 120;
    if (steps != 0) emit energyStep(steps * kWheelStepEv);
    event->accept();
}

ScreenWindow::ScreenWindow() {
    setObjectName(QStringLiteral("screenWindow"));
    setWindowTitle(QStringLiteral("Quorvex - LEED screen"));
    setAcceptDrops(true);
    createControls();
    showSettings();
    resize(900, 640);
}

ScreenWindow::~ScreenWindow() {
    // The controls outlive this part of the window while it is torn down: a
    // field that loses the focus then must not reach it.
    for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

void ScreenWindow::createControls() {
    view = new ScreenView(this);
    auto makeField = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        connect(field, &QLineEdit::editingFinished, this, [this, field] { commitField(field); });
        return field;
    };
    latticeConstantField = makeField("latticeConstantField");
    energyField = makeField("energyField");
    acceptanceField = makeField("acceptanceField");
    energySlider = new QSlider(Qt::Horizontal, this);
    energySlider->setObjectName(QStringLiteral("energySlider"));
    energySlider->setRange(static_cast<int>(model::kEnergyRange.low),
                           static_cast<int>(model::kEnergyRange.high));
    energySlider->setPageStep(static_cast<int>(kPageStepEv));
    connect(energySlider, &QSlider::valueChanged, this, [this](int v) {
        if (std::lround(settings_.energy) != v) setEnergy(v);
    });
    lookList = new QComboBox(this);
    lookList->setObjectName(QStringLiteral("lookList"));
    lookList->addItems({QStringLiteral("Plot"), QStringLiteral("Photo")});
    connect(lookList, &QComboBox::activated, this, [this](int row) {
        settings_.photoLook = row == 1;
        redraw();
    });
    auto makeBox = [this](const char* name, const QString& caption, bool model::ScreenSettings::*flag) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        connect(box, &QCheckBox::toggled, this, [this, flag](bool on) {
            settings_.*flag = on;
            redraw();
        });
        return box;
    };
    labelsBox = makeBox("labelsBox", QStringLiteral("Index labels"), &model::ScreenSettings::indexLabels);
    extinctRingsBox = makeBox("extinctRingsBox", QStringLiteral("Glide-extinct spots as rings"),
                              &model::ScreenSettings::extinctRings);
    gunBox = makeBox("gunBox", QStringLiteral("Electron gun"), &model::ScreenSettings::gunShown);

    keepButton = new QPushButton(QStringLiteral("Keep on screen"), this);
    keepButton->setObjectName(QStringLiteral("keepButton"));
    connect(keepButton, &QPushButton::clicked, this, [this] { keepCurrent(); });
    keptList = new QListWidget(this);
    keptList->setObjectName(QStringLiteral("keptList"));
    keptList->setMaximumHeight(110);
    connect(keptList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = keptList->row(item);
        if (row < 0 || row >= static_cast<int>(kept_.size())) return;
        const bool shown = item->checkState() == Qt::Checked;
        if (kept_[static_cast<std::size_t>(row)].visible == shown) return;
        kept_[static_cast<std::size_t>(row)].visible = shown;
        redraw();
    });
    removeKeptButton = new QPushButton(QStringLiteral("Remove"), this);
    removeKeptButton->setObjectName(QStringLiteral("removeKeptButton"));
    connect(removeKeptButton, &QPushButton::clicked, this, [this] { removeKept(keptList->currentRow()); });
    clearKeptButton = new QPushButton(QStringLiteral("Remove all"), this);
    clearKeptButton->setObjectName(QStringLiteral("clearKeptButton"));
    connect(clearKeptButton, &QPushButton::clicked, this, [this] { clearKept(); });

    domainCountLabel = new QLabel(this);
    domainCountLabel->setObjectName(QStringLiteral("domainCountLabel"));
    readout = new QLabel(this);
    readout->setObjectName(QStringLiteral("readout"));
    readout->setTextFormat(Qt::RichText);
    readout->setMinimumHeight(readout->fontMetrics().height() * 2);
    readout->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Lattice constant a (\u00C5)"), latticeConstantField);
    auto* energyRow = new QHBoxLayout;
    energyRow->addWidget(energySlider, 3);
    energyRow->addWidget(energyField, 1);
    form->addRow(QStringLiteral("Energy (eV)"), energyRow);
    form->addRow(QStringLiteral("Acceptance (\u00B0)"), acceptanceField);
    form->addRow(QStringLiteral("Look"), lookList);
    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addWidget(labelsBox);
    side->addWidget(extinctRingsBox);
    side->addWidget(gunBox);
    side->addSpacing(8);
    side->addWidget(domainCountLabel);
    side->addSpacing(8);
    side->addWidget(keepButton);
    side->addWidget(keptList);
    auto* keptButtons = new QHBoxLayout;
    keptButtons->addWidget(removeKeptButton);
    keptButtons->addWidget(clearKeptButton);
    side->addLayout(keptButtons);
    side->addStretch(1);
    createImageControls();
    auto* top = new QHBoxLayout;
    top->addWidget(view, 1);
    top->addLayout(side);
    top->addWidget(imagePanel);
    auto* outer = new QVBoxLayout(this);
    outer->setMenuBar(menuBar);
    outer->addLayout(top, 1);
    outer->addWidget(readout);

    connect(view, &ScreenView::pointerMoved, this, [this](QPointF at) { onPointerMoved(at); });
    connect(view, &ScreenView::clicked, this, [this](QPointF at) { onPointerClicked(at); });
    connect(view, &ScreenView::pressed, this, [this](QPointF at) { onViewPressed(at); });
    connect(view, &ScreenView::dragged, this, [this](QPointF at) { onViewDragged(at); });
    connect(view, &ScreenView::energyStep, this, [this](double step) {
        setEnergy(std::clamp(settings_.energy + step, model::kEnergyRange.low, model::kEnergyRange.high));
    });
}

void ScreenWindow::showSettings() {
    latticeConstantField->setText(Number(settings_.latticeConstant));
    energyField->setText(Number(settings_.energy));
    acceptanceField->setText(Number(settings_.acceptanceDegrees));
    {
        const QSignalBlocker quiet(energySlider);
        energySlider->setValue(static_cast<int>(std::lround(settings_.energy)));
    }
    lookList->setCurrentIndex(settings_.photoLook ? 1 : 0);
    for (auto [box, on] : {std::pair{labelsBox, settings_.indexLabels},
                           std::pair{extinctRingsBox, settings_.extinctRings},
                           std::pair{gunBox, settings_.gunShown}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
}

void ScreenWindow::setSettings(const model::ScreenSettings& settings) {
    settings_ = settings;
    showSettings();
    redraw();
}

void ScreenWindow::commitField(QLineEdit* field) {
    struct Rule {
        QLineEdit* field;
        const char* name;
        const char* unit;
        model::Range range;
        double model::ScreenSettings::*value;
    };
    const Rule rules[] = {
        {latticeConstantField, "The lattice constant a", "\u00C5", model::kLatticeConstantRange,
         &model::ScreenSettings::latticeConstant},
        {energyField, "The energy", "eV", model::kEnergyRange, &model::ScreenSettings::energy},
        {acceptanceField, "The acceptance angle", "degrees", model::kAcceptanceRange,
         &model::ScreenSettings::acceptanceDegrees},
    };
    for (const Rule& rule : rules) {
        if (rule.field != field) continue;
        bool number = false;
        const double typed = field->text().trimmed().toDouble(&number);
        const model::SettingCheck check = model::CheckSetting(
            rule.name, QString::fromUtf8(rule.unit).toStdString(), number ? typed : std::nan(""),
            rule.range);
        if (!check.value) {
            // The previous value stays, and so does the picture.
            field->setText(Number(settings_.*rule.value));
            platform::ShowMessage(QString::fromStdString(check.message));
            return;
        }
        if (*check.value == settings_.*rule.value) return;
        settings_.*rule.value = *check.value;
        showSettings();
        redraw();
        return;
    }
}

void ScreenWindow::setEnergy(double energy) {
    if (energy == settings_.energy) return;
    settings_.energy = energy;
    showSettings();
    redraw();
}

void ScreenWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        const double step = event->key() == Qt::Key_PageUp ? kPageStepEv : -kPageStepEv;
        setEnergy(std::clamp(settings_.energy + step, model::kEnergyRange.low,
                             model::kEnergyRange.high));
        return;
    }
    QWidget::keyPressEvent(event);
}

void ScreenWindow::showStructure(const ScreenLayer& current) {
    current_ = current;
    const model::Pattern& pattern = current.pattern;
    domainCountLabel->setText(QString::fromStdString(pattern.DomainCaption()));
    if (!pinned_) readout->clear();
    redraw();
}

void ScreenWindow::showNothing(const QString& note) {
    current_.reset();
    domainCountLabel->setText(note);
    pinned_ = false;
    readout->clear();
    redraw();
}

std::vector<ScreenLayer> ScreenWindow::layers() const {
    std::vector<ScreenLayer> all;
    if (current_) all.push_back(*current_);
    all.insert(all.end(), kept_.begin(), kept_.end());
    return all;
}

void ScreenWindow::redraw() {
    view->setLayers(layers(), settings_);
    if (image_) {
        showImageState();
        updateScore();
    }
    emit settingsChanged();
}

void ScreenWindow::keepCurrent() {
    if (!current_) return;
    if (static_cast<int>(kept_.size()) >= kMostKeptLayers) {
        platform::ShowMessage(QStringLiteral("At most %1 structures can be kept on the screen.")
                                  .arg(kMostKeptLayers));
        return;
    }
    ScreenLayer layer = *current_;
    layer.marker = MarkerOfKept(static_cast<int>(kept_.size()));
    layer.visible = true;
    kept_.push_back(layer);
    showKeptList();
    redraw();
}

void ScreenWindow::setKeptLayers(std::vector<ScreenLayer> layers) {
    if (static_cast<int>(layers.size()) > kMostKeptLayers) layers.resize(kMostKeptLayers);
    kept_ = std::move(layers);
    for (std::size_t i = 0; i < kept_.size(); ++i) kept_[i].marker = MarkerOfKept(static_cast<int>(i));
    showKeptList();
    redraw();
}

void ScreenWindow::removeKept(int index) {
    if (index < 0 || index >= static_cast<int>(kept_.size())) return;
    kept_.erase(kept_.begin() + index);
    for (std::size_t i = 0; i < kept_.size(); ++i) kept_[i].marker = MarkerOfKept(static_cast<int>(i));
    showKeptList();
    redraw();
}

void ScreenWindow::clearKept() {
    kept_.clear();
    showKeptList();
    redraw();
}

void ScreenWindow::showKeptList() {
    const QSignalBlocker quiet(keptList);
    keptList->clear();
    for (const ScreenLayer& layer : kept_) {
        auto* item = new QListWidgetItem(MarkerName(layer.marker) + QStringLiteral("  ") + layer.name);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(layer.visible ? Qt::Checked : Qt::Unchecked);
        keptList->addItem(item);
    }
    keepButton->setEnabled(static_cast<int>(kept_.size()) < kMostKeptLayers);
}

std::optional<QString> ScreenWindow::readoutAt(QPointF viewPoint) const {
    if (!current_) return std::nullopt;
    const ScreenLayer& layer = *current_;
    const model::ScreenScale scale = model::MakeScreenScale(layer.structure, settings_);
    const ScreenGeometry geometry = view->geometry();
    const qreal dpr = view->devicePixelRatioF();
    model::Vec2 g = geometry.ToReciprocal(viewPoint * dpr, scale);
    double pixelsPerUnit = geometry.radius * scale.perUnit / (scale.k * scale.sinAcceptance);
    double reach = (SpotRadiusOn(geometry, layers(), settings_) * 1.6 + kPointerReach * dpr) /
                   pixelsPerUnit;
    if (image_) {
        // Over an image the calibration says where the screen lies.
        const std::optional<QPointF> at = imagePointAt(viewPoint);
        const std::optional<model::Vec2> u = at ? calibration_.ScreenPoint(*at) : std::nullopt;
        if (!u) return std::nullopt;
        g = {u->x * scale.k / scale.perUnit, u->y * scale.k / scale.perUnit};
        pixelsPerUnit = view->imageToDevice().m11() * calibration_.Scale() * scale.perUnit / scale.k;
        reach = (image::SnapRadius(image_->pixels) * view->imageToDevice().m11() +
                 kPointerReach * dpr) / pixelsPerUnit;
    }
    model::SpotListOptions options;
    options.include1x1 = layer.structure.options.include1x1;
    options.indexDenominator = std::llabs(layer.structure.matrix.Determinant());
    const std::optional<model::ListedSpot> spot =
        model::SpotNear(layer.pattern, layer.vectors, g, reach, options);
    if (!spot || spot->length > scale.GMaxDocument()) return std::nullopt;
    return SpotReadout(*spot, scale, scale.perUnit,
                       layer.structure.options.paintDomains && layer.structure.options.includeDomains);
}

void ScreenWindow::onPointerMoved(QPointF at) {
    if (pinned_) return;
    const std::optional<QString> text = readoutAt(at);
    readout->setText(text.value_or(QString()));
}

void ScreenWindow::onPointerClicked(QPointF at) {
    if (image_ && onImageClicked(at)) return;
    const std::optional<QString> text = readoutAt(at);
    // A click on a spot pins its read-out; a click elsewhere lets it follow the pointer again.
    pinned_ = text.has_value();
    readout->setText(text ? QStringLiteral("\U0001F4CC ") + *text : QString());
}

}  // namespace quorvex::window
