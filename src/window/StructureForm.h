// The structure form, the heart of the main window: the structure's inputs
// on the left, the symmetry diagrams on the right, the real-space lattice
// box and the diffraction pattern box below. Each handler reads a control, changes the document and asks for the
// redraw it needs; the update cycle turns the document into the picture.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <array>
#include <memory>

#include "model/Document.h"
#include "platform/HelpViewer.h"
#include "platform/ImageSurface.h"

namespace quorvex::window {

using model::Int32;

class StructureForm : public QWidget {
    Q_OBJECT
  public:
    // Builds the controls and runs the start-up while the window is hidden.
    StructureForm();
    ~StructureForm() override;

    model::Document& document() { return document_; }
    const model::Document& document() const { return document_; }
    platform::ImageSurface& canvas() { return *surface_; }
    // The help window, once "Help" has opened it.
    platform::HelpViewer* helpViewer() const { return help_; }
    // How many full updates and pattern drawings have run (for tests of the redraw rules).
    int updateRuns() const { return updateRuns_; }
    int patternRuns() const { return patternRuns_; }
    bool matrixHeld() const { return matrixHold_; }
    bool dragging() const { return drag_.active; }
    // The help file beside the program.
    QString helpFilePath() const;

    // The window that holds the form was activated or deactivated (the form
    // hears it itself when it is a window of its own).
    void windowActivationChanged(bool active);
    // Closes what belongs to the form (the help) as its window closes.
    void closeOwnWindows();

  signals:
    // The pattern box was drawn, or blanked for a refused superlattice.
    void patternChanged();
    // What the pointer is over in the pattern box: a spot's read-out, or empty.
    void spotUnderPointer(const QString& readout, bool pinned);
    // The document may have changed: an update ran or was asked for.
    void documentEdited();
    // A set was saved, or the saved sets cleared.
    void savedSetsChanged();

  public:


    // The update cycle: everything the window shows from the document.
    enum class PatternPart { Skip, Draw };
    // Updates asked for by matrix edits wait while the matrix is held;
    // every other update ends the hold.
    enum class Hold { End, Respect };
    void updateAll(PatternPart part, Hold hold);
    // Only the pattern box (and the domain count), from the last update's vectors.
    void drawPatternBox();
    // Everything the update cycle draws on the form, as the last update left
    // the document, onto another surface (pictures for export); the pattern
    // with these options.
    void drawPictureOn(platform::Surface& s, const model::PatternOptions& options) const;
    // The matrix brackets and the separating lines, in logical pixels.
    void paintVisibleLines(QPainter& p) const;

    // Shows an opened structure as Load shows a saved set: the same controls
    // set, then one update.
    void showOpenedStructure(const model::Structure& structure, const model::ViewSettings& view);
    // The saved sets of an earlier session, newest first.
    void restoreSavedSets(const std::vector<model::SavedState>& newestFirst);

    // Lists.
    void onBasicGroupChosen();
    void onSuperGroupChosen();
    void onCommonNameChosen();
    // Shows a common name's row and its matrix (row 0 and 1: the identity).
    void applyCommonName(Int32 row);

    // Number fields: a field's entry is taken over when Enter is released in
    // it or when it loses the focus to another control of this window.
    void onFieldCommitted(QLineEdit* field);

    // Check boxes.
    void onInclude1x1Toggled();
    void onPaintDomainsToggled();
    void onIncludeDomainsToggled();
    void onIncludeBasesToggled();
    void onConstrainedToggled();

    // Buttons.
    void onRefresh();
    void onExit();
    void onLatticeZoomIn();
    void onLatticeZoomOut();
    void onLatticeZoomReset();
    void onPatternZoomIn();
    void onPatternZoomOut();
    void onPatternZoomReset();
    void onRotateLeft();
    void onRotateRight();
    void onRotateMinus90();
    void onRotateZero();
    void onRotatePlus90();
    void onDefaultSizes();
    void onReduce();
    void onHelp();
    void onSave();
    void onLoad();
    void onClear();
    void onMatrixLabelClicked();
    void onActivated();

    // Size scroll bars: a finished move redraws, a moving thumb previews.
    void onDotSizeChanged();
    void onDotSizeDragged();
    void onSpotSizeChanged();
    void onSpotSizeDragged();

