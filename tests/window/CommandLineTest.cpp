// The command line run as a process, as a script or a user runs it: exit
// codes, the one line a mistake prints, and files written whole or not at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>

namespace quorvex::testing {
namespace {

struct Result {
    int exitCode = -1;
    QString out, err;
};

// The program with no display at all.
Result RunProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVEX_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class CommandLineTest : public ::testing::Test {
  protected:
    QString Path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }
    // A file's bytes; none when it cannot be read.
    static QByteArray Bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(CommandLineTest, ExportsEachFormatWithoutADisplay) {
    struct Case {
        QStringList arguments;
        const char* file;
    };
    const Case cases[] = {
        {{"--view", "pattern"}, "pattern.png"},
        {{"--view", "lattice", "--scale", "2"}, "lattice.png"},
        {{"--view", "screen", "--energy", "250", "--one-colour"}, "screen.svg"},
        {{"--view", "form"}, "form.pdf"},
        {{"--view", "screen", "--energy", "40"}, "spots.csv"},
    };
    for (const Case& c : cases) {
        const QString out = Path(c.file);
        const Result r = RunProgram(QStringList{"--export", out} + c.arguments);
        EXPECT_EQ(r.exitCode, 0) << c.file << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        const QByteArray bytes = Bytes(out);
        ASSERT_FALSE(bytes.isEmpty()) << c.file;
        bool readable = false;
        if (out.endsWith(".png")) readable = !QImage::fromData(bytes, "PNG").isNull();
        if (out.endsWith(".svg")) readable = QSvgRenderer(bytes).isValid();
        if (out.endsWith(".pdf")) readable = bytes.startsWith("%PDF-");
        if (out.endsWith(".csv")) readable = bytes.startsWith("h,k,");
        EXPECT_TRUE(readable) << c.file;
    }
    EXPECT_EQ(QImage(Path("lattice.png")).size(), QSize(466, 466));
    // At 40 eV fewer beams reach the screen than the header and the (0 0) beam.
    EXPECT_TRUE(Bytes(Path("spots.csv")).contains(",theta_deg\n0,0,"));
}

TEST_F(CommandLineTest, MistakesPrintOneLineAndWriteNothing) {
    const QString kept = Path("kept.png");
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier picture");
    }
    struct Case {
        QStringList arguments;
        QString message;
    };
    ASSERT_TRUE(QDir().mkpath(Path("folder.png")));  // a folder where the file would go
    const Case cases[] = {
        {{"--bogus"}, "quorvex: Unknown option 'bogus'."},  // the parser's other mistakes alike
        {{"--export", Path("out.bmp")}, "quorvex: cannot tell the format of"},
        {{"--export", kept, "--view", "side"}, "quorvex: unknown view 'side'"},
        {{"--export", kept, "--energy", "5"}, "quorvex: --energy must be a number of eV"},
        {{"--export", kept, "--energy", "nan"}, "quorvex: --energy must be a number of eV"},
        {{"--export", kept, "--scale", "0"}, "quorvex: --scale must be a whole number"},
        {{"--export", kept, "--scale", "2.5"}, "quorvex: --scale must be a whole number"},
        {{"--export", kept, "--background", "grey"}, "quorvex: --background must be"},
        {{"--export", Path("lattice.csv"), "--view", "lattice"}, "quorvex: A spot list comes"},
        {{"--export", Path("missing/out.png")}, "quorvex: Cannot write"},
        {{"--export", Path("folder.png")}, "quorvex: Cannot write"},
        {{"--view", "screen"}, "quorvex: --view needs --export"},
        {{"one.qvx", "two.qvx"}, "quorvex: give at most one structure file"},
        {{"--export", kept, Path("absent.qvx")}, "quorvex: absent.qvx: cannot be read"},
        {{"--export", kept, dir.path()},
         "quorvex: " + QFileInfo(dir.path()).fileName() + ": cannot be read"},
    };
    for (const Case& c : cases) {
        const Result r = RunProgram(c.arguments);
        EXPECT_NE(r.exitCode, 0) << c.message.toStdString();
        EXPECT_TRUE(r.err.startsWith(c.message)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    EXPECT_EQ(Bytes(kept), "earlier picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"folder.png", "kept.png"}));
    EXPECT_TRUE(QDir(Path("folder.png")).isEmpty());
}

}  // namespace
}  // namespace quorvex::testing
