#include "shell/uSettings.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/uThemes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace brv {

namespace {

const QString kZoom = QStringLiteral("zoom");
const QString kTextBackground = QStringLiteral("textbgnd");
const QString kToolbarsAtTop = QStringLiteral("TBTop");
const QString kSkin = QStringLiteral("Skin");
const QString kLarge = QStringLiteral("Large");
const QString kPosition = QStringLiteral("position");
const QString kPage = QStringLiteral("page");
const QString kExperiment = QStringLiteral("experiment");
const QString kSplit = QStringLiteral("split");
const QString kLocked = QStringLiteral("locked");
constexpr int kSplitModes = 3;

constexpr int kPositionBytes = 16;
// A window must show at least this much of itself on a screen to be reachable.
constexpr int kMinVisible = 50;
// Larger saved bounds than this are damage, not a window.
constexpr std::int64_t kMaxWindowSide = 1 << 16;

// A 32-bit integer stored either as a number (registry) or as its text (INI).
std::optional<int> ReadInt(const QVariant& v)
{
    bool ok = false;
    int value = 0;
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool: {
            const qlonglong wide = v.toLongLong(&ok);
            if (!ok || wide < INT32_MIN || wide > INT32_MAX)
                return std::nullopt;
            return int(wide);
        }
        case QMetaType::QString:
            value = v.toString().trimmed().toInt(&ok);
            return ok ? std::optional<int>(value) : std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<QString> ReadString(const QVariant& v)
{
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<int> ReadZoom(const QVariant& v)
{
    std::optional<int> zoom = ReadInt(v);
    if (zoom && (*zoom < 0 || *zoom > 4))
        return std::nullopt;
    return zoom;
}

// One of the three lesson text colours, in its canonical spelling.
std::optional<QString> ReadTextBackground(const QVariant& v)
{
    std::optional<QString> text = ReadString(v);
    if (!text)
        return std::nullopt;
    for (const QString& colour :
         {str::sTextBgndWhite(), str::sTextBgndPaleBlue(), str::sTextBgndPaleYellow()})
        if (text->trimmed().compare(colour, Qt::CaseInsensitive) == 0)
            return colour;
    return std::nullopt;
}

std::optional<QString> ReadSkin(const QVariant& v)
{
    std::optional<QString> name = ReadString(v);
    if (!name || !IsKnownTheme(*name))
        return std::nullopt;
    return name;
}

// The bounds as stored; whether they fit a screen of this machine is asked
// apart, since bounds that once fitted are sound.
std::optional<QRect> ReadPosition(const QVariant& v)
{
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return DecodePosition(v.toByteArray());
}

// A lesson page's bare file name: a value naming anything else (a folder, a
// file elsewhere) is damage.
std::optional<QString> ReadPage(const QVariant& v)
{
    std::optional<QString> page = ReadString(v);
    if (!page || page->isEmpty() || page->size() > 255 || page->startsWith(QLatin1Char('.')) ||
        page->contains(QLatin1Char('/')) || page->contains(QLatin1Char('\\')) ||
        page->contains(QLatin1Char(':')))
        return std::nullopt;
    if (!page->endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) &&
        !page->endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        return std::nullopt;
    return page;
}

std::optional<int> ReadSplit(const QVariant& v)
{
    std::optional<int> split = ReadInt(v);
    if (split && (*split < 0 || *split >= kSplitModes))
        return std::nullopt;
    return split;
}

// "TBTop" and "Large": only 0 means off.
std::optional<bool> ReadFlag(const QVariant& v)
{
    const std::optional<int> flag = ReadInt(v);
    return flag ? std::optional<bool>(*flag != 0) : std::nullopt;
}

std::optional<int> ReadExperiment(const QVariant& v)
{
    const std::optional<int> experiment = ReadInt(v);
    return experiment && *experiment > 0 ? experiment : std::nullopt;
}

// The value of key read by read; a value that is there but of no use is
// named in unusable.
template <typename T>
std::optional<T> ReadValue(const QSettings& store, const QString& key,
                           std::optional<T> (*read)(const QVariant&), QStringList& unusable)
{
    if (!store.contains(key))
        return std::nullopt;
    std::optional<T> value = read(store.value(key));
    if (!value)
        unusable.append(key);
    return value;
}

// One of the saved values: its name in the store and its place in
// TSavedSettings.
struct TValueSlot {
    QString key;
    // into's value taken from from, when into has none.
    void (*take)(TSavedSettings& into, const TSavedSettings& from);
    // into's value replaced by from's, or by none.
    void (*replace)(TSavedSettings& into, const TSavedSettings& from);
};

template <auto Member>
TValueSlot Slot(const QString& key)
{
    return {key,
            [](TSavedSettings& into, const TSavedSettings& from) {
                if (!(into.*Member))
                    into.*Member = from.*Member;
            },
            [](TSavedSettings& into, const TSavedSettings& from) { into.*Member = from.*Member; }};
}

const std::array<TValueSlot, 9>& ValueSlots()
{
    static const std::array<TValueSlot, 9> valueSlots = {
        Slot<&TSavedSettings::zoom>(kZoom),
        Slot<&TSavedSettings::textBackground>(kTextBackground),
        Slot<&TSavedSettings::toolbarsAtTop>(kToolbarsAtTop),
        Slot<&TSavedSettings::skin>(kSkin),
        Slot<&TSavedSettings::large>(kLarge),
        Slot<&TSavedSettings::position>(kPosition),
        Slot<&TSavedSettings::page>(kPage),
        Slot<&TSavedSettings::experiment>(kExperiment),
        Slot<&TSavedSettings::split>(kSplit),
    };
    return valueSlots;
}

// Each value into lacks, taken from from.
void TakeMissing(TSavedSettings& into, const TSavedSettings& from)
{
    for (const TValueSlot& slot : ValueSlots())
        slot.take(into, from);
}

bool IsValueName(const QString& name)
{
    const auto& valueSlots = ValueSlots();
    return std::any_of(valueSlots.begin(), valueSlots.end(),
                       [&name](const TValueSlot& slot) { return slot.key == name; });
}

// "locked" in a school's file: the names of the values the pupils cannot
// change, "Skin, Large" (which the INI format reads as a list).  Empty when
// the value is of no use: a name that is none of the values is a mistake the
// technician should hear of, not a lock silently missing.
std::optional<QStringList> ReadLocked(const QVariant& v)
{
    QStringList names;
    if (v.typeId() == QMetaType::QStringList)
        names = v.toStringList();
    else if (v.typeId() == QMetaType::QString)
        names = v.toString().split(QLatin1Char(','));
    else
        return std::nullopt;
    QStringList locked;
    for (const QString& name : std::as_const(names)) {
        const QString key = name.trimmed();
        if (key.isEmpty())
            continue;
        if (!IsValueName(key))
            return std::nullopt;
        locked.append(key);
    }
    return locked;
}

const QString kSchoolAppFile = QStringLiteral("Karvelle/BRV_v4.conf");
const QString kSchoolOrganisationFile = QStringLiteral("Karvelle.conf");

struct TSchoolFile {
    bool usable = false;
    std::optional<TSavedSettings> values;
    QStringList locked;
};

// Text of an INI file: UTF-8 lines, each blank, a comment, a [heading], a
// key=value, or the continuation of a line ending in a backslash.  QSettings
// reports a damaged file only the first time the process reads it, so the
// file is judged here, every time.
bool IsSettingsText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError() || text.contains(QChar(0)))
        return false;
    // Editors on Windows start the file with a byte-order mark; QSettings skips it.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    bool continued = false;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        const bool sound = continued || line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
                           line.startsWith(QLatin1Char('#')) ||
                           (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) ||
                           line.indexOf(QLatin1Char('=')) > 0;
        if (!sound)
            return false;
        continued = line.endsWith(QLatin1Char('\\'));
    }
    return true;
}

