#include "settings/settings_store.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "model/tables.h"
#include "playback/transport.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

using platform::KeyStore;

inline constexpr int SAVED_VALUES = 17;

// One remembered value: its name in the store and the variable that holds it.
struct SavedValue {
  const char* name;
  int32_t* variable;
};
using SavedValues = std::array<SavedValue, SAVED_VALUES>;

// The seventeen values in the order in which they are written and read.
SavedValues savedValues(int32_t* keySel, int32_t* direcSel, int32_t* keySel2, int32_t* direcSel2,
                        int32_t* scaleSteps, int32_t* formatSel, int32_t* formatSel2,
                        int32_t* pentType, int32_t* vPos, int32_t* midiVoice, int32_t* scpIndex,
                        int32_t* scaleSel, int32_t* chordSel, int32_t* circleSel,
                        int32_t* chromaticSel, int32_t* wholeToneSel, int32_t* pentatonicSel) {
  return {{{"dBox_accKey", keySel},
           {"dBox_accKey2", keySel2},
           {"dBox_bellowsDirec", direcSel},
           {"dBox_bellowsDirec2", direcSel2},
           {"dBox_midiVoice", midiVoice},
           {"z__index", scpIndex},
           {"z_diatonic", scaleSel},
           {"z_chord", chordSel},
           {"z_circle", circleSel},
           {"z_chromatic", chromaticSel},
           {"z_wholeTone", wholeToneSel},
           {"z_pentatonic", pentatonicSel},
           {"scaleSteps", scaleSteps},
           {"formatSelected", formatSel},
           {"formatSelected2", formatSel2},
           {"playbackSpeed", vPos},
           {"pentScaleType", pentType}}};
}

void writeValues(KeyStore& store, const SavedValues& values) {
  for (const SavedValue& value : values) store.writeDword(value.name, *value.variable);
}

// Opens the key; a new key receives the version strings and the current values, an
// existing one gives its values (an absent value leaves its variable alone).
void readOrCreate(KeyStore& store, const SavedValues& values) {
  const KeyStore::Disposition disposition = store.openOrCreate();
  if (disposition == KeyStore::Disposition::Failed) return;
  if (disposition == KeyStore::Disposition::CreatedNew) {
    store.writeString("app_Version", APP_VERSION);
    store.writeString("app_LastMod", APP_LAST_MOD);
    writeValues(store, values);
  } else {
    for (const SavedValue& value : values) store.readDword(value.name, *value.variable);
  }
  store.closeKey();
}

// The last row of the largest table, the progressions: the chromatic scale (or no
// selection) keeps its row for a later format command, which must stay within it.
constexpr int32_t LAST_TABLE_ROW = static_cast<int32_t>(std::size(circleGroup)) - 1;

// A radio-button id out of its set falls back to its default; the index follows the id.
void validatePair(int32_t& id, int32_t& index, int32_t first, int32_t last, int32_t fallback) {
  if (!inRange(id, first, last)) id = fallback;
  index = id - first;
}

int activeKinds(const SelectionState& s) {
  const int32_t kinds[] = {s.chromaticSel, s.diatonicSel, s.pentatonicSel,
                           s.wholeToneSel, s.chordSel,    s.circleSel};
  return static_cast<int>(std::count_if(std::begin(kinds), std::end(kinds),
                                        [](int32_t kind) { return kind != 0; }));
}

bool pentatonicConsistent(const SelectionState& s) {
  if (!inRange(s.pentatonicSel, IDM_SCALE_PENT_1, IDM_SCALE_PENT_BLUES_12)) return false;
  const PentatonicRow pentatonic = pentatonicRowOf(s.pentatonicSel);
  return s.pentType == pentatonic.family && s.scpIndex == pentatonic.row;
}

// True when the kind globals and the row describe a selection the commands could make.
bool selectionConsistent(const SelectionState& s) {
  if (activeKinds(s) > 1) return false;
  switch (selectedKind(s)) {
    case Kind::Chromatic: return s.chromaticSel == 1;
    case Kind::Diatonic:
      return inRange(s.diatonicSel, IDM_SCALE_1, IDM_SCALE_5m) &&
             s.scpIndex == s.diatonicSel - IDM_SCALE_1 && hasDiatonicFingering(s.scpIndex);
    case Kind::Pentatonic: return pentatonicConsistent(s);
    case Kind::WholeTone:
      return inRange(s.wholeToneSel, IDM_SCALE_WT0, IDM_SCALE_WT1) &&
             s.scpIndex == s.wholeToneSel - IDM_SCALE_WT0;
    case Kind::Chord:
      return inRange(s.chordSel, IDM_CHORDS_MAJOR, IDM_CHORDS_7_DOM_B5) &&
             s.scpIndex == s.chordSel - IDM_CHORDS_MAJOR;
    case Kind::Progression:
      return inRange(s.circleSel, IDM_PROG_TRIAD_1, IDM_PROG_C_MEL_12) &&
             s.scpIndex == s.circleSel - IDM_PROG_TRIAD_1;
    case Kind::None: break;
  }
  return true;
}

