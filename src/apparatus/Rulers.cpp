#include "apparatus/Rulers.h"

#include "apparatus/Labels.h"
#include "runtime/AddMaths.h"

namespace brv {

namespace {

constexpr TColor32 kStripColour = 0xFFFFFF80;
constexpr int kDivisions = 100;

TRect StripRect(float Left, float Top, float Width, float Height)
{
    return {Round(Left), Round(Top), Round(Left + Width), Round(Top + Height)};
}

void DrawStrip(TBitmap32& bitmap, const TRect& strip)
{
    bitmap.FillRect(strip, kStripColour);
    bitmap.FrameRect(strip, clBlack32);
}

// The colour is left to the caller, so a rule can be numbered in another one.
void SetNumberFont(TBitmap32& bitmap, float division)
{
    SetLabelFont(bitmap, Round(2.5f * division));
}

// Length of the tick of division i: long every ten, medium every five.
int TickLength(int i, float across)
{
    if (i % 10 == 0)
        return Round(0.4f * across);
    if (i % 5 == 0)
        return Round(0.2f * across);
    return Round(0.1f * across);
}

int DivisionOffset(int i, float division)
{
    return Round(float(i) * division);
}

}  // namespace

void DrawVerticalRule(TBitmap32& bitmap, bool Reversed, float Left, float Top, float Width, float Height)
{
    const float u = 0.01f * Height;
    const TRect strip = StripRect(Left, Top, Width, Height);
    DrawStrip(bitmap, strip);

    const int tickRight = strip.Right - 1;
    const int numberRight = strip.Left - 2;
    SetNumberFont(bitmap, u);
    const int halfM = bitmap.TextHeight(QStringLiteral("M")) / 2;

    for (int i = 0; i < kDivisions; ++i) {
        const int y = strip.Top + DivisionOffset(i, u);
        bitmap.HorzLine(tickRight, y, tickRight - TickLength(i, Width), clBlack32);
        if (i % 10 == 0) {
            const QString number = QString::number(Reversed ? kDivisions - i : i);
            bitmap.TextOut(numberRight - bitmap.TextWidth(number), y - halfM, number);
        }
    }

    // No tick at the far end (the frame closes the strip); its number sits
    // with its bottom level with the bottom of the strip.
    const QString endNumber = QString::number(Reversed ? 0 : kDivisions);
    bitmap.TextOut(numberRight - bitmap.TextWidth(endNumber), strip.Bottom - 2 * halfM, endNumber);
}

void DrawHorizontalRule(TBitmap32& bitmap, float Left, float Top, float Width, float Height)
{
    const float u = 0.01f * Width;
    const TRect strip = StripRect(Left, Top, Width, Height);
    DrawStrip(bitmap, strip);

    SetNumberFont(bitmap, u);
    for (int i = 1; i < kDivisions; ++i) {
        const int x = strip.Left + DivisionOffset(i, u);
        const int tickEnd = strip.Top + TickLength(i, Height);
        bitmap.VertLine(x, strip.Top, tickEnd, clBlack32);
        if (i % 10 == 0) {
            const QString number = QString::number(i);
            bitmap.TextOut(x - bitmap.TextWidth(number) / 2, tickEnd, number);
        }
    }
}

}  // namespace brv
