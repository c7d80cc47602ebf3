#include "apparatus/ApparatusSheet.h"

#include "apparatus/Beakers.h"
#include "apparatus/Burettes.h"
#include "apparatus/Labels.h"
#include "apparatus/Meters.h"
#include "apparatus/Rulers.h"
#include "apparatus/Thermometers.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"

#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

// The sheet is a developer's view of the apparatus, not part of the program's
// interface: its captions are the routines' and parameters' own names, which
// are never translated, so they are written here rather than in the string
// table.  Readings carry the program's own unit texts.

namespace brv {

namespace {

constexpr float SheetWidth = 266;  // sheet units
constexpr float SheetHeight = 212;
constexpr TColor32 clCaption32 = 0xFF00007F;
constexpr TColor32 clBehindGlass32 = 0xFFFFC080;

// One labelled place on the sheet, in sheet units; Draw gets the scale and the
// place's top-left in pixels.
struct TSheetCell {
    float X, Y, W, H;
    QString Name;
    QString Reading;
    std::function<void(TBitmap32&, float s, float x, float y)> Draw;
};

QString Degrees(float t)
{
    return QString::number(t) + str::sDegCPostfix();
}
QString Cm3(float v)
{
    return QString::number(v) + str::sCm3Postfix();
}

std::vector<TSheetCell> LensCells(const TSheetReadings& r)
{
    std::vector<TSheetCell> cells;
    float x = 2;
    for (float t : {r.Temperature.value_or(25.0f), 5.0f, 98.0f}) {
        cells.push_back(
            {x, 2, 36, 36, "DrawThermometerLens", Degrees(t), [t](TBitmap32& b, float s, float x0, float y0) {
                 DrawThermometerLens(b, x0 + 3 * s, y0 + 3 * s, 30 * s, t);
             }});
        x += 36;
    }
    for (float v : {r.Volume.value_or(0.3f), 12.0f, 12.55f, 49.2f}) {
        cells.push_back(
            {x, 2, 36, 36, "DrawBuretteLens", Cm3(v), [v](TBitmap32& b, float s, float x0, float y0) {
                 DrawBuretteLens(b, x0 + 3 * s, y0 + 3 * s, 30 * s, v);
             }});
        x += 36;
    }
    return cells;
}

std::vector<TSheetCell> GlasswareCells(const TSheetReadings& r)
{
    const float y = 48;
    const float t = r.Temperature.value_or(25.0f);
    return {
        {2, y, 24, 50, "DrawThermometer", Degrees(t) + " W 9",
         [t](TBitmap32& b, float s, float x0, float y0) {
             DrawThermometer(b, x0 + 13 * s, y0 + 3 * s, 9, 45 * s, t);
         }},
        {26, y, 24, 50, "DrawThermometer", Degrees(98) + " W 6",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawThermometer(b, x0 + 13 * s, y0 + 3 * s, 6, 45 * s, 98);
         }},
        // Something behind the glass, so that ClearInside shows.
        {50, y, 88, 50, "", "",
         [](TBitmap32& b, float s, float x0, float y0) {
             b.FillRect(Round(x0), Round(y0 + 14 * s), Round(x0 + 88 * s), Round(y0 + 24 * s),
                        clBehindGlass32);
         }},
        {50, y, 24, 50, "DrawBeaker", "ClearInside",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawBeaker(b, true, x0 + 4 * s, y0 + 20 * s, 16 * s, 20 * s, 8 * s);
         }},
        {74, y, 24, 50, "DrawBeaker", "",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawBeaker(b, false, x0 + 4 * s, y0 + 20 * s, 16 * s, 20 * s, 8 * s);
         }},
        {98, y, 20, 50, "DrawTestTube", "ClearInside",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawTestTube(b, 0xFFFFFFE0, true, x0 + 7.5f * s, y0 + 10 * s, 5 * s, 30 * s, 12 * s);
         }},
        {118, y, 20, 50, "DrawTestTube", "",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawTestTube(b, 0xFFC0E1FF, false, x0 + 6 * s, y0 + 3 * s, 8 * s, 40 * s, 20 * s);
         }},
        {138, y, 36, 50, "DrawWaterBath", "15 / 20",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawWaterBath(b, 0xFFC0E1FF, x0 + 3 * s, y0 + 25 * s, 30 * s, 20 * s, 15 * s, s);
         }},
        {174, y, 36, 50, "DrawWaterBath", "0 / 20",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawWaterBath(b, 0xFFC0E1FF, x0 + 3 * s, y0 + 25 * s, 30 * s, 20 * s, 0, s);
         }},
        {210, y, 30, 50, "DrawConicalFlask", "Bung Bubbles",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawConicalFlask(b, true, true, x0 + 3 * s, y0 + 13 * s, 24 * s, 32 * s, 12 * s);
         }},
        {240, y, 24, 50, "DrawConicalFlask", "",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawConicalFlask(b, false, false, x0 + 4.5f * s, y0 + 25 * s, 15 * s, 20 * s, 6 * s);
         }},
    };
}

