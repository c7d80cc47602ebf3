#include "experiments/biology/uAmylase.h"

#include "apparatus/Beakers.h"
#include "apparatus/Labels.h"
#include "apparatus/Meters.h"
#include "apparatus/Shapes.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/biology/BiologyPictures.h"
#include "experiments/biology/uAmylaseStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/StepAnimation.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>

#include <array>
#include <cmath>

namespace brv {

namespace {

using Model = TAmylaseModel;

// Scene layout, units from the picture's top-left corner: 80 across a tall
// picture, 75 down a wide one.
constexpr float kWideRows = 75, kTallColumns = 80;
constexpr float kLensX = 15, kLensY = 1, kLensSize = 20;
constexpr float kBathX = 1, kBathY = 52, kBathW = 30, kBathH = 20, kBathWater = 15, kBathWall = 1;
constexpr float kThermoX = 10, kThermoY = 10, kThermoWidthPx = 10, kThermoH = 60;
constexpr float kTubeX = 20, kTubeY = 50, kTubeW = 5, kTubeH = 20, kTubeLiquid = 12;
constexpr float kTrayLeft = 35, kTrayTop = 35, kTrayFrameTop = 34, kTrayRight = 75, kTrayBottom = 67;
constexpr float kDimpleRadius = 0.6f * 4;
constexpr float kBottleX = 47.5f, kBottleY = 14, kBottleW = 8, kBottleH = 12;
constexpr float kLabelHeight = 2.5f, kMinutesHeight = 2;
// The result labels over the top row of dimples stand a little above the
// tray layer's top edge.
constexpr float kLabelsTop = kTrayFrameTop;

constexpr TColor32 kBathWater32 = 0xFFD6EAFF;
constexpr TColor32 kMixture32 = 0xFFFFFFE0;
constexpr TColor32 kGrey32 = 0xFF7F7F7F;
constexpr TColor32 kIodine32 = 0xFFFF8000;
constexpr TColor32 kIodineBulb32 = 0xFFFFFF00;
constexpr TColor32 kSampleBulb32 = 0xFFFF3000;

constexpr int kTestTickMs = 250, kRefillTickMs = 100, kIdleIntervalMs = 300;

// Drawing names of the dimple pictures, in the order of the dimple states.
constexpr std::array<const char*, 3> kDimplePictures = {"dimple-iodine", "dimple-starch", "dimple-nostarch"};
constexpr int kDimplePixels = 40;

}  // namespace

TAmylaseFrm::TAmylaseFrm(QWidget* parent) : TRedrawnForm(parent)
{
    FormCreate();
}

TAmylaseFrm::~TAmylaseFrm() = default;

void TAmylaseFrm::FormCreate()
{
    setWindowTitle(str::sAmylaseCaption());
    createToolbar();
    CreatePic();
    LayOutPicture({});
    loadPictures();
    createLayers();

    steps_ = std::make_unique<TStepAnimation>(this, QStringLiteral("Timer1"), kIdleIntervalMs,
                                              [this] { return nextStep(); });
    Timer1 = steps_->Timer();
}

void TAmylaseFrm::createToolbar()
{
    CreateToolbar();
    TestBtn = AddToolbarButton(toolbar_, QStringLiteral("TestBtn"), biDropper, str::sAmylaseTestHint(),
                               str::sAmylaseTest());
    ResetBtn =
        AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), biReset, str::sResetHint(), str::sReset());
    connect(TestBtn, &QAction::triggered, this, &TAmylaseFrm::TestBtnClick);
    connect(ResetBtn, &QAction::triggered, this, &TAmylaseFrm::ResetBtnClick);
    TimeLabel = AddToolbarLabel(toolbar_, str::sAmylaseTimeLabel(), QStringLiteral("TimeLabel"));
    TimeSE = AddIntSpinEdit(toolbar_, QStringLiteral("TimeSE"), 0, 30, 0, str::sAmylaseTimeHint(),
                            str::sAmylaseMinPostfix());
    TempLabel = AddToolbarLabel(toolbar_, str::sAmylaseTempLabel(), QStringLiteral("TempLabel"));
    TempSE = AddIntSpinEdit(toolbar_, QStringLiteral("TempSE"), 0, 80, 20, str::sAmylaseTempHint());
    SetArrowsOnly(TempSE);
    // The thermometers follow the temperature.
    RedrawOn(TempSE);
    SetLargeItems({{TempLabel, 0, 0}, {TimeLabel, 0, 0}, {TimeSE, 60, 90}, {TempSE, 0, 0, 150, 300}});
}

void TAmylaseFrm::loadPictures()
{
    for (const char* name : kDimplePictures) {
        TBitmap32& picture = Bitmap32List.Add();
        LoadBiologyPicture(picture, QLatin1String(name), kDimplePixels, kDimplePixels, 0);
        picture.DrawMode = TDrawMode::dmBlend;
        picture.Resampler = TResampler::Lanczos;
    }
}

