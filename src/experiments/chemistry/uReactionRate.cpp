#include "experiments/chemistry/uReactionRate.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/chemistry/uParticleFormStrings.h"

namespace brv {

TReactRateFrm::TReactRateFrm(QWidget* parent) : TParticleForm(parent)
{
    setWindowTitle(str::sReactionRateCaption());
    CreateParticleForm(model_.Box, {str::sParticleLowCaption(), str::sParticleHighCaption()}, true);
}

TReactRateFrm::~TReactRateFrm() = default;

namespace {

// The three pages of the reaction-rate model each create the form afresh.
const bool kRow = DeclareExperiment<TReactRateFrm>(
    {ids::ReactionRate, TSubject::Chemistry, "REACTION_RATES.HTM", TPages::Single});
const bool kMarbleRow = DeclareExperiment<TReactRateFrm>(
    {ids::ReactionRateMarble, TSubject::Chemistry, "CAHCLINFO.HTM", TPages::Single});
const bool kPeroxideRow = DeclareExperiment<TReactRateFrm>(
    {ids::ReactionRatePeroxide, TSubject::Chemistry, "HCATINFO.HTM", TPages::Single});

}  // namespace

}  // namespace brv
