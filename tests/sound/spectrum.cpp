#include "spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

namespace brenavo::sound {

namespace {

using Complex = std::complex<double>;

// Recursive radix-2 FFT; values.size() is a power of two.
void fft(std::vector<Complex>& values) {
  const std::size_t half = values.size() / 2;
  if (half == 0) {
    return;
  }
  std::vector<Complex> even(half);
  std::vector<Complex> odd(half);
  for (std::size_t i = 0; i < half; ++i) {
    even[i] = values[2 * i];
    odd[i] = values[2 * i + 1];
  }
  fft(even);
  fft(odd);
  for (std::size_t k = 0; k < half; ++k) {
    const Complex turned = std::polar(1.0, -std::numbers::pi * k / half) * odd[k];
    values[k] = even[k] + turned;
    values[k + half] = even[k] - turned;
  }
}

// Magnitudes of bins 0 .. n/2 - 1 of the Hann-windowed first n samples.
std::vector<double> magnitudeSpectrum(const std::vector<float>& samples, std::size_t n) {
  std::vector<Complex> values(n);
  for (std::size_t i = 0; i < n; ++i) {
    values[i] = samples[i] * (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / n));
  }
  fft(values);
  std::vector<double> magnitudes(n / 2);
  std::transform(values.begin(), values.begin() + n / 2, magnitudes.begin(),
                 [](Complex value) { return std::abs(value); });
  return magnitudes;
}

// The largest magnitude within reach bins either side of centre; 0 past the end.
double strongestNear(const std::vector<double>& magnitudes, std::size_t centre, std::size_t reach) {
  const std::size_t from = std::min(centre - reach, magnitudes.size());
  const std::size_t to = std::min(centre + reach + 1, magnitudes.size());
  return from < to ? *std::max_element(magnitudes.begin() + from, magnitudes.begin() + to) : 0.0;
}

}  // namespace

double rms(const std::vector<float>& samples) {
  const double sum = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
  return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

double peak(const std::vector<float>& samples) {
  const auto [lowest, highest] = std::minmax_element(samples.begin(), samples.end());
  return samples.empty() ? 0.0 : std::max(-*lowest, *highest);
}

// Every spectral peak within 30 dB of the loudest may be the fundamental; the one whose
// first five harmonics weigh most together wins. Harmonic h is looked for within h - 1 bins
// of where it should be, and a missing one counts as 60 dB down rather than vetoing.
double fundamentalHz(const std::vector<float>& samples, int sampleRate) {
  std::size_t n = 1024;
  while (n * 2 <= std::min<std::size_t>(samples.size(), 32768)) {
    n *= 2;
  }
  if (samples.size() < n) {
    return 0.0;
  }
  const std::vector<double> magnitudes = magnitudeSpectrum(samples, n);
  const double binHz = static_cast<double>(sampleRate) / static_cast<double>(n);
  const auto first = static_cast<std::size_t>(std::ceil(50.0 / binHz));
  const auto last = static_cast<std::size_t>(2000.0 / binHz);
  const double loudest =
      *std::max_element(magnitudes.begin() + first, magnitudes.begin() + last + 1);
  std::size_t best = first;
  double bestScore = -HUGE_VAL;
  for (std::size_t k = first; k <= last; ++k) {
    const bool isPeak = magnitudes[k] >= std::max(magnitudes[k - 1], magnitudes[k + 1]);
    if (!isPeak || magnitudes[k] < 0.03 * loudest) {
      continue;
    }
    double score = 0.0;
    for (std::size_t h = 1; h <= 5; ++h) {
      score += std::log(std::max(strongestNear(magnitudes, k * h, h - 1), 1e-3 * loudest));
    }
    if (score > bestScore) {
      bestScore = score;
      best = k;
    }
  }
  return static_cast<double>(best) * binHz;
}

}  // namespace brenavo::sound