void TAmylaseFrm::createLayers()
{
    TrayLayer = &Pic_->AddLayer();
    TrayLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintTray(l, b); };
    IodineLayer = &Pic_->AddLayer();
    IodineLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) {
        PaintDropper(l, b, true, kIodine32, kIodineBulb32);
    };
    SampleLayer = &Pic_->AddLayer();
    SampleLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) {
        PaintDropper(l, b, model_.SampleFilled, kMixture32, kSampleBulb32);
    };
    for (TPositionedLayer* layer : {TrayLayer, IodineLayer, SampleLayer})
        layer->MouseEvents = false;
}

// --- the animation ------------------------------------------------------------------

void TAmylaseFrm::TestBtnClick()
{
    RefillMode_ = false;
    AnimStep_ = 0;
    performTestStep(0);
    steps_->Start(toolbar_, kTestTickMs);
}

void TAmylaseFrm::ResetBtnClick()
{
    model_.EmptyTray();
    AnimStep_ = 0;
    RefillMode_ = true;
    TrayLayer->Changed();
    steps_->Start(toolbar_, kRefillTickMs);
}

void TAmylaseFrm::Timer1Timer()
{
    steps_->Tick();
}

bool TAmylaseFrm::nextStep()
{
    if (!RefillMode_) {
        performTestStep(AnimStep_);
        return ++AnimStep_ >= Model::TestSteps;
    }
    model_.RefillStep(AnimStep_);
    placeDropper(IodineLayer, model_.IodineDropper);
    TrayLayer->Changed();
    if (++AnimStep_ < Model::DimpleCount)
        return false;
    model_.IodineDropperHome();
    placeDropper(IodineLayer, model_.IodineDropper);
    return true;
}

void TAmylaseFrm::performTestStep(int step)
{
    const int before = model_.TargetDimple();
    model_.TestStep(step, TimeSE->value(), TempSE->value());
    placeDropper(SampleLayer, model_.SampleDropper);
    if (model_.TargetDimple() != before)
        TrayLayer->Changed();
}

// --- geometry -----------------------------------------------------------------------

float TAmylaseFrm::ComputeScale(int width, int height)
{
    return scale::FromSmallerSideUnits(width, height, kTallColumns, kWideRows);
}

void TAmylaseFrm::PlaceLayers()
{
    const float s = Scale_;
    TrayLayer->SetLocation({kTrayLeft * s, kTrayTop * s, kTrayRight * s, kTrayBottom * s});
    TrayLayer->SetPaintBounds({kTrayLeft * s, kLabelsTop * s, kTrayRight * s, kTrayBottom * s});
    placeDropper(IodineLayer, model_.IodineDropper);
    placeDropper(SampleLayer, model_.SampleDropper);
}

void TAmylaseFrm::placeDropper(TPositionedLayer* layer, const TScenePoint& at)
{
    const float s = Scale_;
    layer->SetLocation(
        {at.X * s, at.Y * s, (at.X + Model::DropperWidth) * s, (at.Y + Model::DropperHeight) * s});
}

// --- drawing -------------------------------------------------------------------------

void TAmylaseFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float temperature = float(TempSE->value());
    DrawThermometerLens(b, kLensX * s, kLensY * s, kLensSize * s, temperature);
    DrawWaterBath(b, kBathWater32, kBathX * s, kBathY * s, kBathW * s, kBathH * s, kBathWater * s,
                  kBathWall * s);
    DrawThermometer(b, kThermoX * s, kThermoY * s, kThermoWidthPx, kThermoH * s, temperature);
    DrawTestTube(b, kMixture32, true, kTubeX * s, kTubeY * s, kTubeW * s, kTubeH * s, kTubeLiquid * s);
    DrawDimpleTray(b);
    DrawIodineBottle(b, kBottleX * s, kBottleY * s, kBottleW * s, kBottleH * s);
}

void TAmylaseFrm::DrawDimpleTray(TBitmap32& b)
{
    const float s = Scale_;
    const TRect frame{Round(kTrayLeft * s), Round(kTrayFrameTop * s), Round(kTrayRight * s),
                      Round(kTrayBottom * s)};
    b.FrameRect(frame, kGrey32);
    SetLabelFont(b, Round(kLabelHeight * s));
    b.Font.Color = clBlack32;
    const QString caption = str::sAmylaseTray();
    b.TextOut((frame.Left + frame.Right) / 2 - b.TextWidth(caption) / 2, frame.Bottom, caption);

    shape_.Antialiased = true;
    for (const Model::TDimple& d : model_.Dimples) {
        shape_.Clear();
        AddCircle(shape_, (Model::Tray.X + d.X) * s, (Model::Tray.Y + d.Y) * s, kDimpleRadius * s, 16);
        shape_.DrawOutline(b, kGrey32);
    }
}

