// The drawing surface against the same drawing done directly with QPainter on
// a QImage of the same format, in the same run.  Pairs are named
// BM_<operation>_Ours and BM_<operation>_QPainter; wall time is measured, as
// QPainter may hand large fills to its thread pool.
#include "BenchPeers.h"

#include "runtime/AddMaths.h"
#include "runtime/Bitmap32.h"
#include "runtime/Polygon32.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using namespace brv;

constexpr int kWidth = 800, kHeight = 600;
constexpr double kLensSize = 150;
constexpr TColor32 kHalfRed = 0x80FF0000;

QColor ToQColor(TColor32 c)
{
    return QColor::fromRgba(c);
}

TBitmap32& Canvas()
{
    static TBitmap32 b(kWidth, kHeight);
    return b;
}

QImage& PlainImage(QImage::Format format = QImage::Format_ARGB32)
{
    static QImage argb(kWidth, kHeight, QImage::Format_ARGB32);
    static QImage premultiplied(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    return format == QImage::Format_ARGB32 ? argb : premultiplied;
}

void Prepare()
{
    Canvas().ResetClipRect();
    Canvas().Clear(clWhite32);
    PlainImage().fill(Qt::white);
    PlainImage(QImage::Format_ARGB32_Premultiplied).fill(Qt::white);
}

std::vector<QPointF> CirclePoints(double cx, double cy, double r)
{
    std::vector<QPointF> points;
    for (int i = 0; i < 50; ++i) {
        const TXY p = PolarToXY(float(2 * std::numbers::pi * i / 50), float(r));
        points.emplace_back(cx + p.a, cy + p.b);
    }
    return points;
}

TContour ToContour(const std::vector<QPointF>& points)
{
    TContour c;
    for (const QPointF& p : points)
        c.push_back(FixedPoint(p.x(), p.y()));
    return c;
}

QPolygonF ToPolygon(const std::vector<QPointF>& points)
{
    return QPolygonF(QList<QPointF>(points.begin(), points.end()));
}

// --- Clear of a full-HD frame -------------------------------------------------

void BM_Clear_Ours(benchmark::State& state)
{
    TBitmap32 b(1920, 1080);
    for (auto _ : state) {
        b.Clear(0xFFF0F0F0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Clear_Ours)->UseRealTime();

void BM_Clear_QPainter(benchmark::State& state)
{
    QImage img(1920, 1080, QImage::Format_ARGB32);
    for (auto _ : state) {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(img.rect(), QColor(0xF0, 0xF0, 0xF0));
        p.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Clear_QPainter)->UseRealTime();

void BM_Clear_StdFill(benchmark::State& state)
{
    std::vector<std::uint32_t> pixels(1920 * 1080);
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), 0xFFF0F0F0u);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Clear_StdFill)->UseRealTime();

// --- rectangles -----------------------------------------------------------------

const QRect kRect(13, 17, 200, 100);

void BM_FillRect_Ours(benchmark::State& state)
{
    Prepare();
    for (auto _ : state)
        Canvas().FillRect(kRect.x(), kRect.y(), kRect.right() + 1, kRect.bottom() + 1, 0xFF2060A0);
}
BENCHMARK(BM_FillRect_Ours)->UseRealTime();

void BM_FillRect_QPainter(benchmark::State& state)
{
    Prepare();
    for (auto _ : state) {
        QPainter p(&PlainImage());
        p.fillRect(kRect, ToQColor(0xFF2060A0));
    }
}
BENCHMARK(BM_FillRect_QPainter)->UseRealTime();

void BM_BlendRect_Ours(benchmark::State& state)
{
    Prepare();
    for (auto _ : state)
        Canvas().BlendRect(kRect.x(), kRect.y(), kRect.right() + 1, kRect.bottom() + 1, kHalfRed);
}
BENCHMARK(BM_BlendRect_Ours)->UseRealTime();

void BlendRectWithQPainter(benchmark::State& state, QImage::Format format)
{
    Prepare();
    for (auto _ : state) {
        QPainter p(&PlainImage(format));
        p.fillRect(kRect, ToQColor(kHalfRed));
    }
}

const bool kBlendRectPeers = [] {
    bench::Measure("BM_BlendRect_QPainter", BlendRectWithQPainter, QImage::Format_ARGB32);
    bench::Measure("BM_BlendRect_QPainterPremultiplied", BlendRectWithQPainter,
                   QImage::Format_ARGB32_Premultiplied);
    return true;
}();

// --- a rule's ticks: 101 horizontal ticks on a vertical spine -------------------

int TickLength(int i)
{
    return i % 10 == 0 ? 30 : (i % 5 == 0 ? 20 : 12);
}

void BM_RuleTicks_Ours(benchmark::State& state)
{
    Prepare();
    TBitmap32& b = Canvas();
    for (auto _ : state) {
        b.BeginUpdate();
        b.VertLine(100, 50, 550, clBlack32);
        for (int i = 0; i <= 100; ++i)
            b.HorzLine(100, 50 + 5 * i, 100 + TickLength(i), clBlack32);
        b.EndUpdate();
    }
}
BENCHMARK(BM_RuleTicks_Ours)->UseRealTime();

void BM_RuleTicks_QPainter(benchmark::State& state)
{
    Prepare();
    for (auto _ : state) {
        QPainter p(&PlainImage());
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(100, 50, 100, 550);
        for (int i = 0; i <= 100; ++i)
            p.drawLine(100, 50 + 5 * i, 100 + TickLength(i), 50 + 5 * i);
    }
}
BENCHMARK(BM_RuleTicks_QPainter)->UseRealTime();

// --- an antialiased 50-point circle ---------------------------------------------

const std::vector<QPointF> kCircle = CirclePoints(300.3, 250.6, 0.5 * kLensSize);

TPolygon32 AntialiasedCircle()
{
    TPolygon32 circle;
    const TContour c = ToContour(kCircle);
    circle.AddPoints(c.data(), int(c.size()));
    circle.Antialiased = true;
    return circle;
}

void CircleFillOurs(benchmark::State& state, TColor32 color)
{
    Prepare();
    TPolygon32 circle = AntialiasedCircle();
    for (auto _ : state)
        circle.DrawFill(Canvas(), color);
}

void CircleFillQPainter(benchmark::State& state, TColor32 color)
{
    Prepare();
    const QPolygonF polygon = ToPolygon(kCircle);
    for (auto _ : state) {
        QPainter p(&PlainImage());
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(color));
        p.drawPolygon(polygon);
    }
}

const bool kCircleFills = [] {
    constexpr TColor32 opaque = 0xFF3060C0, half = 0x803060C0;
    bench::Measure("BM_CircleFillOpaque_Ours", CircleFillOurs, opaque);
    bench::Measure("BM_CircleFillOpaque_QPainter", CircleFillQPainter, opaque);
    bench::Measure("BM_CircleFillHalf_Ours", CircleFillOurs, half);
    bench::Measure("BM_CircleFillHalf_QPainter", CircleFillQPainter, half);
    return true;
}();

void BM_ThickOutline_Ours(benchmark::State& state)
{
    Prepare();
    TPolygon32 circle = AntialiasedCircle();
    for (auto _ : state)
        circle.ThickOutline(Canvas(), clBorder32);
}
BENCHMARK(BM_ThickOutline_Ours)->UseRealTime();

void BM_ThickOutline_QPainter(benchmark::State& state)
{
    Prepare();
    const QPolygonF polygon = ToPolygon(kCircle);
    for (auto _ : state) {
        QPainter p(&PlainImage());
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ToQColor(clBorder32), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(polygon);
    }
}
BENCHMARK(BM_ThickOutline_QPainter)->UseRealTime();

// --- the magnifier's mask: a square with the lens cut out, even-odd, aliased ----

void BM_LensMask_Ours(benchmark::State& state)
{
    Prepare();
    const double cx = 300.3, cy = 250.6, h = 0.6 * kLensSize;
    TPolygon32 mask;
    mask.AddPoint(FixedPoint(cx - h, cy - h));
    mask.AddPoint(FixedPoint(cx + h, cy - h));
    mask.AddPoint(FixedPoint(cx + h, cy + h));
    mask.AddPoint(FixedPoint(cx - h, cy + h));
    mask.NewContour();
    const TContour c = ToContour(kCircle);
    mask.AddPoints(c.data(), int(c.size()));
    for (auto _ : state)
        mask.DrawFill(Canvas(), clWhite32);
}
BENCHMARK(BM_LensMask_Ours)->UseRealTime();

void BM_LensMask_QPainter(benchmark::State& state)
{
    Prepare();
    const double cx = 300.3, cy = 250.6, h = 0.6 * kLensSize;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(QPolygonF({{cx - h, cy - h}, {cx + h, cy - h}, {cx + h, cy + h}, {cx - h, cy + h}}));
    path.closeSubpath();
    path.addPolygon(ToPolygon(kCircle));
    path.closeSubpath();
    for (auto _ : state) {
        QPainter p(&PlainImage());
        p.fillPath(path, Qt::white);
    }
}
BENCHMARK(BM_LensMask_QPainter)->UseRealTime();

// --- a short label ----------------------------------------------------------------

const QString kLabel = QStringLiteral("12.5 cm");

void BM_TextOut_Ours(benchmark::State& state)
{
    Prepare();
    TBitmap32& b = Canvas();
    b.Font.Height = 13;
    b.TextOut(40, 40, kLabel);  // the first use loads the font
    for (auto _ : state)
        b.TextOut(40, 40, kLabel);
}
BENCHMARK(BM_TextOut_Ours)->UseRealTime();

void BM_TextOut_QPainter(benchmark::State& state)
{
    Prepare();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    const int ascent = QFontMetrics(font).ascent();
    {
        QPainter p(&PlainImage());  // the first use loads the font
        p.setFont(font);
        p.drawText(40, 40 + ascent, kLabel);
    }
    for (auto _ : state) {
        QPainter p(&PlainImage());
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(40, 40 + ascent, kLabel);
    }
}
BENCHMARK(BM_TextOut_QPainter)->UseRealTime();

// --- 100 blended 24 × 24 sprites ---------------------------------------------------

// A ball: opaque inside, soft edge, transparent corners.
QImage BallPicture()
{
    QImage ball(24, 24, QImage::Format_ARGB32);
    ball.fill(Qt::transparent);
    QPainter p(&ball);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QRectF(1, 1, 22, 22));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(QRectF(6, 5, 7, 6));
    return ball;
}

