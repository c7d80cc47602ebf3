// A small results table declaration shared by the notebook's tests: a drop
// height set on a bar, a bounce height read by the pupil, three repeats and
// one control variable.
#pragma once

#include "runtime/ResultsDeclaration.h"

namespace brv::test {

inline TResultsTableDeclaration BallLikeTable()
{
    TResultsTableDeclaration d;
    d.key = QStringLiteral("height");
    d.question = QStringLiteral("Drop height → bounce height");
    d.independent = {QStringLiteral("dropHeight"),
                     QStringLiteral("Drop height"),
                     QStringLiteral("cm"),
                     {QStringLiteral("HeightBar"), 0.1},
                     0,
                     200,
                     1};
    d.dependent = {
        QStringLiteral("bounceHeight"), QStringLiteral("Bounce height"), QStringLiteral("cm"), {}, 0, 100, 1};
    d.repeats = 3;
    d.controls = {{QStringLiteral("temperature"),
                   QStringLiteral("Temperature"),
                   QStringLiteral("ºC"),
                   {QStringLiteral("TemperatureSE"), 1},
                   0,
                   100,
                   0}};
    d.suggested = {20, 40, 60, 80, 100};
    return d;
}

}  // namespace brv::test
