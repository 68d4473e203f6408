#include "model/Analysis.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "model/FieldReaders.h"

namespace quorvex::model {

namespace {

bool IsGroup(Long g) {
    return g >= 1 && g <= GroupCount;
}

std::string TrimRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// The angle in degrees from its cosine, by the arc tangent form of the arc
// cosine. At |cos| = 1 the square root would see a zero or (after rounding) a
// negative residue, so the two ends are given directly.
double PhiDegrees(double cosPhi, double degToRad) {
    const double c = std::clamp(cosPhi, -1.0, 1.0);
    const double residue = 1.0 - c * c;
    if (residue <= 0.0) return c > 0.0 ? 0.0 : 180.0;
    return (std::atan(-c / std::sqrt(residue)) + 2.0 * std::atan(1.0)) / degToRad;
}

double Norm2(Vec2 v) {
    return v.x * v.x + v.y * v.y;
}

// The groups a superstructure may have on top of the basic group. Notation of
// the rules: Allow(g) allows g and keeps its axis swap ("g"), AllowSwap(g, true)
// is "g+", AllowSwap(g, false) is "g-". Actions run in the order written, so a
// later swap setting overrides an earlier one; a return is a "stop".
class ConstraintRules {
  public:
    explicit ConstraintRules(Module1& state) : state_(state), tol_(state.Tolerance) {
        a1 = {state.A1X, state.A1Y};
        a2 = {state.A2X, state.A2Y};
        const Vec2 b1{state.B1X, state.B1Y}, b2{state.B2X, state.B2Y};
        if (state.SuperLatticeType == 3) {
            // The edges of the conventional rectangle of a centred cell.
            u = {b1.x + b2.x, b1.y + b2.y};
            w = {b2.x - b1.x, b2.y - b1.y};
        } else {
            u = b1;
            w = b2;
        }
        s = {a1.x + a2.x, a1.y + a2.y};
        m = {a1.x - a2.x, a1.y - a2.y};
        uPlusW = {u.x + w.x, u.y + w.y};
        uMinusW = {u.x - w.x, u.y - w.y};
        const Long type = state.SuperLatticeType;
        R = type == 2 || type == 4;
        C = type == 3;
        S = type == 4;
        H = type == 5;
        primRect = type == 2;
    }

    void Apply(Long basicGroup) {
        switch (basicGroup) {
            case 1:
                P1();
                break;
            case 2:
                P2();
                break;
            case 3:
                Pm();
                break;
            case 4:
                Pg();
                break;
            case 5:
                Cm();
                break;
            case 6:
                P2mm();
                break;
            case 7:
                P2mg();
                break;
            case 8:
                P2gg();
                break;
            case 9:
                C2mm();
                break;
            case 10:
                P4();
                break;
            case 11:
                P4mm();
                break;
            case 12:
                P4gm();
                break;
            case 13:
                P3();
                break;
            case 14:
                P3m1();
                break;
            case 15:
                P31m();
                break;
            case 16:
                P6();
                break;
            case 17:
                P6mm();
                break;
            default:
                break;
        }
    }

  private:
    void Allow(int g) { state_.AllowedSuperGroup[g] = true; }
    void AllowSwap(int g, bool swap) {
        state_.AllowedSuperGroup[g] = true;
        state_.GroupAxisSwap[g] = swap;
    }

    // Products in squared length units, compared without normalisation.
    bool Par(Vec2 v, Vec2 d) const { return std::abs(d.y * v.x - d.x * v.y) < tol_; }
    bool Perp(Vec2 v, Vec2 d) const { return std::abs(d.x * v.x + d.y * v.y) < tol_; }
    // floor on doubles: h may be huge, infinite or NaN (a zero-length d), and
    // none of these may reach an integer conversion.
    bool NearInteger(double h) const {
        return std::isfinite(h) && std::abs(std::floor(h + 0.5) - h) < tol_;
    }
    double HalfRatio(Vec2 v, Vec2 d) const { return std::sqrt(Norm2(v) / Norm2(d)) * 0.5; }
    bool Even(Vec2 v, Vec2 d) const { return NearInteger(HalfRatio(v, d)); }
    bool Odd(Vec2 v, Vec2 d) const { return NearInteger(HalfRatio(v, d) + 0.5); }
    bool AnyPar(Vec2 v) const { return Par(v, a1) || Par(v, a2) || Par(v, s); }
    bool AnyPerp(Vec2 v) const { return Perp(v, a1) || Perp(v, a2) || Perp(v, s); }

