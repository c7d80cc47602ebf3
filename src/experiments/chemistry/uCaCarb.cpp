#include "experiments/chemistry/uCaCarb.h"

#include "apparatus/Beakers.h"
#include "apparatus/Burettes.h"
#include "apparatus/Labels.h"
#include "apparatus/Meters.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/chemistry/uCaCarbStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/Polygon32.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <array>

namespace brv {

namespace {

// Scene units: the picture's smaller side is about 91 of them.
constexpr float kScaleFactor = 0.011f;

constexpr float kLensX = 12, kLensY = 2, kLensSize = 30;
constexpr float kTroughX = 3, kTroughY = 69, kTroughW = 16, kTroughH = 20;
constexpr float kBuretteX = 6, kBuretteY = 5, kBuretteW = 3, kBuretteH = 80;
constexpr float kFlaskX = 32, kFlaskY = 56, kFlaskW = 15, kFlaskH = 20;
constexpr float kFlaskLiquidPerCm3 = 0.28f;
constexpr float kWatchLeft = 65, kWatchTop = 74, kWatchW = 20, kWatchH = 15;
constexpr float kBalanceX = 24.5f, kBalanceY = 76, kBalanceW = 30, kBalanceH = 13;
// Where the escaping gas rises: from just below the burette's mouth up to
// the trough's water surface.
constexpr float kEscapeLeft = 4.8f, kEscapeRight = 10.2f, kEscapeBottom = 85.2f;
constexpr float kTroughTop = kTroughY + kTroughH;

constexpr TColor32 kBalanceBody = 0xFFC0DCC0;
constexpr TColor32 kBalancePan = 0xFFF0F0F0;

constexpr int kTimeMax = 600, kTimePage = 60;

// The glass tube from the flask's bung over to the burette's mouth, one unit
// wide: its outline, corner by corner.
constexpr std::array<std::array<float, 2>, 12> kTubeCorners{{{7, 84},
                                                             {7, 88},
                                                             {15, 88},
                                                             {15, 49},
                                                             {39, 49},
                                                             {39, 60},
                                                             {40, 60},
                                                             {40, 48},
                                                             {14, 48},
                                                             {14, 87},
                                                             {8, 87},
                                                             {8, 84}}};
// The two edges left open: into the flask (corner 6 to 7) and into the
// burette's mouth (corner 12 to 1).
constexpr std::size_t kFlaskEnd = 5, kBuretteEnd = 11;

}  // namespace

TCaCarbFrm::TCaCarbFrm(QWidget* parent) : TTimeScrubbedForm(parent)
{
    FormCreate();
}

TCaCarbFrm::~TCaCarbFrm() = default;

void TCaCarbFrm::FormCreate()
{
    setWindowTitle(str::sCaCarbCaption());
    model_.GasFactor = TCaCarbModel::NewGasFactor();
    createToolbar();
    CreateTimeBar(0, kTimeMax, 0, kTimePage, str::sCaCarbTimeHint());
    CreatePic();
    LayOutPicture({}, {}, TimeHsb);
    model_.AcidConc = float(ConcSE->value());
    model_.AcidVolume = VolSE->value();
    model_.CarbonateMass = float(MassSE->value());
}

void TCaCarbFrm::createToolbar()
{
    CreateToolbar();
    ResetBtn = AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), biReset, str::sResetHint());
    ConcLabel = AddToolbarLabel(toolbar_, str::sCaCarbConcLabel(), QStringLiteral("ConcLabel"));
    ConcSE = AddFloatSpinEdit(toolbar_, QStringLiteral("ConcSE"), 0, 1, 0.1, 1, 0.5, str::sCaCarbConcHint(),
                              str::sMolarPostfix());
    VolumeLabel = AddToolbarLabel(toolbar_, str::sCaCarbVolumeLabel(), QStringLiteral("VolumeLabel"));
    VolSE = AddIntSpinEdit(toolbar_, QStringLiteral("VolSE"), 0, 50, 25, str::sCaCarbVolumeHint(),
                           str::sCm3Postfix());
    MassLabel = AddToolbarLabel(toolbar_, str::sCaCarbMassLabel(), QStringLiteral("MassLabel"));
    MassSE = AddFloatSpinEdit(toolbar_, QStringLiteral("MassSE"), 0.1, 5, 0.1, 1, 1, str::sCaCarbMassHint(),
                              str::sCaCarbGramPostfix());
    connect(ResetBtn, &QAction::triggered, this, [this] { ResetBtnClick(); });
    NewRunOn(ConcSE, [this] { ConcSEValueChange(ConcSE->value()); });
    NewRunOn(MassSE, [this] { MassSEValueChange(MassSE->value()); });
    NewRunOn(VolSE, [this] { VolSEValueChange(VolSE->value()); });
    SetLargeItems({{ConcLabel, 0, 0},
                   {VolumeLabel, 0, 0},
                   {MassLabel, 0, 0},
                   {ConcSE, 64, 96},
                   {VolSE, 64, 96},
                   {MassSE, 64, 96}});
}

void TCaCarbFrm::SetLargeButtons(bool large)
{
    if (LargeButtonsUnchanged(large, true))
        return;
    TTimeScrubbedForm::SetLargeButtons(large);
    // Small buttons bring back the captions the toolbar was made with, so
    // switching large buttons on and off leaves it as it was.
    ConcLabel->setText(large ? str::sCaCarbConcLarge() : str::sCaCarbConcLabel());
    VolumeLabel->setText(large ? str::sCaCarbVolumeLarge() : str::sCaCarbVolumeLabel());
    MassLabel->setText(large ? str::sCaCarbMassLarge() : str::sCaCarbMassLabel());
    TimeHsb->setFixedHeight(large ? 26 : 18);
}

