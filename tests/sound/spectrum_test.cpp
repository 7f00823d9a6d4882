// The pitch finder against a tone whose pitch is known by construction.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "spectrum.h"

namespace brenavo::sound {
namespace {

TEST(Spectrum, TakesTheFundamentalWhenUpperPartialsAreLouder) {
  // A second of a reed-like 196 Hz tone whose second to fourth partials outweigh the first.
  std::vector<float> samples(44100);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double phase = 2.0 * std::numbers::pi * 196.0 * static_cast<double>(i) / 44100.0;
    samples[i] = static_cast<float>(0.1 * std::sin(phase) + 0.5 * std::sin(2 * phase) +
                                    0.4 * std::sin(3 * phase) + 0.4 * std::sin(4 * phase) +
                                    0.3 * std::sin(5 * phase));
  }
  EXPECT_NEAR(fundamentalHz(samples, 44100), 196.0, 1.0);
}

}  // namespace
}  // namespace brenavo::sound
