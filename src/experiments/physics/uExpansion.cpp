#include "experiments/physics/uExpansion.h"

#include "apparatus/Beakers.h"
#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uExpansionStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"

#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace brv {

namespace {

// Scene units: 24 wide and 30 high; 1 cm of column or rule is 0.7 units.
constexpr float kSceneWidth = 24, kSceneHeight = 30;
constexpr float kCm = 0.7f;
constexpr float kRuleLeft = 11, kRuleTop = 13.5f, kRuleRight = 13;
constexpr float kTubeLeft = 13.1f, kTubeTop = 10.9f, kTubeWidth = 0.6f, kTubeHeight = 18;
constexpr float kLensX = 14, kLensY = 1, kLensSize = 9;
constexpr float kLensSpanMm = 30;
// The lens shows the rule's ends when the column reaches within 1.5 cm.
constexpr float kLensEndMargin = 1.5f;
constexpr float kRuleTopInLens = 21;  // cm: the rule's far end
constexpr int kEditorWidth = 18;

constexpr TColor32 kRuleYellow = 0xFFFFFF80;
constexpr TColor32 kGlass = 0xFFFFFFE0;
constexpr TColor32 kThreadGreen = 0xFF007F00;

}  // namespace

TExpansionFrm::TExpansionFrm(QWidget* parent) : TRedrawnForm(parent)
{
    FormCreate();
}

TExpansionFrm::~TExpansionFrm() = default;

void TExpansionFrm::FormCreate()
{
    setWindowTitle(str::sExpansionCaption());
    createToolbar();
    CreatePic();
    LayOutPicture({});
    model_.NewLength();
}

void TExpansionFrm::createToolbar()
{
    CreateToolbar();
    MassLabel = AddToolbarLabel(toolbar_, str::sExpansionMassLabel(), QStringLiteral("MassLabel"));
    Mass = AddIntSpinEdit(toolbar_, QStringLiteral("Mass"), 0, 15, model_.Mass, str::sExpansionMassHint());
    toolbar_->addSeparator();
    TempLabel = AddToolbarLabel(toolbar_, str::sExpansionTempLabel(), QStringLiteral("TempLabel"));
    Temperature = AddIntSpinEdit(toolbar_, QStringLiteral("Temperature"), 0, 100, model_.Temperature,
                                 str::sExpansionTempHint());
    for (QSpinBox* spin : {Mass, Temperature}) {
        SetArrowsOnly(spin);
        // Every change is a new measurement with its own scatter.
        RedrawOn(spin, [this] {
            model_.Mass = Mass->value();
            model_.Temperature = Temperature->value();
            model_.NewLength();
        });
    }
    applyLargeItems(false);
}

void TExpansionFrm::SetLargeButtons(bool large)
{
    if (LargeButtonsUnchanged(large, false))
        return;
    RememberLarge(large);
    applyLargeItems(large);
}

void TExpansionFrm::applyLargeItems(bool large)
{
    ApplyLargeButtons(toolbar_, large, {{MassLabel, 0, 0}, {TempLabel, 0, 0}}, 150, 100, false, false);
    ApplyLargeButtons(toolbar_, large,
                      {{Mass, kEditorWidth, kEditorWidth}, {Temperature, kEditorWidth, kEditorWidth}}, 300,
                      150, false, false);
}

float TExpansionFrm::ComputeScale(int width, int height)
{
    return scale::FromHeightCappedByWidth(width, height, 1 / kSceneHeight, kSceneWidth);
}

// --- drawing ---------------------------------------------------------------------

void TExpansionFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float t = float(model_.Temperature);
    DrawThermometerLens(b, 1 * s, 1 * s, 9 * s, t);
    DrawColumnLens(b);
    DrawBeaker(b, false, 6 * s, 12 * s, 11 * s, 17 * s, 15 * s);
    DrawCentimetreRule(b);
    DrawThermometer(b, 10 * s, 9.5f * s, 9, 18 * s, t);
    DrawCapillary(b);
}

// The 20 cm rule: its 0 mark is level with the inside of the tube's closed
// end, so it reads the column's length directly.
void TExpansionFrm::DrawCentimetreRule(TBitmap32& b)
{
    const float s = Scale_;
    const float g = kCm * s;
    const TRect r{Round(kRuleLeft * s), Round(kRuleTop * s), Round(kRuleRight * s),
                  Round(kRuleTop * s + 22 * g)};
    b.FillRect(r, kRuleYellow);
    b.FrameRect(r, clBlack32);
    SetLabelFont(b, Round(kCm * s), true);
    const int right = r.Right - 1;
    const int halfLabel = b.TextHeight(QStringLiteral("0")) / 2;
    for (int i = 0; i <= 20; ++i) {
        const int y = Round(g + kRuleTop * s + float(i) * g);
        const bool labelled = i % 5 == 0;
        b.HorzLine(right, y, right - Round((labelled ? 0.9f : 0.45f) * s), clBlack32);
        if (labelled) {
            const QString label = QString::number(20 - i);
            b.TextOut(right - Round(s) - b.TextWidth(label), y - halfLabel, label);
        }
    }
}

