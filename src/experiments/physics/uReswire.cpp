#include "experiments/physics/uReswire.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Meters.h"
#include "apparatus/Wires.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uReswireStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/DataMod.h"
#include "runtime/Image32.h"
#include "runtime/Polygon32.h"

#include <QAction>
#include <QActionGroup>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include <cmath>

namespace brv {

namespace {

// Scene units are centimetres of the metre rule; the picture is 111.1 wide.
constexpr float kScaleFactor = 0.009f;
constexpr float kRuleLeft = 7, kRuleTop = 70, kRuleRight = 107, kRuleBottom = 75;
constexpr float kLensLeft = 65, kLensTop = 10, kLensSize = 40;
constexpr float kLensCentreX = kLensLeft + kLensSize / 2, kLensCentreY = kLensTop + kLensSize / 2;
constexpr float kLensSpanMm = 30;  // millimetres across the lens
constexpr float kMeterWidth = 15, kMeterHeight = 20;
constexpr float kMeterLeft = 3, kMeterTop = 5, kVoltmeterLeft = 33, kVoltmeterTop = 25;
constexpr int kBarPerCm = 10;

constexpr TColor32 kRuleYellow = 0xFFFFFF80;
constexpr TColor32 kWireCopper = 0xFFFFA448;
constexpr TColor32 kContactRed = 0xFFFF0000;
constexpr TColor32 kPointerGrey = 0xFF7F7F7F;
constexpr TColor32 kSteelGrey = 0xFFBFBFBF;
constexpr TColor32 kMeterBlue = 0xFFC0E1FF;
constexpr TColor32 kWireGreen = 0xFF007F00;

// Text centred on x with its top at y.
void LabelBelow(TBitmap32& b, int x, int y, const QString& text)
{
    b.TextOut(x - b.TextWidth(text) / 2, y, text);
}

// The toolbar item that holds widget w.
QAction* ItemOf(QToolBar* toolbar, QWidget* w)
{
    for (QAction* a : toolbar->actions())
        if (toolbar->widgetForAction(a) == w)
            return a;
    return nullptr;
}

}  // namespace

TReswireFrm::TReswireFrm(QWidget* parent) : TRedrawnForm(parent)
{
    FormCreate();
}

TReswireFrm::~TReswireFrm() = default;

void TReswireFrm::FormCreate()
{
    setWindowTitle(str::sReswireCaption());
    Scale_ = 0.01f;
    createToolbar();
    WireHsb = NewScrollBar(this, Qt::Horizontal, QStringLiteral("WireHsb"), 0, 100 * kBarPerCm,
                           Round(model_.WireLength * kBarPerCm), kBarPerCm, str::sReswireLengthHint());
    OnScroll(WireHsb, [this](int& position, bool) { WireHsbScroll(position); });
    CreatePic();
    LayOutPicture({}, {}, WireHsb);
    Pic_->setToolTip(str::sReswireRuleHint());
    Pic_->OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { picMouseDown(x, y); };
    Pic_->OnMouseMove = [this](Qt::MouseButtons, Qt::KeyboardModifiers, int x, int y) { picMouseMove(x, y); };
    Pic_->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { picMouseUp(); };
    Recompute();
}

void TReswireFrm::createToolbar()
{
    CreateToolbar();
    OhmBtn = AddToolbarButton(toolbar_, QStringLiteral("OhmBtn"), biResistanceMeter, str::sReswireOhmHint());
    AmpVoltBtn = AddToolbarButton(toolbar_, QStringLiteral("AmpVoltBtn"), biAmmeterVoltmeter,
                                  str::sReswireAmpVoltHint());
    auto* meters = new QActionGroup(this);
    for (QAction* a : {OhmBtn, AmpVoltBtn}) {
        a->setCheckable(true);
        meters->addAction(a);
        connect(a, &QAction::triggered, this, [this, a] { OhmBtnClick(a); });
    }
    OhmBtn->setChecked(true);
    toolbar_->addSeparator();

    CellsLabel = AddToolbarLabel(toolbar_, str::sReswireCellsLabel(), QStringLiteral("CellsLabel"));
    cellSE = AddIntSpinEdit(toolbar_, QStringLiteral("cellSE"), 1, 3, 1, str::sReswireCellsHint());
    WireDiameterLabel =
        AddToolbarLabel(toolbar_, str::sReswireDiameterLabel(), QStringLiteral("WireDiameterLabel"));
    WireSE = AddFloatSpinEdit(toolbar_, QStringLiteral("WireSE"), 0.01, 1, 0.01, 2, 0.5,
                              str::sReswireDiameterHint(), str::sReswireMmPostfix());
    toolbar_->addSeparator();
    createMetalMenu();
    showCells(false);

    RedrawOn(cellSE, [this] { model_.Cells = cellSE->value(); });
    RedrawOn(WireSE, [this] { model_.Diameter = float(WireSE->value()); });
    SetLargeItems({{CellsLabel, 0, 0},
                   {WireDiameterLabel, 0, 0},
                   {MetalBtn, 0, 0},
                   {MetalMenu, 0, 0},
                   {cellSE, 40, 60},
                   {WireSE, 80, 120}});
}

void TReswireFrm::createMetalMenu()
{
    MetalMenu = new QMenu(this);
    MetalMenu->setObjectName(QStringLiteral("MetalMenu"));
    const auto addMetal = [this](const QString& caption, const char* name, TWireMetal tag) {
        QAction* a = MetalMenu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setData(int(tag));
        connect(a, &QAction::triggered, this, [this, a] { CopperClick(a); });
        return a;
    };
    Copper = addMetal(str::sReswireCopper(), "Copper", TWireMetal::Copper);
    Nichrome = addMetal(str::sReswireNichrome(), "Nichrome", TWireMetal::Nichrome);
    Constantan = addMetal(str::sReswireConstantan(), "Constantan", TWireMetal::Constantan);

    MetalBtn = new QToolButton;
    MetalBtn->setObjectName(QStringLiteral("MetalBtn"));
    MetalBtn->setMenu(MetalMenu);
    MetalBtn->setPopupMode(QToolButton::InstantPopup);
    MetalBtn->setToolButtonStyle(Qt::ToolButtonTextOnly);
    MetalBtn->setText(Copper->text());
    MetalBtn->setToolTip(str::sReswireMetalHint());
    MetalBtn->setStatusTip(str::sReswireMetalHint());
    toolbar_->addWidget(MetalBtn);
}

void TReswireFrm::showCells(bool shown)
{
    toolbar_->setUpdatesEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(CellsLabel), static_cast<QWidget*>(cellSE)})
        if (QAction* item = ItemOf(toolbar_, w))
            item->setVisible(shown);
    toolbar_->setUpdatesEnabled(true);
}

