// Structure files (.qvx): a JSON document with the structure, how it is
// looked at, the LEED screen's settings and the structures kept on the screen.
// Reading checks every value as the window checks typed input; a file that
// cannot be read gives one message naming the file and the problem.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

#include "model/LeedScreen.h"
#include "model/SavedStates.h"
#include "model/Structure.h"

namespace quorvex::files {

constexpr const char* kFormatName = "quorvex-structure";
constexpr int kFormatVersion = 1;
// Larger files are refused before they are read: a structure file is a few kilobytes.
constexpr qint64 kMaxFileBytes = 1 << 20;
constexpr int kMaxKeptStructures = 4;

// A structure kept on the LEED screen beside the current one.
struct KeptStructure {
    model::Structure structure;
    bool visible = true;

    bool operator==(const KeptStructure&) const = default;
};

struct StructureFileContents {
    model::Structure structure;
    model::ViewSettings view;
    model::ScreenSettings screen;
    std::vector<KeptStructure> kept;
    // A measured image laid under the screen; passed through unread.
    QJsonObject measuredImage;

    bool operator==(const StructureFileContents&) const = default;
};

// Either the contents or the message saying why there are none.
template <typename T>
struct ReadResult {
    std::optional<T> value;
    QString error;
};

// The short names files use for the plane groups: "p4mm", and "pm'" for the
// settings turned by 90 degrees; empty for a number that is no group.
QString GroupName(model::Int32 group);

QByteArray ToJson(const StructureFileContents& contents);
// `fileName` is the name the messages give the document.
ReadResult<StructureFileContents> FromJson(const QByteArray& json, const QString& fileName);

ReadResult<StructureFileContents> ReadStructureFile(const QString& path);
// Atomic: the file is replaced only when everything is written.
bool WriteStructureFile(const QString& path, const StructureFileContents& contents, QString* error);

// The pieces the store of saved sets shares with structure files.
QJsonObject StructureToJson(const model::Structure& structure);
QJsonObject ViewToJson(const model::ViewSettings& view);

// The ten saved sets, newest first. A missing, damaged or unreadable store
// gives no value (and no message).
std::optional<std::vector<model::SavedState>> ReadSavedSets(const QString& path);
bool WriteSavedSets(const QString& path, const model::SavedStates& sets);

// The recently opened files, newest first; an unreadable list is empty.
QStringList ReadRecentFiles(const QString& path);
bool WriteRecentFiles(const QString& path, const QStringList& files);

// Reads at most `limit` bytes of a file, refusing a larger one before reading it.
ReadResult<QByteArray> ReadSmallFile(const QString& path, qint64 limit);
// Writes the bytes atomically (QSaveFile), creating the folder when needed.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

}  // namespace quorvex::files
