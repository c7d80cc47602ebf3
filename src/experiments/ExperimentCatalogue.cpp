#include "experiments/ExperimentCatalogue.h"

#include "experiments/physics/uBall.h"
#include "experiments/physics/uCar.h"
#include "experiments/physics/uESpring.h"
#include "experiments/physics/uFriction.h"
#include "experiments/physics/uTerminalVelocity.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"

namespace brv {

namespace {

using enum TLargeButtonsCall;
using enum TPages;

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
    c.Register(Row<TCarFrm>(ids::Car, BeforeShow, "CAR.HTM", Family, str::sCarCaption(), 7));
    c.Register(Row<TSpringFrm>(ids::Spring, BeforeShow, "SPRING.HTM", Family, str::sSpringCaption(), 8));
    c.Register(Planned(ids::Expansion, AfterShow, "CHARLES.HTM", Family, 9));
    c.Register(
        Row<TFrictionFrm>(ids::Friction, AfterShow, "FRICTION.HTM", Family, str::sFrictionCaption(), 10));
    c.Register(Planned(ids::Heating, AfterShow, "HEATING.HTM", Family, 11));
    c.Register(Planned(ids::Reswire, AfterShow, "RESISTANCE.HTM", Family, 12));
    c.Register(Planned(ids::EMagnet, BeforeShow, "EMAGNET.HTM", Family, 13));
    c.Register(Row<TVelocityFrm>(ids::TerminalVelocity, AfterShow, "TERMVEL.HTM", Family,
                                 str::sTerminalVelocityCaption(), 14));
}

}  // namespace brv
