// The measured image in the LEED screen window: opening and dropping files,
// levels, the calibration's handles and marks, the fit, the score, and the
// state kept in the structure file.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

#include "platform/MessageBox.h"
#include "window/ScreenWindow.h"

namespace quorvex::window {

namespace {

// A handle answers the pointer this far (device-independent pixels).
constexpr double kHandleReach = 9;

QString Fixed(double v, int decimals) { return QString::number(v, 'f', decimals); }

}  // namespace

std::optional<model::Fraction> ParseIndex(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('/'));
    bool ok = false;
    if (parts.size() == 2) {
        const long long n = parts[0].trimmed().toLongLong(&ok);
        bool ok2 = false;
        const long long d = parts[1].trimmed().toLongLong(&ok2);
        if (!ok || !ok2 || d == 0 || std::llabs(n) > 1000000 || std::llabs(d) > 1000000)
            return std::nullopt;
        const long long g = std::gcd(n, d) * (d < 0 ? -1 : 1);
        return model::Fraction{n / g, d / g};
    }
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > 1000) return std::nullopt;
    for (long long d = 1; d <= 12; ++d) {
        const double n = std::round(v * static_cast<double>(d));
        if (std::abs(n - v * static_cast<double>(d)) < 0.01 * static_cast<double>(d)) {
            const auto ni = static_cast<long long>(n);
            const long long g = std::gcd(ni, d);
            return model::Fraction{ni / g, d / g};
        }
    }
    return std::nullopt;
}

QString MarkedSpot::IndexText() const {
    return QStringLiteral("(%1 %2)").arg(QString::fromStdString(h.Text()),
                                         QString::fromStdString(k.Text()));
}

// ---- the view's picture over an image ----

void ScreenView::setMeasured(const image::MeasuredImage* image) {
    measured_ = image;
    reduced_.clear();
    reducedSize_ = QSize();
    shown_ = QImage();
    stale_ = true;
    update();
}

void ScreenView::setLevels(const image::Levels& levels) {
    if (levels == levels_ && !shown_.isNull()) return;
    levels_ = levels;
    shown_ = QImage();
    stale_ = true;
    update();
}

void ScreenView::setOverlay(ImageOverlay overlay) {
    overlay_ = std::move(overlay);
    stale_ = true;
    update();
}

QTransform ScreenView::imageToDevice() const {
    if (!measured_ || measured_->width <= 0 || measured_->height <= 0) return {};
    const qreal dpr = devicePixelRatioF();
    const double w = std::lround(width() * dpr), h = std::lround(height() * dpr);
    const double zoom = std::min(w / measured_->width, h / measured_->height);
    const double shownW = std::max(1.0, std::round(measured_->width * zoom));
    const double shownH = std::max(1.0, std::round(measured_->height * zoom));
    return QTransform(shownW / measured_->width, 0, 0, shownH / measured_->height,
                      std::floor((w - shownW) / 2), std::floor((h - shownH) / 2));
}

void ScreenView::renderOverImage() {
    const QTransform toDevice = imageToDevice();
    const QSize shownSize(static_cast<int>(std::lround(measured_->width * toDevice.m11())),
                          static_cast<int>(std::lround(measured_->height * toDevice.m22())));
    // The full-depth image is averaged once per size, the levels applied
    // once per change; a frame only draws the cached picture.
    if (reducedSize_ != shownSize) {
        reduced_ = image::Resampled(*measured_, shownSize);
        reducedSize_ = shownSize;
        shown_ = QImage();
    }
    if (shown_.isNull())
        shown_ = image::ApplyLevels(reduced_, shownSize, levels_, QImage::Format_RGB32);
    image_.fill(Qt::black);
    QPainter p(&image_);
    p.drawImage(QPointF(toDevice.dx(), toDevice.dy()), shown_);
    const double radius = std::clamp(image::SnapRadius(*measured_) * toDevice.m11(),
                                     3 * devicePixelRatioF(), 14 * devicePixelRatioF());
    PaintImageOverlay(p, toDevice, layers_, settings_, overlay_, radius);
    drawn_ = 0;
}

