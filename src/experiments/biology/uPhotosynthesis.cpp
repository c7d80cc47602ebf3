#include "experiments/biology/uPhotosynthesis.h"

#include "apparatus/Beakers.h"
#include "apparatus/Labels.h"
#include "apparatus/Meters.h"
#include "apparatus/Rulers.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/biology/BiologyPictures.h"
#include "experiments/biology/uPhotosynthesisStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/Polygon32.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

constexpr float kPi = 3.14159265f;

// Scene layout: 100 units across the picture's smaller side.
constexpr float kScaleFactor = 0.01f;
constexpr int kMinPicturePixels = 401;
// The lamp: 12 units wide, its picture's proportions kept, its foot on the bench.
constexpr int kLampPixelsW = 69, kLampPixelsH = 112;
constexpr float kLampLeft = 18, kLampWidth = 12, kBench = 90;
constexpr float kLampHeight = kLampWidth * float(kLampPixelsH) / float(kLampPixelsW);
constexpr int kWeedPixelsW = 47, kWeedPixelsH = 157;
constexpr float kBubblesLeft = 8.3f, kBubblesTop = 52, kBubblesRight = 15.8f, kBubblesBottom = 86;
// The plunger's rod is 8 units high; its thumb plate stands a unit above
// and below it.
constexpr float kPlungerIn = 72, kPlungerOut = 79, kPlungerLength = 20;
constexpr float kPlungerTop = 26, kPlungerBottom = 34, kThumbPlate = 1;
constexpr float kColumnLeft = 18, kColumnTop = 29.5f, kColumnRight = 68, kColumnBottom = 30.5f;
constexpr float kEnlargedLeft = 5, kEnlargedTop = 6, kEnlargedRight = 98, kEnlargedBottom = 8;
constexpr float kWatchLeft = 65, kWatchTop = 50, kWatchRight = 85, kWatchBottom = 65;
constexpr float kMeterLeft = 25, kMeterTop = 45, kMeterRight = 62, kMeterBottom = 65;
constexpr float kMessageLeft = 1, kMessageTop = 18, kMessageRight = 99, kMessageBottom = 21;
constexpr float kMessageHeight = 3;
// The capillary's rule has 5 units per cm, the enlarged scale 9.3.
constexpr float kRuleUnitsPerCm = 5, kEnlargedUnitsPerCm = 9.3f;
constexpr float kStripLeft = 5, kStripTop = 10, kStripWidth = 93, kStripHeight = 6;
constexpr float kReadingLineTop = 6;
constexpr int kMinMeasurablePixels = 3;
constexpr int kBubblePeriod = 20;  // seconds of scrolled time per bubble cycle

constexpr TColor32 kWater32 = 0xFFC0E1FF;
constexpr TColor32 kGlass32 = 0xFFFFFFE0;
constexpr TColor32 kRule32 = 0xFFFFFF80;
constexpr TColor32 kMeterBody32 = 0xFFC0FFC0;
constexpr TColor32 kNeedle32 = 0xFFFF0000;
constexpr TColor32 kMessage32 = 0xFFFF0000;
constexpr TColor32 kReadingLine32 = 0xFF808080;

void SetFont(TBitmap32& b, int height, bool bold)
{
    SetLabelFont(b, height, bold);
    b.Font.Color = clBlack32;
}

bool Inside(const TFloatRect& r, int x, int y)
{
    return float(x) >= r.Left && float(x) < r.Right && float(y) >= r.Top && float(y) < r.Bottom;
}

}  // namespace

TPhotoFrm::TPhotoFrm(QWidget* parent) : TTimeScrubbedForm(parent)
{
    FormCreate();
}

TPhotoFrm::~TPhotoFrm() = default;

