// Long random sequences of user actions on the main window. After every action
// the window must still be sound: no crash, no action slower than a second, no
// "nan" or "inf" on display, the matrix fields showing the matrix, the saved
// sets untouched except by "Save", and only the program's own messages.
//
// QUORVEX_ROBUST_ACTIONS sets the number of actions (default kDefaultActions),
// QUORVEX_ROBUST_SEED the seed of the generator (default kSeed).
#include <QLocale>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#include "FormFixture.h"
#include "model/FieldReaders.h"
#include "model/Layout.h"

using namespace quorvex;
using namespace quorvex::testing;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kSeed = 0x51A7E5;
constexpr long kDefaultActions = 3000;
constexpr double kSlowMs = 1000;
// Zoomed out this far, a drawing holds at least 64 times the spots or points it
// holds at magnification 1. Drawing that many fast is still being worked on: a
// slow action at such a zoom is reported as known slow and the run zooms back
// to 1 (QUORVEX_ROBUST_STRICT=1 counts it as a failure).
constexpr double kKnownSlowZoom = 8;

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return (end && *end == '\0' && value > 0) ? value : fallback;
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
            "\u22121", "½", "1\u00A0000", "\n5\n",
        };
        // clang-format on
        c.push_back(QString(400, '9'));
        c.push_back("1" + QString(400, '0'));
        c.push_back("0." + QString(400, '0') + "1");
        c.push_back("-" + QString(330, '7') + ".5");
        c.push_back(QString(2000, 'a'));
        c.push_back("1e" + QString(40, '9'));
        c.push_back("1e-" + QString(40, '9'));
        c.push_back("&H" + QString(300, 'F'));
        c.push_back("&O" + QString(400, '7'));
        c.push_back(QString(1000, ' ') + "3");
        return c;
    }();
    return corpus;
}

// Aborts with the action under way once it has run for kHangSeconds: a hang
// would otherwise end only at the test runner's time-out, without a word.
class Watchdog {
  public:
    static constexpr int kHangSeconds = 60;
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Start(std::string what) {
        std::lock_guard<std::mutex> lock(mutex_);
        what_ = std::move(what);
        started_ = Clock::now();
        busy_ = true;
    }
    void Stop() {
        std::lock_guard<std::mutex> lock(mutex_);
        busy_ = false;
    }

