#include <QFontInfo>

#include "FormFixture.h"

using namespace quorvex;
using namespace quorvex::testing;
using model::RGB;

using StartupTest = FormTest;

TEST_F(StartupTest, DefaultsAfterStartUp) {
    EXPECT_EQ(F().windowTitle().toStdString(), "Quorvex version 1.2 ");
    EXPECT_EQ(M().LatticeA, 1.0);
    EXPECT_EQ(M().LatticeB, 1.0);
    EXPECT_EQ(M().LatticeAlpha, 90.0);
    EXPECT_EQ(Text(F().Text1), "1.0000");
    EXPECT_EQ(Text(F().Combo1), Padded("[11]  Square p4mm (p4m)", 32));
    EXPECT_EQ(Text(F().Combo3), Padded("p(1x1)", 30));
    // The first update resets the superstructure group to p1.
    EXPECT_EQ(M().SuperGroup, 1);
    EXPECT_EQ(Text(F().Combo2), Padded("[ 1]  Oblique p1", 32));
    EXPECT_EQ(Text(F().Text6), "1");
    EXPECT_EQ(Text(F().Text8), "0");
    EXPECT_EQ(Text(F().Text7), "0");
    EXPECT_EQ(Text(F().Text9), "1");
    EXPECT_TRUE(F().Check1->isChecked());
    EXPECT_FALSE(F().Check2->isChecked());
    EXPECT_FALSE(F().Check3->isChecked());
    EXPECT_FALSE(F().Check4->isChecked());
    EXPECT_TRUE(F().Check5->isChecked());
    EXPECT_TRUE(M().Constrained);
    EXPECT_TRUE(M().Include1x1);
    EXPECT_FALSE(M().MatrixHold);
    EXPECT_TRUE(M().PatternValid);
    EXPECT_TRUE(M().RedrawOnActivate);
    EXPECT_EQ(Text(F().Command19), "Load (0/0)");
    EXPECT_EQ(Text(F().Command18), "Save");
    EXPECT_EQ(F().VScroll1->value(), 105);
    EXPECT_EQ(F().VScroll2->value(), 105);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartupTest, OnlyTheControlsOfASquareGroupAreShown) {
    F().show();
    struct Case {
        QWidget* control;
        bool visible;
    };
    const Case cases[] = {
        {F().Text1, true},    {F().Label3, true},   {F().Text2, false},  {F().Label4, false},
        {F().Text3, false},   {F().Label5, false},  {F().Check2, false}, {F().Label19, false},
        {F().Label16, false}, {F().Label20, false}, {F().Check3, true},  {F().Command16, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.control->isVisible(), c.visible) << c.control->objectName().toStdString();
    EXPECT_FALSE(F().Command16->isEnabled());
}

TEST_F(StartupTest, ControlsHaveTheirNamesCaptionsAndPlaces) {
    struct Case {
        const char* name;
        const char* caption;  // nullptr: not checked
        int left, top, width, height;
    };
    const Case cases[] = {
        {"Label1", "Basic 2D lattice", 120, 120, 1935, 255},
        {"Label6", "2D lattice/group =", 240, 480, 1695, 255},
        {"Combo1", nullptr, 1920, 480, 3135, 315},
        {"Text1", nullptr, 840, 960, 855, 375},
        {"Label5", "\u03B1 =", 3840, 1080, 495, 255},
        {"Label9", "Matrix", 240, 2280, 615, 255},
        {"Text8", nullptr, 1080, 2760, 615, 375},
        {"Text7", nullptr, 360, 3240, 615, 375},
        {"Command10", "Reduce", 480, 3720, 1095, 255},
        {"Label8", "Symmetry  (", 1920, 3120, 1095, 255},
        {"Check5", "constrained )", 3000, 3120, 1695, 195},
        {"Check3", "Include domains", 5640, 2880, 1815, 375},
        {"Check2", "Paint domains", 5640, 3240, 1575, 375},
        {"Check1", "Include 1x1", 7560, 2880, 1335, 375},
        {"Check4", "Include bases", 7560, 3240, 2055, 375},
        {"Command4", "mag -", 1800, 4320, 735, 255},
        {"Command13", "1", 2520, 4320, 375, 255},
        {"Command5", "mag +", 7200, 4320, 735, 255},
        {"Label20", "WAIT!", 3765, 4440, 735, 255},
        {"Label18", "Domain colors :", 8280, 4560, 1215, 255},
        {"Command7", "-90", 3840, 4800, 615, 255},
        {"Command9", "< rot", 3840, 5160, 615, 255},
        {"Command12", "0", 3840, 5520, 615, 255},
        {"Command8", "rot >", 3840, 5880, 615, 255},
        {"Command15", "90", 3840, 6240, 615, 255},
        {"VScroll2", nullptr, 4260, 6600, 200, 1335},
        {"Command17", "d", 4040, 6600, 220, 255},
        {"Command1", "Refresh", 8160, 5400, 1335, 375},
        {"Command20", "Clear", 8850, 6240, 645, 255},
        {"Command11", "Help", 8160, 6720, 1335, 375},
        {"Command2", "Exit", 8160, 7320, 1335, 375},
        {"Command16", "Settings", 8160, 7920, 1335, 375},
    };
    for (const Case& c : cases) {
        auto* w = F().findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        const QRect g = w->geometry();
        EXPECT_NEAR(g.x(), c.left / 15.0, 0.5) << c.name;
        EXPECT_NEAR(g.y(), c.top / 15.0, 0.5) << c.name;
        EXPECT_NEAR(g.width(), c.width / 15.0, 0.5) << c.name;
        EXPECT_NEAR(g.height(), c.height / 15.0, 0.5) << c.name;
        if (!c.caption) continue;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        EXPECT_EQ(text.toStdString(), c.caption) << c.name;
    }
}

TEST_F(StartupTest, ListsHoldTheirRowsAsStored) {
    ASSERT_EQ(F().Combo1->count(), 17);
    ASSERT_EQ(F().Combo2->count(), 21);
    ASSERT_EQ(F().Combo3->count(), 26);
    EXPECT_EQ(F().Combo1->itemText(16).toStdString(), Padded("[17]  Hexagonal p6mm (p6m)", 32));
    EXPECT_EQ(F().Combo2->itemText(20).toStdString(), Padded("[7']  Rot. Prim.Rect. p2mg (pmg)", 32));
    EXPECT_EQ(F().Combo3->itemText(0).toStdString(), Padded("None", 30));
    EXPECT_EQ(F().Combo3->itemText(25).toStdString(), Padded("c(2r3x4)rect {hexagonal only}", 30));
}

TEST_F(StartupTest, TextFieldsUseAFixedPitchFont) {
    EXPECT_TRUE(QFontInfo(F().Text6->font()).fixedPitch());
}

TEST_F(StartupTest, DefaultPictureLatticeAndPatternBoxes) {
    // Lattice box: white inside, black frame; pattern box: black inside, white frame.
    EXPECT_EQ(Pixel(240, 6000), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(3720, 6000), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(1000, 5000), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(4560, 6000), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(5000, 7000), RGB(0, 0, 0));
    // The green substrate net: a vertical line through the origin.
    EXPECT_EQ(Pixel(1980, 5000), RGB(0, 255, 0));
    // A black superlattice dot on the lattice point (1, 0), LatScale = 1160.
    EXPECT_EQ(Pixel(1980 + 1160, 6420), RGB(0, 0, 0));
    // The size previews: a black dot and a white spot with a black outline.
    EXPECT_EQ(Pixel(3960, 8160), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(4320, 8160), RGB(255, 255, 255));
}