void TExpansionFrm::DrawCapillary(TBitmap32& b)
{
    const float s = Scale_;
    const float g = kCm * s;
    const TRect glass{Round(kTubeLeft * s), Round(kTubeTop * s), Round((kTubeLeft + kTubeWidth) * s),
                      Round((kTubeTop + kTubeHeight) * s)};
    b.FillRect(glass, kGlass);
    b.FrameRect(glass, clBlack32);
    // The bore is the middle third of the glass.
    const int k = (glass.Left - glass.Right) / 3;
    const int left = glass.Left - k, right = glass.Right + k - 1;
    const int bottom = glass.Bottom - Round(g);
    b.FillRect(left, glass.Top, right, bottom, clWhite32);
    const int column = bottom - Round(g * model_.GasLength);
    b.FillRect(left, Round(float(column) - g), right, column, kThreadGreen);
    b.VertLine(left, glass.Top, bottom, clBlack32);
    b.VertLine(right, glass.Top, bottom, clBlack32);
    b.HorzLine(left, bottom, right, clBlack32);
}

// 30 mm of the rule round the top of the column, with the tube beside it;
// the column's length always lies on the lens's centre row.
void TExpansionFrm::DrawColumnLens(TBitmap32& b)
{
    const float s = Scale_;
    const float length = model_.GasLength;
    const float ds = kLensSize * s;
    const TRect square{Round(kLensX * s), Round(kLensY * s), Round((kLensX + kLensSize) * s),
                       Round((kLensY + kLensSize) * s)};
    const float q = (kLensY + kLensSize / 2) * s;
    const float r = ds / kLensSpanMm;

    TRect strip = square;
    strip.Right = Round((kLensX + kLensSize / 2) * s);
    if (length <= kLensEndMargin)
        strip.Bottom = Round(length * 10 * r + q);
    if (length >= kRuleTopInLens - kLensEndMargin)
        strip.Top = Round(q - 10 * r * (kRuleTopInLens - length));
    b.FillRect(strip, kRuleYellow);
    b.FrameRect(strip, clBlack32);

    const int e = strip.Right;
    const int minorStart = e - Round(0.05f * ds), halfStart = e - Round(0.1f * ds);
    const int majorStart = e - Round(0.15f * ds), labelRight = e - Round(0.17f * ds);
    SetLabelFont(b, Round(s), true);
    const int halfLabel = b.TextHeight(QStringLiteral("0")) / 2;
    const float shift = LensTickShift(length, r);
    ForEachLensTick(-25, 25, LensFirstLabel(length), 1, [&](const TLensTick& tick) {
        const int y = Round(q - float(tick.Index) * r + shift);
        if (y <= strip.Top || y >= strip.Bottom)
            return;
        const int start = tick.Kind == TTickKind::Major  ? majorStart
                          : tick.Kind == TTickKind::Half ? halfStart
                                                         : minorStart;
        b.HorzLine(start, y, e - 1, clBlack32);
        // The closed end is the rule's 0: no label there.
        if (tick.Kind == TTickKind::Major && tick.Label > 0) {
            const QString label = QString::number(tick.Label);
            b.TextOut(labelRight - b.TextWidth(label), y - halfLabel, label);
        }
    });

    b.Font.SetBold(false);
    const QString cm = str::sExpansionCm();
    b.TextOut(square.Left + 5, Round(q) - b.TextHeight(cm), cm);

    const TRect glass{e + 4, square.Top, e - 1 + Round(0.3f * ds), strip.Bottom + Round(r)};
    b.FillRect(glass, kGlass);
    b.FrameRect(glass, clBlack32);
    const int u = Round(0.1f * ds);
    const TRect bore{glass.Left + u, glass.Top, glass.Right - u, strip.Bottom};
    b.FillRect(bore, clWhite32);
    b.FillRect(bore.Left, Round(q - 10 * r), bore.Right, Round(q), kThreadGreen);
    b.VertLine(bore.Left, square.Top, strip.Bottom, clBlack32);
    b.VertLine(bore.Right, square.Top, strip.Bottom, clBlack32);
    b.HorzLine(bore.Left, strip.Bottom, bore.Right, clBlack32);

    const float cx = (kLensX + kLensSize / 2) * s;
    const float half = ds / 2 + s / 2;
    DrawMagnifierMask(b, cx, q, ds, {cx - half, q - half, cx + half, q + half});
}

namespace {

const bool kRow = DeclareExperiment<TExpansionFrm>(
    {ids::Expansion, TSubject::Physics, "CHARLES.HTM", TPages::Family, str::sExpansionCaption});

}  // namespace

}  // namespace brv