void TPhotoFrm::FormCreate()
{
    setWindowTitle(str::sPhotosynthesisCaption());
    createToolbar();
    model_.Temperature = float(tempSE->value());
    model_.Bicarbonate = float(BiCarbSE->value());
    CreatePic();
    // Smaller, the scales could no longer be read.
    Pic_->setMinimumSize(kMinPicturePixels, kMinPicturePixels);
    CreateTimeBar(0, 600, 0, 1, str::sPhotosynthesisTimeHint());
    LayOutPicture({}, {}, TimeHsb);
    loadPictures();
    createLayers();
    Pic_->OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { PicMouseDown(x, y); };
    Pic_->OnMouseMove = [this](Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) { PicMouseMove(x, y); };
    Pic_->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { PicMouseUp(); };
}

void TPhotoFrm::createToolbar()
{
    CreateToolbar();
    ResetBtn = AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), biReset, str::sResetHint());
    connect(ResetBtn, &QAction::triggered, this, [this] { ResetBtnClick(); });
    SyringeBtn = AddToolbarButton(toolbar_, QStringLiteral("SyringeBtn"), biSyringe,
                                  str::sPhotosynthesisSyringeHint());
    SyringeBtn->setCheckable(true);
    connect(SyringeBtn, &QAction::triggered, this, &TPhotoFrm::SyringeBtnClick);
    tempLabel = AddToolbarLabel(toolbar_, str::sPhotosynthesisTempLabel(), QStringLiteral("tempLabel"));
    tempSE = AddIntSpinEdit(toolbar_, QStringLiteral("tempSE"), 0, 50, 20, str::sPhotosynthesisTempHint(),
                            str::sDegCPostfix());
    BiCarbLabel = AddToolbarLabel(toolbar_, str::sPhotosynthesisBiCarbLabel(), QStringLiteral("BiCarbLabel"));
    BiCarbSE = AddFloatSpinEdit(toolbar_, QStringLiteral("BiCarbSE"), 0, 0.5, 0.01, 2, 0.1,
                                str::sPhotosynthesisBiCarbHint(), str::sPhotosynthesisPercentPostfix());
    connect(tempSE, &QSpinBox::valueChanged, this, &TPhotoFrm::tempSEValueChange);
    connect(BiCarbSE, &QDoubleSpinBox::valueChanged, this, &TPhotoFrm::BiCarbSEValueChange);
    SetLargeItems({{tempLabel, 0, 0}, {BiCarbLabel, 0, 0}, {tempSE, 64, 96}, {BiCarbSE, 64, 96}});
}

void TPhotoFrm::loadPictures()
{
    TBitmap32& lamp = BMList.Add();
    LoadBiologyPicture(lamp, QStringLiteral("lamp"), kLampPixelsW, kLampPixelsH, clWhite32);
    lamp.DrawMode = TDrawMode::dmOpaque;
    TBitmap32& weed = BMList.Add();
    LoadBiologyPicture(weed, QStringLiteral("pondweed"), kWeedPixelsW, kWeedPixelsH, 0);
    weed.DrawMode = TDrawMode::dmBlend;
    for (TBitmap32* picture : {&lamp, &weed})
        picture->Resampler = TResampler::Lanczos;
}

void TPhotoFrm::createLayers()
{
    auto add = [this](void (TPhotoFrm::*paint)(TPositionedLayer&, TBitmap32&), bool visible) {
        TPositionedLayer* layer = &Pic_->AddLayer();
        layer->OnPaint = [this, paint](TPositionedLayer& l, TBitmap32& b) { (this->*paint)(l, b); };
        layer->SetVisible(visible);
        layer->MouseEvents = false;
        return layer;
    };
    LampLayer = add(&TPhotoFrm::PaintLamp, true);
    BubbleLayer = add(&TPhotoFrm::PaintBubbles, false);
    PlungerLayer = add(&TPhotoFrm::PaintPlunger, true);
    GasColumnLayer = add(&TPhotoFrm::PaintGasColumn, false);
    MagnifiedBubbleLayer = add(&TPhotoFrm::PaintMagnifiedBubble, false);
    StopwatchLayer = add(&TPhotoFrm::PaintStopwatch, true);
    NeedleLayer = add(&TPhotoFrm::PaintNeedle, true);
    NoOxygenLayer = add(&TPhotoFrm::PaintNoOxygen, false);
    ReadingLineLayer = add(&TPhotoFrm::PaintReadingLine, false);
    for (TPositionedLayer* handle : {LampLayer, PlungerLayer}) {
        handle->MouseEvents = true;
        handle->Cursor = Qt::PointingHandCursor;
    }
}

