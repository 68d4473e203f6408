#include "files/StructureFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <array>
#include <cmath>
#include <limits>

#include "model/CellVectors.h"
#include "model/CommonNames.h"
#include "model/PlaneGroups.h"

namespace quorvex::files {

namespace {

using model::Int32;

constexpr std::array<const char*, model::kGroupCount + 1> kShortGroupNames = {
    "",     "p1",   "p2", "pm",   "pg",   "cm", "p2mm", "p2mg", "p2gg", "c2mm", "p4",
    "p4mm", "p4gm", "p3", "p3m1", "p31m", "p6", "p6mm", "pm'",  "pg'",  "cm'",  "p2mg'"};

// Zooms beyond these are out of any reach of the zoom buttons.
constexpr model::Range kZoomRange{1e-6, 1e6};
constexpr double kMostRotationDegrees = 1e6;
// The size bars' range, in twips.
constexpr model::Range kRadiusRange{0, 150};
constexpr model::Range kAlphaRange{5, 175};

QString TypeName(const QJsonValue& v) {
    switch (v.type()) {
        case QJsonValue::Null:
            return QStringLiteral("null");
        case QJsonValue::Bool:
            return QStringLiteral("true or false");
        case QJsonValue::Double:
            return QStringLiteral("a number");
        case QJsonValue::String:
            return QStringLiteral("a text");
        case QJsonValue::Array:
            return QStringLiteral("a list");
        case QJsonValue::Object:
            return QStringLiteral("an object");
        case QJsonValue::Undefined:
            break;
    }
    return QStringLiteral("nothing");
}

QString Plain(double v) {
    return QString::number(v, 'g', 12);
}

// A text from the file as a message quotes it: on one line, and short.
QString Quoted(const QString& text) {
    constexpr qsizetype kLongest = 40;
    QString line;
    for (const QChar c : text) line += c.isPrint() ? c : QChar(u' ');
    if (line.size() > kLongest) line = line.left(kLongest) + QStringLiteral("\u2026");
    return QLatin1Char('"') + line + QLatin1Char('"');
}

// Reads values out of a JSON document, keeping the first problem found. Every
// read after a problem returns its fallback, so a reader can go on without
// checking after each value.
class Reader {
  public:
    explicit Reader(QString fileName) : fileName_(std::move(fileName)) {}

    bool Failed() const { return !error_.isEmpty(); }
    const QString& Error() const { return error_; }
    void Fail(const QString& key, const QString& problem) {
        if (Failed()) return;
        error_ = key.isEmpty()
                     ? fileName_ + QStringLiteral(": ") + problem
                     : fileName_ + QStringLiteral(": ") + key + QStringLiteral(": ") + problem;
    }

    // The value of a key, or nothing when it is missing or has the wrong type.
    std::optional<QJsonValue> Value(const QJsonObject& o, const QString& path, const char* key,
                                    QJsonValue::Type type) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (Failed() || v.isUndefined()) return std::nullopt;
        if (v.type() != type) {
            Fail(Key(path, key), QStringLiteral("%1 was expected, not %2")
                                     .arg(TypeName(QJsonValue(type)), TypeName(v)));
            return std::nullopt;
        }
        return v;
    }

    QJsonObject Object(const QJsonObject& o, const QString& path, const char* key) {
        return Value(o, path, key, QJsonValue::Object).value_or(QJsonObject()).toObject();
    }

    bool Flag(const QJsonObject& o, const QString& path, const char* key, bool fallback) {
        const auto v = Value(o, path, key, QJsonValue::Bool);
        return v ? v->toBool() : fallback;
    }

    // A number within a range; out of it, the message `outOfRange`.
    double Number(const QJsonObject& o, const QString& path, const char* key, double fallback,
                  model::Range range, const QString& outOfRange) {
        const auto v = Value(o, path, key, QJsonValue::Double);
        if (!v) return fallback;
        const double x = v->toDouble();
        if (!std::isfinite(x) || !range.Contains(x)) {
            Fail(Key(path, key), outOfRange);
            return fallback;
        }
        return x;
    }

    double NumberInRange(const QJsonObject& o, const QString& path, const char* key,
                         double fallback, model::Range range) {
        return Number(o, path, key, fallback, range,
                      QStringLiteral("must be a number from %1 to %2")
                          .arg(Plain(range.low), Plain(range.high)));
    }