TSchoolFile ReadSchoolFile(const QString& path)
{
    // QSettings reads an unreadable file as an empty one.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !IsSettingsText(file.readAll()))
        return {};
    QSettings store(path, QSettings::IniFormat);
    TSchoolFile school;
    school.values = ReadSettings(store);
    QStringList unusable = school.values ? school.values->unusable : QStringList();
    school.locked = ReadValue(store, kLocked, ReadLocked, unusable).value_or(QStringList());
    school.usable = unusable.isEmpty();
    return school;
}

}  // namespace

QString UnusableSettingsMessage(const TSavedSettings& saved)
{
    if (saved.unusable.isEmpty())
        return {};
    return str::sSettingsUnusable().arg(
        QDir::toNativeSeparators(saved.file),
        QLatin1Char('"') + saved.unusable.join(QStringLiteral("\", \"")) + QLatin1Char('"'));
}

QSettings* NewSettingsStore()
{
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Karvelle"),
                         QStringLiteral("BRV_v4"));
}

std::optional<TSavedSettings> ReadSettings()
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    // The school's files are read here, each checked whole, rather than
    // through Qt's fallback, which would mix in the values of a damaged one.
    store->setFallbacksEnabled(false);
    const std::optional<TSavedSettings> own = ReadSettings(*store);
    // The school's values, the first file holding one winning, and the
    // names of those the pupils cannot change.
    std::optional<TSavedSettings> school;
    QStringList locked;
    for (const QString& path : SchoolSettingsFiles()) {
        const TSchoolFile file = ReadSchoolFile(path);
        if (!file.usable)
            continue;
        locked += file.locked;
        if (file.values) {
            if (!school)
                school.emplace();
            TakeMissing(*school, *file.values);
        }
    }
    if (!school && locked.isEmpty())
        return own;
    TSavedSettings saved = own.value_or(TSavedSettings());
    const TSavedSettings schools = school.value_or(TSavedSettings());
    // A locked value the school gives no value for is the built-in one.
    for (const TValueSlot& slot : ValueSlots())
        (locked.contains(slot.key) ? slot.replace : slot.take)(saved, schools);
    return saved;
}

