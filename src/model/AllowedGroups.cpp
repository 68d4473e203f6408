#include "model/AllowedGroups.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>


namespace quorvex::model {

namespace {

double Norm2(Vec2 v) {
    return v.x * v.x + v.y * v.y;
}

// The groups a superstructure may have on top of the basic group. Notation of
// the rules: Allow(g) allows g and keeps its axis swap ("g"), AllowSwap(g, true)
// is "g+", AllowSwap(g, false) is "g-". Actions run in the order written, so a
// later swap setting overrides an earlier one; a return is a "stop".
class ConstraintRules {
  public:
    ConstraintRules(AllowedGroups& result, const CellVectors& v, Int32 superLatticeType)
        : result_(result), tol_(kTolerance) {
        a1 = v.a1;
        a2 = v.a2;
        const Vec2 b1 = v.b1, b2 = v.b2;
        if (superLatticeType == kCentredRectangular) {
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
        const Int32 type = superLatticeType;
        R = type == kPrimitiveRectangular || type == kSquare;
        C = type == kCentredRectangular;
        S = type == kSquare;
        H = type == kHexagonal;
        primRect = type == kPrimitiveRectangular;
    }

    void Apply(Int32 basicGroup) {
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
    void Allow(int g) { result_.allowed[g] = true; }
    void AllowSwap(int g, bool swap) {
        result_.allowed[g] = true;
        result_.axisSwap[g] = swap;
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

    AllowedGroups& result_;
    double tol_;
    Vec2 a1, a2, s, m, u, w, uPlusW, uMinusW;
    bool R = false, C = false, S = false, H = false, primRect = false;
};

}  // namespace

AllowedGroups UnconstrainedGroups(Int32 superLatticeType) {
    AllowedGroups result;
    auto allow = [&result](std::initializer_list<int> groups) {
        for (int g : groups) result.allowed[g] = true;
    };
    allow({1, 2});
    switch (superLatticeType) {
        case kPrimitiveRectangular:
            allow({3, 4, 6, 7, 8});
            break;
        case kCentredRectangular:
            allow({5, 9});
            break;
        case kSquare:
            allow({3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
            break;
        case kHexagonal:
            allow({5, 9, 13, 14, 15, 16, 17});
            break;
        default:
            break;
    }
    return result;
}

AllowedGroups ConstrainedGroups(Int32 basicGroup, const CellVectors& v, Int32 superLatticeType) {
    AllowedGroups result;
    result.allowed[1] = true;
    ConstraintRules(result, v, superLatticeType).Apply(basicGroup);
    return result;
}

AllowedGroups ComputeAllowedGroups(const Structure& s, const CellVectors& v,
                                   Int32 superLatticeType) {
    return s.constrained ? ConstrainedGroups(s.basicGroup, v, superLatticeType)
                         : UnconstrainedGroups(superLatticeType);
}

std::string AllowedGroupsCaption(const AllowedGroups& groups) {
    std::string caption = "/";
    for (int g = 1; g <= kBasicGroupCount; ++g)
        if (groups.allowed[g]) caption += std::to_string(g) + "/";
    for (int i = 0; i < 4; ++i)
        if (groups.allowed[kPmTurned + i]) caption += std::string(kTurnedGroupLabels[i]) + "/";
    return caption;
}

}  // namespace quorvex::model
