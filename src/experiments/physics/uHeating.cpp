#include "experiments/physics/uHeating.h"

#include "apparatus/Beakers.h"
#include "apparatus/Meters.h"
#include "apparatus/Thermometers.h"
#include "apparatus/Wires.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uHeatingStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/Image32.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

namespace brv {

namespace {

// Scene units: the picture is 20 units wide.
constexpr float kScaleFactor = 0.05f;
constexpr int kTimeMax = 1800, kTimePage = 60;  // seconds

constexpr float kBeakerX = 0.75f, kBeakerY = 7.72f, kBeakerWidth = 4, kBeakerHeight = 5.28f;
constexpr float kThermometerWidthPx = 9;

constexpr TColor32 kLaggingYellow = 0xFFFFFF80;
constexpr TColor32 kLidGrey = 0xFFF0F0F0;
constexpr TColor32 kAmmeterGrey = 0xFFBFBFBF;
constexpr TColor32 kSupplyBlue = 0xFFC0E1FF;
constexpr TColor32 kWireGreen = 0xFF007F00;
constexpr TColor32 kHeaterGlowing = 0xFFFF6767;
constexpr TColor32 kHeaterCold = 0xFF7F7F7F;

}  // namespace

THECFrm::THECFrm(QWidget* parent) : TTimeScrubbedForm(parent)
{
    FormCreate();
}

THECFrm::~THECFrm() = default;

void THECFrm::FormCreate()
{
    setWindowTitle(str::sHeatingCaption());
    createToolbar();
    CreateTimeBar(0, kTimeMax, 0, kTimePage, str::sHeatingTimeHint());
    CreatePic();
    LayOutPicture({}, {}, TimeHsb);

    readSettings();
    model_.NewHeater();
    model_.ReadExactly();
}

void THECFrm::createToolbar()
{
    CreateToolbar();
    InsulateBtn =
        AddToolbarButton(toolbar_, QStringLiteral("InsulateBtn"), biInsulate, str::sHeatingInsulateHint());
    InsulateBtn->setCheckable(true);
    toolbar_->addSeparator();
    RLabel = AddToolbarLabel(toolbar_, str::sHeatingRLabel(), QStringLiteral("RLabel"));
    resistanceSE = AddIntSpinEdit(toolbar_, QStringLiteral("resistanceSE"), 3, 10, 5, str::sHeatingRHint(),
                                  str::sHeatingOhmPostfix());
    MassLabel = AddToolbarLabel(toolbar_, str::sHeatingMassLabel(), QStringLiteral("MassLabel"));
    MassSE = AddIntSpinEdit(toolbar_, QStringLiteral("MassSE"), 20, 100, 50, str::sHeatingMassHint(),
                            str::sHeatingGramPostfix());
    VoltLabel = AddToolbarLabel(toolbar_, str::sHeatingVoltLabel(), QStringLiteral("VoltLabel"));
    VoltageSE = AddIntSpinEdit(toolbar_, QStringLiteral("VoltageSE"), 0, 12, 6, str::sHeatingVoltHint(),
                               str::sHeatingVoltPostfix());

    // A new label resistance is a new heater; the other settings only change
    // what the water does.  None of them is a reading taken over time.
    RedrawOn(resistanceSE, [this] {
        readSettings();
        model_.NewHeater();
        model_.ReadExactly();
    });
    for (QSpinBox* spin : {MassSE, VoltageSE})
        RedrawOn(spin, [this] {
            readSettings();
            model_.ReadExactly();
        });
    RedrawOn(InsulateBtn, [this] {
        readSettings();
        model_.ReadExactly();
    });
    SetLargeItems({{RLabel, 0, 0},
                   {MassLabel, 0, 0},
                   {VoltLabel, 0, 0},
                   {resistanceSE, 50, 64},
                   {MassSE, 50, 64},
                   {VoltageSE, 50, 64}});
}

void THECFrm::readSettings()
{
    model_.SetResistance = resistanceSE->value();
    model_.Mass = MassSE->value();
    model_.Voltage = VoltageSE->value();
    model_.Insulated = InsulateBtn->isChecked();
    model_.ElapsedTime = Time();
}

void THECFrm::TimeHsbScroll(int, int& position)
{
    model_.ElapsedTime = position;
    if (position != 0) {
        model_.ReadWithScatter();
    } else {
        // Back at the start: a fresh heater for a fresh run.
        model_.NewHeater();
        model_.ReadExactly();
    }
}

float THECFrm::ComputeScale(int width, int height)
{
    return scale::FromWidthCappedByHeight(width, height, kScaleFactor);
}

// --- drawing -------------------------------------------------------------------

void THECFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float temperature = model_.ShownTemp;
    if (model_.Insulated)
        DrawLagging(b);
    DrawThermometerLens(b, 4 * s, 0.5f * s, 5 * s, temperature);
    const float liquid = 1 + float(model_.Mass - 20) / 20;
    DrawBeaker(b, true, kBeakerX * s, kBeakerY * s, kBeakerWidth * s, kBeakerHeight * s, liquid * s);
    DrawLid(b);
    DrawThermometer(b, 1.25f * s, 0.9f * s, kThermometerWidthPx, 12 * s, temperature);
    DrawDigitalMeter(b, QString::asprintf("%.2f", double(model_.Current())), muAmp, 7 * s, 9.1f * s, 3 * s,
                     4 * s, kAmmeterGrey);
    DrawPowerSupply(b, model_.Voltage, kSupplyBlue, 12 * s, 6.6f * s, 6 * s, 6.5f * s);
    DrawStopwatch(b, FormatMinSec(model_.ElapsedTime), str::sMinSecSpaced(), 12.5f * s, 0.5f * s, 5 * s,
                  4 * s);
    DrawCircuit(b);
    DrawHeater(b);
}

