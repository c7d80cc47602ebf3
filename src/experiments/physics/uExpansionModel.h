// Air trapped in a capillary tube under a short thread of liquid: at
// atmospheric pressure its length follows Charles's law.
//
// m is the "mass" of gas, the column's length in centimetres at 0 ºC; at T ºC
//     L = m × T / 273 + m + ε           cm, never below 0
// with ε a Gaussian scatter of 0.1 cm (the thread sticks a little), drawn
// afresh at every change.  Mass 10 gives 10.73 cm at 20 ºC and 13.66 cm at
// 100 ºC; the line meets zero length at −273 ºC.
#pragma once

namespace brv {

struct TExpansionModel {
    static constexpr float AbsoluteZero = 273.0f;  // ºC below 0
    static constexpr float Scatter = 0.1f;         // cm, standard deviation

    int Mass = 10;         // cm of column at 0 ºC
    int Temperature = 20;  // ºC of the water
    float GasLength = 0;   // cm, the column as last measured

    // The column's length without scatter.
    static float MeanLength(int mass, int temperature);
    // A fresh reading of the column: the mean with its scatter.
    void NewLength();
};

}  // namespace brv
