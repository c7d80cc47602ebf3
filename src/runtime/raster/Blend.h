// Pixel combining shared by the raster operations.
//
// Blending mixes each colour channel as  src × α + dst × (1 − α)  rounded to
// 8 bits and keeps the target's alpha byte; α = 255 replaces the pixel and
// α = 0 leaves it.  Division by 255 uses the exact identity
//   round(t / 255) = (t + 128 + ((t + 128) >> 8)) >> 8   for 0 ≤ t ≤ 255².
#pragma once

#include "runtime/Bitmap32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brv::raster {

// round(a × b / 255) for a, b in 0..255.
inline unsigned MulDiv255(unsigned a, unsigned b)
{
    unsigned t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// One pixel: src mixed into dst by alpha (0..255).
inline TColor32 BlendColor(TColor32 src, TColor32 dst, unsigned alpha)
{
    if (alpha == 0)
        return dst;
    if (alpha >= 255)
        return src;
    unsigned ia = 255 - alpha;
    std::uint32_t rb = (src & 0x00FF00FFu) * alpha + (dst & 0x00FF00FFu) * ia + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t g = ((src >> 8) & 0xFFu) * alpha + ((dst >> 8) & 0xFFu) * ia + 0x80u;
    g = ((g + (g >> 8)) >> 8) & 0xFFu;
    return (dst & 0xFF000000u) | rb | (g << 8);
}

// A colour prepared for blending many pixels with the same alpha.
class ConstantBlender {
public:
    ConstantBlender(TColor32 color, unsigned alpha) : color_(color), alpha_(alpha), inverse_(255 - alpha)
    {
        rb_ = (color & 0x00FF00FFu) * alpha + 0x00800080u;
        g_ = ((color >> 8) & 0xFFu) * alpha + 0x80u;
    }

    TColor32 operator()(TColor32 dst) const
    {
        std::uint32_t rb = (dst & 0x00FF00FFu) * inverse_ + rb_;
        rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
        std::uint32_t g = ((dst >> 8) & 0xFFu) * inverse_ + g_;
        g = ((g + (g >> 8)) >> 8) & 0xFFu;
        return (dst & 0xFF000000u) | rb | (g << 8);
    }

    // Blends count pixels in place (0 < alpha < 255).
    void Span(TColor32* p, int count) const
    {
#if defined(__SSE2__)
        // Antialiased edges come as runs of a pixel or two: those skip the
        // vector set-up.
        if (count >= 4)
            spanOfFours(p, count);
#endif
        for (; count > 0; --count, ++p)
            *p = (*this)(*p);
    }

private:
#if defined(__SSE2__)
    // Blends the pixels in whole fours; p and count move past them.
    void spanOfFours(TColor32*& p, int& count) const
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i inv = _mm_set1_epi16(short(inverse_));
        // Per-channel src × α + 128 for B, G, R and 0 for the alpha lane.
        const __m128i add =
            _mm_set_epi16(0, short(channel(16) * alpha_ + 128), short(channel(8) * alpha_ + 128),
                          short(channel(0) * alpha_ + 128), 0, short(channel(16) * alpha_ + 128),
                          short(channel(8) * alpha_ + 128), short(channel(0) * alpha_ + 128));
        const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
        for (; count >= 4; count -= 4, p += 4) {
            __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            __m128i lo = _mm_unpacklo_epi8(d, zero);
            __m128i hi = _mm_unpackhi_epi8(d, zero);
            lo = _mm_add_epi16(_mm_mullo_epi16(lo, inv), add);
            hi = _mm_add_epi16(_mm_mullo_epi16(hi, inv), add);
            lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
            hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
            __m128i blended = _mm_packus_epi16(lo, hi);
            __m128i result = _mm_or_si128(_mm_and_si128(d, alphaMask), _mm_andnot_si128(alphaMask, blended));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), result);
        }
    }
#endif
    unsigned channel(int shift) const
    {
        return (color_ >> shift) & 0xFFu;
    }
    TColor32 color_;
    unsigned alpha_, inverse_;
    std::uint32_t rb_, g_;
};

// Qt's AVX2 paths (a QImage::fill, for one) can leave the upper halves of
// the vector registers in use; until they are cleared every SSE instruction,
// scalar floating point included, runs about three times slower.  The heavy
// raster loops clear them first (one instruction, where the processor has
// AVX; nothing otherwise).
void ClearWideRegisters();

// Sets count pixels to color: with the widest stores the processor has, as
// the compiler leaves a plain fill loop scalar.
void FillPixels(TColor32* p, std::size_t count, TColor32 color);

// Colours count pixels with color at the given alpha (replacing at 255).
inline void BlendSpan(TColor32* p, int count, TColor32 color, unsigned alpha)
{
    if (count <= 0 || alpha == 0)
        return;
    if (alpha >= 255)
        FillPixels(p, std::size_t(count), color);
    else
        ConstantBlender(color, alpha).Span(p, count);
}

// The alpha a colour is applied with at a coverage (0..255).
inline unsigned CoveredAlpha(TColor32 color, unsigned coverage)
{
    return MulDiv255(AlphaOf(color), coverage);
}

// Blends count source pixels onto dst by their own alpha scaled by master
// (0..255).
void BlendRow(TColor32* dst, const TColor32* src, int count, unsigned master);

// Whether every one of count pixels is opaque.
bool AllOpaque(const TColor32* p, int count);

// Source-over of count premultiplied source pixels onto opaque target pixels:
// each channel s + round(d × (255 − αs) / 255), the alpha stays opaque.  This
// is what Qt's raster engine makes of a premultiplied picture drawn onto an
// opaque one, to the last bit.
void BlendPremultipliedOverOpaque(TColor32* dst, const TColor32* src, int count);

// BlendRow for each of rows rows of count pixels, the rows strides pixels
// apart in each bitmap (a sprite's rows are short: one call for them all).
void BlendRows(TColor32* dst, std::size_t dstStride, const TColor32* src, std::size_t srcStride, int count,
               int rows, unsigned master);

}  // namespace brv::raster
