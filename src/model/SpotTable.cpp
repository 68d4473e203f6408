#include "model/SpotTable.h"

#include <charconv>
#include <cmath>

namespace quorvex::model {

namespace {

// Fixed-point with the given decimals, '.' as the separator in every locale.
std::string Number(double value, int decimals) {
    if (!std::isfinite(value)) return "nan";
    if (value == 0) value = 0;  // no "-0.000000"
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, result.ptr);
    if (out.find_first_not_of("-0.") == std::string::npos) return out.substr(out[0] == '-');
    return out;
}

// "1 3": the domain numbers of a set, blank-separated so the field needs no quotes.
std::string DomainField(DomainSet domains) {
    std::string text;
    for (int i = 0; i < 32; ++i) {
        if ((domains & (DomainSet{1} << i)) == 0) continue;
        if (!text.empty()) text += ' ';
        text += std::to_string(i + 1);
    }
    return text;
}

std::string KindField(const ListedSpot& s) {
    if (s.substrate && s.domains != 0) return "both";
    if (s.substrate || s.substrateExtinct) return "substrate";
    return "superstructure";
}

}  // namespace

bool Tabulated(const ListedSpot& spot) {
    return spot.Shown() || spot.extinctDomains != 0 || spot.substrateExtinct;
}

std::string SpotTableHeader(bool withScreen) {
    std::string header =
        "h,k,h_decimal,k_decimal,domains,kind,glide_extinct,extinct_domains,gx_per_A,gy_per_A,"
        "g_per_A";
    if (withScreen) header += ",theta_deg";
    return header;
}

std::string SpotTableCsv(const std::vector<ListedSpot>& spots, double perUnit,
                         const std::optional<ScreenScale>& screen) {
    std::string csv = SpotTableHeader(screen.has_value()) + "\n";
    for (const ListedSpot& s : spots) {
        if (!Tabulated(s)) continue;
        // Drawn by no lattice, lost to a glide.
        const bool extinct = !s.Shown();
        csv += s.h.Text() + ',' + s.k.Text() + ',' + Number(s.h.Value(), 6) + ',' +
               Number(s.k.Value(), 6) + ',' + DomainField(s.domains) + ',' + KindField(s) + ',' +
               (extinct ? "1" : "0") + ',' + DomainField(s.extinctDomains) + ',' +
               Number(s.g.x * perUnit, 6) + ',' + Number(s.g.y * perUnit, 6) + ',' +
               Number(s.length * perUnit, 6);
        if (screen) csv += ',' + Number(screen->ThetaDegrees(s.length), 3);
        csv += '\n';
    }
    return csv;
}

}  // namespace quorvex::model
