#include "experiments/physics/uFriction.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Shapes.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uFrictionStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"
#include "runtime/Polygon32.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

// Scene layout in units of a scene 25 wide, from the picture's top-left
// corner.  The block starts 4 units from the left; 1 N of pull moves the
// hand, and a slip moves the block, by one unit.
constexpr float kSceneWidth = 25;
constexpr float kBlockStart = 4;
constexpr float kBalanceOffset = 6;  // the balance's left end from the block's centre
constexpr float kStringEnd = 4.5f;   // where the string meets the hook, from the block's centre
constexpr float kBalanceY = 15, kBlockTop = 15.3f;
constexpr float kLensX = 12, kLensY = 0.5f, kLensSize = 10;

constexpr TColor32 kMetalGrey = 0xFFBFBFBF;
constexpr TColor32 kCasingGrey = 0xFFF0F0F0;
constexpr TColor32 kSliderYellow = 0x7FFFFF80;  // see-through: the scale shows under it
constexpr TColor32 kWood = 0xFF6E471E;
constexpr TColor32 kPine = 0xFFF3D89D;
constexpr TColor32 kStringBlue = 0xFF0000FF;

}  // namespace

TFrictionFrm::TFrictionFrm(QWidget* parent) : TRedrawnForm(parent)
{
    FormCreate();
}

TFrictionFrm::~TFrictionFrm() = default;

void TFrictionFrm::FormCreate()
{
    setWindowTitle(str::sFrictionCaption());
    createToolbar();
    // The pupil's hand: p stands for p × 0.1 N of pull.
    ForceHsb = NewScrollBar(this, Qt::Horizontal, QStringLiteral("ForceHsb"), 0, 100, 0, 10,
                            str::sFrictionForceHint());
    OnScroll(ForceHsb, [this](int& position, bool) { ForceHsbScroll(position); });
    CreatePic();
    LayOutPicture({}, {}, ForceHsb);
    friction_.FrictionOffset = TFrictionModel::NewOffset();
}

void TFrictionFrm::createToolbar()
{
    CreateToolbar();
    ResetBtn = AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), 9, str::sFrictionResetHint());
    ResetBtn->setText(str::sReset());
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(ResetBtn)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(ResetBtn, &QAction::triggered, this, &TFrictionFrm::FrictionResetBtnClick);

    SurfaceMenu = new QMenu(this);
    SurfaceMenu->setObjectName(QStringLiteral("SurfaceMenu"));
    auto* group = new QActionGroup(SurfaceMenu);
    group->setExclusive(true);
    Surface1 = addSurface(0, str::sFrictionSmooth());
    Surface2 = addSurface(1, str::sFrictionMedium());
    Surface3 = addSurface(2, str::sFrictionRough());
    for (QAction* item : {Surface1, Surface2, Surface3})
        group->addAction(item);
    Surface2->setChecked(true);
    SurfaceBtn = AddToolbarButton(toolbar_, QStringLiteral("SurfaceBtn"), 12, str::sFrictionSurfaceHint());
    SurfaceBtn->setMenu(SurfaceMenu);
    // A click anywhere on the button opens the menu.
    if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(SurfaceBtn)))
        button->setPopupMode(QToolButton::InstantPopup);

    AddToolbarGap(toolbar_, QStringLiteral("TBXSeparatorItem1"));
    Label1 = AddToolbarLabel(toolbar_, str::sFrictionWeightLabel(), QStringLiteral("Label1"));
    WtsSpinEd = AddIntSpinEdit(toolbar_, QStringLiteral("WtsSpinEd"), 0, TFrictionModel::MaxWeights, 3,
                               str::sFrictionWeightHint(), str::sFrictionNewtonPostfix());
    SetArrowsOnly(WtsSpinEd);
    AddToolbarGap(toolbar_, QStringLiteral("TBXSeparatorItem2"));
    Label2 = AddToolbarLabel(toolbar_, str::sFrictionAreaLabel(), QStringLiteral("Label2"));
    AreaSpinEd = AddIntSpinEdit(toolbar_, QStringLiteral("AreaSpinEd"), TFrictionModel::MinArea,
                                TFrictionModel::MaxArea, TFrictionModel::MinArea, str::sFrictionAreaHint(),
                                str::sFrictionCm2Postfix());
    AreaSpinEd->setSingleStep(10);
    SetArrowsOnly(AreaSpinEd);
    connect(WtsSpinEd, &QSpinBox::valueChanged, this, &TFrictionFrm::WtsSpinEdValueChanged);
    connect(AreaSpinEd, &QSpinBox::valueChanged, this, &TFrictionFrm::AreaSpinEdValueChanged);

    SetLargeItems(
        {{Label1, 0, 0}, {Label2, 0, 0}, {AreaSpinEd, 60, 90}, {WtsSpinEd, 70, 100}, {SurfaceMenu, 0, 0}});
}

