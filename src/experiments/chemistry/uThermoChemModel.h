// Heat of neutralisation: acid run from a burette into sodium hydroxide
// solution, and the temperature of the mixture.
//
//     H⁺(aq) + OH⁻(aq) → H2O(l),   57 kJ per mole of water formed
//
// With Va cm³ of Ca M acid (k hydrogen ions per formula: 1 for hydrochloric,
// 2 for sulphuric) in Vb cm³ of Cb M alkali, the millimoles of water formed
// are the smaller of
//     acid = k·Ca·Va,   alkali = Cb·Vb,
// and they warm the whole mixture, treated as water (1 g/cm³, 4.2 J/(g K)):
//     ΔT = n · 57 / ((Va + Vb) · 4.2)    kelvin from 20 ºC.
// The rise grows while acid is neutralised and falls by dilution once the
// alkali is used up: 1 M hydrochloric into 20 cm³ of 1 M alkali peaks at
// 20 cm³ with 6.79 K; 1 M sulphuric peaks at 10 cm³ with 9.05 K.
//
// Each new volume reads 20 ºC + a Gaussian of mean ΔT and standard deviation
// 0.5 ºC (exactly 20 ºC below 0.1 cm³); the same volume again keeps its
// reading.  New concentrations or volumes of alkali act from the next
// change of the acid's volume.
#pragma once

namespace brv {

struct TThermoChemModel {
    static constexpr float StartTemperature = 20;      // ºC
    static constexpr float HeatOfNeutralisation = 57;  // J per mmol of water
    static constexpr float HeatCapacity = 4.2f;        // J per cm³ per K
    static constexpr float Scatter = 0.5f;             // ºC, standard deviation of a reading

    float AcidAdded = 0;    // Va, cm³ run from the burette, 0..50
    float AcidConc = 1;     // Ca, mol/dm³
    float BaseVolume = 20;  // Vb, cm³
    float BaseConc = 1;     // Cb, mol/dm³
    bool Sulphuric = false;
    float MixTemp = StartTemperature;  // the reading shown, ºC

    // The mean rise in kelvin for the current settings; 0 when it cannot be
    // computed.
    float TemperatureRise() const;
    // A new volume of acid added draws a new reading; the same volume keeps
    // the old one.
    void SetAcidAdded(float volume);
};

}  // namespace brv
