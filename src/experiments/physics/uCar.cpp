#include "experiments/physics/uCar.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Shapes.h"
#include "common/CadencerEx.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uCarStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "runtime/PointerTrap.h"
#include "runtime/Polygon32.h"

#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

// Scene layout, in units of a scene 300 wide, from the picture's top-left
// corner.  The floor scale runs 2.5 m (250 units) from the foot of the ramp.
constexpr float kSceneWidth = 300;
constexpr float kZoom = 16;  // close-up pixels per overview pixel
constexpr float kFloorLeft = TCarModel::FootX, kFloorRight = 320;
constexpr float kFloorTop = TCarModel::FloorY, kFloorBottom = 205;
constexpr float kOverviewRamp = 90;            // the overview ramp's run to the left of the foot
constexpr float kPivotX = 120, kPivotY = 100;  // the close-up's pivot: the rear wheel's contact point
// The close-up window about its pivot, in close-up units.
constexpr float kWindowLeft = 4, kWindowUp = 6, kWindowRight = 8, kWindowDown = 3;
constexpr float kCloseUpRamp = 45;     // run of the ramp drawn in the close-up
constexpr float kFlatFrom = 32;        // from here on the close-up shows the floor alone
constexpr float kDistanceFrom = 22;    // beyond here the close-up shows the distance scale
constexpr float kCentreOfMass = 2.4f;  // car units from the rear wheel's contact point

constexpr TColor32 kStripYellow = 0xFFFFFF80;
constexpr TColor32 kRampGrey = 0xFFBFBFBF;
constexpr TColor32 kChassisGrey = 0xFF7F7F7F;
constexpr TColor32 kBodyBlue = 0xFF299EED;
constexpr TColor32 kTyreGrey = 0xFF3F3F3F;
constexpr TColor32 kCrossRed = 0xFFFF0000;

}  // namespace

const std::array<TCarFrm::TCarPoint, 29> TCarFrm::CarShape{{
    // 0-14: the body outline
    {-1.8f, 5.6f},
    {4.2f, 5.6f},
    {4.8f, 3.4f},
    {6.2f, 3.4f},
    {6.4f, 3.2f},
    {6.4f, 1.2f},
    {6.2f, 1.2f},
    {5.6f, 2.2f},
    {4.4f, 2.2f},
    {3.8f, 1.2f},
    {1.2f, 1.2f},
    {0.8f, 2.2f},
    {-0.8f, 2.2f},
    {-1.2f, 1.2f},
    {-1.8f, 1.2f},
    // 15-18, 19-22, 23-26: the rear, middle and front windows
    {-1.2f, 4.8f},
    {-1.2f, 3.6f},
    {1.0f, 3.6f},
    {1.0f, 4.8f},
    {1.4f, 3.2f},
    {1.4f, 4.8f},
    {3.2f, 4.8f},
    {3.2f, 3.2f},
    {3.4f, 4.8f},
    {4.2f, 4.8f},
    {4.6364f, 3.2f},
    {3.4f, 3.2f},
    // 27, 28: the wheel centres
    {0, 1},
    {5, 1},
}};

const std::array<TCarFrm::TCarPoint, 4> TCarFrm::ChassisShape{
    {{-1.4f, 1.0f}, {-1.4f, 2.2f}, {6.4f, 2.2f}, {6.4f, 1.0f}}};

TCarFrm::TCarFrm(QWidget* parent) : TAnimatedForm(parent)
{
    FormCreate();
}

TCarFrm::~TCarFrm()
{
    // The pointer goes free before the picture that trapped it.
    trap_.reset();
}

