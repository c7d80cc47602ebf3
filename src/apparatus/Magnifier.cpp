#include "apparatus/Magnifier.h"

#include "apparatus/Shapes.h"

namespace brv {

void DrawMagnifierMask(TBitmap32& bitmap, float cx, float cy, float size)
{
    float half = LensMaskHalfSide * size;
    DrawMagnifierMask(bitmap, cx, cy, size, {cx - half, cy - half, cx + half, cy + half});
}

void DrawMagnifierMask(TBitmap32& bitmap, float cx, float cy, float size, const TFloatRect& maskArea)
{
    // The rectangle and the circle filled together by the even-odd rule cover
    // exactly the ring between them.
    TPolygon32 mask;
    mask.AddPoint(FixedPoint(maskArea.Left, maskArea.Top));
    mask.AddPoint(FixedPoint(maskArea.Left, maskArea.Bottom));
    mask.AddPoint(FixedPoint(maskArea.Right, maskArea.Bottom));
    mask.AddPoint(FixedPoint(maskArea.Right, maskArea.Top));
    mask.NewContour();
    AddCircle(mask, cx, cy, 0.5f * size, LensCirclePoints);
    mask.DrawFill(bitmap, clWhite32);

    TPolygon32 rim;
    rim.Antialiased = true;
    AddCircle(rim, cx, cy, 0.5f * size, LensCirclePoints);
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

TLensRule LensRuleInWindow(const TRect& window, float centre, float step, const TLensTickLengths& lengths,
                           int labelRight, TLensRuleEdge edge)
{
    TLensRule rule;
    rule.Centre = centre;
    rule.Step = step;
    rule.Top = window.Top;
    rule.Bottom = window.Bottom;
    rule.LabelRight = labelRight;
    if (edge == TLensRuleEdge::Right) {
        rule.TickEnd = window.Right - 1;
        rule.MajorStart = window.Right - lengths.Major;
        rule.HalfStart = window.Right - lengths.Half;
        rule.MinorStart = window.Right - lengths.Minor;
    } else {
        rule.TickEnd = window.Left;
        rule.MajorStart = window.Left + lengths.Major - 1;
        rule.HalfStart = window.Left + lengths.Half - 1;
        rule.MinorStart = window.Left + lengths.Minor - 1;
    }
    return rule;
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