bool TPhotoFrm::Pulled() const
{
    return SyringeBtn->isChecked();
}

// --- the measurement -----------------------------------------------------------------

void TPhotoFrm::SyringeBtnClick()
{
    if (Pulled()) {
        PlungerX_ = kPlungerOut;
        model_.RateFactor = TPhotosynthesisModel::NewRateFactor();
    } else {
        PlungerX_ = kPlungerIn;
    }
    placePlunger();
    placeBubbleLayers();
}

void TPhotoFrm::PushBack()
{
    SyringeBtn->setChecked(false);
    PlungerX_ = kPlungerIn;
    placePlunger();
    placeBubbleLayers();
}

int TPhotoFrm::EnlargedBubblePixels() const
{
    return Round(model_.OxygenRate() * kEnlargedUnitsPerCm * Scale_ * float(Time()));
}

bool TPhotoFrm::TooShortToMeasure() const
{
    return EnlargedBubblePixels() < kMinMeasurablePixels;
}

// --- controls ---------------------------------------------------------------------

void TPhotoFrm::TimeHsbScroll(int, int&)
{
    if (Pulled())
        PushBack();
}

void TPhotoFrm::Redraw()
{
    BubbleLayer->SetVisible(TimeForward());
    BubbleLayer->Changed();
    StopwatchLayer->Changed();
}

void TPhotoFrm::NewRun()
{
    PushBack();
}

void TPhotoFrm::tempSEValueChange(int value)
{
    model_.Temperature = float(value);
    if (Pulled())
        PushBack();
    RedrawBackground();
}

void TPhotoFrm::BiCarbSEValueChange(double value)
{
    model_.Bicarbonate = float(value);
    if (Pulled())
        PushBack();
}

// --- mouse -----------------------------------------------------------------------------

TRect TPhotoFrm::ReadingStrip() const
{
    const float s = Scale_;
    return {Round(kStripLeft * s), Round(kStripTop * s), Round((kStripLeft + kStripWidth) * s),
            Round((kStripTop + kStripHeight) * s)};
}

void TPhotoFrm::PicMouseDown(int x, int y)
{
    const TRect strip = ReadingStrip();
    if (Inside(LampLayer->Location(), x, y)) {
        DragMode_ = TDragMode::Lamp;
        DragX = x;
    } else if (Inside(PlungerLayer->Location(), x, y)) {
        DragMode_ = TDragMode::None;
        SyringeBtn->trigger();
    } else if (x >= strip.Left && x < strip.Right && y >= strip.Top && y < strip.Bottom) {
        DragMode_ = TDragMode::ReadingLine;
        DragX = x;
        placeReadingLine();
        ReadingLineLayer->SetVisible(true);
    } else {
        DragMode_ = TDragMode::None;
    }
}

void TPhotoFrm::PicMouseMove(int x, int y)
{
    const TRect strip = ReadingStrip();
    const bool inStrip = x >= strip.Left && x < strip.Right && y >= strip.Top && y < strip.Bottom;
    Pic_->SetBaseCursor(inStrip ? Qt::PointingHandCursor : Qt::ArrowCursor);
    switch (DragMode_) {
        case TDragMode::Lamp:
            model_.DragLamp(x, DragX, Scale_);
            if (Pulled())
                PushBack();
            placeLamp();
            break;
        case TDragMode::ReadingLine:
            DragX = x;
            placeReadingLine();
            break;
        case TDragMode::None:
            break;
    }
}

void TPhotoFrm::PicMouseUp()
{
    if (DragMode_ == TDragMode::ReadingLine)
        ReadingLineLayer->SetVisible(false);
    DragMode_ = TDragMode::None;
}