    // Mouse editing in the two boxes, positions in twips.
    void onMousePressed(float x, float y);
    void onMouseMoved(float x, float y);
    void onMouseReleased(float x, float y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void connectControls();
    void startUp();
    void onFocusChanged(QWidget* old, QWidget* now);
    std::array<QLineEdit*, 7> numberFields() const;

    // Steps of the update cycle.
    void runUpdate(PatternPart part, Hold hold);
    void runPatternDraw();
    // The option and constraint boxes as a restored structure has them.
    void showRestoredBoxes(const model::Structure& s);
    void showCellAnalysis(const model::CellVectors& unrotated);
    void chooseSuperGroup(const model::CellVectors& unrotated);
    void drawSymmetryDiagrams(const model::CellVectors& unrotated);
    void drawLatticeBox();
    void drawSizePreviews();
    void drawSuperDiagram();
    void drawSuperDiagramOn(platform::Surface& s) const;
    void drawSizePreviewsOn(platform::Surface& s) const;
    model::PatternOptions checkedOptions() const;
    void showBusy();
    void hideBusy();
    void refuseSingularMatrix(QLineEdit* focusField);

    // Field handling.
    bool readLength(double& value, QLineEdit* field, const char* format);
    bool readMatrixEntry(Int32& value, QLineEdit* field);
    void onLengthCommitted(double& value, QLineEdit* field, bool bFollowsA);
    void onAlphaCommitted();
    void onMatrixEntryCommitted(Int32& entry, QLineEdit* field);
    void selectFocusedFieldText();
    void showMatrixFields();
    void showLatticeFields();
    void showAllowedGroups();
    void showLoadCaption();
    void showLatticeFieldsForGroup();
    void showNoCommonName();
    void setMatrixHold(bool held);
    void setRotation(double degrees, double cos, double sin);
    void stepRotation(double degrees);
    void drawSizePreview(QScrollBar* bar);
    void setChecked(QCheckBox* box, bool ticked);
    void showMessage(const QString& text);

    // Mouse editing.
    bool insideLatticeBox(float x, float y) const;
    bool insidePatternBox(float x, float y) const;
    // The pointer's coordinates in the basic lattice's basis (lattice box).
    model::Vec2 latticeCoordinates(float x, float y) const;
    model::Vec2 patternVector(float x, float y) const;
    void dropLatticeVector(float x, float y);
    void dropReciprocalVector(float x, float y);
    void clickLegend(float x, float y);
    void closeEvent(QCloseEvent* event) override;
    void readOutSpot(float x, float y, bool pin);
    bool readoutPinned_ = false;
    // Keys typed into a closed list change nothing; the keys that open it do.
    bool filterListKey(QComboBox* list, QKeyEvent* key);
    bool matrixLabelPressed_ = false;
    // A field that a click has just focused: its text is selected on the release.
    QLineEdit* fieldFocusedByClick_ = nullptr;
    // A field left for another is being committed: a refusal that sends the
    // focus back does not commit the field it leaves on the way.
    bool committingLeftField_ = false;

    model::Document document_;
    std::unique_ptr<platform::ImageSurface> surface_;
    int updateRuns_ = 0;
    int patternRuns_ = 0;
    bool matrixHold_ = false;
    // When set, activating the window runs the update.
    bool redrawOnActivate_ = true;
    bool leftForOwnWindow_ = false;
    QPointer<platform::HelpViewer> help_;

    // A drag of a superlattice vector's tip: in the lattice box, or of b1*
    // or b2* in the pattern box.
    enum class DragTarget { LatticeTip, ReciprocalB1, ReciprocalB2 };
    struct Drag {
        bool active = false;
        DragTarget target = DragTarget::LatticeTip;
        Int32 fromN1 = 0, fromN2 = 0;  // lattice indices under the press
    };
    Drag drag_;

  public:
    // The controls; each one's objectName is its member name.
    QLabel *basicLatticeHeading{}, *basicGroupLabel{}, *lengthALabel{}, *lengthBLabel{},
        *alphaLabel{}, *higherSymmetryLabel{}, *superlatticeHeading{}, *matrixLabel{},
        *commonNameLabel{}, *superlatticeParametersLabel{}, *symmetryLabel{},
        *allowedGroupsLabel{}, *symmetryDomainsHeading{}, *basicDiagramTitle{},
        *superDiagramTitle{}, *domainCountLabel{}, *latticeViewLabel{}, *patternViewLabel{},
        *busyLabel{}, *legendTitleLabel{};
    QComboBox *basicGroupList{}, *superGroupList{}, *commonNameList{};
    QLineEdit *lengthAField{}, *lengthBField{}, *alphaField{};
    // The matrix entries: b1 = m11 a1 + m12 a2, b2 = m21 a1 + m22 a2.
    QLineEdit *matrixField11{}, *matrixField12{}, *matrixField21{}, *matrixField22{};
    QCheckBox *include1x1Box{}, *paintDomainsBox{}, *includeDomainsBox{}, *includeBasesBox{},
        *constrainedBox{};
    QPushButton *refreshButton{}, *exitButton{}, *latticeZoomInButton{}, *latticeZoomOutButton{},
        *latticeZoomResetButton{}, *patternZoomInButton{}, *patternZoomOutButton{},
        *patternZoomResetButton{}, *rotateMinus90Button{}, *rotateLeftButton{},
        *rotateZeroButton{}, *rotateRightButton{}, *rotatePlus90Button{}, *reduceButton{},
        *helpButton{}, *settingsButton{}, *defaultSizesButton{}, *saveButton{}, *loadButton{},
        *clearButton{};
    QScrollBar *dotSizeBar{}, *spotSizeBar{};
};

}  // namespace quorvex::window
