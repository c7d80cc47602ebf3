#include "experiments/ExperimentCatalogue.h"

#include "experiments/physics/uBall.h"
#include "experiments/physics/uEMagnet.h"
#include "experiments/physics/uExpansion.h"
#include "experiments/physics/uHeating.h"
#include "experiments/physics/uReswire.h"
#include "experiments/physics/uTerminalVelocity.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"

namespace brv {

namespace {

using enum TLargeButtonsCall;
using enum TPages;

// An experiment of this build: the form the id creates, and where the menu
// and the lesson book find it.
template <class Form>
TCatalogueEntry Row(ExperimentId id, TLargeButtonsCall order, const char* mainPage, TPages pages,
                    const QString& menuCaption, int menuPosition)
{
    TCatalogueEntry e;
    e.id = id;
    e.create = [] { return new Form; };
    e.largeButtons = order;
    e.mainPage = QString::fromLatin1(mainPage);
    e.pages = pages;
    e.menuCaption = menuCaption;
    e.menuPosition = menuPosition;
    return e;
}

// An experiment whose form is not part of this build yet: its pages lead to
// its id all the same, which shows an empty pane, and it has no menu item.
TCatalogueEntry Planned(ExperimentId id, TLargeButtonsCall order, const char* mainPage, TPages pages,
                        int menuPosition = -1)
{
    TCatalogueEntry e;
    e.id = id;
    e.largeButtons = order;
    e.mainPage = QString::fromLatin1(mainPage);
    e.pages = pages;
    e.menuPosition = menuPosition;
    return e;
}

}  // namespace

void RegisterExperiments()
{
    TCatalogue& c = TCatalogue::Instance();
    // Menu positions: biology, chemistry, then physics, as the menu lists them.
    c.Register(Planned(ids::Amylase, BeforeShow, "AMYLASE.HTM", Family, 0));
    c.Register(Planned(ids::Photo, AfterShow, "PHOTOSYN.HTM", Family, 1));
    c.Register(Planned(ids::Yeast, BeforeShow, "YEAST.HTM", Family, 2));
    c.Register(Planned(ids::CaCarb, BeforeShow, "CAHCL.HTM", Family, 3));
    c.Register(Planned(ids::Peroxide, BeforeShow, "CHEMRATE.HTM", Family, 4));
    c.Register(Planned(ids::ThermoChem, AfterShow, "THERMCHEM.HTM", Family, 5));
    c.Register(Planned(ids::Kinetic, AfterShow, "MOLECULE.HTM", Single));            // no menu item
    c.Register(Planned(ids::ReactRate, AfterShow, "REACTION_RATES.HTM", Single));    // no menu item
    c.Register(Planned(ids::ReactRateMarble, AfterShow, "CAHCLINFO.HTM", Single));   // no menu item
    c.Register(Planned(ids::ReactRatePeroxide, AfterShow, "HCATINFO.HTM", Single));  // no menu item
    c.Register(Row<TBallFrm>(ids::Ball, BeforeShow, "BALL.HTM", Family, str::sBallCaption(), 6));
    c.Register(Planned(ids::Car, BeforeShow, "CAR.HTM", Family, 7));
    c.Register(Planned(ids::Spring, BeforeShow, "SPRING.HTM", Family, 8));
    c.Register(
        Row<TExpansionFrm>(ids::Expansion, AfterShow, "CHARLES.HTM", Family, str::sExpansionCaption(), 9));
    c.Register(Planned(ids::Friction, AfterShow, "FRICTION.HTM", Family, 10));
    c.Register(Row<THECFrm>(ids::Heating, AfterShow, "HEATING.HTM", Family, str::sHeatingCaption(), 11));
    c.Register(
        Row<TReswireFrm>(ids::Reswire, AfterShow, "RESISTANCE.HTM", Family, str::sReswireCaption(), 12));
    c.Register(Row<TEMagnetFrm>(ids::EMagnet, BeforeShow, "EMAGNET.HTM", Family, str::sEMagnetCaption(), 13));
    c.Register(
        Row<TVelocityFrm>(ids::Velocity, AfterShow, "TERMVEL.HTM", Family, str::sTermVelCaption(), 14));
}

}  // namespace brv
