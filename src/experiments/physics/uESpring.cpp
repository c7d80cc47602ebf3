#include "experiments/physics/uESpring.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Meters.h"
#include "apparatus/Shapes.h"
#include "common/CadencerEx.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uESpringStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"
#include "runtime/Polygon32.h"

#include <QDoubleSpinBox>
#include <QLabel>

namespace brv {

namespace {

// Scene layout in centimetres from the picture's top-left corner; the scene
// is 100 wide.
constexpr float kSceneWidth = 100;
constexpr float kLensX = 27.8f, kLensY = 21, kLensSize = 40;
constexpr float kTrolleyTop = 62, kTrolleyWidth = 30, kTrolleyHeight = 6;
constexpr float kCardTop = 54.1f, kCardLeft = 1, kCardRight = 11;  // the card on the trolley
constexpr float kWheelY = 66.8f, kWheelRadius = 3, kRearWheel = 6, kFrontWheel = 24;
constexpr float kHousingLeft = 1, kHousingRight = 25, kHousingBottom = 66, kHousingWall = 0.8f;
constexpr float kSpringLength = 20, kPlungerLength = 15;
constexpr float kScaleLeft = 17.8f, kScaleTop = 50, kScaleLength = 20, kScaleHeight = 4;
constexpr float kGateLeft = 59.5f, kGateRight = 62.5f, kGateTop = 48, kGateBottom = 58;
constexpr float kWatchLeft = 70, kWatchTop = 20, kWatchWidth = 24, kWatchHeight = 20;
constexpr float kBenchTop = 69.8f, kBenchBottom = 75;

constexpr TColor32 kWood = 0xFF6E471E;
constexpr TColor32 kCardGrey = 0xFF3F3F3F;
constexpr TColor32 kWheelRed = 0xFFFF0000;
constexpr TColor32 kHousingGrey = 0xFFBFBFBF;
constexpr TColor32 kPine = 0xFFF3D89D;  // plunger and bench
constexpr TColor32 kStripYellow = 0xFFFFFF80;
constexpr TColor32 kWireGreen = 0xFF007F00;
constexpr TColor32 kGateGrey = 0xFFE2E2E2;

}  // namespace

TSpringFrm::TSpringFrm(QWidget* parent) : TAnimatedForm(parent)
{
    FormCreate();
}

TSpringFrm::~TSpringFrm() = default;

void TSpringFrm::FormCreate()
{
    setWindowTitle(str::sESpringCaption());
    createToolbar();
    CreatePic();
    LayOutPicture({});
    // Variable steps: each tick moves the trolley by the time that passed.
    CreateClock(0);
    spring_.Mass = float(MassSE->value());
    spring_.Compress(float(SpringSE->value()));
}

void TSpringFrm::createToolbar()
{
    CreateRunToolbar(str::sESpringStartHint(), str::sESpringStopHint(), str::sESpringResetHint());
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem2"));
    SpringLabel = AddToolbarLabel(toolbar_, str::sESpringCompressionLabel(), QStringLiteral("SpringLabel"));
    SpringSE = AddFloatSpinEdit(toolbar_, QStringLiteral("SpringSE"), 0, 10, 0.1, 1, 5,
                                str::sESpringCompressionHint());
    SetArrowsOnly(SpringSE);
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem1"));
    MassLabel = AddToolbarLabel(toolbar_, str::sESpringMassLabel(), QStringLiteral("MassLabel"));
    MassSE = AddFloatSpinEdit(toolbar_, QStringLiteral("MassSE"), 0.5, 5, 0.1, 1, 1, str::sESpringMassHint(),
                              str::sESpringKgPostfix());
    connect(SpringSE, &QDoubleSpinBox::valueChanged, this, &TSpringFrm::SpringSEValueChange);
    connect(MassSE, &QDoubleSpinBox::valueChanged, this, &TSpringFrm::MassSEValueChange);
    // This toolbar keeps its small pictures with large buttons.
    TLargeRule rule;
    rule.largeImages = false;
    SetLargeItems({{SpringLabel, 0, 0}, {MassLabel, 0, 0}, {SpringSE, 18, 18}, {MassSE, 64, 100}}, rule);
}

// --- run control -----------------------------------------------------------------

float TSpringFrm::Released() const
{
    return float(SpringSE->value());
}

TButtonStates TSpringFrm::ButtonsIn(TRunState state) const
{
    if (state == TRunState::Ready)
        return {StartOffered, false, false};
    return TAnimatedForm::ButtonsIn(state);
}

bool TSpringFrm::StartRun()
{
    spring_.Release(Released());
    return true;
}

void TSpringFrm::ResetRun()
{
    spring_.SpringConstant = TSpringModel::NewSpringConstant();
    spring_.Compress(Released());
    StartOffered = true;
    RedrawBackground();
}

void TSpringFrm::StateChanged(TRunState state)
{
    SpringSE->setEnabled(state == TRunState::Ready);
    MassSE->setEnabled(state == TRunState::Ready);
}

void TSpringFrm::ClockProgress(double deltaTime)
{
    if (spring_.Step(float(deltaTime), Released()))
        Finish();
    // No layers: the whole picture follows the trolley, tick by tick.
    RedrawBackground();
}

// --- controls ---------------------------------------------------------------------

void TSpringFrm::SpringSEValueChange(double value)
{
    spring_.Compress(float(value));
    RedrawBackground();
    StartOffered = spring_.Compression > 0.05f;
    if (State() == TRunState::Ready)
        Buttons.StartBtn->setEnabled(StartOffered);
    spring_.SpringConstant = TSpringModel::NewSpringConstant();
}

void TSpringFrm::MassSEValueChange(double value)
{
    spring_.Mass = float(value);
    spring_.SpringConstant = TSpringModel::NewSpringConstant();
}

// --- drawing -------------------------------------------------------------------------

float TSpringFrm::ComputeScale(int width, int height)
{
    return scale::FromWidthCappedByHeight(width, height, 1 / kSceneWidth);
}

void TSpringFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    // The lens first: its mask whitens the square round it.
    DrawCompressionLens(b, kLensX * s, kLensY * s, kLensSize * s);
    DrawTrolley(b);
    DrawSpringHousing(b);
    DrawCompressionScale(b);
    DrawWires(b);
    const TRect gate{Round(kGateLeft * s), Round(kGateTop * s), Round(kGateRight * s),
                     Round(kGateBottom * s)};
    b.FillRect(gate, kGateGrey);
    b.FrameRect(gate, clBlack32);
    DrawStopwatch(b, FormatSeconds(spring_.CardTime), str::sSeconds(), kWatchLeft * s, kWatchTop * s,
                  kWatchWidth * s, kWatchHeight * s);
    const int bench = Round(kBenchTop * s);
    b.FillRect(0, bench, b.Width(), Round(kBenchBottom * s), kPine);
    b.HorzLine(0, bench, b.Width() - 1, clBlack32);
}

