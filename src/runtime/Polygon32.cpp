#include "runtime/Polygon32.h"

#include "runtime/raster/Lines.h"
#include "runtime/raster/PolygonFill.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

raster::FillRule RuleOf(TPolyFillMode mode)
{
    return mode == TPolyFillMode::pfWinding ? raster::FillRule::NonZero : raster::FillRule::EvenOdd;
}

raster::EdgeList& ScratchEdges()
{
    thread_local raster::EdgeList edges;
    edges.Clear();
    return edges;
}

// Strokes one contour segment by segment; every pixel of a joint is drawn
// once by the aliased line (Wu's lines already split the joint pixel between
// the two segments).
void StrokeContour(TBitmap32& bitmap, const TContour& points, TColor32 color, bool closed, bool smooth)
{
    const std::size_t n = points.size();
    if (n < 2 || AlphaOf(color) == 0)
        return;
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const TFixedPoint& a = points[i];
        const TFixedPoint& b = points[(i + 1) % n];
        const double x0 = FixedToFloat(a.X), y0 = FixedToFloat(a.Y);
        const double x1 = FixedToFloat(b.X), y1 = FixedToFloat(b.Y);
        if (smooth)
            raster::SmoothLine(bitmap, x0, y0, x1, y1, color);
        else
            raster::PlainLine(bitmap, x0, y0, x1, y1, color, !closed && i + 1 == segments);
    }
}

struct Vec {
    double x = 0, y = 0;
};

Vec operator+(Vec a, Vec b)
{
    return {a.x + b.x, a.y + b.y};
}
Vec operator*(double k, Vec a)
{
    return {k * a.x, k * a.y};
}
double Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}

// The points of a contour without repeats of the same point one after
// another (nor, for a closed contour, of the first point at the end): the
// edges between them all have a direction.
std::vector<Vec> DistinctPoints(const TContour& contour, bool closed)
{
    std::vector<Vec> points;
    for (std::size_t i = 0; i < contour.size(); ++i)
        if (i == 0 || contour[i] != contour[i - 1])
            points.push_back({FixedToFloat(contour[i].X), FixedToFloat(contour[i].Y)});
    if (closed && points.size() > 1 && points.front().x == points.back().x &&
        points.front().y == points.back().y)
        points.pop_back();
    return points;
}

// Unit normal (dy, −dx) of the edge from a to b.
Vec EdgeNormal(Vec a, Vec b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    return {dy / length, -dx / length};
}

class ContourGrower {
public:
    ContourGrower(double delta, double mitreLimit) : delta_(delta), mitreLimit_(mitreLimit) {}

    TContour Grow(const std::vector<Vec>& points, bool closed) const
    {
        const std::size_t n = points.size();
        const std::size_t edges = closed ? n : n - 1;
        std::vector<Vec> normals(edges);
        for (std::size_t i = 0; i < edges; ++i)
            normals[i] = EdgeNormal(points[i], points[(i + 1) % n]);
        TContour out;
        out.reserve(2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            if (!closed && i == 0)
                put(out, points[i], normals.front());
            else if (!closed && i == n - 1)
                put(out, points[i], normals.back());
            else
                join(out, points[i], normals[(i + edges - 1) % edges], normals[i % edges]);
        }
        return out;
    }

private:
    void put(TContour& out, Vec p, Vec offset) const
    {
        const Vec q = p + delta_ * offset;
        out.push_back(FixedPoint(q.x, q.y));
    }
    // The mitre point, where the two offset edges meet, lies 1 / cos(θ/2)
    // times delta from the corner (θ the turn between the edges); beyond the
    // limit the corner is cut by the two offset points instead.
    void join(TContour& out, Vec p, Vec in, Vec outgoing) const
    {
        const double c = Dot(in, outgoing);
        if (1 + c > 1e-12) {
            const Vec mitre = (1 / (1 + c)) * (in + outgoing);
            if (std::sqrt(2 / (1 + c)) <= mitreLimit_) {
                put(out, p, mitre);
                return;
            }
        }
        put(out, p, in);
        put(out, p, outgoing);
    }

    double delta_;
    double mitreLimit_;
};

}  // namespace

TPolygon32::TPolygon32() : contours_(1) {}