// ---- the window ----

void ScreenWindow::createImageControls() {
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    openImageAction = file->addAction(QStringLiteral("&Open image\u2026"));
    openImageAction->setObjectName(QStringLiteral("openImageAction"));
    openImageAction->setShortcut(QKeySequence::Open);
    connect(openImageAction, &QAction::triggered, this, [this] { onOpenImageChosen(); });
    closeImageAction = file->addAction(QStringLiteral("&Close image"));
    closeImageAction->setObjectName(QStringLiteral("closeImageAction"));
    closeImageAction->setEnabled(false);
    connect(closeImageAction, &QAction::triggered, this, [this] { closeImage(); });

    imagePanel = new MeasuredImagePanel(this);
    imagePanel->hide();
    MeasuredImagePanel* ip = imagePanel;
    connect(ip, &MeasuredImagePanel::levelsEdited, this, [this] { onLevelsEdited(); });
    connect(ip->autoLevelsButton, &QPushButton::clicked, this, [this] { autoLevels(); });
    connect(ip->markModeButton, &QPushButton::toggled, this, [this](bool on) {
        if (!on) pendingMark_.reset();
        showImageState();
    });
    connect(ip->markIndicesField, &QLineEdit::returnPressed, this, [this] { onMarkIndicesTyped(); });
    connect(ip->fitButton, &QPushButton::clicked, this, [this] { fitCalibration(true); });
    connect(ip->removeMarkButton, &QPushButton::clicked, this,
            [this] { removeMark(imagePanel->markList->currentRow()); });
    connect(ip->clearMarksButton, &QPushButton::clicked, this, [this] { clearMarks(); });
}

void ScreenWindow::onOpenImageChosen() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open a measured LEED image"), QString(),
        QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp *.tif *.tiff);;All files (*)"));
    if (!path.isEmpty()) openImage(path);
}

void ScreenWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void ScreenWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    openImage(urls.front().toLocalFile());
}

bool ScreenWindow::openImage(const QString& path) {
    image::LoadedImage loaded = image::LoadMeasuredImage(path);
    if (!loaded.image) {
        platform::ShowMessage(loaded.error);
        return false;
    }
    auto opened = std::make_unique<OpenImage>();
    opened->path = QFileInfo(path).absoluteFilePath();
    opened->pixels = std::move(*loaded.image);
    // A state kept from a structure file whose image was missing applies to
    // an image of its size.
    const bool remembered = remembered_ && remembered_->size == opened->pixels.Size();
    std::optional<KeptImageState> state;
    if (remembered) state = remembered_;
    remembered_.reset();
    adoptImage(std::move(opened), state ? &*state : nullptr);
    return true;
}

void ScreenWindow::adoptImage(std::unique_ptr<OpenImage> opened, const KeptImageState* state) {
    opened->histogram = image::Histogram(opened->pixels.grey);
    opened->maxima = image::StrongMaxima(opened->pixels, opened->histogram,
                                         image::SnapRadius(opened->pixels));
    const bool first = !image_;
    image_ = std::move(opened);
    pendingMark_.reset();
    residuals_.clear();
    if (state) {
        levels_ = image::Sanitised(state->levels);
        calibration_ = state->calibrated ? state->calibration
                                         : image::Calibration::Fitting(image_->pixels.Size(),
                                                                       settings_.acceptanceDegrees);
        marks_ = state->marks;
    } else {
        levels_ = image::AutoLevels(image_->histogram, {});
        calibration_ = image::Calibration::Fitting(image_->pixels.Size(), settings_.acceptanceDegrees);
        marks_.clear();
    }
    view->setMeasured(&image_->pixels);
    view->setLevels(levels_);
    imagePanel->histogramView->setBins(image_->histogram.Bins(128));
    imagePanel->showLevels(levels_);
    imagePanel->fileLabel->setText(
        QStringLiteral("<b>%1</b><br>%2 \u00D7 %3, %4-bit %5")
            .arg(QFileInfo(image_->path).fileName().toHtmlEscaped())
            .arg(image_->pixels.width)
            .arg(image_->pixels.height)
            .arg(image_->pixels.bitsPerChannel)
            .arg(image_->pixels.colour ? QStringLiteral("colour") : QStringLiteral("grey")));
    closeImageAction->setEnabled(true);
    if (first) {
        imagePanel->show();
        sizeWithoutImage_ = size();
        if (!isMaximized())
            resize(width() + imagePanel->width(), std::max(height(), sizeHint().height()));
    }
    showMarks();
    redraw();
}