// --- controls ------------------------------------------------------------------

void TCaCarbFrm::NewRun()
{
    model_.GasFactor = TCaCarbModel::NewGasFactor();
}

void TCaCarbFrm::ConcSEValueChange(double value)
{
    model_.AcidConc = float(value);
}

void TCaCarbFrm::MassSEValueChange(double value)
{
    model_.CarbonateMass = float(value);
}

void TCaCarbFrm::VolSEValueChange(int value)
{
    model_.AcidVolume = value;
}

void TCaCarbFrm::Recompute()
{
    reading_ = model_.At(Time());
    if (!reading_.Evaluated)
        return;
    GasOverflow_ = TimeForward() && reading_.GasGiven > TCaCarbModel::BuretteVolume;
    ReactionDone_ = reading_.Done;
}

// --- drawing ----------------------------------------------------------------------

float TCaCarbFrm::ComputeScale(int width, int height)
{
    return scale::FromSmallerSide(width, height, kScaleFactor);
}

void TCaCarbFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float gas = reading_.GasShown;
    const bool bubbling = Bubbling();
    DrawBuretteLens(b, kLensX * s, kLensY * s, kLensSize * s, gas);
    DrawBeaker(b, false, kTroughX * s, kTroughY * s, kTroughW * s, kTroughH * s,
               TCaCarbModel::TroughLevel(gas) * s);
    DrawEscapingGas(b);
    DrawGasBurette(b, bubbling, Time(), kBuretteX * s, kBuretteY * s, kBuretteW * s, kBuretteH * s, gas);
    DrawConicalFlask(b, true, bubbling, kFlaskX * s, kFlaskY * s, kFlaskW * s, kFlaskH * s,
                     kFlaskLiquidPerCm3 * float(model_.AcidVolume) * s);
    DrawDeliveryTube(b);
    DrawStopwatch(b, FormatMinSec(Time()), str::sMinSec(), kWatchLeft * s, kWatchTop * s, kWatchW * s,
                  kWatchH * s);
    DrawBalance(b);
}

// Gas the full burette cannot hold bubbles out round its mouth, in two
// columns rising to the trough's surface.
void TCaCarbFrm::DrawEscapingGas(TBitmap32& b)
{
    if (!GasOverflow_ || !Bubbling())
        return;
    const float s = Scale_;
    const int step = Round(2 * s);
    if (step <= 0)
        return;
    const float surface = kTroughTop - TCaCarbModel::TroughLevel(reading_.GasShown);
    const TRect area{Round(kEscapeLeft * s), Round(surface * s), Round(kEscapeRight * s),
                     Round(kEscapeBottom * s)};
    const TRect saved = b.ClipRect();
    b.SetClipRect(area);
    for (int y = area.Bottom - Time() % step; y >= area.Top; y -= step) {
        DrawCircle(b, area.Left + 2, y, 2);
        DrawCircle(b, area.Right - 3, y, 2);
    }
    b.SetClipRect(saved);
}

void TCaCarbFrm::DrawDeliveryTube(TBitmap32& b)
{
    const float s = Scale_;
    TContour outline;
    for (const auto& [x, y] : kTubeCorners)
        outline.push_back(FixedPoint(x * s, y * s));
    FillPolygon(b, outline, clWhite32, true);
    for (std::size_t i = 0; i < kTubeCorners.size(); ++i) {
        if (i == kFlaskEnd || i == kBuretteEnd)
            continue;
        const auto& from = kTubeCorners[i];
        const auto& to = kTubeCorners[(i + 1) % kTubeCorners.size()];
        const int x1 = Trunc(from[0] * s), y1 = Trunc(from[1] * s);
        const int x2 = Trunc(to[0] * s), y2 = Trunc(to[1] * s);
        if (from[1] == to[1])
            b.HorzLine(x1, y1, x2, clBlack32);
        else
            b.VertLine(x1, y1, y2, clBlack32);
    }
}

void TCaCarbFrm::DrawBalance(TBitmap32& b)
{
    const float s = Scale_;
    const float x = kBalanceX * s, y = kBalanceY * s, w = kBalanceW * s, h = kBalanceH * s;
    const TRect body{Round(x), Round(y + 0.25f * h), Round(x + w), Round(y + h)};
    b.FillRect(body, kBalanceBody);
    b.FrameRect(body, clBlack32);
    const TRect pan{Round(x + 0.2f * w), Round(y), Round(x + 0.8f * w), body.Top};
    b.FillRect(pan, kBalancePan);
    b.FrameRect(pan, clBlack32);
    const TRect display{Round(x + 0.15f * w), Round(y + 0.4f * h), Round(x + 0.85f * w),
                        Round(y + 0.85f * h)};
    b.FillRect(display, clWhite32);
    b.FrameRect(display, clBlack32);

    SetLabelFont(b, Round(0.4f * h));
    b.Font.Color = clBlack32;
    const QString text = QString::asprintf("%3.3f", double(BalanceReading()));
    const TBitmap32::TSize extent = b.TextExtent(text);
    b.TextOut((display.Left + display.Right - extent.cx) / 2, (display.Top + display.Bottom - extent.cy) / 2,
              text);
}

namespace {

const bool kRow =
    DeclareExperiment<TCaCarbFrm>({ids::CaCarb, TSubject::Chemistry, "CAHCL.HTM", TPages::Family,
                                   str::sCaCarbCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