    void P1() {}

    void P2() { Allow(2); }

    void Pm() {
        if (R) {
            if (Par(u, a1)) {
                AllowSwap(3, false);
                if (Even(u, a1)) AllowSwap(4, false);
            } else if (Perp(u, a1)) {
                AllowSwap(3, true);
                if (Even(w, a1)) AllowSwap(4, true);
            }
        }
        if (C) {
            if (Par(u, a1)) {
                AllowSwap(5, false);
            } else if (Perp(u, a1)) {
                AllowSwap(5, true);
            }
        }
        if (S) {
            if (Par(uPlusW, a1)) {
                AllowSwap(5, false);
                return;
            } else if (Par(uMinusW, a1)) {
                AllowSwap(5, true);
            }
        }
    }

    void Pg() {
        if (!R) return;
        if (Par(u, a1)) {
            if (Odd(u, a1)) AllowSwap(4, false);
        } else if (Perp(u, a1)) {
            if (Odd(w, a1)) AllowSwap(4, true);
        }
    }

    void Cm() {
        if (R) {
            if (Par(u, s)) {
                AllowSwap(3, false);
                AllowSwap(4, false);
            } else if (Perp(u, s)) {
                AllowSwap(3, true);
                AllowSwap(4, true);
            }
        }
        if (C) {
            if (Par(u, s)) {
                AllowSwap(5, false);
            } else if (Perp(u, s)) {
                AllowSwap(5, true);
            }
        }
        if (S) {
            if (Par(uPlusW, s)) {
                AllowSwap(5, false);
                return;
            } else if (Par(uMinusW, s)) {
                AllowSwap(5, true);
            }
        }
    }

    void P2mm() {
        Allow(2);
        if (R && Par(u, a1)) {
            AllowSwap(3, false);
            AllowSwap(18, true);
            Allow(6);
            const bool e1 = Even(u, a1), e2 = Even(w, a2);
            if (e1) {
                AllowSwap(4, false);
                if (e2) {
                    Allow(8);
                    AllowSwap(19, true);
                }
            } else if (e2) {
                AllowSwap(4, true);
            }
            if (e2) {
                AllowSwap(7, false);
                if (e1) AllowSwap(21, true);
            } else if (e1) {
                AllowSwap(7, true);
            }
        } else if (R && Perp(u, a1)) {
            AllowSwap(3, true);
            AllowSwap(18, false);
            Allow(6);
            const bool e1 = Even(u, a2), e2 = Even(w, a1);
            if (e2) {
                AllowSwap(4, true);
                if (e1) {
                    Allow(8);
                    AllowSwap(19, false);
                }
            } else if (e1) {
                AllowSwap(4, false);
            }
            if (e1) {
                AllowSwap(7, true);
                if (e2) AllowSwap(21, false);
            } else if (e2) {
                AllowSwap(7, false);
            }
        }
        if (C) {
            if (Par(u, a1)) {
                AllowSwap(5, false);
                AllowSwap(9, false);
            } else if (Perp(u, a1)) {
                AllowSwap(5, true);
                AllowSwap(9, true);
            }
        }
        if (S) {
            if (Par(uPlusW, a1)) {
                AllowSwap(5, false);
                AllowSwap(9, false);
                return;
            } else if (Perp(uPlusW, a1)) {
                AllowSwap(5, true);
                AllowSwap(9, true);
            }
        }
    }

