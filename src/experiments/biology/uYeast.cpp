#include "experiments/biology/uYeast.h"

#include "apparatus/Beakers.h"
#include "apparatus/Burettes.h"
#include "apparatus/Meters.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/biology/uYeastStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/Image32.h"
#include "runtime/Polygon32.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <array>

namespace brv {

namespace {

// Scene layout in units from the picture's top-left corner: 100 units
// across a tall picture, 90.9 down a wide one.
constexpr float kTallScale = 0.01f, kWideScale = 0.011f;
constexpr float kThermoLensX = 58, kThermoLensY = 15, kLensSize = 30;
constexpr float kBuretteLensX = 12, kBuretteLensY = 2;
constexpr float kBeakerX = 3, kBeakerY = 69, kBeakerW = 16, kBeakerH = 20;
// The gas pushes water out of the burette into the beaker.
constexpr float kBeakerRisePerCm3 = 0.23f, kBeakerLevel = 7.5f;
constexpr float kBuretteX = 6, kBuretteY = 5, kBuretteW = 3, kBuretteH = 80;
constexpr float kBathX = 29, kBathY = 69, kBathW = 30, kBathH = 20, kBathWater = 15, kBathWall = 1;
constexpr float kFlaskX = 32, kFlaskY = 66, kFlaskW = 15, kFlaskH = 20, kFlaskLiquid = 10;
constexpr float kTubeX = 7, kTubeY = 84;
constexpr float kWatchX = 65, kWatchY = 74, kWatchW = 20, kWatchH = 15;
constexpr float kThermoX = 53, kThermoY = 25, kThermoWidthPx = 9, kThermoH = 60;

constexpr TColor32 kBathWater32 = 0xFFC0E1FF;

constexpr int kTimePage = 60;  // a minute
constexpr int kSmallBarHeight = 18, kLargeBarHeight = 24;

}  // namespace

TYeastFrm::TYeastFrm(QWidget* parent) : TTimeScrubbedForm(parent)
{
    FormCreate();
}

TYeastFrm::~TYeastFrm() = default;

void TYeastFrm::FormCreate()
{
    setWindowTitle(str::sYeastCaption());
    model_.GasFactor = TYeastModel::NewGasFactor();
    createToolbar();
    model_.BathTemp = float(TempSE->value());
    model_.Glucose = float(GlucoseSE->value());

    CreatePic();
    CreateTimeBar(0, TYeastModel::RunSeconds, 0, kTimePage, str::sYeastTimeHint());
    TimeHsb->setFixedHeight(kSmallBarHeight);
    LayOutPicture({}, {}, TimeHsb);
}

void TYeastFrm::createToolbar()
{
    CreateToolbar();
    ResetBtn = AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), biReset, str::sResetHint());
    connect(ResetBtn, &QAction::triggered, this, [this] { ResetBtnClick(); });
    GlucoseLabel = AddToolbarLabel(toolbar_, str::sYeastGlucoseLabel(), QStringLiteral("GlucoseLabel"));
    GlucoseSE = AddFloatSpinEdit(toolbar_, QStringLiteral("GlucoseSE"), 0.1, 1, 0.1, 1, 0.3,
                                 str::sYeastGlucoseHint(), str::sMolarPostfix());
    TempLabel = AddToolbarLabel(toolbar_, str::sYeastTempLabel(), QStringLiteral("TempLabel"));
    TempSE = AddIntSpinEdit(toolbar_, QStringLiteral("TempSE"), 0, 100, 20, str::sYeastTempHint());
    SetArrowsOnly(TempSE);
    // Not a new run at every change: see GlucoseSEValueChange.
    connect(GlucoseSE, &QDoubleSpinBox::valueChanged, this, &TYeastFrm::GlucoseSEValueChange);
    NewRunOn(TempSE, [this] { TempSEStep(TempSE->value()); });
    TLargeRule rule;
    rule.scaleByDpi = false;
    SetLargeItems({{GlucoseLabel, 0, 0}, {TempLabel, 0, 0}, {GlucoseSE, 64, 96}, {TempSE, 18, 18, 150, 300}},
                  rule);
}

void TYeastFrm::SetLargeButtons(bool large)
{
    TTimeScrubbedForm::SetLargeButtons(large);
    TimeHsb->setFixedHeight(large ? kLargeBarHeight : kSmallBarHeight);
}

