// The picture control of every experiment: a background bitmap shown at scale
// 1 from the top-left corner, with paint layers on top painted in creation
// order.
#pragma once

#include "Bitmap32.h"

#include <QElapsedTimer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QTimer;

namespace brv {

class TImage32;

class TPositionedLayer {
public:
    using PaintHandler = std::function<void(TPositionedLayer& layer, TBitmap32& buffer)>;

    TFloatRect Location() const { return location_; }
    void SetLocation(const TFloatRect& r);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    bool MouseEvents = true;
    Qt::CursorShape Cursor = Qt::ArrowCursor;
    // OnPaint draws within the location (a pixel or two of antialiasing may
    // spill over), or within the paint bounds where the layer has any, and
    // within the buffer's clip rectangle, which it may narrow but must
    // restore: only the parts of the picture that changed are painted again.
    PaintHandler OnPaint;
    // For a layer that paints outside its location (a label beside a tray, a
    // plunger out of its barrel): the bitmap pixels it may paint, location
    // included or not.  Moving, changing or hiding the layer then repaints
    // all of them.  PaintsAnywhere covers the whole picture.
    void SetPaintBounds(const TFloatRect& r);
    void PaintsAnywhere();
    void ClearPaintBounds();
    // Location rounded to whole pixels (ties to even).
    TRect PixelRect() const;
    // The pixels the layer may paint: its location and its paint bounds,
    // with a margin.
    TRect Footprint() const;
    // What OnPaint draws has changed (its location has not).
    void Changed();
    TImage32& Owner() const { return owner_; }

private:
    friend class TImage32;
    explicit TPositionedLayer(TImage32& owner) : owner_(owner) {}
    TImage32& owner_;
    TFloatRect location_{0, 0, 64, 64};
    bool visible_ = true;
    bool hasPaintBounds_ = false;
    bool paintsAnywhere_ = false;
    TFloatRect paintBounds_{0, 0, 0, 0};
};

class TImage32 : public QWidget {
    Q_OBJECT
public:
    explicit TImage32(QWidget* parent = nullptr);
    ~TImage32() override;

    TBitmap32& Bitmap() { return bitmap_; }
    // Appends a new layer on top of the existing ones; the picture owns it.
    TPositionedLayer& AddLayer();
    int LayerCount() const { return int(layers_.size()); }
    TPositionedLayer& Layer(int i) { return *layers_[std::size_t(i)]; }

    // Bitmap := the control's client size in the screen's own pixels (twice
    // the control's size on a screen that shows two pixels per point),
    // keeping (not clearing) its pixels.  Until then the bitmap's pixels are
    // the control's.
    void FitBitmapToControl();
    // Bitmap pixels per control pixel, and the control's size in them.  The
    // layers, the mouse handlers and Invalidate all work in bitmap pixels.
    qreal PixelRatio() const { return ratio_; }
    QSize PixelSize() const;
    // Paints are paced to the screen's refresh: a picture is painted at most
    // once a frame, however often it changes.  A change marks its pixels, and
    // the next paint composes everything marked since the last one, so each
    // paint shows the whole change; a clock ticking every millisecond gives
    // some sixty paints a second, not a thousand that no screen shows.
    //
    // Repaint: the whole picture (background, then the visible layers) at
    // once, or at the next frame when one was painted less than a frame ago.
    void Repaint();
    // Marks the whole control, or the pixels r, to be painted again at the
    // next frame.
    void Invalidate();
    void Invalidate(const TRect& r);
    // The parts marked since the last paint.
    const QRegion& Pending() const { return pending_; }
    // Paints what is marked at once, without waiting for the next frame
    // (tools and tests that move time on by hand).
    void PaintNow();
    // Paints a second at most: the refresh rate of the screen the picture is
    // on (common/FrameRate.h).
    qreal FrameRate() const;
    // Brings buffer, the picture as last composed into it, up to date by
    // composing only the parts marked since then, as the screen is; a buffer
    // of another size is composed whole.
    void PaintPending(TBitmap32& buffer);
    // The picture as the last paint event left it on the screen.
    const TBitmap32& Shown() const { return buffer_; }
    // Composes background and layers into buffer exactly as shown on screen
    // (for snapshots and pixel tests): buffer := PixelSize(), the
    // bitmap at (0, 0) (the control's background colour where it does not
    // reach), each visible layer's OnPaint in creation order; the result is
    // made opaque (alpha 0xFF), as the screen disregards alpha.
    void PaintTo(TBitmap32& buffer);
    // Topmost visible layer with mouse events whose location holds (x, y).
    TPositionedLayer* LayerAt(int x, int y);

    // Mouse handlers in bitmap pixels.
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseUp;
    std::function<void()> OnResize;

    QSize sizeHint() const override { return {400, 300}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void updateCursor(int x, int y);
    // Background and layers within area, made opaque.
    void compose(TBitmap32& buffer, const TRect& area);
    // Control pixels to bitmap pixels and back, each rounded outwards.
    QRect toPixels(const QRect& r) const;
    QRect toControl(const QRect& r) const;
    QPoint pixelAt(const QPointF& p) const;
    QRegion toControl(const QRegion& r) const;
    // Frame pacing: the paint of what is marked is asked for at once when the
    // last one is a frame old, else when the frame timer fires.
    void askForPaint();
    qint64 msToNextFrame() const;
    qreal ratio_ = 1;
    QRegion pending_;  // bitmap pixels
    // Marked, but the window system not yet asked to paint it; while it is
    // not empty the frame timer runs.
    QRegion owed_;
    QTimer* frameTimer_ = nullptr;
    QElapsedTimer lastPaint_;
    bool paintAsked_ = false;  // asked, and not yet painted
    TBitmap32 bitmap_;
    TBitmap32 buffer_;
    std::vector<std::unique_ptr<TPositionedLayer>> layers_;
    int listenerId_ = 0;
    Qt::CursorShape baseCursor_ = Qt::ArrowCursor;
    bool ownCursor_ = false;

public:
    // The control's own cursor, used where no layer asks for another.
    void SetBaseCursor(Qt::CursorShape c);
};

// A list of sprite bitmaps, each drawn blended with DrawTo or StretchTo.
class TBitmap32List {
public:
    TBitmap32& Add();
    TBitmap32& Bitmap(int i) { return *items_[std::size_t(i)]; }
    int Count() const { return int(items_.size()); }

private:
    std::vector<std::unique_ptr<TBitmap32>> items_;
};

}  // namespace brv
