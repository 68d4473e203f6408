#include "window/SpotReadout.h"

#include "model/DomainColours.h"

namespace quorvex::window {

QString SpotReadout(const model::ListedSpot& spot, const std::optional<model::ScreenScale>& screen,
                    double perUnit, bool painted) {
    QString text = QString::fromStdString(spot.IndexText());
    if (spot.domains != 0) {
        text += QStringLiteral("  domain");
        if ((spot.domains & (spot.domains - 1)) != 0) text += QStringLiteral("s");
        for (int i = 0; i < 32; ++i) {
            if ((spot.domains & (model::DomainSet{1} << i)) == 0) continue;
            // Painted domains show their colour beside their number.
            if (painted) {
                const model::Rgb c = model::SubpatternColour(i + 1, painted);
                text += QStringLiteral(" <span style=\"color:#%1%2%3\">\u25A0</span>")
                            .arg(model::RedOf(c), 2, 16, QLatin1Char('0'))
                            .arg(model::GreenOf(c), 2, 16, QLatin1Char('0'))
                            .arg(model::BlueOf(c), 2, 16, QLatin1Char('0'));
            } else {
                text += QStringLiteral(" ");
            }
            text += QString::number(i + 1);
        }
    } else if (spot.substrate) {
        text += QStringLiteral("  substrate");
    }
    // Glide-extinct everywhere, or only in some of the domains that reach it.
    if (!spot.Shown() && (spot.extinctDomains != 0 || spot.substrateExtinct))
        text += QStringLiteral("  glide-extinct");
    else if (spot.extinctDomains != 0)
        text += QStringLiteral("  (glide-extinct in domain %1)")
                    .arg(QString::fromStdString(model::DomainListText(spot.extinctDomains)));
    if (perUnit > 0)
        text += QStringLiteral("  |g| = %1 1/\u00C5").arg(spot.length * perUnit, 0, 'f', 4);
    if (screen)
        text += QStringLiteral("  \u03B8 = %1\u00B0").arg(screen->ThetaDegrees(spot.length), 0, 'f', 1);
    return text;
}

}  // namespace quorvex::window