void ScreenWindow::paintMeasuredScene(QPainter& painter, const QRectF& target) const {
    if (!image_ || target.isEmpty()) return;
    const image::MeasuredImage& m = image_->pixels;
    const double zoom = std::min(target.width() / m.width, target.height() / m.height);
    const QRectF placed(target.center() - QPointF(m.width, m.height) * zoom / 2,
                        QSizeF(m.width, m.height) * zoom);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(placed, image::ApplyLevels(m.grey, m.Size(), levels_));
    const QTransform toTarget(zoom, 0, 0, zoom, placed.left(), placed.top());
    PaintImageOverlay(painter, toTarget, layers(), settings_, view->overlay(),
                      std::max(3.0, image::SnapRadius(m) * zoom));
    painter.restore();
}

void ScreenWindow::closeImage() {
    if (!image_) return;
    view->setMeasured(nullptr);
    image_.reset();
    marks_.clear();
    residuals_.clear();
    pendingMark_.reset();
    score_ = {};
    drag_ = Drag::None;
    imagePanel->hide();
    imagePanel->markModeButton->setChecked(false);
    closeImageAction->setEnabled(false);
    // The window goes back to the size it had before the panel came.
    if (!isMaximized()) resize(sizeWithoutImage_);
    redraw();
}

QString ScreenWindow::imagePath() const { return image_ ? image_->path : QString(); }

const image::MeasuredImage* ScreenWindow::measuredImage() const {
    return image_ ? &image_->pixels : nullptr;
}

void ScreenWindow::setLevels(const image::Levels& levels) {
    levels_ = image::Sanitised(levels);
    imagePanel->showLevels(levels_);
    view->setLevels(levels_);
}

void ScreenWindow::autoLevels() {
    if (image_) setLevels(image::AutoLevels(image_->histogram, levels_));
}

void ScreenWindow::onLevelsEdited() {
    // Only what the user moved changes: the other values keep their full precision.
    const image::Levels shown = imagePanel->levelsShown();
    image::Levels next = levels_;
    const double step = 1.0 / MeasuredImagePanel::kLevelSteps;
    if (std::abs(shown.black - levels_.black) >= step / 2) next.black = shown.black;
    if (std::abs(shown.white - levels_.white) >= step / 2) next.white = shown.white;
    if (std::abs(std::log10(shown.gamma / levels_.gamma)) >= 0.005) next.gamma = shown.gamma;
    next.invert = shown.invert;
    setLevels(next);
}

void ScreenWindow::setCalibration(const image::Calibration& calibration) {
    if (!calibration.Valid()) return;
    calibration_ = calibration;
    residuals_.clear();
    showImageState();
    if (drag_ == Drag::None) updateScore();
}

std::optional<QPointF> ScreenWindow::imagePointAt(QPointF viewPoint) const {
    if (!image_) return std::nullopt;
    bool invertible = false;
    const QTransform back = view->imageToDevice().inverted(&invertible);
    if (!invertible) return std::nullopt;
    return back.map(viewPoint * view->devicePixelRatioF());
}

