#include "experiments/physics/uTerminalVelocity.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Meters.h"
#include "apparatus/Rulers.h"
#include "apparatus/Shapes.h"
#include "common/CadencerEx.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uTerminalVelocityStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

// Scene layout, centimetres from the picture's top-left corner; depths along
// the tube are measured from the rule's 0 mark at y = 4.
constexpr float kSceneHeight = 106;
constexpr float kZeroMark = 4;
constexpr float kTubeX = 20, kTubeLeft = 15, kTubeRight = 25, kTubeBottom = 104;
constexpr float kLiquidBelowTop = 2;
constexpr float kRuleLeft = 5, kRuleWidth = 6, kRuleHeight = 100;
constexpr float kWatchLeft = 40, kWatchTop = 50, kWatchWidth = 20, kWatchHeight = 15;
constexpr float kLensLeft = 42, kLens1Top = 4, kLens2Top = 74, kLensSize = 30;
constexpr float kHousingLeft = 11.5f, kHousingRight = 30;
constexpr float kWireBend = 35, kTopWireY = 55, kBottomWireY = 60;
// The top gate's wire runs this many pixels right of the bottom one's so the
// two never share a column.
constexpr int kTopWireOffset = 10;
constexpr int kMinBallPixels = 3;

constexpr int kGateBarMin = 100, kGateBarMax = 900, kGateBarPage = 10;

constexpr TColor32 kHousingGrey = 0xFFBFBFBF;
constexpr TColor32 kBeamGreen = 0xFF007F00;
constexpr TColor32 kStripYellow = 0xFFFFFF80;
constexpr TColor32 kBallRed = 0xFFFF0000;
constexpr TColor32 kLiquidBlue = 0x7FD6EAFF;  // translucent: the ball shows through

// Wires are two pixels thick: each line doubled to the right or below.
void WireAcross(TBitmap32& b, int x1, int x2, int y)
{
    b.HorzLine(x1, y, x2, clBlack32);
    b.HorzLine(x1, y + 1, x2, clBlack32);
}

void WireDown(TBitmap32& b, int x, int y1, int y2)
{
    b.VertLine(x, y1, y2, clBlack32);
    b.VertLine(x + 1, y1, y2, clBlack32);
}

}  // namespace

TVelocityFrm::TVelocityFrm(QWidget* parent) : TAnimatedForm(parent)
{
    FormCreate();
}

void TVelocityFrm::FormCreate()
{
    createToolbar();
    setWindowTitle(str::sTerminalVelocityCaption());

    Gate1Hsb = createGateBar(QStringLiteral("Gate1Hsb"), 200, str::sTerminalVelocityGate1Hint());
    Gate2Hsb = createGateBar(QStringLiteral("Gate2Hsb"), 800, str::sTerminalVelocityGate2Hint());

    CreatePic();
    LayOutPicture({Gate1Hsb}, {Gate2Hsb});

    CreateClock(0.001);

    createLayers();
    model_.Radius = float(RadiusSE->value());
    model_.ViscosityPoise = float(10 * ViscositySE->value());
    model_.Gate1 = float(Gate1Hsb->value()) * TTerminalVelocityModel::GateBarUnit;
    model_.Gate2 = float(Gate2Hsb->value()) * TTerminalVelocityModel::GateBarUnit;
    model_.Reset(TTerminalVelocityModel::StandardGravity);

    SetButtonTable({{{true, false, false}, {false, true, true}, {true, false, true}, {false, false, true}}});
}

void TVelocityFrm::createToolbar()
{
    CreateRunToolbar(str::sTerminalVelocityStartHint(), str::sTerminalVelocityStopHint(), str::sResetHint());
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem1"));
    RadiusLabel =
        AddToolbarLabel(toolbar_, str::sTerminalVelocityRadiusLabel(), QStringLiteral("RadiusLabel"));
    RadiusSE = AddFloatSpinEdit(toolbar_, QStringLiteral("RadiusSE"), 0.5, 2, 0.1, 1, 1,
                                str::sTerminalVelocityRadiusHint(), str::sTerminalVelocityCmPostfix());
    ViscosityLabel =
        AddToolbarLabel(toolbar_, str::sTerminalVelocityViscosityLabel(), QStringLiteral("ViscosityLabel"));
    ViscositySE = AddFloatSpinEdit(toolbar_, QStringLiteral("ViscositySE"), 0, 10, 0.1, 1, 2,
                                   str::sTerminalVelocityViscosityHint(), str::sTerminalVelocityPasPostfix());
    connect(RadiusSE, &QDoubleSpinBox::valueChanged, this, &TVelocityFrm::RadiusSEValueChange);
    connect(ViscositySE, &QDoubleSpinBox::valueChanged, this, &TVelocityFrm::ViscositySEValueChange);
    SetLargeItems({{RadiusLabel, 0, 0}, {ViscosityLabel, 0, 0}, {RadiusSE, 64, 96}, {ViscositySE, 64, 96}});
}