// --- controls ---------------------------------------------------------------------

void TYeastFrm::TimeHsbScroll(int, int& position)
{
    // Back at the start: a new run with its own yeast.
    if (position == 0)
        model_.GasFactor = TYeastModel::NewGasFactor();
}

void TYeastFrm::NewRun()
{
    model_.GasFactor = TYeastModel::NewGasFactor();
}

void TYeastFrm::GlucoseSEValueChange(double value)
{
    model_.Glucose = float(value);
    // Before time has run the glucose has had no effect yet.
    if (Time() != 0)
        ResetBtnClick();
}

void TYeastFrm::TempSEStep(int value)
{
    model_.BathTemp = float(value);
}

// --- drawing -------------------------------------------------------------------------

float TYeastFrm::ComputeScale(int width, int height)
{
    return scale::FromSmallerSide(width, height, kTallScale, kWideScale);
}

void TYeastFrm::Recompute()
{
    Volume_ = model_.CarbonDioxideVolume(Time());
}

void TYeastFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float v = Volume_;
    DrawThermometerLens(b, kThermoLensX * s, kThermoLensY * s, kLensSize * s, model_.BathTemp);
    DrawBuretteLens(b, kBuretteLensX * s, kBuretteLensY * s, kLensSize * s, v);
    DrawBeaker(b, false, kBeakerX * s, kBeakerY * s, kBeakerW * s, kBeakerH * s,
               (kBeakerRisePerCm3 * v + kBeakerLevel) * s);
    DrawGasBurette(b, TimeForward(), Time(), kBuretteX * s, kBuretteY * s, kBuretteW * s, kBuretteH * s, v);
    DrawWaterBath(b, kBathWater32, kBathX * s, kBathY * s, kBathW * s, kBathH * s, kBathWater * s,
                  kBathWall * s);
    DrawConicalFlask(b, true, TimeForward(), kFlaskX * s, kFlaskY * s, kFlaskW * s, kFlaskH * s,
                     kFlaskLiquid * s);
    DrawDeliveryTube(b, kTubeX, kTubeY);
    DrawStopwatch(b, FormatMinSec(Time()), str::sMinSec(), kWatchX * s, kWatchY * s, kWatchW * s,
                  kWatchH * s);
    DrawThermometer(b, kThermoX * s, kThermoY * s, kThermoWidthPx, kThermoH * s, model_.BathTemp);
}

// A tube one unit thick from under the burette's mouth down, right along the
// bench, up and over the bath's wall and down through the bung.  Its two ends
// stay open.
void TYeastFrm::DrawDeliveryTube(TBitmap32& b, float x0, float y0)
{
    const std::array<std::array<float, 2>, 12> corners{{{x0, y0},
                                                        {x0, y0 + 4},
                                                        {x0 + 8, y0 + 4},
                                                        {x0 + 8, y0 - 25},
                                                        {x0 + 32, y0 - 25},
                                                        {x0 + 32, y0 - 13},
                                                        {x0 + 33, y0 - 13},
                                                        {x0 + 33, y0 - 26},
                                                        {x0 + 7, y0 - 26},
                                                        {x0 + 7, y0 + 3},
                                                        {x0 + 1, y0 + 3},
                                                        {x0 + 1, y0}}};
    const float s = Scale_;
    TContour outline;
    for (const auto& [x, y] : corners)
        outline.push_back(FixedPoint(x * s, y * s));
    FillPolygon(b, outline, clWhite32, true);

    constexpr std::size_t kInFlask = 5, kUnderBurette = 11;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        if (i == kInFlask || i == kUnderBurette)
            continue;
        const auto& from = corners[i];
        const auto& to = corners[(i + 1) % corners.size()];
        const int x1 = Round(from[0] * s), y1 = Round(from[1] * s);
        const int x2 = Round(to[0] * s), y2 = Round(to[1] * s);
        if (x1 == x2)
            b.VertLine(x1, std::min(y1, y2), std::max(y1, y2), clBlack32);
        else
            b.HorzLine(std::min(x1, x2), y1, std::max(x1, x2), clBlack32);
    }
}

namespace {

const bool kRow = DeclareExperiment<TYeastFrm>({ids::Yeast, TSubject::Biology, "YEAST.HTM", TPages::Family,
                                                str::sYeastCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
