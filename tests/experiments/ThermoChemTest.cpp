// Heat of neutralisation: the temperature rise on its numbers, the reading's
// scatter, the form driven with real events on its volume bar and its
// panels, and the form hosted as the main window hosts it (no toolbar).
#include "experiments/chemistry/uThermoChem.h"

#include "experiments/ExperimentCatalogue.h"
#include "runtime/AddMaths.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentHost.h"
#include "runtime/Image32.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/ScrollBarEvents.h"
#include "support/TestSupport.h"

#include <QDoubleSpinBox>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::ThermoChem;
    t.name = "ThermoChem";
    t.spins = {{"AcidConcSE", 0, 2, 1}, {"BaseConcSE", 0.1, 2, 1}, {"BaseVolumeSE", 10, 50, 20}};
    return t;
}());

using Model = TThermoChemModel;

float RiseAt(float added, bool sulphuric = false)
{
    Model m;
    m.Sulphuric = sulphuric;
    m.AcidAdded = added;
    return m.TemperatureRise();
}

TEST(ThermoChemModel, HydrochloricAcidPeaksWhenTheAlkaliIsUsedUp)
{
    EXPECT_NEAR(RiseAt(20), 6.79f, 0.005f);
    EXPECT_NEAR(RiseAt(10), 4.52f, 0.005f);
    EXPECT_NEAR(RiseAt(50), 3.88f, 0.005f);
    EXPECT_LT(RiseAt(19.9f), RiseAt(20));
    EXPECT_LT(RiseAt(20.1f), RiseAt(20));
    EXPECT_EQ(RiseAt(0), 0.0f);
}

TEST(ThermoChemModel, SulphuricAcidNeedsHalfTheVolume)
{
    EXPECT_NEAR(RiseAt(10, true), 9.05f, 0.005f);
    EXPECT_LT(RiseAt(9.9f, true), RiseAt(10, true));
    EXPECT_LT(RiseAt(10.1f, true), RiseAt(10, true));
}

TEST(ThermoChemModel, WithoutAcidOrWithWaterTheMixtureStaysAtTwentyDegrees)
{
    Model m;
    m.SetAcidAdded(0.05f);
    EXPECT_EQ(m.MixTemp, 20.0f) << "less than a drop";
    m.AcidConc = 0;
    EXPECT_EQ(m.TemperatureRise(), 0.0f);
    double sum = 0, squares = 0;
    const int n = 400;
    for (int i = 1; i <= n; ++i) {
        m.SetAcidAdded(0.1f * float(i));
        sum += m.MixTemp - 20;
        squares += (m.MixTemp - 20) * (m.MixTemp - 20);
    }
    EXPECT_NEAR(sum / n, 0, 0.1);
    EXPECT_NEAR(std::sqrt(squares / n), 0.5, 0.1) << "the reading's scatter";
}

TEST(ThermoChemModel, OnlyANewVolumeDrawsANewReading)
{
    SetRandomState(3);
    Model m;
    m.SetAcidAdded(20);
    const float reading = m.MixTemp;
    EXPECT_NEAR(reading, 26.79f, 2.5f);
    const std::uint32_t state = RandomState();
    m.SetAcidAdded(20);
    EXPECT_EQ(m.MixTemp, reading);
    EXPECT_EQ(RandomState(), state) << "nothing drawn";
    m.SetAcidAdded(20.1f);
    EXPECT_NE(m.MixTemp, reading);
    m.SetAcidAdded(0);
    EXPECT_EQ(m.MixTemp, 20.0f);
}

TEST(ThermoChemModel, NewSettingsActFromTheNextVolume)
{
    Model m;
    m.SetAcidAdded(20);
    const float reading = m.MixTemp;
    m.AcidConc = 2;
    EXPECT_EQ(m.MixTemp, reading);
    EXPECT_NEAR(m.TemperatureRise(), 20 * 57 / (40 * 4.2f), 1e-4f) << "the alkali still limits";
    m.BaseVolume = 50;
    EXPECT_NEAR(m.TemperatureRise(), 40 * 57 / (70 * 4.2f), 1e-4f) << "now the acid limits";
}

