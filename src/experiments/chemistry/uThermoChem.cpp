#include "experiments/chemistry/uThermoChem.h"

#include "apparatus/Beakers.h"
#include "apparatus/Burettes.h"
#include "apparatus/Labels.h"
#include "apparatus/Shapes.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/chemistry/uThermoChemStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/ToolbarItems.h"

#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

// Scene units: the picture is 100 of them high.
constexpr float kScaleFactor = 0.01f;

constexpr float kLensX = 12, kLensY = 2, kLensSize = 25;
constexpr float kBuretteX = 5, kBuretteY = 6, kBuretteW = 3, kBuretteH = 75;
constexpr float kBuretteFull = 50;  // cm³
constexpr float kBeakerX = 3, kBeakerY = 82, kBeakerW = 12, kBeakerH = 16;
constexpr float kBeakerLiquidPerCm3 = 0.14f;
constexpr float kStreamLeft = 6.3f, kStreamTop = 81, kStreamRight = 6.7f, kStreamBottom = 97;
constexpr float kThermoX = 12, kThermoY = 47, kThermoH = 50;
constexpr float kThermoWidthPixels = 9;  // not scaled
constexpr float kThermoLensX = 17, kThermoLensY = 50, kThermoLensSize = 25;

// The digital thermometer: its display box, the probe in the beaker, the
// cable and the plug in the box's side.
constexpr float kDisplayLeft = 24, kDisplayTop = 83, kDisplayW = 20, kDisplayH = 15;
constexpr float kProbeLeft = 11, kProbeTop = 80, kProbeRight = 12.8f, kProbeBottom = 97;
constexpr float kCableTop = 75, kCableX = 20, kCableBottom = 95, kCableEnd = 26;
constexpr float kPlugX = 26, kPlugY = 95;
constexpr int kPlugPoints = 10;
constexpr TColor32 kDisplayOrange = 0xFFFF8000;
constexpr TColor32 kWindowFrame = 0xFF7F7F7F;
constexpr TColor32 kProbeGrey = 0xFFF0F0F0;
constexpr TColor32 kCableGreen = 0xFF007F00;
constexpr TColor32 kPlugYellow = 0xFFFFFF00;

// The scroll bar counts tenths of a cm³.
constexpr int kVolumeMax = 500, kVolumePage = 10;
constexpr float kCm3PerPosition = 0.1f;

// The dock and its items, small and large.
constexpr int kDockWidth = 173;
constexpr int kDockSmall = 170, kDockLarge = 240;
constexpr int kFontSmall = 8, kFontLarge = 12;  // points
constexpr int kButtonSmall = 130, kButtonLarge = 150;
constexpr int kEditSmall = 130, kEditLarge = 200;

QDoubleSpinBox* NewConcEdit(const QString& name, double min)
{
    auto* spin = new QDoubleSpinBox;
    spin->setObjectName(name);
    spin->setDecimals(1);
    spin->setRange(min, 2);
    spin->setSingleStep(0.1);
    spin->setValue(1);
    spin->setPrefix(str::sThermoChemConcPrefix());
    spin->setSuffix(str::sMolarPostfix());
    return spin;
}

QRadioButton* NewRadio(const QString& caption, const QString& name, bool checked)
{
    auto* radio = new QRadioButton(caption);
    radio->setObjectName(name);
    radio->setChecked(checked);
    return radio;
}

// Cable segments are two pixels wide: each line doubled to the right or below.
void CableAcross(TBitmap32& b, int x1, int x2, int y)
{
    b.HorzLine(x1, y, x2, kCableGreen);
    b.HorzLine(x1, y + 1, x2, kCableGreen);
}

void CableDown(TBitmap32& b, int x, int y1, int y2)
{
    b.VertLine(x, y1, y2, kCableGreen);
    b.VertLine(x + 1, y1, y2, kCableGreen);
}

}  // namespace

// --- panels --------------------------------------------------------------------------

TToolPanel::TToolPanel(const QString& title, const QString& name, QWidget* parent)
    : QDockWidget(title, parent)
{
    setObjectName(name);
    // Qt floats a movable panel while it is dragged, even one that may not
    // float: a panel here is neither moved, floated nor closed.
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setAllowedAreas(Qt::LeftDockWidgetArea);
    toggleViewAction()->setEnabled(false);
    toggleViewAction()->setVisible(false);
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (floating)
            AcidDPCloseQuery();
    });
}

void TToolPanel::AcidDPCloseQuery()
{
    if (isFloating())
        setFloating(false);
}

void TToolPanel::closeEvent(QCloseEvent* event)
{
    event->ignore();
    AcidDPCloseQuery();
}

// --- the form -------------------------------------------------------------------------

TThermoChemFrm::TThermoChemFrm(QWidget* parent) : TRedrawnForm(parent)
{
    FormCreate();
}

TThermoChemFrm::~TThermoChemFrm() = default;

