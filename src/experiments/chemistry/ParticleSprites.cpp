#include "experiments/chemistry/ParticleSprites.h"

#include "runtime/AddMaths.h"
#include "runtime/Image32.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

// How far from the edge the alpha starts to fall, pixels.
constexpr float kSoftEdge = 1.5f;
// The highlight: its centre as a fraction of the radius up and to the left
// of the middle, its reach as a fraction of the radius, its strength.
constexpr float kHighlightOffset = 0.38f;
constexpr float kHighlightReach = 0.5f;
constexpr float kHighlightStrength = 0.7f;

float Clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

float SmoothStep(float edge0, float edge1, float v)
{
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

std::uint8_t Mix(int from, int to, float t)
{
    return std::uint8_t(Round(float(from) + (float(to) - float(from)) * t));
}

TColor32 MixColour(TColor32 from, TColor32 to, float t, std::uint8_t alpha)
{
    const auto channel = [](TColor32 c, int shift) { return int((c >> shift) & 0xFF); };
    return Color32(Mix(channel(from, 16), channel(to, 16), t), Mix(channel(from, 8), channel(to, 8), t),
                   Mix(channel(from, 0), channel(to, 0), t), alpha);
}

}  // namespace

void DrawParticleSprite(TBitmap32& b, int size, TColor32 centre, TColor32 rim)
{
    b.SetSize(size, size);
    b.DrawMode = TDrawMode::dmBlend;
    const float radius = float(size) / 2;
    const float mid = radius;
    const float highlightX = mid - kHighlightOffset * radius;
    const float highlightY = mid - kHighlightOffset * radius;
    for (int y = 0; y < size; ++y) {
        TColor32* row = b.ScanLine(y);
        for (int x = 0; x < size; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float d = std::hypot(px - mid, py - mid);
            const float alpha = SmoothStep(radius, radius - kSoftEdge, d);
            if (alpha <= 0) {
                row[x] = 0;
                continue;
            }
            const float shade = SmoothStep(0.25f * radius, radius, d);
            const auto a = std::uint8_t(Round(255 * alpha));
            TColor32 c = MixColour(centre, rim, shade, a);
            const float h = std::hypot(px - highlightX, py - highlightY) / (kHighlightReach * radius);
            const float light = kHighlightStrength * (1 - SmoothStep(0, 1, h));
            if (light > 0)
                c = MixColour(c, clWhite32, light, a);
            row[x] = c;
        }
    }
}

void AddParticleSprites(TBitmap32List& list)
{
    DrawParticleSprite(list.Add(), kLargeSpriteSize, kRedParticleCentre, kRedParticleRim);
    DrawParticleSprite(list.Add(), kSmallSpriteSize, kRedParticleCentre, kRedParticleRim);
    DrawParticleSprite(list.Add(), kLargeSpriteSize, kBlueParticleCentre, kBlueParticleRim);
    DrawParticleSprite(list.Add(), kSmallSpriteSize, kBlueParticleCentre, kBlueParticleRim);
}

}  // namespace brv
