#include "settings/settings_store.h"

#include "playback/transport.h"
#include "selection/selection_rules.h"

namespace brenavo {

namespace {

using platform::KeyStore;

void writeValues(KeyStore& store, const SelectionState& sel) {
  for (const SavedValue& value : SAVED_VALUES) store.writeDword(value.name, sel.*value.variable);
}

// A radio-button id out of its set falls back to its default; the index follows the id.
void validatePair(int32_t& id, int32_t& index, int32_t first, int32_t last, int32_t fallback) {
  if (!inRange(id, first, last)) id = fallback;
  index = id - first;
}

// Back to the selection of a first run.
void resetSelection(SelectionState& s) {
  const SelectionState initial;
  clearKinds(s);
  s.diatonicSel = initial.diatonicSel;
  s.scpIndex = initial.scpIndex;
}

}  // namespace

int registryReadCreate(KeyStore& store, SelectionState& sel) {
  const KeyStore::Disposition disposition = store.openOrCreate();
  if (disposition == KeyStore::Disposition::Failed) return 0;
  if (disposition == KeyStore::Disposition::CreatedNew) {
    store.writeString("app_Version", APP_VERSION);
    store.writeString("app_LastMod", APP_LAST_MOD);
    writeValues(store, sel);
  } else {
    for (const SavedValue& value : SAVED_VALUES) store.readDword(value.name, sel.*value.variable);
  }
  store.closeKey();
  return 0;
}

int registryUpdate(KeyStore& store, const SelectionState& sel) {
  if (store.openOrCreate() == KeyStore::Disposition::Failed) return 0;
  writeValues(store, sel);
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
  if (!inRange(sel.pentType, 0, 2)) sel.pentType = initial.pentType;
  if (!selectionConsistent(sel)) resetSelection(sel);
  sel.scaleSteps = stepsOfSelection(sel);
}

void loadSettings(Program& program) {
  registryReadCreate(program.os.keyStore, program.sel);
  validateLoadedSelection(program.sel);
}

void saveSettings(Program& program) { registryUpdate(program.os.keyStore, program.sel); }

}  // namespace brenavo