void TPolygon32::AddPoint(const TFixedPoint& p)
{
    if (contours_.empty())
        contours_.emplace_back();
    contours_.back().push_back(p);
}

void TPolygon32::AddPoints(const TFixedPoint* points, int count)
{
    if (points == nullptr || count <= 0)
        return;
    if (contours_.empty())
        contours_.emplace_back();
    contours_.back().insert(contours_.back().end(), points, points + count);
}

void TPolygon32::NewContour()
{
    contours_.emplace_back();
}

void TPolygon32::Clear()
{
    contours_.assign(1, TContour{});
}

void TPolygon32::Offset(TFixed dx, TFixed dy)
{
    for (TContour& contour : contours_)
        for (TFixedPoint& p : contour) {
            p.X += dx;
            p.Y += dy;
        }
}

void TPolygon32::DrawFill(TBitmap32& bitmap, TColor32 color) const
{
    raster::EdgeList& edges = ScratchEdges();
    for (const TContour& contour : contours_)
        edges.AddContour(contour.data(), contour.size());
    raster::FillEdges(bitmap, edges.Edges(), RuleOf(FillMode), Antialiased, color);
    bitmap.Changed();
}

void TPolygon32::DrawOutline(TBitmap32& bitmap, TColor32 color) const
{
    for (const TContour& contour : contours_)
        StrokeContour(bitmap, contour, color, Closed, Antialiased);
    bitmap.Changed();
}

void TPolygon32::Draw(TBitmap32& bitmap, TColor32 outlineColor, TColor32 fillColor) const
{
    bitmap.BeginUpdate();
    if (AlphaOf(fillColor) != 0)
        DrawFill(bitmap, fillColor);
    if (AlphaOf(outlineColor) != 0)
        DrawOutline(bitmap, outlineColor);
    bitmap.EndUpdate();
}

TPolygon32 TPolygon32::OutlineShape() const
{
    TPolygon32 result;
    result.Closed = Closed;
    result.Antialiased = Antialiased;
    result.FillMode = FillMode;
    result.contours_.clear();
    for (const TContour& contour : contours_) {
        if (contour.size() < 2)
            continue;
        const TContour reversed(contour.rbegin(), contour.rend());
        if (Closed) {
            result.contours_.push_back(contour);
            result.contours_.push_back(reversed);
        } else {
            TContour there_and_back = contour;
            there_and_back.insert(there_and_back.end(), reversed.begin(), reversed.end());
            result.contours_.push_back(std::move(there_and_back));
        }
    }
    return result;
}

TPolygon32 TPolygon32::Grow(TFixed delta, float edgeSharpness) const
{
    TPolygon32 result;
    result.Closed = Closed;
    result.Antialiased = Antialiased;
    result.FillMode = FillMode;
    result.contours_.clear();
    // A sharper edge lets a longer mitre through: up to (1 + sharpness) × delta.
    const double sharpness = std::isnan(edgeSharpness) ? 0.0 : std::clamp(double(edgeSharpness), 0.0, 0.99);
    const ContourGrower grower(FixedToFloat(delta), 1 + sharpness);
    for (const TContour& contour : contours_) {
        if (contour.size() < 2)
            continue;
        // A contour whose points all coincide has no direction to grow in.
        const std::vector<Vec> points = DistinctPoints(contour, Closed);
        if (points.size() < 2)
            continue;
        result.contours_.push_back(grower.Grow(points, Closed));
    }
    return result;
}

void TPolygon32::ThickOutline(TBitmap32& bitmap, TColor32 color) const
{
    TPolygon32 band = OutlineShape().Grow(FixedPoint(-1.0), 1);
    band.FillMode = TPolyFillMode::pfWinding;
    band.DrawFill(bitmap, color);
}

void FillPolygon(TBitmap32& bitmap, const TContour& points, TColor32 color, bool smooth)
{
    raster::EdgeList& edges = ScratchEdges();
    edges.AddContour(points.data(), points.size());
    raster::FillEdges(bitmap, edges.Edges(), raster::FillRule::EvenOdd, smooth, color);
    bitmap.Changed();
}

void DrawPolyline(TBitmap32& bitmap, const TContour& points, TColor32 color, bool closed, bool smooth)
{
    StrokeContour(bitmap, points, color, closed, smooth);
    bitmap.Changed();
}

}  // namespace brv
