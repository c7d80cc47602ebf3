#include "experiments/chemistry/uReactionRate.h"

#include "runtime/BRV_StrConstants.h"

namespace brv {

TReactRateFrm::TReactRateFrm(QWidget* parent) : TParticleForm(parent)
{
    setWindowTitle(str::sReactRateCaption());
    CreateParticleForm(model_.Box, {str::sParticleLowCaption(), str::sParticleHighCaption()}, true);
}

TReactRateFrm::~TReactRateFrm() = default;

}  // namespace brv
