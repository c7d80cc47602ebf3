// The kinetic-theory particle model: a box of 100 particles that Start sets
// moving and Stop freezes; the low and high temperatures make them move 50 or
// 200 pixels a second.
#pragma once

#include "experiments/chemistry/uKineticModel.h"
#include "experiments/chemistry/uParticleForm.h"
#include "runtime/Catalogue.h"

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Kinetic = 16;
}  // namespace ids

class TKTFrm : public TParticleForm {
    Q_OBJECT
public:
    explicit TKTFrm(QWidget* parent = nullptr);
    ~TKTFrm() override;

    const TKineticModel& Model() const { return model_; }

private:
    void Place() override { model_.Place(); }
    void Advance(double seconds) override { model_.Advance(seconds); }
    void SetHighTemperature(bool high) override { model_.SetHighTemperature(high); }
    // There is no Reset button: a resize puts the particles back instead.
    void ResetRun() override {}

    TKineticModel model_;
};

}  // namespace brv