QPointF ScreenWindow::viewPointOf(QPointF imagePoint) const {
    return view->imageToDevice().map(imagePoint) / view->devicePixelRatioF();
}

void ScreenWindow::onViewPressed(QPointF at) {
    drag_ = Drag::None;
    if (!image_) return;
    auto near = [&](QPointF imagePoint) {
        const QPointF d = viewPointOf(imagePoint) - at;
        return std::hypot(d.x(), d.y()) <= kHandleReach;
    };
    const std::optional<QPointF> here = imagePointAt(at);
    if (!here) return;
    if (near(RingHandle(calibration_, settings_))) {
        drag_ = Drag::Ring;
        dragGrip_ = RingHandle(calibration_, settings_) - *here;
    } else if (near(calibration_.centre)) {
        drag_ = Drag::Centre;
        dragGrip_ = calibration_.centre - *here;
    }
}

void ScreenWindow::onViewDragged(QPointF at) {
    if (drag_ == Drag::None) return;
    const std::optional<QPointF> here = imagePointAt(at);
    if (!here) return;
    const QPointF target = *here + dragGrip_;
    image::Calibration next = calibration_;
    if (drag_ == Drag::Centre) {
        next.centre = target;
    } else {
        // Scale and turn L so that the ring handle follows the pointer.
        const QPointF from = RingHandle(calibration_, settings_) - calibration_.centre;
        const QPointF to = target - calibration_.centre;
        const double lengthFrom = std::hypot(from.x(), from.y()), lengthTo = std::hypot(to.x(), to.y());
        if (!(lengthFrom > 0) || !(lengthTo > 2)) return;
        const double turn = std::atan2(to.y(), to.x()) - std::atan2(from.y(), from.x());
        const double f = lengthTo / lengthFrom, c = std::cos(turn) * f, s = std::sin(turn) * f;
        next.l11 = c * calibration_.l11 - s * calibration_.l21;
        next.l12 = c * calibration_.l12 - s * calibration_.l22;
        next.l21 = s * calibration_.l11 + c * calibration_.l21;
        next.l22 = s * calibration_.l12 + c * calibration_.l22;
    }
    setCalibration(next);
}

bool ScreenWindow::onImageClicked(QPointF at) {
    if (drag_ != Drag::None) {
        // The end of a drag: the score follows the calibration now.
        drag_ = Drag::None;
        updateScore();
        return true;
    }
    if (!imagePanel->markModeButton->isChecked()) return false;
    const std::optional<QPointF> here = imagePointAt(at);
    if (!here) return true;
    if (!pendingMark_) {
        markImagePoint(*here, true);
        return true;
    }
    // The second click names the simulated spot under it.
    if (!current_) return true;
    const model::ScreenScale scale = model::MakeScreenScale(current_->structure, settings_);
    const std::optional<model::Vec2> u = calibration_.ScreenPoint(*here);
    if (!u) return true;
    const model::Vec2 g{u->x * scale.k / scale.perUnit, u->y * scale.k / scale.perUnit};
    const double pixelsPerUnit = calibration_.Scale() * scale.perUnit / scale.k;  // image pixels
    const double reach = (kHandleReach * view->devicePixelRatioF() / view->imageToDevice().m11() +
                          image::SnapRadius(image_->pixels)) / pixelsPerUnit;
    model::SpotListOptions options;
    options.include1x1 = current_->structure.options.include1x1;
    options.indexDenominator = std::llabs(current_->structure.matrix.Determinant());
    const std::optional<model::ListedSpot> spot =
        model::SpotNear(current_->pattern, current_->vectors, g, reach, options);
    if (!spot) {
        imagePanel->fitLabel->setText(
            QStringLiteral("No simulated spot there: click one, or type its indices."));
        return true;
    }
    indexPendingMark(spot->h, spot->k);
    return true;
}