    void P2mg() {
        Allow(2);
        if (R && Par(u, a1)) {
            AllowSwap(3, false);
            const bool e1 = Even(u, a1), o2 = Odd(w, a2);
            if (e1) {
                AllowSwap(4, false);
                if (o2) {
                    Allow(8);
                    AllowSwap(19, true);
                }
            } else if (o2) {
                AllowSwap(4, true);
            }
            if (o2) AllowSwap(7, false);
        } else if (R && Perp(u, a1)) {
            AllowSwap(3, true);
            const bool o1 = Odd(u, a2), e2 = Even(w, a1);
            if (o1) {
                AllowSwap(4, false);
                AllowSwap(7, true);
                if (e2) {
                    Allow(8);
                    AllowSwap(19, true);
                }
            } else if (e2) {
                AllowSwap(4, true);
            }
        }
        if (C) {
            if (Par(u, a1)) {
                AllowSwap(5, false);
            } else if (Perp(u, a1)) {
                AllowSwap(5, true);
            }
        }
        if (S) {
            if (Par(uPlusW, a1)) {
                AllowSwap(5, false);
                return;
            } else if (Par(uMinusW, a1)) {
                AllowSwap(5, true);
            }
        }
    }

    void P2gg() {
        Allow(2);
        if (!R) return;
        bool o1 = false, o2 = false;
        if (Par(u, a1)) {
            o1 = Odd(u, a1);
            o2 = Odd(w, a2);
        } else if (Perp(u, a1)) {
            o1 = Odd(u, a2);
            o2 = Odd(w, a1);
        } else {
            return;
        }
        if (o1) {
            AllowSwap(4, false);
            if (o2) {
                Allow(8);
                AllowSwap(19, true);
            }
        } else if (o2) {
            AllowSwap(4, true);
        }
    }

