// aubio, loaded the first time the program listens. The library brings the codecs of a whole
// media framework with it (about a hundred shared libraries): loaded at start-up they would
// slow every start and hold memory for a feature most sessions never use.
#pragma once

#include <aubio/aubio.h>

namespace brenavo::listening {

struct AubioLibrary {
  decltype(&::new_fvec) newFvec;
  decltype(&::del_fvec) delFvec;
  decltype(&::new_aubio_window) newWindow;
  decltype(&::new_aubio_fft) newFft;
  decltype(&::aubio_fft_do_complex) fftDoComplex;
  decltype(&::del_aubio_fft) delFft;
  decltype(&::new_aubio_onset) newOnset;
  decltype(&::aubio_onset_set_silence) onsetSetSilence;
  decltype(&::aubio_onset_do) onsetDo;
  decltype(&::del_aubio_onset) delOnset;
};

// The library's functions, or nullptr when it is not installed or lacks one of them.
const AubioLibrary* aubioLibrary();

}  // namespace brenavo::listening
