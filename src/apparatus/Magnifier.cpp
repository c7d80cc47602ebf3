#include "apparatus/Magnifier.h"

#include <cmath>
#include <numbers>

namespace brv {

TContour LensCircle(float cx, float cy, float radius)
{
    TContour circle;
    circle.reserve(LensCirclePoints);
    for (int k = 0; k < LensCirclePoints; ++k) {
        float a = 2.0f * std::numbers::pi_v<float> * float(k) / float(LensCirclePoints);
        circle.push_back(FixedPoint(cx + radius * std::cos(a), cy + radius * std::sin(a)));
    }
    return circle;
}

void DrawMagnifierMask(TBitmap32& bitmap, float cx, float cy, float size)
{
    float half = LensMaskHalfSide * size;
    DrawMagnifierMask(bitmap, cx, cy, size, {cx - half, cy - half, cx + half, cy + half});
}

void DrawMagnifierMask(TBitmap32& bitmap, float cx, float cy, float size, const TFloatRect& maskArea)
{
    TContour circle = LensCircle(cx, cy, 0.5f * size);

    // The rectangle and the circle filled together by the even-odd rule cover
    // exactly the ring between them.
    TPolygon32 mask;
    mask.AddPoint(FixedPoint(maskArea.Left, maskArea.Top));
    mask.AddPoint(FixedPoint(maskArea.Left, maskArea.Bottom));
    mask.AddPoint(FixedPoint(maskArea.Right, maskArea.Bottom));
    mask.AddPoint(FixedPoint(maskArea.Right, maskArea.Top));
    mask.NewContour();
    mask.AddPoints(circle.data(), int(circle.size()));
    mask.DrawFill(bitmap, clWhite32);

    TPolygon32 rim;
    rim.Antialiased = true;
    rim.AddPoints(circle.data(), int(circle.size()));
    rim.ThickOutline(bitmap, clLensRim32);
}

TTickKind LensTickKind(int index)
{
    if (index % 10 == 0)
        return TTickKind::Major;
    if (index % 5 == 0)
        return TTickKind::Half;
    return TTickKind::Minor;
}

void DrawLensRule(TBitmap32& bitmap, const TLensRule& rule, float reading, int first, int last,
                  int firstLabel, int labelStep)
{
    const float shift = LensTickShift(reading, rule.Step);
    const int halfLabel = bitmap.TextHeight(QStringLiteral("M")) / 2;
    ForEachLensTick(first, last, firstLabel, labelStep, [&](const TLensTick& tick) {
        const int y = Round(float(tick.Index) * rule.Step + rule.Centre - shift);
        if (y <= rule.Top || y >= rule.Bottom)
            return;
        switch (tick.Kind) {
            case TTickKind::Major: {
                bitmap.HorzLine(rule.MajorStart, y, rule.TickEnd, clBlack32);
                const QString label = QString::number(tick.Label);
                bitmap.TextOut(rule.LabelRight - bitmap.TextWidth(label), y - halfLabel, label);
                break;
            }
            case TTickKind::Half:
                bitmap.HorzLine(rule.HalfStart, y, rule.TickEnd, clBlack32);
                break;
            case TTickKind::Minor:
                bitmap.HorzLine(rule.MinorStart, y, rule.TickEnd, clBlack32);
                break;
        }
    });
}

}  // namespace brv
