#include "apparatus/Beakers.h"

#include "runtime/AddMaths.h"
#include "runtime/Polygon32.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace brv {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
float Radians(float degrees)
{
    return degrees * Pi / 180.0f;
}

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

// Whether a pixel lies inside the flask: the outline rasterised as the
// canvas rasterises its clip (non-zero winding), so a dot is set exactly where
// the liquid could be painted.
class TFlaskRegion {
public:
    explicit TFlaskRegion(const std::vector<TPoint>& points)
    {
        QPolygonF polygon;
        for (const TPoint& p : points)
            polygon << QPointF(p.X, p.Y);
        QRect box = polygon.boundingRect().toAlignedRect();
        origin_ = box.topLeft();
        mask_ = QImage(box.size(), QImage::Format_Grayscale8);
        mask_.fill(0);
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        path.addPolygon(polygon.translated(-origin_));
        path.closeSubpath();
        QPainter painter(&mask_);
        painter.setClipPath(path);
        painter.fillRect(mask_.rect(), Qt::white);
    }
    bool Contains(int x, int y) const
    {
        QPoint p = QPoint(x, y) - origin_;
        return mask_.valid(p) && qGray(mask_.pixel(p)) != 0;
    }

private:
    QPoint origin_;
    QImage mask_;
};

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
    TCanvas& canvas = bitmap.Canvas();

    canvas.pen.Style = TCanvas::PenStyle::Clear;
    canvas.brush.Style = TCanvas::BrushStyle::Solid;
    canvas.brush.Color = clWhite32;
    canvas.Polygon(outline);

    // The liquid is a plain rectangle cut to the flask's shape by the clip.
    canvas.SetClipPolygon(outline);
    TRect liquid{Round(X), Round(Y + H - LiquidHeight), Round(X + W), Round(Y + H)};
    canvas.brush.Color = Color32(255, 255, 224);
    canvas.FillRect(liquid);
    canvas.pen.Style = TCanvas::PenStyle::Solid;
    canvas.pen.Color = clBlack32;
    canvas.pen.Width = 1;
    canvas.pen.Mode = TCanvas::PenMode::Copy;
    canvas.MoveTo(liquid.Left, liquid.Top);
    canvas.LineTo(liquid.Right, liquid.Top);
    if (Bubbles)
        DrawFlaskBubbles(bitmap, liquid, TFlaskRegion(outline));
    canvas.ClearClip();

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