QAction* TFrictionFrm::addSurface(int tag, const QString& caption)
{
    QAction* item = SurfaceMenu->addAction(caption);
    item->setObjectName(QStringLiteral("Surface%1").arg(tag + 1));
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, tag] { Surface1Click(tag); });
    return item;
}

// --- controls ---------------------------------------------------------------------

void TFrictionFrm::FrictionResetBtnClick()
{
    ForceHsb->setValue(0);
    friction_.Reset();
    Redraw();
}

void TFrictionFrm::ForceHsbScroll(int& position)
{
    // The hand cannot be moved back: the bar stays where the hand is.
    position = friction_.MoveHand(position);
    Redraw();
}

void TFrictionFrm::Surface1Click(int tag)
{
    if (tag == friction_.Surface)
        return;
    friction_.Surface = tag;
    friction_.Mu = TFrictionModel::SurfaceMu[std::size_t(tag)];
    for (QAction* item : {Surface1, Surface2, Surface3})
        item->setChecked(item == (tag == 0 ? Surface1 : tag == 1 ? Surface2 : Surface3));
    Redraw();
}

void TFrictionFrm::WtsSpinEdValueChanged(int value)
{
    const int n = std::clamp(value, 0, TFrictionModel::MaxWeights);
    if (n == friction_.WeightCount)
        return;
    friction_.WeightCount = n;
    Redraw();
}

void TFrictionFrm::AreaSpinEdValueChanged(int value)
{
    const float length = TFrictionModel::BlockLengthFor(value);
    if (length == friction_.BlockLength)
        return;
    friction_.BlockLength = length;
    Redraw();
}

// --- drawing -------------------------------------------------------------------------

float TFrictionFrm::ComputeScale(int width, int height)
{
    return scale::FromWidthCappedByHeight(width, height, 1 / kSceneWidth);
}

void TFrictionFrm::DrawBackground(TBitmap32& b)
{
    const float block = kBlockStart + friction_.BlockShift;
    DrawSpringBalance(b, block + kBalanceOffset, kBalanceY);
    DrawBalanceLens(b, kLensX, kLensY, kLensSize);
    DrawBlock(b, block, kBlockTop);
}

