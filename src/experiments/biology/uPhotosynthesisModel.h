// Oxygen given off by pondweed, measured as the length of the gas bubble
// drawn along a capillary tube after t seconds.
//
// With d the lamp's distance along the bench from its nearest position
// (0 to 68 units), T the temperature (ºC) and b the sodium bicarbonate
// concentration (%), in single precision:
//     I = e^(−0.0397058837·d)                  light intensity, 1 at d = 0, 0.067 at d = 68
//     F = 0.032·T                               for T < 30
//     F = 0.032·T·e^(−0.009·(T − 30)²)          for T ≥ 30   (about 0.99 near 32 ºC, 0.044 at 50 ºC)
//     C = 1 − e^(−0.01·(100·b)²)                (0 at 0 %, 0.63 at 0.1 %)
//     R = (1 − e^(−5·I))·G·F·C·0.015            cm of capillary per second
// G scatters each measurement: drawn afresh, about 1 with standard deviation
// 0.1, every time the syringe is pulled (1 before the first pull).  The
// bubble is R·t cm long.  With the lamp at 25, 20 ºC and 0.1 %, R is about
// 0.0051 cm/s: 3.1 cm after ten minutes.
#pragma once

namespace brv {

struct TPhotosynthesisModel {
    static constexpr float MaxLampOffset = 68;
    static constexpr float LightFalloff = 0.0397058837f;  // 2.7 / 68 per unit
    static constexpr float RateScatter = 0.1f;

    float LampOffset = 25;     // d, scene units
    float Temperature = 20;    // ºC
    float Bicarbonate = 0.1f;  // %
    float RateFactor = 1;      // G

    static float LightIntensity(float lampOffset);
    static float TemperatureFactor(float temperature);
    static float CarbonDioxideFactor(float bicarbonate);
    float LightIntensity() const { return LightIntensity(LampOffset); }
    // R, cm/s.
    float OxygenRate() const;
    static float NewRateFactor();

    // The lamp dragged by the pointer from dragX to x (pixels, scale pixels
    // per unit): the lamp follows the pointer, stops at 0 and 68, and dragX
    // keeps the pointer's position of the last move inside the limits, so
    // after a limit the lamp moves back only once the pointer comes back
    // past that position.
    void DragLamp(int x, int& dragX, float scale);
};

}  // namespace brv
