#include "experiments/physics/uEMagnet.h"

#include "apparatus/Meters.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uEMagnetStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/Polygon32.h"
#include "runtime/StepAnimation.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QToolBar>

#include <array>

// The nail-heap picture lives in this static library's resources; a linker
// keeps them only when something refers to them.
static void RegisterPhysicsResources()
{
    Q_INIT_RESOURCE(physics);
}

namespace brv {

namespace {

// Scene units: the picture is 80 units high; its width is not used.
constexpr float kScaleFactor = 0.0125f;
constexpr float kCoreLeft = 6.5f, kCoreTop = 1, kCoreRight = 14.5f, kCoreBottom = 56;
constexpr float kCoilLeft = 5.9f, kCoilRight = 15.1f, kCoilBottom = 52, kCoilThickness = 0.3f,
                kTurnRise = 0.5f;
constexpr int kTrayRise = int(TEMagnetModel::TrayDown - TEMagnetModel::TrayUp);  // steps each way
constexpr int kTraySteps = 2 * (kTrayRise + 1);
constexpr int kMinButtonWidth = 40;
constexpr int kHeapWidth = 130, kHeapHeight = 50;

constexpr TColor32 kAmmeterGrey = 0xFF7F7F7F;
constexpr TColor32 kSupplyBlue = 0xFFC0E1FF;
constexpr TColor32 kOutlineGrey = 0xFF7F7F7F;
constexpr TColor32 kCoilRed = 0xFFFF0000;
constexpr TColor32 kTrayBlue = 0xFFC0E1FF;
constexpr TColor32 kNailGrey = 0xFFF0F0F0;

// The core's shading across its 32 columns: a lit cylinder, brightest right
// of centre.
constexpr std::array<std::uint8_t, 32> kCoreRamp{96,  104, 112, 120, 128, 136, 145, 153, 161, 169, 177,
                                                 184, 192, 199, 206, 213, 221, 228, 235, 243, 250, 252,
                                                 244, 236, 228, 220, 212, 204, 195, 186, 177, 168};

TFixedPoint At(float x, float y, float s)
{
    return FixedPoint(x * s, y * s);
}

}  // namespace

TEMagnetFrm::TEMagnetFrm(QWidget* parent) : TRedrawnForm(parent)
{
    FormCreate();
}

TEMagnetFrm::~TEMagnetFrm() = default;

void TEMagnetFrm::FormCreate()
{
    setWindowTitle(str::sEMagnetCaption());
    createPictures();
    createToolbar();
    CreatePic();
    LayOutPicture({});

    // The tray's journey is shown step by step; the timer goes with the
    // form, so a form replaced half-way simply stops.
    steps_ = std::make_unique<TStepAnimation>(this, QStringLiteral("TrayTimer"), TrayStepMs,
                                              [this] { return advanceTray(); });
    TrayTimer = steps_->Timer();

    model_.Turns = Coils->value();
    model_.Volts = Current->value();
    newNails();
    setButtons(true, false, false);
}

void TEMagnetFrm::createToolbar()
{
    CreateToolbar();
    AddBtn = AddToolbarButton(toolbar_, QStringLiteral("AddBtn"), biAddNails, str::sEMagnetAddHint());
    CountBtn = AddToolbarButton(toolbar_, QStringLiteral("CountBtn"), biCountNails, str::sEMagnetCountHint());
    ResetBtn = AddToolbarButton(toolbar_, QStringLiteral("ResetBtn"), biReset, str::sResetHint());
    for (QAction* a : {AddBtn, CountBtn, ResetBtn}) {
        if (QWidget* button = toolbar_->widgetForAction(a))
            button->setMinimumWidth(kMinButtonWidth);
        connect(a, &QAction::triggered, this, [this, a] { NailAddBtnClick(a); });
    }
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem1"));
    TurnsLabel = AddToolbarLabel(toolbar_, str::sEMagnetTurnsLabel(), QStringLiteral("TurnsLabel"));
    Coils = AddIntSpinEdit(toolbar_, QStringLiteral("Coils"), 3, 100, 50, str::sEMagnetTurnsHint());
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem2"));
    VoltageLabel = AddToolbarLabel(toolbar_, str::sEMagnetVoltageLabel(), QStringLiteral("VoltageLabel"));
    Current = AddIntSpinEdit(toolbar_, QStringLiteral("Current"), 0, 12, 2, str::sEMagnetVoltageHint());
    for (QSpinBox* spin : {Coils, Current}) {
        SetArrowsOnly(spin);
        RedrawOn(spin, [this] { CoilsValueChanged(); });
    }
    TLargeRule rule;
    rule.scaleByDpi = false;
    SetLargeItems({{Coils, 0, 0}, {Current, 0, 0}, {TurnsLabel, 0, 0}, {VoltageLabel, 0, 0}}, rule);
}

void TEMagnetFrm::createPictures()
{
    RegisterPhysicsResources();
    TBitmap32& core = BitmapList.Add();
    core.SetSize(int(kCoreRamp.size()), 64);
    for (int y = 0; y < core.Height(); ++y)
        for (int x = 0; x < core.Width(); ++x) {
            const std::uint8_t grey = kCoreRamp[std::size_t(x)];
            core.ScanLine(y)[x] = Color32(grey, grey, grey);
        }

    TBitmap32& heap = BitmapList.Add();
    QImage picture(kHeapWidth, kHeapHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/physics/pictures/nail-heap.svg"));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, kHeapWidth, kHeapHeight));
    painter.end();
    heap.Assign(picture);
    heap.DrawMode = TDrawMode::dmBlend;
}

// --- buttons and settings -----------------------------------------------------

bool TEMagnetFrm::Animating() const
{
    return steps_->Running();
}

void TEMagnetFrm::NailAddBtnClick(QAction* sender)
{
    if (Animating())
        return;
    if (sender == AddBtn) {
        // Up to the magnet and back; the buttons wait for the tray.
        trayStep_ = 0;
        advanceTray();
        steps_->Start(toolbar_, TrayStepMs);
    } else if (sender == CountBtn) {
        setButtons(false, false, true);
        model_.NailState = TNailState::Counted;
        Redraw();
    } else if (sender == ResetBtn) {
        setButtons(true, false, false);
        newNails();
        model_.NailState = TNailState::InTray;
        Redraw();
    }
}

bool TEMagnetFrm::advanceTray()
{
    const int k = trayStep_++;
    if (k <= kTrayRise) {
        model_.TrayY = TEMagnetModel::TrayDown - float(k);
    } else {
        model_.NailState = TNailState::Hanging;
        model_.TrayY = TEMagnetModel::TrayUp + float(k - kTrayRise - 1);
    }
    const bool last = trayStep_ >= kTraySteps;
    if (last)
        setButtons(false, true, true);
    Redraw();
    return last;
}

void TEMagnetFrm::CoilsValueChanged()
{
    model_.Turns = Coils->value();
    model_.Volts = Current->value();
    newNails();
}

void TEMagnetFrm::newNails()
{
    model_.NewNailCount();
    model_.NewNails();
}

// The three states: ready (add), nails hanging (count or reset), counted
// (reset); the settings change only while the nails are in the tray.
void TEMagnetFrm::setButtons(bool add, bool count, bool reset)
{
    AddBtn->setEnabled(add);
    CountBtn->setEnabled(count);
    ResetBtn->setEnabled(reset);
    Coils->setEnabled(add);
    Current->setEnabled(add);
}

float TEMagnetFrm::ComputeScale(int, int height)
{
    return scale::FromHeight(height, kScaleFactor);
}

// --- drawing ---------------------------------------------------------------------

void TEMagnetFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    DrawDigitalMeter(b, QString::asprintf("%1.1f", double(model_.Current())), muAmp, 19 * s, 2 * s, 15 * s,
                     20 * s, kAmmeterGrey);
    DrawPowerSupply(b, model_.Volts, kSupplyBlue, 36 * s, 2 * s, 20 * s, 22 * s);
    DrawCore(b);
    DrawCoil(b);
    DrawTray(b);
    DrawNails(b);
    DrawWires(b);
}

void TEMagnetFrm::DrawCore(TBitmap32& b)
{
    const float s = Scale_;
    BitmapList.Bitmap(0).StretchTo(
        b, {Round(kCoreLeft * s), Round(kCoreTop * s), Round(kCoreRight * s), Round(kCoreBottom * s)});
    TPolygon32 outline;
    outline.Antialiased = true;
    for (const auto& [x, y] : {std::pair{kCoreLeft, kCoreTop},
                               {kCoreLeft, kCoreBottom},
                               {kCoreRight, kCoreBottom},
                               {kCoreRight, kCoreTop}})
        outline.AddPoint(FixedPoint(float(Round(x * s)), float(Round(y * s))));
    outline.DrawOutline(b, kOutlineGrey);
}

// One bar for the coil's lower end and one more for every turn, each half a
// unit above the last.
void TEMagnetFrm::DrawCoil(TBitmap32& b)
{
    const float s = Scale_;
    const int left = Round(kCoilLeft * s), right = Round(kCoilRight * s);
    for (int turn = 0; turn <= model_.Turns; ++turn) {
        const float y = kCoilBottom - kTurnRise * float(turn);
        b.FillRect(left, Round(y * s), right, Round((y + kCoilThickness) * s), kCoilRed);
    }
}

void TEMagnetFrm::DrawTray(TBitmap32& b)
{
    const float s = Scale_;
    const float y = model_.TrayY;
    BitmapList.Bitmap(1).StretchTo(b,
                                   {Trunc(2 * s), Trunc((y + 2.46f) * s), Trunc(19 * s), Trunc((y + 9) * s)});
    TPolygon32 tray;
    for (const auto& [px, py] : {std::pair{1.0f, y},
                                 {1.0f, y + 10},
                                 {20.0f, y + 10},
                                 {20.0f, y},
                                 {19.0f, y},
                                 {19.0f, y + 9},
                                 {2.0f, y + 9},
                                 {2.0f, y}})
        tray.AddPoint(At(px, py, s));
    tray.DrawFill(b, kTrayBlue);
    tray.Antialiased = true;
    tray.DrawOutline(b, kOutlineGrey);
}

void TEMagnetFrm::DrawNails(TBitmap32& b)
{
    if (model_.NailState == TNailState::Hanging) {
        for (const TNail& nail : model_.Nails)
            DrawNail(b, nail, kCoreLeft, kCoreBottom);
    } else if (model_.NailState == TNailState::Counted) {
        for (int k = 0; k < model_.NailCount; ++k) {
            const TNailPoint at = TEMagnetModel::CountedPosition(k);
            DrawNail(b, TEMagnetModel::NailShape, at.X, at.Y);
        }
    }
}

void TEMagnetFrm::DrawNail(TBitmap32& b, const TNail& nail, float dx, float dy)
{
    const float s = Scale_;
    TPolygon32 shape;
    for (const TNailPoint& p : nail)
        shape.AddPoint(At(p.X + dx, p.Y + dy, s));
    shape.DrawFill(b, kNailGrey);
    shape.Antialiased = true;
    shape.DrawOutline(b, clBlack32);
}

void TEMagnetFrm::DrawWires(TBitmap32& b)
{
    const float s = Scale_;
    const float top = kCoilBottom - kTurnRise * float(model_.Turns);
    const auto wire = [&b, s](std::initializer_list<std::pair<float, float>> points) {
        bool first = true;
        for (const auto& [x, y] : points) {
            if (first)
                b.MoveTo(x * s, y * s);
            else
                b.SmoothLineTo(x * s, y * s);
            first = false;
        }
    };
    b.PenColor = clBlack32;
    // The coil's lower end to the supply's right terminal...
    wire({{14.5f, 52}, {20, 52}, {20, 28}, {52, 28}, {52, 20.7f}});
    // ...the ammeter's left terminal to the coil's upper end...
    wire({{22, 19}, {22, 25}, {17, 25}, {17, top}, {14.5f, top}});
    // ...and the ammeter's right terminal to the supply's left terminal.
    wire({{31, 19}, {31, 25}, {40, 25}, {40, 20.7f}});
}

namespace {

const bool kRow =
    DeclareExperiment<TEMagnetFrm>({ids::EMagnet, TSubject::Physics, "EMAGNET.HTM", TPages::Family,
                                    str::sEMagnetCaption, TLargeButtonsCall::BeforeShow});

}  // namespace

}  // namespace brv
