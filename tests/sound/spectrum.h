// Listening helpers for rendered sound: loudness and the pitch of a note.
#pragma once

#include <vector>

namespace brenavo::sound {

// Root mean square of the samples; 0 for none.
double rms(const std::vector<float>& samples);
// The largest absolute sample; 0 for none.
double peak(const std::vector<float>& samples);

// The fundamental frequency, in Hz, of a steady note between minHz and maxHz: a Hann-windowed
// FFT of the first power-of-two run of samples (at most 32768), a harmonic product spectrum so
// that a strong upper partial is not taken for the note, and a parabolic fit of the peak.
// Returns 0 when there are fewer than 1024 samples.
double fundamentalHz(const std::vector<float>& samples, int sampleRate, double minHz = 50.0,
                     double maxHz = 2000.0);

}  // namespace brenavo::sound
