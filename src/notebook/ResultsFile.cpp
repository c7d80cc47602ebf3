#include "notebook/ResultsFile.h"

#include "runtime/BRV_StrConstants.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

namespace brv {

namespace {

constexpr auto kFormat = "brevalis-results";
constexpr int kVersion = 1;
constexpr int kMaxRows = 10000;
constexpr int kMaxText = 200;
constexpr int kLockWaitMs = 3000;

const std::map<TFitKind, QString>& FitNames()
{
    static const std::map<TFitKind, QString> names{{TFitKind::None, QStringLiteral("none")},
                                                   {TFitKind::Line, QStringLiteral("line")},
                                                   {TFitKind::ThroughOrigin, QStringLiteral("origin")},
                                                   {TFitKind::Curve, QStringLiteral("curve")}};
    return names;
}

QJsonValue NumberOrNull(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject EncodeRow(const TResultsRow& row)
{
    QJsonArray repeats;
    QJsonArray anomalies;
    for (const TResultsCell& c : row.repeats) {
        repeats.append(NumberOrNull(c.value));
        anomalies.append(c.anomaly ? 1 : 0);
    }
    QJsonArray controls;
    for (const QString& c : row.controls)
        controls.append(c);
    return QJsonObject{{QStringLiteral("x"), NumberOrNull(row.independent)},
                       {QStringLiteral("r"), repeats},
                       {QStringLiteral("a"), anomalies},
                       {QStringLiteral("c"), controls}};
}

// Reading throws TBadFile with a few words on what is wrong.
struct TBadFile {
    QString what;
};

std::optional<double> ReadNumber(const QJsonValue& v)
{
    if (v.isNull() || v.isUndefined())
        return std::nullopt;
    if (!v.isDouble() || !std::isfinite(v.toDouble()))
        throw TBadFile{QStringLiteral("a value is not a number")};
    return v.toDouble();
}

QJsonArray ReadArray(const QJsonObject& o, const char* key, int maxSize)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return {};
    if (!v.isArray() || v.toArray().size() > maxSize)
        throw TBadFile{QStringLiteral("a row is malformed")};
    return v.toArray();
}

TResultsRow ReadRow(const QJsonValue& value, const TResultsTableDeclaration& declaration)
{
    if (!value.isObject())
        throw TBadFile{QStringLiteral("a row is not an object")};
    const QJsonObject o = value.toObject();
    TResultsRow row;
    row.independent = ReadNumber(o.value(QStringLiteral("x")));
    const QJsonArray repeats = ReadArray(o, "r", 10);
    const QJsonArray anomalies = ReadArray(o, "a", 10);
    const QJsonArray controls = ReadArray(o, "c", 50);
    row.repeats.resize(std::size_t(std::max(1, declaration.repeats)));
    for (qsizetype i = 0; i < repeats.size() && i < qsizetype(row.repeats.size()); ++i) {
        row.repeats[std::size_t(i)].value = ReadNumber(repeats[i]);
        if (i < anomalies.size()) {
            if (!anomalies[i].isDouble() && !anomalies[i].isBool())
                throw TBadFile{QStringLiteral("an anomaly mark is malformed")};
            row.repeats[std::size_t(i)].anomaly =
                row.repeats[std::size_t(i)].value && (anomalies[i].toBool() || anomalies[i].toInt() != 0);
        }
    }
    row.controls.resize(declaration.controls.size());
    for (qsizetype i = 0; i < controls.size() && i < qsizetype(row.controls.size()); ++i) {
        if (!controls[i].isString() || controls[i].toString().size() > kMaxText)
            throw TBadFile{QStringLiteral("a setting is malformed")};
        row.controls[std::size_t(i)] = controls[i].toString();
    }
    return row;
}

TNotebookContents ReadContents(const QJsonObject& root, ExperimentId id,
                               const std::vector<TResultsTableDeclaration>& declarations)
{
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        throw TBadFile{QStringLiteral("not a results file")};
    if (root.value(QStringLiteral("version")).toInt(-1) != kVersion)
        throw TBadFile{QStringLiteral("written by another version")};
    if (root.value(QStringLiteral("experiment")).toInt(-1) != id)
        throw TBadFile{QStringLiteral("the results of another experiment")};
    TNotebookContents contents;
    const QJsonValue question = root.value(QStringLiteral("question"));
    if (!question.isUndefined() && !question.isString())
        throw TBadFile{QStringLiteral("the question is malformed")};
    contents.question = question.toString().left(kMaxText);
    const QString fit = root.value(QStringLiteral("fit")).toString();
    for (const auto& [kind, name] : FitNames())
        if (name == fit)
            contents.fit = kind;
    contents.fromZero = root.value(QStringLiteral("fromZero")).toBool();
    const QJsonValue tables = root.value(QStringLiteral("tables"));
    if (!tables.isObject())
        throw TBadFile{QStringLiteral("it holds no tables")};
    const QJsonObject tablesObject = tables.toObject();
    for (const TResultsTableDeclaration& declaration : declarations) {
        const QJsonValue rowsValue = tablesObject.value(declaration.key);
        if (rowsValue.isUndefined())
            continue;
        if (!rowsValue.isArray() || rowsValue.toArray().size() > kMaxRows)
            throw TBadFile{QStringLiteral("a table is malformed")};
        std::vector<TResultsRow>& rows = contents.tables[declaration.key];
        for (const QJsonValue& row : rowsValue.toArray())
            rows.push_back(ReadRow(row, declaration));
    }
    return contents;
}

// A name beside the damaged file that no earlier one took.
QString AsidePath(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.damaged-%2-%3").arg(path, stamp).arg(n);
    return aside;
}

}  // namespace

QByteArray EncodeNotebook(ExperimentId id, const TNotebookContents& contents)
{
    QJsonObject tables;
    for (const auto& [key, rows] : contents.tables) {
        QJsonArray array;
        for (const TResultsRow& row : rows)
            array.append(EncodeRow(row));
        tables.insert(key, array);
    }
    const QJsonObject root{{QStringLiteral("format"), QLatin1String(kFormat)},
                           {QStringLiteral("version"), kVersion},
                           {QStringLiteral("experiment"), id},
                           {QStringLiteral("question"), contents.question},
                           {QStringLiteral("fit"), FitNames().at(contents.fit)},
                           {QStringLiteral("fromZero"), contents.fromZero},
                           {QStringLiteral("tables"), tables}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TDecodedNotebook DecodeNotebook(const QByteArray& bytes, ExperimentId id,
                                const std::vector<TResultsTableDeclaration>& declarations)
{
    TDecodedNotebook decoded;
    if (bytes.size() > kMaxResultsFileBytes) {
        decoded.error = QStringLiteral("too large");
        return decoded;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        decoded.error = QStringLiteral("not readable as JSON");
        return decoded;
    }
    try {
        decoded.contents = ReadContents(document.object(), id, declarations);
    } catch (const TBadFile& bad) {
        decoded.error = bad.what;
    }
    return decoded;
}

QString DefaultResultsFolder()
{
    // Beside the settings' "Karvelle" / "BRV_v4": the application's name is
    // the window title, trailing space and all, which makes a poor folder.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Karvelle/BRV_v4/results");
}

TResultsStore::TResultsStore(QString folder) : folder_(std::move(folder)) {}

QString TResultsStore::FilePath(ExperimentId id) const
{
    return QDir(folder_).filePath(QStringLiteral("experiment-%1.json").arg(id));
}

TResultsStore::TLoaded TResultsStore::Load(ExperimentId id,
                                           const std::vector<TResultsTableDeclaration>& declarations) const
{
    TLoaded loaded;
    const QString path = FilePath(id);
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.tryLock(kLockWaitMs);  // a stale lock of a crashed copy is taken over
    QFile file(path);
    if (!file.exists())
        return loaded;
    TDecodedNotebook decoded;
    if (file.size() > kMaxResultsFileBytes) {
        decoded.error = QStringLiteral("too large");
    } else if (!file.open(QIODevice::ReadOnly)) {
        loaded.error = file.errorString();
        return loaded;
    } else {
        decoded = DecodeNotebook(file.readAll(), id, declarations);
        file.close();
    }
    if (decoded.contents) {
        loaded.contents = std::move(*decoded.contents);
        return loaded;
    }
    loaded.error = decoded.error;
    const QString aside = AsidePath(path);
    if (QFile::rename(path, aside))
        loaded.damagedPath = aside;
    return loaded;
}

QString TResultsStore::Save(ExperimentId id, const TNotebookContents& contents) const
{
    if (!QDir().mkpath(folder_))
        return QStringLiteral("the folder cannot be made");
    const QString path = FilePath(id);
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return str::sResultsBusy();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = EncodeNotebook(id, contents);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

}  // namespace brv
