// Loading and saving the seventeen remembered values.
#pragma once

#include <cstdint>

#include "app/program.h"
#include "platform/platform.h"

namespace brenavo {

inline constexpr const char* APP_VERSION = "2.0.1";
inline constexpr const char* APP_LAST_MOD = "Tues.11.Jan.05";

int registryReadCreate(platform::KeyStore& store, int32_t* keySel_, int32_t* direcSel_,
                       int32_t* keySel2_, int32_t* direcSel2_, int32_t* scaleSteps_,
                       int32_t* formatSel_, int32_t* formatSel2_, int32_t* pentType_,
                       int32_t* vPos_, int32_t* midiVoice_, int32_t* scpIndex_,
                       int32_t* scaleSel_, int32_t* chordSel_, int32_t* circleSel_,
                       int32_t* chromaticSel_, int32_t* wholeToneSel_, int32_t* pentatonicSel_);

int registryUpdate(platform::KeyStore& store, int32_t keySel, int32_t direcSel, int32_t keySel2,
                   int32_t direcSel2, int32_t scaleSteps, int32_t formatSel, int32_t formatSel2,
                   int32_t pentType, int32_t vPos, int32_t midiVoice, int32_t scpIndex,
                   int32_t scaleSel, int32_t chordSel, int32_t circleSel, int32_t chromaticSel,
                   int32_t wholeToneSel, int32_t pentatonicSel);

// Brings hand-edited values back into range before anything indexes a table.
void validateLoadedSelection(SelectionState& sel);

// registryReadCreate over the program's variables, then validation.
void loadSettings(Program& program);
// registryUpdate with the program's variables.
void saveSettings(Program& program);

}  // namespace brenavo