// --- controls -------------------------------------------------------------------

// Choosing the meter already in use changes nothing, not even the reading.
void TReswireFrm::OhmBtnClick(QAction* sender)
{
    const bool meter = sender == OhmBtn;
    sender->setChecked(true);
    if (meter == useMeter_)
        return;
    useMeter_ = meter;
    showCells(!useMeter_);
    Redraw();
}

void TReswireFrm::CopperClick(QAction* sender)
{
    const auto metal = TWireMetal(sender->data().toInt());
    if (metal == model_.Metal)
        return;
    model_.Metal = metal;
    MetalBtn->setText(sender->text());
    Redraw();
}

void TReswireFrm::WireHsbScroll(int position)
{
    model_.WireLength = float(position) / kBarPerCm;
    Redraw();
}

void TReswireFrm::picMouseDown(int x, int y)
{
    const TRect& r = RuleRect_;
    Dragging_ = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
    if (Dragging_)
        SetLengthFromPicture(x);
}

void TReswireFrm::picMouseMove(int x, int y)
{
    const TRect& r = RuleRect_;
    const bool overRule = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
    Pic_->SetBaseCursor(overRule ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (Dragging_)
        SetLengthFromPicture(x);
}

void TReswireFrm::picMouseUp()
{
    Dragging_ = false;
}

// The contact goes under the pointer, kept on the rule; the bar follows.
void TReswireFrm::SetLengthFromPicture(int x)
{
    const float length = TReswireModel::OnRule(float(x - RuleRect_.Left) / Scale_);
    if (length == model_.WireLength)
        return;
    model_.WireLength = length;
    Redraw();
    WireHsb->setValue(Trunc(length * kBarPerCm));
}

// --- readings and geometry -------------------------------------------------------

void TReswireFrm::Recompute()
{
    if (useMeter_) {
        reading_ = {model_.MeterResistance(), 0, 0};
        return;
    }
    const float ohms = model_.CircuitResistance();
    reading_ = {ohms, model_.Current(ohms), model_.PotentialDifference(ohms)};
}

float TReswireFrm::ComputeScale(int width, int height)
{
    return scale::FromWidthCappedByHeight(width, height, kScaleFactor);
}

// --- drawing ---------------------------------------------------------------------

void TReswireFrm::DrawBackground(TBitmap32& b)
{
    DrawMetreRule(b);
    DrawMagnifiedView(b);
    DrawMeters(b);
    DrawCircuit(b);
}

void TReswireFrm::DrawMetreRule(TBitmap32& b)
{
    const float s = Scale_;
    RuleRect_ = {Round(kRuleLeft * s), Round(kRuleTop * s), Round(kRuleRight * s), Round(kRuleBottom * s)};
    const TRect& r = RuleRect_;
    b.FillRect(r, kRuleYellow);
    b.FrameRect(r, clBlack32);
    SetLabelFont(b, Round(2.5f * s), true);
    const int cmEnd = Round(74 * s), halfEnd = Round(72 * s), mmEnd = Round(71 * s);
    for (int i = 1; i <= 99; ++i) {
        const int x = Round((kRuleLeft + float(i)) * s);
        b.VertLine(x, r.Top, i % 10 == 0 ? cmEnd : (i % 5 == 0 ? halfEnd : mmEnd), clBlack32);
        if (i % 10 == 0)
            LabelBelow(b, x, r.Bottom, QString::number(i));
    }
    LabelBelow(b, r.Left, r.Bottom, QStringLiteral("0"));
    LabelBelow(b, r.Right, r.Bottom, QStringLiteral("100"));
    // The bare wire just above the rule.
    b.HorzLine(r.Left, r.Top - 5, r.Right, kWireCopper);
    b.HorzLine(r.Left, r.Top - 6, r.Right, kWireCopper);
}

// The lens shows 30 mm of the rule with the contact on its centre column;
// near either end it shows where the rule stops.
void TReswireFrm::DrawMagnifiedView(TBitmap32& b)
{
    const float s = Scale_;
    const float m = kLensSize * s / kLensSpanMm;
    const float length = model_.WireLength;
    const int lensLeft = Round(kLensLeft * s), lensRight = Round((kLensLeft + kLensSize) * s);
    const int xc = (lensLeft + lensRight) / 2;

    TRect strip{lensLeft, Round(30 * s), lensRight, Round(45 * s)};
    strip.Left = std::max(strip.Left, xc - Round(10 * m * length));
    strip.Right = std::min(strip.Right, Round(10 * m * (TReswireModel::MaxLength - length)) + xc);
    b.FillRect(strip, kRuleYellow);
    b.FrameRect(strip, clBlack32);

    const TRect block{Round(82 * s), Round(10 * s) + 1, Round(88 * s), Round(19.4f * s)};
    b.FillRect(block, kContactRed);
    b.FrameRect(block, clBlack32);

    SetLabelFont(b, Round(3 * s), true);
    const int height = strip.Bottom - strip.Top;
    const int minorEnd = strip.Top + height / 4, halfEnd = strip.Top + height / 3;
    const int majorEnd = (strip.Top + strip.Bottom) / 2;
    const float shift = LensTickShift(length, 1.0f);
    ForEachLensTick(0, 50, LensFirstLabel(length), 1, [&](const TLensTick& tick) {
        const int x = Round((float(tick.Index) - shift - 5) * m) + lensLeft;
        if (x <= strip.Left || x >= strip.Right)
            return;
        const int end =
            tick.Kind == TTickKind::Major ? majorEnd : (tick.Kind == TTickKind::Half ? halfEnd : minorEnd);
        b.VertLine(x, strip.Top, end, clBlack32);
        if (tick.Kind == TTickKind::Major && tick.Label > 0 && tick.Label < 100)
            LabelBelow(b, x, end, QString::number(tick.Label));
    });

    for (int dy = 3; dy <= 5; ++dy)
        b.HorzLine(lensLeft, strip.Top - dy, lensRight, kWireCopper);

    TPolygon32 pointer;
    pointer.Antialiased = true;
    for (const auto& [x, y] :
         {std::pair{85.0f, 29.4f}, {87.0f, 27.9f}, {87.0f, 19.4f}, {83.0f, 19.4f}, {83.0f, 27.9f}})
        pointer.AddPoint(FixedPoint(x * s, y * s));
    pointer.Draw(b, clBlack32, kPointerGrey);

    DrawMagnifierMask(b, kLensCentreX * s, kLensCentreY * s, kLensSize * s);
}

void TReswireFrm::DrawMeters(TBitmap32& b)
{
    const float s = Scale_;
    if (useMeter_) {
        const bool kilo = reading_.Ohms >= TReswireModel::KiloOhmThreshold;
        const float shown = kilo ? reading_.Ohms * 0.001f : reading_.Ohms;
        DrawDigitalMeter(b, QString::asprintf("%1.1f", double(shown)), kilo ? muKiloOhm : muOhm,
                         kMeterLeft * s, kMeterTop * s, kMeterWidth * s, kMeterHeight * s, kMeterBlue);
        return;
    }
    DrawDigitalMeter(b, QString::asprintf("%1.2f", double(reading_.Amps)), muAmp, kMeterLeft * s,
                     kMeterTop * s, kMeterWidth * s, kMeterHeight * s, kMeterBlue);
    DrawDigitalMeter(b, QString::asprintf("%1.2f", double(reading_.Volts)), muVolt, kVoltmeterLeft * s,
                     kVoltmeterTop * s, kMeterWidth * s, kMeterHeight * s, kMeterBlue);
}

void TReswireFrm::DrawCircuit(TBitmap32& b)
{
    const float s = Scale_;
    const auto at = [s](float x, float y) { return TPoint{Round(x * s), Round(y * s)}; };
    const int top = RuleRect_.Top;
    const int contact = Round(s * model_.WireLength) + RuleRect_.Left;

    // The meter's left terminal down to the wire at the left clamp...
    DrawWire(b, {at(6, 22), TPoint{Round(6 * s), Round(70 * s) - 5}}, kWireGreen);
    // ...and its right terminal round the top of the picture to the jockey.
    DrawWire(b,
             {at(15, 22), at(15, 30), at(22, 30), at(22, 10), at(60, 10), at(60, 60),
              TPoint{contact, Round(60 * s)}, TPoint{contact, top - 10}},
             kWireGreen);
    if (!useMeter_) {
        DrawWire(b, {at(60, 50), at(45, 50), at(45, 42)}, kWireGreen);
        DrawWire(b, {at(36, 42), at(36, 50), at(6, 50)}, kWireGreen);
        DrawBattery(b);
    }
    DrawJockey(b, contact);
    DrawClamps(b);
}

void TReswireFrm::DrawJockey(TBitmap32& b, int x)
{
    const float s = Scale_;
    const int top = RuleRect_.Top;
    const int u = std::max(Round(0.4f * s), 1);
    const int handleTop = Round(62 * s);
    TPolygon32 jockey;
    jockey.Antialiased = true;
    for (const TPoint& p : {TPoint{x, top - 5}, TPoint{x + u, top - 5 - u}, TPoint{x + u, handleTop},
                            TPoint{x - u, handleTop}, TPoint{x - u, top - 5 - u}})
        jockey.AddPoint(FixedPoint(p.X, p.Y));
    jockey.Draw(b, clBlack32, kSteelGrey);
    const TRect handle{x - u - 2, handleTop, x + u + 2, Round(66 * s)};
    b.FillRect(handle, kContactRed);
    b.FrameRect(handle, clBlack32);
}

void TReswireFrm::DrawClamps(TBitmap32& b)
{
    const float s = Scale_;
    const int w = Round(kRuleTop * s) - 5;
    const TRect left{Round(4 * s), w - 4, RuleRect_.Left, w + 4};
    const TRect right{RuleRect_.Right, w - 4, RuleRect_.Right + left.Width(), w + 4};
    for (const TRect& r : {left, right}) {
        b.FillRect(r, kSteelGrey);
        b.FrameRect(r, clBlack32);
    }
}

// The cells in a gap cut in the top wire, 4 units apart.
void TReswireFrm::DrawBattery(TBitmap32& b)
{
    const float s = Scale_;
    const int n = model_.Cells;
    b.FillRect(Round(30 * s), Round(9 * s), Round(30 * s) + Trunc(float(4 * n - 1) * s), Round(11 * s),
               clWhite32);
    const int pitch = Round(4 * s);
    for (int k = 0; k < n; ++k) {
        const int dx = k * pitch;
        b.FillRect(Round(30 * s) + dx, Round(6 * s), Round(30.6f * s) + dx, Round(14 * s), clBlack32);
        b.FillRect(Round(31.5f * s) + dx, Round(8 * s), Round(33 * s) + dx, Round(12 * s), clBlack32);
    }
}

namespace {

const bool kRow = DeclareExperiment<TReswireFrm>(
    {ids::Reswire, TSubject::Physics, "RESISTANCE.HTM", TPages::Family, str::sReswireCaption});

}  // namespace

}  // namespace brv