// Back to the selection of a first run.
void resetSelection(SelectionState& s) {
  const SelectionState initial;
  clearKinds(s);
  s.diatonicSel = initial.diatonicSel;
  s.scpIndex = initial.scpIndex;
}

}  // namespace

int registryReadCreate(KeyStore& store, int32_t* keySel_, int32_t* direcSel_, int32_t* keySel2_,
                       int32_t* direcSel2_, int32_t* scaleSteps_, int32_t* formatSel_,
                       int32_t* formatSel2_, int32_t* pentType_, int32_t* vPos_,
                       int32_t* midiVoice_, int32_t* scpIndex_, int32_t* scaleSel_,
                       int32_t* chordSel_, int32_t* circleSel_, int32_t* chromaticSel_,
                       int32_t* wholeToneSel_, int32_t* pentatonicSel_) {
  readOrCreate(store, savedValues(keySel_, direcSel_, keySel2_, direcSel2_, scaleSteps_,
                                  formatSel_, formatSel2_, pentType_, vPos_, midiVoice_,
                                  scpIndex_, scaleSel_, chordSel_, circleSel_, chromaticSel_,
                                  wholeToneSel_, pentatonicSel_));
  return 0;
}

int registryUpdate(KeyStore& store, int32_t keySel, int32_t direcSel, int32_t keySel2,
                   int32_t direcSel2, int32_t scaleSteps, int32_t formatSel, int32_t formatSel2,
                   int32_t pentType, int32_t vPos, int32_t midiVoice, int32_t scpIndex,
                   int32_t scaleSel, int32_t chordSel, int32_t circleSel, int32_t chromaticSel,
                   int32_t wholeToneSel, int32_t pentatonicSel) {
  if (store.openOrCreate() == KeyStore::Disposition::Failed) return 0;
  writeValues(store, savedValues(&keySel, &direcSel, &keySel2, &direcSel2, &scaleSteps,
                                 &formatSel, &formatSel2, &pentType, &vPos, &midiVoice,
                                 &scpIndex, &scaleSel, &chordSel, &circleSel, &chromaticSel,
                                 &wholeToneSel, &pentatonicSel));
  store.closeKey();
  return 0;
}

void validateLoadedSelection(SelectionState& sel) {
  const SelectionState initial;
  validatePair(sel.keySel, sel.keySel2, IDRB_GCF, IDRB_ADG, initial.keySel);
  validatePair(sel.direcSel, sel.direcSel2, IDRB_OUT, IDRB_MIXED, initial.direcSel);
  validatePair(sel.formatSel, sel.formatSel2, IDM_SCALE_NOTES, IDM_SCALE_SIXTHS,
               initial.formatSel);
  if (!isVoiceId(sel.midiVoice)) sel.midiVoice = initial.midiVoice;
  sel.vPos = clampTempo(sel.vPos);
  if (!selectionConsistent(sel)) resetSelection(sel);
  // Only a pentatonic selection reads the family; any other keeps it harmless.
  if (!inRange(sel.pentType, 0, 2)) sel.pentType = initial.pentType;
  sel.scpIndex = std::clamp(sel.scpIndex, 0, LAST_TABLE_ROW);
  sel.scaleSteps = stepsOfSelection(sel);
}

void loadSettings(Program& program) {
  SelectionState& s = program.sel;
  registryReadCreate(program.os.keyStore, &s.keySel, &s.direcSel, &s.keySel2, &s.direcSel2,
                     &s.scaleSteps, &s.formatSel, &s.formatSel2, &s.pentType, &s.vPos,
                     &s.midiVoice, &s.scpIndex, &s.diatonicSel, &s.chordSel, &s.circleSel,
                     &s.chromaticSel, &s.wholeToneSel, &s.pentatonicSel);
  validateLoadedSelection(s);
}

void saveSettings(Program& program) {
  const SelectionState& s = program.sel;
  registryUpdate(program.os.keyStore, s.keySel, s.direcSel, s.keySel2, s.direcSel2, s.scaleSteps,
                 s.formatSel, s.formatSel2, s.pentType, s.vPos, s.midiVoice, s.scpIndex,
                 s.diatonicSel, s.chordSel, s.circleSel, s.chromaticSel, s.wholeToneSel,
                 s.pentatonicSel);
}

}  // namespace brenavo
