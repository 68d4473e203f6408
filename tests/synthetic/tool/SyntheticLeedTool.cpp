// Writes a synthetic LEED photograph to a file, to try the measured-image
// tools by hand: quorvex-synthetic-leed out.png --structure "p(2x2)" --bits 16
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cmath>

#include "synthetic/SyntheticLeed.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a synthetic LEED photograph of a square substrate (a = 2.55 \u00C5) with a "
        "superstructure, as gaussian spots with noise and the gun's shadow."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("PNG, TIFF, JPEG or BMP to write"));
    const QCommandLineOption structure(QStringLiteral("structure"),
                                       QStringLiteral("p(1x1), p(2x2) or c(2x2)"), QStringLiteral("name"),
                                       QStringLiteral("p(2x2)"));
    const QCommandLineOption energy(QStringLiteral("energy"), QStringLiteral("beam energy in eV"),
                                    QStringLiteral("eV"), QStringLiteral("100"));
    const QCommandLineOption rotation(QStringLiteral("rotation"), QStringLiteral("degrees"),
                                      QStringLiteral("degrees"), QStringLiteral("7"));
    const QCommandLineOption bits(QStringLiteral("bits"), QStringLiteral("8 or 16"), QStringLiteral("bits"),
                                  QStringLiteral("16"));
    const QCommandLineOption colour(QStringLiteral("colour"), QStringLiteral("a green phosphor in colour"));
    parser.addOptions({structure, energy, rotation, bits, colour});
    parser.process(app);
    QTextStream err(stderr);
    if (parser.positionalArguments().size() != 1) {
        err << "Give one file to write.\n";
        return 2;
    }
    quorvex::synthetic::LeedPhoto photo;
    bool ok = true, ok2 = true, ok3 = true;
    photo.energy = parser.value(energy).toDouble(&ok);
    photo.rotationDegrees = parser.value(rotation).toDouble(&ok2);
    const int depth = parser.value(bits).toInt(&ok3);
    const QString name = parser.value(structure);
    if (!ok || !(photo.energy >= 10 && photo.energy <= 1000) || !ok2 || !std::isfinite(photo.rotationDegrees) ||
        !ok3 || (depth != 8 && depth != 16) ||
        (name != QStringLiteral("p(1x1)") && name != QStringLiteral("p(2x2)") && name != QStringLiteral("c(2x2)"))) {
        err << "Energy 10 to 1000 eV, a finite rotation, 8 or 16 bits, and p(1x1), p(2x2) or c(2x2).\n";
        return 2;
    }
    photo.beams = quorvex::synthetic::SquareBeams(name, photo);
    const QString file = parser.positionalArguments().front();
    if (!quorvex::synthetic::Render(photo, depth, parser.isSet(colour)).save(file)) {
        err << "Cannot write " << file << ".\n";
        return 1;
    }
    return 0;
}
