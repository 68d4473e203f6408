// The "Measured image" panel of the LEED screen window: levels with their
// histogram, the calibration's fit and marks, and the score of the current
// structure against the image. It holds controls only; the screen window
// owns the image and reacts to them.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "image/Levels.h"

namespace quorvex::window {

// The image's histogram on a log scale, with the black and white points.
class HistogramView : public QWidget {
    Q_OBJECT
  public:
    explicit HistogramView(QWidget* parent);
    void setBins(std::vector<std::uint64_t> bins);
    void setLevels(const image::Levels& levels);
    QSize sizeHint() const override { return {220, 70}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<std::uint64_t> bins_;
    image::Levels levels_;
};

class MeasuredImagePanel : public QWidget {
    Q_OBJECT
  public:
    explicit MeasuredImagePanel(QWidget* parent);

    // Slider positions for levels, and back.
    static constexpr int kLevelSteps = 1000;
    image::Levels levelsShown() const;
    void showLevels(const image::Levels& levels);

    QLabel* fileLabel{};
    QSlider *blackPointSlider{}, *whitePointSlider{}, *gammaSlider{};
    QLabel* levelsLabel{};
    QCheckBox* invertBox{};
    QPushButton* autoLevelsButton{};
    HistogramView* histogramView{};
    QLabel* calibrationLabel{};
    QPushButton* markModeButton{};
    QLineEdit* markIndicesField{};
    QCheckBox* affineBox{};
    QComboBox* fitFreeList{};
    QPushButton* fitButton{};
    QListWidget* markList{};
    QPushButton *removeMarkButton{}, *clearMarksButton{};
    QLabel *fitLabel{}, *scoreLabel{};

  signals:
    void levelsEdited();
};

}  // namespace quorvex::window
