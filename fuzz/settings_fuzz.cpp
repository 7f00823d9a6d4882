// Any bytes, read as a settings store, load as a valid selection that paints, plays a
// whole run and saves what loads back unchanged.
//
// The bytes: one byte for the store (0 or 1: the key exists, 2: it is created now,
// 3: it cannot be opened; only the low two bits count), then one control byte per value
// in the order the program writes them:
//   control % 4 == 0  the value is absent
//   control % 4 == 1  base + the next byte as a signed 8-bit number
//   control % 4 == 2  the next four bytes, little-endian, as a signed 32-bit number
//   control % 4 == 3  base + control / 4 (0-63)
// where base is where the value's meaningful range starts. Missing bytes read as 0.
#include <cstddef>
#include <cstdint>

#include "app/brenavo_funcs.h"
#include "fakes/recording_platform.h"
#include "settings_check.h"

namespace brenavo::fuzz {
namespace {

struct StoredName {
  const char* name;
  int32_t base;
};

constexpr StoredName storedNames[] = {
    {"dBox_accKey", IDRB_GCF},
    {"dBox_accKey2", 0},
    {"dBox_bellowsDirec", IDRB_OUT},
    {"dBox_bellowsDirec2", 0},
    {"dBox_midiVoice", 0},
    {"z__index", 0},
    {"z_diatonic", IDM_SCALE_1},
    {"z_chord", IDM_CHORDS_MAJOR},
    {"z_circle", IDM_PROG_TRIAD_1},
    {"z_chromatic", 0},
    {"z_wholeTone", IDM_SCALE_WT0},
    {"z_pentatonic", IDM_SCALE_PENT_1},
    {"scaleSteps", 0},
    {"formatSelected", IDM_SCALE_NOTES},
    {"formatSelected2", 0},
    {"playbackSpeed", 0},
    {"pentScaleType", 0},
};

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), left_(size) {}

  uint8_t byte() {
    if (left_ == 0) return 0;
    --left_;
    return *data_++;
  }

  int32_t int32() {
    uint32_t bits = 0;
    for (int shift = 0; shift < 32; shift += 8) bits |= static_cast<uint32_t>(byte()) << shift;
    return static_cast<int32_t>(bits);
  }

 private:
  const uint8_t* data_;
  size_t left_;
};

void fillStore(ByteReader& bytes, fakes::RecordingPlatform& fake) {
  const int state = bytes.byte() & 3;
  fake.storeExists = state < 2;
  fake.storeFails = state == 3;
  for (const StoredName& stored : storedNames) {
    const uint8_t control = bytes.byte();
    switch (control % 4) {
      case 0:
        break;
      case 1:
        fake.storedDwords[stored.name] = stored.base + static_cast<int8_t>(bytes.byte());
        break;
      case 2:
        fake.storedDwords[stored.name] = bytes.int32();
        break;
      default:
        fake.storedDwords[stored.name] = stored.base + control / 4;
        break;
    }
  }
}

// The next run of the program finds what this one saved.
void requireSecondRunLoadsTheSame(const fakes::RecordingPlatform& first,
                                  const SelectionState& saved) {
  fakes::RecordingPlatform second;
  second.storeExists = true;
  second.storedDwords = first.storedDwords;
  const SelectionState reloaded = runProgramOnce(second.services(), second);
  require(sameSavedValues(reloaded, saved), "the saved settings load back changed");
}

}  // namespace
}  // namespace brenavo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brenavo::fuzz;
  brenavo::fakes::RecordingPlatform fake;
  ByteReader bytes(data, size);
  fillStore(bytes, fake);
  const bool storeUsable = !fake.storeFails;
  const brenavo::SelectionState saved = runProgramOnce(fake.services(), fake);
  if (storeUsable) requireSecondRunLoadsTheSame(fake, saved);
  return 0;
}
