// A measured LEED photograph in the screen window, used as a person would:
// open it, mark three spots with rough clicks, switch structures and read
// the score, drag the centre, keep it all in the structure file, and refuse
// what cannot be used.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "WindowFixture.h"
#include "synthetic/SyntheticLeed.h"

namespace quorvex::testing {
namespace {

class MeasuredImageTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        main->showScreen();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&S()));
        photo.rotationDegrees = 7;
        photo.beams = synthetic::SquareBeams(QStringLiteral("p(2x2)"), photo);
        photoPath = dir.filePath(QStringLiteral("p2x2.png"));
        ASSERT_TRUE(synthetic::Render(photo, 16, false).save(photoPath));
    }
    window::ScreenWindow& S() { return main->screen(); }
    QPoint ViewPoint(QPointF imagePoint) { return S().viewPointOf(imagePoint).toPoint(); }
    void Click(QPointF imagePoint) {
        QTest::mouseClick(S().view, Qt::LeftButton, {}, ViewPoint(imagePoint));
    }
    // A drag with the left button between two view points.
    void Drag(QPoint from, QPointF to) {
        QTest::mousePress(S().view, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, S().view->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(S().view, &move);
        QTest::mouseRelease(S().view, Qt::LeftButton, {}, to.toPoint());
    }
    // The grey of the view's freshly drawn picture at a point of the photograph.
    int GreyAt(QPointF imagePoint) {
        S().view->repaint();
        const QPointF at = S().viewPointOf(imagePoint) * S().view->devicePixelRatioF();
        return qGray(S().view->picture().pixel(at.toPoint()));
    }
    // Where the window draws the simulated spot (h k) now.
    QPointF Simulated(double h, double k) {
        const model::Vec2 g = window::BeamOf(S().layers().front(), S().settings(), h, k);
        const double wave = model::WaveNumber(S().settings().energy);
        return S().calibration().ImagePoint({g.x / wave, g.y / wave});
    }
    // Mark a spot: a click a little off it in the photograph, then a click on its simulated spot.
    void Mark(synthetic::Beam beam, QPointF off) {
        Click(synthetic::SpotCentre(photo, beam) + off);
        ASSERT_TRUE(S().pendingMark());
        Click(Simulated(beam.h, beam.k));
    }
    void CalibrateWithThreeMarks() {
        ASSERT_TRUE(S().openImage(photoPath));
        S().imagePanel->markModeButton->click();
        Mark({1, 0}, {2.5, -1.5});
        Mark({0, 1}, {-2, 2});
        Mark({-1, -1}, {1, 2.5});
    }

    QTemporaryDir dir;
    synthetic::LeedPhoto photo;
    QString photoPath;
};

// Three marks calibrate; the scene for export and the score follow.
TEST_F(MeasuredImageTest, ThreeMarksCalibrateAndTheScoreTellsTheStructures) {
    CalibrateWithThreeMarks();
    ASSERT_EQ(S().marks().size(), 3u);
    EXPECT_EQ(S().marks()[2].IndexText(), QStringLiteral("(-1 -1)"));
    const image::Calibration& cal = S().calibration();
    EXPECT_NEAR(cal.centre.x(), photo.centre.x(), 0.3);
    EXPECT_NEAR(cal.centre.y(), photo.centre.y(), 0.3);
    EXPECT_NEAR(cal.RotationDegrees(), 7, 0.1);
    EXPECT_NEAR(cal.Scale() / photo.scale, 1, 0.002);
    EXPECT_TRUE(S().imagePanel->fitLabel->text().contains(QStringLiteral("Fitted to 3 marks")));
    EXPECT_TRUE(messages.empty());

    // The scene for export, at a size of its own: the photograph and the spots over it.
    QImage out(1280, 1200, QImage::Format_RGB32);  // twice the photograph
    out.fill(Qt::black);
    QPainter painter(&out);
    S().paintMeasuredScene(painter, QRectF(0, 0, 1280, 1200));
    painter.end();
    const QPointF spot = synthetic::SpotCentre(photo, {0.5, -1}) * 2;
    EXPECT_GT(qGray(out.pixel(spot.toPoint())), 200);
    // The p(1x1) overlay: a ring in the spot colour around the (1 0) spot, none around (1/2 0).
    auto ringAround = [&](QPointF centre) {
        int hits = 0;
        for (int y = -16; y <= 16; ++y)
            for (int x = -16; x <= 16; ++x) {
                const QRgb c = out.pixel((centre + QPointF(x, y)).toPoint());
                hits += qRed(c) > 200 && qGreen(c) < 120;
            }
        return hits;
    };
    EXPECT_GT(ringAround(synthetic::SpotCentre(photo, {1, -1}) * 2), 10);
    EXPECT_EQ(ringAround(synthetic::SpotCentre(photo, {0.5, -1}) * 2), 0);

    // The score follows the structure: p(1x1) explains the integer spots only,
    // p(2x2) every maximum, c(2x2) all but some of the half-order ones.
    const std::size_t integerOnly = S().score().unexplained.size();
    EXPECT_GT(integerOnly, 10u);
    EXPECT_EQ(S().score().matched, S().score().spots);
    Choose(F().commonNameList, "p(2x2)");
    EXPECT_TRUE(S().score().unexplained.empty());
    EXPECT_EQ(S().score().matched, S().score().spots);
    EXPECT_TRUE(S().imagePanel->scoreLabel->text().contains(QStringLiteral("0 of")));
    Choose(F().commonNameList, "c(2x2)");
    EXPECT_GT(S().score().unexplained.size(), 0u);
    EXPECT_LT(S().score().unexplained.size(), integerOnly);
    // The calibration stayed through the structure changes.
    EXPECT_NEAR(S().calibration().centre.x(), photo.centre.x(), 0.3);
}