void TThermoChemFrm::FormCreate()
{
    setWindowTitle(str::sThermoChemCaption());
    createPanels();
    VolumeHsb = NewScrollBar(this, Qt::Vertical, QStringLiteral("VolumeHsb"), 0, kVolumeMax, 0, kVolumePage,
                             str::sThermoChemVolumeHint());
    OnScroll(VolumeHsb, [this](int& position, bool endOfScroll) { VolumeHsbScroll(position, endOfScroll); });
    CreatePic();
    LayOutPicture({LeftDock, VolumeHsb});
    model_.AcidConc = float(AcidConcSE->value());
    model_.BaseConc = float(BaseConcSE->value());
    model_.BaseVolume = float(BaseVolumeSE->value());
}

void TThermoChemFrm::createPanels()
{
    LeftDock = new QMainWindow(this);
    LeftDock->setObjectName(QStringLiteral("LeftDock"));
    LeftDock->setWindowFlags(Qt::Widget);
    // Panels stack one under another; none can be dropped onto another as a tab.
    LeftDock->setDockOptions(QMainWindow::AnimatedDocks);
    LeftDock->setFixedWidth(kDockWidth);

    HAbtn = NewRadio(str::sThermoChemHydrochloric(), QStringLiteral("HAbtn"), true);
    SAbtn = NewRadio(str::sThermoChemSulphuric(), QStringLiteral("SAbtn"), false);
    AcidConcSE = NewConcEdit(QStringLiteral("AcidConcSE"), 0);
    ResetBtn = new QPushButton(TDataMod::Instance().Buttons24().Icon(biReset), str::sThermoChemRefill());
    ResetBtn->setObjectName(QStringLiteral("ResetBtn"));
    AcidDP =
        addPanel(str::sThermoChemAcidPanel(), QStringLiteral("AcidDP"), {HAbtn, SAbtn, AcidConcSE, ResetBtn});

    BaseConcSE = NewConcEdit(QStringLiteral("BaseConcSE"), 0.1);
    BaseVolumeSE = new QSpinBox;
    BaseVolumeSE->setObjectName(QStringLiteral("BaseVolumeSE"));
    BaseVolumeSE->setRange(10, 50);
    BaseVolumeSE->setValue(20);
    BaseVolumeSE->setPrefix(str::sThermoChemVolumePrefix());
    BaseVolumeSE->setSuffix(str::sCm3Postfix());
    BaseDP = addPanel(str::sThermoChemBasePanel(), QStringLiteral("BaseDP"), {BaseConcSE, BaseVolumeSE});

    ThermoBtn = NewRadio(str::sThermoChemStandardThermometer(), QStringLiteral("ThermoBtn"), true);
    DigitalBtn = NewRadio(str::sThermoChemDigitalThermometer(), QStringLiteral("DigitalBtn"), false);
    ApparatusDP =
        addPanel(str::sThermoChemApparatusPanel(), QStringLiteral("ApparatusDP"), {ThermoBtn, DigitalBtn});

    for (QDoubleSpinBox* spin : {AcidConcSE, BaseConcSE})
        RedrawOn(spin, [this] { AcidConcSEValueChange(); });
    RedrawOn(BaseVolumeSE, [this] { AcidConcSEValueChange(); });
    connect(ResetBtn, &QPushButton::clicked, this, [this] { ResetBtnClick(); });
    // Either thermometer button: the picture shows the one now chosen.
    RedrawOn(ThermoBtn);

    sizeItems(false);
}

std::vector<QWidget*> TThermoChemFrm::Editors() const
{
    return {AcidConcSE, BaseConcSE, BaseVolumeSE};
}

void TThermoChemFrm::sizeItems(bool large)
{
    for (TToolPanel* panel : {AcidDP, BaseDP, ApparatusDP}) {
        QFont font = panel->font();
        font.setPointSize(large ? kFontLarge : kFontSmall);
        panel->setFont(font);
    }
    ResetBtn->setFixedWidth(large ? kButtonLarge : kButtonSmall);
    // An editor is never too narrow for its prefix and widest value in the
    // desktop's font.
    for (QWidget* edit : Editors())
        edit->setFixedWidth(std::max(large ? kEditLarge : kEditSmall, edit->sizeHint().width()));
}

TToolPanel* TThermoChemFrm::addPanel(const QString& title, const QString& name,
                                     std::initializer_list<QWidget*> controls)
{
    auto* panel = new TToolPanel(title, name, LeftDock);
    auto* body = new QWidget(panel);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(6, 4, 6, 6);
    for (QWidget* w : controls)
        column->addWidget(w);
    // Each panel as tall as its controls; the dock's spare height stays below.
    body->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    panel->setWidget(body);
    LeftDock->addDockWidget(Qt::LeftDockWidgetArea, panel, Qt::Vertical);
    return panel;
}