QPoint SpritePlace(int i)
{
    return {(i * 37) % (kWidth - 24), (i * 53) % (kHeight - 24)};
}

void BM_Sprites_Ours(benchmark::State& state)
{
    Prepare();
    TBitmap32 ball;
    ball.Assign(BallPicture());
    ball.DrawMode = TDrawMode::dmBlend;
    TBitmap32& b = Canvas();
    for (auto _ : state) {
        b.BeginUpdate();
        for (int i = 0; i < 100; ++i)
            ball.DrawTo(b, SpritePlace(i).x(), SpritePlace(i).y());
        b.EndUpdate();
    }
}
BENCHMARK(BM_Sprites_Ours)->UseRealTime();

void SpritesWithQPainter(benchmark::State& state, QImage::Format format)
{
    Prepare();
    const QImage ball = BallPicture().convertToFormat(format);
    for (auto _ : state) {
        QPainter p(&PlainImage(format));
        for (int i = 0; i < 100; ++i)
            p.drawImage(SpritePlace(i), ball);
    }
}

const bool kSpritesPeers = [] {
    bench::Measure("BM_Sprites_QPainter", SpritesWithQPainter, QImage::Format_ARGB32);
    bench::Measure("BM_Sprites_QPainterPremultiplied", SpritesWithQPainter,
                   QImage::Format_ARGB32_Premultiplied);
    return true;
}();

}  // namespace
