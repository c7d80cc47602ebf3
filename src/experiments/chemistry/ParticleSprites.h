// The particle models' four sprites, drawn here: shaded round balls with
// transparent corners and soft alpha edges, lit from the top left.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv {

class TBitmap32List;

// Their order in the list.
enum TParticleSprite : int {
    psRedLarge = 0,   // orange-red, 24 × 24
    psRedSmall = 1,   // orange-red, 16 × 16
    psBlueLarge = 2,  // pale blue, 24 × 24
    psBlueSmall = 3,  // pale blue, 16 × 16
};

constexpr int kLargeSpriteSize = 24;
constexpr int kSmallSpriteSize = 16;
constexpr TColor32 kRedParticleCentre = 0xFFFB4A00;
constexpr TColor32 kRedParticleRim = 0xFF8C2300;
constexpr TColor32 kBlueParticleCentre = 0xFFBDBEF7;
constexpr TColor32 kBlueParticleRim = 0xFF4A4EB0;

// A ball filling b (square): centre colour at the middle darkening towards
// rim at the edge, a soft white highlight up and to the left, alpha falling
// from opaque to 0 over the outermost pixel and a half.  Drawn blended.
void DrawParticleSprite(TBitmap32& b, int size, TColor32 centre, TColor32 rim);
// Appends the four sprites in TParticleSprite order.
void AddParticleSprites(TBitmap32List& list);

}  // namespace brv