void TThermoChemFrm::SetLargeButtons(bool large)
{
    if (LargeButtonsUnchanged(large, false))
        return;
    RememberLarge(large);
    LeftDock->setUpdatesEnabled(false);
    LeftDock->setFixedWidth(large ? kDockLarge : kDockSmall);
    sizeItems(large);
    LeftDock->setUpdatesEnabled(true);
}

void TThermoChemFrm::ShowToolPanels(bool visible)
{
    LeftDock->setUpdatesEnabled(false);
    for (TToolPanel* panel : {AcidDP, BaseDP, ApparatusDP})
        panel->setVisible(visible);
    LeftDock->setUpdatesEnabled(true);
}

// --- controls ------------------------------------------------------------------

void TThermoChemFrm::VolumeHsbScroll(int position, bool endOfScroll)
{
    // The end of a scroll repeats the final position: the tap closes.
    AcidFlowing_ = !endOfScroll && LastVolumePos < position;
    // The acid chosen is read when the temperature is next computed.
    model_.Sulphuric = SAbtn->isChecked();
    model_.SetAcidAdded(float(position) * kCm3PerPosition);
    LastVolumePos = position;
    Redraw();
}

void TThermoChemFrm::ResetBtnClick()
{
    model_.SetAcidAdded(0);
    {
        const QSignalBlocker quiet(VolumeHsb);
        VolumeHsb->setValue(0);
    }
    LastVolumePos = 0;
    Redraw();
}

void TThermoChemFrm::AcidConcSEValueChange()
{
    model_.AcidConc = float(AcidConcSE->value());
    model_.BaseConc = float(BaseConcSE->value());
    model_.BaseVolume = float(BaseVolumeSE->value());
}

// --- drawing ----------------------------------------------------------------------

float TThermoChemFrm::ComputeScale(int, int height)
{
    return scale::FromHeight(height, kScaleFactor);
}

void TThermoChemFrm::DrawBackground(TBitmap32& b)
{
    const float s = Scale_;
    const float added = model_.AcidAdded;
    DrawBuretteLens(b, kLensX * s, kLensY * s, kLensSize * s, added);
    DrawBurette(b, AcidFlowing_, kBuretteX * s, kBuretteY * s, kBuretteW * s, kBuretteH * s,
                kBuretteFull - added);
    DrawBeaker(b, false, kBeakerX * s, kBeakerY * s, kBeakerW * s, kBeakerH * s,
               (added + model_.BaseVolume) * kBeakerLiquidPerCm3 * s);
    if (AcidFlowing_)
        b.FillRect(Round(kStreamLeft * s), Round(kStreamTop * s), Round(kStreamRight * s),
                   Round(kStreamBottom * s), clBuretteLiquid32);
    if (ThermoBtn->isChecked()) {
        DrawThermometer(b, kThermoX * s, kThermoY * s, kThermoWidthPixels, kThermoH * s, model_.MixTemp);
        DrawThermometerLens(b, kThermoLensX * s, kThermoLensY * s, kThermoLensSize * s, model_.MixTemp);
    } else {
        DrawDigitalThermometer(b);
    }
}

void TThermoChemFrm::DrawDigitalThermometer(TBitmap32& b)
{
    const float s = Scale_;
    const float w = kDisplayW * s, h = kDisplayH * s;
    const TRect box{Round(kDisplayLeft * s), Round(kDisplayTop * s), Round(kDisplayLeft * s + w),
                    Round(kDisplayTop * s + h)};
    b.FillRect(box, kDisplayOrange);
    b.FrameRect(box, clBlack32);
    const int f = Round(0.1f * w);
    const TRect window{box.Left + f, box.Top + f, box.Right - f, box.Top + f + Round(0.4f * h)};
    b.FillRect(window, clWhite32);
    b.FrameRect(window, kWindowFrame);
    SetLabelFont(b, Round(0.25f * w));
    b.Font.Color = clBlack32;
    b.TextOutRect(window, QString::asprintf("%1.1f", double(model_.MixTemp)) + str::sDegCPostfix());

    const TRect probe{Round(kProbeLeft * s), Round(kProbeTop * s), Round(kProbeRight * s),
                      Round(kProbeBottom * s)};
    b.FillRect(probe, kProbeGrey);
    b.FrameRect(probe, clBlack32);

    const int c = (probe.Left + probe.Right) / 2;
    const int top = Round(kCableTop * s), across = Round(kCableX * s);
    const int bottom = Round(kCableBottom * s), end = Round(kCableEnd * s);
    CableDown(b, c, probe.Top, top);
    CableAcross(b, c, across, top);
    CableDown(b, across, top, bottom);
    CableAcross(b, across, end, bottom);

    DrawDisc(b, kPlugX * s, kPlugY * s, s, kPlugYellow, clBlack32, kPlugPoints);
}

namespace {

const bool kRow = DeclareExperiment<TThermoChemFrm>(
    {ids::ThermoChem, TSubject::Chemistry, "THERMCHEM.HTM", TPages::Family, str::sThermoChemCaption});

}  // namespace

}  // namespace brv
