// The shadows of the first frame (cards, columns, panels) are blurred once each at start-up. This
// measures Painters::blurAlpha on those tiles against the per-sample convolution it replaced
// (the same sums in the same order, one output sample at a time), and prints the ratio of the
// two medians at the end of the run.
//
//   bench_shadow_blur --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "RatioReporter.h"
#include "ui/Painters.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// A rounded square on a clear margin, as a shadow tile is drawn before its blur.
QImage tile(qreal radius, qreal blur)
{
    const qreal sigma = blur / 2;
    const int extent = int(std::ceil(sigma * 3));
    const int c = int(std::ceil(radius)) + 1;
    const int side = 2 * (extent + c) + 2;
    QImage img(side, side, QImage::Format_Alpha8);
    img.fill(0);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(extent, extent, 2 * c + 2, 2 * c + 2), radius, radius);
    return img;
}

// The first frame's tiles, (radius, blur): the cards at rest, the columns, the sample tip and the
// summary panel.
const std::vector<std::pair<QImage, qreal>>& tiles()
{
    static const std::vector<std::pair<QImage, qreal>> list = [] {
        std::vector<std::pair<QImage, qreal>> out;
        for (const auto& [radius, blur] : {std::pair<qreal, qreal>{16, 3}, {24, 4}, {14, 6}, {24, 14}})
            out.emplace_back(tile(radius, blur), blur / 2);
        return out;
    }();
    return list;
}

float convolve(const float* line, int n, int x, const float* kernel, int radius)
{
    float acc = 0;
    for (int k = -radius; k <= radius; ++k)
        acc += line[std::clamp(x + k, 0, n - 1)] * kernel[k + radius];
    return acc;
}

// The convolution as it was: each output sample on its own, the vertical pass down a column.
void perSampleBlur(QImage& image, qreal sigma)
{
    const int radius = int(std::ceil(sigma * 3));
    std::vector<float> kernel(size_t(2 * radius + 1));
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        kernel[size_t(i + radius)] = float(std::exp(-(i * i) / (2 * sigma * sigma)));
        sum += kernel[size_t(i + radius)];
    }
    for (float& k : kernel)
        k /= sum;
    const int w = image.width();
    const int h = image.height();
    std::vector<float> rows(static_cast<size_t>(w) * size_t(h));
    std::vector<float> in(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        const uchar* line = image.constScanLine(y);
        float* out = &rows[size_t(y * w)];
        if (y > 0 && std::equal(line, line + w, image.constScanLine(y - 1))) {
            std::copy(out - w, out, out);
            continue;
        }
        std::copy(line, line + w, in.begin());
        for (int x = 0; x < w; ++x)
            out[x] = convolve(in.data(), w, x, kernel.data(), radius);
    }
    std::vector<float> column(static_cast<size_t>(h));
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y)
            column[size_t(y)] = rows[size_t(y * w + x)];
        for (int y = 0; y < h; ++y)
            image.scanLine(y)[x] = uchar(
                std::clamp(std::lround(convolve(column.data(), h, y, kernel.data(), radius)), 0L, 255L));
    }
}

void BM_BlurAlpha(benchmark::State& state)
{
    for (auto _ : state) {
        for (const auto& [source, sigma] : tiles()) {
            QImage image = source.copy();
            Painters::blurAlpha(image, sigma);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_BlurAlpha);

void BM_PerSampleBlur(benchmark::State& state)
{
    for (auto _ : state) {
        for (const auto& [source, sigma] : tiles()) {
            QImage image = source.copy();
            perSampleBlur(image, sigma);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_PerSampleBlur);

} // namespace

int main(int argc, char** argv)
{
    // The reference must give the very pixels blurAlpha gives, or the figure compares unlike work.
    for (const auto& [source, sigma] : tiles()) {
        QImage fast = source.copy();
        QImage slow = source.copy();
        Painters::blurAlpha(fast, sigma);
        perSampleBlur(slow, sigma);
        if (fast != slow) {
            std::fprintf(stderr, "bench_shadow_blur: the reference blur differs from blurAlpha\n");
            return 1;
        }
    }
    RatioReporter reporter("BM_BlurAlpha", "BM_PerSampleBlur", "blurAlpha / per-sample convolution");
    return reporter.runAll(argc, argv);
}
