// The measured image's part of the structure file: its path, levels,
// calibration and marks as a JSON object, and their return, with an image
// that has moved or gone missing.
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <cmath>

#include "window/ScreenWindow.h"

namespace quorvex::window {

namespace {

QJsonArray NumbersOf(std::initializer_list<double> values) {
    QJsonArray a;
    for (double v : values) a.append(v);
    return a;
}

bool Finite(const QJsonArray& a, int count) {
    if (a.size() != count) return false;
    for (const auto& v : a)
        if (!v.isDouble() || !std::isfinite(v.toDouble())) return false;
    return true;
}

}  // namespace

QJsonObject ScreenWindow::measuredImageState() const {
    if (!image_) return remembered_ ? remembered_->source : QJsonObject{};
    QJsonObject state;
    state[QStringLiteral("path")] = image_->path;
    state[QStringLiteral("width")] = image_->pixels.width;
    state[QStringLiteral("height")] = image_->pixels.height;
    state[QStringLiteral("levels")] = QJsonObject{{QStringLiteral("black"), levels_.black},
                                                  {QStringLiteral("white"), levels_.white},
                                                  {QStringLiteral("gamma"), levels_.gamma},
                                                  {QStringLiteral("invert"), levels_.invert}};
    const image::Calibration& c = calibration_;
    state[QStringLiteral("calibration")] =
        QJsonObject{{QStringLiteral("centre"), NumbersOf({c.centre.x(), c.centre.y()})},
                    {QStringLiteral("matrix"), NumbersOf({c.l11, c.l12, c.l21, c.l22})}};
    QJsonArray marks;
    for (const MarkedSpot& m : marks_)
        marks.append(QJsonObject{{QStringLiteral("at"), NumbersOf({m.at.x(), m.at.y()})},
                                 {QStringLiteral("h"), QString::fromStdString(m.h.Text())},
                                 {QStringLiteral("k"), QString::fromStdString(m.k.Text())}});
    state[QStringLiteral("marks")] = marks;
    return state;
}

bool ScreenWindow::setMeasuredImageState(const QJsonObject& state, const QString& baseDir,
                                         QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (state.isEmpty()) {
        closeImage();
        return true;
    }
    // What can be read is kept; anything out of range takes its default.
    KeptImageState kept;
    kept.size = QSize(state.value(QStringLiteral("width")).toInt(), state.value(QStringLiteral("height")).toInt());
    const QJsonObject levels = state.value(QStringLiteral("levels")).toObject();
    kept.levels = image::Sanitised({levels.value(QStringLiteral("black")).toDouble(0),
                                    levels.value(QStringLiteral("white")).toDouble(1),
                                    levels.value(QStringLiteral("gamma")).toDouble(1),
                                    levels.value(QStringLiteral("invert")).toBool(false)});
    const QJsonObject cal = state.value(QStringLiteral("calibration")).toObject();
    const QJsonArray centre = cal.value(QStringLiteral("centre")).toArray();
    const QJsonArray matrix = cal.value(QStringLiteral("matrix")).toArray();
    if (Finite(centre, 2) && Finite(matrix, 4)) {
        image::Calibration c;
        c.centre = QPointF(centre[0].toDouble(), centre[1].toDouble());
        c.l11 = matrix[0].toDouble();
        c.l12 = matrix[1].toDouble();
        c.l21 = matrix[2].toDouble();
        c.l22 = matrix[3].toDouble();
        kept.calibrated = c.Valid();
        if (kept.calibrated) kept.calibration = c;
    }
    for (const auto& value : state.value(QStringLiteral("marks")).toArray()) {
        const QJsonObject m = value.toObject();
        const QJsonArray at = m.value(QStringLiteral("at")).toArray();
        const std::optional<model::Fraction> h = ParseIndex(m.value(QStringLiteral("h")).toString());
        const std::optional<model::Fraction> k = ParseIndex(m.value(QStringLiteral("k")).toString());
        if (Finite(at, 2) && h && k) kept.marks.push_back({QPointF(at[0].toDouble(), at[1].toDouble()), *h, *k});
    }
    const QString path = state.value(QStringLiteral("path")).toString();
    QStringList candidates;
    if (!path.isEmpty()) {
        candidates << (QFileInfo(path).isAbsolute() ? path : QDir(baseDir).filePath(path));
        // Moved together with the structure file: beside it.
        if (!baseDir.isEmpty()) candidates << QDir(baseDir).filePath(QFileInfo(path).fileName());
    }
    QString why = QStringLiteral("The measured image \u201C%1\u201D was not found.").arg(path);
    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(candidate)) continue;
        image::LoadedImage loaded = image::LoadMeasuredImage(candidate);
        if (!loaded.image) {
            why = loaded.error;
            continue;
        }
        auto opened = std::make_unique<OpenImage>();
        opened->path = QFileInfo(candidate).absoluteFilePath();
        opened->pixels = std::move(*loaded.image);
        remembered_.reset();
        adoptImage(std::move(opened), &kept);
        return true;
    }
    // The rest of the file opens; the levels and calibration wait for the image.
    kept.source = state;
    remembered_ = kept;
    return fail(why + QStringLiteral(" The structure opens without it; open the image again to "
                                     "use its calibration."));
}

}  // namespace quorvex::window