void ScreenWindow::markImagePoint(QPointF imagePoint, bool snap) {
    if (!image_) return;
    const std::optional<QPointF> snapped =
        snap ? image::SnapToSpot(image_->pixels, imagePoint, image::SnapRadius(image_->pixels))
             : std::nullopt;
    pendingMark_ = snapped.value_or(imagePoint);
    imagePanel->fitLabel->setText(
        QStringLiteral("Marked at (%1, %2): now click the simulated spot it is, or type its indices.")
            .arg(Fixed(pendingMark_->x(), 1), Fixed(pendingMark_->y(), 1)));
    showImageState();
}

void ScreenWindow::onMarkIndicesTyped() {
    const QStringList parts = imagePanel->markIndicesField->text().split(
        QRegularExpression(QStringLiteral("[\\s,;()]+")), Qt::SkipEmptyParts);
    const std::optional<model::Fraction> h = parts.size() == 2 ? ParseIndex(parts[0]) : std::nullopt;
    const std::optional<model::Fraction> k = parts.size() == 2 ? ParseIndex(parts[1]) : std::nullopt;
    if (!h || !k) {
        platform::ShowMessage(QStringLiteral(
            "Type the spot's two indices, such as \u201C1 0\u201D or \u201C1/2 -1/2\u201D."));
        return;
    }
    if (!pendingMark_) {
        platform::ShowMessage(QStringLiteral("First click the spot in the image, then type its indices."));
        return;
    }
    if (indexPendingMark(*h, *k)) imagePanel->markIndicesField->clear();
}

bool ScreenWindow::indexPendingMark(model::Fraction h, model::Fraction k) {
    if (!pendingMark_ || !image_) return false;
    marks_.push_back({*pendingMark_, h, k});
    pendingMark_.reset();
    residuals_.clear();
    const int least = imagePanel->affineBox->isChecked() ? image::kLeastMarksAffine
                                                         : image::kLeastMarksSimilar;
    // Enough marks: the calibration follows each new one.
    if (static_cast<int>(marks_.size()) >= least)
        fitCalibration(false);
    else
        imagePanel->fitLabel->setText(QStringLiteral("%1 marked; a fit needs %2.")
                                          .arg(marks_.size())
                                          .arg(least));
    showMarks();
    showImageState();
    return true;
}

void ScreenWindow::removeMark(int index) {
    if (index < 0 || index >= static_cast<int>(marks_.size())) return;
    marks_.erase(marks_.begin() + index);
    residuals_.clear();
    showMarks();
    showImageState();
}

void ScreenWindow::clearMarks() {
    marks_.clear();
    residuals_.clear();
    pendingMark_.reset();
    showMarks();
    showImageState();
}

bool ScreenWindow::fitCalibration(bool messageBox) {
    auto refuse = [&](const QString& why) {
        imagePanel->fitLabel->setText(why);
        if (messageBox) platform::ShowMessage(why);
        return false;
    };
    if (!image_) return false;
    if (!current_) return refuse(QStringLiteral("There is no structure to fit: the superlattice was refused."));
    image::FitRequest request;
    for (const MarkedSpot& m : marks_)
        request.marks.push_back({m.at, BeamOf(*current_, settings_, m.h.Value(), m.k.Value())});
    request.affine = imagePanel->affineBox->isChecked();
    request.free = static_cast<image::FreeScale>(std::clamp(imagePanel->fitFreeList->currentIndex(), 0, 2));
    request.energy = settings_.energy;
    request.latticeConstant = settings_.latticeConstant;
    request.current = calibration_;
    const image::FitResult fit = image::FitCalibration(request);
    if (!fit.calibration) return refuse(fit.error);
    calibration_ = *fit.calibration;
    residuals_ = fit.residuals;
    QString fitted;
    if (request.free == image::FreeScale::Energy) {
        settings_.energy = fit.energy;
        fitted = QStringLiteral(", energy %1 eV").arg(Fixed(fit.energy, 2));
    } else if (request.free == image::FreeScale::LatticeConstant) {
        settings_.latticeConstant = fit.latticeConstant;
        fitted = QStringLiteral(", a = %1 \u00C5").arg(Fixed(fit.latticeConstant, 4));
    }
    imagePanel->fitLabel->setText(QStringLiteral("Fitted to %1 marks: rms %2 px%3")
                                      .arg(marks_.size())
                                      .arg(Fixed(fit.rms, 2), fitted));
    showSettings();
    showMarks();
    redraw();
    return true;
}