void TCarFrm::FormCreate()
{
    setWindowTitle(str::sCarCaption());
    createToolbar();

    // Position 0 at the top of the bar is the top of the ramp; 300 its foot.
    CarHsb =
        NewScrollBar(this, Qt::Vertical, QStringLiteral("CarHsb"), 0, 300, 150, 10, str::sCarHeightHint());
    connect(CarHsb, &QScrollBar::valueChanged, this, &TCarFrm::CarHsbScroll);

    CreatePic();
    LayOutPicture({CarHsb});
    CreateClock(0.01);

    car_.CarPos = StartPos();
    CrossLayer = &Pic_->AddLayer();
    CrossLayer->OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { PaintCrossHairs(l, b); };
    CrossLayer->SetVisible(false);
    CrossLayer->MouseEvents = false;

    trap_ = std::make_unique<TPointerTrap>(Pic_);
    trap_->OnLost = [this] { endCrossHairs(); };
    Pic_->OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { PicMouseDown(x, y); };
    Pic_->OnMouseMove = [this](Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) { PicMouseMove(x, y); };
    Pic_->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { PicMouseUp(); };

    // A stopped car cannot go on: only Reset brings it back.
    SetButtonTable(
        {{{true, false, false}, {false, true, false}, {false, false, true}, {false, false, true}}});
}

void TCarFrm::createToolbar()
{
    CreateRunToolbar(str::sCarStartHint(), str::sCarStopHint(), str::sCarResetHint());
    AddToolbarGap(toolbar_, QStringLiteral("TBXSeparatorItem1"));
    RampLabel = AddToolbarLabel(toolbar_, str::sCarRampLabel(), QStringLiteral("RampLabel"));
    RampSE = AddIntSpinEdit(toolbar_, QStringLiteral("RampSE"), 0, 25, 15, str::sCarRampHint(),
                            str::sCarRampPostfix());
    connect(RampSE, &QSpinBox::valueChanged, this, [this] { RedrawBackground(); });
    SetLargeItems({{RampLabel, 0, 0}, {RampSE, 40, 50}});
}

int TCarFrm::RampAngle() const
{
    return RampSE->value();
}

float TCarFrm::StartPos() const
{
    return float(CarHsb->value()) * 0.1f;
}

bool TCarFrm::PointerTrapped() const
{
    return trap_ && trap_->Engaged();
}

// --- run control -----------------------------------------------------------------

bool TCarFrm::StartRun()
{
    // Friction holds the car on a ramp below 3°.
    if (RampAngle() < TCarModel::MinRollAngle)
        return false;
    car_.Start(RampAngle(), StartPos());
    LastCarPixel = Round(Scale_ * car_.CarPos);
    return true;
}

void TCarFrm::ResetRun()
{
    car_.CarPos = StartPos();
    RedrawBackground();
}

void TCarFrm::StateChanged(TRunState state)
{
    RampSE->setEnabled(state == TRunState::Ready);
    CarHsb->setEnabled(state == TRunState::Ready);
}

void TCarFrm::ClockProgress(double deltaTime)
{
    if (car_.Step(float(deltaTime))) {
        Finish();
        RedrawBackground();
        return;
    }
    // The car has no layer of its own: the picture is drawn again only when
    // the car has moved on by a pixel.
    const int p = Round(car_.CarPos * Scale_);
    if (p > LastCarPixel) {
        RedrawBackground();
        LastCarPixel = p;
    }
}

void TCarFrm::CarHsbScroll(int position)
{
    car_.CarPos = float(position) * 0.1f;
    RedrawBackground();
}

// --- geometry -----------------------------------------------------------------------

float TCarFrm::ComputeScale(int width, int height)
{
    return scale::FromWidthCappedByHeight(width, height, 1 / kSceneWidth);
}

void TCarFrm::PlaceLayers()
{
    ZoomScale_ = kZoom * Scale_;
    const float s = Scale_, z = ZoomScale_;
    CrossLayer->SetLocation({kPivotX * s - kWindowLeft * z, kPivotY * s - kWindowUp * z,
                             kPivotX * s + kWindowRight * z, kPivotY * s + kWindowDown * z});
    // Pixels of the old scale mean nothing under the new one.
    LastCarPixel = Round(Scale_ * car_.CarPos);
}

