// Long random sequences of user actions on the main window. After every action
// the window must still be sound: no action slower than a second, no "nan" or
// "inf" on display, the matrix fields showing the matrix, the saved sets
// untouched except by "Save", and only the program's own messages.
//
// QUORVEX_ROBUST_ACTIONS sets the number of actions (default kDefaultActions),
// QUORVEX_ROBUST_SEED the seed of the generator (default kSeed).
#include <QLocale>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "FormFixture.h"
#include "model/FieldReaders.h"
#include "model/Layout.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

constexpr std::uint32_t kSeed = 0x51A7E5;
constexpr long kDefaultActions = 3000;
constexpr double kSlowMs = 1000;

double ThreadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
constexpr std::size_t kTrailLength = 20;

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    char* end = nullptr;
    const long value = text ? std::strtol(text, &end, 10) : 0;
    return (text && *text && *end == '\0' && value > 0) ? value : fallback;
}

// What a user might type, from the harmless to the hostile.
const std::vector<QString>& NastyCorpus() {
    static const std::vector<QString> corpus = [] {
        // clang-format off
        std::vector<QString> c = {
            "", " ", "\t", "0", "-0", "00000", "1", "-1", "2", "3", "-2", "7", "1.5", "2.5",
            "-2.5", "0.5", "-0.5", "0.4999999999999999999", "1.0", "+1", " 1 ", "1,000", "1,00",
            "1.000,5", "1 000", "5", "4.9", "175", "175.0001", "-175", "-60", "90", "120", "180",
            "nan", "NaN", "-nan", "inf", "-inf", "Infinity", "INF", "1e400", "-1e400", "1e308",
            "1.7976931348623157e308", "1e300", "-1e300", "1e-300", "4.9e-324", "1e-320", "1e-400",
            "2.2250738585072014e-308", "1e20", "1e10", "1e9", "9.99e9", "&HFFFFFFFF", "&H7FFFFFFF",
            "&H80000000", "&hffff", "&HFFFFFFFFFFFFFFFFFFFFFFFF", "&H", "&O", "&O777",
            "&O37777777777", "&", "2147483647", "2147483648", "-2147483648", "-2147483649",
            "4294967296", "9223372036854775807", "9223372036854775808", "-9223372036854775809",
            "2147483647.5", "2147483646.5", "-2147483648.5", "abc", "x1", "1x", "2.5x", "e", "E5",
            "1e", "1e+", "1e-", "1e2147483648", "1e-2147483649", "1d2", "1D-2", ".", "..", "-",
            "+", "+-1", "--1", "0x10", "1.2.3", "1e5e5", ".5", "5.", "-.5", "1,5", "١٢", "１２",
            "\u22121", "½", "1\u00A0000", "\n5\n", QString(400, '9'), "1" + QString(400, '0'),
            "0." + QString(400, '0') + "1", "-" + QString(330, '7') + ".5", QString(2000, 'a'),
            "1e" + QString(40, '9'), "1e-" + QString(40, '9'), "&H" + QString(300, 'F'),
            "&O" + QString(400, '7'), QString(1000, ' ') + "3",
        };
        // clang-format on
        return c;
    }();
    return corpus;
}

class RobustnessTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        ShowActive();
        savedStore = M().StoreStack;
        helpFileMissing = !QFileInfo::exists(F().HelpFilePath());
        rng.seed(static_cast<std::uint32_t>(EnvNumber("QUORVEX_ROBUST_SEED", kSeed)));
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    double Real(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
    template <typename T>
    T Pick(const std::vector<T>& items) {
        return items[Uniform(0, static_cast<int>(items.size()) - 1)];
    }
    template <typename T>
    T Pick(std::initializer_list<T> items) {
        return Pick(std::vector<T>(items));
    }

    std::vector<QLineEdit*> Fields() {
        return {F().Text1, F().Text2, F().Text3, F().Text6, F().Text7, F().Text8, F().Text9};
    }

    // The locale's separators, as the matrix fields read them.
    static std::optional<model::Long> ReadMatrixText(const QString& text) {
        const QLocale locale;
        const QString d = locale.decimalPoint(), g = locale.groupSeparator();
        const char dc = d.size() == 1 && d[0].unicode() < 128 ? char(d[0].unicode()) : '.';
        const char gc = g.size() == 1 && g[0].unicode() < 128 ? char(g[0].unicode()) : ',';
        return model::ConvertInteger(text.toStdString(), dc, gc);
    }

    // Empty when the window is sound; else what is wrong.
    std::string Unsound() {
        std::ostringstream out;
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 F().Label10, F().Label11, F().Label15, F().Label16, F().Label17, F().Label19,
                 F().Text1, F().Text2, F().Text3, F().Text6, F().Text7, F().Text8, F().Text9,
                 F().Command19}) {
            const QString t = w->property("text").toString().toLower();
            if (t.contains("nan") || t.contains("inf"))
                out << w->objectName().toStdString() << " shows \"" << t.toStdString() << "\"; ";
        }
        // A matrix field shows its entry formatted, or the user's own text for
        // an entry that read as the value it already had.
        const std::pair<QLineEdit*, model::Long> matrix[] = {
            {F().Text6, M().M11}, {F().Text7, M().M21}, {F().Text8, M().M12}, {F().Text9, M().M22}};
        for (const auto& [field, value] : matrix) {
            const QString text = field->text();
            if (text.isEmpty()) out << field->objectName().toStdString() << " is empty; ";
            if (text == QString::fromStdString(model::FormatNumber(value, "####0"))) continue;
            if (typedText[field] != text || ReadMatrixText(text) != value)
                out << field->objectName().toStdString() << " shows \"" << text.toStdString()
                    << "\" for " << value << "; ";
        }
        // The lattice fields are rewritten after every confirmation.
        const std::tuple<QLineEdit*, double, const char*> lattice[] = {
            {F().Text1, M().LatticeA, "###0.0000"},
            {F().Text2, M().LatticeB, "###0.0000"},
            {F().Text3, M().LatticeAlpha, "###0.0"}};
        for (const auto& [field, value, pattern] : lattice)
            if (field->isVisible() &&
                field->text().toStdString() != model::FormatNumber(value, pattern))
                out << field->objectName().toStdString() << " shows \""
                    << field->text().left(60).toStdString() << "\" for " << value << "; ";
        if (!(M().StoreStack == savedStore)) out << "a saved set changed; ";

        for (const std::string& message : messages) {
            // "Wrong input" quotes what was typed now or what a field showed before.
            const bool wrongInput = message.rfind("Wrong input: ", 0) == 0 &&
                                    std::count(quotable.begin(), quotable.end(),
                                               QString::fromStdString(message.substr(13)));
            const bool ok =
                message == "Superlattice matrix inconsistent" || wrongInput ||
                (message == "Invalid alpha value: \n  5 < alpha < 175" && alphaTyped) ||
                (helpFileMissing && message.rfind("The help file was not found", 0) == 0);
            if (!ok) out << "unexpected message \"" << message << "\"; ";
        }
        messages.clear();
        return out.str();
    }

    // Runs one action, times it and checks the window. Returns false once the
    // run has failed and should stop.
    bool Act(const std::string& what, const std::function<void()>& body) {
        quotable.clear();
        for (const QLineEdit* f : Fields()) quotable.push_back(f->text());
        alphaTyped = false;
        trail.push_back("#" + std::to_string(++actions) + " " + what);
        if (trail.size() > kTrailLength) trail.pop_front();
        // The work the action costs on this thread: other jobs sharing the cores
        // (tests run in parallel) must not make a fast action look slow.
        const double start = ThreadMilliseconds();
        body();
        QCoreApplication::processEvents();  // the event loop between two user actions
        const double ms = ThreadMilliseconds() - start;
        // A value too small to show reads back as 0 when its field is left again.
        for (const QLineEdit* f : Fields()) quotable.push_back(f->text());
        std::string wrong = Unsound();
        // The sanitizer build (unoptimised, instrumented) runs many times slower
        // and sets its own limit.
        static const double slowMs = static_cast<double>(
            EnvNumber("QUORVEX_ROBUST_SLOW_MS", static_cast<long>(kSlowMs)));
        if (ms > slowMs) wrong += "slow (" + std::to_string(ms) + " ms); ";
        if (wrong.empty()) return true;
        std::string recent;
        for (const auto& t : trail) recent += "  " + t + "\n";
        ADD_FAILURE() << "after " << trail.back() << ": " << wrong << "\nseed "
                      << EnvNumber("QUORVEX_ROBUST_SEED", kSeed) << ", recent actions:\n"
                      << recent;
        return false;
    }

    QString RandomText() {
        const std::function<QString()> makers[] = {
            [&] { return Pick(NastyCorpus()); },
            [&] { return QString::number(Uniform(-3, 7)); },
            [&] {
                return QString::number(
                    std::uniform_int_distribution<long long>(-2147483658LL, 2147483658LL)(rng));
            },
            [&] { return QString::number(Real(-10, 10), 'f', Uniform(0, 6)); },
            [&] {
                return QString::number(Real(1, 10), 'f', 3) + "e" +
                       QString::number(Uniform(-330, 330));
            },
            [&] { return QString::number(Real(-200, 200), 'f', 1); },
            [&] { return QString::number(Uniform(-9, 9)) + ".5"; },
            [&] {
                QString s;
                for (int n = Uniform(0, 12); n > 0; --n)
                    s += QString("0123456789+-.,eEdD&HhOoF x\t")[Uniform(0, 26)];
                return s;
            }};
        return makers[std::max(0, Uniform(-1, 7))]();  // the corpus twice as often
    }

    // The user's keys replace the text of a field.
    void TypeText(QLineEdit* field, const QString& text) {
        field->setText(text);
        typedText[field] = text;
        quotable.push_back(text);
        alphaTyped = alphaTyped || field == F().Text3;
    }

    bool TypeAndConfirm(QLineEdit* field, const QString& text) {
        return Act("type " + field->objectName().toStdString() + " \"" +
                       text.left(40).toStdString() + "\"",
                   [&] {
                       field->setFocus();
                       TypeText(field, text);
                       QTest::keyClick(field, Qt::Key_Return);
                   });
    }

    template <typename T>
    static std::vector<T*> Visible(const std::vector<T*>& widgets,
                                   const QWidget* except = nullptr) {
        std::vector<T*> shown;
        for (T* w : widgets)
            if (w->isVisible() && w != except) shown.push_back(w);
        return shown;
    }

    std::vector<QWidget*> FocusTargets(const QWidget* except = nullptr) {
        std::vector<QWidget*> all = {F().Command1, F().Command10, F().Combo1, F().Check1,
                                     F().VScroll1};
        for (QLineEdit* f : Fields()) all.push_back(f);
        return Visible(all, except);
    }

    // Clicks into a field, types and confirms with Enter, by leaving the field, or both.
    bool TypeAction() {
        QLineEdit* field = Pick(Visible(Fields()));
        const bool keepText = Chance(0.05);
        const bool matrix = field != F().Text1 && field != F().Text2 && field != F().Text3;
        // Mostly small entries, so that the matrix describes a structure worth drawing.
        const QString text = matrix && Chance(0.5) ? QString::number(Uniform(-4, 6)) : RandomText();
        const int commit = Uniform(0, 9);  // 0..5 Enter, 6..7 leave, 8 both, 9 keypad Enter
        return Act("type " + field->objectName().toStdString() + " \"" +
                       (keepText ? std::string("<as is>") : text.left(40).toStdString()) +
                       "\" commit " + std::to_string(commit),
                   [&] {
                       field->setFocus();
                       // Leaving the previous field may have moved the focus on (a
                       // message sends it to Text6): the keys go wherever the focus is.
                       auto* target = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                       if (!target || target->window() != &F()) return;
                       if (!keepText) TypeText(target, text);
                       if (commit <= 5 || commit == 8) QTest::keyClick(target, Qt::Key_Return);
                       if (commit == 9) QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
                       if (commit >= 6 && commit <= 8) Pick(FocusTargets(target))->setFocus();
                   });
    }

    bool Click(QAbstractButton* b) {
        return Act(
            "click " + b->objectName().toStdString() + " \"" + b->text().toStdString() + "\"",
            [&] { b->click(); });
    }

    // "Save" with a drawing pushes the current set on the front of the ring. The
    // press may first end an entry (the button takes the focus), so the set is
    // the one after the click, which "Save" itself does not change.
    void ExpectSave(model::Long countBefore) {
        const model::Module1& m = M();
        if (!m.PatternValid) return;
        for (int p = std::min<int>(countBefore + 1, m.StoreCapacity); p >= 2; --p)
            savedStore[p] = savedStore[p - 1];
        savedStore[1] = {m.BasicGroup,   m.LatticeA,    m.LatticeB,
                         m.LatticeAlpha, m.M11,         m.M22,
                         m.M12,          m.M21,         m.CommonNameIndex,
                         m.SuperGroup,   m.Constrained, m.IncludeDomains,
                         m.PaintDomains, m.Include1x1,  m.IncludeBases,
                         m.LatMag,       m.PatMag,      m.RotAngle,
                         m.RotCos,       m.RotSin,      m.LatDotRadius,
                         m.SpotRadius};
    }

    bool StoreAction() {
        QPushButton* b =
            Pick({F().Command18, F().Command18, F().Command19, F().Command19, F().Command20});
        const Qt::MouseButton button = Pick({Qt::LeftButton, Qt::RightButton, Qt::MiddleButton});
        return Act("store " + b->objectName().toStdString() + " button " + std::to_string(button),
                   [&] {
                       const model::Long count = M().StoreCount;
                       QTest::mouseClick(b, button);
                       if (b == F().Command18) ExpectSave(count);
                   });
    }

    // Sets a scroll bar, steps it, or drags its thumb along a path and lets it go.
    bool ScrollAction() {
        QScrollBar* bar = Pick({F().VScroll1, F().VScroll2});
        const int how = Uniform(0, 2), value = Uniform(-20, 170);
        const auto step = static_cast<QAbstractSlider::SliderAction>(Uniform(1, 6));
        std::vector<int> path(Uniform(1, 6));
        for (int& p : path) p = Uniform(0, 150);
        const std::string detail = how == 0   ? " set " + std::to_string(value)
                                   : how == 1 ? " step " + std::to_string(step)
                                              : " thumb to " + std::to_string(path.back());
        return Act("scroll " + bar->objectName().toStdString() + detail, [&] {
            if (how == 0) bar->setValue(value);
            if (how == 1) bar->triggerAction(step);
            if (how < 2) return;
            bar->setSliderDown(true);
            for (int p : path) bar->setSliderPosition(p);  // moves the thumb: Scroll
            bar->setSliderDown(false);                     // lets it go: Change
        });
    }

    // A twip position as the window delivers it: single precision, from a
    // position that may lie far outside the window.
    static float Twip(double v) {
        return std::isfinite(v) ? static_cast<float>(std::clamp(v, -1e7, 1e7)) : 0.0f;
    }

    QPointF LatticePoint(double i, double j) {
        const model::Module1& m = M();
        return {(j * m.A2X + i * m.A1X) * m.LatScale + m.LatBoxCenterX,
                m.LatBoxCenterY - (i * m.A1Y + j * m.A2Y) * m.LatScale};
    }
    QPointF PatternPoint(double x, double y, double f) {
        const model::Module1& m = M();
        return {m.PatBoxCenterX + f * m.PatScale * x, m.PatBoxCenterY - f * m.PatScale * y};
    }
    QPointF AnywhereOnWindow() {
        return {Real(-300, model::ClientWidthTwips + 300),
                Real(-300, model::ClientHeightTwips + 300)};
    }
    QPointF LatBoxPoint() {
        const model::Module1& m = M();
        const double x = Chance(0.1) ? m.LatBoxLeft : m.LatBoxLeft + Real(0, m.LatBoxWidth);
        return {x, m.LatBoxTop + Real(0, m.LatBoxHeight)};
    }
    QPointF PatBoxPoint() {
        const model::Module1& m = M();
        return {m.PatBoxLeft + Real(0, m.PatBoxWidth), m.PatBoxTop + Real(0, m.PatBoxHeight)};
    }

    bool Drag(const std::string& kind, const QPointF& down, const QPointF& up, bool move = true) {
        std::vector<QPointF> moves(move ? Uniform(0, 5) : 0);
        for (QPointF& p : moves) p = Pick({AnywhereOnWindow(), LatBoxPoint(), PatBoxPoint()});
        std::ostringstream d;
        d << kind << " down (" << down.x() << "," << down.y() << ") " << moves.size()
          << " moves, up (" << up.x() << "," << up.y() << ")";
        return Act(d.str(), [&] {
            F().Form_MouseDown(Twip(down.x()), Twip(down.y()));
            for (const QPointF& p : moves) F().Form_MouseMove(Twip(p.x()), Twip(p.y()));
            F().Form_MouseUp(Twip(up.x()), Twip(up.y()));
        });
    }

    // Drags in the lattice box: from a vector tip (or elsewhere) to a lattice point (or elsewhere).
    bool LatticeDrag() {
        const model::Module1& m = M();
        const QPointF tip1 = LatticePoint(m.M11, m.M12), tip2 = LatticePoint(m.M21, m.M22);
        const QPointF down = Pick(
            {tip1, tip1, tip2, tip2, LatticePoint(Uniform(-3, 3), Uniform(-3, 3)), LatBoxPoint()});
        QPointF up = Pick({LatticePoint(Uniform(-4, 4), Uniform(-4, 4)),
                           LatticePoint(Uniform(-4, 4), Uniform(-4, 4)), tip2,
                           LatticePoint(-m.M11, -m.M12), down, LatBoxPoint(), AnywhereOnWindow()});
        if (Chance(0.3)) up += QPointF(Real(-40, 40), Real(-40, 40));
        return Drag("lattice drag", down, up);
    }

    // Drags in the pattern box: a reciprocal tip to anywhere, the centre included.
    bool PatternDrag() {
        const model::Module1& m = M();
        const double jitter = Real(0.95, 1.05);
        const QPointF tip1 = PatternPoint(m.RB1X, m.RB1Y, jitter);
        const QPointF tip2 = PatternPoint(m.RB2X, m.RB2Y, jitter);
        const QPointF center(m.PatBoxCenterX, m.PatBoxCenterY);
        const QPointF down = Pick({tip1, tip1, tip2, tip2, PatBoxPoint()});
        const QPointF up = Pick({center, center + QPointF(Real(-2, 2), Real(-2, 2)),
                                 PatternPoint(m.RB1X, m.RB1Y, Pick({0.5, 2.0, -1.0, 1.0 / 3})),
                                 PatternPoint(m.RB2X, m.RB2Y, Pick({0.5, 2.0, -1.0, 1.0})),
                                 AnywhereOnWindow(), PatBoxPoint()});
        return Drag("pattern drag", down, up);
    }

    // Clicks on the colour boxes of the legend, 4u = 180 twips wide and 5u = 225 high.
    bool LegendClick() {
        const int box = Uniform(1, std::max<int>(1, M().SubpatternCount) + 1);
        const double x = model::Line14.X1 + (box - 1) * 180.0 + (Chance(0.1) ? 0 : Real(0, 180));
        const double y = model::Line14.Y1 + Real(-10, 235);
        if (Chance(0.5)) return Drag("legend click", {x, y}, {x, y}, false);
        const QPoint p(int(x / model::TwipsPerPixel), int(y / model::TwipsPerPixel));
        return Act("legend mouse click at pixel (" + std::to_string(p.x()) + "," +
                       std::to_string(p.y()) + ")",
                   [&] {
                       QTest::mouseClick(&F(), Pick({Qt::LeftButton, Qt::RightButton}), {}, p);
                   });
    }

    // The magnifications are unbounded: long runs of one zoom button.
    bool ZoomRun(long& budget) {
        QPushButton* b = Pick({F().Command3, F().Command4, F().Command5, F().Command6});
        for (int n = Chance(0.5) ? Uniform(1, 20) : Uniform(50, 300); n > 0 && budget > 0;
             --n, --budget)
            if (!Click(b)) return false;
        return true;
    }

    bool OneAction(long& budget) {
        const int r = Uniform(0, 999);
        if (r >= 500 && r < 505) return ZoomRun(budget);
        --budget;
        if (r < 260) return TypeAction();
        if (r < 360) {
            QComboBox* list = Pick({F().Combo1, F().Combo2, F().Combo3});
            const int row = Uniform(0, list->count() - 1);
            return Act("choose " + list->objectName().toStdString() + " row " + std::to_string(row),
                       [&] { Choose(list, row); });
        }
        if (r < 500)
            return Click(Pick<QAbstractButton*>(
                {F().Command1, F().Command3, F().Command4, F().Command5, F().Command6, F().Command7,
                 F().Command8, F().Command9, F().Command10, F().Command10, F().Command12,
                 F().Command13, F().Command14, F().Command15, F().Command17}));
        if (r < 590) return StoreAction();
        if (r < 670)
            return Click(Pick(Visible<QAbstractButton>(
                {F().Check1, F().Check2, F().Check3, F().Check4, F().Check5})));
        if (r < 690)
            return Act("click Label9", [&] { QTest::mouseClick(F().Label9, Qt::LeftButton); });
        if (r < 750) return ScrollAction();
        if (r < 840) return LatticeDrag();
        if (r < 910) return PatternDrag();
        if (r < 950) return LegendClick();
        if (r < 965) return Act("activate window", [&] { F().Form_Activate(); });
        if (r < 985) {
            QWidget* w = Pick(FocusTargets());
            return Act("focus " + w->objectName().toStdString(), [&] { w->setFocus(); });
        }
        if (r < 998) {
            const QPointF p = AnywhereOnWindow();
            return Drag("click", p, p, false);
        }
        return Act("help open and close", [&] {
            F().Command11->click();
            if (F().Help()) F().Help()->close();
            F().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&F()));
        });
    }

    std::mt19937 rng;
    std::array<model::StoredState, 11> savedStore{};
    std::map<QLineEdit*, QString> typedText;
    std::deque<std::string> trail;  // the last actions, for a failure's report
    std::vector<QString> quotable;  // texts a "Wrong input" message may quote now
    bool alphaTyped = false;
    long actions = 0;
    bool helpFileMissing = false;
};

}  // namespace

