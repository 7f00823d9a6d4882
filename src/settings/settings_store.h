// Loading and saving the seventeen remembered values.
#pragma once

#include <array>
#include <cstdint>

#include "app/program.h"
#include "platform/platform.h"
#include "selection/selection_state.h"

namespace brenavo {

inline constexpr const char* APP_VERSION = "2.0.1";
inline constexpr const char* APP_LAST_MOD = "Tues.11.Jan.05";

// One remembered value: its name in the store and the selection variable that holds it.
struct SavedValue {
  const char* name;
  int32_t SelectionState::*variable;
};

// The seventeen values in the order in which they are written and read.
inline constexpr std::array<SavedValue, 17> SAVED_VALUES = {{
    {"dBox_accKey", &SelectionState::keySel},
    {"dBox_accKey2", &SelectionState::keySel2},
    {"dBox_bellowsDirec", &SelectionState::direcSel},
    {"dBox_bellowsDirec2", &SelectionState::direcSel2},
    {"dBox_midiVoice", &SelectionState::midiVoice},
    {"z__index", &SelectionState::scpIndex},
    {"z_diatonic", &SelectionState::diatonicSel},
    {"z_chord", &SelectionState::chordSel},
    {"z_circle", &SelectionState::circleSel},
    {"z_chromatic", &SelectionState::chromaticSel},
    {"z_wholeTone", &SelectionState::wholeToneSel},
    {"z_pentatonic", &SelectionState::pentatonicSel},
    {"scaleSteps", &SelectionState::scaleSteps},
    {"formatSelected", &SelectionState::formatSel},
    {"formatSelected2", &SelectionState::formatSel2},
    {"playbackSpeed", &SelectionState::vPos},
    {"pentScaleType", &SelectionState::pentType},
}};

// Opens the store. A new one receives the version strings and the seventeen values of
// `sel`; an existing one gives its values to `sel` (an absent value leaves its variable
// alone). A store that cannot be opened leaves everything alone. Returns 0.
int registryReadCreate(platform::KeyStore& store, SelectionState& sel);

// Writes the seventeen values of `sel`, unless the store cannot be opened. Returns 0.
int registryUpdate(platform::KeyStore& store, const SelectionState& sel);

// Brings hand-edited values back into range before anything indexes a table.
void validateLoadedSelection(SelectionState& sel);

// registryReadCreate over the program's selection, then validation.
void loadSettings(Program& program);
// registryUpdate with the program's selection.
void saveSettings(Program& program);

}  // namespace brenavo