std::vector<TSheetCell> BuretteCells(const TSheetReadings& r)
{
    const float y = 108;
    const float gas = r.Volume.value_or(20.0f);
    const float left = r.Volume.value_or(35.0f);
    std::vector<TSheetCell> cells{
        {2, y, 22, 92, "DrawGasBurette", Cm3(0),
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawGasBurette(b, false, 0, x0 + 9.5f * s, y0 + 3 * s, 3 * s, 80 * s, 0);
         }},
        {24, y, 22, 92, "DrawGasBurette", Cm3(gas) + " Bubbling",
         [gas](TBitmap32& b, float s, float x0, float y0) {
             DrawGasBurette(b, true, 5, x0 + 9.5f * s, y0 + 3 * s, 3 * s, 80 * s, gas);
         }},
        {46, y, 22, 92, "DrawGasBurette", Cm3(50),
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawGasBurette(b, false, 0, x0 + 9.5f * s, y0 + 3 * s, 3 * s, 80 * s, 50);
         }},
        {68, y, 22, 92, "DrawBurette", "LiquidLeft " + QString::number(left) + " TapOpen",
         [left](TBitmap32& b, float s, float x0, float y0) {
             DrawBurette(b, true, x0 + 9.5f * s, y0 + 3 * s, 3 * s, 75 * s, left);
         }},
        {90, y, 22, 92, "DrawBurette", "LiquidLeft 50",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawBurette(b, false, x0 + 9.5f * s, y0 + 3 * s, 3 * s, 75 * s, 50);
         }},
        {112, y, 18, 92, "DrawCircle", "0 1 2 3 5 8 px",
         [](TBitmap32& b, float s, float x0, float y0) {
             int cx = Round(x0 + 9 * s);
             int cy = Round(y0 + 4 * s);
             for (int r : {0, 1, 2, 3, 5, 8}) {
                 cy += r + std::max(4, Round(2 * s));
                 DrawCircle(b, cx, cy, r);
                 cy += r;
             }
         }},
    };
    return cells;
}