    double WholeNumber(const QJsonObject& o, const QString& path, const char* key, double fallback,
                       model::Range range) {
        const double x = NumberInRange(o, path, key, fallback, range);
        if (x != std::floor(x)) {
            Fail(Key(path, key), QStringLiteral("must be a whole number from %1 to %2")
                                     .arg(Plain(range.low), Plain(range.high)));
            return fallback;
        }
        return x;
    }

    // A group by its short name.
    Int32 Group(const QJsonObject& o, const QString& path, const char* key, Int32 fallback,
                Int32 last) {
        const auto v = Value(o, path, key, QJsonValue::String);
        if (!v) return fallback;
        for (Int32 g = 1; g <= last; ++g)
            if (v->toString() == QLatin1String(kShortGroupNames[static_cast<std::size_t>(g)]))
                return g;
        Fail(Key(path, key),
             QStringLiteral("%1 is no %2 plane group")
                 .arg(Quoted(v->toString()), last == model::kBasicGroupCount
                                                 ? QStringLiteral("basic")
                                                 : QStringLiteral("superstructure")));
        return fallback;
    }

    static QString Key(const QString& path, const char* key) {
        return path.isEmpty() ? QString::fromLatin1(key)
                              : path + QLatin1Char('.') + QString::fromLatin1(key);
    }

