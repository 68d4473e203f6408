// libFuzzer target for the structure-file reader: no input may crash it or
// let through a value the window refuses, and whatever it accepts must write
// and read back as itself.
#include <QByteArray>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "files/StructureFile.h"
#include "model/CellVectors.h"
#include "model/CommonNames.h"
#include "model/PlaneGroups.h"

namespace {

using quorvex::files::FromJson;
using quorvex::files::StructureFileContents;
using quorvex::files::ToJson;
namespace model = quorvex::model;

[[noreturn]] void Fail(const char* what, const QByteArray& input) {
    std::fprintf(stderr, "%s\ninput: %s\n", what, input.constData());
    std::abort();
}

void CheckStructure(const model::Structure& s, const QByteArray& input) {
    if (!model::IsBasicGroup(s.basicGroup) || !model::IsGroup(s.superGroup))
        Fail("a group out of range", input);
    if (!(s.a > 0 && s.b > 0 && std::isfinite(s.a) && std::isfinite(s.b)))
        Fail("a length that is not positive", input);
    if (!(std::fabs(s.alpha) >= 5 && std::fabs(s.alpha) <= 175)) Fail("alpha out of range", input);
    if (s.commonNameRow < 0 || s.commonNameRow >= model::kCommonNameCount)
        Fail("a common name out of the list", input);
    if (s.matrix.Singular() || model::SuperlatticeTooLarge(model::ComputeCellVectors(s)))
        Fail("a matrix the window refuses", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto read = FromJson(input, QStringLiteral("fuzz.qvx"));
    if (!read.value) {
        if (read.error.isEmpty() || read.error.contains(QLatin1Char('\n')))
            Fail("a refusal without its one-line message", input);
        return 0;
    }
    const StructureFileContents& c = *read.value;
    if (!read.error.isEmpty()) Fail("contents and a message", input);
    CheckStructure(c.structure, input);
    for (const auto& kept : c.kept) CheckStructure(kept.structure, input);
    if (c.kept.size() > static_cast<std::size_t>(quorvex::files::kMaxKeptStructures))
        Fail("too many kept structures", input);
    const model::ViewSettings& v = c.view;
    if (!(v.latticeZoom > 0 && v.patternZoom > 0 && v.dotRadius >= 0 && v.dotRadius <= 150 &&
          v.spotRadius >= 0 && v.spotRadius <= 150 && std::isfinite(v.rotationDegrees)))
        Fail("a view setting out of range", input);
    const model::ScreenSettings& s = c.screen;
    if (!(model::kEnergyRange.Contains(s.energy) &&
          model::kAcceptanceRange.Contains(s.acceptanceDegrees) &&
          model::kLatticeConstantRange.Contains(s.latticeConstant)))
        Fail("a screen setting out of range", input);

    const auto again = FromJson(ToJson(c), QStringLiteral("fuzz.qvx"));
    if (!again.value || !(*again.value == c)) Fail("what was read does not read back", input);
    return 0;
}
