#include "runtime/Bitmap32.h"

#include "runtime/AddMaths.h"
#include "runtime/raster/Blend.h"
#include "runtime/raster/Lines.h"
#include "runtime/raster/Resample.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPolygon>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace brv {

// --- fixed point -------------------------------------------------------------

TFixed FixedPoint(double v)
{
    // Out-of-range and undefined values would make the conversion undefined;
    // they are pinned to the representable range (NaN to 0).
    const double f = std::nearbyint(v * 65536.0);
    if (!(f == f))
        return 0;
    constexpr double lo = std::numeric_limits<TFixed>::min();
    constexpr double hi = std::numeric_limits<TFixed>::max();
    return TFixed(std::clamp(f, lo, hi));
}

TFixedPoint FixedPoint(double x, double y)
{
    return {FixedPoint(x), FixedPoint(y)};
}

// --- font --------------------------------------------------------------------

void TFont32::SetSize(int points)
{
    Height = -Round(points * 96.0 / 72.0);
}

int TFont32::Size() const
{
    return Round(std::abs(Height) * 72.0 / 96.0);
}

namespace {

QFont FontOfPixelSize(const QString& family, unsigned style, int pixels)
{
    QFont f(family);
    f.setPixelSize(std::max(1, pixels));
    f.setBold((style & fsBold) != 0);
    f.setItalic((style & fsItalic) != 0);
    return f;
}

int CellOf(const QFont& f)
{
    const QFontMetrics m(f);
    return m.ascent() + m.descent();
}

}  // namespace

