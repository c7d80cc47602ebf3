#include "runtime/Image32.h"

#include "runtime/AddMaths.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>
#include <cstring>
#include <utility>

namespace brv {

// --- layers --------------------------------------------------------------------

void TPositionedLayer::SetLocation(const TFloatRect& r)
{
    location_ = r;
    owner_.update();
}

void TPositionedLayer::SetVisible(bool v)
{
    if (visible_ == v)
        return;
    visible_ = v;
    owner_.update();
}

TRect TPositionedLayer::PixelRect() const
{
    return {Round(location_.Left), Round(location_.Top), Round(location_.Right), Round(location_.Bottom)};
}

// --- picture control -----------------------------------------------------------

namespace {

// The screen shows colours without regard to their alpha; the composed
// picture is made opaque so that it reads the same everywhere it goes.
void ShowOpaque(TBitmap32& buffer)
{
    TColor32* p = buffer.Bits();
    const std::size_t count = std::size_t(buffer.Width()) * std::size_t(buffer.Height());
    for (std::size_t i = 0; i < count; ++i)
        p[i] |= 0xFF000000u;
}

}  // namespace

TImage32::TImage32(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    listenerId_ = bitmap_.AddChangeListener([this] { update(); });
}

TImage32::~TImage32() { bitmap_.RemoveChangeListener(listenerId_); }

TPositionedLayer& TImage32::AddLayer()
{
    layers_.push_back(std::unique_ptr<TPositionedLayer>(new TPositionedLayer(*this)));
    update();
    return *layers_.back();
}

void TImage32::FitBitmapToControl() { bitmap_.SetSize(width(), height()); }

void TImage32::Repaint() { repaint(); }

void TImage32::PaintTo(TBitmap32& buffer)
{
    buffer.BeginUpdate();
    buffer.SetSize(width(), height());
    buffer.ResetClipRect();
    // Where the bitmap does not reach, the control's own background shows.
    const TColor32 background = palette().color(backgroundRole()).rgb();
    const int w = std::min(bitmap_.Width(), buffer.Width());
    const int h = std::min(bitmap_.Height(), buffer.Height());
    if (w > 0 && h > 0) {
        TColor32* to = buffer.Bits();
        const TColor32* from = std::as_const(bitmap_).Bits();
        for (int y = 0; y < h; ++y, to += buffer.Width(), from += bitmap_.Width())
            std::memcpy(to, from, std::size_t(w) * sizeof(TColor32));
    }
    buffer.FillRect(w, 0, buffer.Width(), h, background);
    buffer.FillRect(0, h, buffer.Width(), buffer.Height(), background);
    for (const auto& layer : layers_) {
        if (!layer->Visible() || !layer->OnPaint)
            continue;
        buffer.ResetClipRect();
        layer->OnPaint(*layer, buffer);
    }
    buffer.ResetClipRect();
    ShowOpaque(buffer);
    buffer.EndUpdate();
}

TPositionedLayer* TImage32::LayerAt(int x, int y)
{
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        TPositionedLayer& layer = **it;
        const TFloatRect r = layer.Location();
        if (layer.Visible() && layer.MouseEvents && x >= r.Left && x < r.Right && y >= r.Top &&
            y < r.Bottom)
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

void TImage32::paintEvent(QPaintEvent*)
{
    PaintTo(buffer_);
    const QImage& pixels = buffer_.Image();
    if (pixels.isNull())
        return;
    QPainter p(this);
    // The buffer is opaque: shown as plain RGB it is copied, not blended.
    p.drawImage(0, 0, QImage(pixels.constBits(), pixels.width(), pixels.height(),
                             pixels.bytesPerLine(), QImage::Format_RGB32));
}

void TImage32::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize();
}

namespace {

// The control pixel under the pointer.
QPoint PixelOf(const QMouseEvent* event)
{
    const QPointF p = event->position();
    return {int(std::floor(p.x())), int(std::floor(p.y()))};
}

}  // namespace

void TImage32::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = PixelOf(event);
    if (OnMouseDown)
        OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TImage32::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = PixelOf(event);
    if (OnMouseMove)
        OnMouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
    updateCursor(p.x(), p.y());
}

void TImage32::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = PixelOf(event);
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
