// Calcium carbonate dissolving in hydrochloric acid, followed by the carbon
// dioxide it gives off.
//
//     CaCO3 + 2 HCl → CaCl2 + H2O + CO2
//
// With m g of carbonate (100 g/mol) and V cm³ of C M acid, the flask holds
//     a = 0.01·m            mol of carbonate,
//     b = 0.0005·V·C        mol of carbonate the acid can dissolve,
// and x mol have reacted after τ seconds, by second-order kinetics
//     dx/dt = k·(a − x)·(b − x),   k = 10 / V,   x(0) = 0,
// whose solution, with d = a − b and z = k·τ·d, is
//     x = a·b·(e^z − 1) / (a·e^z − b)  =  a·b·q / (a·q + 1),
//     q = (e^z − 1) / d = k·τ·expm1(z) / z      (q = k·τ when z = 0).
// The second form needs no separate case for equal amounts: expm1(z) / z is
// exact to rounding however small z is, so neighbouring settings give
// neighbouring volumes even where a and b differ by rounding alone.  As τ
// grows x tends to the smaller of a and b.  All of this is in double
// precision; τ below 0 (the time jitter at t = 1 s) counts as no time.
//
// The gas given off is G = F·22 400·x cm³ (a mole of gas at 0 ºC), F the
// run's gas factor.  The inverted burette holds 50 cm³; what it cannot hold
// escapes round its mouth.  The balance loses the carbon dioxide that leaves
// the flask, all of it, 44 g per 22 400 cm³:
//     M = 100 + V + m − 44·G / 22 400  g
// (a 100 g flask, acid of 1 g/cm³, the carbonate).
//
// Without acid (V = 0) or carbonate nothing reacts: no gas, and the reaction
// counts as done as soon as t > 0.
//
// Defaults (1 g, 25 cm³ of 0.5 M acid, F = 1): the acid is limiting, about
// 28 cm³ after a minute, the burette full after about two, 140 cm³ in all.
#pragma once

namespace brv {

struct TCaCarbModel {
    static constexpr double MolarGasVolume = 22400;  // cm³ per mol
    static constexpr float BuretteVolume = 50;       // cm³
    static constexpr double DoneWithin = 1e-6;       // mol

    int AcidVolume = 25;         // V, cm³
    float AcidConc = 0.5f;       // C, mol/dm³
    float CarbonateMass = 1.0f;  // m, g
    float GasFactor = 1;         // F, this run's scatter

    // The state at one time t (whole seconds) read with a jitter of N seconds.
    struct TReading {
        // False at t = 0, where nothing is evaluated: the form keeps its
        // signs of overflow and completion as they were.
        bool Evaluated = false;
        double Reacted = 0;  // x, mol
        float GasGiven = 0;  // cm³ given off in all, never below 0
        float GasShown = 0;  // cm³ in the burette, 0..50
        bool Done = false;   // the limiting reactant is used up
    };
    TReading At(int t, double jitter) const;
    // The same with a fresh jitter, drawn only when the reaction is evaluated.
    TReading At(int t) const;

    double CarbonateMoles() const { return 0.01 * double(CarbonateMass); }
    double AcidCapacityMoles() const { return 0.0005 * double(AcidVolume) * double(AcidConc); }
    double RateConstant() const { return 10.0 / double(AcidVolume); }

    // The balance reading, g, with gasGiven cm³ gone from the flask.
    float BalanceReading(float gasGiven) const;

    // x after tau seconds for amounts a, b and rate constant k.
    static double Reacted(double a, double b, double k, double tau);
    // Height of the trough's water above its bottom, scene units.
    static float TroughLevel(float gasShown) { return 7.5f + 0.23f * gasShown; }
    // A fresh gas factor: Gaussian, mean 1, standard deviation 0.1.
    static float NewGasFactor();
    // The time's jitter for one evaluation: Gaussian, mean 0, 1 s.
    static double NewJitter();
};

}  // namespace brv
