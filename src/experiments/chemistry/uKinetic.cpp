#include "experiments/chemistry/uKinetic.h"

#include "runtime/BRV_StrConstants.h"

#include <QAction>

namespace brv {

TKTFrm::TKTFrm(QWidget* parent) : TParticleForm(parent)
{
    setWindowTitle(str::sKTCaption());
    // Start and Stop only: a stopped run simply starts again.
    SetButtonTable(
        {{{true, false, false}, {false, true, false}, {true, false, false}, {true, false, false}}});
    // Neither temperature button starts checked; the model starts low.
    CreateParticleForm(model_.Box, {}, false);
    Buttons.ResetBtn->setVisible(false);
}

TKTFrm::~TKTFrm() = default;

}  // namespace brv
