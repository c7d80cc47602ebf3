#include "experiments/ResultsTables.h"

#include "experiments/biology/uAmylase.h"
#include "experiments/biology/uPhotosynthesis.h"
#include "experiments/biology/uYeast.h"
#include "experiments/chemistry/uCaCarb.h"
#include "experiments/chemistry/uPeroxide.h"
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

namespace brv {

TResultsVariable Setting(const QString& key, const QString& name, const QString& unit, const QString& control,
                         double scale, int decimals)
{
    TResultsVariable v;
    v.key = key;
    v.name = name;
    v.unit = unit;
    v.control = {control, scale};
    v.min = 0;
    v.max = 1e6;
    v.decimals = decimals;
    return v;
}

TResultsVariable Reading(const QString& key, const QString& name, const QString& unit, double min, double max,
                         int decimals)
{
    TResultsVariable v;
    v.key = key;
    v.name = name;
    v.unit = unit;
    v.min = min;
    v.max = max;
    v.decimals = decimals;
    return v;
}

void RegisterResultsTables()
{
    TResultsTables& t = TResultsTables::Instance();
    t.Register(ids::Amylase, AmylaseTables);
    t.Register(ids::Photosynthesis, PhotoTables);
    t.Register(ids::Yeast, YeastTables);
    t.Register(ids::CaCarb, CaCarbTables);
    t.Register(ids::Peroxide, PeroxideTables);
    t.Register(ids::ThermoChem, ThermoChemTables);
    t.Register(ids::Ball, BallTables);
    t.Register(ids::Car, CarTables);
    t.Register(ids::ESpring, SpringTables);
    t.Register(ids::Expansion, ExpansionTables);
    t.Register(ids::Friction, FrictionTables);
    t.Register(ids::Heating, HeatingTables);
    t.Register(ids::Reswire, ReswireTables);
    t.Register(ids::EMagnet, EMagnetTables);
    t.Register(ids::TerminalVelocity, TerminalVelocityTables);
}

}  // namespace brv