// The scale under the card's edge, 30 mm across, in centimetres falling to
// the right; its centre line reads the compression.  Once the spring has
// relaxed the scale stays at 0 and the card's edge moves off to the right.
void TSpringFrm::DrawCompressionLens(TBitmap32& b, float cx, float cy, float size)
{
    const float q = spring_.Compression;
    const float m = size / 30;  // pixels per millimetre
    const float r = size / 2;
    const TRect window{Round(cx - r), Round(cy - r), Round(cx + r), Round(cy + r)};

    int right = window.Right;
    if (q < 1.5f)
        right = Round(cx + q * 10 * m);  // the scale's 0 mark
    const int top = Round(cy - 0.75f * r), bottom = Round(cy);
    b.FillRect(window.Left, top, right, bottom, kStripYellow);
    b.FrameRect(window.Left, top, right, bottom, clBlack32);

    SetLabelFont(b, Round(3 * m));
    b.Font.Color = clBlack32;
    const int base = bottom - 1;
    const int longTick = Round(0.15f * size);
    const float shift = LensTickShift(q, m);
    ForEachLensTick(-25, 25, Trunc(q) + 2, -1, [&](const TLensTick& tick) {
        const int x = Round(cx + float(tick.Index) * m + shift);
        if (x <= window.Left || x >= right - 1)
            return;
        const int length = tick.Kind == TTickKind::Major  ? longTick
                           : tick.Kind == TTickKind::Half ? Round(0.1f * size)
                                                          : Round(0.05f * size);
        b.VertLine(x, base - length + 1, base, clBlack32);
        if (tick.Kind == TTickKind::Major) {
            const QString label = QString::number(tick.Label);
            const auto extent = b.TextExtent(label);
            b.TextOut(x - extent.cx / 2, base - longTick + 1 - extent.cy, label);
        }
    });

    const float away = spring_.TrolleyX - TSpringModel::RestX;
    const int card = away <= 0 ? Round(cx) : Round(cx + away * 10 * m);
    if (card < window.Right)
        b.FillRect(card, bottom + 1, window.Right, window.Bottom, kCardGrey);

    const QString unit = str::sESpringCm();
    b.TextOut(Round(cx) - b.TextWidth(unit) / 2, window.Top, unit);
    DrawMagnifierMask(b, cx, cy, size);
}