QFont ResolveFont(const TFont32& font)
{
    // The Windows core fonts are drawn with their metric-compatible
    // Liberation counterparts.
    static const std::pair<const char*, const char*> aliases[] = {
        {"arial", "Liberation Sans"},
        {"times new roman", "Liberation Serif"},
        {"courier new", "Liberation Mono"},
    };
    QString family = font.Name;
    for (const auto& [name, replacement] : aliases)
        if (family.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            family = QLatin1String(replacement);
    if (font.Height <= 0)
        return FontOfPixelSize(family, font.Style, -font.Height);

    // Hinting rounds ascent and descent separately, so the cell grows by
    // uneven steps: start from the design ratio and walk to the largest em
    // whose cell still fits.
    int em = std::max(1, int(font.Height * 0.9));
    while (em > 1 && CellOf(FontOfPixelSize(family, font.Style, em)) > font.Height)
        --em;
    while (CellOf(FontOfPixelSize(family, font.Style, em + 1)) <= font.Height)
        ++em;
    return FontOfPixelSize(family, font.Style, em);
}

// A resolved font with the labels laid out in it.  The same few labels are
// drawn over and over, and a prepared label draws in half the time of a fresh
// layout.
struct TBitmap32::FontText {
    QString name;
    int height = 0;
    unsigned style = 0;
    QFont font;
    QFontMetrics metrics{font};
    int cell = 0;  // rows of a line: the font's Height, or its ascent + descent
    int top = 0;   // rows between the cell's top and the line's, when the cell is the taller
    QHash<QString, QStaticText> labels;
    QHash<QString, int> widths;
    // Glyphs larger than Qt's glyph cache holds are filled as outlines on
    // every draw, many times slower than cached glyphs (a stopwatch's digits
    // on a large screen): such a font keeps its labels drawn, and a label is
    // then one blended copy.
    bool large = false;
    struct Drawn {
        QImage image;   // the label on transparent, premultiplied
        QPoint offset;  // of the image from the label's top-left
    };
    QHash<std::pair<QString, TColor32>, Drawn> drawn;

    int Width(const QString& text)
    {
        auto it = widths.find(text);
        if (it != widths.end())
            return *it;
        if (widths.size() >= 256)
            widths.clear();
        return *widths.insert(text, metrics.horizontalAdvance(text));
    }

    const QStaticText& Label(const QString& text)
    {
        auto it = labels.find(text);
        if (it != labels.end())
            return *it;
        if (labels.size() >= 256)
            labels.clear();
        QStaticText label(text);
        label.setTextFormat(Qt::PlainText);
        label.prepare(QTransform(), font);
        return *labels.insert(text, label);
    }

    const Drawn& DrawnLabel(const QString& text, TColor32 color)
    {
        const std::pair<QString, TColor32> key{text, color};
        auto it = drawn.find(key);
        if (it != drawn.end())
            return *it;
        if (drawn.size() >= 32)
            drawn.clear();
        // The ink's box about the label's top-left, with room for any
        // overhang the metrics leave out.
        const int margin = 2 + font.pixelSize() / 8;
        const QRect ink = metrics.boundingRect(text).translated(0, metrics.ascent());
        Drawn d;
        d.offset = ink.topLeft() - QPoint(margin, margin);
        d.image = QImage(ink.size() + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32_Premultiplied);
        d.image.fill(Qt::transparent);
        QPainter p(&d.image);
        p.setFont(font);
        p.setPen(QColor(int((color >> 16) & 0xFF), int((color >> 8) & 0xFF), int(color & 0xFF)));
        p.drawStaticText(-d.offset, Label(text));
        p.end();
        return *drawn.insert(key, std::move(d));
    }
};

namespace {

// Qt keeps glyphs in its cache up to this size in pixels.
constexpr int MaxCachedGlyphPixels = 64;

}  // namespace

// The fonts of the last few text operations: a picture usually switches
// between a handful (a rule's numbers, a lens's larger ones, a meter's).
struct TBitmap32::TextCache {
    static constexpr std::size_t MaxFonts = 8;
    std::vector<std::unique_ptr<FontText>> fonts;  // the latest used first
};

TBitmap32::FontText& TBitmap32::fontText() const
{
    if (!text_)
        text_ = std::make_unique<TextCache>();
    auto& fonts = text_->fonts;
    const auto matches = [this](const std::unique_ptr<FontText>& f) {
        return f->name == Font.Name && f->height == Font.Height && f->style == Font.Style;
    };
    auto it = std::find_if(fonts.begin(), fonts.end(), matches);
    if (it == fonts.end()) {
        if (fonts.size() >= TextCache::MaxFonts)
            fonts.pop_back();
        auto f = std::make_unique<FontText>();
        f->name = Font.Name;
        f->height = Font.Height;
        f->style = Font.Style;
        f->font = ResolveFont(Font);
        f->metrics = QFontMetrics(f->font);
        const int line = f->metrics.ascent() + f->metrics.descent();
        f->cell = Font.Height > 0 ? Font.Height : line;
        // The spare rows of a cell go half above the line, half below, so text
        // centred on a tick by its cell stays centred by its glyphs.
        f->top = std::max(0, (f->cell - line) / 2);
        f->large = QFontInfo(f->font).pixelSize() >= MaxCachedGlyphPixels;
        fonts.insert(fonts.begin(), std::move(f));
    } else if (it != fonts.begin()) {
        std::rotate(fonts.begin(), it, it + 1);
    }
    return *fonts.front();
}

namespace {

QColor OpaqueColor(TColor32 c)
{
    return QColor(int((c >> 16) & 0xFF), int((c >> 8) & 0xFF), int(c & 0xFF));
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

}  // namespace

// --- bitmap ------------------------------------------------------------------

TBitmap32::TBitmap32() : canvas_(*this) {}

TBitmap32::TBitmap32(int width, int height) : canvas_(*this)
{
    SetSize(width, height, true);
}

TBitmap32::~TBitmap32() = default;

void TBitmap32::SetSize(int width, int height, bool clear)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width != Width() || height != Height()) {
        QImage next;
        if (width > 0 && height > 0) {
            next = QImage(width, height, QImage::Format_ARGB32);
            if (next.isNull())
                throw std::bad_alloc();
            next.fill(0);
            if (!clear && !image_.isNull()) {
                const int rows = std::min(height, Height());
                const std::size_t bytes = std::size_t(std::min(width, Width())) * 4;
                for (int y = 0; y < rows; ++y)
                    std::memcpy(next.scanLine(y), image_.constScanLine(y), bytes);
            }
        }
        image_ = std::move(next);
    } else if (clear && !image_.isNull()) {
        image_.fill(0);
    }
    clip_ = BoundsRect();
    Changed();
}