QScrollBar* TVelocityFrm::createGateBar(const QString& name, int position, const QString& hint)
{
    QScrollBar* bar =
        NewScrollBar(this, Qt::Vertical, name, kGateBarMin, kGateBarMax, position, kGateBarPage, hint);
    // The bars stay enabled in every state: the gates may move during a run.
    OnScroll(bar, [this, bar](int& newPosition, bool) { Gate1HsbScroll(bar, newPosition); });
    return bar;
}

void TVelocityFrm::createLayers()
{
    // The liquid is painted over the ball, so it is created after it.
    WatchLayer = &Pic_->AddLayer();
    WatchLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintWatch(l, b); };
    BallLayer = &Pic_->AddLayer();
    BallLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintBall(l, b); };
    TubeLayer = &Pic_->AddLayer();
    TubeLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintTube(l, b); };
}

// --- run control -----------------------------------------------------------------

void TVelocityFrm::StopRun()
{
    // The stopwatch is otherwise repainted only when the ball reaches a
    // new pixel row; a paused watch must show the time it holds.
    WatchLayer->Changed();
}

void TVelocityFrm::ResetRun()
{
    model_.Reset(TTerminalVelocityModel::NewGravity());
    BallPixelY = 0;
    PlaceBall();
}

void TVelocityFrm::ClockProgress(double deltaTime)
{
    if (model_.Step(float(deltaTime)) == TTerminalVelocityModel::Outcome::AtBottom) {
        Finish();
        WatchLayer->Changed();
    }
    const int row = Round(Scale_ * model_.BallDepth);
    if (row > BallPixelY) {
        BallPixelY = row;
        PlaceBall();
    }
}

// --- controls ---------------------------------------------------------------------

void TVelocityFrm::Gate1HsbScroll(QScrollBar* sender, int& position)
{
    const bool moved = sender == Gate1Hsb ? model_.MoveGate1(position) : model_.MoveGate2(position);
    if (moved)
        RedrawBackground();
}

void TVelocityFrm::RadiusSEValueChange(double value)
{
    model_.SetRadius(float(value));
    PlaceBall();
}

void TVelocityFrm::ViscositySEValueChange(double value)
{
    model_.ViscosityPoise = float(10 * value);
}

// --- geometry -----------------------------------------------------------------------

float TVelocityFrm::ComputeScale(int, int height)
{
    return scale::FromHeightUnits(height, kSceneHeight);
}

void TVelocityFrm::PlaceLayers()
{
    const float s = Scale_;
    // The deepest row reached is kept in pixels: under a new scale it is
    // measured again, or a smaller picture would hold the ball still until
    // it caught up with the old row.
    BallPixelY = Round(s * model_.BallDepth);
    PlaceBall();
    WatchLayer->SetLocation(
        {kWatchLeft * s, kWatchTop * s, (kWatchLeft + kWatchWidth) * s, (kWatchTop + kWatchHeight) * s});
    TubeLayer->SetLocation({kTubeLeft * s, kZeroMark * s, kTubeRight * s, kTubeBottom * s + 2});
}

void TVelocityFrm::PlaceBall()
{
    const float rho = float(std::max(kMinBallPixels, Round(Scale_ * model_.Radius)));
    const float cx = kTubeX * Scale_;
    const float cy = (kZeroMark + model_.BallDepth) * Scale_;
    BallLayer->SetLocation({cx - rho, cy - rho, cx + rho, cy + rho});
    // The stopwatch is shown afresh whenever the ball moves.
    WatchLayer->Changed();
}

// --- drawing -------------------------------------------------------------------------

void TVelocityFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    DrawVerticalRule(b, false, kRuleLeft * s, kZeroMark * s, kRuleWidth * s, kRuleHeight * s);
    DrawGate(b, model_.Gate1);
    DrawGate(b, model_.Gate2);
    DrawWires(b);
    DrawGateMagnifier(b, kLensLeft * s, kLens1Top * s, kLensSize * s, model_.Gate1);
    DrawGateMagnifier(b, kLensLeft * s, kLens2Top * s, kLensSize * s, model_.Gate2);
}

