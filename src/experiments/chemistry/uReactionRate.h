// The reaction-rate particle model: 100 red reactant particles that turn
// blue when two of them collide hard enough.  Start and Stop run and freeze
// them, Reset (when stopped) puts them back as reactant on the grid with new
// random speeds, and the high temperature doubles every speed at once.  The
// three lesson pages that show it each build it afresh.
#pragma once

#include "experiments/chemistry/uParticleForm.h"
#include "experiments/chemistry/uReactionRateModel.h"
#include "runtime/Catalogue.h"

namespace brv {

// Its ids in the catalogue: the same form from three lesson pages.
namespace ids {
inline constexpr ExperimentId ReactionRate = 17;
inline constexpr ExperimentId ReactionRateMarble = 22;
inline constexpr ExperimentId ReactionRatePeroxide = 23;
}  // namespace ids

class TReactRateFrm : public TParticleForm {
    Q_OBJECT
public:
    explicit TReactRateFrm(QWidget* parent = nullptr);
    ~TReactRateFrm() override;

    const TReactionRateModel& Model() const { return model_; }

private:
    void Place() override { model_.Place(); }
    void Advance(double seconds) override { model_.Advance(seconds); }
    void SetHighTemperature(bool high) override { model_.SetHighTemperature(high); }
    void ResetRun() override { PlaceAndSettle(); }

    TReactionRateModel model_;
};

}  // namespace brv