void ScreenWindow::showMarks() {
    QListWidget* list = imagePanel->markList;
    const int row = list->currentRow();
    list->clear();
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        QString text = QStringLiteral("%1  at %2, %3")
                           .arg(marks_[i].IndexText(), Fixed(marks_[i].at.x(), 1),
                                Fixed(marks_[i].at.y(), 1));
        if (i < residuals_.size()) text += QStringLiteral("  off %1 px").arg(Fixed(residuals_[i], 2));
        list->addItem(text);
    }
    if (row >= 0 && row < list->count()) list->setCurrentRow(row);
}

void ScreenWindow::showImageState() {
    if (!image_) return;
    ImageOverlay overlay;
    overlay.calibration = calibration_;
    overlay.pending = pendingMark_;
    const model::ScreenScale scale =
        current_ ? model::MakeScreenScale(current_->structure, settings_) : model::ScreenScale{};
    for (const MarkedSpot& m : marks_) {
        OverlayMark shown{m.at, m.IndexText(), std::nullopt};
        if (current_ && scale.k > 0) {
            const model::Vec2 g = BeamOf(*current_, settings_, m.h.Value(), m.k.Value());
            shown.fitted = calibration_.ImagePoint({g.x / scale.k, g.y / scale.k});
        }
        overlay.marks.push_back(shown);
    }
    // While a drag moves the spots, the last score's crosses would point at the wrong maxima.
    if (drag_ == Drag::None)
        for (int index : score_.unexplained)
            overlay.unexplained.push_back(image_->maxima[static_cast<std::size_t>(index)]);
    view->setOverlay(std::move(overlay));
    imagePanel->calibrationLabel->setText(
        QStringLiteral("Centre %1, %2 px \u00B7 scale %3 px \u00B7 rotation %4\u00B0%5")
            .arg(Fixed(calibration_.centre.x(), 1), Fixed(calibration_.centre.y(), 1),
                 Fixed(calibration_.Scale(), 1), Fixed(calibration_.RotationDegrees(), 2),
                 calibration_.Distorted() ? QStringLiteral(" \u00B7 tilted") : QString()));
}

void ScreenWindow::updateScore() {
    score_ = {};
    if (!image_ || !current_) {
        imagePanel->scoreLabel->setText(image_ ? QStringLiteral("No structure to score.") : QString());
        showImageState();
        return;
    }
    std::vector<QPointF> simulated;
    for (const SpotOnImage& s : SpotsOnImage(*current_, settings_, calibration_)) {
        // The (0 0) beam lies behind the gun.
        if (s.spot.h.numerator == 0 && s.spot.k.numerator == 0) continue;
        simulated.push_back(s.at);
    }
    score_ = image::ScoreSpots(image_->maxima, simulated, image_->pixels.Size(),
                               image::SnapRadius(image_->pixels));
    showImageState();
    imagePanel->scoreLabel->setText(
        QStringLiteral("<b>Score of %1:</b> %2 of %3 spots on a maximum; %4 of %5 strong maxima "
                       "unexplained")
            .arg(current_->name.toHtmlEscaped())
            .arg(score_.matched)
            .arg(score_.spots)
            .arg(score_.unexplained.size())
            .arg(image_->maxima.size()));
}

}  // namespace quorvex::window