void TSpringFrm::DrawTrolley(TBitmap32& b)
{
    const float s = Scale_;
    const float x = spring_.TrolleyX * s;
    const TRect body{Round(x), Round(kTrolleyTop * s), Round(x + kTrolleyWidth * s),
                     Round((kTrolleyTop + kTrolleyHeight) * s)};
    b.FillRect(body, kWood);
    b.FrameRect(body, clBlack32);
    const TRect card{Round(x + kCardLeft * s), Round(kTrolleyTop * s - (kTrolleyTop - kCardTop) * s),
                     Round(x + kCardRight * s), body.Top + 1};
    b.FillRect(card, kCardGrey);
    b.FrameRect(card, clBlack32);
    for (float wheel : {kRearWheel, kFrontWheel})
        DrawDisc(b, x + wheel * s, kWheelY * s, kWheelRadius * s, kWheelRed, clBlack32, 20);
}

void TSpringFrm::DrawSpringHousing(TBitmap32& b)
{
    const float s = Scale_;
    const TRect outer{Round(kHousingLeft * s), Round(kTrolleyTop * s), Round(kHousingRight * s),
                      Round(kHousingBottom * s)};
    b.FillRect(outer, kHousingGrey);
    b.FrameRect(outer, clBlack32);
    const int wall = Round(kHousingWall * s);
    const TRect inner{outer.Left + wall, outer.Top + wall, outer.Right - wall, outer.Bottom - wall};
    b.FillRect(inner, clWhite32);
    b.FrameRect(inner, clBlack32);

    // The spring: twenty zigzags squeezed into 20 − compression.
    const float p = (kSpringLength - spring_.Compression) * 0.05f * s;
    b.PenColor = clBlack32;
    b.MoveTo(float(inner.Left), float(inner.Top));
    for (int i = 1; i <= 20; ++i)
        b.SmoothLineTo(float(inner.Left + Round(float(i) * p)),
                       float(i % 2 == 1 ? inner.Bottom - 1 : inner.Top));

    const int plunger = inner.Left + Round(20 * p);
    const TRect rod{plunger, inner.Top, plunger + Round(kPlungerLength * s), inner.Bottom};
    b.FillRect(rod, kPine);
    b.FrameRect(rod, clBlack32);
}

// The bench scale behind the card, 20 cm to 0 from left to right: the card's
// left edge reads the compression.
void TSpringFrm::DrawCompressionScale(TBitmap32& b)
{
    const float s = Scale_;
    const TRect strip{Round(kScaleLeft * s), Round(kScaleTop * s), Round((kScaleLeft + kScaleLength) * s),
                      Round((kScaleTop + kScaleHeight) * s)};
    b.FillRect(strip, kStripYellow);
    b.FrameRect(strip, clBlack32);
    for (int i = 1; i <= 19; ++i) {
        const int x = strip.Left + Round(float(i) * s);
        const int length = i == 10 ? strip.Height() : i % 5 == 0 ? Round(2 * s) : Round(s);
        b.VertLine(x, strip.Bottom - length, strip.Bottom - 1, clBlack32);
    }
    SetLabelFont(b, Round(2.5f * s), false);
    b.Font.Color = clBlack32;
    const auto label = [&](int x, const QString& text) {
        const auto extent = b.TextExtent(text);
        b.TextOut(x - extent.cx / 2, strip.Top - extent.cy, text);
    };
    label(strip.Left, QStringLiteral("20"));
    label((strip.Left + strip.Right) / 2, QStringLiteral("10"));
    label(strip.Right, QStringLiteral("0"));
}

// Two wires from the top of the gate to the stopwatch, each two pixels thick.
void TSpringFrm::DrawWires(TBitmap32& b)
{
    const float s = Scale_;
    const int right = Round(kWatchLeft * s);
    const int from = Round(kGateTop * s);
    for (const auto& [x, y] : {std::pair{60.5f, 30.0f}, std::pair{61.5f, 32.0f}}) {
        const int wx = Round(x * s), wy = Round(y * s);
        b.VertLine(wx, wy, from, kWireGreen);
        b.VertLine(wx + 1, wy, from, kWireGreen);
        b.HorzLine(wx, wy, right, kWireGreen);
        b.HorzLine(wx, wy - 1, right, kWireGreen);
    }
}

namespace {

const bool kRow =
    DeclareExperiment<TSpringFrm>({ids::ESpring, TSubject::Physics, "SPRING.HTM", TPages::Family,
                                   str::sESpringCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
