#include "window/ExportDialog.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace quorvex::window {

namespace {

struct ViewRow {
    ExportView view;
    const char* caption;
};
constexpr ViewRow kViewRows[] = {{ExportView::Pattern, "Pattern box"},
                                 {ExportView::Lattice, "Lattice box"},
                                 {ExportView::Screen, "LEED screen"},
                                 {ExportView::Form, "Whole window"}};

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

ExportDialog::ExportDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("exportDialog"));
    setWindowTitle(QStringLiteral("Export"));

    viewList = Named(new QComboBox(this), "viewList");
    for (const ViewRow& row : kViewRows)
        viewList->addItem(QString::fromLatin1(row.caption), static_cast<int>(row.view));
    fileField = Named(new QLineEdit(this), "fileField");
    fileField->setMinimumWidth(320);
    browseButton = Named(new QPushButton(QStringLiteral("Browse\u2026"), this), "browseButton");
    formatLabel = Named(new QLabel(this), "formatLabel");
    scaleBox = Named(new QSpinBox(this), "scaleBox");
    scaleBox->setRange(1, kMaxExportScale);
    scaleBox->setSuffix(QStringLiteral("\u00d7"));
    oneColourBox =
        Named(new QCheckBox(QStringLiteral("All domains in one colour"), this), "oneColourBox");
    whiteBackgroundBox =
        Named(new QCheckBox(QStringLiteral("White background"), this), "whiteBackgroundBox");
    captionsBox = Named(new QCheckBox(QStringLiteral("Legend and captions"), this), "captionsBox");
    buttons = Named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this),
                    "buttons");
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Export"));

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileField, 1);
    fileRow->addWidget(browseButton);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("View:"), viewList);
    form->addRow(QStringLiteral("File:"), fileRow);
    form->addRow(QStringLiteral("Format:"), formatLabel);
    form->addRow(QStringLiteral("Scale:"), scaleBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(oneColourBox);
    layout->addWidget(whiteBackgroundBox);
    layout->addWidget(captionsBox);
    layout->addWidget(buttons);

    connect(browseButton, &QPushButton::clicked, this, [this] { onBrowse(); });
    connect(fileField, &QLineEdit::textChanged, this, [this] { showFormat(); });
    connect(viewList, &QComboBox::activated, this, [this] { onViewChosen(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showFormat();
    fileField->setFocus();
}

ExportOptions ExportDialog::options() const {
    ExportOptions o;
    o.view = static_cast<ExportView>(viewList->currentData().toInt());
    o.scale = scaleBox->value();
    o.oneColour = oneColourBox->isChecked();
    o.whiteBackground = whiteBackgroundBox->isChecked();
    o.legendAndCaptions = captionsBox->isChecked();
    return o;
}

void ExportDialog::setOptions(const ExportOptions& o) {
    viewList->setCurrentIndex(viewList->findData(static_cast<int>(o.view)));
    scaleBox->setValue(o.scale);
    oneColourBox->setChecked(o.oneColour);
    whiteBackgroundBox->setChecked(o.whiteBackground);
    captionsBox->setChecked(o.legendAndCaptions);
    whiteBackgroundBox->setEnabled(o.view != ExportView::Form);
}

void ExportDialog::setFileName(const QString& path) {
    fileField->setText(path);
}

void ExportDialog::onViewChosen() {
    // Each view starts on the background the window gives it.
    const ExportView view = options().view;
    whiteBackgroundBox->setChecked(WindowBackgroundIsWhite(view));
    whiteBackgroundBox->setEnabled(view != ExportView::Form);
}

void ExportDialog::onBrowse() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export"), fileField->text(),
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf);;"
                       "Spot list (*.csv)"));
    if (!path.isEmpty()) fileField->setText(path);
}

void ExportDialog::showFormat() {
    const std::optional<ExportFormat> format = FormatOfFileName(fileField->text());
    QString caption;
    if (!format)
        caption = QStringLiteral("unknown: end the file name in .png, .svg, .pdf or .csv");
    else if (*format == ExportFormat::Png)
        caption = QStringLiteral("PNG image");
    else if (*format == ExportFormat::Svg)
        caption = QStringLiteral("SVG drawing");
    else if (*format == ExportFormat::Pdf)
        caption = QStringLiteral("PDF document");
    else
        caption = QStringLiteral("CSV spot list");
    formatLabel->setText(caption);
    scaleBox->setEnabled(format == ExportFormat::Png || format == ExportFormat::Svg ||
                         format == ExportFormat::Pdf);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(format.has_value());
}

}  // namespace quorvex::window
