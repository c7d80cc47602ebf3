#include "experiments/physics/uBall.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Rulers.h"
#include "apparatus/Shapes.h"
#include "common/CadencerEx.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uBallStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"

#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <cmath>

namespace brv {

namespace {

// Scene layout, centimetres from the picture's top-left corner.
constexpr float kBallRadius = 2;
constexpr float kBallX = 15;
constexpr float kBallTopY = 3;
constexpr float kRuleLeft = 5, kRuleTop = 5, kRuleWidth = 5, kRuleHeight = 100;
constexpr float kZoomLeft = 30, kZoomTop = 20, kZoomSize = 50;
constexpr float kSceneHeightFactor = 0.0094f;  // Scale = 0.0094 × height
constexpr float kSceneMinWidth = 81;

constexpr TColor32 kBallGreen = 0xFF007F00;
constexpr TColor32 kZoomBackground = 0xFFE7E7FF;
constexpr TColor32 kStripYellow = 0xFFFFFF80;
constexpr TColor32 kMarkerRed = 0xFFFF0000;

}  // namespace

TBallFrm::TBallFrm(QWidget* parent) : TAnimatedForm(parent)
{
    FormCreate();
}

void TBallFrm::FormCreate()
{
    setWindowTitle(str::sBallCaption());
    createToolbar();

    // Position 0 at the top is the highest drop; one unit is 1 mm, a page 1 cm.
    BallHsb =
        NewScrollBar(this, Qt::Vertical, QStringLiteral("BallHsb"), 0, 1000, 0, 10, str::sBallHeightHint());
    connect(BallHsb, &QScrollBar::valueChanged, this, &TBallFrm::BallHsbScroll);

    CreatePic();
    LayOutPicture({BallHsb});

    CreateClock(0.001);

    createLayers();
    ball_.Reset(float(BallHsb->value()) * 0.1f, TBallModel::NewRestitution(float(TemperatureSE->value())));

    Pic_->OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { PicMouseDown(x, y); };
    Pic_->OnMouseMove = [this](Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) { PicMouseMove(x, y); };
    Pic_->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { PicMouseUp(); };
}

void TBallFrm::createToolbar()
{
    CreateRunToolbar(str::sBallStartHint(), str::sBallStopHint(), str::sBallResetHint());
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem1"));
    BounceLabel = AddToolbarLabel(toolbar_, str::sBallBounceLabel(), QStringLiteral("BounceLabel"));
    BounceSE = AddIntSpinEdit(toolbar_, QStringLiteral("BounceSE"), 1, 10, 1, str::sBallBounceHint());
    TempLabel = AddToolbarLabel(toolbar_, str::sBallTempLabel(), QStringLiteral("TempLabel"));
    TemperatureSE = AddIntSpinEdit(toolbar_, QStringLiteral("TemperatureSE"), 0, 100, 20,
                                   str::sBallTempHint(), str::sDegCPostfix());
    connect(TemperatureSE, &QSpinBox::valueChanged, this, &TBallFrm::TemperatureSEValueChange);
    SetLargeItems({{BounceLabel, 0, 0}, {TempLabel, 0, 0}, {BounceSE, 40, 50}, {TemperatureSE, 64, 96}});
}

void TBallFrm::createLayers()
{
    BallLayer = &Pic_->AddLayer();
    BallLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintBall(l, b); };
    ZoomLayer = &Pic_->AddLayer();
    ZoomLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintZoomScale(l, b); };
    ZoomLayer->MouseEvents = false;
    MarkerLayer = &Pic_->AddLayer();
    MarkerLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintMarker(l, b); };
    MarkerLayer->SetVisible(false);
    MarkerLayer->MouseEvents = false;
}

// --- run control -----------------------------------------------------------------

void TBallFrm::ResetRun()
{
    ball_.Reset(float(BallHsb->value()) * 0.1f, TBallModel::NewRestitution(float(TemperatureSE->value())));
    BallPixelY = 0;
    PlaceBall();
}

