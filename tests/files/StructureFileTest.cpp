// Structure files: what is written reads back as itself, and every kind of bad
// file gives one message that names the file and the problem.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>

#include "files/StructureFile.h"
#include "model/CommonNames.h"
#include "model/PlaneGroups.h"

namespace quorvex::files {
namespace {

// Non-default states, each with a name for the failure message.
struct Variant {
    const char* name;
    std::function<void(StructureFileContents&)> change;
};

const Variant kVariants[] = {
    {"oblique cell with a negative angle, a matrix the list calls None",
     [](StructureFileContents& c) {
         c.structure.basicGroup = model::kP2;
         c.structure.a = 2.345678901234;
         c.structure.b = 0.75;
         c.structure.alpha = -62.5;
         c.structure.matrix = {3, -1, 2, 5};
         c.structure.commonNameRow = model::kNoCommonName;
         c.structure.superGroup = model::kP1;
     }},
    {"hexagonal (r7xr7) painted, unconstrained, a rotated view",
     [](StructureFileContents& c) {
         c.structure.basicGroup = model::kP6mm;
         c.structure.alpha = 120;
         c.structure.matrix = {2, -1, 1, 3};
         c.structure.commonNameRow = 21;
         c.structure.superGroup = model::kP6;
         c.structure.constrained = false;
         c.structure.options = {false, true, true, true};
         c.view.rotationDegrees = 30;
         c.view.rotationCos = std::cos(30 * model::kDegToRad);
         c.view.rotationSin = std::sin(30 * model::kDegToRad);
         c.view.latticeZoom = 1.2 * 1.2;
         c.view.patternZoom = 1 / 1.2;
         c.view.dotRadius = 0;
         c.view.spotRadius = 150;
     }},
    {"a turned superstructure group, a quarter turn, a reduced c(2x2) still named",
     [](StructureFileContents& c) {
         c.structure.basicGroup = model::kP2mg;
         c.structure.a = 1.5;
         c.structure.b = 3.25;
         c.structure.matrix = {-1, 1, 1, 1};
         c.structure.commonNameRow = 9;
         c.structure.superGroup = model::kP2mgTurned;
         c.view = {.rotationDegrees = -90, .rotationCos = 0, .rotationSin = -1};
     }},
    {"screen settings, kept structures and a measured image",
     [](StructureFileContents& c) {
         c.screen = {3.61, 57.5, 98, false, true, true, true};
         model::Structure kept;
         kept.matrix = {2, 0, 0, 1};
         kept.commonNameRow = 3;
         kept.superGroup = model::kP2mm;
         c.kept = {{kept, true}, {model::Structure{}, false}};
         c.measuredImage = QJsonObject{{"path", "ni100.png"}, {"gamma", 1.8}};
     }},
};

TEST(StructureFile, EveryFieldReadsBackAsWritten) {
    for (const Variant& v : kVariants) {
        StructureFileContents written;
        v.change(written);
        const ReadResult<StructureFileContents> read = FromJson(ToJson(written), "x.qvx");
        ASSERT_TRUE(read.value) << v.name << ": " << read.error.toStdString();
        EXPECT_EQ(*read.value, written) << v.name;
        // Writing it again gives the same text: nothing is lost on the way.
        EXPECT_EQ(ToJson(*read.value), ToJson(written)) << v.name;
    }
}

// A file with only its format keeps every default; the common name of a
// matrix left out is the one the list shows for it.
TEST(StructureFile, MissingKeysTakeDefaults) {
    const auto read = [](const char* body) {
        const QByteArray json =
            QByteArray(R"({"format": "quorvex-structure", "version": 1)") + body + "}";
        const ReadResult<StructureFileContents> r = FromJson(json, "x.qvx");
        EXPECT_TRUE(r.value) << r.error.toStdString();
        return r.value.value_or(StructureFileContents{});
    };
    EXPECT_EQ(read(""), StructureFileContents{});
    const StructureFileContents c2x2 = read(R"(, "structure": {"matrix": [[1, -1], [1, 1]]})");
    EXPECT_EQ(c2x2.structure.commonNameRow, 9);  // "c(2x2)"
    const StructureFileContents named = read(R"j(, "structure": {"commonName": "p(3x2)"})j");
    EXPECT_EQ(named.structure.matrix, (model::SuperlatticeMatrix{3, 0, 0, 2}));
    // Hexagonal cells have b = a and alpha = 120 whatever the file says of them.
    const model::Structure hex =
        read(R"(, "structure": {"basicGroup": "p3", "a": 2.5, "b": 9, "alpha": 77})").structure;
    EXPECT_EQ(std::tuple(hex.a, hex.b, hex.alpha, hex.superGroup),
              std::tuple(2.5, 2.5, 120.0, model::kP3));
    EXPECT_EQ(read(R"(, "comment": "kept by hand", "view": {"x": 1})"), StructureFileContents{});
}

struct BadFile {
    const char* json;
    const char* message;  // what the message says after the file name
};

// Each key with a wrong type, a value out of its range, and the document-level faults.
const BadFile kBadFiles[] = {
    {"", "bad.qvx: the file is empty"},
    {"   \n", "bad.qvx: the file is empty"},
    {"hello", "bad.qvx: not a structure file (JSON: illegal value at line 1)"},
    {"{\"format\": \"quorvex-structure\",\n \"version\": 1,\n \"structure\": {\"a\": 1e999}}",
     "bad.qvx: not a structure file (JSON: illegal number at line 3)"},
    {"[1, 2]", "bad.qvx: not a structure file (no JSON object)"},
    {R"({"format": "leed-pattern", "version": 1})",
     "bad.qvx: format: not a Quorvex structure file (\"quorvex-structure\" was expected)"},
    {R"({"version": 1})", "bad.qvx: format: not a Quorvex structure file"},
    {R"({"format": "quorvex-structure", "version": 2})",
     "bad.qvx: version: written by a newer Quorvex (format version 2; this one reads 1)"},
    {R"({"format": "quorvex-structure", "version": 1.5})",
     "bad.qvx: version: must be a whole number from 1"},
};

// The same keys inside "structure", "view" and "screen".
const BadFile kBadValues[] = {
    {R"("structure": 3)", "structure: an object was expected, not a number"},
    {R"("structure": {"basicGroup": 11})",
     "structure.basicGroup: a text was expected, not a number"},
    {R"("structure": {"basicGroup": "pm'"})",
     "structure.basicGroup: \"pm'\" is no basic plane group"},
    {R"("structure": {"a": "1"})", "structure.a: a number was expected, not a text"},
    {R"("structure": {"a": 0})", "structure.a: Wrong input: a length must be a positive number"},
    {R"("structure": {"basicGroup": "p2mm", "b": -1})", "structure.b: Wrong input"},
    {R"("structure": {"basicGroup": "p1", "alpha": 175.5})",
     "structure.alpha: Invalid alpha value: 5 < alpha < 175"},
    {R"("structure": {"basicGroup": "p1", "alpha": -4})", "structure.alpha: Invalid alpha"},
    {R"("structure": {"matrix": [[1, 0], [0]]})", "structure.matrix: must be two rows"},
    {R"("structure": {"matrix": [[1.5, 0], [0, 1]]})", "structure.matrix: Wrong input: 1.5"},
    {R"("structure": {"matrix": [[2147483648, 0], [0, 1]]})",
     "structure.matrix: Wrong input: 2147483648"},
    {R"("structure": {"matrix": [[2, 4], [1, 2]]})",
     "structure.matrix: Superlattice matrix inconsistent"},
    {R"("structure": {"matrix": [[21, 0], [0, 1]]})", "structure.matrix: Superlattice too large"},
    {R"j("structure": {"commonName": "c(2x2)\n(1x1)"})j",
     "structure.commonName: \"c(2x2) (1x1)\" is no common name"},
    {R"("structure": {"superGroup": "p5"})",
     "structure.superGroup: \"p5\" is no superstructure plane group"},
    {R"("structure": {"options": {"paintDomains": "yes"}})",
     "structure.options.paintDomains: true or false was expected, not a text"},
    {R"("view": {"latticeZoom": 0})", "view.latticeZoom: must be a number from 1e-06 to 1000000"},
    {R"("view": {"spotRadius": 151})", "view.spotRadius: must be a number from 0 to 150"},
    {R"("view": {"dotRadius": 12.5})", "view.dotRadius: must be a whole number from 0 to 150"},
    {R"("screen": {"energy": 5})",
     "screen.energy: The energy must be a number from 10 to 1000 eV."},
    {R"("screen": {"acceptanceDegrees": 181})",
     "screen.acceptanceDegrees: The acceptance angle must be a number from 20 to 180 degrees."},
    {R"("screen": {"kept": [{}, {}, {}, {}, {}]})",
     "screen.kept: at most 4 structures can be kept on the screen"},
    {R"("screen": {"kept": [7]})", "screen.kept[0]: an object was expected, not a number"},
    {R"("screen": {"kept": [{}, {"structure": {"matrix": [[0, 0], [0, 0]]}}]})",
     "screen.kept[1].structure.matrix: Superlattice matrix inconsistent"},
    {R"("measuredImage": [])", "measuredImage: an object was expected, not a list"},
};

TEST(StructureFile, BadFilesGiveOneMessageNamingTheProblem) {
    const auto refused = [](const QByteArray& json, const QString& message) {
        const ReadResult<StructureFileContents> r = FromJson(json, "bad.qvx");
        EXPECT_FALSE(r.value) << json.constData();
        EXPECT_TRUE(r.error.startsWith(message))
            << json.constData() << "\n  gives: " << r.error.toStdString();
        EXPECT_FALSE(r.error.contains('\n')) << r.error.toStdString();
    };
    for (const BadFile& bad : kBadFiles) refused(bad.json, QString::fromUtf8(bad.message));
    for (const BadFile& bad : kBadValues)
        refused(QByteArray(R"({"format": "quorvex-structure", "version": 1, )") + bad.json + "}",
                QStringLiteral("bad.qvx: ") + QString::fromUtf8(bad.message));
}

class StructureFileOnDisk : public ::testing::Test {
  protected:
    QString Path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }
    void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

// A file that cannot be written keeps what was there before.
TEST_F(StructureFileOnDisk, FailedWriteKeepsTheOldFile) {
    Write(Path("plain"), "a file, no folder");
    QString notFolder;
    EXPECT_FALSE(WriteStructureFile(Path("plain") + "/inside.qvx", {}, &notFolder));
    EXPECT_TRUE(notFolder.startsWith("inside.qvx: cannot be written (")) << notFolder.toStdString();

    Write(Path("old.qvx"), "old contents");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QString error;
    const bool written = WriteStructureFile(Path("old.qvx"), StructureFileContents{}, &error);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (written) GTEST_SKIP() << "the folder stays writable (running as root)";
    EXPECT_TRUE(error.startsWith("old.qvx: cannot be written")) << error.toStdString();
    QFile old(Path("old.qvx"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old contents");
}

// Written files, saved sets and recent files read back through the window's
// tests (saving and opening, the examples saved again byte for byte, saved
// sets across sessions, recent files); here, files too large, missing or damaged.
TEST_F(StructureFileOnDisk, TooLargeMissingAndDamagedFilesGiveNothing) {
    // 100 MB, sparse: refused by its size before it is read.
    {
        QFile huge(Path("huge.qvx"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(100LL << 20));
    }
    EXPECT_EQ(ReadStructureFile(Path("huge.qvx")).error,
              "huge.qvx: too large for a structure file (104857600 bytes; at most 1048576)");
    EXPECT_TRUE(
        ReadStructureFile(Path("missing.qvx")).error.startsWith("missing.qvx: cannot be read ("));
    // Damaged stores give nothing, whatever the damage.
    for (const QByteArray& damaged :
         {QByteArray("{\"format\": \"quorvex-saved-sets\", \"version\": 1, \"sets\": 3}"),
          QByteArray("{\"format\": \"quorvex-saved-sets\", \"version\": 1, \"sets\": "
                     "[{\"structure\": {\"matrix\": [[0, 0], [0, 0]]}}]}"),
          QByteArray("{\"format\": \"something\", \"version\": 1, \"sets\": []}")}) {
        Write(Path("damaged.json"), damaged);
        EXPECT_FALSE(ReadSavedSets(Path("damaged.json"))) << damaged.constData();
    }
    EXPECT_FALSE(ReadSavedSets(Path("none.json")));

    // A damaged recent-files list gives none.
    Write(Path("recent.json"), "not json");
    EXPECT_TRUE(ReadRecentFiles(Path("recent.json")).isEmpty());
}

}  // namespace
}  // namespace quorvex::files
