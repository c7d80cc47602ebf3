#include "runtime/Image32.h"

#include "common/FrameRate.h"
#include "runtime/AddMaths.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

#include <cmath>
#include <cstring>
#include <utility>

namespace brv {

// --- layers --------------------------------------------------------------------

void TPositionedLayer::SetLocation(const TFloatRect& r)
{
    owner_.Invalidate(Footprint());
    location_ = r;
    owner_.Invalidate(Footprint());
}

void TPositionedLayer::SetVisible(bool v)
{
    if (visible_ == v)
        return;
    visible_ = v;
    owner_.Invalidate(Footprint());
}

void TPositionedLayer::Changed()
{
    owner_.Invalidate(Footprint());
}

void TPositionedLayer::SetPaintBounds(const TFloatRect& r)
{
    owner_.Invalidate(Footprint());
    hasPaintBounds_ = true;
    paintsAnywhere_ = false;
    paintBounds_ = r;
    owner_.Invalidate(Footprint());
}

void TPositionedLayer::PaintsAnywhere()
{
    paintsAnywhere_ = true;
    owner_.Invalidate(Footprint());
}

void TPositionedLayer::ClearPaintBounds()
{
    owner_.Invalidate(Footprint());
    hasPaintBounds_ = false;
    paintsAnywhere_ = false;
}

TRect TPositionedLayer::Footprint() const
{
    // Far beyond any picture, yet far from int's limits.
    static constexpr float kFar = 1e9f;
    if (paintsAnywhere_)
        return {int(-kFar), int(-kFar), int(kFar), int(kFar)};
    TFloatRect r = location_;
    if (hasPaintBounds_) {
        r.Left = std::min(r.Left, paintBounds_.Left);
        r.Top = std::min(r.Top, paintBounds_.Top);
        r.Right = std::max(r.Right, paintBounds_.Right);
        r.Bottom = std::max(r.Bottom, paintBounds_.Bottom);
    }
    // Antialiased outlines and a closing line on the right or bottom edge
    // reach a pixel past what the layer paints.
    constexpr int margin = 2;
    const auto low = [](float v) { return int(std::max(std::floor(v), -kFar)); };
    const auto high = [](float v) { return int(std::min(std::ceil(v), kFar)); };
    return {low(r.Left) - margin, low(r.Top) - margin, high(r.Right) + margin, high(r.Bottom) + margin};
}

TRect TPositionedLayer::PixelRect() const
{
    return {Round(location_.Left), Round(location_.Top), Round(location_.Right), Round(location_.Bottom)};
}

// --- picture control -----------------------------------------------------------

namespace {

// The screen shows colours without regard to their alpha; the composed
// picture is made opaque so that it reads the same everywhere it goes.
void ShowOpaque(TBitmap32& buffer, const TRect& area)
{
    TColor32* row = buffer.Bits() + std::size_t(area.Top) * std::size_t(buffer.Width());
    for (int y = area.Top; y < area.Bottom; ++y, row += buffer.Width())
        for (int x = area.Left; x < area.Right; ++x)
            row[x] |= 0xFF000000u;
}

QRect ToQRect(const TRect& r)
{
    return {r.Left, r.Top, r.Width(), r.Height()};
}

TRect ToTRect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

TImage32::TImage32(QWidget* parent) : QWidget(parent), frameTimer_(new QTimer(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    frameTimer_->setSingleShot(true);
    frameTimer_->setTimerType(Qt::PreciseTimer);
    connect(frameTimer_, &QTimer::timeout, this, [this] { askForPaint(); });
    listenerId_ = bitmap_.AddChangeListener([this] { Invalidate(); });
}

TImage32::~TImage32()
{
    bitmap_.RemoveChangeListener(listenerId_);
}

TPositionedLayer& TImage32::AddLayer()
{
    layers_.push_back(std::unique_ptr<TPositionedLayer>(new TPositionedLayer(*this)));
    Invalidate();
    return *layers_.back();
}

void TImage32::FitBitmapToControl()
{
    ratio_ = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1;
    const QSize size = PixelSize();
    bitmap_.SetSize(size.width(), size.height());
}

QSize TImage32::PixelSize() const
{
    return toPixels(rect()).size();
}

namespace {

// r's edges times mul / div, each rounded outwards.
QRect ScaledOutwards(const QRect& r, qreal mul, qreal div)
{
    const int left = int(std::floor(r.left() * mul / div));
    const int top = int(std::floor(r.top() * mul / div));
    const int right = int(std::ceil((r.left() + r.width()) * mul / div));
    const int bottom = int(std::ceil((r.top() + r.height()) * mul / div));
    return {left, top, right - left, bottom - top};
}

}  // namespace

QRect TImage32::toPixels(const QRect& r) const
{
    return ratio_ == 1 ? r : ScaledOutwards(r, ratio_, 1);
}

QRect TImage32::toControl(const QRect& r) const
{
    return ratio_ == 1 ? r : ScaledOutwards(r, 1, ratio_);
}

QPoint TImage32::pixelAt(const QPointF& p) const
{
    return {int(std::floor(p.x() * ratio_)), int(std::floor(p.y() * ratio_))};
}

QRegion TImage32::toControl(const QRegion& r) const
{
    if (ratio_ == 1)
        return r;
    QRegion control;
    for (const QRect& rect : r)
        control += toControl(rect);
    return control;
}

qreal TImage32::FrameRate() const
{
    return brv::FrameRate(screen());
}

qint64 TImage32::msToNextFrame() const
{
    if (!lastPaint_.isValid())
        return 0;
    const qint64 frame = FrameNanoseconds(screen());
    const qint64 left = frame - lastPaint_.nsecsElapsed();
    return left <= 0 ? 0 : (left + 999999) / 1000000;
}

void TImage32::Repaint()
{
    const bool due = msToNextFrame() == 0;
    Invalidate();
    if (due)
        repaint(toControl(pending_));
}

void TImage32::Invalidate()
{
    const QSize size = PixelSize();
    Invalidate({0, 0, size.width(), size.height()});
}

void TImage32::Invalidate(const TRect& r)
{
    const QRect area = ToQRect(r).intersected(QRect(QPoint(0, 0), PixelSize()));
    if (area.isEmpty())
        return;
    pending_ += area;
    if (paintAsked_) {
        // This frame's paint is on its way: it takes the change along.
        update(toControl(area));
        return;
    }
    owed_ += area;
    if (frameTimer_->isActive())
        return;
    if (const qint64 wait = msToNextFrame(); wait > 0)
        frameTimer_->start(int(wait));
    else
        askForPaint();
}

void TImage32::askForPaint()
{
    frameTimer_->stop();
    if (owed_.isEmpty())
        return;
    paintAsked_ = true;
    update(toControl(owed_));
    owed_ = QRegion();
}

void TImage32::PaintNow()
{
    const QRegion area = pending_ | owed_;
    owed_ = QRegion();
    frameTimer_->stop();
    if (!area.isEmpty())
        repaint(toControl(area));
}

void TImage32::PaintTo(TBitmap32& buffer)
{
    const QSize size = PixelSize();
    buffer.SetSize(size.width(), size.height());
    compose(buffer, buffer.BoundsRect());
}

void TImage32::PaintPending(TBitmap32& buffer)
{
    const QRect whole(QPoint(0, 0), PixelSize());
    if (buffer.Width() != whole.width() || buffer.Height() != whole.height()) {
        PaintTo(buffer);
    } else {
        for (const QRect& r : pending_)
            compose(buffer, ToTRect(r.intersected(whole)));
    }
    pending_ = QRegion();
}

void TImage32::compose(TBitmap32& buffer, const TRect& area)
{
    if (area.IsEmpty())
        return;
    buffer.BeginUpdate();
    buffer.SetClipRect(area);
    const TRect clip = buffer.ClipRect();
    // Where the bitmap does not reach, the control's own background shows.
    const TColor32 background = palette().color(backgroundRole()).rgb();
    const int right = std::min(bitmap_.Width(), clip.Right);
    const int bottom = std::min(bitmap_.Height(), clip.Bottom);
    if (right > clip.Left && bottom > clip.Top) {
        const std::size_t count = std::size_t(right - clip.Left);
        for (int y = clip.Top; y < bottom; ++y)
            std::memcpy(
                buffer.Bits() + std::size_t(y) * std::size_t(buffer.Width()) + clip.Left,
                std::as_const(bitmap_).Bits() + std::size_t(y) * std::size_t(bitmap_.Width()) + clip.Left,
                count * sizeof(TColor32));
    }
    buffer.FillRect(bitmap_.Width(), 0, buffer.Width(), buffer.Height(), background);
    buffer.FillRect(0, bitmap_.Height(), buffer.Width(), buffer.Height(), background);
    for (const auto& layer : layers_) {
        if (!layer->Visible() || !layer->OnPaint)
            continue;
        buffer.SetClipRect(clip);
        layer->OnPaint(*layer, buffer);
    }
    ShowOpaque(buffer, clip);
    buffer.ResetClipRect();
    buffer.EndUpdate();
}

TPositionedLayer* TImage32::LayerAt(int x, int y)
{
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        TPositionedLayer& layer = **it;
        const TFloatRect r = layer.Location();
        if (layer.Visible() && layer.MouseEvents && x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return &layer;
    }
    return nullptr;
}

void TImage32::SetBaseCursor(Qt::CursorShape c)
{
    baseCursor_ = c;
    if (!ownCursor_)
        setCursor(c);
}

void TImage32::updateCursor(int x, int y)
{
    const TPositionedLayer* layer = LayerAt(x, y);
    ownCursor_ = layer != nullptr;
    const Qt::CursorShape wanted = layer ? layer->Cursor : baseCursor_;
    if (cursor().shape() != wanted)
        setCursor(wanted);
}

void TImage32::paintEvent(QPaintEvent* event)
{
    paintAsked_ = false;
    lastPaint_.start();
    // What the window system asks for (an uncovered part, say) is marked
    // with the layers' own marks and composed with them.
    for (const QRect& r : event->region())
        pending_ += toPixels(r);
    PaintPending(buffer_);
    const QImage& pixels = buffer_.Image();
    if (pixels.isNull())
        return;
    QPainter p(this);
    // The buffer is opaque: shown as plain RGB it is copied, not blended,
    // one bitmap pixel to one pixel of the screen.
    QImage shown(pixels.constBits(), pixels.width(), pixels.height(), pixels.bytesPerLine(),
                 QImage::Format_RGB32);
    shown.setDevicePixelRatio(ratio_);
    if (ratio_ == 1) {
        for (const QRect& r : event->region())
            p.drawImage(r.topLeft(), shown, r);
    } else {
        p.setClipRegion(event->region());
        p.drawImage(QPointF(0, 0), shown);
    }
}

void TImage32::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize();
}

void TImage32::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event->position());
    if (OnMouseDown)
        OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TImage32::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event->position());
    if (OnMouseMove)
        OnMouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
    updateCursor(p.x(), p.y());
}

void TImage32::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = pixelAt(event->position());
    if (OnMouseUp)
        OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

// --- sprite list ---------------------------------------------------------------

TBitmap32& TBitmap32List::Add()
{
    items_.push_back(std::make_unique<TBitmap32>());
    items_.back()->DrawMode = TDrawMode::dmBlend;
    return *items_.back();
}

}  // namespace brv
