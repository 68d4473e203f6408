// The LEED screen window: the current structure's pattern as a LEED screen
// shows it at a beam energy, beside the main window and in step with it;
// structures kept on the screen as further layers; the spot under the
// pointer read out.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "image/Calibration.h"
#include "image/Levels.h"
#include "image/MeasuredImage.h"
#include "image/Peaks.h"
#include "model/LeedScreen.h"
#include "model/Spots.h"
#include "window/ImageOverlay.h"
#include "window/MeasuredImagePanel.h"
#include "window/ScreenPicture.h"

namespace quorvex::window {

class ScreenView;

// A spot the user marked in the measured image, with the indices they gave it.
struct MarkedSpot {
    QPointF at;  // image pixels
    model::Fraction h, k;
    QString IndexText() const;
};

// "1/2", "-1", "0.5": a spot index as a fraction with a small denominator;
// nothing for anything else.
std::optional<model::Fraction> ParseIndex(const QString& text);

class ScreenWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMostKeptLayers = 4;

    ScreenWindow();
    ~ScreenWindow() override;

    // The current structure, as the main window computed it; redraws.
    void showStructure(const ScreenLayer& current);
    // No current structure (a refused superlattice): the kept ones and a note.
    void showNothing(const QString& note);
    const model::ScreenSettings& settings() const { return settings_; }
    void setSettings(const model::ScreenSettings& settings);
    // The structures kept on the screen besides the current one.
    const std::vector<ScreenLayer>& keptLayers() const { return kept_; }
    void setKeptLayers(std::vector<ScreenLayer> layers);
    // Everything drawn, the current structure first.
    std::vector<ScreenLayer> layers() const;

    // The read-out of the spot nearest to a point of the view (device
    // independent pixels), or nothing when no spot is near.
    std::optional<QString> readoutAt(QPointF viewPoint) const;
    QString readoutText() const { return readout->text(); }

    void keepCurrent();
    void removeKept(int index);
    void clearKept();

    // The measured image under the spots. Opening shows a message and keeps
    // what was there when the file cannot be used.
    bool openImage(const QString& path);
    void closeImage();
    bool hasImage() const { return image_ != nullptr; }
    QString imagePath() const;
    const image::MeasuredImage* measuredImage() const;
    const image::Levels& levels() const { return levels_; }
    void setLevels(const image::Levels& levels);
    void autoLevels();
    const image::Calibration& calibration() const { return calibration_; }
    void setCalibration(const image::Calibration& calibration);
    // Marks: a point of the image (snapped to its spot when `snap`), then its indices.
    void markImagePoint(QPointF imagePoint, bool snap);
    std::optional<QPointF> pendingMark() const { return pendingMark_; }
    bool indexPendingMark(model::Fraction h, model::Fraction k);
    const std::vector<MarkedSpot>& marks() const { return marks_; }
    void removeMark(int index);
    void clearMarks();
    // Fits the calibration to the marks with the panel's options; a refusal
    // keeps the calibration and shows its message (as a dialog when asked).
    bool fitCalibration(bool messageBox);
    const image::SpotScore& score() const { return score_; }
    // Image pixels under a point of the view (device-independent pixels), and back.
    std::optional<QPointF> imagePointAt(QPointF viewPoint) const;
    QPointF viewPointOf(QPointF imagePoint) const;

    // The image through its levels with the spots, marks and handles over
    // it, fitted into `target` of any painter (PNG, PDF export).
    void paintMeasuredScene(QPainter& painter, const QRectF& target) const;

    // Path, levels, calibration and marks, for the structure file (while a
    // file's image is missing, that file's state unchanged).
    QJsonObject measuredImageState() const;
    // Opens the image the state names (beside `baseDir` when it has moved
    // there) with its levels and calibration. A missing or unusable image
    // gives the message and false; the levels and calibration are then kept
    // for the image when it is opened again.
    bool setMeasuredImageState(const QJsonObject& state, const QString& baseDir, QString* error);