TColor32 TBitmap32::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return 0;
    return ScanLine(y)[x];
}

TColor32* TBitmap32::ScanLine(int y)
{
    return reinterpret_cast<TColor32*>(image_.scanLine(y));
}

const TColor32* TBitmap32::ScanLine(int y) const
{
    return reinterpret_cast<const TColor32*>(image_.constScanLine(y));
}

TColor32* TBitmap32::Bits()
{
    return image_.isNull() ? nullptr : reinterpret_cast<TColor32*>(image_.bits());
}

const TColor32* TBitmap32::Bits() const
{
    return image_.isNull() ? nullptr : reinterpret_cast<const TColor32*>(image_.constBits());
}

void TBitmap32::Assign(const QImage& picture)
{
    image_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_ARGB32);
    clip_ = BoundsRect();
    Changed();
}

bool TBitmap32::LoadFromFile(const QString& path)
{
    QImage picture;
    if (!picture.load(path))
        return false;
    Assign(picture);
    return true;
}

void TBitmap32::SetClipRect(const TRect& r)
{
    const TRect b = BoundsRect();
    TRect c{std::max(r.Left, b.Left), std::max(r.Top, b.Top), std::min(r.Right, b.Right),
            std::min(r.Bottom, b.Bottom)};
    if (c.IsEmpty())
        c = {0, 0, 0, 0};
    clip_ = c;
}

// --- change notification -----------------------------------------------------

