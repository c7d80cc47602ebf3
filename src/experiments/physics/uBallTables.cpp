// The bouncing ball's tables: the two questions of its planning page.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uBall {
    Q_DECLARE_TR_FUNCTIONS(uBall)
};
}  // namespace

std::vector<TResultsTableDeclaration> BallTables()
{
    const QString cm = uBall::tr("cm");
    const TResultsVariable height = Setting("dropHeight", uBall::tr("Drop height"), cm, "BallHsb", 0.1, 1);
    const TResultsVariable temperature =
        Setting("temperature", uBall::tr("Temperature"), uBall::tr("ºC"), "TemperatureSE");
    const TResultsVariable bounce =
        Setting("stopAfterBounce", uBall::tr("Stop after bounce"), {}, "BounceSE");
    const TResultsVariable bounceHeight = Reading("bounceHeight", uBall::tr("Bounce height"), cm, 0, 100, 1);
    return {
        {"height",
         uBall::tr("Drop height → bounce height"),
         height,
         bounceHeight,
         3,
         {temperature, bounce},
         {20, 40, 60, 80, 100}},
        {"temperature",
         uBall::tr("Temperature → bounce height"),
         temperature,
         bounceHeight,
         3,
         {height, bounce},
         {0, 20, 40, 60, 80, 100}},
    };
}

}  // namespace brv
