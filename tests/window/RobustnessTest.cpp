// Long random sequences of user actions on the main window. After every action
// the window must still be sound: no action slower than a second, no "nan" or
// "inf" on display, the fields showing the values, the saved sets untouched
// except by "Save", and only the program's own messages.
//
// QUORVEX_ROBUST_ACTIONS sets the number of actions (default kDefaultActions),
// QUORVEX_ROBUST_SEED the seed (default kSeed), QUORVEX_ROBUST_SLOW_MS the time
// one action may take (default kSlowMs; the sanitizer build sets its own).
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "WindowFixture.h"
#include "model/NumberText.h"

namespace quorvex::testing {
namespace {

constexpr std::uint32_t kSeed = 0x51A7E5;
constexpr long kDefaultActions = 3000, kSlowMs = 1000;

// The work an action costs on this thread: other jobs sharing the cores (tests
// run in parallel) must not make a fast action look slow.
double ThreadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    char* end = nullptr;
    const long value = text ? std::strtol(text, &end, 10) : 0;
    return (text && *text && *end == '\0' && value > 0) ? value : fallback;
}

// What a user might type, from the harmless to the hostile.
const std::vector<QString>& NastyCorpus() {
    static const std::vector<QString> corpus = {
        // clang-format off
        "", " ", "\t", "0", "-0", "00000", "1", "-1", "1.5", "2.5", "0.5", "-0.5",
        "0.4999999999999999999", "1.0", "+1", " 1 ", "1,000", "1,00", "1.000,5", "1 000", "5",
        "4.9", "175", "175.0001", "-175", "-60", "90", "120", "180", "nan", "NaN", "-nan", "inf",
        "-inf", "Infinity", "1e400", "-1e400", "1e308", "1.7976931348623157e308", "1e300",
        "-1e300", "1e-300", "4.9e-324", "1e-320", "1e-400", "2.2250738585072014e-308", "1e10",
        "9.99e9", "&HFFFFFFFF", "&H7FFFFFFF", "&H80000000", "&hffff", "&HFFFFFFFFFFFFFFFFFFFFFFFF",
        "&H", "&O", "&O777", "&O37777777777", "&", "2147483647", "2147483648", "-2147483648",
        "-2147483649", "4294967296", "9223372036854775807", "9223372036854775808",
        "-9223372036854775809", "2147483647.5", "2147483646.5", "-2147483648.5", "abc", "x1", "1x",
        "2.5x", "e", "E5", "1e", "1e+", "1e-", "1e2147483648", "1e-2147483649", "1d2", "1D-2", ".",
        "..", "-", "+", "+-1", "--1", "0x10", "1.2.3", "1e5e5", ".5", "5.", "-.5", "1,5", "١٢",
        "１２", "\u22121", "½", "1\u00A0000", "\n5\n", QString(400, '9'), "1" + QString(400, '0'),
        "0." + QString(400, '0') + "1", "-" + QString(330, '7') + ".5", QString(2000, 'a'),
        "1e" + QString(40, '9'), "1e-" + QString(40, '9'), "&H" + QString(300, 'F'),
        "&O" + QString(400, '7'), QString(1000, ' ') + "3",
        // clang-format on
    };
    return corpus;
}

// An entry as the matrix fields read it, with the locale's separators.
std::optional<model::Int32> ReadMatrixText(const QString& text) {
    const auto ascii = [](const QString& s, char other) {
        return s.size() == 1 && s[0].unicode() < 128 ? char(s[0].unicode()) : other;
    };
    return model::ConvertInteger(text.toStdString(), ascii(QLocale().decimalPoint(), '.'),
                                 ascii(QLocale().groupSeparator(), ','));
}

// The format with %1, %2, ... filled in.
template <typename... T>
QString Say(const char* format, const T&... values) {
    QString s = QString::fromUtf8(format);
    ((s = s.arg(values)), ...);
    return s;
}

class RobustnessTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowActive();
        for (int i = 0; i < model::SavedStates::kCapacity; ++i)
            saved[i] = W().document().saved.At(i);
        rng.seed(static_cast<std::uint32_t>(EnvNumber("QUORVEX_ROBUST_SEED", kSeed)));
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); }
    double Real(double lo, double hi) { return std::uniform_real_distribution(lo, hi)(rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
    template <typename T>
    T Pick(const std::vector<T>& items) {
        return items[Uniform(0, int(items.size()) - 1)];
    }
    template <typename T>
    T Pick(std::initializer_list<T> items) {
        return Pick(std::vector<T>(items));
    }

    // The shown controls among these, less one.
    template <typename T = QWidget>
    std::vector<T*> Visible(std::vector<const char*> names, const QWidget* except = nullptr) {
        std::vector<T*> shown;
        for (const char* name : names)
            if (T* w = Find<T>(name); w->isVisible() && w != except) shown.push_back(w);
        return shown;
    }
    static inline const std::vector<const char*> kFields = {
        "lengthAField",  "lengthBField",  "alphaField",   "matrixField11",
        "matrixField21", "matrixField12", "matrixField22"};
    static inline const std::vector<const char*> kFocusTargets = {
        "refreshButton", "reduceButton",  "basicGroupList", "include1x1Box",
        "dotSizeBar",    "lengthAField",  "lengthBField",   "alphaField",
        "matrixField11", "matrixField21", "matrixField12",  "matrixField22"};

    // Empty when the window is sound; else what is wrong.
    std::string Unsound() {
        std::ostringstream out;
        for (const QWidget* w : W().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QString t = w->property("text").toString().toLower();
            if (t.contains("nan") || t.contains("inf"))
                out << w->objectName().toStdString() << " shows \"" << t.toStdString() << "\"; ";
        }
        // The lattice fields are rewritten after every confirmation. A matrix field shows
        // its entry formatted, or the user's own text for an entry that read as the value
        // it already had.
        const model::SuperlatticeMatrix& m = S().matrix;
        const double values[] = {S().a,         S().b,         S().alpha,    double(m.m11),
                                 double(m.m21), double(m.m12), double(m.m22)};
        for (int i = 0; i < 7; ++i) {
            QLineEdit* field = Find<QLineEdit>(kFields[i]);
            const QString text = field->text();
            const char* format = i < 2 ? "###0.0000" : i == 2 ? "###0.0" : "####0";
            if (text.toStdString() == model::FormatNumber(values[i], format) ||
                (i < 3 && !field->isVisible()) ||
                (i >= 3 && typedText[field] == text && ReadMatrixText(text) == values[i]))
                continue;
            out << kFields[i] << " shows \"" << text.left(60).toStdString() << "\" for "
                << values[i] << "; ";
        }
        for (int i = 0; i < model::SavedStates::kCapacity; ++i)
            if (!(W().document().saved.At(i) == saved[i])) out << "saved set " << i << " changed; ";
        for (const std::string& message : messages) {
            // "Wrong input" quotes what was typed now or what a field showed before.
            const bool ok = message == "Superlattice matrix inconsistent" ||
                            (message.rfind("Wrong input: ", 0) == 0 &&
                             std::count(quotable.begin(), quotable.end(),
                                        QString::fromStdString(message.substr(13)))) ||
                            (message == "Invalid alpha value: \n  5 < alpha < 175" && alphaTyped);
            if (!ok) out << "unexpected message \"" << message << "\"; ";
        }
        messages.clear();
        return out.str();
    }

    // The state an action left, for a slow action's report (and a benchmark case).
    std::string Described() {
        const model::Structure& s = S();
        const model::ViewSettings& v = V();
        std::ostringstream out;
        out.precision(17);
        out << "group " << s.basicGroup << " a " << s.a << " b " << s.b << " alpha " << s.alpha
            << " matrix " << s.matrix.m11 << " " << s.matrix.m12 << " " << s.matrix.m21 << " "
            << s.matrix.m22 << " super " << s.superGroup << " options " << s.options.include1x1
            << s.options.paintDomains << s.options.includeDomains << s.options.includeBases
            << " zooms " << v.latticeZoom << " " << v.patternZoom << " rotation "
            << v.rotationDegrees << " radii " << v.dotRadius << " " << v.spotRadius;
        return out.str();
    }
    void Quote() {
        for (const char* name : kFields) quotable.push_back(Find<QLineEdit>(name)->text());
    }
    // Runs one action, times it and checks the window. Returns false once the
    // run has failed and should stop.
    bool Act(const QString& what, const std::function<void()>& body) {
        quotable.clear();
        Quote();
        alphaTyped = false;
        trail.push_back(Say("#%1 %2", ++actions, what).toStdString());
        if (trail.size() > 20) trail.pop_front();
        const double start = ThreadMilliseconds();
        body();
        QCoreApplication::processEvents();  // the event loop between two user actions
        const double ms = ThreadMilliseconds() - start;
        Quote();  // a value too small to show reads back as 0 when its field is left again
        std::string wrong = Unsound();
        static const long slowMs = EnvNumber("QUORVEX_ROBUST_SLOW_MS", kSlowMs);
        if (ms > static_cast<double>(slowMs))
            wrong += "slow (" + std::to_string(ms) + " ms) in " + Described() + "; ";
        if (ms > slowest) {
            slowest = ms;
            slowestAction = trail.back();
        }
        if (wrong.empty()) return true;
        std::string recent;
        for (const auto& t : trail) recent += "  " + t + "\n";
        ADD_FAILURE() << "after " << trail.back() << ": " << wrong << "\nseed "
                      << EnvNumber("QUORVEX_ROBUST_SEED", kSeed) << ", recent actions:\n"
                      << recent;
        return false;
    }
    bool Press(const char* button) {
        return Act(QString("click ") + button, [&] { Click(button); });
    }

    QString RandomText() {
        using Long = std::uniform_int_distribution<long long>;
        const int k = std::max(0, Uniform(-1, 7));  // the corpus twice as often
        if (k == 0) return Pick(NastyCorpus());
        if (k == 1) return QString::number(Uniform(-3, 7));
        if (k == 2) return QString::number(Long(-2147483658LL, 2147483658LL)(rng));
        if (k == 3) return QString::number(Real(-10, 10), 'f', Uniform(0, 6));
        if (k == 4) return QString("%1e%2").arg(Real(1, 10), 0, 'f', 3).arg(Uniform(-330, 330));
        if (k == 5) return QString::number(Real(-200, 200), 'f', 1);
        if (k == 6) return QString::number(Uniform(-9, 9)) + ".5";
        QString s;
        for (int n = Uniform(0, 12); n > 0; --n)
            s += QString("0123456789+-.,eEdD&HhOoF x\t")[Uniform(0, 26)];
        return s;
    }

    // Clicks into a field, types (or keeps its text) and confirms: commit 0..5
    // with Enter, 6..7 by leaving the field, 8 both, 9 with the keypad's Enter.
    bool TypeAction(QLineEdit* field, const QString& text, int commit, bool keepText = false) {
        const QString typed = keepText ? "<as is>" : text.left(40);
        return Act(Say("type %1 \"%2\" commit %3", field->objectName(), typed, commit), [&] {
            field->setFocus();
            // Leaving the previous field may have moved the focus on (a message
            // sends it to a matrix field): the keys go wherever it is.
            auto* target = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            if (!target || target->window() != &W()) return;
            if (!keepText) {
                target->setText(text);
                typedText[target] = text;
                quotable.push_back(text);
                alphaTyped = target->objectName() == "alphaField";
            }
            if (commit <= 5 || commit == 8) QTest::keyClick(target, Qt::Key_Return);
            if (commit == 9) QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
            if (commit >= 6 && commit <= 8) Pick(Visible(kFocusTargets, target))->setFocus();
        });
    }
    // Mostly small matrix entries, so that the matrix describes a structure worth drawing.
    bool RandomTypeAction() {
        QLineEdit* field = Pick(Visible<QLineEdit>(kFields));
        const bool keepText = Chance(0.05);
        const bool small = field->objectName().startsWith("matrix") && Chance(0.5);
        return TypeAction(field, small ? QString::number(Uniform(-4, 6)) : RandomText(),
                          Uniform(0, 9), keepText);
    }

    // "Save" with a drawing puts the current set in front. The press may first
    // end an entry (the button takes the focus), so the set is the one after
    // the click, which "Save" itself does not change.
    bool SavedSetAction() {
        const char* name =
            Pick({"saveButton", "saveButton", "loadButton", "loadButton", "clearButton"});
        const Qt::MouseButton button = Pick({Qt::LeftButton, Qt::RightButton, Qt::MiddleButton});
        return Act(Say("%1 mouse button %2", QString(name), int(button)), [&] {
            const int count = W().document().saved.Count();
            MouseClick(name, button);
            if (name != std::string("saveButton") || !Derived().patternValid) return;
            for (int i = std::min(count + 1, model::SavedStates::kCapacity) - 1; i >= 1; --i)
                saved[i] = saved[i - 1];
            saved[0] = {S(), V()};
        });
    }

    // Sets a scroll bar, steps it, or drags its thumb along a path and lets it go.
    bool ScrollAction() {
        auto* bar = Find<QScrollBar>(Pick({"dotSizeBar", "spotSizeBar"}));
        const int how = Uniform(0, 2), value = Uniform(-20, 170);
        return Act(QString("scroll %1 way %2 value %3").arg(bar->objectName()).arg(how).arg(value),
                   [&] {
                       if (how == 0) bar->setValue(value);
                       if (how == 1)
                           bar->triggerAction(QAbstractSlider::SliderAction(1 + (value + 20) % 6));
                       if (how < 2) return;
                       bar->setSliderDown(true);  // the thumb moves: the preview
                       for (int n = Uniform(1, 6); n > 0; --n)
                           bar->setSliderPosition(Uniform(0, 150));
                       bar->setSliderDown(false);  // let go: the change
                   });
    }

    QPointF In(const model::Box& b) {
        return {b.left + Real(0, b.width), b.top + Real(0, b.height)};
    }
    QPointF Anywhere() {
        return In({-300, -300, model::kClientWidthTwips + 600, model::kClientHeightTwips + 600});
    }
    // In the lattice box, now and then on its left edge.
    QPointF LatticeBoxPoint() {
        QPointF p = In(model::kLatticeBox);
        if (Chance(0.1)) p.setX(model::kLatticeBox.left);
        return p;
    }

    // Presses, moves and releases at twip positions as the window receives them:
    // single precision, from positions that may lie far outside the window.
    bool Drag(const QString& kind, const QPointF& down, const QPointF& up, bool move = true) {
        std::vector<QPointF> moves(move ? Uniform(0, 5) : 0);
        for (QPointF& p : moves) p = Pick({Anywhere(), LatticeBoxPoint(), In(model::kPatternBox)});
        const QString what = Say("%1 down (%2,%3) %4 moves, up (%5,%6)", kind, down.x(), down.y(),
                                 moves.size(), up.x(), up.y());
        const auto twip = [](double v) {
            return std::isfinite(v) ? static_cast<float>(std::clamp(v, -1e7, 1e7)) : 0.0f;
        };
        return Act(what, [&] {
            W().onMousePressed(twip(down.x()), twip(down.y()));
            for (const QPointF& p : moves) W().onMouseMoved(twip(p.x()), twip(p.y()));
            W().onMouseReleased(twip(up.x()), twip(up.y()));
        });
    }

    // In the lattice box from a vector tip (or elsewhere) to a lattice point (or
    // elsewhere); the entries are taken as doubles, as the negation of -2^31 leaves
    // 32 bits. In the pattern box from a reciprocal tip to anywhere, the centre included.
    bool LatticeDrag() {
        const model::SuperlatticeMatrix& m = S().matrix;
        const QPointF tip1 = LatticePoint(m.m11, m.m12), tip2 = LatticePoint(m.m21, m.m22);
        const auto point = [&](int n) { return LatticePoint(Uniform(-n, n), Uniform(-n, n)); };
        const QPointF down = Pick({tip1, tip1, tip2, tip2, point(3), LatticeBoxPoint()});
        QPointF up = Pick({point(4), point(4), tip2, LatticePoint(-double(m.m11), -double(m.m12)),
                           down, LatticeBoxPoint(), Anywhere()});
        if (Chance(0.3)) up += QPointF(Real(-40, 40), Real(-40, 40));
        return Drag("lattice drag", down, up);
    }
    bool PatternDrag() {
        const model::Pattern& p = Derived().pattern;
        const QPointF centre(model::kPatternBox.CentreX(), model::kPatternBox.CentreY());
        const auto at = [&](model::Vec2 v, double f) {
            return centre + QPointF(v.x, -v.y) * (f * p.scale);
        };
        const double jitter = Real(0.95, 1.05);
        const QPointF down = Pick({at(p.rb1, jitter), at(p.rb1, jitter), at(p.rb2, jitter),
                                   at(p.rb2, jitter), In(model::kPatternBox)});
        const QPointF up =
            Pick({centre, centre + QPointF(Real(-2, 2), Real(-2, 2)),
                  at(p.rb1, Pick({0.5, 2.0, -1.0, 1.0 / 3})),
                  at(p.rb2, Pick({0.5, 2.0, -1.0, 1.0})), Anywhere(), In(model::kPatternBox)});
        return Drag("pattern drag", down, up);
    }
    // A point on or beside a colour box of the legend, 4u = 180 twips wide and 5u = 225 high.
    QPointF LegendPoint() {
        const int boxes = std::max(1, int(Derived().pattern.subpatterns.size())) + 1;
        return {model::kLegendOrigin.x + (Uniform(1, boxes) - 1) * 180.0 +
                    (Chance(0.1) ? 0 : Real(0, 180)),
                model::kLegendOrigin.y + Real(-10, 235)};
    }

    bool OneAction(long& budget) {
        const int r = Uniform(0, 999);
        // The magnifications are unbounded: now and then a long run of one zoom button.
        if (r >= 500 && r < 505) {
            const char* zoom = Pick({"latticeZoomInButton", "latticeZoomOutButton",
                                     "patternZoomInButton", "patternZoomOutButton"});
            for (int n = Chance(0.5) ? Uniform(1, 20) : Uniform(50, 300); n > 0 && budget > 0;
                 --n, --budget)
                if (!Press(zoom)) return false;
            return true;
        }
        --budget;
        if (r < 260) return RandomTypeAction();
        if (r < 360) {
            const char* list = Pick({"basicGroupList", "superGroupList", "commonNameList"});
            const int row = Uniform(0, Find<QComboBox>(list)->count() - 1);
            return Act(Say("choose %1 row %2", QString(list), row), [&] { Choose(list, row); });
        }
        if (r < 500)
            return Press(
                Pick({"refreshButton", "latticeZoomInButton", "latticeZoomOutButton",
                      "patternZoomInButton", "patternZoomOutButton", "rotateMinus90Button",
                      "rotateRightButton", "rotateLeftButton", "reduceButton", "reduceButton",
                      "rotateZeroButton", "latticeZoomResetButton", "patternZoomResetButton",
                      "rotatePlus90Button", "defaultSizesButton"}));
        if (r < 590) return SavedSetAction();
        if (r < 670) {
            auto* box = Pick(Visible<QAbstractButton>({std::begin(kBoxes), std::end(kBoxes)}));
            return Act("click " + box->objectName(), [&] { box->click(); });
        }
        if (r < 690) return Act("click matrixLabel", [&] { MouseClick("matrixLabel"); });
        if (r < 750) return ScrollAction();
        if (r < 840) return LatticeDrag();
        if (r < 910) return PatternDrag();
        if (r >= 950 && r < 965) return Act("activate window", [&] { W().onActivated(); });
        if (r >= 965 && r < 985) {
            QWidget* w = Pick(Visible(kFocusTargets));
            return Act("focus " + w->objectName(), [&] { w->setFocus(); });
        }
        const QPointF p = r < 950 ? LegendPoint() : Anywhere();  // a click
        return Drag("click", p, p, false);
    }

    std::mt19937 rng;
    std::array<model::SavedState, model::SavedStates::kCapacity> saved{};  // as they must be
    std::map<QLineEdit*, QString> typedText;
    std::deque<std::string> trail;  // the last actions, for a failure's report
    std::vector<QString> quotable;  // texts a "Wrong input" message may quote now
    bool alphaTyped = false;
    long actions = 0;
    double slowest = 0;  // ms, and the action that took it
    std::string slowestAction;
};

TEST_F(RobustnessTest, RandomUserActionsKeepTheWindowSound) {
    long budget = EnvNumber("QUORVEX_ROBUST_ACTIONS", kDefaultActions);
    while (budget > 0 && OneAction(budget)) {
    }
    std::printf("%ld actions, the slowest %.1f ms: %s\n", actions, slowest, slowestAction.c_str());
}

// Every text of the corpus in every field, on a lattice that shows all of them.
TEST_F(RobustnessTest, EveryNastyTextInEveryField) {
    ASSERT_TRUE(Act("choose the oblique p1", [&] { Choose("basicGroupList", 0); }));
    for (const char* name : kFields)
        for (const QString& text : NastyCorpus())
            ASSERT_TRUE(TypeAction(Find<QLineEdit>(name), text, 0));
}

}  // namespace
}  // namespace quorvex::testing