// An iodine bottle: orange solution in its lower half, round shoulders and a
// neck 0.4 of its width, labelled underneath.
void TAmylaseFrm::DrawIodineBottle(TBitmap32& b, float x, float y, float w, float h)
{
    b.FillRect(Round(x), Round(y + h / 2), Round(x + w), Round(y + h), kIodine32);
    const float e = 0.3f * w;
    constexpr float step = 0.31415927f;
    TContour outline;
    outline.push_back(FixedPoint(x + w - e, y));
    for (int k = 0; k <= 5; ++k) {
        const float a = float(k) * step;
        outline.push_back(FixedPoint(x + w - e + e * std::sin(a), y + 1.5f * e - e * std::cos(a)));
    }
    outline.push_back(FixedPoint(x + w, y + h / 2));
    outline.push_back(FixedPoint(x + w, y + h));
    outline.push_back(FixedPoint(x, y + h));
    outline.push_back(FixedPoint(x, y + h / 2));
    for (int k = 0; k <= 5; ++k) {
        const float a = float(k) * step;
        outline.push_back(FixedPoint(x + e - e * std::cos(a), y + 1.5f * e - e * std::sin(a)));
    }
    outline.push_back(FixedPoint(x + e, y));
    DrawPolyline(b, outline, clBlack32, true, true);

    SetLabelFont(b, Round(kLabelHeight * Scale_));
    b.Font.Color = clBlack32;
    const QString caption = str::sAmylaseIodine();
    b.TextOut(Round(x + w / 2) - b.TextWidth(caption) / 2, Round(y + h), caption);
}

void TAmylaseFrm::PaintTray(TPositionedLayer& layer, TBitmap32& buffer)
{
    const float s = Scale_;
    const TFloatRect tray = layer.Location();
    const int half = Round(kDimpleRadius * s);
    SetLabelFont(buffer, Round(kMinutesHeight * s));
    buffer.Font.Color = clBlack32;
    for (const Model::TDimple& d : model_.Dimples) {
        if (d.State < 0 || d.State >= int(scaledDimples_.size()))
            continue;
        const int cx = Round(tray.Left + d.X * s), cy = Round(tray.Top + d.Y * s);
        const TRect square{cx - half, cy - half, cx + half, cy + half};
        scaledDimples_[std::size_t(d.State)].Draw(Bitmap32List.Bitmap(d.State), buffer, square);
        if (d.State > Model::DimpleIodine) {
            const QString minutes = str::sAmylaseMinutes().arg(d.Minutes);
            const TBitmap32::TSize size = buffer.TextExtent(minutes);
            buffer.TextOut(cx - size.cx / 2, square.Top - size.cy, minutes);
        }
    }
}

// A dropper in its location: a bulb, the glass with its tip at the bottom,
// the liquid in the tip when shown, and a collar where bulb and glass meet.
void TAmylaseFrm::PaintDropper(TPositionedLayer& layer, TBitmap32& buffer, bool liquidShown, TColor32 liquid,
                               TColor32 bulb)
{
    const TFloatRect r = layer.Location();
    const float c = (r.Right - r.Left) / 2, d = 0.17f * (r.Bottom - r.Top), cx = r.Left + c;
    const TCircleTable16& ellipse = CircleTable16();

    TContour bulbShape;
    for (int i = 0; i < 16; ++i) {
        const TSinCos& e = ellipse[std::size_t(i)];
        bulbShape.push_back(FixedPoint(cx + c * e.Cos, r.Top + d + d * e.Sin));
    }
    FillPolygon(buffer, bulbShape, bulb, false);
    DrawPolyline(buffer, bulbShape, clBlack32, true, true);

    const float liquidTop = r.Top + 0.75f * (r.Bottom - r.Top);
    TContour tip{FixedPoint(cx - c / 2, liquidTop), FixedPoint(cx - c / 2, r.Bottom - c),
                 FixedPoint(cx, r.Bottom), FixedPoint(cx + c / 2, r.Bottom - c),
                 FixedPoint(cx + c / 2, liquidTop)};
    if (liquidShown) {
        FillPolygon(buffer, tip, liquid, false);
        buffer.HorzLine(Round(cx - c / 2), Round(liquidTop), Round(cx + c / 2), kGrey32);
    }
    const float glassTop = r.Top + 2 * d;
    tip.front().Y = FixedPoint(glassTop);
    tip.back().Y = FixedPoint(glassTop);
    DrawPolyline(buffer, tip, clBlack32, false, true);

    const TRect collar{Round(cx - c), Round(glassTop - 0.3f * c), Round(cx + c), Round(glassTop + 0.3f * c)};
    buffer.FillRect(collar, bulb);
    buffer.FrameRect(collar, clBlack32);
}

namespace {

const bool kRow =
    DeclareExperiment<TAmylaseFrm>({ids::Amylase, TSubject::Biology, "AMYLASE.HTM", TPages::Family,
                                    str::sAmylaseCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