// --- geometry -----------------------------------------------------------------------

float TPhotoFrm::ComputeScale(int width, int height)
{
    return scale::FromSmallerSide(width, height, kScaleFactor);
}

void TPhotoFrm::PlaceLayers()
{
    const float s = Scale_;
    placeLamp();
    BubbleLayer->SetLocation({kBubblesLeft * s, kBubblesTop * s, kBubblesRight * s, kBubblesBottom * s});
    placePlunger();
    placeBubbleLayers();
    StopwatchLayer->SetLocation({kWatchLeft * s, kWatchTop * s, kWatchRight * s, kWatchBottom * s});
    NeedleLayer->SetLocation({kMeterLeft * s, kMeterTop * s, kMeterRight * s, kMeterBottom * s});
    NoOxygenLayer->SetLocation({kMessageLeft * s, kMessageTop * s, kMessageRight * s, kMessageBottom * s});
    placeReadingLine();
}

void TPhotoFrm::placeLamp()
{
    const float s = Scale_;
    const float left = kLampLeft + model_.LampOffset;
    LampLayer->SetLocation({left * s, (kBench - kLampHeight) * s, (left + kLampWidth) * s, kBench * s});
    // The light meter reads the lamp's new distance.
    NeedleLayer->Changed();
}

void TPhotoFrm::placePlunger()
{
    const float s = Scale_;
    const float right = PlungerX_ + kPlungerLength;
    PlungerLayer->SetLocation({PlungerX_ * s, kPlungerTop * s, right * s, kPlungerBottom * s});
    PlungerLayer->SetPaintBounds(
        {PlungerX_ * s, (kPlungerTop - kThumbPlate) * s, right * s, (kPlungerBottom + kThumbPlate) * s});
}

// The gas column and the enlarged bubble are as long as the bubble is: past
// the end of their scales when it is longer than 10 cm.
void TPhotoFrm::placeBubbleLayers()
{
    const float s = Scale_;
    const bool pulled = Pulled();
    const float cm = model_.OxygenRate() * float(Time());
    const float columnRight = std::max(kColumnRight, kColumnLeft + cm * kRuleUnitsPerCm);
    const float enlargedRight = std::max(kEnlargedRight, kEnlargedLeft + cm * kEnlargedUnitsPerCm);
    GasColumnLayer->SetLocation({kColumnLeft * s, kColumnTop * s, kColumnRight * s, kColumnBottom * s});
    GasColumnLayer->SetPaintBounds({kColumnLeft * s, kColumnTop * s, columnRight * s + 1, kColumnBottom * s});
    MagnifiedBubbleLayer->SetLocation(
        {kEnlargedLeft * s, kEnlargedTop * s, kEnlargedRight * s, kEnlargedBottom * s});
    MagnifiedBubbleLayer->SetPaintBounds(
        {kEnlargedLeft * s, kEnlargedTop * s, enlargedRight * s + 1, kEnlargedBottom * s});
    GasColumnLayer->SetVisible(pulled);
    MagnifiedBubbleLayer->SetVisible(pulled);
    NoOxygenLayer->SetVisible(pulled && TooShortToMeasure());
}

void TPhotoFrm::placeReadingLine()
{
    const float s = Scale_;
    ReadingLineLayer->SetLocation(
        {float(DragX), float(Round(kReadingLineTop * s)), float(DragX + 1), float(ReadingStrip().Bottom)});
}

// --- the background ----------------------------------------------------------------

void TPhotoFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    DrawThermometer(b, 3 * s, 20 * s, 10, 79 * s, model_.Temperature);
    DrawHorizontalRule(b, 18 * s, 90 * s, 80 * s, 5 * s);
    DrawTestTube(b, kWater32, false, 8 * s, 50 * s, 8 * s, 40 * s, 38 * s);
    scaledWeed_.Draw(BMList.Bitmap(1), b,
                     {Round(8 * s) + 1, Round(62 * s), Round(16 * s) - 1, Round(88.72f * s)});
    DrawCapillaryAssembly(b, 8, 30);
    DrawCapillaryRule(b, 18 * s, 26 * s, 50 * s, 3 * s);
    DrawReadingScale(b, kStripLeft * s, kStripTop * s, kStripWidth * s, kStripHeight * s);
    DrawLightMeter(b, kMeterLeft * s, kMeterTop * s, (kMeterRight - kMeterLeft) * s,
                   (kMeterBottom - kMeterTop) * s);
}

// The funnel over the weed, the capillary rising from it and running right,
// and the syringe barrel at its end, all full of water.  (x, y) in units.
void TPhotoFrm::DrawCapillaryAssembly(TBitmap32& b, float x, float y)
{
    const float s = Scale_;
    const TRect barrel{Round((x + 62) * s), Round((y - 5) * s), Round((x + 80) * s), Round((y + 5) * s)};
    b.FillRect(barrel, kGlass32);
    b.FrameRect(barrel, clBlack32);
    const float path[12][2] = {{x, y + 26},          {x + 3.5f, y + 22}, {x + 3.5f, y - 0.5f},
                               {x + 63, y - 0.5f},   {x + 63, y - 4},    {x + 80, y - 4},
                               {x + 80, y + 4},      {x + 63, y + 4},    {x + 63, y + 0.5f},
                               {x + 4.5f, y + 0.5f}, {x + 4.5f, y + 22}, {x + 8, y + 26}};
    TContour water;
    for (const auto& p : path)
        water.push_back(FixedPoint(p[0] * s, p[1] * s));
    FillPolygon(b, water, kWater32, false);
    // Open between the last point and the first: the funnel's mouth.
    DrawPolyline(b, water, clBlack32, false, true);
}

// A 10 cm rule of 50 divisions beside the capillary, numbered every 2 cm.
void TPhotoFrm::DrawCapillaryRule(TBitmap32& b, float x, float y, float w, float h)
{
    const TRect r{Round(x), Round(y), Round(x + w), Round(y + h)};
    b.FillRect(r, kRule32);
    b.FrameRect(r, clBlack32);
    const float u = 0.02f * w;
    const int bottom = r.Bottom - 1;
    SetFont(b, Round(2.5f * u), false);
    const auto aboveTop = [&](int centreX, const QString& text) {
        const TBitmap32::TSize size = b.TextExtent(text);
        b.TextOut(centreX - size.cx / 2, r.Top - size.cy, text);
    };
    for (int i = 0; i < 50; ++i) {
        const int tx = r.Left + Round(float(i) * u);
        const float length = i % 10 == 0 ? 0.9f : (i % 5 == 0 ? 0.6f : 0.3f);
        b.VertLine(tx, bottom - Round(length * h), bottom, clBlack32);
        if (i % 10 == 0)
            aboveTop(tx, QString::number(i / 5));
    }
    aboveTop(r.Right, QStringLiteral("10"));
    aboveTop((r.Left + r.Right) / 2, str::sPhotosynthesisCm());
}