  private:
    void Watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stop_) {
            wake_.wait_for(lock, std::chrono::seconds(1));
            if (busy_ && Clock::now() - started_ > std::chrono::seconds(kHangSeconds)) {
                std::fprintf(stderr, "action still running after %d s: %s\n", kHangSeconds,
                             what_.c_str());
                std::abort();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::string what_;
    Clock::time_point started_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;  // last: starts once the members above exist
};

struct KindStats {
    long count = 0;
    double maxMs = 0;
    std::string slowest;
};

class RobustnessTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        ShowActive();
        savedStore = M().StoreStack;
        helpFileMissing = !QFileInfo::exists(F().HelpFilePath());
        rng.seed(static_cast<std::uint32_t>(EnvNumber("QUORVEX_ROBUST_SEED", kSeed)));
        runStart = Clock::now();
    }

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    double Real(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
    template <typename T>
    T Pick(std::initializer_list<T> items) {
        return *(items.begin() + Uniform(0, static_cast<int>(items.size()) - 1));
    }

    // ---- Invariants -------------------------------------------------------------------------

    static bool ShowsNonNumber(const QString& text) {
        const QString t = text.toLower();
        return t.contains("nan") || t.contains("inf");
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
        const std::pair<const char*, QString> computed[] = {
            {"Label10", F().Label10->text()}, {"Label11", F().Label11->text()},
            {"Label15", F().Label15->text()}, {"Label16", F().Label16->text()},
            {"Label17", F().Label17->text()}, {"Label19", F().Label19->text()},
            {"Text1", F().Text1->text()},     {"Text2", F().Text2->text()},
            {"Text3", F().Text3->text()},     {"Text6", F().Text6->text()},
            {"Text7", F().Text7->text()},     {"Text8", F().Text8->text()},
            {"Text9", F().Text9->text()},     {"Command19", F().Command19->text()},
        };
        for (const auto& [name, text] : computed)
            if (ShowsNonNumber(text)) out << name << " shows \"" << text.toStdString() << "\"; ";

        // A matrix field shows its entry formatted, or the user's own text for
        // an entry that read as the value it already had.
        const std::pair<QLineEdit*, model::Long> matrix[] = {
            {F().Text6, M().M11}, {F().Text7, M().M21}, {F().Text8, M().M12}, {F().Text9, M().M22}};
        for (const auto& [field, value] : matrix) {
            const QString text = field->text();
            const QString expected = QString::fromStdString(model::FormatNumber(value, "####0"));
            if (text.isEmpty()) out << field->objectName().toStdString() << " is empty; ";
            if (text == expected) continue;
            const bool ownText =
                typedText.count(field) && typedText[field] == text && ReadMatrixText(text) == value;
            if (!ownText)
                out << field->objectName().toStdString() << " shows \"" << text.toStdString()
                    << "\" for " << value << "; ";
        }
        // The lattice fields are rewritten after every confirmation.
        const std::tuple<QLineEdit*, double, const char*> lattice[] = {
            {F().Text1, M().LatticeA, "###0.0000"},
            {F().Text2, M().LatticeB, "###0.0000"},
            {F().Text3, M().LatticeAlpha, "###0.0"}};
        for (const auto& [field, value, pattern] : lattice) {
            if (!field->isVisible()) continue;
            const std::string expected = model::FormatNumber(value, pattern);
            if (field->text().toStdString() != expected)
                out << field->objectName().toStdString() << " shows \""
                    << field->text().left(60).toStdString() << "\" for " << expected << "; ";
        }
        if (F().Combo1->currentIndex() != M().BasicGroup - 1)
            out << "Combo1 shows row " << F().Combo1->currentIndex() << "; ";
        if (F().Combo2->currentIndex() != M().SuperGroup - 1)
            out << "Combo2 shows row " << F().Combo2->currentIndex() << " for group "
                << M().SuperGroup << "; ";

        if (!(M().StoreStack == savedStore)) out << "a saved set changed; ";

        for (const std::string& message : messages) {
            ++messageCounts[message.substr(0,
                                           std::min(message.find_first_of(":\n"), message.size()))];
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
    bool Act(const std::string& kind, const std::string& detail,
             const std::function<void()>& body) {
        ++actions;
        quotable.clear();
        for (const QLineEdit* f :
             {F().Text1, F().Text2, F().Text3, F().Text6, F().Text7, F().Text8, F().Text9})
            quotable.push_back(f->text());
        alphaTyped = false;
        const std::string what = "#" + std::to_string(actions) + " " + kind + " " + detail;
        trail.push_back(what);
        if (trail.size() > 40) trail.pop_front();
        const double zoomBefore = std::max(M().LatMag, M().PatMag);
        const std::string before = StateLine();
        watchdog.Start(what + "\nbefore: " + before + "\nrecent actions:\n" + Trail());
        const auto start = Clock::now();
        body();
        QCoreApplication::processEvents();  // the event loop between two user actions
        // A value too small to show reads back as 0 when its field is left again.
        for (const QLineEdit* f :
             {F().Text1, F().Text2, F().Text3, F().Text6, F().Text7, F().Text8, F().Text9})
            quotable.push_back(f->text());
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        watchdog.Stop();
        KindStats& s = stats[kind];
        ++s.count;
        if (ms > s.maxMs) {
            s.maxMs = ms;
            s.slowest = what;
        }
        knownSlow = false;
        if (ms > kSlowMs && std::max({zoomBefore, M().LatMag, M().PatMag}) >= kKnownSlowZoom &&
            !EnvNumber("QUORVEX_ROBUST_STRICT", 0)) {
            knownSlow = true;
            knownSlowLog.push_back(what + " (" + std::to_string(static_cast<long>(ms)) + " ms)");
        } else if (ms > kSlowMs) {
            ++slowActions;
            ADD_FAILURE() << "slow action (" << ms << " ms): " << what << "\nbefore: " << before
                          << "\nafter:  " << StateLine() << "\nrecent actions:\n"
                          << Trail();
            if (slowActions >= 10) return false;
        }
        const std::string wrong = Unsound();
        if (wrong.empty()) return true;
        ADD_FAILURE() << "after " << what << ": " << wrong << "\nbefore: " << before
                      << "\nafter:  " << StateLine() << "\nrecent actions:\n"
                      << Trail();
        return false;
    }

    std::string Trail() const {
        std::string s;
        for (const auto& t : trail) s += "  " + t + "\n";
        return s;
    }

    std::string StateLine() {
        std::ostringstream out;
        out << "group " << M().BasicGroup << " a=" << M().LatticeA << " b=" << M().LatticeB
            << " alpha=" << M().LatticeAlpha << " M=(" << M().M11 << "," << M().M12 << ";"
            << M().M21 << "," << M().M22 << ") super " << M().SuperGroup << " LatMag=" << M().LatMag
            << " PatMag=" << M().PatMag << " rot=" << M().RotAngle << " dots=" << M().LatDotRadius
            << "/" << M().SpotRadius << " hold=" << M().MatrixHold << " valid=" << M().PatternValid
            << " boxes=" << F().Check1->isChecked() << F().Check2->isChecked()
            << F().Check3->isChecked() << F().Check4->isChecked() << F().Check5->isChecked();
        return out.str();
    }

    // ---- Actions ----------------------------------------------------------------------------

    std::vector<QLineEdit*> VisibleFields() {
        std::vector<QLineEdit*> fields;
        for (QLineEdit* f :
             {F().Text1, F().Text2, F().Text3, F().Text6, F().Text7, F().Text8, F().Text9})
            if (f->isVisible()) fields.push_back(f);
        return fields;
    }

    std::vector<QWidget*> FocusTargets() {
        std::vector<QWidget*> targets;
        for (QWidget* w : std::initializer_list<QWidget*>{
                 F().Text1, F().Text2, F().Text3, F().Text6, F().Text7, F().Text8, F().Text9,
                 F().Command1, F().Command10, F().Combo1, F().Check1, F().VScroll1})
            if (w->isVisible()) targets.push_back(w);
        return targets;
    }

    QString RandomText() {
        const auto& corpus = NastyCorpus();
        switch (Uniform(0, 8)) {
            case 0:
            case 1:
                return corpus[Uniform(0, static_cast<int>(corpus.size()) - 1)];
            case 2:
                return QString::number(Uniform(-3, 7));
            case 3: {
                std::uniform_int_distribution<long long> d(-2147483658LL, 2147483658LL);
                return QString::number(d(rng));
            }
            case 4:
                return QString::number(Real(-10, 10), 'f', Uniform(0, 6));
            case 5:
                return QString::number(Real(1, 10), 'f', 3) + "e" +
                       QString::number(Uniform(-330, 330));
            case 6:
                return QString::number(Real(-200, 200), 'f', 1);
            case 7:
                return QString::number(Uniform(-9, 9)) + ".5";
            default: {
                static const QString alphabet = "0123456789+-.,eEdD&HhOoF x\t";
                QString s;
                for (int n = Uniform(0, 12); n > 0; --n)
                    s += alphabet[Uniform(0, alphabet.size() - 1)];
                return s;
            }
        }
    }

    // The user's keys replace the text of a field.
    void TypeText(QLineEdit* field, const QString& text) {
        field->setText(text);
        typedText[field] = text;
        quotable.push_back(text);
        alphaTyped = alphaTyped || field == F().Text3;
    }

    // Clicks into a field, types and confirms with Enter, by leaving the field, or both.
    bool TypeAction() {
        const auto fields = VisibleFields();
        QLineEdit* field = fields[Uniform(0, static_cast<int>(fields.size()) - 1)];
        const bool keepText = Chance(0.05);
        const bool matrix = field != F().Text1 && field != F().Text2 && field != F().Text3;
        // Mostly small entries, so that the matrix describes a structure worth drawing.
        const QString text = matrix && Chance(0.5) ? QString::number(Uniform(-4, 6)) : RandomText();
        const int commit = Uniform(0, 9);  // 0..5 Enter, 6..7 leave, 8 both, 9 keypad Enter
        std::string detail = field->objectName().toStdString() + " \"" +
                             (keepText ? std::string("<as is>") : text.left(40).toStdString()) +
                             "\" commit " + std::to_string(commit);
        return Act("type", detail, [&] {
            field->setFocus();
            // Leaving the previous field may have moved the focus on (a message
            // sends it to Text6): the keys go wherever the focus is.
            auto* target = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            if (!target || target->window() != &F()) return;
            if (!keepText) TypeText(target, text);
            if (commit <= 5 || commit == 8) QTest::keyClick(target, Qt::Key_Return);
            if (commit == 9) QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
            if (commit == 6 || commit == 7 || commit == 8) {
                auto targets = FocusTargets();
                targets.erase(std::remove(targets.begin(), targets.end(), target), targets.end());
                targets[Uniform(0, static_cast<int>(targets.size()) - 1)]->setFocus();
            }
        });
    }

    bool ListAction() {
        QComboBox* list = Pick({F().Combo1, F().Combo2, F().Combo3});
        const int row = Uniform(0, list->count() - 1);
        return Act("choose", list->objectName().toStdString() + " row " + std::to_string(row),
                   [&] { Choose(list, row); });
    }

    bool ButtonAction() {
        QPushButton* b =
            Pick({F().Command1, F().Command3, F().Command4, F().Command5, F().Command6,
                  F().Command7, F().Command8, F().Command9, F().Command10, F().Command10,
                  F().Command12, F().Command13, F().Command14, F().Command15, F().Command17});
        return Act("button", b->objectName().toStdString() + " \"" + b->text().toStdString() + "\"",
                   [&] { b->click(); });
    }

    // The magnifications are unbounded: long runs of one zoom button.
    bool ZoomRun(long& budget) {
        QPushButton* b = Pick({F().Command3, F().Command4, F().Command5, F().Command6});
        const int n = static_cast<int>(
            std::min<long>(budget, Chance(0.5) ? Uniform(1, 20) : Uniform(50, 300)));
        const std::string name = b->objectName().toStdString() + " \"" + b->text().toStdString();
        for (int i = 0; i < n && !knownSlow; ++i, --budget)
            if (!Act("zoom", name + "\" " + std::to_string(i + 1) + "/" + std::to_string(n),
                     [&] { b->click(); }))
                return false;
        return true;
    }

    // After a known slow action the user zooms both boxes back to 1.
    bool ZoomBack() {
        return Act("button", "Command13 \"1\" after known slow", [&] { F().Command13->click(); }) &&
               Act("button", "Command14 \"1\" after known slow", [&] { F().Command14->click(); });
    }

    bool StoreAction() {
        QPushButton* b =
            Pick({F().Command18, F().Command18, F().Command19, F().Command19, F().Command20});
        const Qt::MouseButton button = Pick({Qt::LeftButton, Qt::RightButton, Qt::MiddleButton});
        return Act("store", b->objectName().toStdString() + " button " + std::to_string(button),
                   [&] {
                       const model::Long count = M().StoreCount;
                       QTest::mouseClick(b, button);
                       if (b == F().Command18) ExpectSave(count);
                   });
    }

    // "Save" with a drawing pushes the current set on the front of the ring. The
    // press may first end an entry (the button takes the focus), so the set is
    // the one after the click, which "Save" itself does not change.
    void ExpectSave(model::Long countBefore) {
        const model::Module1& m = M();
        if (!m.PatternValid) return;
        for (int p = std::min<int>(countBefore + 1, m.StoreCapacity); p >= 2; --p)
            savedStore[p] = savedStore[p - 1];
        savedStore[1] = model::StoredState{m.BasicGroup,   m.LatticeA,    m.LatticeB,
                                           m.LatticeAlpha, m.M11,         m.M22,
                                           m.M12,          m.M21,         m.CommonNameIndex,
                                           m.SuperGroup,   m.Constrained, m.IncludeDomains,
                                           m.PaintDomains, m.Include1x1,  m.IncludeBases,
                                           m.LatMag,       m.PatMag,      m.RotAngle,
                                           m.RotCos,       m.RotSin,      m.LatDotRadius,
                                           m.SpotRadius};
    }

    bool CheckAction() {
        std::vector<QCheckBox*> boxes;
        for (QCheckBox* c : {F().Check1, F().Check2, F().Check3, F().Check4, F().Check5})
            if (c->isVisible()) boxes.push_back(c);
        QCheckBox* box = boxes[Uniform(0, static_cast<int>(boxes.size()) - 1)];
        return Act("check", box->objectName().toStdString(), [&] { box->click(); });
    }

    bool ScrollAction() {
        QScrollBar* bar = Pick({F().VScroll1, F().VScroll2});
        const int how = Uniform(0, 2);
        const std::string name = bar->objectName().toStdString();
        if (how == 0) {
            const int value = Uniform(-20, 170);
            return Act("scroll", name + " set " + std::to_string(value),
                       [&] { bar->setValue(value); });
        }
        if (how == 1) {
            const auto action =
                Pick({QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                      QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub,
                      QAbstractSlider::SliderToMinimum, QAbstractSlider::SliderToMaximum});
            return Act("scroll", name + " step " + std::to_string(action),
                       [&] { bar->triggerAction(action); });
        }
        std::vector<int> path(Uniform(1, 6));
        for (int& p : path) p = Uniform(0, 150);
        return Act("scroll", name + " thumb to " + std::to_string(path.back()), [&] {
            bar->setSliderDown(true);
            for (int p : path) bar->setSliderPosition(p);  // moves the thumb: Scroll
            bar->setSliderDown(false);                     // lets it go: Change
        });
    }

    // A twip position as the window delivers it: single precision, from a
    // position that may lie far outside the window.
    static float Twip(double v) {
        if (!std::isfinite(v)) return 0;
        return static_cast<float>(std::clamp(v, -1e7, 1e7));
    }

    QPointF LatticePoint(double i, double j) {
        const model::Module1& m = M();
        return {(j * m.A2X + i * m.A1X) * m.LatScale + m.LatBoxCenterX,
                m.LatBoxCenterY - (i * m.A1Y + j * m.A2Y) * m.LatScale};
    }

    QPointF InBox(double left, double top, double width, double height) {
        return {left + Real(0, width), top + Real(0, height)};
    }

    QPointF AnywhereOnWindow() {
        return {Real(-300, model::ClientWidthTwips + 300),
                Real(-300, model::ClientHeightTwips + 300)};
    }

    QPointF LatBoxPoint() {
        const model::Module1& m = M();
        if (Chance(0.1)) return {m.LatBoxLeft, m.LatBoxTop + Real(0, m.LatBoxHeight)};  // edge
        return InBox(m.LatBoxLeft, m.LatBoxTop, m.LatBoxWidth, m.LatBoxHeight);
    }

    QPointF PatBoxPoint() {
        const model::Module1& m = M();
        return InBox(m.PatBoxLeft, m.PatBoxTop, m.PatBoxWidth, m.PatBoxHeight);
    }

    bool Drag(const std::string& kind, const QPointF& down, const std::vector<QPointF>& moves,
              const QPointF& up) {
        std::ostringstream d;
        d << "down (" << down.x() << "," << down.y() << ") " << moves.size() << " moves, up ("
          << up.x() << "," << up.y() << ")";
        return Act(kind, d.str(), [&] {
            F().Form_MouseDown(Twip(down.x()), Twip(down.y()));
            for (const QPointF& p : moves) F().Form_MouseMove(Twip(p.x()), Twip(p.y()));
            F().Form_MouseUp(Twip(up.x()), Twip(up.y()));
        });
    }

    std::vector<QPointF> Moves() {
        std::vector<QPointF> moves(Uniform(0, 5));
        for (QPointF& p : moves)
            p = Pick({0, 1, 2}) == 0 ? AnywhereOnWindow()
                                     : (Chance(0.5) ? LatBoxPoint() : PatBoxPoint());
        return moves;
    }

    // Drags in the lattice box: from a vector tip (or elsewhere) to a lattice point (or elsewhere).
    bool LatticeDrag() {
        const model::Module1& m = M();
        const int i = Uniform(-3, 3), j = Uniform(-3, 3);
        QPointF down;
        switch (Uniform(0, 5)) {
            case 0:
            case 1:
                down = LatticePoint(m.M11, m.M12);
                break;
            case 2:
            case 3:
                down = LatticePoint(m.M21, m.M22);
                break;
            case 4:
                down = LatticePoint(i, j);
                break;
            default:
                down = LatBoxPoint();
                break;
        }
        const auto moves = Moves();
        QPointF up;
        switch (Uniform(0, 6)) {
            case 0:
            case 1:
            case 2:
                up = LatticePoint(Uniform(-4, 4), Uniform(-4, 4));
                break;
            case 3:
                up = Chance(0.5) ? LatticePoint(m.M21, m.M22) : LatticePoint(-m.M11, -m.M12);
                break;
            case 4:
                up = down;
                break;
            case 5:
                up = LatBoxPoint();
                break;
            default:
                up = AnywhereOnWindow();
                break;
        }
        if (Chance(0.3)) up += QPointF(Real(-40, 40), Real(-40, 40));
        return Drag("lattice drag", down, moves, up);
    }

    // Drags in the pattern box: a reciprocal tip to anywhere, the centre included.
    bool PatternDrag() {
        const model::Module1& m = M();
        auto tip = [&](double x, double y, double f) {
            return QPointF(m.PatBoxCenterX + f * m.PatScale * x,
                           m.PatBoxCenterY - f * m.PatScale * y);
        };
        const double jitter = Real(0.95, 1.05);
        QPointF down;
        switch (Uniform(0, 4)) {
            case 0:
            case 1:
                down = tip(m.RB1X, m.RB1Y, jitter);
                break;
            case 2:
            case 3:
                down = tip(m.RB2X, m.RB2Y, jitter);
                break;
            default:
                down = PatBoxPoint();
                break;
        }
        const auto moves = Moves();
        QPointF up;
        switch (Uniform(0, 7)) {
            case 0:
                up = {m.PatBoxCenterX, m.PatBoxCenterY};
                break;
            case 1:
                up = QPointF(m.PatBoxCenterX, m.PatBoxCenterY) + QPointF(Real(-2, 2), Real(-2, 2));
                break;
            case 2:
                up = tip(m.RB1X, m.RB1Y, Pick({0.5, 2.0, -1.0, 1.0 / 3}));
                break;
            case 3:
                up = tip(m.RB2X, m.RB2Y, Pick({0.5, 2.0, -1.0, 1.0}));
                break;
            case 4:
                up = AnywhereOnWindow();
                break;
            default:
                up = PatBoxPoint();
                break;
        }
        return Drag("pattern drag", down, moves, up);
    }

    // Clicks on the colour boxes of the legend, 4u = 180 twips wide and 5u = 225 high.
    bool LegendClick() {
        const auto& anchor = model::Line14;
        const int box = Uniform(1, std::max<int>(1, M().SubpatternCount) + 1);
        const double x = Chance(0.1) ? anchor.X1 + (box - 1) * 180.0
                                     : anchor.X1 + (box - 1) * 180 + Real(0, 180);
        const double y = anchor.Y1 + Real(-10, 235);
        const bool real = Chance(0.5);
        std::ostringstream d;
        d << "box " << box << " at (" << x << "," << y << ")" << (real ? " by mouse" : "");
        return Act("legend", d.str(), [&] {
            if (real) {
                const QPoint p(int(x / model::TwipsPerPixel), int(y / model::TwipsPerPixel));
                QTest::mouseClick(&F(), Pick({Qt::LeftButton, Qt::RightButton}), {}, p);
            } else {
                F().Form_MouseDown(Twip(x), Twip(y));
                F().Form_MouseUp(Twip(x), Twip(y));
            }
        });
    }

    bool HelpAction() {
        return Act("help", "open and close", [&] {
            F().Command11->click();
            if (F().Help()) F().Help()->close();
            F().activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&F()));
        });
    }

    bool OneAction(long& budget) {
        const int r = Uniform(0, 999);
        --budget;
        if (r < 260) return TypeAction();
        if (r < 360) return ListAction();
        if (r < 500) return ButtonAction();
        if (r < 505) {
            ++budget;
            return ZoomRun(budget);
        }
        if (r < 590) return StoreAction();
        if (r < 670) return CheckAction();
        if (r < 690)
            return Act("label", "Label9 \"Matrix\"",
                       [&] { QTest::mouseClick(F().Label9, Qt::LeftButton); });
        if (r < 750) return ScrollAction();
        if (r < 840) return LatticeDrag();
        if (r < 910) return PatternDrag();
        if (r < 950) return LegendClick();
        if (r < 965) return Act("activate", "window", [&] { F().Form_Activate(); });
        if (r < 985) {
            const auto targets = FocusTargets();
            QWidget* w = targets[Uniform(0, static_cast<int>(targets.size()) - 1)];
            return Act("focus", w->objectName().toStdString(), [&] { w->setFocus(); });
        }
        if (r < 998) {
            const QPointF p = AnywhereOnWindow();
            return Drag("click", p, {}, p);
        }
        return HelpAction();
    }

    void Report() {
        const double seconds = std::chrono::duration<double>(Clock::now() - runStart).count();
        std::cout << "[ robust   ] " << actions << " actions in " << seconds << " s, seed "
                  << EnvNumber("QUORVEX_ROBUST_SEED", kSeed) << "\n";
        for (const auto& [kind, s] : stats)
            std::cout << "[ robust   ]   " << kind << ": " << s.count << ", slowest " << s.maxMs
                      << " ms (" << s.slowest << ")\n";
        std::cout << "[ robust   ]   known slow (zoomed out to " << kKnownSlowZoom
                  << " or more): " << knownSlowLog.size() << "\n";
        for (const auto& k : knownSlowLog) std::cout << "[ robust   ]     " << k << "\n";
        for (const auto& [text, n] : messageCounts)
            std::cout << "[ robust   ]   message \""
                      << QString::fromStdString(text).replace('\n', ' ').toStdString()
                      << "\": " << n << "\n";
    }

    std::mt19937 rng;
    Watchdog watchdog;
    Clock::time_point runStart;
    std::array<model::StoredState, 11> savedStore{};
    std::map<QLineEdit*, QString> typedText;
    std::map<std::string, KindStats> stats;
    std::map<std::string, long> messageCounts;
    std::deque<std::string> trail;
    std::vector<QString> quotable;  // texts a "Wrong input" message may quote now
    bool alphaTyped = false;
    std::vector<std::string> knownSlowLog;
    bool knownSlow = false;  // the last action was slow at a known slow zoom
    long actions = 0;
    int slowActions = 0;
    bool helpFileMissing = false;
};

}  // namespace