// The balance lies on its side, its hook on the left; the yellow slider's left
// edge marks the reading on the scale in its window.
void TFrictionFrm::DrawSpringBalance(TBitmap32& b, float x, float y)
{
    const float s = Scale_;
    TPolygon32 body;
    for (const auto& [px, py] :
         {std::pair{x, y - 0.5f}, std::pair{x + 0.5f, y - 1}, std::pair{x + 11, y - 1},
          std::pair{x + 11, y + 1}, std::pair{x + 0.5f, y + 1}, std::pair{x, y + 0.5f}})
        body.AddPoint(FixedPoint(px * s, py * s));
    FillAndOutline(body, b, kMetalGrey);

    // The hook: an outer arc of radius 0.7 from the top round the left and
    // the bottom, its shank to the balance, and an inner arc of radius 0.5 back.
    const float w = float(Round((x - 1) * s)), ys = y * s;
    TPolygon32 hook;
    for (int i = 0; i <= 15; ++i) {
        const float a = Radians(90 + 18 * float(i));
        hook.AddPoint(
            FixedPoint(w + float(Round(0.7f * s * std::cos(a))), float(Round(ys - 0.7f * s * std::sin(a)))));
    }
    hook.AddPoint(FixedPoint(w + s, ys));
    hook.AddPoint(FixedPoint(w + s, (y - 0.2f) * s));
    hook.AddPoint(FixedPoint(w + 0.5f * s, (y - 0.2f) * s));
    for (int i = 15; i >= 0; --i) {
        const float a = Radians(90 + 18 * float(i));
        hook.AddPoint(FixedPoint(w + 0.5f * s * std::cos(a), ys - 0.5f * s * std::sin(a)));
    }
    FillAndOutline(hook, b, kMetalGrey);

    const int left = Round((x + 0.5f) * s), top = Round((y - 0.8f) * s);
    b.FillRect(left, top, left + Round(10 * s), Round((y + 0.8f) * s), clWhite32);
    SetLabelFont(b, Round(0.8f * s));
    b.Font.Color = clBlack32;
    const int zero = Round((x + 0.7f) * s);
    const int newton = Round(s), mark = Round(0.2f * s);
    for (int i = 0; i <= 10; ++i) {
        const int tx = i * newton + zero;
        if (i % 5 == 0) {
            b.VertLine(tx, top, top + 3 * mark - 1, clBlack32);
            const QString label = QString::number(i);
            b.TextOut(tx - b.TextWidth(label) / 2, top + 3 * mark, label);
        } else {
            b.VertLine(tx, top, top + mark - 1, clBlack32);
        }
    }

    const int slider = zero + Round(s * friction_.BalanceReading);
    const TRect rod{slider, Round((y - 1.1f) * s), slider + Round(10.5f * s), Round((y + 1.1f) * s)};
    b.BlendRect(rod, kSliderYellow);
    b.FrameRect(rod, clBlack32);
}

// The balance's scale magnified, 3 N across, in newtons growing to the
// right; its centre line reads the balance, at the slider's left edge.  The
// balance's casing shows where its zero end comes into view.
void TFrictionFrm::DrawBalanceLens(TBitmap32& b, float x, float y, float d)
{
    const float s = Scale_;
    const float reading = friction_.BalanceReading;
    const float f = s * d / 30;  // pixels per 0.1 N
    const float cx = x + d / 2;
    const int cy = Round((y + d / 2) * s);
    const int l = Round(x * s), r = Round((x + d) * s);
    const int longTick = Round(0.15f * d * s), medium = Round(0.1f * d * s), shortTick = Round(0.05f * d * s);

    const int top = Round((y + 0.25f * d) * s), bottom = Round((y + 0.75f * d) * s);
    const int zero = Round(s * cx - 10 * reading * f);
    const int left = zero > l ? zero : l;
    TPolygon32 casing;
    for (const auto& [px, py] :
         {std::pair{r, top}, std::pair{left - shortTick, top}, std::pair{left - longTick, top + medium},
          std::pair{left - longTick, bottom - medium}, std::pair{left - shortTick, bottom},
          std::pair{r, bottom}})
        casing.AddPoint(FixedPoint(float(px), float(py)));
    FillAndOutline(casing, b, kCasingGrey);
    b.FillRect(left, top + longTick, r, bottom - longTick, clWhite32);

    SetLabelFont(b, Round(1.2f * s));
    b.Font.Color = clBlack32;
    const float fraction = reading - std::trunc(reading);
    const int halfLabel = b.TextHeight(QStringLiteral("0")) / 2;
    ForEachLensTick(0, 50, Trunc(reading) - 2, 1, [&](const TLensTick& tick) {
        const int tx = Round((float(tick.Index) - 10 * fraction - 5) * f) + l;
        if (tick.Kind != TTickKind::Major) {
            if (tx < left || tx > r)
                return;
            const int length = tick.Kind == TTickKind::Half ? medium : shortTick;
            b.VertLine(tx, top, top + length - 1, clBlack32);
            b.VertLine(tx, bottom - length, bottom - 1, clBlack32);
            return;
        }
        if (tx >= left - 1 && tx <= r) {
            b.VertLine(tx, top, top + longTick - 1, clBlack32);
            b.VertLine(tx, bottom - longTick, bottom - 1, clBlack32);
        }
        if (tick.Label >= 0 && tick.Label <= 10 && tx >= l && tx < r) {
            const QString label = QString::number(tick.Label);
            b.TextOut(tx - b.TextWidth(label) / 2, cy - halfLabel, label);
        }
    });

    const TRect slider{Round(cx * s), top - Round(0.3f * s), r, bottom + Round(0.3f * s)};
    b.BlendRect(slider, kSliderYellow);
    b.FrameRect(slider, clBlack32);

    // The mask need only whiten what was drawn outside the lens: the scale
    // and its casing.  (Even-odd, it also whitens the lens's white top and
    // bottom: the same picture as the whole frame round the lens, for half
    // the pixels.)
    const float margin = 2;
    DrawMagnifierMask(b, cx * s, float(cy), d * s,
                      {float(l - longTick) - margin, float(slider.Top) - margin, float(r) + margin,
                       float(slider.Bottom) + margin});
}

