#include "shell/uSettings.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/uThemes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
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

std::optional<QRect> ReadPosition(const QVariant& v)
{
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    const std::optional<QRect> bounds = DecodePosition(v.toByteArray());
    return bounds ? FitOnScreen(*bounds) : std::nullopt;
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

}  // namespace

QSettings* NewSettingsStore()
{
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Karvelle"),
                         QStringLiteral("BRV_v4"));
}

std::optional<TSavedSettings> ReadSettings()
{
    std::unique_ptr<QSettings> store(NewSettingsStore());
    return ReadSettings(*store);
}

std::optional<TSavedSettings> ReadSettings(QSettings& store)
{
    if (store.allKeys().isEmpty())
        return std::nullopt;
    TSavedSettings saved;
    saved.textBackground = ReadTextBackground(store.value(kTextBackground));
    saved.zoom = ReadZoom(store.value(kZoom));
    if (std::optional<int> top = ReadInt(store.value(kToolbarsAtTop)))
        saved.toolbarsAtTop = *top != 0;
    saved.skin = ReadSkin(store.value(kSkin));
    if (std::optional<int> large = ReadInt(store.value(kLarge)))
        saved.large = *large != 0;
    saved.position = ReadPosition(store.value(kPosition));
    saved.page = ReadPage(store.value(kPage));
    if (std::optional<int> experiment = ReadInt(store.value(kExperiment)); experiment && *experiment > 0)
        saved.experiment = experiment;
    saved.split = ReadSplit(store.value(kSplit));
    return saved;
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
