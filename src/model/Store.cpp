#include "model/Store.h"

#include <algorithm>

namespace quorvex::model {

namespace {

// Positions 1..size-1 of StoreStack exist; a larger capacity is never honoured.
Long UsableCapacity(const Module1& m) {
    return std::clamp<Long>(m.StoreCapacity, 0, static_cast<Long>(m.StoreStack.size()) - 1);
}

}  // namespace

void StoreState(Module1& m) {
    const Long capacity = UsableCapacity(m);
    if (capacity == 0) return;
    if (m.StoreCount < capacity) ++m.StoreCount;
    m.StoreCount = std::clamp<Long>(m.StoreCount, 1, capacity);
    for (Long p = m.StoreCount; p >= 2; --p) m.StoreStack[p] = m.StoreStack[p - 1];

    StoredState& r = m.StoreStack[1];
    r.basicGroup = m.BasicGroup;
    r.a = m.LatticeA;
    r.b = m.LatticeB;
    r.alpha = m.LatticeAlpha;
    r.m11 = m.M11;
    r.m22 = m.M22;
    r.m12 = m.M12;
    r.m21 = m.M21;
    r.commonName = m.CommonNameIndex;
    r.superGroup = m.SuperGroup;
    r.constrained = m.Constrained;
    r.includeDomains = m.IncludeDomains;
    r.paintDomains = m.PaintDomains;
    r.include1x1 = m.Include1x1;
    r.includeBases = m.IncludeBases;
    r.latMag = m.LatMag;
    r.patMag = m.PatMag;
    r.rotAngle = m.RotAngle;
    r.rotCos = m.RotCos;
    r.rotSin = m.RotSin;
    r.latDotRadius = m.LatDotRadius;
    r.spotRadius = m.SpotRadius;
    m.StoreIndex = 1;
}

bool RestoreRecord(Module1& m) {
    if (m.StoreIndex <= 0 || m.StoreCount <= 0 || m.StoreIndex > m.StoreCount ||
        m.StoreCount > UsableCapacity(m))
        return false;

    const StoredState& r = m.StoreStack[m.StoreIndex];
    m.BasicGroup = r.basicGroup;
    m.LatticeA = r.a;
    m.LatticeB = r.b;
    m.LatticeAlpha = r.alpha;
    m.M11 = r.m11;
    m.M22 = r.m22;
    m.M12 = r.m12;
    m.M21 = r.m21;
    m.CommonNameIndex = r.commonName;
    m.SuperGroup = r.superGroup;
    m.Constrained = r.constrained;
    m.IncludeDomains = r.includeDomains;
    m.PaintDomains = r.paintDomains;
    m.Include1x1 = r.include1x1;
    m.IncludeBases = r.includeBases;
    m.LatMag = r.latMag;
    m.PatMag = r.patMag;
    m.RotAngle = r.rotAngle;
    m.RotCos = r.rotCos;
    m.RotSin = r.rotSin;
    m.LatDotRadius = r.latDotRadius;
    m.SpotRadius = r.spotRadius;

    // The restored superstructure group is kept, not reset by the next update.
    m.ResetSuperGroup = false;
    ++m.StoreIndex;
    if (m.StoreIndex > m.StoreCount) m.StoreIndex = 1;
    return true;
}

void ClearStore(Module1& m) {
    m.StoreIndex = 0;
    m.StoreCount = 0;
}

std::string LoadCaption(const Module1& m) {
    return "Load (" + std::to_string(m.StoreIndex) + "/" + std::to_string(m.StoreCount) + ")";
}

}  // namespace quorvex::model
