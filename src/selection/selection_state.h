// What the user has chosen and where playback stands. Every field keeps the name the
// rest of the program uses; the initial values are those of a first run.
#pragma once

#include <cstdint>

#include "model/ids.h"

namespace brenavo {

struct SelectionState {
  int32_t keySel = IDRB_GCF;          // tuning, as its radio button id (1011-1014)
  int32_t keySel2 = 0;                // tuning index 0-3, always keySel - 1011
  int32_t direcSel = IDRB_OUT;        // bellows direction, as its radio button id (1021-1023)
  int32_t direcSel2 = 0;              // direction index 0-2, always direcSel - 1021
  int32_t midiVoice = IDRB_TANGO_ACC; // General MIDI program: 23, 72, 0 or 24
  int32_t formatSel = IDM_SCALE_NOTES;// diatonic format command (201-203)
  int32_t formatSel2 = 0;             // format index 0-2, always formatSel - 201
  int32_t pentType = 0;               // pentatonic family 0-2

  // Kind globals: at most one is non-zero and it holds the command that selected it.
  int32_t chromaticSel = 0;
  int32_t diatonicSel = IDM_SCALE_1;
  int32_t pentatonicSel = 0;
  int32_t wholeToneSel = 0;
  int32_t chordSel = 0;
  int32_t circleSel = 0;

  int32_t scpIndex = 0;               // row of the selection within its table
  int32_t scaleSteps = 0;             // steps of the selection; loading sets it
  int32_t scalePoint = 0;             // next step to play
  int32_t vPos = 1;                   // tempo 1-20: timer period vPos x 250 ms

  int32_t ctrlPlay = 0;
  int32_t ctrlLoop = 0;
  int32_t ctrlPause = 0;
  int32_t midiDevExists = 0;
};

}  // namespace brenavo