void TFrictionFrm::DrawBlock(TBitmap32& b, float x, float y)
{
    const float s = Scale_;
    const float half = friction_.BlockLength / 2;
    const int top = Round(y * s);

    const int n = friction_.WeightCount;
    if (n > 0) {
        const int c = Round(0.6f * s);
        const TRect stack{Round((x - 2) * s), top - n * c, Round((x + 2) * s), top};
        b.FillRect(stack, kMetalGrey);
        b.FrameRect(stack, clBlack32);
        for (int k = 1; k < n; ++k)
            b.HorzLine(stack.Left, top - k * c, stack.Right - 1, clBlack32);
    }

    const TRect block{Round((x - half) * s), top, Round((x + half) * s), top + Round(s)};
    b.FillRect(block, kWood);
    b.FrameRect(block, clBlack32);

    const int bench = block.Bottom;
    b.FillRect(0, bench, b.Width(), bench + Round(2 * s), kPine);
    b.HorzLine(0, bench, b.Width() - 1, clBlack32);
    SetLabelFont(b, Trunc(s));
    b.Font.Color = clBlack32;
    const QString surface = friction_.Surface == 0   ? str::sFrictionSmoothBench()
                            : friction_.Surface == 1 ? str::sFrictionMediumBench()
                                                     : str::sFrictionRoughBench();
    b.TextOut(block.Left, Round(float(bench) + s) - b.TextHeight(surface) / 2, surface);

    // The ring at the block's front end, and the string from it to the hook.
    const float ringX = (x + half) * s, ringY = float(top) - 0.3f * s;
    TPolygon32 ring;
    AddCircle(ring, ringX, ringY, 0.3f * s, 10);
    ring.NewContour();
    AddCircle(ring, ringX, ringY, 0.2f * s, 10);
    FillAndOutline(ring, b, kMetalGrey);
    const int row = Round(float(top) - 0.3f * s);
    const int from = Round(0.2f * s + ringX),
              to = Round((kBlockStart + friction_.BlockShift + kStringEnd) * s);
    for (int dy = 0; dy < 3; ++dy)
        b.HorzLine(from, row + dy, to, kStringBlue);
}

namespace {

const bool kRow = DeclareExperiment<TFrictionFrm>(
    {ids::Friction, TSubject::Physics, "FRICTION.HTM", TPages::Family, str::sFrictionCaption});

}  // namespace

}  // namespace brv