TEST_F(RobustnessTest, RandomUserActionsKeepTheWindowSound) {
    long budget = EnvNumber("QUORVEX_ROBUST_ACTIONS", kDefaultActions);
    while (budget > 0) {
        if (!OneAction(budget)) break;
        if (knownSlow && !ZoomBack()) break;
    }
    Report();
}

// Every text of the corpus in every field, on a lattice that shows all of them.
TEST_F(RobustnessTest, EveryNastyTextInEveryField) {
    ASSERT_TRUE(Act("choose", "Combo1 row 0", [&] { Choose(F().Combo1, 0); }));
    for (QLineEdit* field : VisibleFields()) {
        for (const QString& text : NastyCorpus()) {
            const bool ok =
                Act("type",
                    field->objectName().toStdString() + " \"" + text.left(40).toStdString() + "\"",
                    [&] {
                        field->setFocus();
                        TypeText(field, text);
                        QTest::keyClick(field, Qt::Key_Return);
                    });
            if (!ok) return;
        }
    }
    Report();
}

// Hundreds of zoom clicks in a row on both boxes, out and in, for a few
// structures with their domains painted.
TEST_F(RobustnessTest, LongZoomRunsStayFast) {
    struct Structure {
        int groupRow, nameRow;
    };
    // p6mm with (r7xr7)R19.1 and its domains; p1 with (5r3x2)rect on an oblique cell.
    for (const Structure s : {Structure{16, 21}, Structure{0, 24}}) {
        ASSERT_TRUE(Act(
            "choose",
            "group row " + std::to_string(s.groupRow) + ", name row " + std::to_string(s.nameRow),
            [&] {
                Choose(F().Combo1, s.groupRow);
                Choose(F().Combo3, s.nameRow);
                if (!F().Check3->isChecked()) F().Check3->click();
                if (!F().Check2->isChecked()) F().Check2->click();
            }));
        for (QPushButton* zoom : {F().Command4, F().Command3, F().Command6, F().Command5}) {
            for (int i = 0; i < 300 && !knownSlow; ++i)
                ASSERT_TRUE(Act("zoom",
                                zoom->objectName().toStdString() + " " + std::to_string(i + 1),
                                [&] { zoom->click(); }));
            ASSERT_TRUE(ZoomBack());
        }
    }
    Report();
}

