// Long random sequences of user actions on the main window. After every action
// the window must still be sound: no action slower than a second, no "nan" or
// "inf" on display, the fields showing the values, the saved sets untouched
// except by "Save", and only the program's own messages.
//
// QUORVEX_ROBUST_ACTIONS sets the number of actions (default kDefaultActions),
// QUORVEX_ROBUST_SEED the seed (default kSeed), QUORVEX_ROBUST_SLOW_MS the time
// one action may take (default kSlowMs; the sanitizer build sets its own).
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>
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
        "", " ", "\t", "0", "-0", "00000", "1", "-1", "2", "3", "-2", "7", "1.5", "2.5", "-2.5",
        "0.5", "-0.5", "0.4999999999999999999", "1.0", "+1", " 1 ", "1,000", "1,00", "1.000,5",
        "1 000", "5", "4.9", "175", "175.0001", "-175", "-60", "90", "120", "180", "nan", "NaN",
        "-nan", "inf", "-inf", "Infinity", "INF", "1e400", "-1e400", "1e308",
        "1.7976931348623157e308", "1e300", "-1e300", "1e-300", "4.9e-324", "1e-320", "1e-400",
        "2.2250738585072014e-308", "1e20", "1e10", "1e9", "9.99e9", "&HFFFFFFFF", "&H7FFFFFFF",
        "&H80000000", "&hffff", "&HFFFFFFFFFFFFFFFFFFFFFFFF", "&H", "&O", "&O777",
        "&O37777777777", "&", "2147483647", "2147483648", "-2147483648", "-2147483649",
        "4294967296", "9223372036854775807", "9223372036854775808", "-9223372036854775809",
        "2147483647.5", "2147483646.5", "-2147483648.5", "abc", "x1", "1x", "2.5x", "e", "E5",
        "1e", "1e+", "1e-", "1e2147483648", "1e-2147483649", "1d2", "1D-2", ".", "..", "-", "+",
        "+-1", "--1", "0x10", "1.2.3", "1e5e5", ".5", "5.", "-.5", "1,5", "١٢", "１２", "\u22121",
        "½", "1\u00A0000", "\n5\n", QString(400, '9'), "1" + QString(400, '0'),
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

class RobustnessTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowActive();
        for (int i = 0; i < model::SavedStates::kCapacity; ++i)
            saved[i] = W().document().saved.At(i);
        helpFileMissing = !QFileInfo::exists(W().helpFilePath());
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
    std::vector<QLineEdit*> Fields() {
        std::vector<QLineEdit*> fields;
        for (const char* name : kFields) fields.push_back(Find<QLineEdit>(name));
        return fields;
    }

    // Empty when the window is sound; else what is wrong.
    std::string Unsound() {
        std::ostringstream out;
        for (const QWidget* w : W().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QString t = w->property("text").toString().toLower();
            if (t.contains("nan") || t.contains("inf"))
                out << w->objectName().toStdString() << " shows \"" << t.toStdString() << "\"; ";
        }
        // A matrix field shows its entry formatted, or the user's own text for
        // an entry that read as the value it already had.
        const Matrix m = Mat();
        for (int i = 0; i < 4; ++i) {
            QLineEdit* field = Find<QLineEdit>(kMatrixFields[i]);
            const QString text = field->text();
            if (text.isEmpty()) out << kMatrixFields[i] << " is empty; ";
            if (text.toStdString() == model::FormatNumber(m[i], "####0")) continue;
            if (typedText[field] != text || ReadMatrixText(text) != m[i])
                out << kMatrixFields[i] << " shows \"" << text.toStdString() << "\" for " << m[i]
                    << "; ";
        }
        // The lattice fields are rewritten after every confirmation.
        const std::tuple<const char*, double, const char*> lattice[] = {
            {"lengthAField", S().a, "###0.0000"},
            {"lengthBField", S().b, "###0.0000"},
            {"alphaField", S().alpha, "###0.0"}};
        for (const auto& [name, value, format] : lattice) {
            const QLineEdit* field = Find<QLineEdit>(name);
            if (field->isVisible() &&
                field->text().toStdString() != model::FormatNumber(value, format))
                out << name << " shows \"" << field->text().left(60).toStdString() << "\" for "
                    << value << "; ";
        }
        for (int i = 0; i < model::SavedStates::kCapacity; ++i)
            if (!(W().document().saved.At(i) == saved[i])) out << "saved set " << i << " changed; ";
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
        if (trail.size() > 20) trail.pop_front();
        const double start = ThreadMilliseconds();
        body();
        QCoreApplication::processEvents();  // the event loop between two user actions
        const double ms = ThreadMilliseconds() - start;
        // A value too small to show reads back as 0 when its field is left again.
        for (const QLineEdit* f : Fields()) quotable.push_back(f->text());
        std::string wrong = Unsound();
        static const long slowMs = EnvNumber("QUORVEX_ROBUST_SLOW_MS", kSlowMs);
        if (ms > static_cast<double>(slowMs)) wrong += "slow (" + std::to_string(ms) + " ms); ";
        if (wrong.empty()) return true;
        std::string recent;
        for (const auto& t : trail) recent += "  " + t + "\n";
        ADD_FAILURE() << "after " << trail.back() << ": " << wrong << "\nseed "
                      << EnvNumber("QUORVEX_ROBUST_SEED", kSeed) << ", recent actions:\n"
                      << recent;
        return false;
    }
    bool Press(const char* button) {
        QAbstractButton* b = Find<QAbstractButton>(button);
        return Act("click " + std::string(button) + " \"" + b->text().toStdString() + "\"",
                   [b] { b->click(); });
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

    // Clicks into a field, types (or keeps its text) and confirms: commit 0..5
    // with Enter, 6..7 by leaving the field, 8 both, 9 with the keypad's Enter.
    bool TypeAction(QLineEdit* field, const QString& text, int commit, bool keepText = false) {
        const std::string typed = keepText ? "<as is>" : text.left(40).toStdString();
        return Act("type " + field->objectName().toStdString() + " \"" + typed + "\" commit " +
                       std::to_string(commit),
                   [&] {
                       field->setFocus();
                       // Leaving the previous field may have moved the focus on (a
                       // message sends it to a matrix field): the keys go wherever it is.
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
                       if (commit >= 6 && commit <= 8)
                           Pick(Visible(kFocusTargets, target))->setFocus();
                   });
    }
    bool RandomTypeAction() {
        QLineEdit* field = Pick(Visible<QLineEdit>(kFields));
        const bool keepText = Chance(0.05);
        // Mostly small entries, so that the matrix describes a structure worth drawing.
        const bool matrix = field->objectName().startsWith("matrix");
        const QString text = matrix && Chance(0.5) ? QString::number(Uniform(-4, 6)) : RandomText();
        const int commit = Uniform(0, 9);
        return TypeAction(field, text, commit, keepText);
    }

    // "Save" with a drawing puts the current set in front. The press may first
    // end an entry (the button takes the focus), so the set is the one after
    // the click, which "Save" itself does not change.
    bool SavedSetAction() {
        const char* name =
            Pick({"saveButton", "saveButton", "loadButton", "loadButton", "clearButton"});
        const Qt::MouseButton button = Pick({Qt::LeftButton, Qt::RightButton, Qt::MiddleButton});
        return Act(std::string(name) + " mouse button " + std::to_string(button), [&] {
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
            for (int p : path) bar->setSliderPosition(p);  // moves the thumb: the preview
            bar->setSliderDown(false);                     // lets it go: the change
        });
    }

    QPointF Anywhere() {
        return {Real(-300, model::kClientWidthTwips + 300),
                Real(-300, model::kClientHeightTwips + 300)};
    }
    // In the lattice box, now and then on its left edge; in the pattern box.
    QPointF LatticeBoxPoint() {
        const model::Box& box = model::kLatticeBox;
        const double x = Chance(0.1) ? box.left : box.left + Real(0, box.width);
        return {x, box.top + Real(0, box.height)};
    }
    QPointF PatternBoxPoint() {
        const model::Box& box = model::kPatternBox;
        return {box.left + Real(0, box.width), box.top + Real(0, box.height)};
    }
    QPointF PatternPoint(model::Vec2 v, double f) {
        const double scale = Derived().pattern.scale;
        return {model::kPatternBox.CentreX() + f * scale * v.x,
                model::kPatternBox.CentreY() - f * scale * v.y};
    }

    // Presses, moves and releases at twip positions as the window receives them:
    // single precision, from positions that may lie far outside the window.
    bool Drag(const std::string& kind, const QPointF& down, const QPointF& up, bool move = true) {
        std::vector<QPointF> moves(move ? Uniform(0, 5) : 0);
        for (QPointF& p : moves) p = Pick({Anywhere(), LatticeBoxPoint(), PatternBoxPoint()});
        std::ostringstream d;
        d << kind << " down (" << down.x() << "," << down.y() << ") " << moves.size()
          << " moves, up (" << up.x() << "," << up.y() << ")";
        const auto twip = [](double v) {
            return std::isfinite(v) ? static_cast<float>(std::clamp(v, -1e7, 1e7)) : 0.0f;
        };
        return Act(d.str(), [&] {
            W().onMousePressed(twip(down.x()), twip(down.y()));
            for (const QPointF& p : moves) W().onMouseMoved(twip(p.x()), twip(p.y()));
            W().onMouseReleased(twip(up.x()), twip(up.y()));
        });
    }

    // From a vector tip (or elsewhere) to a lattice point (or elsewhere). The
    // entries are taken as doubles: the negation of -2^31 leaves 32 bits.
    bool LatticeDrag() {
        const double m11 = S().matrix.m11, m12 = S().matrix.m12;
        const QPointF tip1 = LatticePoint(m11, m12),
                      tip2 = LatticePoint(S().matrix.m21, S().matrix.m22);
        const QPointF down =
            Pick({tip1, tip1, tip2, tip2, LatticePoint(Uniform(-3, 3), Uniform(-3, 3)),
                  LatticeBoxPoint()});
        QPointF up = Pick({LatticePoint(Uniform(-4, 4), Uniform(-4, 4)),
                           LatticePoint(Uniform(-4, 4), Uniform(-4, 4)), tip2,
                           LatticePoint(-m11, -m12), down, LatticeBoxPoint(), Anywhere()});
        if (Chance(0.3)) up += QPointF(Real(-40, 40), Real(-40, 40));
        return Drag("lattice drag", down, up);
    }

    // A reciprocal tip to anywhere, the centre included.
    bool PatternDrag() {
        const model::Pattern& p = Derived().pattern;
        const double jitter = Real(0.95, 1.05);
        const QPointF tip1 = PatternPoint(p.rb1, jitter), tip2 = PatternPoint(p.rb2, jitter);
        const QPointF centre(model::kPatternBox.CentreX(), model::kPatternBox.CentreY());
        const QPointF down = Pick({tip1, tip1, tip2, tip2, PatternBoxPoint()});
        const QPointF up =
            Pick({centre, centre + QPointF(Real(-2, 2), Real(-2, 2)),
                  PatternPoint(p.rb1, Pick({0.5, 2.0, -1.0, 1.0 / 3})),
                  PatternPoint(p.rb2, Pick({0.5, 2.0, -1.0, 1.0})), Anywhere(), PatternBoxPoint()});
        return Drag("pattern drag", down, up);
    }

    // Clicks on the colour boxes of the legend, 4u = 180 twips wide and 5u = 225 high.
    bool LegendClick() {
        const int count = static_cast<int>(Derived().pattern.subpatterns.size());
        const int box = Uniform(1, std::max(1, count) + 1);
        const double x =
            model::kLegendOrigin.x + (box - 1) * 180.0 + (Chance(0.1) ? 0 : Real(0, 180));
        const double y = model::kLegendOrigin.y + Real(-10, 235);
        if (Chance(0.5)) return Drag("legend click", {x, y}, {x, y}, false);
        const QPoint p(int(x / model::kTwipsPerPixel), int(y / model::kTwipsPerPixel));
        return Act("legend mouse click at pixel (" + std::to_string(p.x()) + "," +
                       std::to_string(p.y()) + ")",
                   [&] {
                       QTest::mouseClick(&W(), Pick({Qt::LeftButton, Qt::RightButton}), {}, p);
                   });
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
            return Act("choose " + std::string(list) + " row " + std::to_string(row),
                       [&] { Choose(list, row); });
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
            QWidget* box = Pick(Visible({std::begin(kBoxes), std::end(kBoxes)}));
            return Press(box->objectName().toLatin1().constData());
        }
        if (r < 690) return Act("click matrixLabel", [&] { MouseClick("matrixLabel"); });
        if (r < 750) return ScrollAction();
        if (r < 840) return LatticeDrag();
        if (r < 910) return PatternDrag();
        if (r < 950) return LegendClick();
        if (r < 965) return Act("activate window", [&] { W().onActivated(); });
        if (r < 985) {
            QWidget* w = Pick(Visible(kFocusTargets));
            return Act("focus " + w->objectName().toStdString(), [&] { w->setFocus(); });
        }
        if (r < 998) {
            const QPointF p = Anywhere();
            return Drag("click", p, p, false);
        }
        return Act("help open and close", [&] {
            WindowTest::Click("helpButton");
            if (W().helpViewer()) W().helpViewer()->close();
            W().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&W()));
        });
    }

    std::mt19937 rng;
    std::array<model::SavedState, model::SavedStates::kCapacity> saved{};  // as they must be
    std::map<QLineEdit*, QString> typedText;
    std::deque<std::string> trail;  // the last actions, for a failure's report
    std::vector<QString> quotable;  // texts a "Wrong input" message may quote now
    bool alphaTyped = false;
    long actions = 0;
    bool helpFileMissing = false;
};

TEST_F(RobustnessTest, RandomUserActionsKeepTheWindowSound) {
    long budget = EnvNumber("QUORVEX_ROBUST_ACTIONS", kDefaultActions);
    while (budget > 0 && OneAction(budget)) {
    }
}

// Every text of the corpus in every field, on a lattice that shows all of them.
TEST_F(RobustnessTest, EveryNastyTextInEveryField) {
    ASSERT_TRUE(Act("choose the oblique p1", [&] { Choose("basicGroupList", 0); }));
    for (QLineEdit* field : Fields())
        for (const QString& text : NastyCorpus()) ASSERT_TRUE(TypeAction(field, text, 0));
}

}  // namespace
}  // namespace quorvex::testing
