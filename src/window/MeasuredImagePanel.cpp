#include "window/MeasuredImagePanel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quorvex::window {

namespace {

// Gamma from 0.1 to 10 over the slider's -100..100, 1 in the middle.
double GammaOf(int position) { return std::pow(10.0, position / 100.0); }
int PositionOfGamma(double gamma) { return static_cast<int>(std::lround(std::log10(gamma) * 100)); }

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

HistogramView::HistogramView(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(60);
}

void HistogramView::setBins(std::vector<std::uint64_t> bins) {
    bins_ = std::move(bins);
    update();
}

void HistogramView::setLevels(const image::Levels& levels) {
    levels_ = levels;
    update();
}

void HistogramView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(30, 30, 30));
    if (bins_.empty()) return;
    const double top = std::log1p(static_cast<double>(*std::max_element(bins_.begin(), bins_.end())));
    const double w = width(), h = height();
    p.setPen(QColor(170, 170, 170));
    for (std::size_t i = 0; i < bins_.size(); ++i) {
        const double x = (static_cast<double>(i) + 0.5) * w / static_cast<double>(bins_.size());
        const double bar = top > 0 ? std::log1p(static_cast<double>(bins_[i])) / top * (h - 2) : 0;
        p.drawLine(QPointF(x, h), QPointF(x, h - bar));
    }
    p.setPen(QPen(QColor(80, 160, 255), 1.5));
    p.drawLine(QPointF(levels_.black * w, 0), QPointF(levels_.black * w, h));
    p.setPen(QPen(QColor(255, 200, 80), 1.5));
    p.drawLine(QPointF(levels_.white * w, 0), QPointF(levels_.white * w, h));
}

MeasuredImagePanel::MeasuredImagePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("measuredImagePanel"));
    fileLabel = Named(new QLabel(this), "fileLabel");
    fileLabel->setWordWrap(true);
    auto slider = [this](const char* name, int low, int high) {
        auto* s = Named(new QSlider(Qt::Horizontal, this), name);
        s->setRange(low, high);
        connect(s, &QSlider::valueChanged, this, [this] { emit levelsEdited(); });
        return s;
    };
    blackPointSlider = slider("blackPointSlider", 0, kLevelSteps);
    whitePointSlider = slider("whitePointSlider", 0, kLevelSteps);
    gammaSlider = slider("gammaSlider", -100, 100);
    invertBox = Named(new QCheckBox(QStringLiteral("Invert"), this), "invertBox");
    connect(invertBox, &QCheckBox::toggled, this, [this] { emit levelsEdited(); });
    autoLevelsButton = Named(new QPushButton(QStringLiteral("Auto"), this), "autoLevelsButton");
    histogramView = Named(new HistogramView(this), "histogramView");
    levelsLabel = Named(new QLabel(this), "levelsLabel");

    calibrationLabel = Named(new QLabel(this), "calibrationLabel");
    calibrationLabel->setWordWrap(true);
    markModeButton = Named(new QPushButton(QStringLiteral("Mark spots"), this), "markModeButton");
    markModeButton->setCheckable(true);
    markModeButton->setToolTip(QStringLiteral(
        "Click a spot in the image, then the simulated spot it is (or type its indices)."));
    markIndicesField = Named(new QLineEdit(this), "markIndicesField");
    markIndicesField->setPlaceholderText(QStringLiteral("h k, e.g. 1/2 0"));
    affineBox = Named(new QCheckBox(QStringLiteral("Tilted camera (4+ marks)"), this), "affineBox");
    fitFreeList = Named(new QComboBox(this), "fitFreeList");
    fitFreeList->addItems({QStringLiteral("Fit scale"), QStringLiteral("Fit energy"),
                           QStringLiteral("Fit lattice constant")});
    fitFreeList->setToolTip(QStringLiteral(
        "Energy or lattice constant in the place of the scale: the screen's scale from the "
        "calibration so far (at a known energy) is kept."));
    fitButton = Named(new QPushButton(QStringLiteral("Fit"), this), "fitButton");
    markList = Named(new QListWidget(this), "markList");
    markList->setMinimumHeight(90);
    removeMarkButton = Named(new QPushButton(QStringLiteral("Remove mark"), this), "removeMarkButton");
    clearMarksButton = Named(new QPushButton(QStringLiteral("Remove all"), this), "clearMarksButton");
    fitLabel = Named(new QLabel(this), "fitLabel");
    fitLabel->setWordWrap(true);
    scoreLabel = Named(new QLabel(this), "scoreLabel");
    scoreLabel->setWordWrap(true);

    auto* levelsBox = new QGroupBox(QStringLiteral("Levels"), this);
    auto* levelsForm = new QFormLayout(levelsBox);
    levelsForm->addRow(histogramView);
    levelsForm->addRow(QStringLiteral("Black"), blackPointSlider);
    levelsForm->addRow(QStringLiteral("White"), whitePointSlider);
    levelsForm->addRow(QStringLiteral("Gamma"), gammaSlider);
    auto* levelsRow = new QHBoxLayout;
    levelsRow->addWidget(invertBox);
    levelsRow->addWidget(autoLevelsButton);
    levelsForm->addRow(levelsRow);
    levelsForm->addRow(levelsLabel);

    auto* calibrationBox = new QGroupBox(QStringLiteral("Calibration"), this);
    auto* calibrationLayout = new QVBoxLayout(calibrationBox);
    calibrationLayout->addWidget(calibrationLabel);
    auto* markRow = new QHBoxLayout;
    markRow->addWidget(markModeButton);
    markRow->addWidget(markIndicesField);
    calibrationLayout->addLayout(markRow);
    calibrationLayout->addWidget(markList);
    auto* markButtons = new QHBoxLayout;
    markButtons->addWidget(removeMarkButton);
    markButtons->addWidget(clearMarksButton);
    calibrationLayout->addLayout(markButtons);
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(fitFreeList);
    fitRow->addWidget(fitButton);
    calibrationLayout->addWidget(affineBox);
    calibrationLayout->addLayout(fitRow);
    calibrationLayout->addWidget(fitLabel);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(fileLabel);
    outer->addWidget(levelsBox);
    outer->addWidget(calibrationBox);
    outer->addWidget(scoreLabel);
    outer->addStretch(1);
    setFixedWidth(290);
}

image::Levels MeasuredImagePanel::levelsShown() const {
    image::Levels l;
    l.black = blackPointSlider->value() / static_cast<double>(kLevelSteps);
    l.white = whitePointSlider->value() / static_cast<double>(kLevelSteps);
    l.gamma = GammaOf(gammaSlider->value());
    l.invert = invertBox->isChecked();
    return l;
}

void MeasuredImagePanel::showLevels(const image::Levels& levels) {
    const QSignalBlocker a(blackPointSlider), b(whitePointSlider), c(gammaSlider), d(invertBox);
    blackPointSlider->setValue(static_cast<int>(std::lround(levels.black * kLevelSteps)));
    whitePointSlider->setValue(static_cast<int>(std::lround(levels.white * kLevelSteps)));
    gammaSlider->setValue(PositionOfGamma(levels.gamma));
    invertBox->setChecked(levels.invert);
    histogramView->setLevels(levels);
    levelsLabel->setText(QStringLiteral("black %1 %  white %2 %  gamma %3")
                             .arg(levels.black * 100, 0, 'f', 1)
                             .arg(levels.white * 100, 0, 'f', 1)
                             .arg(levels.gamma, 0, 'f', 2));
}

}  // namespace quorvex::window
