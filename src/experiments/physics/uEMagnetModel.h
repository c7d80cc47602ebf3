// How many nails an electromagnet picks up from a tray.
//
// The coil has 2.4 Ω, so V volts drive I = V / 2.4 amperes; the strength
// grows with the ampere-turns, and the nails picked up number
//     N = round(N(Turns × V / 12, 5)),  never below 0,  and none at 0 V
// (a Gaussian of mean Turns × 0.083333 × V and standard deviation 5): about
// 8 nails with 50 turns on 2 V, about 100 with 100 turns on 12 V.
//
// Each hanging nail is the nail outline turned by a random angle a between
// −89º and 90º and shifted a random d of 0 to 8 units along the core's end:
//     (x, y) → (x cos a + y sin a + d,  y cos a − x sin a)
// Counted out, the nails lie in rows of ten from (25, 30), 3 units apart and
// rows 5 units apart; a hundred fill the height of the picture, so every
// further hundred starts a new block of rows 32 units to the right.
#pragma once

#include <array>
#include <vector>

namespace brv {

struct TNailPoint {
    float X = 0, Y = 0;
};
using TNail = std::array<TNailPoint, 5>;

enum class TNailState { InTray = 0, Hanging = 1, Counted = 2 };

struct TEMagnetModel {
    static constexpr float CoilResistance = 2.4f;         // Ω
    static constexpr float NailsPerTurnVolt = 0.083333f;  // mean nails per turn per volt
    static constexpr float CountScatter = 5.0f;           // nails, standard deviation
    // The nail: head at y = 0, point at y = 4 (units).
    static constexpr TNail NailShape{{{-1.2f, 0}, {-0.4f, 0.4f}, {0, 4}, {0.4f, 0.4f}, {1.2f, 0}}};
    static constexpr float TrayDown = 69, TrayUp = 54;  // y of the tray's top edge

    int Turns = 50;
    int Volts = 2;
    int NailCount = 0;
    std::vector<TNail> Nails;  // the hanging nails, relative to the left of the core's end
    TNailState NailState = TNailState::InTray;
    float TrayY = TrayDown;

    float Current() const { return float(Volts) / CoilResistance; }
    // A fresh count for the present turns and voltage.
    void NewNailCount();
    // Each of the NailCount nails turned and shifted afresh; relative to the
    // left of the core's lower end.
    void NewNails();
    // Where counted nail k (0 = first) lies: the top of its head, units.
    static TNailPoint CountedPosition(int k);
};

}  // namespace brv
