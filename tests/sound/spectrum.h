// Listening helpers for rendered sound: loudness and the pitch of a note.
#pragma once

#include <vector>

namespace brenavo::sound {

// Root mean square of the samples; 0 for none.
double rms(const std::vector<float>& samples);
// The largest absolute sample; 0 for none.
double peak(const std::vector<float>& samples);

// The fundamental frequency, in Hz, of a steady note between 50 and 2000 Hz, found in a
// Hann-windowed FFT of the first power-of-two run of samples (at most 32768) without taking
// a strong upper partial for the note. 0 when there are fewer than 1024 samples.
double fundamentalHz(const std::vector<float>& samples, int sampleRate);

}  // namespace brenavo::sound