TRect TCarFrm::CloseUpRect() const
{
    const float s = Scale_, z = ZoomScale_;
    return {Round(kPivotX * s - kWindowLeft * z), Round(kPivotY * s - kWindowUp * z),
            Round(kPivotX * s + kWindowRight * z), Round(kPivotY * s + kWindowDown * z)};
}

// --- drawing -------------------------------------------------------------------------

void TCarFrm::DrawBackground(TBitmap32& b)
{
    const TCarPlacement at = TCarModel::Placement(RampAngle(), car_.CarPos);
    const float s = Scale_;
    DrawFloorScale(b);
    DrawCloseUp(b, at.Height);
    DrawCar(b, at.PivotX * s, at.PivotY * s, 2 * s, at.Tilt, false);
    DrawCar(b, kPivotX * s, kPivotY * s, ZoomScale_, at.Tilt, true);
}

void TCarFrm::DrawFloorScale(TBitmap32& b)
{
    const float s = Scale_;
    const TRect strip{Round(kFloorLeft * s), Round(kFloorTop * s), Round(kFloorRight * s),
                      Round(kFloorBottom * s)};
    b.FillRect(strip, kStripYellow);
    b.FrameRect(strip, clBlack32);

    SetLabelFont(b, Round(8 * s), false);
    b.Font.Color = clBlack32;
    for (int i = 1; i <= 24; ++i) {
        const int x = strip.Left + Round(10 * float(i) * s);
        const float length = i % 10 == 0 ? 8 : i % 5 == 0 ? 4 : 2;
        b.VertLine(x, strip.Top, Round(kFloorTop * s + length * s), clBlack32);
        if (i % 10 == 0) {
            const QString metres = str::sCarMetres().arg(i / 10);
            b.TextOut(x - b.TextWidth(metres) / 2, strip.Bottom, metres);
        }
    }
    const QString zero = QStringLiteral("0");
    b.TextOut(strip.Left - b.TextWidth(zero) / 2, strip.Bottom, zero);
    b.TextOut(5, strip.Top, str::sCarNotToScale());

    // The ramp, drawn at twice the floor's scale.
    const float tanTheta = Tan(TCarModel::Radians(RampAngle()));
    const float foot = float(strip.Left), floor = float(strip.Top);
    TPolygon32 ramp;
    ramp.AddPoint(FixedPoint(foot, floor));
    ramp.AddPoint(FixedPoint(foot - kOverviewRamp * s, floor - kOverviewRamp * s * tanTheta));
    ramp.AddPoint(FixedPoint(foot - kOverviewRamp * s, floor));
    FillAndOutline(ramp, b, kRampGrey);
}

void TCarFrm::DrawCloseUp(TBitmap32& b, float height)
{
    const TRect window = CloseUpRect();
    const TRect clip = b.ClipRect();
    b.SetClipRect({std::max(window.Left, clip.Left), std::max(window.Top, clip.Top),
                   std::min(window.Right, clip.Right), std::min(window.Bottom, clip.Bottom)});
    DrawCloseUpGround(b, window);
    const int heightBottom = DrawHeightScale(b, window, height);
    if (car_.CarPos > kDistanceFrom)
        DrawDistanceScale(b, window, heightBottom);
    b.SetClipRect(clip);
    b.FrameRect(window, clBlack32);
}

