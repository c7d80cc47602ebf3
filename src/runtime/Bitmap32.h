// 32-bit ARGB raster used by every picture, apparatus routine and layer.
//
// Pixels are 0xAARRGGBB, row-major, top row first.  Integer rectangles are
// (Left, Top, Right, Bottom) with Right and Bottom exclusive.  Every drawing
// operation is limited to the clip rectangle.  "Opaque" operations replace the
// pixel (alpha included); "blended" ones mix the colour in by its alpha and keep
// the target's alpha byte (a colour of alpha 0xFF replaces the pixel, one of
// alpha 0 leaves it).
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFont;
class QPainter;
class QPoint;

namespace brv {

using TColor32 = std::uint32_t;
using TFixed = std::int32_t;  // 16.16 fixed point

constexpr TColor32 clBlack32 = 0xFF000000;
constexpr TColor32 clWhite32 = 0xFFFFFFFF;
constexpr TColor32 clBorder32 = 0xFF3F3F3F;  // dark grey frame of every picture

constexpr std::uint8_t AlphaOf(TColor32 c)
{
    return std::uint8_t(c >> 24);
}
constexpr TColor32 Color32(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 0xFF)
{
    return (TColor32(a) << 24) | (TColor32(r) << 16) | (TColor32(g) << 8) | TColor32(b);
}

// round(v × 65536), ties to even.
TFixed FixedPoint(double v);
constexpr double FixedToFloat(TFixed f)
{
    return double(f) / 65536.0;
}

struct TFixedPoint {
    TFixed X = 0;
    TFixed Y = 0;
    friend bool operator==(const TFixedPoint&, const TFixedPoint&) = default;
};
TFixedPoint FixedPoint(double x, double y);

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TFloatRect {
    float Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TFloatRect&, const TFloatRect&) = default;
};

struct TPoint {
    int X = 0, Y = 0;
};

enum class TDrawMode { dmOpaque, dmBlend, dmCustom, dmTransparent };
enum class TResampler { Nearest, Lanczos };

enum TFontStyle : unsigned { fsNone = 0, fsBold = 1, fsItalic = 2 };

// Text settings of a bitmap.  A positive Height is the height of the text's
// cell in pixels, ascent + descent: a line of text takes exactly that many
// rows, and the glyphs (an em about 0.9 of it for arial) sit inside it.  A
// negative Height is the character height (the em) instead, as a size in
// points gives it: Size (points, at 96 dots per inch) sets Height to
// −round(Size × 96 / 72), a cell about 1.12 times as high.
struct TFont32 {
    QString Name = QStringLiteral("arial");
    int Height = 13;
    unsigned Style = fsNone;
    TColor32 Color = clBlack32;  // text is drawn opaque: the alpha byte is not used

    void SetSize(int points);
    int Size() const;
    bool Bold() const { return (Style & fsBold) != 0; }
    void SetBold(bool b) { Style = b ? (Style | fsBold) : (Style & ~fsBold); }
};

// The plain (non-antialiased) canvas on a bitmap's own pixels, for the few
// shapes that are drawn with a pen and a brush.
class TCanvas {
public:
    enum class PenMode { Copy, Xor };
    enum class BrushStyle { Solid, Clear };
    enum class PenStyle { Solid, Clear };

    struct Pen {
        TColor32 Color = clBlack32;
        int Width = 1;
        PenStyle Style = PenStyle::Solid;
        PenMode Mode = PenMode::Copy;
    } pen;
    struct Brush {
        TColor32 Color = clWhite32;
        BrushStyle Style = BrushStyle::Solid;
    } brush;

    explicit TCanvas(class TBitmap32& owner) : bitmap_(owner) {}

    // Ellipse and rectangle shapes follow the usual canvas convention: the
    // shape fits inside (x1, y1)-(x2, y2) with the right and bottom exclusive;
    // the pen traces its outermost pixels (Width rings), the brush the rest.
    void Ellipse(int x1, int y1, int x2, int y2);
    void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
    void Rectangle(int x1, int y1, int x2, int y2);
    void FillRect(const TRect& r);  // brush only
    void Polygon(const std::vector<TPoint>& points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // the end point is not drawn

    // Clip later canvas drawing to a polygon (non-zero winding) of integer
    // points; ClearClip removes it.
    void SetClipPolygon(const std::vector<TPoint>& points);
    void ClearClip();
    bool HasClip() const { return hasClip_; }

private:
    enum class ClipSide { Inside, Outside, Across };
    // Where a box of pixels lies against the clip polygon.
    ClipSide sideOfClip(const QRect& box) const;
    void preparePainter(QPainter& p, bool polygonClip = true) const;
    void paintShape(int x1, int y1, int x2, int y2, double cornerRx, double cornerRy);
    TBitmap32& bitmap_;
    QPainterPath clip_;
    bool hasClip_ = false;
    int penX_ = 0, penY_ = 0;
};

class TBitmap32 {
public:
    TBitmap32();
    TBitmap32(int width, int height);
    TBitmap32(const TBitmap32&) = delete;
    TBitmap32& operator=(const TBitmap32&) = delete;
    ~TBitmap32();

