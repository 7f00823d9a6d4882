#include "listening/aubio_library.h"

#include <dlfcn.h>

#include <optional>

namespace brenavo::listening {

namespace {

constexpr const char* AUBIO_SONAME = "libaubio.so.5";

template <typename Function>
bool resolve(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  return function != nullptr;
}

std::optional<AubioLibrary> load() {
  void* handle = dlopen(AUBIO_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return std::nullopt;
  AubioLibrary lib{};
  const bool complete =
      resolve(handle, "new_fvec", lib.newFvec) && resolve(handle, "del_fvec", lib.delFvec) &&
      resolve(handle, "new_aubio_window", lib.newWindow) &&
      resolve(handle, "new_aubio_fft", lib.newFft) &&
      resolve(handle, "aubio_fft_do_complex", lib.fftDoComplex) &&
      resolve(handle, "del_aubio_fft", lib.delFft) &&
      resolve(handle, "new_aubio_onset", lib.newOnset) &&
      resolve(handle, "aubio_onset_set_silence", lib.onsetSetSilence) &&
      resolve(handle, "aubio_onset_do", lib.onsetDo) &&
      resolve(handle, "del_aubio_onset", lib.delOnset);
  if (complete) return lib;  // the library stays loaded for the life of the program
  dlclose(handle);
  return std::nullopt;
}

}  // namespace

const AubioLibrary* aubioLibrary() {
  static const std::optional<AubioLibrary> library = load();
  return library ? &*library : nullptr;
}

}  // namespace brenavo::listening
