// Water warmed by an immersion heater, in a beaker with or without lagging.
//
// The heater of resistance R on V volts turns V²/R watts into heat in m grams
// of water (specific heat capacity 4.2 J/(g K)), so the water first warms at
//     a = V² / (m × 4.2 × R)                        kelvin per second.
// Lagged, nothing is lost and the rise is steady:
//     T = 20 + a t
// Without lagging the water loses heat to the room faster the hotter it gets;
// it tends to 100 ºC with the same starting rate:
//     T = 20 + 80 (1 − e^(−(a / 80) t))
// Nothing gets hotter than 100 ºC: the water boils.  6 V on 5 Ω in 50 g warms
// at 0.0343 K/s, to 40.6 ºC after 600 s lagged, 38.1 ºC without.
//
// The heater's real resistance differs from its label by a Gaussian error of
// 0.5 Ω, drawn afresh for every run (when the time returns to 0); each reading
// taken while the time moves scatters by 0.5 ºC, and the thermometer, whose
// scale ends at 100 ºC, shows no more than that.
#pragma once

namespace brv {

struct THeatingModel {
    static constexpr float RoomTemperature = 20.0f;  // ºC, start and surroundings
    static constexpr float Boiling = 100.0f;         // ºC
    static constexpr float SpecificHeat = 4.2f;      // J per g per K
    static constexpr float HeaterScatter = 0.5f;     // Ω, standard deviation
    static constexpr float ReadingScatter = 0.5f;    // ºC, standard deviation

    int Voltage = 6;             // V
    int Mass = 50;               // g of water
    int SetResistance = 5;       // Ω, the heater's label
    float HeaterResistance = 5;  // Ω, the heater's real resistance
    bool Insulated = false;      // lagged beaker
    int ElapsedTime = 0;         // s
    float ShownTemp = 20;        // ºC, what the thermometers show

    // Kelvin per second at the start; 0 for a heater without resistance
    // (a scatter far below zero), which would otherwise cool the water.
    float HeatingRate() const;
    // The water's temperature after ElapsedTime, without scatter.
    float WaterTemperature() const;
    // A fresh heater: the label value with its Gaussian error.
    void NewHeater();
    // The thermometers show the water's temperature exactly...
    void ReadExactly();
    // ...or, when a reading is taken by moving the time, with its scatter,
    // never above the top of the thermometer's scale.
    void ReadWithScatter();
    // The ammeter's current on the label resistance, in amperes.
    float Current() const;
};

}  // namespace brv
