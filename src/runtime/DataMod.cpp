#include "runtime/DataMod.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <optional>

// The pictures live in this static library's resources, and a linker keeps an
// object of a static library only when something refers to it: this reference
// is what pulls the resources into the program.
static bool RegisterIconResources()
{
    Q_INIT_RESOURCE(icons);
    return true;
}

namespace brv {

namespace {

// One file per picture, in index order (TButtonImage).
constexpr std::array<const char*, kSmallButtonCount> kButtonPictures = {
    "00-house",
    "01-back",
    "02-forward",
    "03-font-size",
    "04-colour-page",
    "05-list-page",
    "06-stop",
    "07-start",
    "08-meter-circuit",
    "09-reset",
    "10-coil-nail",
    "11-nail-rows",
    "12-block-rough",
    "13-ammeter-voltmeter",
    "14-beaker",
    "15-dropper",
    "16-syringe",
    "17-thermometer-short",
    "18-thermometer-tall",
    "19-magnifier",
    "20-printer",
};

// In TSplitImage order.
constexpr std::array<const char*, 3> kSplitPictures = {"split-left", "split-normal", "split-right"};
constexpr int kSplitPictureSize = 16;

void EnsureIconResources()
{
    static const bool registered = RegisterIconResources();
    Q_UNUSED(registered);
}

qreal PrimaryScreenPixelRatio()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

template <size_t N>
QStringList FirstPictures(const std::array<const char*, N>& pictures, int count)
{
    QStringList names;
    const int n = std::clamp(count, 0, int(N));
    for (int i = 0; i < n; ++i)
        names << QString::fromLatin1(pictures[size_t(i)]);
    return names;
}

QString PicturePath(const QString& name)
{
    return QStringLiteral(":/brv/icons/") + name + QStringLiteral(".svg");
}

// Rendered on a pixel grid of size × ratio so that the outlines, drawn on the
// half-pixel lines of the 24-unit artwork, stay sharp on High-DPI screens too.
QPixmap RenderPicture(const QString& name, int size, qreal ratio)
{
    if (size <= 0)
        return {};
    // Whole pixels, and a ratio adjusted to them so that the logical size stays
    // exactly size on screens with an uneven scale (1.33 and the like).
    const int pixels = std::max(1, qRound(size * ratio));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(qreal(pixels) / size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(PicturePath(name));
    if (!renderer.isValid()) {
        qWarning("Toolbar picture %s is missing or unreadable", qPrintable(PicturePath(name)));
        return pixmap;
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

// The image index an action carries; none when it has no (integer) index.
std::optional<int> ImageIndexOf(const QAction* action)
{
    const QVariant value = action->property(kImageIndexProperty);
    bool ok = false;
    const int index = value.toInt(&ok);
    if (!value.isValid() || !ok)
        return std::nullopt;
    return index;
}

}  // namespace

TImageList::TImageList(int size, int count) : TImageList(size, count, PrimaryScreenPixelRatio()) {}

TImageList::TImageList(int size, int count, qreal pixelRatio)
    : TImageList(size, FirstPictures(kButtonPictures, count), pixelRatio)
{
}

TImageList::TImageList(int size, const QStringList& pictures, qreal pixelRatio) : size_(size)
{
    EnsureIconResources();
    const qreal ratio = pixelRatio > 0 ? pixelRatio : 1.0;
    images_.reserve(size_t(pictures.size()));
    for (const QString& name : pictures)
        images_.push_back(RenderPicture(name, size, ratio));
}

QPixmap TImageList::Pixmap(int i) const
{
    if (i < 0 || i >= Count())
        return {};
    return images_[size_t(i)];
}

QIcon TImageList::Icon(int i) const
{
    const QPixmap pixmap = Pixmap(i);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

TDataMod& TDataMod::Instance()
{
    static TDataMod dataMod;
    return dataMod;
}

TDataMod::TDataMod()
    : buttons24_(kSmallButtonSize, kSmallButtonCount),
      buttons48_(kLargeButtonSize, kLargeButtonCount),
      splitPictures_(kSplitPictureSize, FirstPictures(kSplitPictures, int(kSplitPictures.size())),
                     PrimaryScreenPixelRatio())
{
}

QIcon SplitIcon(int which)
{
    return TDataMod::Instance().SplitPictures().Icon(which);
}

void ApplyImageList(QToolBar* toolbar, const TImageList& list)
{
    if (toolbar == nullptr)
        return;
    const QSize iconSize(list.Size(), list.Size());
    toolbar->setIconSize(iconSize);
    for (QAction* action : toolbar->actions()) {
        const std::optional<int> index = ImageIndexOf(action);
        if (!index)
            continue;
        const QIcon icon = list.Icon(*index);
        action->setIcon(icon);
        // A drop-down item added as a widget is a button of its own that does
        // not follow its action's icon nor the toolbar's icon size.
        auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
        if (button != nullptr && button->defaultAction() != action) {
            button->setIcon(icon);
            button->setIconSize(iconSize);
        }
    }
}

}  // namespace brv
