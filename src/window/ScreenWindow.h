// The LEED screen window: the current structure's pattern as a LEED screen
// shows it at a beam energy, beside the main window and in step with it;
// structures kept on the screen as further layers; the spot under the
// pointer read out.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QWidget>
#include <optional>
#include <vector>

#include "model/LeedScreen.h"
#include "model/Spots.h"
#include "window/ScreenPicture.h"

namespace quorvex::window {

class ScreenView;

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

    // The controls; each one's objectName is its member name.
    QLineEdit *latticeConstantField{}, *energyField{}, *acceptanceField{};
    QSlider* energySlider{};
    QComboBox* lookList{};
    QCheckBox *labelsBox{}, *extinctRingsBox{}, *gunBox{};
    QPushButton *keepButton{}, *removeKeptButton{}, *clearKeptButton{};
    QListWidget* keptList{};
    QLabel *domainCountLabel{}, *readout{};
    ScreenView* view{};

  signals:
    void settingsChanged();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void createControls();
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
};

// The drawing area: the screen's picture at the device pixel ratio.
class ScreenView : public QWidget {
    Q_OBJECT
  public:
    explicit ScreenView(ScreenWindow* owner);
    void setLayers(std::vector<ScreenLayer> layers, const model::ScreenSettings& settings);
    ScreenGeometry geometry() const;  // in device pixels
    const QImage& picture() const { return image_; }
    int spotsDrawn() const { return drawn_; }

  signals:
    void pointerMoved(QPointF at);
    void clicked(QPointF at);
    void energyStep(double eV);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void render();

    std::vector<ScreenLayer> layers_;
    model::ScreenSettings settings_;
    QImage image_;
    bool stale_ = true;
    int drawn_ = 0;
    int wheelParts_ = 0;  // eighths of a degree not yet a whole notch
};

}  // namespace quorvex::window
