// Hydrogen peroxide decomposing on a solid catalyst, followed by the oxygen
// it gives off.
//
//     2 H2O2 → 2 H2O + O2
//
// First-order decay of the peroxide with an Arrhenius rate constant that
// grows with the catalyst's surface, its mass m (g) over its particle size
// d (mm):
//     A = 1.17 × 10⁷ · m / d                        s⁻¹
//     k = A · exp(−59 400 / ((T + 273) · 8.314))    activation energy 59.4 kJ/mol
//     τ = t + U,   U uniform in [0, 1), drawn at every reading
//     volume = (1 − e^(−k·τ)) · F · 11.2 · V · C    cm³
// V cm³ of C M peroxide give 11.2·V·C cm³ of oxygen at completion (half a
// mole of O2 per mole of peroxide, 22 400 cm³ per mole, its volume at 0 ºC);
// F is the run's gas factor.  Single precision; t = 0 gives no gas, and an
// arithmetic fault gives 0 rather than an error.
//
// Defaults (20 ºC, 25 cm³ of 1 M, 0.5 g of 0.5 mm grains): k = 3.0 × 10⁻⁴ s⁻¹
// (half-life about 38 minutes), about 46 cm³ after 10 minutes and 185 cm³
// after an hour; at 40 ºC k = 1.4 × 10⁻³ s⁻¹.  Halving the particle size
// doubles k, as doubling the mass does.
#pragma once

namespace brv {

struct TPeroxideModel {
    static constexpr float OxygenPerCm3Molar = 11.2f;     // cm³ of O2 per cm³ of 1 M peroxide
    static constexpr int MinVolume = 1, MaxVolume = 100;  // cm³ of solution

    int Temperature = 20;       // T, ºC
    int PeroxideVolume = 25;    // V, cm³
    float PeroxideConc = 1.0f;  // C, mol/dm³
    float CatalystMass = 0.5f;  // m, g
    float ParticleSize = 0.5f;  // d, mm
    float GasFactor = 1;        // F, this run's scatter

    // k, per second.
    float RateConstant() const;
    // Oxygen given off after t seconds, read with the fraction of a second u.
    float VolumeAt(int t, float u) const;
    // The same with a fresh u.
    float VolumeAt(int t) const;
    // Oxygen given off once all the peroxide has decomposed.
    float FinalVolume() const;

    // A fresh gas factor: Gaussian, mean 1, standard deviation 0.05.
    static float NewGasFactor();
};

}  // namespace brv