void TVelocityFrm::DrawGate(TBitmap32& b, float gate)
{
    const float s = Scale_;
    const int y = Round((kZeroMark + gate) * s);
    const int t = Round(s);
    for (const auto& [from, to] :
         {std::pair{kHousingLeft, kTubeLeft}, std::pair{kTubeRight, kHousingRight}}) {
        const TRect housing{Round(from * s), y - t, Round(to * s), y + t};
        b.FillRect(housing, kHousingGrey);
        b.FrameRect(housing, clBlack32);
    }
    for (int dy = -1; dy <= 1; ++dy)
        b.HorzLine(Round(kTubeLeft * s), y + dy, Round(kTubeRight * s), kBeamGreen);
}

void TVelocityFrm::DrawWires(TBitmap32& b)
{
    const float s = Scale_;
    const int start = Round(kHousingRight * s);
    const int watch = Round(kWatchLeft * s);

    const int bottomGate = Round((kZeroMark + model_.Gate2) * s);
    const int bottomBend = Round(kWireBend * s);
    const int bottomEnd = Round(kBottomWireY * s);
    WireAcross(b, start, bottomBend, bottomGate);
    WireDown(b, bottomBend, bottomGate, bottomEnd);
    WireAcross(b, bottomBend, watch, bottomEnd);

    const int topGate = Round((kZeroMark + model_.Gate1) * s);
    const int topBend = bottomBend + kTopWireOffset;
    const int topEnd = Round(kTopWireY * s);
    WireAcross(b, start, topBend, topGate);
    WireDown(b, topBend, topGate, topEnd);
    WireAcross(b, topBend, watch, topEnd);
}

// A round window on the rule at a gate: the rule strip on the left with its
// millimetre ticks, the gate housing on the right, and the gate's position on
// the centre line.  The window spans 30 mm.
void TVelocityFrm::DrawGateMagnifier(TBitmap32& b, float left, float top, float size, float gate)
{
    const float m = size / 30;
    const TRect r{Round(left), Round(top), Round(left + size), Round(top + size)};
    const int cx = Round(left + size / 2);
    const int cy = Round(top + size / 2);

    b.FillRect(r.Left, r.Top, cx, r.Bottom, kStripYellow);
    b.VertLine(cx, r.Top, r.Bottom, clBlack32);

    SetLabelFont(b, Round(3 * m));
    const TLensTickLengths ticks{Round(0.15f * size), Round(0.1f * size), Round(0.05f * size)};
    const TLensRule rule =
        LensRuleInWindow({r.Left, r.Top, cx, r.Bottom}, float(cy), m, ticks, cx - Round(0.17f * size));
    // Depths below the 0 mark, growing downwards; the centre line reads the gate.
    DrawLensRule(b, rule, gate, -25, 25, LensFirstLabel(gate), 1);

    const int half = Round(10 * m);
    const TRect housing{Round(1.01f * float(cx)), cy - half, r.Right, cy + half};
    b.FillRect(housing, kHousingGrey);
    b.FrameRect(housing, clBlack32);
    b.HorzLine(housing.Left, cy, housing.Right - 1, kBeamGreen);

    DrawMagnifierMask(b, float(cx), float(cy), size);
}

void TVelocityFrm::PaintWatch(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect r = layer.Location();
    DrawStopwatch(buffer, FormatSeconds(model_.GateTime), str::sSeconds(), r.Left, r.Top, r.Right - r.Left,
                  r.Bottom - r.Top);
}

void TVelocityFrm::PaintBall(TPositionedLayer& layer, TBitmap32& buffer)
{
    DrawDiscIn(buffer, layer.Location(), kBallRed, clBlack32, 16);
}

void TVelocityFrm::PaintTube(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TRect r = layer.PixelRect();
    buffer.BlendRect(r.Left, r.Top + Round(kLiquidBelowTop * Scale_), r.Right, r.Bottom, kLiquidBlue);
    buffer.VertLine(r.Left, r.Top, r.Bottom, clBlack32);
    buffer.VertLine(r.Right, r.Top, r.Bottom, clBlack32);
    buffer.HorzLine(r.Left, r.Bottom, r.Right, clBlack32);
}

namespace {

const bool kRow = DeclareExperiment<TVelocityFrm>(
    {ids::TerminalVelocity, TSubject::Physics, "TERMVEL.HTM", TPages::Family, str::sTerminalVelocityCaption});

}  // namespace

}  // namespace brv
