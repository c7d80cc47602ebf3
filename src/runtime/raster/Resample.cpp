#include "runtime/raster/Resample.h"

#include "runtime/raster/Blend.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brv::raster {

double Lanczos3(double x)
{
    x = std::abs(x);
    if (x < 1e-12)
        return 1;
    if (x >= 3)
        return 0;
    const double px = std::numbers::pi * x;
    return 3 * std::sin(px) * std::sin(px / 3) / (px * px);
}

namespace {

// Source position of the centre of target pixel i (source pixel centres at
// whole numbers).
double SourceCentre(int i, double scale)
{
    return (i + 0.5) * scale - 0.5;
}

// The source pixel under the centre of each target pixel in [from, to).
std::vector<int> NearestIndices(int sourceLength, int targetLength, int from, int to)
{
    std::vector<int> index(std::size_t(to - from));
    for (int i = from; i < to; ++i) {
        const long long s = ((2LL * i + 1) * sourceLength) / (2LL * targetLength);
        index[std::size_t(i - from)] = int(std::clamp<long long>(s, 0, sourceLength - 1));
    }
    return index;
}

struct Tap {
    int index;
    float weight;
};

// Normalised filter taps for target pixels [from, to) along one axis; source
// indices beyond the edge repeat the edge pixel.
std::vector<std::vector<Tap>> LanczosTaps(int sourceLength, int targetLength, int from, int to)
{
    const double scale = double(sourceLength) / targetLength;
    const double widen = std::max(1.0, scale);
    const double support = 3 * widen;
    std::vector<std::vector<Tap>> taps(std::size_t(to - from));
    for (int i = from; i < to; ++i) {
        const double u = SourceCentre(i, scale);
        auto& list = taps[std::size_t(i - from)];
        double sum = 0;
        for (int j = int(std::ceil(u - support)); j <= int(std::floor(u + support)); ++j) {
            const double w = Lanczos3((j - u) / widen);
            if (w == 0)
                continue;
            list.push_back({std::clamp(j, 0, sourceLength - 1), float(w)});
            sum += w;
        }
        if (list.empty() || sum == 0) {
            list.assign(1, {std::clamp(int(std::floor(u + 0.5)), 0, sourceLength - 1), 1.0f});
            continue;
        }
        for (Tap& t : list)
            t.weight = float(t.weight / sum);
    }
    return taps;
}

struct Premultiplied {
    float a = 0, r = 0, g = 0, b = 0;
};

Premultiplied Premultiply(TColor32 c)
{
    const float a = float(c >> 24);
    const float k = a / 255.0f;
    return {a, float((c >> 16) & 0xFF) * k, float((c >> 8) & 0xFF) * k, float(c & 0xFF) * k};
}

TColor32 Unpremultiply(const Premultiplied& p)
{
    const float a = std::clamp(p.a, 0.0f, 255.0f);
    if (a < 0.5f)
        return 0;
    const float k = 255.0f / a;
    auto channel = [k](float v) { return TColor32(std::clamp(std::lround(v * k), 0L, 255L)); };
    return (TColor32(std::lround(a)) << 24) | (channel(p.r) << 16) | (channel(p.g) << 8) | channel(p.b);
}

}  // namespace

void ResampleNearest(const TBitmap32& source, const TRect& target, const TRect& visible,
                     std::vector<TColor32>& pixels)
{
    const std::vector<int> columns = NearestIndices(source.Width(), target.Width(),
                                                    visible.Left - target.Left, visible.Right - target.Left);
    const std::vector<int> rows = NearestIndices(source.Height(), target.Height(), visible.Top - target.Top,
                                                 visible.Bottom - target.Top);
    pixels.resize(columns.size() * rows.size());
    TColor32* out = pixels.data();
    for (int row : rows) {
        const TColor32* line = source.ScanLine(row);
        for (int column : columns)
            *out++ = line[column];
    }
}

void ResampleLanczos(const TBitmap32& source, const TRect& target, const TRect& visible,
                     std::vector<TColor32>& pixels)
{
    ClearWideRegisters();
    const auto columns =
        LanczosTaps(source.Width(), target.Width(), visible.Left - target.Left, visible.Right - target.Left);
    const auto rows =
        LanczosTaps(source.Height(), target.Height(), visible.Top - target.Top, visible.Bottom - target.Top);
    int firstRow = source.Height(), lastRow = -1;
    for (const auto& list : rows)
        for (const Tap& t : list) {
            firstRow = std::min(firstRow, t.index);
            lastRow = std::max(lastRow, t.index);
        }
    const std::size_t width = columns.size();

    // horizontal pass over the source rows the vertical pass needs
    std::vector<Premultiplied> across(std::size_t(lastRow - firstRow + 1) * width);
    std::vector<Premultiplied> line(std::size_t(source.Width()));
    for (int y = firstRow; y <= lastRow; ++y) {
        const TColor32* src = source.ScanLine(y);
        std::transform(src, src + source.Width(), line.begin(), Premultiply);
        Premultiplied* out = &across[std::size_t(y - firstRow) * width];
        for (std::size_t x = 0; x < width; ++x) {
            Premultiplied sum;
            for (const Tap& t : columns[x]) {
                const Premultiplied& p = line[std::size_t(t.index)];
                sum.a += p.a * t.weight;
                sum.r += p.r * t.weight;
                sum.g += p.g * t.weight;
                sum.b += p.b * t.weight;
            }
            out[x] = sum;
        }
    }

    // vertical pass
    pixels.resize(width * rows.size());
    std::vector<Premultiplied> sum(width);
    for (std::size_t y = 0; y < rows.size(); ++y) {
        std::fill(sum.begin(), sum.end(), Premultiplied{});
        for (const Tap& t : rows[y]) {
            const Premultiplied* in = &across[std::size_t(t.index - firstRow) * width];
            for (std::size_t x = 0; x < width; ++x) {
                sum[x].a += in[x].a * t.weight;
                sum[x].r += in[x].r * t.weight;
                sum[x].g += in[x].g * t.weight;
                sum[x].b += in[x].b * t.weight;
            }
        }
        std::transform(sum.begin(), sum.end(), pixels.begin() + std::ptrdiff_t(y * width), Unpremultiply);
    }
}

}  // namespace brv::raster