// The ramp surface passes through the pivot, where the car's rear wheel
// touches it; past the foot the floor does.
void TCarFrm::DrawCloseUpGround(TBitmap32& b, const TRect& window)
{
    const float z = ZoomScale_, X = kPivotX * Scale_, Y = kPivotY * Scale_;
    if (car_.CarPos >= kFlatFrom) {
        b.HorzLine(window.Left, Round(Y), window.Right - 1, clBlack32);
        return;
    }
    const float tanTheta = Tan(TCarModel::Radians(RampAngle()));
    const float q = (TCarModel::FootPos - car_.CarPos) * z;
    const float r = std::max(0.0f, q * tanTheta);
    const float g = X + q;  // the foot
    const int o = Round(Y + r);
    if (float(window.Right) > g)
        b.HorzLine(Round(g), o, window.Right - 1, clBlack32);
    const float back = g - kCloseUpRamp * z;
    TPolygon32 ramp;
    ramp.AddPoint(FixedPoint(g, Y + r));
    ramp.AddPoint(FixedPoint(back, float(o)));
    ramp.AddPoint(FixedPoint(back, float(o) - kCloseUpRamp * z * tanTheta));
    FillAndOutline(ramp, b, kRampGrey);
}

// Heights above the floor, in centimetres growing upwards; the pivot's level
// reads the height of the rear wheel's contact point.  Returns the strip's
// bottom: the floor's level when the floor is in view.
int TCarFrm::DrawHeightScale(TBitmap32& b, const TRect& window, float height)
{
    const float z = ZoomScale_, Y = kPivotY * Scale_;
    const int left = window.Left, right = left + Round(1.5f * z), top = window.Top;
    const int bottom = height < kWindowDown ? Round(Y + height * z) : window.Bottom;
    b.FillRect(left, top, right, bottom, kStripYellow);
    b.VertLine(right - 1, top, bottom, clBlack32);
    b.HorzLine(left, bottom, right - 1, clBlack32);

    SetLabelFont(b, Round(0.5f * z));
    b.Font.Color = clBlack32;
    TLensRule rule;
    rule.Centre = Y;
    rule.Step = -0.1f * z;  // one millimetre, the values growing upwards
    rule.Top = top;
    rule.Bottom = bottom;
    rule.TickEnd = right - 1;
    rule.MajorStart = right - Round(0.8f * z);
    rule.HalfStart = right - Round(0.4f * z);
    rule.MinorStart = right - Round(0.2f * z);
    rule.LabelRight = rule.MajorStart - 2;
    // From 4.5 cm below the pivot to 7.5 cm above it; the first whole
    // centimetre, 4 cm below, is labelled trunc(height) − 4.
    DrawLensRule(b, rule, height, -45, 75, Trunc(height) - 4, 1);
    return bottom;
}

// Distances past the foot of the ramp, in centimetres growing to the right;
// the pivot reads how far the rear wheel is past the foot.
void TCarFrm::DrawDistanceScale(TBitmap32& b, const TRect& window, int top)
{
    const float z = ZoomScale_, X = kPivotX * Scale_;
    const float pos = car_.CarPos;
    const int left = std::max(Round(X + (TCarModel::FootPos - pos) * z), window.Left);
    const int right = window.Right;
    const int bottom = top + Round(1.5f * z);
    b.FillRect(left, top, right, bottom, kStripYellow);
    b.FrameRect(left, top, right, bottom, clBlack32);

    const int longTick = Round(0.8f * z);
    const float shift = (pos - std::trunc(pos)) * z;
    // The fonts are those of the height scale.
    ForEachLensTick(-55, 95, Trunc(pos) - 35, 1, [&](const TLensTick& tick) {
        const int x = Round(X + float(tick.Index) * 0.1f * z - shift);
        if (x <= left || x >= right - 1)
            return;
        const int length = tick.Kind == TTickKind::Major  ? longTick
                           : tick.Kind == TTickKind::Half ? Round(0.4f * z)
                                                          : Round(0.2f * z);
        b.VertLine(x, top, top + length - 1, clBlack32);
        if (tick.Kind == TTickKind::Major) {
            const QString label = QString::number(tick.Label);
            b.TextOut(x - b.TextWidth(label) / 2, top + longTick + 2, label);
        }
    });
}

