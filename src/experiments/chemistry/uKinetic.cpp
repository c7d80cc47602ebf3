#include "experiments/chemistry/uKinetic.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/chemistry/uParticleFormStrings.h"

#include <QAction>

namespace brv {

TKTFrm::TKTFrm(QWidget* parent) : TParticleForm(parent)
{
    setWindowTitle(str::sKineticCaption());
    // Start and Stop only: a stopped run simply starts again.
    SetButtonTable(
        {{{true, false, false}, {false, true, false}, {true, false, false}, {true, false, false}}});
    // Neither temperature button starts checked; the model starts low.
    CreateParticleForm(model_.Box, {}, false);
    Buttons.ResetBtn->setVisible(false);
}

TKTFrm::~TKTFrm() = default;

namespace {

const bool kRow =
    DeclareExperiment<TKTFrm>({ids::Kinetic, TSubject::Chemistry, "MOLECULE.HTM", TPages::Single});

}  // namespace

}  // namespace brv
