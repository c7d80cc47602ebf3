#include "apparatus/Beakers.h"

#include "runtime/AddMaths.h"
#include "runtime/Polygon32.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <memory>

namespace brv {

namespace {

// Lips of radius r curling outwards at the top of the walls, six points each.
// The right lip runs from its tip (X + W + r, Y) down to the wall (X + W, Y + r),
// the left one from the wall (X, Y + r) up to its tip (X − r, Y).
void AddRightLip(TContour& c, float X, float Y, float W, float r)
{
    float cx = X + W + r, cy = Y + r;
    for (int k = 0; k <= 5; ++k) {
        float a = Radians(90.0f + 18.0f * float(k));
        c.push_back(FixedPoint(cx + r * std::cos(a), cy - r * std::sin(a)));
    }
}

void AddLeftLip(TContour& c, float X, float Y, float r)
{
    float cx = X - r, cy = Y + r;
    for (int k = 0; k <= 5; ++k) {
        float a = Radians(18.0f * float(k));
        c.push_back(FixedPoint(cx + r * std::cos(a), cy - r * std::sin(a)));
    }
}

void FillContour(TBitmap32& bitmap, const TContour& points, TColor32 color)
{
    TPolygon32 polygon;
    polygon.AddPoints(points.data(), int(points.size()));
    polygon.DrawFill(bitmap, color);
}

// The glass from one lip's tip round the base to the other's, left open.
void StrokeOpenRim(TBitmap32& bitmap, const TContour& points)
{
    TPolygon32 polygon;
    polygon.Closed = false;
    polygon.Antialiased = true;
    polygon.AddPoints(points.data(), int(points.size()));
    polygon.DrawOutline(bitmap, clBlack32);
}

// The liquid is the part of the outline from the right wall at the level,
// round the base, to the left wall at the level.
TContour Slice(const TContour& points, std::size_t first, std::size_t last)
{
    return TContour(points.begin() + std::ptrdiff_t(first), points.begin() + std::ptrdiff_t(last) + 1);
}

// --- conical flask ------------------------------------------------------------

// The 46 whole-pixel outline points, from the tip of the left lip round the
// base to the tip of the right lip.
std::vector<TPoint> FlaskOutline(float X, float Y, float W, float H)
{
    std::vector<TPoint> points;
    points.reserve(46);

    float r1 = W / 30.0f;
    float lipX = X + W / 3.0f - r1, lipY = Y + r1;
    for (int k = 0; k <= 5; ++k) {
        float a = float(k) * 0.31415927f;
        points.push_back({Round(lipX + r1 * std::sin(a)), Round(lipY - r1 * std::cos(a))});
    }
    points.push_back({points.back().X, Round(Y + 0.1875f * H)});  // foot of the neck

    float r2 = W / 6.0f;
    float cornerX = X + r2, cornerY = Y + H - r2;
    for (int k = 0; k <= 15; ++k) {
        float a = Radians(160.0f + float(k) * 110.0f / 15.0f);
        points.push_back({Round(cornerX + r2 * std::cos(a)), Round(cornerY - r2 * std::sin(a))});
    }

    int mirror = Round(W + 2.0f * X);
    for (int j = 0; j <= 22; ++j) {
        TPoint p = points[std::size_t(22 - j)];
        points.push_back({mirror - p.X, p.Y});
    }
    return points;
}

// The flask's pixels as the canvas paints them: the outline filled (even-odd)
// for the glass, and the outline as a clip (non-zero) for the liquid, its
// surface and the bubbles.  Qt rasterises both once per outline; a redraw
// then fills the kept runs itself (Qt's engine would hand every fill of more
// than a few dozen rows to its thread pool).
class TFlaskRegion {
public:
    struct Run {
        int y, from, to;  // pixels [from, to) of row y
    };

    explicit TFlaskRegion(const std::vector<TPoint>& points) : points_(points)
    {
        QPolygon polygon;
        for (const TPoint& p : points)
            polygon << QPoint(p.X, p.Y);
        const QRect box = polygon.boundingRect().adjusted(-1, -1, 1, 1);
        origin_ = box.topLeft();
        polygon.translate(-origin_);

        QImage fill(box.size(), QImage::Format_Grayscale8);
        fill.fill(0);
        {
            QPainter painter(&fill);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawPolygon(polygon, Qt::OddEvenFill);
        }
        fill_ = RunsOf(fill);

        mask_ = QImage(box.size(), QImage::Format_Grayscale8);
        mask_.fill(0);
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        path.addPolygon(QPolygonF(polygon));
        path.closeSubpath();
        QPainter painter(&mask_);
        painter.setClipPath(path);
        painter.fillRect(mask_.rect(), Qt::white);
        painter.end();
        inside_ = RunsOf(mask_);
    }