// --- the form ------------------------------------------------------------------

class ThermoChemForm : public test::FormHostTest<TThermoChemFrm> {
protected:
    ThermoChemForm() : FormHostTest(QSize(800, 620)) {}

    // Light-blue stream pixels between the jet and the beaker.
    int StreamPixels(const QImage& picture) const
    {
        const float s = form->Scale();
        int n = 0;
        for (int y = Round(83 * s); y < Round(86 * s); ++y)
            for (int x = Round(6.3f * s); x < Round(6.7f * s); ++x)
                n += picture.pixel(x, y) == 0xFFD6EAFFu ? 1 : 0;
        return n;
    }
    // The picture's digital display box, orange.
    bool ShowsDigitalThermometer(const QImage& picture) const
    {
        const float s = form->Scale();
        return picture.pixel(Round(34 * s), Round(96 * s)) == 0xFFFF8000u;
    }
};

TEST_F(ThermoChemForm, TheTapRunsOnlyWhileTheBarMovesTowardsMoreAcid)
{
    QScrollBar* bar = form->VolumeHsb;
    EXPECT_EQ(bar->orientation(), Qt::Vertical);
    EXPECT_EQ(bar->maximum(), 500);
    EXPECT_EQ(bar->toolTip(), QStringLiteral("Add or remove acid from the burette"));
    EXPECT_EQ(form->MixTemp(), 20.0f);
    EXPECT_EQ(StreamPixels(Picture()), 0);

    test::DragSlider(bar, {100, 200}, false);
    ASSERT_GT(bar->value(), 150);
    EXPECT_TRUE(form->AcidFlowing());
    EXPECT_FLOAT_EQ(form->Model().AcidAdded, float(bar->value()) * 0.1f);
    const QImage running = Picture();
    test::SavePicture(running, QStringLiteral("thermochem-running"));
    EXPECT_GT(StreamPixels(running), 0);
    EXPECT_NEAR(form->MixTemp(), 20 + form->Model().TemperatureRise(), 2.5f);

    test::MouseRelease(bar, QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_FALSE(form->AcidFlowing()) << "let go: the tap closes";
    EXPECT_EQ(StreamPixels(Picture()), 0);

    const float added = form->Model().AcidAdded;
    test::DragSlider(bar, {bar->value() - 50}, false);
    EXPECT_FALSE(form->AcidFlowing()) << "acid taken back";
    EXPECT_LT(form->Model().AcidAdded, added);
    test::MouseRelease(bar, QPoint(0, 0));
    QApplication::processEvents();
}

TEST_F(ThermoChemForm, AScrollToTheCurrentVolumeKeepsTheReading)
{
    QScrollBar* bar = form->VolumeHsb;
    test::DragSlider(bar, {120});
    const float reading = form->MixTemp();
    const float added = form->Model().AcidAdded;
    EXPECT_NE(reading, 20.0f);
    // A press and release on the slider that does not move it.
    test::DragSlider(bar, {});
    EXPECT_EQ(form->MixTemp(), reading);
    EXPECT_EQ(form->Model().AcidAdded, added);
    // One step on and back: each new volume has a scatter of its own.
    test::KeyPress(bar, Qt::Key_Down);
    EXPECT_FLOAT_EQ(form->Model().AcidAdded, added + 0.1f);
    EXPECT_TRUE(form->AcidFlowing());
    test::KeyRelease(bar, Qt::Key_Down);
    EXPECT_FALSE(form->AcidFlowing());
}

TEST_F(ThermoChemForm, RefillingTheBuretteStartsAgainAtTwentyDegrees)
{
    form->SAbtn->setChecked(true);
    test::DragSlider(form->VolumeHsb, {100});
    EXPECT_TRUE(form->Model().Sulphuric) << "the acid is read when the volume changes";
    EXPECT_NEAR(form->Model().TemperatureRise(), 9.05f, 0.01f);
    form->ResetBtn->click();
    EXPECT_EQ(form->Model().AcidAdded, 0.0f);
    EXPECT_EQ(form->MixTemp(), 20.0f);
    EXPECT_EQ(form->VolumeHsb->value(), 0);
    EXPECT_EQ(form->ResetBtn->text(), QStringLiteral("Refill burette"));
}

TEST_F(ThermoChemForm, TheAlkaliSettingsActOnTheBeakerAtOnceAndOnTheReadingNext)
{
    test::DragSlider(form->VolumeHsb, {100});
    const float reading = form->MixTemp();
    const float s = form->Scale();
    const int level20 = Round((98 - (10 + 20) * 0.14f) * s);
    const int level50 = Round((98 - (10 + 50) * 0.14f) * s);
    const QImage before = Picture();
    form->BaseVolumeSE->setValue(50);
    form->BaseConcSE->setValue(2);
    form->AcidConcSE->setValue(0.5);
    EXPECT_EQ(form->MixTemp(), reading) << "not recomputed";
    EXPECT_FLOAT_EQ(form->Model().BaseVolume, 50);
    EXPECT_FLOAT_EQ(form->Model().BaseConc, 2);
    EXPECT_FLOAT_EQ(form->Model().AcidConc, 0.5f);
    const QImage after = Picture();
    const int x = Round(4 * s);  // inside the beaker, left of the stream and probe
    EXPECT_EQ(before.pixel(x, level50 + 2), 0xFFFFFFFFu);
    EXPECT_EQ(after.pixel(x, level50 + 2), 0xFFD6EAFFu) << "the liquid rose";
    EXPECT_EQ(after.pixel(x, level20 + 2), 0xFFD6EAFFu);
}

TEST_F(ThermoChemForm, TheDigitalThermometerReadsToATenthOfADegree)
{
    EXPECT_TRUE(form->ThermoBtn->isChecked());
    EXPECT_FALSE(ShowsDigitalThermometer(Picture()));
    form->DigitalBtn->setChecked(true);
    const QImage zero = Picture();
    test::SavePicture(zero, QStringLiteral("thermochem-digital"));
    EXPECT_TRUE(ShowsDigitalThermometer(zero));
    test::DragSlider(form->VolumeHsb, {200});
    const QImage warm = Picture();
    const float s = form->Scale();
    const QRect window(QPoint(Round(26 * s), Round(85 * s)), QPoint(Round(42 * s), Round(89 * s)));
    EXPECT_NE(zero.copy(window), warm.copy(window)) << "20.0 ºC became " << form->MixTemp();
    form->ThermoBtn->setChecked(true);
    EXPECT_FALSE(ShowsDigitalThermometer(Picture()));
}

TEST_F(ThermoChemForm, ThePanelsNeitherCloseNorLeaveTheirDock)
{
    const std::vector<std::pair<TToolPanel*, QString>> panels{
        {form->AcidDP, QStringLiteral("Acids")},
        {form->BaseDP, QStringLiteral("Alkali (NaOH)")},
        {form->ApparatusDP, QStringLiteral("Apparatus")}};
    test::SavePicture(form->grab().toImage(), QStringLiteral("thermochem-form"));
    for (const auto& [panel, title] : panels) {
        SCOPED_TRACE(title.toStdString());
        EXPECT_EQ(panel->windowTitle(), title);
        EXPECT_FALSE(panel->features() & QDockWidget::DockWidgetClosable);
        EXPECT_FALSE(panel->features() & QDockWidget::DockWidgetFloatable);
        EXPECT_FALSE(panel->close()) << "the close is refused";
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(form->LeftDock->dockWidgetArea(panel), Qt::LeftDockWidgetArea);

        // Dragged by its title bar far out of the form, and let go.
        const QPoint grip(panel->width() / 2, 6);
        test::MousePress(panel, grip);
        for (int step = 1; step <= 10; ++step)
            test::MouseMove(panel, grip + QPoint(60 * step, 40 * step), Qt::LeftButton);
        test::MouseRelease(panel, grip + QPoint(600, 400));
        QApplication::processEvents();
        EXPECT_FALSE(panel->isFloating());
        EXPECT_EQ(form->LeftDock->dockWidgetArea(panel), Qt::LeftDockWidgetArea);
        EXPECT_TRUE(panel->isVisible());
    }

    form->ShowToolPanels(false);
    for (const auto& [panel, title] : panels)
        EXPECT_FALSE(panel->isVisible()) << title.toStdString();
    form->ShowToolPanels(true);
    for (const auto& [panel, title] : panels)
        EXPECT_TRUE(panel->isVisible()) << title.toStdString();
}

TEST_F(ThermoChemForm, LargeButtonsWidenTheDockWithoutScalingByTheScreen)
{
    EXPECT_EQ(form->LeftDock->width(), 173);
    SetScreenDpiOverride(120);
    form->SetLargeButtons(false);
    EXPECT_EQ(form->LeftDock->width(), 173) << "the flag did not change";
    form->SetLargeButtons(true);
    QApplication::processEvents();
    test::SavePicture(form->grab().toImage(), QStringLiteral("thermochem-form-large"));
    EXPECT_EQ(form->LeftDock->width(), 240);
    EXPECT_EQ(form->ResetBtn->width(), 150);
    EXPECT_EQ(form->AcidConcSE->width(), 200);
    EXPECT_EQ(form->BaseVolumeSE->width(), 200);
    EXPECT_EQ(form->AcidDP->font().pointSize(), 12);
    form->SetLargeButtons(false);
    EXPECT_EQ(form->LeftDock->width(), 170);
    EXPECT_EQ(form->ResetBtn->width(), 130);
    // Never narrower than its text needs in the desktop's font.
    EXPECT_EQ(form->BaseConcSE->width(), std::max(130, form->BaseConcSE->sizeHint().width()));
    EXPECT_GE(form->BaseConcSE->width(), 130);
    EXPECT_EQ(form->ApparatusDP->font().pointSize(), 8);
}

// The main window hosts this form without a toolbar: every rule of the
// host — toolbars moved, split changed, large buttons — reaches its panels.
TEST(ThermoChemHosted, TheHostsRulesReachThePanels)
{
    RegisterExperiments();
    QMainWindow window;
    window.resize(1000, 700);
    auto* pane = new QWidget;
    window.setCentralWidget(pane);
    auto* lessonToolbar = new QToolBar(QStringLiteral("HTMLToolbar"));
    window.addToolBar(Qt::TopToolBarArea, lessonToolbar);
    bool top = true, large = false;
    TExperimentHost::Parts parts;
    parts.window = &window;
    parts.leftPane = pane;
    parts.htmlToolbar = lessonToolbar;
    parts.toolbarsAtTop = [&] { return top; };
    parts.largeButtons = [&] { return large; };
    TExperimentHost host(parts);
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();

    host.ShowExperiment(ids::ThermoChem);
    auto* form = qobject_cast<TThermoChemFrm*>(host.CurrentForm());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Toolbar(), nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(window.findChildren<QToolBar*>(), QList<QToolBar*>{lessonToolbar}) << "nothing docked";

    top = false;
    window.addToolBar(Qt::BottomToolBarArea, lessonToolbar);
    host.ToolbarsMoved();
    EXPECT_EQ(form->LeftDock->dockWidgetArea(form->AcidDP), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(form->AcidDP->isVisible());

    host.SplitChanged(false);
    EXPECT_TRUE(form->AcidDP->isHidden());
    EXPECT_TRUE(form->ApparatusDP->isHidden());
    host.SplitChanged(true);
    EXPECT_FALSE(form->BaseDP->isHidden());

    large = true;
    host.LargeButtonsToggled();
    EXPECT_EQ(form->LeftDock->width(), 240);
    large = false;
    host.LargeButtonsToggled();
    EXPECT_EQ(form->LeftDock->width(), 170);

    host.ReleaseExperiments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(host.CurrentForm(), nullptr);
}

}  // namespace
}  // namespace brv
