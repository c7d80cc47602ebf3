#include "experiments/chemistry/uPeroxide.h"

#include "apparatus/Beakers.h"
#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Meters.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/chemistry/uPeroxideStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/Polygon32.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <cmath>

namespace brv {

namespace {

// Scene units: the picture's smaller side is 100 of them.
constexpr float kScaleFactor = 0.01f;

constexpr float kThermoLensX = 10, kThermoLensY = 2, kThermoLensSize = 30;
constexpr float kSyringeLensX = 54, kSyringeLensY = 2, kSyringeLensSize = 30;
constexpr float kBathX = 1, kBathY = 69, kBathW = 50, kBathH = 30, kBathWater = 25, kBathWall = 1;
constexpr TColor32 kBathWaterColour = 0xFFC0E1FF;
constexpr float kThermoX = 6, kThermoY = 5, kThermoH = 90;
constexpr float kThermoWidthPixels = 9;  // not scaled
constexpr float kFlaskX = 18, kFlaskY = 65, kFlaskW = 24, kFlaskH = 32;
constexpr float kFlaskLiquidPerCm3 = 0.2f;
constexpr TFloatRect kConnector{35, 42.7f, 44, 47.4f};
constexpr TColor32 kConnectorOrange = 0xFFFF8000;
constexpr float kSyringeX = 40, kSyringeY = 45, kSyringeW = 50, kSyringeH = 15;
constexpr float kSyringeLabelHeight = 3.5f;
constexpr float kWatchLeft = 65, kWatchTop = 80, kWatchW = 24, kWatchH = 18;

// The delivery tube from the flask's bung up and over to the syringe's nozzle.
constexpr std::array<std::array<float, 2>, 6> kTubePoints{
    {{29, 71}, {29, 44}, {45, 44}, {45, 46}, {31, 46}, {31, 71}}};
constexpr float kTubeMouthX = 45, kTubeMouthTop = 44, kTubeMouthBottom = 46;

constexpr TColor32 kSyringeGlass = 0xFFFFFFE0;

constexpr int kTimeMax = 3600;

// Spin edits of the toolbar, small and large, before the screen's scaling.
constexpr int kSpinSmall = 64, kSpinLarge = 96;
constexpr int kCatSizeWidth = 70;
constexpr int kTempFontSmall = 150, kTempFontLarge = 300;

TFixedPoint At(float x, float y)
{
    return FixedPoint(x, y);
}

// A contour and its mirror image about the row y = axis.
TContour Mirrored(const TContour& c, float axis)
{
    TContour m;
    const TFixed twice = FixedPoint(2.0 * axis);
    for (const TFixedPoint& p : c)
        m.push_back({p.X, twice - p.Y});
    return m;
}

void DrawGlass(TBitmap32& b, const TContour& c)
{
    FillPolygon(b, c, kSyringeGlass, false);
    DrawPolyline(b, c, clBlack32, true, false);
}

}  // namespace

// --- the syringe and its magnifier -----------------------------------------------

void DrawGasSyringe(TBitmap32& b, float X, float Y, float W, float H, float gas, int labelHeight)
{
    const float e = 0.08f * H, r = 0.2f * W, h = 0.5f * H;
    // Nozzle wall, end wall and barrel wall of the upper half.
    const TContour upper{
        At(X, Y - e / 2), At(X + r, Y - e / 2), At(X + r, Y - h + e),        At(X + W, Y - h + e),
        At(X + W, Y - h), At(X + r - e, Y - h), At(X + r - e, Y - 1.5f * e), At(X, Y - 1.5f * e)};
    DrawGlass(b, upper);
    DrawGlass(b, Mirrored(upper, Y));

    const float p = 0.007f * W * gas;
    const TRect plunger{Round(X + r + p), Round(Y - h + e) + 1, Round(X + 1.1f * W + p), Round(Y + h - e)};
    b.FillRect(plunger, kSyringeGlass);
    b.FrameRect(plunger, clBlack32);
    const int j = plunger.Right - 1;
    const TRect thumb{j, Round(Y - h), j + Round(1.5f * e), Round(Y + h)};
    b.FillRect(thumb, kSyringeGlass);
    b.FrameRect(thumb, clBlack32);

    const int left = Round(X + r);
    const int spacing = Round(0.07f * W);  // 10 cm³
    const int top = Round(Y - h + e), bottom = Round(Y + h - e);
    const int tick = Round(0.2f * float(bottom - top));
    SetLabelFont(b, labelHeight);
    b.Font.Color = clBlack32;
    for (int i = 0; i <= 10; ++i) {
        const int x = left + i * spacing;
        b.VertLine(x, top, top + tick, clBlack32);
        b.VertLine(x, bottom - tick, bottom - 1, clBlack32);
        if (i % 5 == 0) {
            const QString label = QString::number(10 * i);
            b.TextOut(x - b.TextWidth(label) / 2, bottom + Round(1.5f * e), label);
        }
    }
}

void DrawSyringeMagnifier(TBitmap32& b, float X, float Y, float Size, float gas)
{
    const float p = std::min(gas, 100.0f);
    const float cy = float(Round(Y + Size / 2)), cx = float(Round(X + Size / 2));
    const int q = Round(X), o = Round(X + Size);
    const float k = Size / 30;  // pixels per 0.1 cm³
    const float t = 0.25f * Size, u = 0.45f * Size;
    const float f = LensTickShift(p, k);
    const bool atZeroEnd = gas < 1.5f;

    if (!atZeroEnd) {
        b.FillRect(q, Round(cy - u), o, Round(cy - t), kSyringeGlass);
        b.FillRect(q, Round(cy + t), o, Round(cy + u), kSyringeGlass);
        b.HorzLine(q, Round(cy - u), o, clBlack32);
        b.HorzLine(q, Round(cy + u), o, clBlack32);
    } else {
        // The closed end of the barrel, with its nozzle, moving left as the
        // gas pushes the scale's 0 away from the centre.
        const float v = gas * 10 * k;
        const float end = X + 0.35f * Size - v;
        const TContour upper{At(X - v, cy - 0.05f * Size), At(cx - v, cy - 0.05f * Size), At(cx - v, cy - t),
                             At(float(o), cy - t),         At(float(o), cy - u),          At(end, cy - u),
                             At(end, cy - 0.2f * Size),    At(X - v, cy - 0.2f * Size)};
        const TRect saved = b.ClipRect();
        b.SetClipRect({q, Round(Y), o, Round(Y + Size)});
        DrawGlass(b, upper);
        DrawGlass(b, Mirrored(upper, cy));
        b.SetClipRect(saved);
    }

    const int top = Round(cy - t), bottom = Round(cy + t);
    const int face = gas <= 100 ? Round(cx) : Round(cx + 10 * k * (gas - 100));
    if (face < o) {
        b.FillRect(face, top, o, bottom, kSyringeGlass);
        b.VertLine(face, top, bottom, clBlack32);
    }
    const int edgeFrom = gas > 1.5f ? q : face;
    b.HorzLine(edgeFrom, top, o, clBlack32);
    b.HorzLine(edgeFrom, bottom, o, clBlack32);

    // No tick before the 0 mark nor after the 100 mark.
    const int first = p < 1.5f ? Round(cx - 10 * k * p) : q;
    const int last = p >= 98.5f ? Round(cx + 10 * k * (100 - p)) : o;
    SetLabelFont(b, Round(4 * k));
    b.Font.Color = clBlack32;
    const int major = Round(0.15f * Size), half = Round(0.1f * Size), minor = Round(0.05f * Size);
    ForEachLensTick(-25, 25, LensFirstLabel(p), 1, [&](const TLensTick& tick) {
        const int x = Round(float(tick.Index) * k + cx - f);
        if (x < first || x > last)
            return;
        const int length = tick.Kind == TTickKind::Major  ? major
                           : tick.Kind == TTickKind::Half ? half
                                                          : minor;
        b.VertLine(x, top, top + length, clBlack32);
        b.VertLine(x, bottom - length, bottom, clBlack32);
        if (tick.Kind == TTickKind::Major) {
            const QString label = QString::number(tick.Label);
            const TBitmap32::TSize extent = b.TextExtent(label);
            b.TextOut(x - extent.cx, top - extent.cy, label);
        }
    });

    const QString unit = str::sPeroxideCm3();
    const TBitmap32::TSize extent = b.TextExtent(unit);
    b.TextOut(Round(cx) - extent.cx / 2, Round(cy + 0.45f * Size) - extent.cy, unit);

    // The barrel runs on beyond the lens: its mask reaches 5 pixels further
    // either side.
    const float halfSide = LensMaskHalfSide * Size;
    DrawMagnifierMask(b, cx, cy, Size, {cx - halfSide - 5, cy - halfSide, cx + halfSide + 5, cy + halfSide});
}

// --- the form ------------------------------------------------------------------------

TPeroxideFrm::TPeroxideFrm(QWidget* parent) : TTimeScrubbedForm(parent)
{
    FormCreate();
}

TPeroxideFrm::~TPeroxideFrm() = default;

void TPeroxideFrm::FormCreate()
{
    setWindowTitle(str::sPeroxideCaption());
    model_.GasFactor = TPeroxideModel::NewGasFactor();
    createToolbar();
    // No hint over the bar, but a name a screen reader can say.
    CreateTimeBar(0, kTimeMax, 0, 1, QString());
    TimeHsb->setAccessibleName(str::sPeroxideTimeName());
    CreatePic();
    LayOutPicture({}, {}, TimeHsb);
    model_.Temperature = TempSE->value();
    model_.PeroxideVolume = VolumeSE->value();
    model_.PeroxideConc = float(ConcSE->value());
    model_.CatalystMass = float(CatMassSE->value());
    model_.ParticleSize = float(CatSizeSE->value());
}

void TPeroxideFrm::createToolbar()
{
    CreateToolbar();
    ResetBtn = AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), biReset, str::sResetHint());
    ResetBtn->setText(str::sReset());
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(ResetBtn)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ConcLabel = AddToolbarLabel(toolbar_, str::sPeroxideConcLabel(), QStringLiteral("ConcLabel"));
    ConcSE = AddFloatSpinEdit(toolbar_, QStringLiteral("ConcSE"), 0.1, 2, 0.1, 1, 1, str::sPeroxideConcHint(),
                              str::sMolarPostfix());
    VolumeLabel = AddToolbarLabel(toolbar_, str::sPeroxideVolumeLabel(), QStringLiteral("VolumeLabel"));
    // Without limits a volume of 0 or below would reach the model.
    VolumeSE = AddIntSpinEdit(toolbar_, QStringLiteral("VolumeSE"), TPeroxideModel::MinVolume,
                              TPeroxideModel::MaxVolume, 25, str::sPeroxideVolumeHint(), str::sCm3Postfix());
    CatMassLabel = AddToolbarLabel(toolbar_, str::sPeroxideCatMassLabel(), QStringLiteral("CatMassLabel"));
    CatMassSE = AddFloatSpinEdit(toolbar_, QStringLiteral("CatMassSE"), 0.01, 1, 0.01, 2, 0.5,
                                 str::sPeroxideCatMassHint(), str::sPeroxideGramPostfix());
    CatSizeLabel = AddToolbarLabel(toolbar_, str::sPeroxideCatSizeLabel(), QStringLiteral("CatSizeLabel"));
    CatSizeSE = AddFloatSpinEdit(toolbar_, QStringLiteral("CatSizeSE"), 0.01, 1, 0.01, 2, 0.5,
                                 str::sPeroxideCatSizeHint(), str::sPeroxideMmPostfix());
    TempLabel = AddToolbarLabel(toolbar_, str::sPeroxideTempLabel(), QStringLiteral("TempLabel"));
    TempSE = AddIntSpinEdit(toolbar_, QStringLiteral("TempSE"), 0, 100, 20, str::sPeroxideTempHint());
    // The temperature is stepped with the arrows, never typed.
    if (auto* text = TempSE->findChild<QLineEdit*>())
        text->setReadOnly(true);

    connect(ResetBtn, &QAction::triggered, this, [this] { ResetBtnClick(); });
    for (QDoubleSpinBox* spin : {ConcSE, CatMassSE, CatSizeSE})
        NewRunOn(spin, [this] { CatMassSEValueChange(); });
    NewRunOn(VolumeSE, [this] { CatMassSEValueChange(); });
    NewRunOn(TempSE, [this] { TempSEStep(); });

    SetLargeItems({{ConcLabel, 0, 0},
                   {VolumeLabel, 0, 0},
                   {CatMassLabel, 0, 0},
                   {CatSizeLabel, 0, 0},
                   {TempLabel, 0, 0},
                   {CatMassSE, kSpinSmall, kSpinLarge},
                   {CatSizeSE, kSpinSmall, kSpinLarge},
                   {ConcSE, kSpinSmall, kSpinLarge},
                   {VolumeSE, kSpinSmall, kSpinLarge}});
    CatSizeSE->setFixedWidth(std::max(kCatSizeWidth, CatSizeSE->width()));
    ScaleTemperatureFont(false);
}

