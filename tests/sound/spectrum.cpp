#include "spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

namespace brenavo::sound {

namespace {

using Complex = std::complex<double>;

constexpr std::size_t kHarmonics = 5;
constexpr double kCandidateLevel = 0.03;  // -30 dB
constexpr double kPartialFloor = 1e-3;    // -60 dB
constexpr std::size_t kMinimumLength = 1024;
constexpr std::size_t kMaximumLength = 32768;

// In-place iterative radix-2 FFT; values.size() is a power of two.
void fft(std::vector<Complex>& values) {
  const std::size_t n = values.size();
  // Put each value at its bit-reversed index, then combine halves of growing length.
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(values[i], values[j]);
    }
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const Complex step = std::polar(1.0, -2.0 * std::numbers::pi / static_cast<double>(length));
    for (std::size_t start = 0; start < n; start += length) {
      Complex twiddle = 1.0;
      for (std::size_t k = 0; k < length / 2; ++k) {
        const Complex even = values[start + k];
        const Complex odd = values[start + k + length / 2] * twiddle;
        values[start + k] = even + odd;
        values[start + k + length / 2] = even - odd;
        twiddle *= step;
      }
    }
  }
}

std::size_t powerOfTwoAtMost(std::size_t size) {
  std::size_t length = 1;
  while (length * 2 <= size && length * 2 <= kMaximumLength) {
    length *= 2;
  }
  return length;
}

// Magnitudes of bins 0 .. n/2 of the Hann-windowed first n samples.
std::vector<double> magnitudeSpectrum(const std::vector<float>& samples, std::size_t n) {
  std::vector<Complex> values(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double phase = static_cast<double>(i) / static_cast<double>(n - 1);
    values[i] = samples[i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * phase));
  }
  fft(values);
  std::vector<double> magnitudes(n / 2 + 1);
  for (std::size_t k = 0; k < magnitudes.size(); ++k) {
    magnitudes[k] = std::abs(values[k]);
  }
  return magnitudes;
}

// The largest magnitude within reach bins either side of centre (none past the end).
double strongestNear(const std::vector<double>& magnitudes, std::size_t centre, std::size_t reach) {
  const std::size_t from = std::min(centre - std::min(centre, reach), magnitudes.size());
  const std::size_t to = std::min(centre + reach + 1, magnitudes.size());
  return from < to ? *std::max_element(magnitudes.begin() + from, magnitudes.begin() + to) : 0.0;
}

// Candidates for the fundamental are the spectral peaks within 30 dB of the loudest; of
// those, the one whose first harmonics together weigh most wins. Harmonic h of bin k is
// looked for within h - 1 bins of k x h, since the rounding of k grows with h; its log
// magnitude is floored 60 dB down so that one missing partial does not veto a candidate.
std::size_t harmonicProductPeak(const std::vector<double>& magnitudes, std::size_t first,
                                std::size_t last) {
  const double loudest =
      *std::max_element(magnitudes.begin() + first, magnitudes.begin() + last + 1);
  const double candidateFloor = loudest * kCandidateLevel;
  const double partialFloor = loudest * kPartialFloor;
  std::size_t best = first;
  double bestScore = -std::numeric_limits<double>::infinity();
  for (std::size_t k = first; k <= last; ++k) {
    const bool isPeak = magnitudes[k] >= magnitudes[k - 1] && magnitudes[k] >= magnitudes[k + 1];
    if (!isPeak || magnitudes[k] < candidateFloor) {
      continue;
    }
    double score = 0.0;
    for (std::size_t h = 1; h <= kHarmonics; ++h) {
      score += std::log(std::max(strongestNear(magnitudes, k * h, h - 1), partialFloor));
    }
    if (score > bestScore) {
      bestScore = score;
      best = k;
    }
  }
  return best;
}

// The fractional bin of the spectral peak nearest to bin: the local maximum within two
// bins, refined by a parabola through it and its neighbours.
double refinedPeak(const std::vector<double>& magnitudes, std::size_t bin) {
  const std::size_t low = bin > 2 ? bin - 2 : 1;
  const std::size_t high = std::min(bin + 2, magnitudes.size() - 2);
  std::size_t top = low;
  for (std::size_t k = low; k <= high; ++k) {
    if (magnitudes[k] > magnitudes[top]) {
      top = k;
    }
  }
  const double left = magnitudes[top - 1];
  const double centre = magnitudes[top];
  const double right = magnitudes[top + 1];
  const double curvature = left - 2.0 * centre + right;
  const double offset = curvature == 0.0 ? 0.0 : 0.5 * (left - right) / curvature;
  return static_cast<double>(top) + offset;
}

}  // namespace

double rms(const std::vector<float>& samples) {
  if (samples.empty()) {
    return 0.0;
  }
  double sum = 0.0;
  for (float sample : samples) {
    sum += static_cast<double>(sample) * sample;
  }
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

double peak(const std::vector<float>& samples) {
  double largest = 0.0;
  for (float sample : samples) {
    largest = std::max(largest, std::fabs(static_cast<double>(sample)));
  }
  return largest;
}

double fundamentalHz(const std::vector<float>& samples, int sampleRate, double minHz,
                     double maxHz) {
  if (samples.size() < kMinimumLength) {
    return 0.0;
  }
  const std::size_t n = powerOfTwoAtMost(samples.size());
  const std::vector<double> magnitudes = magnitudeSpectrum(samples, n);
  const double binHz = static_cast<double>(sampleRate) / static_cast<double>(n);
  const auto first = static_cast<std::size_t>(std::max(2.0, std::floor(minHz / binHz)));
  const auto last =
      std::min(static_cast<std::size_t>(std::ceil(maxHz / binHz)), magnitudes.size() - 3);
  return refinedPeak(magnitudes, harmonicProductPeak(magnitudes, first, last)) * binHz;
}

}  // namespace brenavo::sound
