// Export: pictures equal to the window's pixels at 1x, vector pictures with a
// circle for every drawn spot, spot lists that agree with the drawings and
// the screen, the options, and atomic writes.
#include <gtest/gtest.h>

#include <QFile>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>
#include <set>

#include "WindowFixture.h"
#include "window/MainWindow.h"
#include "window/PictureExport.h"

namespace quorvex::testing {
namespace {

using window::ExportOptions;
using window::ExportView;

const QRect kLatticeBoxPixels{16, 312, 233, 233}, kPatternBoxPixels{304, 312, 233, 233};

// A structure as a user sets it up.
struct StructureSetup {
    const char* name;
    const char* basicGroup;  // a row of the list, by its text
    std::array<const char*, 4> matrix;
    bool includeDomains, paintDomains;
    int rotateLeftClicks = 0;
    int patternZoomOutClicks = 0;
    const char* superGroup = nullptr;  // a row of the list, chosen after the matrix
};

const StructureSetup kSetups[] = {
    {"default", "p4mm", {"1", "0", "0", "1"}, false, false},
    {"c2x2_domains", "p4mm", {"1", "1", "-1", "1"}, true, true},
    {"dense_hexagonal", "p6mm (p6m)", {"19", "1", "-3", "17"}, true, true},
    {"p2mg_2x1_rotated", "p2mg", {"2", "0", "0", "1"}, true, false, 3, 0, "p2mg"},
    {"zoomed_out", "p6mm (p6m)", {"2", "1", "-1", "1"}, true, true, 0, 4},
};

class ExportTest : public MainWindowTest {
  protected:
    void Apply(const StructureSetup& s) {
        Choose(F().basicGroupList, s.basicGroup);
        QLineEdit* fields[] = {F().matrixField11, F().matrixField12, F().matrixField21,
                               F().matrixField22};
        for (int i = 0; i < 4; ++i) Type(fields[i], s.matrix[static_cast<std::size_t>(i)]);
        if (s.superGroup) Choose(F().superGroupList, s.superGroup);
        F().includeDomainsBox->setChecked(s.includeDomains);
        F().paintDomainsBox->setChecked(s.paintDomains);
        for (int i = 0; i < s.rotateLeftClicks; ++i) F().rotateLeftButton->click();
        for (int i = 0; i < s.patternZoomOutClicks; ++i) F().patternZoomOutButton->click();
        ASSERT_TRUE(F().document().derived.patternValid);
        ASSERT_TRUE(messages.empty()) << messages.front().toStdString();
    }
    QImage Export(ExportOptions o) {
        return window::ExportImage(main->exportSource(), o).convertToFormat(QImage::Format_RGB32);
    }
    QImage Canvas(const QRect& box) {
        return F().canvas().Image().copy(box).convertToFormat(QImage::Format_RGB32);
    }
};

std::set<QRgb> Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xff000000u);
    return colours;
}

// The CSV as rows of fields by column name.
std::vector<std::map<QString, QString>> Rows(const QByteArray& csv) {
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    const QList<QByteArray> header = lines.front().split(',');
    std::vector<std::map<QString, QString>> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(',');
        EXPECT_EQ(fields.size(), header.size()) << lines[i].toStdString();
        std::map<QString, QString>& row = rows.emplace_back();
        for (qsizetype c = 0; c < std::min(fields.size(), header.size()); ++c)
            row[QString::fromLatin1(header[c])] = QString::fromLatin1(fields[c]);
    }
    return rows;
}

// How many circles a spot list's rows account for: a ring where the
// substrate shows the spot, a disc for each domain that draws it.
int CirclesOf(const std::vector<std::map<QString, QString>>& rows) {
    int circles = 0;
    for (const auto& row : rows) {
        const QString kind = row.at(QStringLiteral("kind"));
        const bool glideExtinct = row.at(QStringLiteral("glide_extinct")) == QLatin1String("1");
        if (!glideExtinct && (kind == QLatin1String("substrate") || kind == QLatin1String("both")))
            ++circles;
        const QString domains = row.at(QStringLiteral("domains"));
        if (!domains.isEmpty()) circles += static_cast<int>(domains.split(' ').size());
    }
    return circles;
}

class ExportEverySetup : public ExportTest, public ::testing::WithParamInterface<StructureSetup> {};