    const std::vector<TPoint>& Points() const { return points_; }
    // The runs of the filled outline, row by row.
    const std::vector<Run>& Fill() const { return fill_; }
    // The runs of the outline as a clip, row by row.
    const std::vector<Run>& Inside() const { return inside_; }

    bool Contains(int x, int y) const
    {
        QPoint p = QPoint(x, y) - origin_;
        return mask_.valid(p) && mask_.constScanLine(p.y())[p.x()] != 0;
    }

private:
    std::vector<Run> RunsOf(const QImage& mask) const
    {
        std::vector<Run> runs;
        for (int y = 0; y < mask.height(); ++y) {
            const uchar* row = mask.constScanLine(y);
            for (int x = 0; x < mask.width();) {
                if (row[x] == 0) {
                    ++x;
                    continue;
                }
                const int from = x;
                while (x < mask.width() && row[x] != 0)
                    ++x;
                runs.push_back({y + origin_.y(), from + origin_.x(), x + origin_.x()});
            }
        }
        return runs;
    }

    std::vector<TPoint> points_;
    QPoint origin_;
    QImage mask_;
    std::vector<Run> fill_, inside_;
};

// The regions of the last few flasks drawn: a picture redraws the same
// flasks at the same size over and over.
const TFlaskRegion& FlaskRegionOf(const std::vector<TPoint>& points)
{
    thread_local std::vector<std::unique_ptr<TFlaskRegion>> kept;  // the latest used first
    const auto same = [&](const std::unique_ptr<TFlaskRegion>& r) {
        return std::equal(points.begin(), points.end(), r->Points().begin(), r->Points().end(),
                          [](const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; });
    };
    auto it = std::find_if(kept.begin(), kept.end(), same);
    if (it == kept.end()) {
        if (kept.size() >= 4)
            kept.pop_back();
        kept.insert(kept.begin(), std::make_unique<TFlaskRegion>(points));
    } else if (it != kept.begin()) {
        std::rotate(kept.begin(), it, it + 1);
    }
    return *kept.front();
}

// Random black dots in a 6-pixel grid over the liquid, each displaced by up to
// 3 pixels, and only where they fall inside the flask.
void DrawFlaskBubbles(TBitmap32& bitmap, const TRect& liquid, const TFlaskRegion& flask)
{
    for (int u = 0; u <= liquid.Width() / 6; ++u)
        for (int v = 0; v <= liquid.Height() / 6; ++v) {
            int x = liquid.Left + 6 * u + RandomInt(4);
            int y = liquid.Top + 6 * v + RandomInt(4);
            if (flask.Contains(x, y))
                bitmap.SetPixel(x, y, clBlack32);
        }
}

}  // namespace

void DrawBeaker(TBitmap32& bitmap, bool ClearInside, float X, float Y, float Width, float Height,
                float LiquidHeight)
{
    float W = Width, H = Height;
    float r1 = 0.05f * W;
    float r2 = 0.1f * W;
    float level = float(Round(Y + H - LiquidHeight));

    TContour outline;
    outline.reserve(36);
    AddRightLip(outline, X, Y, W, r1);            // 0-5
    outline.push_back(FixedPoint(X + W, level));  // 6
    for (int k = 0; k <= 10; ++k) {               // 7-17
        float a = Radians(9.0f * float(k));
        outline.push_back(FixedPoint(X + W - r2 + r2 * std::cos(a), Y + H - r2 + r2 * std::sin(a)));
    }
    for (int k = 0; k <= 10; ++k) {  // 18-28
        float a = Radians(9.0f * float(k));
        outline.push_back(FixedPoint(X + r2 - r2 * std::sin(a), Y + H - r2 + r2 * std::cos(a)));
    }
    outline.push_back(FixedPoint(X, level));  // 29
    AddLeftLip(outline, X, Y, r1);            // 30-35

    if (ClearInside)
        FillContour(bitmap, outline, clWhite32);
    FillContour(bitmap, Slice(outline, 6, 29), clBeakerLiquid32);
    StrokeOpenRim(bitmap, outline);
}

void DrawTestTube(TBitmap32& bitmap, TColor32 LiquidColor, bool ClearInside, float X, float Y, float Width,
                  float Height, float LiquidHeight)
{
    float W = Width, H = Height;
    float r1 = 0.05f * W;
    float R = W / 2.0f;
    int level = Round(Y + H - LiquidHeight);

    TContour outline;
    outline.reserve(35);
    AddRightLip(outline, X, Y, W, r1);                   // 0-5
    outline.push_back(FixedPoint(X + W, float(level)));  // 6
    for (int k = 0; k <= 20; ++k) {                      // 7-27
        float a = Radians(9.0f * float(k));
        outline.push_back(FixedPoint(X + R + R * std::cos(a), Y + H - R + R * std::sin(a)));
    }
    outline.push_back(FixedPoint(X, float(level)));  // 28
    AddLeftLip(outline, X, Y, r1);                   // 29-34

    if (ClearInside)
        FillContour(bitmap, outline, clWhite32);
    FillContour(bitmap, Slice(outline, 6, 28), LiquidColor);
    bitmap.HorzLine(Round(X), level, Round(X + W), clMeniscus32);
    StrokeOpenRim(bitmap, outline);
}

void DrawWaterBath(TBitmap32& bitmap, TColor32 WaterColor, float X, float Y, float Width, float Height,
                   float WaterHeight, float WallThickness)
{
    float W = Width, H = Height, t = WallThickness;
    bitmap.FillRect(Round(X + 1.0f), Round(Y + H - WaterHeight), Round(X + W - 1.0f), Round(Y + H - 1.0f),
                    WaterColor);

    TPolygon32 walls;
    walls.AddPoint(FixedPoint(X, Y));
    walls.AddPoint(FixedPoint(X, Y + H));
    walls.AddPoint(FixedPoint(X + W, Y + H));
    walls.AddPoint(FixedPoint(X + W, Y));
    walls.AddPoint(FixedPoint(X + W - t, Y));
    walls.AddPoint(FixedPoint(X + W - t, Y + H - t));
    walls.AddPoint(FixedPoint(X + t, Y + H - t));
    walls.AddPoint(FixedPoint(X + t, Y));
    walls.DrawFill(bitmap, clBathWall32);
    walls.Antialiased = true;
    walls.DrawOutline(bitmap, clBlack32);
}

void DrawConicalFlask(TBitmap32& bitmap, bool Bung, bool Bubbles, float X, float Y, float Width, float Height,
                      float LiquidHeight)
{
    float W = Width, H = Height;
    std::vector<TPoint> outline = FlaskOutline(X, Y, W, H);
    const TFlaskRegion& flask = FlaskRegionOf(outline);

    bitmap.BeginUpdate();
    for (const TFlaskRegion::Run& run : flask.Fill())
        bitmap.FillRect(run.from, run.y, run.to, run.y + 1, clWhite32);

    // The liquid is a plain rectangle cut to the flask's shape, its surface
    // a line along the rectangle's top leaving out the last point.
    TRect liquid{Round(X), Round(Y + H - LiquidHeight), Round(X + W), Round(Y + H)};
    const int liquidTop = std::min(liquid.Top, liquid.Bottom),
              liquidBottom = std::max(liquid.Top, liquid.Bottom);
    for (const TFlaskRegion::Run& run : flask.Inside()) {
        const int from = std::max(run.from, liquid.Left), to = std::min(run.to, liquid.Right);
        if (run.y >= liquidTop && run.y < liquidBottom)
            bitmap.FillRect(from, run.y, to, run.y + 1, clFlaskLiquid32);
        if (run.y == liquid.Top)
            bitmap.FillRect(from, run.y, to, run.y + 1, clBlack32);
    }
    if (Bubbles)
        DrawFlaskBubbles(bitmap, liquid, flask);
    bitmap.EndUpdate();

    // Points 6 and 40 are the feet of the neck's two walls.
    if (Bung)
        bitmap.FillRect(outline[6].X, Round(Y - 0.05f * H), outline[40].X, Round(Y + 0.15f * H), clBung32);

    TContour glass;
    glass.reserve(outline.size());
    for (const TPoint& p : outline)
        glass.push_back(FixedPoint(p.X, p.Y));
    DrawPolyline(bitmap, glass, clBlack32, false, true);
}

}  // namespace brv