    // --- size and pixels --------------------------------------------------
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return Width() == 0 || Height() == 0; }
    // Resizes, keeping the pixels that still fit (new ones are undefined
    // unless clear is true); resets the clip rectangle to the whole bitmap.
    void SetSize(int width, int height, bool clear = false);
    TColor32 Pixel(int x, int y) const;  // 0 outside the bitmap
    TColor32* ScanLine(int y);
    const TColor32* ScanLine(int y) const;
    // All pixels, row y starting at Bits() + y × Width() (null when empty).
    // Loops over many rows take this once: each ScanLine call checks
    // whether the picture is shared.
    TColor32* Bits();
    const TColor32* Bits() const;
    TRect BoundsRect() const { return {0, 0, Width(), Height()}; }
    // The pixels as a QImage (Format_ARGB32 sharing this bitmap's memory
    // for as long as the bitmap is not resized).
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    void Assign(const QImage& picture);      // copy a picture in, any format
    bool LoadFromFile(const QString& path);  // PNG, JPEG, … ; false when unreadable

    // --- state ------------------------------------------------------------
    TRect ClipRect() const { return clip_; }
    void SetClipRect(const TRect& r);  // intersected with the bitmap
    void ResetClipRect() { SetClipRect(BoundsRect()); }

    TColor32 PenColor = clBlack32;
    TFont32 Font;
    TDrawMode DrawMode = TDrawMode::dmOpaque;
    std::uint8_t MasterAlpha = 255;
    TResampler Resampler = TResampler::Nearest;

    // --- change notification ---------------------------------------------
    // Listeners (the pictures that show this bitmap) are told after each
    // drawing operation unless an update is in progress; EndUpdate of the
    // outermost update tells them once.
    using ChangeListener = std::function<void()>;
    int AddChangeListener(ChangeListener listener);
    void RemoveChangeListener(int id);
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void Changed();
    int UpdateCount() const { return updateCount_; }

    // --- raster operations ------------------------------------------------
    void Clear(TColor32 c);
    void FillRect(int l, int t, int r, int b, TColor32 c);
    void FillRect(const TRect& r, TColor32 c) { FillRect(r.Left, r.Top, r.Right, r.Bottom, c); }
    void BlendRect(int l, int t, int r, int b, TColor32 c);
    void BlendRect(const TRect& r, TColor32 c) { BlendRect(r.Left, r.Top, r.Right, r.Bottom, c); }
    void FrameRect(int l, int t, int r, int b, TColor32 c);
    void FrameRect(const TRect& r, TColor32 c) { FrameRect(r.Left, r.Top, r.Right, r.Bottom, c); }
    void HorzLine(int x1, int y, int x2, TColor32 c);
    void VertLine(int x, int y1, int y2, TColor32 c);
    void SetPixel(int x, int y, TColor32 c);
    // c blended with its alpha scaled by coverage (0..255).
    void BlendPixel(int x, int y, TColor32 c, int coverage = 255);
    // Antialiased lines.  Line coordinates name pixel centres: a line between
    // whole points runs along pixel rows and columns, so SmoothLine(1, 3, 9, 3)
    // colours row 3 only (its end pixels partly).
    void SmoothLine(int x1, int y1, int x2, int y2, TColor32 c);
    void MoveTo(float x, float y);
    void SmoothLineTo(float x, float y);

    // Draws this bitmap onto target with its top-left at (x, y), combined by
    // this bitmap's DrawMode (and MasterAlpha for dmBlend).
    void DrawTo(TBitmap32& target, int x, int y) const;
    // Scales this bitmap into r of target with this bitmap's Resampler,
    // combined by its DrawMode as DrawTo does.
    void StretchTo(TBitmap32& target, const TRect& r) const;

    // --- text -------------------------------------------------------------
    struct TSize {
        int cx = 0, cy = 0;
    };
    // The text's advance width and its cell's height (the same for every
    // text in one font).
    TSize TextExtent(const QString& text) const;
    int TextWidth(const QString& text) const { return TextExtent(text).cx; }
    int TextHeight(const QString& text) const { return TextExtent(text).cy; }
    // Draws with the top-left of the text's cell at (x, y).
    void TextOut(int x, int y, const QString& text);
    // One line, centred horizontally and vertically in r.
    void TextOutRect(const TRect& r, const QString& text);

    TCanvas& Canvas() { return canvas_; }

private:
    friend class TCanvas;
    struct FontText;
    struct TextCache;
    FontText& fontText() const;
    // The part of [l, r) × [t, b) inside the clip rectangle (empty if none).
    TRect clipped(long long l, long long t, long long r, long long b) const;
    void fill(const TRect& clippedRect, TColor32 c);
    // Blends a premultiplied picture with its top-left at `at`, within the
    // clip rectangle, when every pixel under it is opaque; false (nothing
    // drawn) otherwise.
    bool blendOntoOpaque(const QPoint& at, const QImage& picture);
    QImage image_;
    TRect clip_;
    float penX_ = 0, penY_ = 0;
    int updateCount_ = 0;
    int nextListenerId_ = 1;
    std::vector<std::pair<int, ChangeListener>> listeners_;
    TCanvas canvas_;
    mutable std::unique_ptr<TextCache> text_;
};

// The QFont a bitmap font resolves to ("arial" is drawn as Liberation Sans,
// which has the same metrics).  Its pixel size is the em of a negative
// Height; for a positive Height, the largest whose cell (ascent + descent)
// fits in Height rows.
QFont ResolveFont(const TFont32& font);

}  // namespace brv