std::vector<TSheetCell> MeterAndRuleCells(const TSheetReadings& r)
{
    const float y = 108;
    const int volts = r.Voltage.value_or(6);
    // The minutes-and-seconds watch counts whole seconds.
    const int wholeSeconds = r.Seconds ? int(std::clamp(*r.Seconds, -1e6, 1e6)) : 125;
    const double seconds = r.Seconds.value_or(1.234);
    return {
        {130, y, 22, 26, "DrawDigitalMeter", "muAmp",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawDigitalMeter(b, "1.25", muAmp, x0 + 3.5f * s, y0 + 3 * s, 15 * s, 20 * s, 0xFFC0E1FF);
         }},
        {152, y, 22, 26, "DrawDigitalMeter", "muKiloOhm",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawDigitalMeter(b, "4.7", muKiloOhm, x0 + 3.5f * s, y0 + 3 * s, 15 * s, 20 * s, 0xFFBFBFBF);
         }},
        {174, y, 22, 26, "DrawPowerSupply", QString::number(volts) + " V",
         [volts](TBitmap32& b, float s, float x0, float y0) {
             DrawPowerSupply(b, volts, 0xFFC0E1FF, x0 + 3 * s, y0 + 3 * s, 16 * s, 17.3f * s);
         }},
        {196, y, 24, 26, "DrawStopwatch", QString::number(wholeSeconds) + " s",
         [wholeSeconds](TBitmap32& b, float s, float x0, float y0) {
             DrawStopwatch(b, FormatMinSec(wholeSeconds), str::sMinSec(), x0 + 2 * s, y0 + 3 * s, 20 * s,
                           15 * s);
         }},
        {196, y + 34, 24, 26, "DrawStopwatch", QString::number(seconds) + " s",
         [seconds](TBitmap32& b, float s, float x0, float y0) {
             DrawStopwatch(b, FormatSeconds(seconds), str::sSeconds(), x0 + 2 * s, y0 + 3 * s, 20 * s,
                           15 * s);
         }},
        {130, y + 34, 66, 26, "DrawHorizontalRule", "",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawHorizontalRule(b, x0 + 4 * s, y0 + 8 * s, 58 * s, 5 * s);
         }},
        {220, y, 22, 92, "DrawVerticalRule", "",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawVerticalRule(b, false, x0 + 12 * s, y0 + 3 * s, 5 * s, 80 * s);
         }},
        {242, y, 22, 92, "DrawVerticalRule", "Reversed",
         [](TBitmap32& b, float s, float x0, float y0) {
             DrawVerticalRule(b, true, x0 + 12 * s, y0 + 3 * s, 5 * s, 80 * s);
         }},
    };
}

// The reading's words put on as few lines as fit in `room` pixels; a word
// wider than the room gets a line of its own.
QStringList WrapWords(const TBitmap32& bitmap, const QString& text, int room)
{
    QStringList lines;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && bitmap.TextWidth(lines.back() + QLatin1Char(' ') + word) <= room)
            lines.back() += QLatin1Char(' ') + word;
        else
            lines.append(word);
    }
    return lines;
}

int WidestLine(const TBitmap32& bitmap, const QStringList& lines)
{
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, bitmap.TextWidth(line));
    return widest;
}

// The caption under the place: the routine's name, then the reading wrapped
// to the place's width, the font shrunk only when a single word will not fit.
void DrawCaption(TBitmap32& bitmap, const TSheetCell& cell, float s)
{
    if (cell.Name.isEmpty())
        return;
    SetLabelFont(bitmap, std::max(9, Round(1.6f * s)), false);
    bitmap.Font.Color = clCaption32;
    int room = Round(cell.W * s) - 2;
    QStringList lines;
    for (;;) {
        lines = QStringList{cell.Name} + WrapWords(bitmap, cell.Reading, room);
        if (bitmap.Font.Height <= 6 || WidestLine(bitmap, lines) <= room)
            break;
        --bitmap.Font.Height;
    }
    int centre = Round((cell.X + cell.W / 2) * s);
    int y = Round((cell.Y + cell.H) * s);
    for (const QString& line : lines) {
        bitmap.TextOut(centre - bitmap.TextWidth(line) / 2, y, line);
        y += bitmap.Font.Height;
    }
}

}  // namespace

TPoint ApparatusSheetSize(float scale)
{
    return {Round(SheetWidth * scale), Round(SheetHeight * scale)};
}

void DrawApparatusSheet(TBitmap32& bitmap, float scale, const TSheetReadings& readings)
{
    if (bitmap.Empty())
        return;
    bitmap.BeginUpdate();
    bitmap.Clear(clWhite32);
    std::vector<TSheetCell> cells = LensCells(readings);
    for (auto&& group : {GlasswareCells(readings), BuretteCells(readings), MeterAndRuleCells(readings)})
        cells.insert(cells.end(), group.begin(), group.end());
    for (const TSheetCell& cell : cells) {
        // Every routine meets the font colour a fresh picture has, not the
        // previous caption's: the rules number in whatever colour they find.
        bitmap.Font.Color = clBlack32;
        cell.Draw(bitmap, scale, cell.X * scale, cell.Y * scale);
        DrawCaption(bitmap, cell, scale);
    }
    bitmap.FrameRect(bitmap.BoundsRect(), clBorder32);
    bitmap.EndUpdate();
}

}  // namespace brv