// The enlarged capillary over its fine scale of 100 divisions (millimetres).
void TPhotoFrm::DrawReadingScale(TBitmap32& b, float x, float y, float w, float h)
{
    const float s = Scale_;
    const TRect strip{Round(x), Round(y), Round(x + w), Round(y + h)};
    b.FillRect(strip, kRule32);
    b.FrameRect(strip, clBlack32);
    const float u = 0.01f * w;
    SetFont(b, Round(0.45f * h), true);
    for (int i = 1; i < 100; ++i) {
        const int tx = strip.Left + Round(float(i) * u);
        const float length = i % 10 == 0 ? 0.5f : (i % 5 == 0 ? 0.4f : 0.15f);
        b.VertLine(tx, strip.Top, strip.Top + Round(length * h), clBlack32);
        if (i % 10 == 0) {
            const QString label = QString::number(i / 10);
            b.TextOut(tx - b.TextWidth(label) / 2, strip.Top + Round(0.5f * h), label);
        }
    }
    TRect glass{Round(s), Round(y) - Round(6 * s), strip.Right, Round(y - 2)};
    b.FillRect(glass, kGlass32);
    b.HorzLine(glass.Left, glass.Top, glass.Right - 1, clBlack32);
    b.HorzLine(glass.Left, glass.Bottom - 1, glass.Right - 1, clBlack32);
    const int wall = Round(2 * s);
    const TRect bore{glass.Left, glass.Top + wall, glass.Right, glass.Bottom - wall};
    b.FillRect(bore, kWater32);
    b.HorzLine(bore.Left, bore.Top, bore.Right - 1, clBlack32);
    b.HorzLine(bore.Left, bore.Bottom - 1, bore.Right - 1, clBlack32);
    b.FrameRect(Round(s), Round(y - 7 * s), strip.Right + 1, Round(y + h + s), clBorder32);
}

// A green light meter with a half-round dial from 0 on the left to 100 on
// the right; its needle is a layer.
void TPhotoFrm::DrawLightMeter(TBitmap32& b, float x, float y, float w, float h)
{
    const TRect body{Round(x), Round(y), Round(x + w), Round(y + h)};
    b.FillRect(body, kMeterBody32);
    b.FrameRect(body, clBlack32);
    const float cx = x + w / 2, cy = y + 0.9f * h, r = 0.7f * h;
    TContour face;
    for (int i = 0; i <= 20; ++i) {
        const float a = float(i) * kPi / 20;
        face.push_back(FixedPoint(cx + r * std::cos(a), cy - r * std::sin(a)));
    }
    FillPolygon(b, face, clWhite32, true);
    DrawPolyline(b, face, clBlack32, true, true);

    SetFont(b, Round(2.5f * Scale_), true);
    for (int i = 0; i <= 10; ++i) {
        const float a = float(i) * kPi / 10;
        const float c = std::cos(a), sn = std::sin(a);
        b.SmoothLine(Round(cx + r * c), Round(cy - r * sn), Round(cx + 0.6f * h * c),
                     Round(cy - 0.6f * h * sn), clBlack32);
        const QString label = QString::number(100 - 10 * i);
        const TBitmap32::TSize size = b.TextExtent(label);
        b.TextOut(Round(cx + 0.8f * h * c) - size.cx / 2, Round(cy - 0.8f * h * sn) - size.cy / 2, label);
    }
    const QString caption = str::sPhotosynthesisLightIntensity();
    b.TextOut((body.Left + body.Right) / 2 - b.TextWidth(caption) / 2, body.Bottom, caption);
}

// --- the layers --------------------------------------------------------------------------

void TPhotoFrm::PaintLamp(TPositionedLayer& layer, TBitmap32& buffer)
{
    scaledLamp_.Draw(BMList.Bitmap(0), buffer, layer.PixelRect());
}

// Bubbles rising from the weed into the funnel, one pixel per second of
// scrolled time, in a cycle of 20 seconds.
void TPhotoFrm::PaintBubbles(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect loc = layer.Location();
    const TRect r = layer.PixelRect();
    const int w = r.Width();
    TCanvas& canvas = buffer.Canvas();
    canvas.SetClipPolygon({{r.Left, r.Top + w / 2},
                           {r.Left + w / 2, r.Top},
                           {r.Right, r.Top + w / 2},
                           {r.Right, r.Bottom},
                           {r.Left, r.Bottom}});
    canvas.pen = {};
    canvas.brush = {};
    const int spacing = Round(0.1f * (loc.Bottom - loc.Top));
    const int e = Round(0.075f * (loc.Right - loc.Left));
    const int phase = Time() % kBubblePeriod;
    const auto bubble = [&](int x, int y) { canvas.Ellipse(x - e, y - e, x + e + 1, y + e + 1); };
    for (int i = 0; i <= 10; ++i) {
        const int y = r.Top + i * spacing - phase;
        bubble(r.Left + 2 * e, y);
        bubble(r.Right - 2 * e, y);
        bubble((r.Left + r.Right) / 2, y + spacing / 2);
    }
    canvas.ClearClip();
}

