#include "experiments/ExperimentCatalogue.h"

#include "experiments/physics/uBall.h"
#include "experiments/physics/uTerminalVelocity.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"

namespace brv {

namespace {

template <class Form>
TCatalogueEntry Row(ExperimentId id, const char* formClass, TLargeButtonsCall order, const char* mainPage,
                    const QString& menuCaption)
{
    TCatalogueEntry e;
    e.id = id;
    e.formClass = QString::fromLatin1(formClass);
    e.create = [] { return new Form; };
    e.largeButtons = order;
    e.mainPage = QString::fromLatin1(mainPage);
    e.menuCaption = menuCaption;
    return e;
}

}  // namespace

void RegisterExperiments()
{
    using enum TLargeButtonsCall;
    TCatalogue& c = TCatalogue::Instance();
    c.Register(Row<TBallFrm>(1, "TBallFrm", BeforeShow, "BALL.HTM", str::sBallCaption()));
    c.Register(Row<TVelocityFrm>(11, "TVelocityFrm", AfterShow, "TERMVEL.HTM", str::sTermVelCaption()));
}

}  // namespace brv