  private:
    QString fileName_;
    QString error_;
};

// The first common name showing this matrix; "None" when there is none.
Int32 CommonNameRowOf(const model::SuperlatticeMatrix& m) {
    for (Int32 row = 1; row < model::kCommonNameCount; ++row)
        if (model::kCommonNames[static_cast<std::size_t>(row)].matrix == m) return row;
    return model::kNoCommonName;
}

std::optional<Int32> CommonNameRowNamed(const QString& name) {
    for (Int32 row = 0; row < model::kCommonNameCount; ++row) {
        const std::string_view n = model::kCommonNames[static_cast<std::size_t>(row)].name;
        if (name == QLatin1String(n.data(), static_cast<qsizetype>(n.size()))) return row;
    }
    return std::nullopt;
}

QString CommonNameText(Int32 row) {
    const std::string_view n = model::kCommonNames[static_cast<std::size_t>(row)].name;
    return QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
}

bool IsOblique(Int32 group) {
    return group <= model::kP2;
}
bool HasSideB(Int32 group) {
    return group <= model::kC2mm;
}

// The cell a basic group starts from, as choosing it in the window gives.
model::Structure FamilyCell(Int32 group) {
    model::Structure s;
    s.basicGroup = group;
    if (group <= model::kC2mm) {
        s.a = std::sqrt(2.0);
        s.b = 1.0;
        s.alpha = IsOblique(group) ? 55.0 : 90.0;
    } else {
        s.a = 1.0;
        s.b = 1.0;
        s.alpha = group <= model::kP4gm ? 90.0 : 120.0;
    }
    return s;
}

std::optional<model::SuperlatticeMatrix> ReadMatrix(Reader& r, const QJsonObject& o,
                                                    const QString& path) {
    const auto v = r.Value(o, path, "matrix", QJsonValue::Array);
    if (!v) return std::nullopt;
    const QString key = Reader::Key(path, "matrix");
    const QString shape =
        QStringLiteral("must be two rows of two whole numbers, [[m11, m12], [m21, m22]]");
    const QJsonArray rows = v->toArray();
    if (rows.size() != 2) {
        r.Fail(key, shape);
        return std::nullopt;
    }
    std::array<Int32, 4> entries{};
    for (qsizetype i = 0; i < 4; ++i) {
        const QJsonValue row = rows.at(i / 2);
        if (!row.isArray() || row.toArray().size() != 2 || !row.toArray().at(i % 2).isDouble()) {
            r.Fail(key, shape);
            return std::nullopt;
        }
        const double x = row.toArray().at(i % 2).toDouble();
        // The window's fields take 32-bit whole numbers.
        if (!(x == std::floor(x) && x >= std::numeric_limits<Int32>::min() &&
              x <= std::numeric_limits<Int32>::max())) {
            r.Fail(key, QStringLiteral("Wrong input: ") + Plain(x));
            return std::nullopt;
        }
        entries[static_cast<std::size_t>(i)] = static_cast<Int32>(x);
    }
    return model::SuperlatticeMatrix{entries[0], entries[1], entries[2], entries[3]};
}

model::Structure ReadStructure(Reader& r, const QJsonObject& o, const QString& path) {
    const Int32 group = r.Group(o, path, "basicGroup", model::kP4mm, model::kBasicGroupCount);
    model::Structure s = FamilyCell(group);
    const QString wrongLength = QStringLiteral("Wrong input: a length must be a positive number");
    const model::Range positive{std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max()};
    s.a = r.Number(o, path, "a", s.a, positive, wrongLength);
    // Square and hexagonal cells have b = a, and only oblique cells a free angle.
    s.b = HasSideB(group) ? r.Number(o, path, "b", s.b, positive, wrongLength) : s.a;
    if (IsOblique(group)) {
        const auto alpha = r.Value(o, path, "alpha", QJsonValue::Double);
        if (alpha) {
            const double x = alpha->toDouble();
            if (std::isfinite(x) && kAlphaRange.Contains(std::fabs(x)))
                s.alpha = x;
            else
                r.Fail(Reader::Key(path, "alpha"),
                       QStringLiteral("Invalid alpha value: 5 < alpha < 175"));
        }
    }

    std::optional<Int32> nameRow;
    if (const auto name = r.Value(o, path, "commonName", QJsonValue::String)) {
        nameRow = CommonNameRowNamed(name->toString());
        if (!nameRow)
            r.Fail(Reader::Key(path, "commonName"),
                   QStringLiteral("%1 is no common name").arg(Quoted(name->toString())));
    }
    const std::optional<model::SuperlatticeMatrix> matrix = ReadMatrix(r, o, path);
    if (matrix)
        s.matrix = *matrix;
    else if (nameRow && *nameRow > 1)
        s.matrix = model::kCommonNames[static_cast<std::size_t>(*nameRow)].matrix;
    s.commonNameRow = nameRow.value_or(CommonNameRowOf(s.matrix));
    // The list may show a name whose matrix has since been reduced, as the window does.
    if (r.Failed()) return s;
    if (s.matrix.Singular())
        r.Fail(Reader::Key(path, "matrix"), QStringLiteral("Superlattice matrix inconsistent"));
    else if (model::SuperlatticeTooLarge(model::ComputeCellVectors(s)))
        r.Fail(Reader::Key(path, "matrix"), QStringLiteral("Superlattice too large"));

    s.superGroup = r.Group(o, path, "superGroup", group, model::kGroupCount);
    s.constrained = r.Flag(o, path, "constrained", true);
    const QString optionsPath = Reader::Key(path, "options");
    const QJsonObject options = r.Object(o, path, "options");
    s.options.include1x1 = r.Flag(options, optionsPath, "include1x1", true);
    s.options.paintDomains = r.Flag(options, optionsPath, "paintDomains", false);
    s.options.includeDomains = r.Flag(options, optionsPath, "includeDomains", false);
    s.options.includeBases = r.Flag(options, optionsPath, "includeBases", false);
    return s;
}

model::ViewSettings ReadView(Reader& r, const QJsonObject& o) {
    const QString path = QStringLiteral("view");
    model::ViewSettings v;
    v.latticeZoom = r.NumberInRange(o, path, "latticeZoom", v.latticeZoom, kZoomRange);
    v.patternZoom = r.NumberInRange(o, path, "patternZoom", v.patternZoom, kZoomRange);
    const double degrees = r.NumberInRange(o, path, "rotationDegrees", 0,
                                           {-kMostRotationDegrees, kMostRotationDegrees});
    v.rotationDegrees = degrees;
    // Quarter turns are exact, as the window's -90, 0 and 90 buttons set them.
    if (std::fmod(degrees, 90.0) == 0) {
        const int quarter = static_cast<int>(std::fmod(degrees / 90.0, 4.0) + 4) % 4;
        constexpr double kCos[] = {1, 0, -1, 0}, kSin[] = {0, 1, 0, -1};
        v.rotationCos = kCos[quarter];
        v.rotationSin = kSin[quarter];
    } else {
        v.rotationCos = std::cos(degrees * model::kDegToRad);
        v.rotationSin = std::sin(degrees * model::kDegToRad);
    }
    v.dotRadius = r.WholeNumber(o, path, "dotRadius", v.dotRadius, kRadiusRange);
    v.spotRadius = r.WholeNumber(o, path, "spotRadius", v.spotRadius, kRadiusRange);
    return v;
}

double ReadSetting(Reader& r, const QJsonObject& o, const char* key, const char* fieldName,
                   const char* unit, double fallback, model::Range range) {
    const model::SettingCheck check =
        model::CheckSetting(fieldName, unit, range.low - 1, range);  // its message
    return r.Number(o, QStringLiteral("screen"), key, fallback, range,
                    QString::fromStdString(check.message));
}

void ReadScreen(Reader& r, const QJsonObject& o, StructureFileContents& c) {
    model::ScreenSettings& s = c.screen;
    s.latticeConstant = ReadSetting(r, o, "latticeConstant", "The lattice constant a", "\u00C5",
                                    s.latticeConstant, model::kLatticeConstantRange);
    s.energy = ReadSetting(r, o, "energy", "The energy", "eV", s.energy, model::kEnergyRange);
    s.acceptanceDegrees = ReadSetting(r, o, "acceptanceDegrees", "The acceptance angle", "degrees",
                                      s.acceptanceDegrees, model::kAcceptanceRange);
    const QString path = QStringLiteral("screen");
    s.gunShown = r.Flag(o, path, "gunShown", s.gunShown);
    s.photoLook = r.Flag(o, path, "photoLook", s.photoLook);
    s.indexLabels = r.Flag(o, path, "indexLabels", s.indexLabels);
    s.extinctRings = r.Flag(o, path, "extinctRings", s.extinctRings);
    const auto kept = r.Value(o, path, "kept", QJsonValue::Array);
    if (!kept) return;
    const QJsonArray list = kept->toArray();
    if (list.size() > kMaxKeptStructures) {
        r.Fail(QStringLiteral("screen.kept"),
               QStringLiteral("at most %1 structures can be kept on the screen")
                   .arg(kMaxKeptStructures));
        return;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString itemPath = QStringLiteral("screen.kept[%1]").arg(i);
        if (!list.at(i).isObject()) {
            r.Fail(itemPath, QStringLiteral("an object was expected, not ") + TypeName(list.at(i)));
            return;
        }
        const QJsonObject item = list.at(i).toObject();
        KeptStructure k;
        k.structure = ReadStructure(r, r.Object(item, itemPath, "structure"),
                                    itemPath + QStringLiteral(".structure"));
        k.visible = r.Flag(item, itemPath, "visible", true);
        c.kept.push_back(k);
    }
}

int LineOf(const QByteArray& text, int offset) {
    const int end = std::clamp(offset, 0, static_cast<int>(text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
}

QJsonObject ScreenToJson(const StructureFileContents& c) {
    const model::ScreenSettings& s = c.screen;
    QJsonObject o{{QStringLiteral("latticeConstant"), s.latticeConstant},
                  {QStringLiteral("energy"), s.energy},
                  {QStringLiteral("acceptanceDegrees"), s.acceptanceDegrees},
                  {QStringLiteral("gunShown"), s.gunShown},
                  {QStringLiteral("photoLook"), s.photoLook},
                  {QStringLiteral("indexLabels"), s.indexLabels},
                  {QStringLiteral("extinctRings"), s.extinctRings}};
    if (!c.kept.empty()) {
        QJsonArray kept;
        for (const KeptStructure& k : c.kept)
            kept.append(QJsonObject{{QStringLiteral("structure"), StructureToJson(k.structure)},
                                    {QStringLiteral("visible"), k.visible}});
        o.insert(QStringLiteral("kept"), kept);
    }
    return o;
}

}  // namespace

QString GroupName(Int32 group) {
    return model::IsGroup(group)
               ? QString::fromLatin1(kShortGroupNames[static_cast<std::size_t>(group)])
               : QString();
}

QJsonObject StructureToJson(const model::Structure& s) {
    const model::SuperlatticeMatrix& m = s.matrix;
    QJsonObject o{{QStringLiteral("basicGroup"), GroupName(s.basicGroup)},
                  {QStringLiteral("a"), s.a}};
    if (HasSideB(s.basicGroup)) o.insert(QStringLiteral("b"), s.b);
    if (IsOblique(s.basicGroup)) o.insert(QStringLiteral("alpha"), s.alpha);
    o.insert(QStringLiteral("matrix"),
             QJsonArray{QJsonArray{m.m11, m.m12}, QJsonArray{m.m21, m.m22}});
    if (s.commonNameRow >= 0 && s.commonNameRow < model::kCommonNameCount)
        o.insert(QStringLiteral("commonName"), CommonNameText(s.commonNameRow));
    o.insert(QStringLiteral("superGroup"), GroupName(s.superGroup));
    o.insert(QStringLiteral("constrained"), s.constrained);
    o.insert(QStringLiteral("options"),
             QJsonObject{{QStringLiteral("include1x1"), s.options.include1x1},
                         {QStringLiteral("paintDomains"), s.options.paintDomains},
                         {QStringLiteral("includeDomains"), s.options.includeDomains},
                         {QStringLiteral("includeBases"), s.options.includeBases}});
    return o;
}

QJsonObject ViewToJson(const model::ViewSettings& v) {
    return {{QStringLiteral("latticeZoom"), v.latticeZoom},
            {QStringLiteral("patternZoom"), v.patternZoom},
            {QStringLiteral("rotationDegrees"), v.rotationDegrees},
            {QStringLiteral("dotRadius"), v.dotRadius},
            {QStringLiteral("spotRadius"), v.spotRadius}};
}

QByteArray ToJson(const StructureFileContents& c) {
    QJsonObject o{{QStringLiteral("format"), QLatin1String(kFormatName)},
                  {QStringLiteral("version"), kFormatVersion},
                  {QStringLiteral("structure"), StructureToJson(c.structure)},
                  {QStringLiteral("view"), ViewToJson(c.view)},
                  {QStringLiteral("screen"), ScreenToJson(c)}};
    if (!c.measuredImage.isEmpty()) o.insert(QStringLiteral("measuredImage"), c.measuredImage);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

ReadResult<StructureFileContents> FromJson(const QByteArray& json, const QString& fileName) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    Reader r(fileName);
    if (json.trimmed().isEmpty()) {
        r.Fail({}, QStringLiteral("the file is empty"));
        return {std::nullopt, r.Error()};
    }
    if (parse.error != QJsonParseError::NoError) {
        r.Fail({}, QStringLiteral("not a structure file (JSON: %1 at line %2)")
                       .arg(parse.errorString())
                       .arg(LineOf(json, parse.offset)));
        return {std::nullopt, r.Error()};
    }
    if (!doc.isObject()) {
        r.Fail({}, QStringLiteral("not a structure file (no JSON object)"));
        return {std::nullopt, r.Error()};
    }
    const QJsonObject top = doc.object();
    if (top.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName)) {
        r.Fail(QStringLiteral("format"),
               QStringLiteral("not a Quorvex structure file (\"%1\" was expected)")
                   .arg(QLatin1String(kFormatName)));
        return {std::nullopt, r.Error()};
    }
    const QJsonValue version = top.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) ||
        version.toDouble() < 1) {
        r.Fail(QStringLiteral("version"), QStringLiteral("must be a whole number from 1"));
        return {std::nullopt, r.Error()};
    }
    if (version.toDouble() > kFormatVersion) {
        r.Fail(QStringLiteral("version"),
               QStringLiteral("written by a newer Quorvex (format version %1; this one reads %2)")
                   .arg(Plain(version.toDouble()))
                   .arg(kFormatVersion));
        return {std::nullopt, r.Error()};
    }

    StructureFileContents c;
    c.structure = ReadStructure(r, r.Object(top, {}, "structure"), QStringLiteral("structure"));
    c.view = ReadView(r, r.Object(top, {}, "view"));
    ReadScreen(r, r.Object(top, {}, "screen"), c);
    c.measuredImage = r.Object(top, {}, "measuredImage");
    if (r.Failed()) return {std::nullopt, r.Error()};
    return {c, {}};
}

ReadResult<QByteArray> ReadSmallFile(const QString& path, qint64 limit) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, name + QStringLiteral(": cannot be read (") + file.errorString() +
                                  QLatin1Char(')')};
    if (file.size() > limit)
        return {std::nullopt, name + QStringLiteral(": too large for a structure file (%1 bytes; "
                                                    "at most %2)")
                                         .arg(file.size())
                                         .arg(limit)};
    // A file that is no regular file (a pipe) tells no size: read at most one byte over.
    QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        return {std::nullopt, name + QStringLiteral(": too large for a structure file")};
    return {std::move(bytes), {}};
}

ReadResult<StructureFileContents> ReadStructureFile(const QString& path) {
    const ReadResult<QByteArray> bytes = ReadSmallFile(path, kMaxFileBytes);
    if (!bytes.value) return {std::nullopt, bytes.error};
    return FromJson(*bytes.value, QFileInfo(path).fileName());
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = info.fileName() + QStringLiteral(": cannot be written (") + file.errorString() +
                 QLatin1Char(')');
    return false;
}

bool WriteStructureFile(const QString& path, const StructureFileContents& contents,
                        QString* error) {
    return WriteFileAtomically(path, ToJson(contents), error);
}

}  // namespace quorvex::files