TButtonStates TBallFrm::ButtonsIn(TRunState state) const
{
    switch (state) {
        case TRunState::Ready:
            return {true, false, false};
        case TRunState::Running:
            return {false, true, false};
        case TRunState::Paused:
            // A ball lying on the floor has nowhere to go.
            return {ball_.BallDepth < TBallModel::FloorDepth, false, true};
        case TRunState::Finished:
            break;
    }
    return {false, false, true};
}

void TBallFrm::StateChanged(TRunState state)
{
    BallHsb->setEnabled(state == TRunState::Ready);
    if (state == TRunState::Running) {
        // No marker over a moving ball.
        MarkerHeld = false;
        MarkerLayer->SetVisible(false);
        Pic_->SetBaseCursor(Qt::ArrowCursor);
        SetPictureHint(Pic_, QString());
    }
}

void TBallFrm::ClockProgress(double deltaTime)
{
    const TBallModel::Outcome outcome = ball_.Step(float(deltaTime), BounceSE->value());
    if (outcome == TBallModel::Outcome::ApexReached) {
        Finish();
        PlaceBall();
        return;
    }
    if (outcome == TBallModel::Outcome::AtRest)
        Finish();
    const int row = Round(Scale_ * ball_.BallDepth);
    if (row != BallPixelY) {
        BallPixelY = row;
        PlaceBall();
    }
}

// --- controls ---------------------------------------------------------------------

void TBallFrm::BallHsbScroll(int position)
{
    ball_.BallDepth = float(position) * 0.1f;
    PlaceBall();
    RedrawBackground();
}

void TBallFrm::TemperatureSEValueChange(int value)
{
    ball_.Restitution = TBallModel::NewRestitution(float(value));
}

// --- geometry -----------------------------------------------------------------------

float TBallFrm::ComputeScale(int width, int height)
{
    return scale::FromHeightCappedByWidth(width, height, kSceneHeightFactor, kSceneMinWidth);
}

void TBallFrm::PlaceLayers()
{
    PlaceBall();
    PlaceZoomAndMarker();
}

void TBallFrm::PlaceBall()
{
    const float r = float(Round(kBallRadius * Scale_));
    const float cx = kBallX * Scale_;
    const float cy = (kBallTopY + ball_.BallDepth) * Scale_;
    BallLayer->SetLocation({cx - r, cy - r, cx + r, cy + r});
    // The zoom scale reads the ball's height.
    ZoomLayer->Changed();
}

void TBallFrm::PlaceZoomAndMarker()
{
    const float s = Scale_;
    ZoomLayer->SetLocation(
        {kZoomLeft * s, kZoomTop * s, (kZoomLeft + kZoomSize) * s, (kZoomTop + kZoomSize) * s});
    const float y = 45 * s;
    MarkerLayer->SetLocation({kZoomLeft * s, y, (kZoomLeft + kZoomSize) * s, y + 1});
}

// --- drawing -------------------------------------------------------------------------

void TBallFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    DrawVerticalRule(b, true, kRuleLeft * s, kRuleTop * s, kRuleWidth * s, kRuleHeight * s);
    DrawMagnifyingWindow(b, kZoomLeft * s, kZoomTop * s, kZoomSize * s);
}

void TBallFrm::DrawMagnifyingWindow(TBitmap32& b, float left, float top, float size)
{
    b.FillRect(Round(left), Round(top), Round(left + size), Round(top + size), kZoomBackground);
    b.FrameRect(Round(left), Round(top), Round(left + size), Round(top + size), clBlack32);
    // The window shows 60 mm; the magnified ball stands still in it while the
    // scale moves behind it.
    const float m = size / 60;
    const float radius = 20 * m;
    const float cx = float(Round(left)) + 2 + 0.25f * size + radius;
    const float cy = top + 0.5f * size;
    DrawDisc(b, cx, cy, radius, kBallGreen, clBlack32);
}

void TBallFrm::PaintBall(TPositionedLayer& layer, TBitmap32& buffer)
{
    DrawDiscIn(buffer, layer.Location(), kBallGreen, clBlack32, 20);
}