// The pattern-only redraws (spot size, pattern zoom, domain boxes) leave the box of a
// superlattice refused as too large blank: drawing it would take minutes.
TEST_F(RobustnessTest, RefusedSuperlatticeStaysUndrawn) {
    ASSERT_TRUE(Act("type", "Text6 \"4008\"", [&] {
        F().Text6->setFocus();
        TypeText(F().Text6, "4008");
        QTest::keyClick(F().Text6, Qt::Key_Return);
    }));
    ASSERT_FALSE(M().PatternValid);
    const QRect box(304, 312, 233, 233);  // the pattern box in pixels
    const QImage blank = F().Canvas().Image().copy(box);
    const int runs = F().PatternRuns();
    ASSERT_TRUE(Act("scroll", "VScroll2 set 20", [&] { F().VScroll2->setValue(20); }));
    ASSERT_TRUE(Act("button", "Command6 \"mag -\"", [&] { F().Command6->click(); }));
    ASSERT_TRUE(Act("check", "Check3", [&] { F().Check3->click(); }));
    ASSERT_TRUE(Act("check", "Check2", [&] { F().Check2->click(); }));
    EXPECT_EQ(F().PatternRuns(), runs);
    EXPECT_TRUE(F().Canvas().Image().copy(box) == blank);
}