// PNG at 1x is the window's box pixel for pixel; the SVG has one circle for
// every spot the spot list counts; the screen's spot list has the spots the
// screen draws.
TEST_P(ExportEverySetup, PicturesAndSpotListsAgreeWithTheWindow) {
    Apply(GetParam());
    EXPECT_EQ(Export({ExportView::Pattern}), Canvas(kPatternBoxPixels));
    EXPECT_EQ(Export({.view = ExportView::Lattice, .whiteBackground = true}),
              Canvas(kLatticeBoxPixels));
    const QImage form = Export({ExportView::Form});
    EXPECT_EQ(form, F().grab().toImage().convertToFormat(QImage::Format_RGB32));

    const window::ExportSource source = main->exportSource();
    const QByteArray svg = window::ExportSvg(source, {ExportView::Pattern});
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 233, 233));
    const auto rows = Rows(window::ExportSpotList(source, {ExportView::Pattern}));
    // The centre spot is drawn once more on top, as a disc and a ring.
    const bool centreOnTop = F().document().derived.pattern.domainsIncluded;
    EXPECT_EQ(svg.count("<circle "), CirclesOf(rows) + (centreOnTop ? 2 : 0));

    main->showScreen();
    window::ScreenWindow& screen = main->screen();
    screen.view->picture();  // drawn on the first paint
    QTest::qWait(10);
    const window::ExportSource shown = main->exportSource();
    const QImage picture = window::ExportImage(shown, {ExportView::Screen});
    // PNG at 1x is the screen window's own picture.
    EXPECT_EQ(picture, screen.view->picture().convertToFormat(QImage::Format_RGB32));
    const auto screenRows = Rows(window::ExportSpotList(shown, {ExportView::Screen}));
    ASSERT_FALSE(screenRows.empty());
    EXPECT_EQ(CirclesOf(screenRows), screen.view->spotsDrawn());
    const double k = 0.512317 * std::sqrt(shown.screen.energy);
    for (const auto& row : screenRows) {
        const double g = row.at(QStringLiteral("g_per_A")).toDouble();
        const double theta = row.at(QStringLiteral("theta_deg")).toDouble();
        EXPECT_NEAR(std::sin(theta * M_PI / 180) * k, g, 1e-4);
        EXPECT_LE(theta, shown.screen.acceptanceDegrees / 2 + 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Structures, ExportEverySetup, ::testing::ValuesIn(kSetups),
                         [](const auto& info) { return std::string(info.param.name); });

// The c(2x2) spot list against spots worked out by hand; its PDF is one page
// of the picture's size.
TEST_F(ExportTest, SpotListOfC2x2ByHandAndItsPdf) {
    Apply(kSetups[1]);
    const QByteArray csv = window::ExportSpotList(main->exportSource(), {ExportView::Pattern});
    EXPECT_TRUE(
        csv.startsWith("h,k,h_decimal,k_decimal,domains,kind,glide_extinct,"
                       "extinct_domains,gx_per_A,gy_per_A,g_per_A\n"));
    // a = 2.55 A: |a*| = 2 pi / 2.55 = 2.463994 per A.
    for (const char* row :
         {"\n0,0,0.000000,0.000000,1,both,0,,0.000000,0.000000,0.000000\n",
          "\n1/2,1/2,0.500000,0.500000,1,superstructure,0,,1.231997,1.231997,1.742307\n",
          "\n1,0,1.000000,0.000000,1,both,0,,2.463994,0.000000,2.463994\n"})
        EXPECT_TRUE(csv.contains(row)) << row << csv.left(600).toStdString();

    const QByteArray pdf = window::ExportPdf(main->exportSource(), {ExportView::Lattice});
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
    // 233 pixels at 96 to the inch: 174.75 points, in whole points.
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 175.000000 175.000000]"));
}

// One colour and the white background change only what they say; the scale
// multiplies the size, captions add a legend and a line.
TEST_F(ExportTest, OptionsChangeOnlyWhatTheySay) {
    Apply(kSetups[2]);
    const QImage painted = Export({ExportView::Pattern});
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    EXPECT_GT(Colours(painted).size(), 3u);

    EXPECT_EQ(Colours(Export({.view = ExportView::Pattern, .oneColour = true})),
              (std::set<QRgb>{black, white}));

    // Each box on white and on black: black and white trade places, every
    // other colour stays where it was.
    for (ExportView view : {ExportView::Pattern, ExportView::Lattice}) {
        QImage traded = Export({view});
        for (int y = 0; y < traded.height(); ++y)
            for (int x = 0; x < traded.width(); ++x) {
                const QRgb b = traded.pixel(x, y);
                if (b == black || b == white) traded.setPixel(x, y, b == black ? white : black);
            }
        EXPECT_EQ(traded, Export({.view = view, .whiteBackground = true}));
    }

    const QImage big = Export({.view = ExportView::Pattern, .scale = 3});
    EXPECT_EQ(big.size(), QSize(3 * 233, 3 * 233));
    EXPECT_EQ(Colours(big), Colours(painted));

    const ExportOptions o{.view = ExportView::Pattern, .legendAndCaptions = true};
    const QImage captioned = Export(o);
    // The legend reaches to the right of the box, the caption below it.
    EXPECT_GT(captioned.width(), 233 + 80);
    EXPECT_GT(captioned.height(), 233 + 15);
    EXPECT_EQ(captioned.copy(0, 0, 233, 233), painted);
    const QImage captionLine = captioned.copy(0, 234, captioned.width(), captioned.height() - 234);
    EXPECT_GT(Colours(captionLine).size(), 1u) << "no caption text";
    const QByteArray svg = window::ExportSvg(main->exportSource(), o);
    EXPECT_TRUE(svg.contains("(19 1 / -3 17)")) << "the caption is text in the SVG";
}

TEST_F(ExportTest, FailuresNameTheProblemAndLeaveTheFileAsItWas) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("kept.png"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old content");
    }
    QString error;
    EXPECT_FALSE(window::ExportToFile(main->exportSource(), {.scale = 9}, existing, &error));
    EXPECT_TRUE(error.startsWith("The scale must be a whole number from 1 to 8."))
        << error.toStdString();
    // The command-line tests refuse the other formats, views and folders.
    EXPECT_FALSE(window::ExportToFile(main->exportSource(), {}, dir.path() + "/", &error));
    EXPECT_TRUE(error.startsWith("Cannot tell the format")) << error.toStdString();
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.png"});

    // A refused superlattice has no pattern to export.
    Type(F().matrixField11, "3000");
    Type(F().matrixField22, "3000");
    ASSERT_FALSE(F().document().derived.patternValid);
    EXPECT_FALSE(window::ExportToFile(main->exportSource(), {}, existing, &error));
    EXPECT_EQ(error, QStringLiteral("Nothing to export: the superlattice is too large to draw."));
}

}  // namespace
}  // namespace quorvex::testing