// An opened photograph shows; Close gives the screen back.
TEST_F(MeasuredImageTest, AnOpenedPhotographShowsAndCloseGivesTheScreenBack) {
    S().view->repaint();
    const QImage before = S().view->picture().copy();
    ASSERT_TRUE(S().openImage(photoPath));
    EXPECT_TRUE(S().imagePanel->isVisible());
    EXPECT_TRUE(S().closeImageAction->isEnabled());
    EXPECT_TRUE(
        S().imagePanel->fileLabel->text().contains(QStringLiteral("640 \u00D7 600, 16-bit grey")));
    // A spot of the photograph is bright in the view, the gun's shadow dark.
    EXPECT_GT(GreyAt(synthetic::SpotCentre(photo, {-1, 0.5})), 200);
    EXPECT_LT(GreyAt(photo.centre + QPointF(0, 40)), 30);
    S().closeImageAction->trigger();
    EXPECT_FALSE(S().hasImage());
    S().view->repaint();
    EXPECT_EQ(S().view->picture(), before);
    EXPECT_TRUE(messages.empty());
}

// Refused fits, marks and files keep the calibration.
TEST_F(MeasuredImageTest, RefusedFitsMarksAndFilesKeepTheCalibration) {
    ASSERT_TRUE(S().openImage(photoPath));
    const image::Calibration before = S().calibration();
    S().imagePanel->markModeButton->click();
    Mark({1, 0}, {0, 0});
    EXPECT_TRUE(S().imagePanel->fitLabel->text().contains(QStringLiteral("a fit needs 2")));
    S().imagePanel->fitButton->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("1 is marked"))) << messages[0].toStdString();
    EXPECT_EQ(S().calibration(), before);
    // The same spot marked twice: refused as it comes in, the calibration kept.
    S().markImagePoint(synthetic::SpotCentre(photo, {1, 0}) + QPointF(1, 1), true);
    ASSERT_TRUE(S().indexPendingMark({1, 1}, {0, 1}));
    EXPECT_TRUE(S().imagePanel->fitLabel->text().contains(QStringLiteral("same spot")));
    EXPECT_EQ(S().calibration(), before);
    // Typed indices that are not two numbers: a message, no mark.
    S().markImagePoint(synthetic::SpotCentre(photo, {0, 1}), true);
    Type(S().imagePanel->markIndicesField, QStringLiteral("1/0 x"));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(S().marks().size(), 2u);
    Type(S().imagePanel->markIndicesField, QStringLiteral("0 1"));
    ASSERT_EQ(S().marks().size(), 3u);
    EXPECT_EQ(S().marks()[2].IndexText(), QStringLiteral("(0 1)"));

    // A bad file: one message, and the image and its calibration kept. The
    // kinds of bad file are the loading tests'; one of them is enough here.
    const image::Calibration cal = image::Calibration::Similar({300, 290}, 280, 3);
    S().setCalibration(cal);
    const QString bad = dir.filePath(QStringLiteral("notes.png"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("These are my notes, not a picture.\n");
    file.close();
    const std::size_t said = messages.size();
    EXPECT_FALSE(S().openImage(bad));
    ASSERT_EQ(messages.size(), said + 1);
    EXPECT_TRUE(messages.back().contains(QStringLiteral("notes.png")));
    EXPECT_EQ(S().imagePath(), QFileInfo(photoPath).absoluteFilePath());
    EXPECT_EQ(S().calibration(), cal);
}

// The centre handle follows the pointer.
TEST_F(MeasuredImageTest, TheCentreHandleFollowsThePointer) {
    ASSERT_TRUE(S().openImage(photoPath));
    const image::Calibration start = S().calibration();
    // The centre, dragged 40 view pixels right and 20 down.
    const QPointF centre = S().viewPointOf(start.centre);
    Drag(ViewPoint(start.centre), ViewPoint(start.centre) + QPointF(40, 20));
    // The centre moved as far as the pointer did.
    const QPointF now = S().viewPointOf(S().calibration().centre);
    EXPECT_NEAR(now.x() - centre.x(), 40, 1e-6);
    EXPECT_NEAR(now.y() - centre.y(), 20, 1e-6);
    EXPECT_NEAR(S().calibration().Scale(), start.Scale(), 1e-9);
    EXPECT_TRUE(S().marks().empty());  // a drag is no mark and no click
}

TEST_F(MeasuredImageTest, StateRoundTripsAndFollowsAMovedImage) {
    CalibrateWithThreeMarks();
    S().setLevels({0.1, 0.7, 1.5, true});
    const QJsonObject state = S().measuredImageState();
    // Through JSON text, as the structure file holds it.
    const QJsonObject read = QJsonDocument::fromJson(QJsonDocument(state).toJson()).object();
    const image::Calibration cal = S().calibration();

    // Moved with the structure file into another folder: found beside it.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::rename(photoPath, elsewhere.filePath(QStringLiteral("p2x2.png"))));
    window::MainWindow other;
    window::ScreenWindow& moved = other.screen();
    QString error;
    ASSERT_TRUE(moved.setMeasuredImageState(read, elsewhere.path(), &error)) << error.toStdString();
    // The same calibration, levels and marks; only the path differs.
    const auto withoutPath = [](QJsonObject o) {
        o.remove(QStringLiteral("path"));
        return o;
    };
    EXPECT_EQ(withoutPath(moved.measuredImageState()), withoutPath(state));

    // Missing: no image, and the calibration waits for it (the structure-file
    // test below has the message and the state saved again as it was).
    window::MainWindow missing;
    EXPECT_FALSE(missing.screen().setMeasuredImageState(read, dir.path(), &error));
    ASSERT_TRUE(missing.screen().openImage(elsewhere.filePath(QStringLiteral("p2x2.png"))));
    EXPECT_EQ(missing.screen().calibration(), cal);
}

// A measured image travels with the structure file: saved with its levels and
// calibration, and with the screen's settings and kept structures, opened again
// in another window; a file whose image has gone still opens its structure,
// says what is missing and keeps the image's state.
TEST_F(MeasuredImageTest, SavedInTheStructureFileAndOpenedWithoutTheImage) {
    const QString file = dir.filePath(QStringLiteral("with-image.qvx"));
    S().setSettings({3.52, 140, 100, false, true, true, false});
    Choose(F().commonNameList, "c(2x2)");
    S().keepCurrent();
    Choose(F().commonNameList, "p(3x1)");
    S().keepCurrent();
    S().keptList->item(0)->setCheckState(Qt::Unchecked);
    Choose(F().commonNameList, "p(2x1)");
    ASSERT_TRUE(S().openImage(photoPath));
    S().setLevels({0.1, 0.8, 1.6, true});
    S().setCalibration(image::Calibration::Similar({300.5, 280.25}, 290, 4));
    QString error;
    ASSERT_TRUE(main->saveStructureFile(file, &error)) << error.toStdString();
    const QJsonObject state = S().measuredImageState();
    EXPECT_EQ(main->currentContents().measuredImage, state);

    window::MainWindow second;
    ASSERT_TRUE(second.openStructureFile(file, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_NE(second.screen().measuredImage(), nullptr);
    // Gathered from the second window: its structure, view, screen settings,
    // kept layers and measured image.
    EXPECT_TRUE(second.currentContents() == main->currentContents());
    ASSERT_EQ(second.screen().keptList->count(), 2);
    EXPECT_EQ(second.screen().keptList->item(0)->checkState(), Qt::Unchecked);
    // The kept layers are drawn from the file: the p(3x1) has its own spots.
    const std::vector<window::ScreenLayer> layers = second.screen().layers();
    EXPECT_FALSE(layers[2].pattern.rb1 == layers[0].pattern.rb1);
    EXPECT_FALSE(second.isWindowModified());

    ASSERT_TRUE(QFile::remove(photoPath));
    window::MainWindow third;
    ASSERT_TRUE(third.openStructureFile(file, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("p2x2.png"))) << error.toStdString();
    EXPECT_EQ(third.screen().measuredImage(), nullptr);
    EXPECT_EQ(third.form().document().structure, F().document().structure);
    EXPECT_EQ(third.currentContents().measuredImage, state);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace quorvex::testing