std::optional<TSavedSettings> ReadSettings(QSettings& store)
{
    if (store.allKeys().isEmpty())
        return std::nullopt;
    TSavedSettings saved;
    QStringList& unusable = saved.unusable;
    saved.zoom = ReadValue(store, kZoom, ReadZoom, unusable);
    saved.textBackground = ReadValue(store, kTextBackground, ReadTextBackground, unusable);
    saved.toolbarsAtTop = ReadValue(store, kToolbarsAtTop, ReadFlag, unusable);
    saved.skin = ReadValue(store, kSkin, ReadSkin, unusable);
    saved.large = ReadValue(store, kLarge, ReadFlag, unusable);
    if (const std::optional<QRect> bounds = ReadValue(store, kPosition, ReadPosition, unusable))
        saved.position = FitOnScreen(*bounds);
    saved.page = ReadValue(store, kPage, ReadPage, unusable);
    saved.experiment = ReadValue(store, kExperiment, ReadExperiment, unusable);
    saved.split = ReadValue(store, kSplit, ReadSplit, unusable);
    // 0 is what the window saves when no experiment was shown: no value, but no damage.
    if (ReadInt(store.value(kExperiment)) == 0)
        unusable.removeAll(kExperiment);
    saved.file = store.fileName();
    return saved;
}

QStringList SchoolSettingsFiles()
{
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    // The first is the user's own folder.
    if (!folders.isEmpty())
        folders.removeFirst();
    QStringList files;
    for (const QString& name : {kSchoolAppFile, kSchoolOrganisationFile})
        for (const QString& folder : std::as_const(folders))
            if (const QString path = QDir(folder).filePath(name); QFileInfo::exists(path))
                files.append(path);
    return files;
}

