#include "runtime/raster/Blend.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
// Paths for processors with AVX2, chosen at run time.
#define BRV_AVX2_PATHS 1
#endif

namespace brv::raster {
namespace {

void FillSse2(TColor32* p, std::size_t count, TColor32 color)
{
#if defined(__SSE2__)
    if (count >= 8) {
        const __m128i v = _mm_set1_epi32(int(color));
        for (; (reinterpret_cast<std::uintptr_t>(p) & 15) != 0; --count)
            *p++ = color;
        for (; count >= 16; count -= 16, p += 16) {
            __m128i* q = reinterpret_cast<__m128i*>(p);
            _mm_store_si128(q, v);
            _mm_store_si128(q + 1, v);
            _mm_store_si128(q + 2, v);
            _mm_store_si128(q + 3, v);
        }
        for (; count >= 4; count -= 4, p += 4)
            _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    }
#endif
    for (; count > 0; --count)
        *p++ = color;
}

#if BRV_AVX2_PATHS
__attribute__((target("avx2"))) void FillAvx2(TColor32* p, std::size_t count, TColor32 color)
{
    if (count >= 16) {
        const __m256i v = _mm256_set1_epi32(int(color));
        for (; (reinterpret_cast<std::uintptr_t>(p) & 31) != 0; --count)
            *p++ = color;
        for (; count >= 32; count -= 32, p += 32) {
            __m256i* q = reinterpret_cast<__m256i*>(p);
            _mm256_store_si256(q, v);
            _mm256_store_si256(q + 1, v);
            _mm256_store_si256(q + 2, v);
            _mm256_store_si256(q + 3, v);
        }
        for (; count >= 8; count -= 8, p += 8)
            _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
    }
    for (; count > 0; --count)
        *p++ = color;
}
#endif

#if BRV_AVX2_PATHS
__attribute__((target("avx"))) void ZeroUpper()
{
    _mm256_zeroupper();
}
#endif

void NoWideRegisters() {}

using FillFunction = void (*)(TColor32*, std::size_t, TColor32);

FillFunction ChooseFill()
{
#if BRV_AVX2_PATHS
    if (__builtin_cpu_supports("avx2"))
        return FillAvx2;
#endif
    return FillSse2;
}

// One pixel by its own alpha scaled by master.
inline void BlendOne(TColor32& dst, TColor32 src, unsigned master)
{
    const unsigned a = master >= 255 ? AlphaOf(src) : MulDiv255(AlphaOf(src), master);
    if (a != 0)
        dst = BlendColor(src, dst, a);
}

#if defined(__SSE2__)
// round(v / 255) in each 16-bit lane, for v + 128 ≤ 65535.
inline __m128i Div255(__m128i v)
{
    v = _mm_add_epi16(v, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
}

// Four pixels: channels mixed by the per-pixel alpha a (32-bit lanes,
// 0..255), the target alpha kept, except where a = 255 (the source replaces).
inline __m128i BlendFour(__m128i s, __m128i d, __m128i a)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i pairs = _mm_or_si128(a, _mm_slli_epi32(a, 16));
    const __m128i aLo = _mm_unpacklo_epi32(pairs, pairs);
    const __m128i aHi = _mm_unpackhi_epi32(pairs, pairs);
    const __m128i full = _mm_set1_epi16(255);
    const __m128i lo =
        Div255(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), aLo),
                             _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(full, aLo))));
    const __m128i hi =
        Div255(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), aHi),
                             _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(full, aHi))));
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    const __m128i mixed =
        _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_packus_epi16(lo, hi)), _mm_and_si128(d, alphaMask));
    const __m128i replace = _mm_cmpeq_epi32(a, _mm_set1_epi32(255));
    return _mm_or_si128(_mm_and_si128(replace, s), _mm_andnot_si128(replace, mixed));
}
#endif

}  // namespace

void ClearWideRegisters()
{
#if BRV_AVX2_PATHS
    static void (*const clear)() = __builtin_cpu_supports("avx") ? ZeroUpper : NoWideRegisters;
#else
    static void (*const clear)() = NoWideRegisters;
#endif
    clear();
}

void FillPixels(TColor32* p, std::size_t count, TColor32 color)
{
    if (count < 8) {
        for (; count > 0; --count)
            *p++ = color;
        return;
    }
    static const FillFunction fill = ChooseFill();
    fill(p, count, color);
}

namespace {

void BlendRowSse2(TColor32* dst, const TColor32* src, int count, unsigned master)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(255);
    const __m128i masterLanes = _mm_set1_epi32(int(master));
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i a = _mm_srli_epi32(s, 24);
        if (master < 255)  // a × master / 255, rounded, in the low 16 bits of each lane
            a = _mm_and_si128(Div255(_mm_mullo_epi16(a, masterLanes)), _mm_set1_epi32(0xFF));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, zero)) == 0xFFFF)
            continue;  // all four transparent
        __m128i* d = reinterpret_cast<__m128i*>(dst + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, opaque)) == 0xFFFF)
            _mm_storeu_si128(d, s);
        else
            _mm_storeu_si128(d, BlendFour(s, _mm_loadu_si128(d), a));
    }
#endif
    for (; i < count; ++i)
        BlendOne(dst[i], src[i], master);
}

#if BRV_AVX2_PATHS
__attribute__((target("avx2"))) inline __m256i Div255Avx2(__m256i v)
{
    v = _mm256_add_epi16(v, _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(v, _mm256_srli_epi16(v, 8)), 8);
}

