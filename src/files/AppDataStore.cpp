// The program's own data between sessions: the saved sets and the recent files.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "files/StructureFile.h"

namespace quorvex::files {

namespace {

constexpr const char* kSavedSetsFormat = "quorvex-saved-sets";
// The stores hold a few kilobytes; anything much larger is not ours.
constexpr qint64 kMaxStoreBytes = 4 << 20;
constexpr int kMaxRecentFiles = 10;

std::optional<QJsonObject> ReadStore(const QString& path, const char* format) {
    if (!QFileInfo::exists(path)) return std::nullopt;
    const ReadResult<QByteArray> bytes = ReadSmallFile(path, kMaxStoreBytes);
    if (!bytes.value) return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes.value);
    if (!doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(format) ||
        o.value(QStringLiteral("version")).toInt() != 1)
        return std::nullopt;
    return o;
}

}  // namespace

std::optional<std::vector<model::SavedState>> ReadSavedSets(const QString& path) {
    const std::optional<QJsonObject> store = ReadStore(path, kSavedSetsFormat);
    if (!store) return std::nullopt;
    const QJsonValue sets = store->value(QStringLiteral("sets"));
    if (!sets.isArray()) return std::nullopt;
    std::vector<model::SavedState> states;
    for (const QJsonValue& set : sets.toArray()) {
        if (!set.isObject()) return std::nullopt;
        // Each set reads like a structure file that holds it.
        QJsonObject file = set.toObject();
        file.insert(QStringLiteral("format"), QLatin1String(kFormatName));
        file.insert(QStringLiteral("version"), kFormatVersion);
        const ReadResult<StructureFileContents> read = FromJson(
            QJsonDocument(file).toJson(QJsonDocument::Compact), QFileInfo(path).fileName());
        if (!read.value) return std::nullopt;
        states.push_back({read.value->structure, read.value->view});
    }
    if (static_cast<int>(states.size()) > model::SavedStates::kCapacity) return std::nullopt;
    return states;
}

bool WriteSavedSets(const QString& path, const model::SavedStates& sets) {
    QJsonArray list;
    for (int i = 0; i < sets.Count(); ++i)
        list.append(
            QJsonObject{{QStringLiteral("structure"), StructureToJson(sets.At(i).structure)},
                        {QStringLiteral("view"), ViewToJson(sets.At(i).view)}});
    const QJsonObject store{{QStringLiteral("format"), QLatin1String(kSavedSetsFormat)},
                            {QStringLiteral("version"), 1},
                            {QStringLiteral("sets"), list}};
    return WriteFileAtomically(path, QJsonDocument(store).toJson(QJsonDocument::Indented), nullptr);
}

QStringList ReadRecentFiles(const QString& path) {
    const std::optional<QJsonObject> store = ReadStore(path, "quorvex-recent-files");
    QStringList files;
    if (!store) return files;
    for (const QJsonValue& v : store->value(QStringLiteral("files")).toArray())
        if (v.isString() && !v.toString().isEmpty() && files.size() < kMaxRecentFiles &&
            !files.contains(v.toString()))
            files.append(v.toString());
    return files;
}

bool WriteRecentFiles(const QString& path, const QStringList& files) {
    const QJsonObject store{{QStringLiteral("format"), QStringLiteral("quorvex-recent-files")},
                            {QStringLiteral("version"), 1},
                            {QStringLiteral("files"), QJsonArray::fromStringList(files)}};
    return WriteFileAtomically(path, QJsonDocument(store).toJson(QJsonDocument::Indented), nullptr);
}

}  // namespace quorvex::files