QStringList IgnoredSchoolSettingsFiles()
{
    QStringList ignored;
    for (const QString& path : SchoolSettingsFiles())
        if (!ReadSchoolFile(path).usable)
            ignored.append(path);
    return ignored;
}

bool WriteSettings(const TSettingsToSave& values)
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    return WriteSettings(*store, values);
}

bool WriteSettings(QSettings& store, const TSettingsToSave& values)
{
    if (!store.isWritable())
        return false;
    store.setValue(kZoom, values.zoom);
    store.setValue(kTextBackground, values.textBackground);
    store.setValue(kToolbarsAtTop, values.toolbarsAtTop ? 1 : 0);
    store.setValue(kSkin, values.skin);
    store.setValue(kLarge, values.large ? 1 : 0);
    store.setValue(kPosition, EncodePosition(values.position));
    if (values.page.isEmpty())
        store.remove(kPage);
    else
        store.setValue(kPage, values.page);
    store.setValue(kExperiment, values.experiment);
    store.setValue(kSplit, values.split);
    store.sync();
    return store.status() == QSettings::NoError;
}

QByteArray EncodePosition(const QRect& bounds)
{
    const std::array<std::int32_t, 4> sides = {bounds.left(), bounds.top(), bounds.left() + bounds.width(),
                                               bounds.top() + bounds.height()};
    QByteArray bytes(kPositionBytes, '\0');
    for (std::size_t i = 0; i < sides.size(); ++i)
        qToLittleEndian<std::int32_t>(sides[i], bytes.data() + 4 * i);
    return bytes;
}

std::optional<QRect> DecodePosition(const QByteArray& bytes)
{
    if (bytes.size() != kPositionBytes)
        return std::nullopt;
    std::array<std::int64_t, 4> sides{};
    for (std::size_t i = 0; i < sides.size(); ++i)
        sides[i] = qFromLittleEndian<std::int32_t>(bytes.constData() + 4 * i);
    const std::int64_t width = sides[2] - sides[0];
    const std::int64_t height = sides[3] - sides[1];
    if (width <= 0 || height <= 0 || width > kMaxWindowSide || height > kMaxWindowSide)
        return std::nullopt;
    return QRect(int(sides[0]), int(sides[1]), int(width), int(height));
}

namespace {

// The screen showing the largest usable part of bounds.
const QScreen* ScreenHolding(const QRect& bounds)
{
    const QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect visible = bounds.intersected(screen->geometry());
        const qint64 area = qint64(visible.width()) * visible.height();
        if (visible.width() >= kMinVisible && visible.height() >= kMinVisible && area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The start of a span of length size moved inside [low, low + room).
int ClampStart(int start, int size, int low, int room)
{
    return std::clamp(start, low, low + room - size);
}

}  // namespace

std::optional<QRect> FitOnScreen(const QRect& bounds)
{
    const QScreen* screen = ScreenHolding(bounds);
    if (screen == nullptr)
        return std::nullopt;
    const QRect area = screen->availableGeometry();
    const QSize size = bounds.size().boundedTo(area.size());
    return QRect(QPoint(ClampStart(bounds.left(), size.width(), area.left(), area.width()),
                        ClampStart(bounds.top(), size.height(), area.top(), area.height())),
                 size);
}

TResultsPanelPlace ReadResultsPanelPlace()
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    TResultsPanelPlace place;
    place.shown = store->value(QStringLiteral("ResultsShown")).toInt() == 1;
    bool ok = false;
    const int height = store->value(QStringLiteral("ResultsHeight")).toInt(&ok);
    // A height out of any screen is left to the default.
    place.height = ok && height > 0 && height < 20000 ? height : 0;
    return place;
}

void WriteResultsPanelPlace(const TResultsPanelPlace& place)
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    store->setValue(QStringLiteral("ResultsShown"), place.shown ? 1 : 0);
    if (place.height > 0)
        store->setValue(QStringLiteral("ResultsHeight"), place.height);
}

}  // namespace brv