// BlendFour, eight pixels at a time.
__attribute__((target("avx2"))) inline __m256i BlendEight(__m256i s, __m256i d, __m256i a)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i pairs = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
    const __m256i aLo = _mm256_unpacklo_epi32(pairs, pairs);
    const __m256i aHi = _mm256_unpackhi_epi32(pairs, pairs);
    const __m256i full = _mm256_set1_epi16(255);
    const __m256i lo = Div255Avx2(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), aLo),
                         _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(full, aLo))));
    const __m256i hi = Div255Avx2(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), aHi),
                         _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(full, aHi))));
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i mixed = _mm256_or_si256(_mm256_andnot_si256(alphaMask, _mm256_packus_epi16(lo, hi)),
                                          _mm256_and_si256(d, alphaMask));
    const __m256i replace = _mm256_cmpeq_epi32(a, _mm256_set1_epi32(255));
    return _mm256_blendv_epi8(mixed, s, replace);
}

__attribute__((target("avx2"))) void BlendRowAvx2(TColor32* dst, const TColor32* src, int count,
                                                  unsigned master)
{
    int i = 0;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(255);
    const __m256i masterLanes = _mm256_set1_epi32(int(master));
    for (; i + 8 <= count; i += 8) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        __m256i a = _mm256_srli_epi32(s, 24);
        if (master < 255)
            a = _mm256_and_si256(Div255Avx2(_mm256_mullo_epi16(a, masterLanes)), _mm256_set1_epi32(0xFF));
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, zero)) == -1)
            continue;
        __m256i* d = reinterpret_cast<__m256i*>(dst + i);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, opaque)) == -1)
            _mm256_storeu_si256(d, s);
        else
            _mm256_storeu_si256(d, BlendEight(s, _mm256_loadu_si256(d), a));
    }
    BlendRowSse2(dst + i, src + i, count - i, master);
}
#endif

template <void (*Row)(TColor32*, const TColor32*, int, unsigned)>
void BlendRowsWith(TColor32* dst, std::size_t dstStride, const TColor32* src, std::size_t srcStride,
                   int count, int rows, unsigned master)
{
    for (int r = 0; r < rows; ++r, dst += dstStride, src += srcStride)
        Row(dst, src, count, master);
}

#if BRV_AVX2_PATHS
__attribute__((target("avx2"))) void BlendRowsAvx2(TColor32* dst, std::size_t dstStride, const TColor32* src,
                                                   std::size_t srcStride, int count, int rows,
                                                   unsigned master)
{
    BlendRowsWith<BlendRowAvx2>(dst, dstStride, src, srcStride, count, rows, master);
}
#endif

using BlendRowsFunction = void (*)(TColor32*, std::size_t, const TColor32*, std::size_t, int, int, unsigned);

BlendRowsFunction ChooseBlendRows()
{
#if BRV_AVX2_PATHS
    if (__builtin_cpu_supports("avx2"))
        return BlendRowsAvx2;
#endif
    return BlendRowsWith<BlendRowSse2>;
}

}  // namespace

bool AllOpaque(const TColor32* p, int count)
{
    int i = 0;
    TColor32 all = 0xFF000000u;
#if defined(__SSE2__)
    __m128i lanes = _mm_set1_epi32(-1);
    for (; i + 4 <= count; i += 4)
        lanes = _mm_and_si128(lanes, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(lanes, alphaMask), alphaMask)) != 0xFFFF)
        return false;
#endif
    for (; i < count; ++i)
        all &= p[i];
    return (all & 0xFF000000u) == 0xFF000000u;
}

void BlendPremultipliedOverOpaque(TColor32* dst, const TColor32* src, int count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i full = _mm_set1_epi16(255);
    for (; i + 4 <= count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i a = _mm_srli_epi32(s, 24);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, zero)) == 0xFFFF)
            continue;  // all four transparent
        __m128i* d = reinterpret_cast<__m128i*>(dst + i);
        const __m128i pairs = _mm_or_si128(a, _mm_slli_epi32(a, 16));
        const __m128i ia = _mm_sub_epi16(full, _mm_unpacklo_epi32(pairs, pairs));
        const __m128i iaHi = _mm_sub_epi16(full, _mm_unpackhi_epi32(pairs, pairs));
        const __m128i dv = _mm_loadu_si128(d);
        __m128i lo = _mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), ia);
        __m128i hi = _mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), iaHi);
        lo = _mm_add_epi16(lo, half);
        hi = _mm_add_epi16(hi, half);
        lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
        // No channel overflows: s ≤ αs and d × (255 − αs) / 255 ≤ 255 − αs.
        _mm_storeu_si128(d, _mm_add_epi8(s, _mm_packus_epi16(lo, hi)));
    }
#endif
    for (; i < count; ++i) {
        const TColor32 s = src[i];
        const unsigned ia = 255 - (s >> 24);
        if (ia == 255)
            continue;
        std::uint32_t rb = (dst[i] & 0x00FF00FFu) * ia + 0x00800080u;
        rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
        std::uint32_t ag = ((dst[i] >> 8) & 0x00FF00FFu) * ia + 0x00800080u;
        ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
        dst[i] = s + (rb | ag);
    }
}

void BlendRow(TColor32* dst, const TColor32* src, int count, unsigned master)
{
    BlendRows(dst, 0, src, 0, count, 1, master);
}

void BlendRows(TColor32* dst, std::size_t dstStride, const TColor32* src, std::size_t srcStride, int count,
               int rows, unsigned master)
{
    static const BlendRowsFunction blend = ChooseBlendRows();
    if (master != 0 && count > 0)
        blend(dst, dstStride, src, srcStride, count, rows, master);
}

}  // namespace brv::raster