void TPeroxideFrm::SetLargeButtons(bool large)
{
    if (LargeButtonsUnchanged(large, true))
        return;
    TTimeScrubbedForm::SetLargeButtons(large);
    ScaleTemperatureFont(large);
}

void TPeroxideFrm::ScaleTemperatureFont(bool large)
{
    ApplyLargeButtons(toolbar_, large, {{TempSE, 0, 0}}, kTempFontLarge, kTempFontSmall);
}

// --- controls ------------------------------------------------------------------

void TPeroxideFrm::NewRun()
{
    GasVolume_ = 0;
    model_.GasFactor = TPeroxideModel::NewGasFactor();
}

void TPeroxideFrm::CatMassSEValueChange()
{
    model_.CatalystMass = float(CatMassSE->value());
    model_.ParticleSize = float(CatSizeSE->value());
    model_.PeroxideConc = float(ConcSE->value());
    model_.PeroxideVolume = VolumeSE->value();
}

void TPeroxideFrm::TempSEStep()
{
    model_.Temperature = TempSE->value();
}

void TPeroxideFrm::TimeHsbScroll(int, int& position)
{
    // Every return to the start is a new run.
    if (position == 0)
        model_.GasFactor = TPeroxideModel::NewGasFactor();
    GasVolume_ = model_.VolumeAt(position);
}