// Yellow lagging round the beaker, open at the top.
void THECFrm::DrawLagging(TBitmap32& b)
{
    const float s = Scale_;
    const TRect r{Round(0.25f * s), Round(7.72f * s) + 1, Round(5.25f * s), Round(13.5f * s)};
    b.FillRect(r, kLaggingYellow);
    b.VertLine(r.Left, r.Top, r.Bottom, clBlack32);
    b.VertLine(r.Right, r.Top, r.Bottom, clBlack32);
    b.HorzLine(r.Left, r.Bottom, r.Right, clBlack32);
}

void THECFrm::DrawLid(TBitmap32& b)
{
    const float s = Scale_;
    const TRect r{Round(0.2f * s), Round(7.5f * s), Round(5.3f * s), Round(7.72f * s) + 1};
    b.FillRect(r, kLidGrey);
    b.FrameRect(r, clBlack32);
}

void THECFrm::DrawCircuit(TBitmap32& b)
{
    const float s = Scale_;
    const auto at = [s](float x, float y) { return TPoint{Round(x * s), Round(y * s)}; };
    // From the ammeter's left terminal down into the beaker, through the
    // heater and out to the supply's right terminal...
    DrawWire(
        b,
        {at(7.6f, 12.5f), at(7.6f, 13.5f), at(6.5f, 13.5f), at(6.5f, 6.5f), at(1.75f, 6.5f), at(1.75f, 12.6f),
         at(4, 12.6f), at(4, 7), at(6, 7), at(6, 13.8f), at(16.8f, 13.8f), at(16.8f, 12.125f)},
        kWireGreen);
    // ...and from the supply's left terminal to the ammeter's right one.
    DrawWire(b, {at(13.2f, 12.125f), at(13.2f, 13.5f), at(9.4f, 13.5f), at(9.4f, 12.5f)}, kWireGreen);
}

// The heater glows while the time is being moved forward.
void THECFrm::DrawHeater(TBitmap32& b)
{
    const float s = Scale_;
    const TRect r{Round(1.9f * s), Round(12.4f * s), Round(3.8f * s), Round(12.8f * s)};
    b.FillRect(r, TimeForward() ? kHeaterGlowing : kHeaterCold);
    b.FrameRect(r, clBlack32);
}

namespace {

const bool kRow = DeclareExperiment<THECFrm>(
    {ids::Heating, TSubject::Physics, "HEATING.HTM", TPages::Family, str::sHeatingCaption});

}  // namespace

}  // namespace brv