// A rod with a thumb plate at its right end.
void TPhotoFrm::PaintPlunger(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect loc = layer.Location();
    const float s = Scale_;
    const float L = loc.Left, R = loc.Right, T = loc.Top, B = loc.Bottom;
    const TContour rod{FixedPoint(L, T),     FixedPoint(R - s, T), FixedPoint(R - s, T - s),
                       FixedPoint(R, T - s), FixedPoint(R, B + s), FixedPoint(R - s, B + s),
                       FixedPoint(R - s, B), FixedPoint(L, B)};
    FillPolygon(buffer, rod, kGlass32, true);
    DrawPolyline(buffer, rod, clBlack32, true, true);
}

// The gas in the capillary, from the rule's zero, with its two menisci.
void TPhotoFrm::PaintGasColumn(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect loc = layer.Location();
    const int left = Round(loc.Left);
    const int right = left + Round(model_.OxygenRate() * kRuleUnitsPerCm * Scale_ * float(Time()));
    const int top = Trunc(kColumnTop * Scale_) + 2, bottom = Trunc(kColumnBottom * Scale_) - 1;
    buffer.FillRect(left, top, right, bottom, clWhite32);
    buffer.VertLine(left, top, bottom - 1, clBlack32);
    buffer.VertLine(right, top, bottom - 1, clBlack32);
}

// The bubble in the enlarged capillary: a white pill from the scale's zero.
void TPhotoFrm::PaintMagnifiedBubble(TPositionedLayer& layer, TBitmap32& buffer)
{
    const int n = EnlargedBubblePixels();
    if (n == 0)
        return;
    const TFloatRect loc = layer.Location();
    const int c = Trunc(loc.Top), b = Trunc(loc.Bottom);
    const int k = (b - c - 4) / 2;
    TCanvas& canvas = buffer.Canvas();
    canvas.pen = {};
    canvas.brush = {};
    canvas.RoundRect(Round(loc.Left), c + 2, Round(loc.Left) + n, b - 2, k, k);
}

void TPhotoFrm::PaintStopwatch(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect r = layer.Location();
    DrawStopwatch(buffer, FormatMinSec(Time()), str::sMinSec(), r.Left, r.Top, r.Right - r.Left,
                  r.Bottom - r.Top);
}

// Pointing at 100 in full light, at 0 in none.
void TPhotoFrm::PaintNeedle(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect r = layer.Location();
    const float cx = (r.Left + r.Right) / 2, cy = r.Top + 0.9f * (r.Bottom - r.Top);
    const float length = 0.7f * (r.Bottom - r.Top);
    const float a = kPi - model_.LightIntensity() * kPi;
    buffer.SmoothLine(Round(cx), Round(cy), Round(cx + length * std::cos(a)),
                      Round(cy - length * std::sin(a)), kNeedle32);
}

void TPhotoFrm::PaintNoOxygen(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect r = layer.Location();
    SetFont(buffer, Round(kMessageHeight * Scale_), true);
    buffer.Font.Color = kMessage32;
    const QString message = str::sPhotosynthesisNoOxygen();
    buffer.TextOut(Round((r.Left + r.Right - float(buffer.TextWidth(message))) / 2), Round(r.Top), message);
    buffer.Font.Color = clBlack32;
}

void TPhotoFrm::PaintReadingLine(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TRect r = layer.PixelRect();
    buffer.VertLine(r.Left, r.Top, r.Bottom, kReadingLine32);
}

namespace {

const bool kRow = DeclareExperiment<TPhotoFrm>(
    {ids::Photosynthesis, TSubject::Biology, "PHOTOSYN.HTM", TPages::Family, str::sPhotosynthesisCaption});

}  // namespace

}  // namespace brv
