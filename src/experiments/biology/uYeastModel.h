// Carbon dioxide given off by yeast respiring glucose in a flask in a water
// bath, collected in a 50 cm³ gas burette.
//
// With T the bath temperature (ºC), G the glucose concentration (M) and t
// the time (s), in single precision:
//     fT = 0.02·T·e^(−0.01·(T − 40)²)        (0.8 at 40 ºC, 0.0073 at 20 ºC, 0 at 0 ºC)
//     fG = 1.84·G·e^(−10·(G − 0.5)²)         (0.92 at 0.5 M, 0.370 at 0.3 M)
//     V  = (1 − e^(−0.01·fT·fG·t′))·50·k      cm³, kept within 0..50
// where t′ = t + a random timing error of standard deviation 1 s, drawn
// afresh for every reading, and k is the run's gas factor, scattered about 1
// with standard deviation 0.1 at the start of every run.  At t = 0 the
// volume is exactly 0.  The fastest rate, about 0.0081 of the burette per
// second, is near 41 ºC and 0.59 M.
#pragma once

namespace brv {

struct TYeastModel {
    static constexpr float BuretteCapacity = 50.0f;  // cm³
    static constexpr int RunSeconds = 600;           // the time bar's end
    static constexpr float GasFactorScatter = 0.1f;
    static constexpr float TimeErrorSeconds = 1.0f;

    float BathTemp = 20;   // ºC
    float Glucose = 0.3f;  // M
    float GasFactor = 1;   // this run's yield factor k

    static float TemperatureFactor(float temperature);
    static float GlucoseFactor(float glucose);
    // V after exactly seconds of respiration, without the timing error.
    float VolumeAfter(float seconds) const;
    // The reading at time t: 0 at t = 0, else V at t plus a fresh timing error.
    float CarbonDioxideVolume(int seconds) const;
    // A fresh yield factor for a new run.
    static float NewGasFactor();
};

}  // namespace brv