// --- drawing ----------------------------------------------------------------------

float TPeroxideFrm::ComputeScale(int width, int height)
{
    return scale::FromSmallerSide(width, height, kScaleFactor);
}

void TPeroxideFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float temperature = float(model_.Temperature);
    DrawThermometerLens(b, kThermoLensX * s, kThermoLensY * s, kThermoLensSize * s, temperature);
    DrawSyringeMagnifier(b, kSyringeLensX * s, kSyringeLensY * s, kSyringeLensSize * s, GasVolume_);
    DrawWaterBath(b, kBathWaterColour, kBathX * s, kBathY * s, kBathW * s, kBathH * s, kBathWater * s,
                  kBathWall * s);
    DrawThermometer(b, kThermoX * s, kThermoY * s, kThermoWidthPixels, kThermoH * s, temperature);
    DrawConicalFlask(b, true, TimeForward(), kFlaskX * s, kFlaskY * s, kFlaskW * s, kFlaskH * s,
                     kFlaskLiquidPerCm3 * float(model_.PeroxideVolume) * s);
    b.FillRect(Round(kConnector.Left * s), Round(kConnector.Top * s), Round(kConnector.Right * s),
               Round(kConnector.Bottom * s), kConnectorOrange);
    DrawDeliveryTube(b);
    DrawGasSyringe(b, kSyringeX * s, kSyringeY * s, kSyringeW * s, kSyringeH * s, GasVolume_,
                   Round(kSyringeLabelHeight * s));
    DrawStopwatch(b, FormatMinSec(Time()), str::sMinSec(), kWatchLeft * s, kWatchTop * s, kWatchW * s,
                  kWatchH * s);
}

void TPeroxideFrm::DrawDeliveryTube(TBitmap32& b)
{
    const float s = Scale_;
    TContour tube;
    for (const auto& [x, y] : kTubePoints)
        tube.push_back(FixedPoint(x * s, y * s));
    FillPolygon(b, tube, clWhite32, false);
    // Open at both ends: into the flask, and into the syringe's nozzle.
    DrawPolyline(b, tube, clBlack32, false, false);
    b.VertLine(Trunc(kTubeMouthX * s), Trunc(kTubeMouthTop * s), Trunc(kTubeMouthBottom * s), clWhite32);
}

namespace {

const bool kRow =
    DeclareExperiment<TPeroxideFrm>({ids::Peroxide, TSubject::Chemistry, "CHEMRATE.HTM", TPages::Family,
                                     str::sPeroxideCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
