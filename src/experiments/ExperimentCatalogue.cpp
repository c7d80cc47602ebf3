#include "experiments/ExperimentCatalogue.h"

#include "experiments/biology/uAmylase.h"
#include "experiments/biology/uPhotosynthesis.h"
#include "experiments/biology/uYeast.h"
#include "experiments/chemistry/uCaCarb.h"
#include "experiments/chemistry/uKinetic.h"
#include "experiments/chemistry/uPeroxide.h"
#include "experiments/chemistry/uReactionRate.h"
#include "experiments/chemistry/uThermoChem.h"
#include "experiments/physics/uBall.h"
#include "experiments/physics/uCar.h"
#include "experiments/physics/uEMagnet.h"
#include "experiments/physics/uESpring.h"
#include "experiments/physics/uExpansion.h"
#include "experiments/physics/uFriction.h"
#include "experiments/physics/uHeating.h"
#include "experiments/physics/uReswire.h"
#include "experiments/physics/uTerminalVelocity.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"

namespace brv {

namespace {

using enum TLargeButtonsCall;
using enum TPages;

}  // namespace

void RegisterExperiments()
{
    TCatalogue& c = TCatalogue::Instance();
    // Menu positions: biology, chemistry, then physics, as the menu lists them.
    c.Register(Row<TAmylaseFrm>(ids::Amylase, BeforeShow, "AMYLASE.HTM", Family, str::sAmylaseCaption(), 0));
    c.Register(Row<TPhotoFrm>(ids::Photo, AfterShow, "PHOTOSYN.HTM", Family, str::sPhotoCaption(), 1));
    c.Register(Row<TYeastFrm>(ids::Yeast, BeforeShow, "YEAST.HTM", Family, str::sYeastCaption(), 2));
    c.Register(Row<TCaCarbFrm>(ids::CaCarb, BeforeShow, "CAHCL.HTM", Family, str::sCaCarbCaption(), 3));
    c.Register(
        Row<TPeroxideFrm>(ids::Peroxide, BeforeShow, "CHEMRATE.HTM", Family, str::sPeroxideCaption(), 4));
    c.Register(Row<TThermoChemFrm>(ids::ThermoChem, AfterShow, "THERMCHEM.HTM", Family,
                                   str::sThermoChemCaption(), 5));
    // The particle models have no menu item.
    c.Register(Row<TKTFrm>(ids::Kinetic, AfterShow, "MOLECULE.HTM", Single, QString(), -1));
    c.Register(Row<TReactRateFrm>(ids::ReactRate, AfterShow, "REACTION_RATES.HTM", Single, QString(), -1));
    c.Register(Row<TReactRateFrm>(ids::ReactRateMarble, AfterShow, "CAHCLINFO.HTM", Single, QString(), -1));
    c.Register(Row<TReactRateFrm>(ids::ReactRatePeroxide, AfterShow, "HCATINFO.HTM", Single, QString(), -1));
    c.Register(Row<TBallFrm>(ids::Ball, BeforeShow, "BALL.HTM", Family, str::sBallCaption(), 6));
    c.Register(Row<TCarFrm>(ids::Car, BeforeShow, "CAR.HTM", Family, str::sCarCaption(), 7));
    c.Register(Row<TSpringFrm>(ids::Spring, BeforeShow, "SPRING.HTM", Family, str::sSpringCaption(), 8));
    c.Register(
        Row<TExpansionFrm>(ids::Expansion, AfterShow, "CHARLES.HTM", Family, str::sExpansionCaption(), 9));
    c.Register(
        Row<TFrictionFrm>(ids::Friction, AfterShow, "FRICTION.HTM", Family, str::sFrictionCaption(), 10));
    c.Register(Row<THECFrm>(ids::Heating, AfterShow, "HEATING.HTM", Family, str::sHeatingCaption(), 11));
    c.Register(
        Row<TReswireFrm>(ids::Reswire, AfterShow, "RESISTANCE.HTM", Family, str::sReswireCaption(), 12));
    c.Register(Row<TEMagnetFrm>(ids::EMagnet, BeforeShow, "EMAGNET.HTM", Family, str::sEMagnetCaption(), 13));
    c.Register(Row<TVelocityFrm>(ids::TerminalVelocity, AfterShow, "TERMVEL.HTM", Family,
                                 str::sTerminalVelocityCaption(), 14));
}

}  // namespace brv