void TCarFrm::DrawCar(TBitmap32& b, float x, float y, float size, float tilt, bool showCentre)
{
    // φ = −tilt, so the nose dips down the slope.
    float sn = 0, cs = 1;
    SinCos(-tilt, sn, cs);
    const auto at = [&](const TCarPoint& p) {
        return FixedPoint(x + p.x * size * cs - p.y * size * sn, y - (p.x * size * sn + p.y * size * cs));
    };
    const auto fx = [](TFixedPoint p) { return float(FixedToFloat(p.X)); };
    const auto fy = [](TFixedPoint p) { return float(FixedToFloat(p.Y)); };

    TPolygon32 chassis;
    for (const TCarPoint& p : ChassisShape)
        chassis.AddPoint(at(p));
    FillAndOutline(chassis, b, kChassisGrey);

    // Outline and windows in one even-odd polygon: the windows stay unfilled.
    TPolygon32 body;
    for (int i = 0; i < 27; ++i) {
        if (i == 15 || i == 19 || i == 23)
            body.NewContour();
        body.AddPoint(at(CarShape[std::size_t(i)]));
    }
    FillAndOutline(body, b, kBodyBlue);

    const int points = size <= Scale_ ? 16 : 32;
    for (const TCarPoint& centre : {CarShape[27], CarShape[28]}) {
        const TFixedPoint c = at(centre);
        DrawDisc(b, fx(c), fy(c), 0.95f * size, kTyreGrey, clBlack32, points);
        DrawDisc(b, fx(c), fy(c), 0.5f * size, clWhite32, 0, points);  // the hubcap, no rim
    }

    if (showCentre) {
        const int cx = Round(x + kCentreOfMass * size * (cs - sn));
        const int cy = Round(y - kCentreOfMass * size * (sn + cs));
        const int arm = Round(3 * Scale_);
        b.HorzLine(cx - arm, cy, cx + arm, kCrossRed);
        b.VertLine(cx, cy - arm, cy + arm, kCrossRed);
    }
}

// --- cross-hairs -----------------------------------------------------------------------

void TCarFrm::PaintCrossHairs(TPositionedLayer& layer, TBitmap32& buffer)
{
    const TRect r = layer.PixelRect();
    buffer.HorzLine(r.Left, CrossY, r.Right - 1, kCrossRed);
    buffer.VertLine(CrossX, r.Top, r.Bottom - 1, kCrossRed);
}

void TCarFrm::PicMouseDown(int x, int y)
{
    const TRect w = CloseUpRect();
    if (x < w.Left || x >= w.Right || y < w.Top || y >= w.Bottom)
        return;
    const qreal ratio = Pic_->PixelRatio();
    const QRectF area(w.Left / ratio, w.Top / ratio, w.Width() / ratio, w.Height() / ratio);
    trap_->Engage(area.toAlignedRect().intersected(Pic_->rect()));
    CrossHeld_ = true;
    CrossX = x;
    CrossY = y;
    CrossLayer->SetVisible(true);
    CrossLayer->Changed();
}

void TCarFrm::PicMouseMove(int x, int y)
{
    const TRect w = CloseUpRect();
    const bool inside = x >= w.Left && x < w.Right && y >= w.Top && y < w.Bottom;
    Pic_->SetBaseCursor(inside ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (!CrossHeld_)
        return;
    // The pointer is put back inside, but this move may still lie outside.
    CrossX = std::clamp(x, w.Left, w.Right - 1);
    CrossY = std::clamp(y, w.Top, w.Bottom - 1);
    CrossLayer->Changed();
}

void TCarFrm::PicMouseUp()
{
    endCrossHairs();
    Pic_->SetBaseCursor(Qt::ArrowCursor);
    trap_->Release();
}

void TCarFrm::endCrossHairs()
{
    if (CrossHeld_) {
        CrossLayer->SetVisible(false);
        Pic_->Repaint();
    }
    CrossHeld_ = false;
}

namespace {

const bool kRow = DeclareExperiment<TCarFrm>({ids::Car, TSubject::Physics, "CAR.HTM", TPages::Family,
                                              str::sCarCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