TEST_F(RobustnessTest, RandomUserActionsKeepTheWindowSound) {
    long budget = EnvNumber("QUORVEX_ROBUST_ACTIONS", kDefaultActions);
    while (budget > 0 && OneAction(budget)) {
    }
}

// Every text of the corpus in every field, on a lattice that shows all of them.
TEST_F(RobustnessTest, EveryNastyTextInEveryField) {
    ASSERT_TRUE(Act("choose Combo1 row 0", [&] { Choose(F().Combo1, 0); }));
    for (QLineEdit* field : Visible(Fields()))
        for (const QString& text : NastyCorpus()) ASSERT_TRUE(TypeAndConfirm(field, text));
}

// Hundreds of zoom clicks in a row on both boxes, out and in, for a few
// structures with their domains painted.
TEST_F(RobustnessTest, LongZoomRunsStayFast) {
    // p6mm with (r7xr7)R19.1 and its domains; p1 with (5r3x2)rect on an oblique cell.
    for (const auto& [groupRow, nameRow] : {std::pair{16, 21}, std::pair{0, 24}}) {
        ASSERT_TRUE(
            Act("choose group row " + std::to_string(groupRow), [&, g = groupRow, n = nameRow] {
                Choose(F().Combo1, g);
                Choose(F().Combo3, n);
                if (!F().Check3->isChecked()) F().Check3->click();
                if (!F().Check2->isChecked()) F().Check2->click();
            }));
        for (QPushButton* zoom : {F().Command4, F().Command3, F().Command6, F().Command5}) {
            for (int i = 0; i < 300; ++i) ASSERT_TRUE(Click(zoom));
            ASSERT_TRUE(Click(F().Command13) && Click(F().Command14));  // both back to 1
        }
    }
}

// The pattern-only redraws (spot size, pattern zoom, domain boxes) leave the box of a
// superlattice refused as too large blank: drawing it would take minutes.
TEST_F(RobustnessTest, RefusedSuperlatticeStaysUndrawn) {
    ASSERT_TRUE(TypeAndConfirm(F().Text6, "4008"));
    ASSERT_FALSE(M().PatternValid);
    const QRect box(304, 312, 233, 233);  // the pattern box in pixels
    const QImage blank = F().Canvas().Image().copy(box);
    const int runs = F().PatternRuns();
    ASSERT_TRUE(Act("scroll VScroll2 set 20", [&] { F().VScroll2->setValue(20); }));
    ASSERT_TRUE(Click(F().Command6));
    ASSERT_TRUE(Click(F().Check3));
    ASSERT_TRUE(Click(F().Check2));
    EXPECT_EQ(F().PatternRuns(), runs);
    EXPECT_TRUE(F().Canvas().Image().copy(box) == blank);
}
