// The Export dialog: which view, the file (its extension names the format),
// the scale of a PNG, and the picture's options.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "window/PictureExport.h"

namespace quorvex::window {

class ExportDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ExportDialog(QWidget* parent = nullptr);

    ExportOptions options() const;
    void setOptions(const ExportOptions& options);
    QString fileName() const { return fileField->text(); }
    void setFileName(const QString& path);

    // The controls; each one's objectName is its member name.
    QComboBox* viewList{};
    QLineEdit* fileField{};
    QPushButton* browseButton{};
    QLabel* formatLabel{};
    QSpinBox* scaleBox{};
    QCheckBox *oneColourBox{}, *whiteBackgroundBox{}, *captionsBox{};
    QDialogButtonBox* buttons{};

  private:
    void onBrowse();
    void onViewChosen();
    // The format label, the scale (PNG only) and OK follow the file name.
    void showFormat();
};

}  // namespace quorvex::window
