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
            const model::Rgb c = model::SubpatternColour(i + 1, painted);
            text += QStringLiteral(" <span style=\"color:#%1%2%3\">\u25A0</span>%4")
                        .arg(model::RedOf(c), 2, 16, QLatin1Char('0'))
                        .arg(model::GreenOf(c), 2, 16, QLatin1Char('0'))
                        .arg(model::BlueOf(c), 2, 16, QLatin1Char('0'))
                        .arg(i + 1);
        }
    } else if (spot.substrate) {
        text += QStringLiteral("  substrate");
    }
    if (spot.extinctDomains != 0 || spot.substrateExtinct)
        text += spot.Shown() && spot.domains != 0 ? QStringLiteral("  (glide-extinct in domain ") +
                                                        QString::fromStdString(model::DomainListText(spot.extinctDomains)) +
                                                        QStringLiteral(")")
                                                  : QStringLiteral("  glide-extinct");
    if (perUnit > 0)
        text += QStringLiteral("  |g| = %1 1/\u00C5").arg(spot.length * perUnit, 0, 'f', 4);
    if (screen)
        text += QStringLiteral("  \u03B8 = %1\u00B0").arg(screen->ThetaDegrees(spot.length), 0, 'f', 1);
    return text;
}

}  // namespace quorvex::window