    // The controls; each one's objectName is its member name.
    QLineEdit *latticeConstantField{}, *energyField{}, *acceptanceField{};
    QSlider* energySlider{};
    QComboBox* lookList{};
    QCheckBox *labelsBox{}, *extinctRingsBox{}, *gunBox{};
    QPushButton *keepButton{}, *removeKeptButton{}, *clearKeptButton{};
    QListWidget* keptList{};
    QLabel *domainCountLabel{}, *readout{};
    ScreenView* view{};
    QMenuBar* menuBar{};
    QAction *openImageAction{}, *closeImageAction{};
    MeasuredImagePanel* imagePanel{};

  signals:
    void settingsChanged();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    struct OpenImage {
        QString path;
        image::MeasuredImage pixels;
        image::Histogram histogram;
        std::vector<QPointF> maxima;  // strong maxima, image pixels
    };
    struct KeptImageState {
        QSize size;
        image::Levels levels;
        image::Calibration calibration;
        bool calibrated = false;  // false: the calibration that fits the image is taken
        std::vector<MarkedSpot> marks;
        QJsonObject source;  // as the structure file held it, saved again unchanged
    };
    enum class Drag { None, Centre, Ring };

    void createControls();
    void createImageControls();
    void onOpenImageChosen();
    void onLevelsEdited();
    void onMarkIndicesTyped();
    void onViewPressed(QPointF at);
    void onViewDragged(QPointF at);
    bool onImageClicked(QPointF at);
    void showImageState();
    void showMarks();
    void updateScore();
    void adoptImage(std::unique_ptr<OpenImage> opened, const KeptImageState* state);
    void commitField(QLineEdit* field);
    void setEnergy(double energy);
    void showSettings();
    void showKeptList();
    void redraw();
    void onPointerMoved(QPointF at);
    void onPointerClicked(QPointF at);

    model::ScreenSettings settings_;
    std::optional<ScreenLayer> current_;
    std::vector<ScreenLayer> kept_;
    bool pinned_ = false;

    std::unique_ptr<OpenImage> image_;
    image::Levels levels_;
    image::Calibration calibration_;
    std::vector<MarkedSpot> marks_;
    std::vector<double> residuals_;  // per mark, after the last fit
    std::optional<QPointF> pendingMark_;
    image::SpotScore score_;
    Drag drag_ = Drag::None;
    QPointF dragGrip_;  // image offset between the pointer and what it drags
    std::optional<KeptImageState> remembered_;
    QSize sizeWithoutImage_;
};

// The drawing area: the screen's picture at the device pixel ratio.
class ScreenView : public QWidget {
    Q_OBJECT
  public:
    explicit ScreenView(ScreenWindow* owner);
    void setLayers(std::vector<ScreenLayer> layers, const model::ScreenSettings& settings);
    // A measured image under the spots (nothing: the plain screen); the view
    // keeps a pointer, the caller keeps the image alive.
    void setMeasured(const image::MeasuredImage* image);
    void setLevels(const image::Levels& levels);
    void setOverlay(ImageOverlay overlay);
    // Image pixels to device pixels of the view, while an image is shown.
    QTransform imageToDevice() const;
    const ImageOverlay& overlay() const { return overlay_; }
    ScreenGeometry geometry() const;  // in device pixels
    const QImage& picture() const { return image_; }
    int spotsDrawn() const { return drawn_; }

  signals:
    void pointerMoved(QPointF at);
    void pressed(QPointF at);
    void dragged(QPointF at);
    void clicked(QPointF at);
    void energyStep(double eV);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void render();
    void renderOverImage();

    const image::MeasuredImage* measured_ = nullptr;
    image::Levels levels_;
    ImageOverlay overlay_;
    std::vector<std::uint16_t> reduced_;  // the image averaged onto its shown size
    QSize reducedSize_;
    QImage shown_;                        // the reduced image through the levels
    std::vector<ScreenLayer> layers_;
    model::ScreenSettings settings_;
    QImage image_;
    bool stale_ = true;
    int drawn_ = 0;
    int wheelParts_ = 0;  // eighths of a degree not yet a whole notch
};

}  // namespace quorvex::window