void TBallFrm::PaintZoomScale(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect loc = layer.Location();
    const float x0 = loc.Left, y0 = loc.Top, y1 = loc.Bottom;
    const float w = loc.Right - loc.Left;
    const float m = w / 60;
    const float yc = y0 + w / 2;
    const float yb = yc + 20 * m;  // lowest point of the magnified ball
    const float depth = ball_.BallDepth;

    // The strip ends where the rule ends when one of its ends is in view.
    const int left = Round(x0);
    const int right = Round(x0 + 0.25f * w);
    int top = Round(y0);
    int bottom = Round(y1);
    if (depth < 5)
        top = Round(yb - 10 * m * depth);
    else if (depth > 99)
        bottom = Round(yb + 10 * m * (TBallModel::FloorDepth - depth));
    buffer.FillRect(left, top, right, bottom, kStripYellow);
    buffer.FrameRect(left, top, right, bottom, clBlack32);

    SetLabelFont(buffer, Round(4 * m));
    // The ticks start at the frame's right column; the labels end where the
    // centimetre ticks start.
    const TLensTickLengths ticks{Round(0.125f * w), Round(0.0625f * w), Round(0.04f * w)};
    const TLensRule rule =
        LensRuleInWindow({left, top, right - 1, bottom}, yc, m, ticks, right - 1 - ticks.Major);
    // A label next to the strip's top or bottom edge is cut there, as the
    // window cuts a real rule, instead of spilling over the window's frame.
    const TRect clip = buffer.ClipRect();
    buffer.SetClipRect({std::max(left, clip.Left), std::max(top + 1, clip.Top), std::min(right, clip.Right),
                        std::min(bottom - 1, clip.Bottom)});
    // Heights above the floor: the labels fall by one per centimetre down
    // the strip, the one on the ball's lowest point (i = 20) reading
    // 100 - trunc(BallDepth).
    DrawLensRule(buffer, rule, depth, -40, 40, 106 - Trunc(depth), -1);
    buffer.SetClipRect(clip);
}

void TBallFrm::PaintMarker(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TFloatRect r = layer.Location();
    buffer.HorzLine(Round(r.Left), Round(r.Top), Round(r.Right), kMarkerRed);
}

// --- marker -----------------------------------------------------------------------------

bool TBallFrm::InsideMagnifier(int x, int y) const
{
    const float s = Scale_;
    return kZoomLeft * s < float(x) && float(x) < (kZoomLeft + kZoomSize) * s && kZoomTop * s < float(y) &&
           float(y) < (kZoomTop + kZoomSize) * s;
}

void TBallFrm::PlaceMarker(int y)
{
    const TFloatRect r = MarkerLayer->Location();
    MarkerLayer->SetLocation({r.Left, float(y), r.Right, float(y) + 2});
}

void TBallFrm::PicMouseDown(int x, int y)
{
    if (!Clock->Enabled() && InsideMagnifier(x, y)) {
        MarkerHeld = true;
        PlaceMarker(y);
        MarkerLayer->SetVisible(true);
    } else {
        MarkerHeld = false;
        MarkerLayer->SetVisible(false);
    }
}

void TBallFrm::PicMouseMove(int x, int y)
{
    const bool inside = InsideMagnifier(x, y);
    if (!Clock->Enabled() && inside) {
        Pic_->SetBaseCursor(Qt::PointingHandCursor);
        SetPictureHint(Pic_, str::sBallMarkerHint());
    } else {
        Pic_->SetBaseCursor(Qt::ArrowCursor);
        SetPictureHint(Pic_, QString());
    }
    if (inside && MarkerHeld)
        PlaceMarker(y);
}

void TBallFrm::PicMouseUp()
{
    if (MarkerHeld) {
        MarkerLayer->SetVisible(false);
        Pic_->Repaint();
    }
    MarkerHeld = false;
}

namespace {

const bool kRow = DeclareExperiment<TBallFrm>({ids::Ball, TSubject::Physics, "BALL.HTM", TPages::Family,
                                               str::sBallCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