    void C2mm() {
        Allow(2);
        if (R) {
            if (Par(u, s)) {
                AllowSwap(3, false);
                AllowSwap(18, true);
                AllowSwap(4, false);
                AllowSwap(19, true);
                Allow(6);
                AllowSwap(7, false);
                AllowSwap(21, true);
                Allow(8);
            } else if (Perp(u, s)) {
                AllowSwap(3, true);
                AllowSwap(18, false);
                AllowSwap(4, true);
                AllowSwap(19, false);
                Allow(6);
                AllowSwap(7, true);
                AllowSwap(21, false);
                Allow(8);
            }
        }
        if (C && (Par(u, s) || Perp(u, s))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
        if (S && (Par(uPlusW, s) || Perp(uPlusW, s))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
    }

    void P4() {
        Allow(2);
        if (S) Allow(10);
    }

    void P4mm() {
        Allow(2);
        if (S) Allow(10);
        if (R && (Par(u, a1) || Perp(u, a1))) {
            const bool along = Par(u, a1);
            const bool e1 = along ? Even(u, a1) : Even(u, a2);
            const bool e2 = along ? Even(w, a2) : Even(w, a1);
            AllowSwap(3, false);
            AllowSwap(18, true);
            if (S) Allow(11);
            if (e1) {
                AllowSwap(4, false);
                AllowSwap(7, true);
                if (e2) {
                    Allow(8);
                    AllowSwap(19, true);
                    AllowSwap(21, true);
                    if (S) Allow(12);
                }
            } else if (e2) {
                AllowSwap(7, false);
                AllowSwap(4, true);
            }
            Allow(6);
            if (e2) AllowSwap(7, false);
        } else if (R && (Par(u, s) || Par(u, m))) {
            AllowSwap(3, false);
            AllowSwap(18, true);
            AllowSwap(4, false);
            AllowSwap(19, true);
            Allow(6);
            AllowSwap(7, false);
            AllowSwap(21, true);
            Allow(8);
            if (S) {
                Allow(11);
                Allow(12);
            }
        }
        if (C && (Par(u, a1) || Perp(u, a1) || Par(u, s) || Par(u, m))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
        if (S && (Par(uPlusW, a1) || Par(uMinusW, a1) || Par(uPlusW, s) || Par(uMinusW, s))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
    }

    void P4gm() {
        Allow(2);
        if (S) Allow(10);
        if (R && (Par(u, a1) || Perp(u, a1))) {
            const bool along = Par(u, a1);
            const bool o1 = along ? Odd(u, a1) : Odd(u, a2);
            const bool o2 = along ? Odd(w, a2) : Odd(w, a1);
            if (o1) {
                AllowSwap(4, false);
                if (o2) {
                    Allow(8);
                    AllowSwap(19, true);
                    if (S) Allow(12);
                }
            } else if (o2) {
                AllowSwap(4, true);
            }
        } else if (R && (Par(u, s) || Par(u, m))) {
            AllowSwap(3, false);
            AllowSwap(18, true);
            AllowSwap(4, false);
            AllowSwap(19, true);
            Allow(6);
            AllowSwap(7, false);
            AllowSwap(21, true);
            Allow(8);
        }
        if (C && (Par(u, s) || Par(u, m))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
        if (S && (Par(uPlusW, s) || Par(uMinusW, s))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
    }

    void P3() {
        if (H) Allow(13);
    }

    void P3m1() {
        if (primRect) {
            if (AnyPar(u)) {
                AllowSwap(3, true);
                AllowSwap(4, true);
            } else if (AnyPerp(u)) {
                AllowSwap(3, false);
                AllowSwap(4, false);
            }
        }
        if (C) {
            if (AnyPerp(u)) {
                AllowSwap(5, false);
            } else if (AnyPar(u)) {
                AllowSwap(5, true);
            }
        }
        if (H) {
            Allow(13);
            if (AnyPerp(uPlusW)) AllowSwap(5, false);
            if (AnyPar(u)) Allow(14);
            if (AnyPerp(u) || AnyPerp(w)) Allow(15);
        }
    }

    void P31m() {
        if (primRect) {
            if (AnyPar(u)) {
                AllowSwap(3, false);
                AllowSwap(4, false);
            } else if (AnyPerp(u)) {
                AllowSwap(3, true);
                AllowSwap(4, true);
            }
        }
        if (C) {
            if (AnyPar(u)) {
                AllowSwap(5, false);
            } else if (AnyPerp(u)) {
                AllowSwap(5, true);
            }
        }
        if (H) {
            Allow(13);
            if (AnyPar(uPlusW)) {
                AllowSwap(5, false);
            } else if (AnyPerp(uPlusW)) {
                AllowSwap(5, true);
            }
            if (AnyPar(u)) Allow(15);
            if (AnyPerp(u) || AnyPerp(w)) Allow(14);
        }
    }

    void P6() {
        Allow(2);
        if (H) {
            Allow(13);
            Allow(16);
        }
    }

    void P6mm() {
        Allow(2);
        if (primRect) {
            if (AnyPar(u)) {
                AllowSwap(3, false);
                AllowSwap(18, true);
                AllowSwap(4, false);
                AllowSwap(19, true);
                Allow(6);
                AllowSwap(7, false);
                AllowSwap(21, true);
                Allow(8);
            } else if (AnyPerp(u)) {
                AllowSwap(3, true);
                AllowSwap(18, false);
                AllowSwap(4, true);
                AllowSwap(19, false);
                Allow(6);
                AllowSwap(7, true);
                AllowSwap(21, false);
                Allow(8);
            }
        }
        if (C && (AnyPar(u) || AnyPerp(u))) {
            AllowSwap(5, false);
            AllowSwap(20, true);
            Allow(9);
        }
        if (H) {
            Allow(13);
            Allow(16);
            if (AnyPar(uPlusW) || AnyPerp(uPlusW)) {
                AllowSwap(5, false);
                AllowSwap(20, true);
                Allow(9);
            }
            if (AnyPar(u) || AnyPerp(u)) {
                Allow(14);
                Allow(15);
                Allow(17);
            }
        }
    }

    Module1& state_;
    double tol_;
    Vec2 a1, a2, s, m, u, w, uPlusW, uMinusW;
    bool R = false, C = false, S = false, H = false, primRect = false;
};

}  // namespace

Long ClassifyCell(double P, double Q, double absCos, double tolerance, Long* centredAxis) {
    if (centredAxis != nullptr) *centredAxis = 0;
    // A cell whose lengths or angle are not numbers has no symmetry to find.
    if (!std::isfinite(P) || !std::isfinite(Q) || !std::isfinite(absCos)) return 1;
    if (std::abs(P - Q) < tolerance) {
        if (absCos < tolerance) return 4;
        if (std::abs(absCos - 0.5) < tolerance) return 5;
        return 3;  // rhombic: centred rectangular without a centring axis
    }
    if (absCos < tolerance) return 2;
    if (std::abs(std::sqrt(P / Q) * absCos - 0.5) < tolerance) {
        if (centredAxis != nullptr) *centredAxis = 1;
        return 3;
    }
    if (std::abs(std::sqrt(Q / P) * absCos - 0.5) < tolerance) {
        if (centredAxis != nullptr) *centredAxis = 2;
        return 3;
    }
    return 1;
}

HigherSymmetryHint CheckHigherSymmetry(const Module1& m) {
    const double a2 = m.LatticeA * m.LatticeA, b2 = m.LatticeB * m.LatticeB;
    double P = a2, Q = b2, cosPhi = 0.0;
    if (m.BasicGroup == 5 || m.BasicGroup == 9) {
        // a and b are the sides of the centred rectangle; the primitive cell is
        // spanned by its half-diagonals.
        P = Q = (a2 + b2) / 4;
        cosPhi = (a2 - b2) * 0.25 / P;
    } else {
        cosPhi = std::cos(m.LatticeAlpha * m.DegToRad);
    }
    const Long type = ClassifyCell(P, Q, std::abs(cosPhi), m.Tolerance, nullptr);
    HigherSymmetryHint hint;
    if (IsGroup(m.BasicGroup) && type > m.GroupLatticeType[m.BasicGroup]) {
        hint.visible = true;
        hint.caption = "Higher symmetry (" + TrimRight(m.LatticeTypeName[type]) + ") possible";
    }
    return hint;
}

std::string AnalyzeSuperlattice(Module1& m, Long& latticeType) {
    const double P = m.B1X * m.B1X + m.B1Y * m.B1Y;
    const double Q = m.B2X * m.B2X + m.B2Y * m.B2Y;
    const double dot = m.B1X * m.B2X + m.B1Y * m.B2Y;
    const double norm = std::sqrt(P * Q);
    m.SuperRightHanded = m.B2Y * m.B1X - m.B2X * m.B1Y >= 0;
    m.CentredAxis = 0;
    double phi = 0.0;
    if (norm > 0.0 && std::isfinite(norm) && std::isfinite(dot)) {
        // Rounding can push the quotient just past +-1.
        const double cosPhi = std::clamp(dot / norm, -1.0, 1.0);
        phi = PhiDegrees(cosPhi, m.DegToRad);
        latticeType = ClassifyCell(P, Q, std::abs(cosPhi), m.Tolerance, &m.CentredAxis);
    } else {
        // A zero-length (or unmeasurable) vector has no angle: call the cell oblique.
        latticeType = 1;
    }
    return "a = " + FormatNumber(std::sqrt(P), "###0.0000") +
           "   b = " + FormatNumber(std::sqrt(Q), "###0.0000") +
           "   phi = " + FormatNumber(phi, "###0.0");
}

void SetUnconstrainedGroups(Module1& m) {
    m.AllowedSuperGroup.fill(false);
    m.GroupAxisSwap.fill(false);
    auto allow = [&m](std::initializer_list<int> groups) {
        for (int g : groups) m.AllowedSuperGroup[g] = true;
    };
    allow({1, 2});
    switch (m.SuperLatticeType) {
        case 2:
            allow({3, 4, 6, 7, 8});
            break;
        case 3:
            allow({5, 9});
            break;
        case 4:
            allow({3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
            break;
        case 5:
            allow({5, 9, 13, 14, 15, 16, 17});
            break;
        default:
            break;
    }
}

void SetConstrainedGroups(Module1& m) {
    m.AllowedSuperGroup.fill(false);
    m.GroupAxisSwap.fill(false);
    m.AllowedSuperGroup[1] = true;
    ConstraintRules(m).Apply(m.BasicGroup);
}

std::string AllowedGroupsCaption(const Module1& m) {
    std::string caption = "/";
    for (int g = 1; g <= BasicGroupCount; ++g) {
        if (m.AllowedSuperGroup[g]) caption += std::to_string(g) + "/";
    }
    static constexpr const char* kRotated[] = {"3'/", "4'/", "5'/", "7'/"};
    for (int i = 0; i < 4; ++i) {
        if (m.AllowedSuperGroup[18 + i]) caption += kRotated[i];
    }
    return caption;
}

}  // namespace quorvex::model
