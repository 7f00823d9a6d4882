// The listening helpers against signals whose pitch is known by construction.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "spectrum.h"

namespace brenavo::sound {
namespace {

constexpr int kRate = 44100;

// One second of a tone made of the given harmonic amplitudes over fundamental hz.
std::vector<float> tone(double hz, const std::vector<double>& harmonicAmplitudes) {
  std::vector<float> samples(kRate);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    double value = 0.0;
    for (std::size_t h = 0; h < harmonicAmplitudes.size(); ++h) {
      const double partialHz = hz * static_cast<double>(h + 1);
      value += harmonicAmplitudes[h] * std::sin(2.0 * std::numbers::pi * partialHz * t);
    }
    samples[i] = static_cast<float>(value);
  }
  return samples;
}

TEST(Spectrum, FindsThePitchOfAPureTone) {
  EXPECT_NEAR(fundamentalHz(tone(440.0, {0.5}), kRate), 440.0, 0.5);
  EXPECT_NEAR(fundamentalHz(tone(261.63, {0.5}), kRate), 261.63, 0.5);
  EXPECT_NEAR(fundamentalHz(tone(1318.5, {0.5}), kRate), 1318.5, 0.5);
}

TEST(Spectrum, TakesTheFundamentalWhenUpperPartialsAreStronger) {
  // A reed-like spectrum: the second and third partials are louder than the first.
  EXPECT_NEAR(fundamentalHz(tone(440.0, {0.2, 0.6, 0.5, 0.3, 0.2}), kRate), 440.0, 1.0);
  EXPECT_NEAR(fundamentalHz(tone(196.0, {0.1, 0.5, 0.4, 0.4, 0.3, 0.2}), kRate), 196.0, 1.0);
}

TEST(Spectrum, TooShortARecordingHasNoPitch) {
  std::vector<float> shortTone = tone(440.0, {0.5});
  shortTone.resize(512);
  EXPECT_EQ(fundamentalHz(shortTone, kRate), 0.0);
}

TEST(Spectrum, MeasuresLoudness) {
  const std::vector<float> sine = tone(440.0, {0.5});
  EXPECT_NEAR(rms(sine), 0.5 / std::sqrt(2.0), 1e-3);
  EXPECT_NEAR(peak(sine), 0.5, 1e-3);
  EXPECT_EQ(rms(std::vector<float>(100, 0.0f)), 0.0);
  EXPECT_EQ(rms({}), 0.0);
}

}  // namespace
}  // namespace brenavo::sound