int TBitmap32::AddChangeListener(ChangeListener listener)
{
    const int id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void TBitmap32::RemoveChangeListener(int id)
{
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void TBitmap32::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TBitmap32::Changed()
{
    if (updateCount_ > 0)
        return;
    // A listener may remove itself (or others) while being told.
    for (std::size_t i = 0; i < listeners_.size(); ++i) {
        ChangeListener tell = listeners_[i].second;
        if (tell)
            tell();
    }
}

// --- raster operations -------------------------------------------------------

TRect TBitmap32::clipped(long long l, long long t, long long r, long long b) const
{
    const long long cl = std::max<long long>(l, clip_.Left), ct = std::max<long long>(t, clip_.Top);
    const long long cr = std::min<long long>(r, clip_.Right), cb = std::min<long long>(b, clip_.Bottom);
    if (cr <= cl || cb <= ct)
        return {};
    return {int(cl), int(ct), int(cr), int(cb)};
}

void TBitmap32::fill(const TRect& r, TColor32 c)
{
    if (r.IsEmpty())
        return;
    const std::size_t stride = std::size_t(Width());
    TColor32* first = Bits() + std::size_t(r.Top) * stride + r.Left;
    if (r.Width() == Width()) {
        // whole rows are one run of memory
        raster::FillPixels(first, std::size_t(r.Width()) * std::size_t(r.Height()), c);
        return;
    }
    for (int y = 0; y < r.Height(); ++y)
        raster::FillPixels(first + std::size_t(y) * stride, std::size_t(r.Width()), c);
}

void TBitmap32::Clear(TColor32 c)
{
    fill(clip_, c);
    Changed();
}

void TBitmap32::FillRect(int l, int t, int r, int b, TColor32 c)
{
    fill(clipped(l, t, r, b), c);
    Changed();
}

void TBitmap32::BlendRect(int l, int t, int r, int b, TColor32 c)
{
    const TRect area = clipped(l, t, r, b);
    if (!area.IsEmpty() && AlphaOf(c) != 0) {
        if (AlphaOf(c) == 255) {
            fill(area, c);
        } else {
            raster::ClearWideRegisters();
            const raster::ConstantBlender blend(c, AlphaOf(c));
            TColor32* line = ScanLine(area.Top) + area.Left;
            for (int y = area.Top; y < area.Bottom; ++y, line += Width())
                blend.Span(line, area.Width());
        }
    }
    Changed();
}

void TBitmap32::FrameRect(int l, int t, int r, int b, TColor32 c)
{
    if (r > l && b > t) {
        fill(clipped(l, t, r, t + 1LL), c);
        if (b - 1 > t)
            fill(clipped(l, b - 1LL, r, b), c);
        fill(clipped(l, t + 1LL, l + 1LL, b - 1LL), c);
        if (r - 1 > l)
            fill(clipped(r - 1LL, t + 1LL, r, b - 1LL), c);
    }
    Changed();
}

void TBitmap32::HorzLine(int x1, int y, int x2, TColor32 c)
{
    if (x1 > x2)
        std::swap(x1, x2);
    fill(clipped(x1, y, x2 + 1LL, y + 1LL), c);
    Changed();
}

void TBitmap32::VertLine(int x, int y1, int y2, TColor32 c)
{
    if (y1 > y2)
        std::swap(y1, y2);
    fill(clipped(x, y1, x + 1LL, y2 + 1LL), c);
    Changed();
}

void TBitmap32::SetPixel(int x, int y, TColor32 c)
{
    if (x >= clip_.Left && x < clip_.Right && y >= clip_.Top && y < clip_.Bottom)
        ScanLine(y)[x] = c;
    Changed();
}

void TBitmap32::BlendPixel(int x, int y, TColor32 c, int coverage)
{
    if (x >= clip_.Left && x < clip_.Right && y >= clip_.Top && y < clip_.Bottom) {
        const unsigned alpha = raster::CoveredAlpha(c, unsigned(std::clamp(coverage, 0, 255)));
        TColor32& p = ScanLine(y)[x];
        p = raster::BlendColor(c, p, alpha);
    }
    Changed();
}

void TBitmap32::SmoothLine(int x1, int y1, int x2, int y2, TColor32 c)
{
    raster::SmoothLine(*this, x1, y1, x2, y2, c);
    Changed();
}

void TBitmap32::MoveTo(float x, float y)
{
    penX_ = x;
    penY_ = y;
}

void TBitmap32::SmoothLineTo(float x, float y)
{
    raster::SmoothLine(*this, penX_, penY_, x, y, PenColor);
    penX_ = x;
    penY_ = y;
    Changed();
}

// --- drawing onto another bitmap ---------------------------------------------

namespace {

// Combines one row of source pixels into the target by the drawing mode.
// Copies (dmOpaque) or blends (dmBlend) count × rows pixels; the rows lie
// strides pixels apart in each bitmap.
void CombineRows(TColor32* dst, std::size_t dstStride, const TColor32* src, std::size_t srcStride, int count,
                 int rows, TDrawMode mode, unsigned master)
{
    if (mode == TDrawMode::dmOpaque) {
        for (int row = 0; row < rows; ++row, dst += dstStride, src += srcStride)
            std::memcpy(dst, src, std::size_t(count) * sizeof(TColor32));
    } else {
        raster::BlendRows(dst, dstStride, src, srcStride, count, rows, master);
    }
}

}  // namespace

void TBitmap32::DrawTo(TBitmap32& target, int x, int y) const
{
    if (&target == this || Empty()) {
        target.Changed();
        return;
    }
    const TRect area = target.clipped(x, y, x + (long long)Width(), y + (long long)Height());
    if (!area.IsEmpty()) {
        TColor32* to = target.Bits() + std::size_t(area.Top) * std::size_t(target.Width()) + area.Left;
        const TColor32* from = Bits() + std::size_t(area.Top - y) * std::size_t(Width()) + (area.Left - x);
        CombineRows(to, std::size_t(target.Width()), from, std::size_t(Width()), area.Width(), area.Height(),
                    DrawMode, MasterAlpha);
    }
    target.Changed();
}

void TBitmap32::StretchTo(TBitmap32& target, const TRect& r) const
{
    if (r.Width() == Width() && r.Height() == Height()) {
        DrawTo(target, r.Left, r.Top);
        return;
    }
    const TRect area = target.clipped(r.Left, r.Top, r.Right, r.Bottom);
    if (&target == this || Empty() || r.IsEmpty() || area.IsEmpty()) {
        target.Changed();
        return;
    }
    std::vector<TColor32> pixels;
    if (Resampler == TResampler::Lanczos)
        raster::ResampleLanczos(*this, r, area, pixels);
    else
        raster::ResampleNearest(*this, r, area, pixels);
    const std::size_t w = std::size_t(area.Width());
    TColor32* to = target.Bits() + std::size_t(area.Top) * std::size_t(target.Width()) + area.Left;
    CombineRows(to, std::size_t(target.Width()), pixels.data(), w, area.Width(), area.Height(), DrawMode,
                MasterAlpha);
    target.Changed();
}

// --- text --------------------------------------------------------------------

TBitmap32::TSize TBitmap32::TextExtent(const QString& text) const
{
    FontText& prepared = fontText();
    return {prepared.Width(text), prepared.cell};
}

bool TBitmap32::blendOntoOpaque(const QPoint& at, const QImage& picture)
{
    const TRect area =
        clipped(at.x(), at.y(), (long long)at.x() + picture.width(), (long long)at.y() + picture.height());
    if (area.IsEmpty())
        return true;
    const std::size_t stride = std::size_t(Width());
    TColor32* const first = Bits() + std::size_t(area.Top) * stride + area.Left;
    for (int y = 0; y < area.Height(); ++y)
        if (!raster::AllOpaque(first + std::size_t(y) * stride, area.Width()))
            return false;
    for (int y = 0; y < area.Height(); ++y) {
        const auto* src = reinterpret_cast<const TColor32*>(picture.constScanLine(area.Top + y - at.y()));
        raster::BlendPremultipliedOverOpaque(first + std::size_t(y) * stride, src + (area.Left - at.x()),
                                             area.Width());
    }
    return true;
}

void TBitmap32::TextOut(int x, int y, const QString& text)
{
    if (!Empty() && !clip_.IsEmpty() && !text.isEmpty()) {
        raster::ClearWideRegisters();
        FontText& prepared = fontText();
        const FontText::Drawn* drawn = nullptr;
        // Text is drawn opaque whatever the colour's alpha.
        if (prepared.large) {
            drawn = &prepared.DrawnLabel(text, Font.Color | 0xFF000000u);
            // Over an opaque picture the label is blended here: Qt's engine
            // hands a blend of this size to its thread pool, and the hand-over
            // costs a frame more than the blend itself on a busy machine.
            if (blendOntoOpaque(QPoint(x, y + prepared.top) + drawn->offset, drawn->image)) {
                Changed();
                return;
            }
        }
        QPainter p(&image_);
        if (clip_ != BoundsRect())
            p.setClipRect(ToQRect(clip_));
        if (drawn != nullptr) {
            p.drawImage(QPoint(x, y + prepared.top) + drawn->offset, drawn->image);
        } else {
            p.setFont(prepared.font);
            p.setPen(OpaqueColor(Font.Color));
            p.drawStaticText(x, y + prepared.top, prepared.Label(text));
        }
    }
    Changed();
}

void TBitmap32::TextOutRect(const TRect& r, const QString& text)
{
    const TSize size = TextExtent(text);
    TextOut(r.Left + (r.Width() - size.cx) / 2, r.Top + (r.Height() - size.cy) / 2, text);
}

// --- canvas ------------------------------------------------------------------

void TCanvas::preparePainter(QPainter& p, bool polygonClip) const
{
    raster::ClearWideRegisters();
    p.setRenderHint(QPainter::Antialiasing, false);
    const TRect clip = bitmap_.ClipRect();
    const bool partial = clip != bitmap_.BoundsRect();
    if (partial)
        p.setClipRect(ToQRect(clip));
    if (hasClip_ && polygonClip)
        p.setClipPath(clip_, partial ? Qt::IntersectClip : Qt::ReplaceClip);
    if (pen.Style == PenStyle::Clear) {
        p.setPen(Qt::NoPen);
    } else if (pen.Width <= 1) {
        // a one-pixel pen, which leaves out the last point of a line
        p.setPen(QPen(OpaqueColor(pen.Color), 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    } else {
        p.setPen(QPen(OpaqueColor(pen.Color), pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    if (brush.Style == BrushStyle::Clear)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(OpaqueColor(brush.Color));
    if (pen.Mode == PenMode::Xor)
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}

// A painter rasterises its clip polygon afresh each time it is given one.
// Many small shapes under one clip (a stream of bubbles) mostly lie clear of
// its edges: one wholly inside needs no clip, one wholly outside no painter.
TCanvas::ClipSide TCanvas::sideOfClip(const QRect& box) const
{
    if (!hasClip_)
        return ClipSide::Inside;
    // The box's whole pixels: every pixel centre lies half a pixel inside.
    const QRectF pixels(box);
    if (clip_.contains(pixels))
        return ClipSide::Inside;
    if (!clip_.intersects(pixels))
        return ClipSide::Outside;
    return ClipSide::Across;
}

namespace {

// A convex canvas shape as one run of pixels per row: row top + i covers
// [spans[i].first, spans[i].second).
struct ShapeRows {
    int top = 0;
    std::vector<std::pair<int, int>> spans;
};

// The box (x1, y1)-(x2, y2), right and bottom exclusive, corners in any order.
QRect ShapeBox(int x1, int y1, int x2, int y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

// The pixels whose centres lie in the box with its corners rounded by
// quarter ellipses of radii (rx, ry): an ellipse when they are half the box.
// Drawn this way small ellipses stay round and symmetric.
ShapeRows RoundedRows(const QRect& box, double rx, double ry)
{
    rx = std::clamp(rx, 0.0, box.width() / 2.0);
    ry = std::clamp(ry, 0.0, box.height() / 2.0);
    const double left = box.x(), right = box.x() + box.width();
    const double top = box.y(), bottom = box.y() + box.height();
    ShapeRows rows;
    rows.top = box.y();
    for (int y = box.y(); y < box.y() + box.height(); ++y) {
        const double centre = y + 0.5;
        double inset = 0;  // how far the corner arcs pull this row in
        const double dy = std::max({top + ry - centre, centre - (bottom - ry), 0.0});
        if (dy > 0 && rx > 0 && ry > 0)
            inset = rx * (1 - std::sqrt(std::max(0.0, 1 - (dy / ry) * (dy / ry))));
        const int from = int(std::ceil(left + inset - 0.5));
        const int to = int(std::floor(right - inset - 0.5)) + 1;
        rows.spans.emplace_back(from, std::max(from, to));
    }
    return rows;
}

// The pixels of the shape whose four neighbours are all in it.
ShapeRows Eroded(const ShapeRows& shape)
{
    ShapeRows inner{shape.top, {}};
    const std::size_t n = shape.spans.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i == 0 || i + 1 == n) {
            inner.spans.emplace_back(0, 0);
            continue;
        }
        const auto& [above0, above1] = shape.spans[i - 1];
        const auto& [row0, row1] = shape.spans[i];
        const auto& [below0, below1] = shape.spans[i + 1];
        const int from = std::max({above0, row0 + 1, below0});
        const int to = std::min({above1, row1 - 1, below1});
        inner.spans.emplace_back(from, std::max(from, to));
    }
    return inner;
}

// The pen traces the outermost pixels of the shape (as many rings as its
// width), the brush fills the rest; no pixel is painted twice, so an
// exclusive-or pen leaves no holes.
void PaintShape(QPainter& p, const ShapeRows& shape, const TCanvas::Pen& pen, const TCanvas::Brush& brush)
{
    const bool stroke = pen.Style != TCanvas::PenStyle::Clear;
    const bool fill = brush.Style != TCanvas::BrushStyle::Clear;
    ShapeRows inner = shape;
    if (stroke)
        for (int ring = 0; ring < std::max(1, pen.Width); ++ring)
            inner = Eroded(inner);
    const QColor penColor = OpaqueColor(pen.Color), brushColor = OpaqueColor(brush.Color);
    for (std::size_t i = 0; i < shape.spans.size(); ++i) {
        const int y = shape.top + int(i);
        const auto [from, to] = shape.spans[i];
        auto [innerFrom, innerTo] = inner.spans[i];
        if (innerFrom >= innerTo)
            innerFrom = innerTo = to;
        if (fill && innerFrom < innerTo)
            p.fillRect(QRect(innerFrom, y, innerTo - innerFrom, 1), brushColor);
        if (stroke) {
            if (from < innerFrom)
                p.fillRect(QRect(from, y, innerFrom - from, 1), penColor);
            if (innerTo < to)
                p.fillRect(QRect(innerTo, y, to - innerTo, 1), penColor);
        }
    }
}

}  // namespace

void TCanvas::paintShape(int x1, int y1, int x2, int y2, double rx, double ry)
{
    const QRect box = ShapeBox(x1, y1, x2, y2);
    const ClipSide side = box.isEmpty() || bitmap_.Empty() ? ClipSide::Outside : sideOfClip(box);
    if (side != ClipSide::Outside) {
        QPainter p(&bitmap_.image_);
        preparePainter(p, side == ClipSide::Across);
        PaintShape(p, RoundedRows(box, rx, ry), pen, brush);
    }
    bitmap_.Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    paintShape(x1, y1, x2, y2, std::abs(x2 - x1) / 2.0, std::abs(y2 - y1) / 2.0);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH)
{
    paintShape(x1, y1, x2, y2, cornerW / 2.0, cornerH / 2.0);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    paintShape(x1, y1, x2, y2, 0, 0);
}

void TCanvas::FillRect(const TRect& r)
{
    const QRect box = ShapeBox(r.Left, r.Top, r.Right, r.Bottom);
    const ClipSide side = box.isEmpty() || bitmap_.Empty() ? ClipSide::Outside : sideOfClip(box);
    if (side != ClipSide::Outside && brush.Style != BrushStyle::Clear) {
        QPainter p(&bitmap_.image_);
        preparePainter(p, side == ClipSide::Across);
        // a plain fill with the brush, whatever the pen does
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.fillRect(box, OpaqueColor(brush.Color));
    }
    bitmap_.Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    if (points.size() >= 2 && !bitmap_.Empty()) {
        QPolygon poly;
        poly.reserve(qsizetype(points.size()));
        for (const TPoint& pt : points)
            poly << QPoint(pt.X, pt.Y);
        QPainter p(&bitmap_.image_);
        preparePainter(p);
        p.drawPolygon(poly, Qt::OddEvenFill);
    }
    bitmap_.Changed();
}

void TCanvas::MoveTo(int x, int y)
{
    penX_ = x;
    penY_ = y;
}

void TCanvas::LineTo(int x, int y)
{
    if (!bitmap_.Empty() && pen.Style != PenStyle::Clear) {
        QPainter p(&bitmap_.image_);
        preparePainter(p);
        p.drawLine(QPoint(penX_, penY_), QPoint(x, y));
    }
    penX_ = x;
    penY_ = y;
    bitmap_.Changed();
}

void TCanvas::SetClipPolygon(const std::vector<TPoint>& points)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    QPolygonF poly;
    for (const TPoint& pt : points)
        poly << QPointF(pt.X, pt.Y);
    path.addPolygon(poly);
    path.closeSubpath();
    clip_ = path;
    hasClip_ = true;
}

void TCanvas::ClearClip()
{
    clip_ = QPainterPath();
    hasClip_ = false;
}

}  // namespace brv
