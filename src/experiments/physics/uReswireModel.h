// The resistance of a length of bare wire, measured with a resistance meter
// or with an ammeter and a voltmeter fed by one to three cells.
//
// A wire of resistivity ρ (Ω m), length L (cm) and diameter d (mm) has
//     R = L × (ρ × 10⁴) / (π × (d / 2)²)              ohms
// (L / 100 metres over a cross-section of π (d / 2000)² square metres), all
// in single precision: copper 50 cm of 0.5 mm is 0.0397 Ω, nichrome 100 cm
// of 0.01 mm is 16 552 Ω.
//
// The resistance meter reads R′ = max(R + N(0, 0.1), 0) + 0.2: a flicker of
// 0.1 Ω and a zero error of 0.2 Ω.  In the ammeter and voltmeter circuit the
// contact adds R′ = R + 0.01 (5 − k), k uniform in 0..10, never below 0, and
// n cells of 1.5 V with 0.5 Ω inside each drive
//     I = 1.5 n / (0.5 n + R′)      V = R′ I
// so a wire of no length on one cell shows 2.73 to 3.00 A.
#pragma once

namespace brv {

enum class TWireMetal { Copper = 0, Nichrome = 1, Constantan = 2 };

struct TReswireModel {
    static constexpr float CellVoltage = 1.5f;          // V
    static constexpr float CellResistance = 0.5f;       // Ω inside each cell
    static constexpr float MeterZeroError = 0.2f;       // Ω
    static constexpr float MeterScatter = 0.1f;         // Ω, standard deviation
    static constexpr float KiloOhmThreshold = 1000.0f;  // Ω: the meter shows kΩ from here
    static constexpr float MaxLength = 100.0f;          // cm, the rule's end

    TWireMetal Metal = TWireMetal::Copper;
    float WireLength = 50;  // cm from the left clamp to the contact
    float Diameter = 0.5f;  // mm
    int Cells = 1;

    static float Resistivity(TWireMetal metal);  // Ω m
    // The wire's resistance between the clamp and the contact, ohms.
    float Resistance() const;
    // A fresh reading of the resistance meter (scatter and zero error).
    float MeterResistance() const;
    // A fresh resistance of the circuit's wire and contact.
    float CircuitResistance() const;
    // Current and potential difference across a wire of resistance ohms.
    float Current(float ohms) const;
    float PotentialDifference(float ohms) const { return ohms * Current(ohms); }
    // A length taken within the rule: 0 to 100 cm.
    static float OnRule(float length);
};

}  // namespace brv
