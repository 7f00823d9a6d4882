// The constant tables of the instrument: tunings, scales, chords and progressions.
// Every table names buttons by position: 0-32 the pull side, 33-65 the push side;
// 10, 32, 43 and 65 are label slots, never buttons.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ids.h"

namespace brenavo {

inline constexpr int KB_BUTTONS = 33;        // positions per side
inline constexpr int KB_POSITIONS = 66;      // both sides
inline constexpr int COLS_CHROMATIC = 13;
inline constexpr int COLS_WHOLETONE = 13;
inline constexpr int COLS_CHORDS = 12;
inline constexpr int COLS_PROGS_3 = 3;
inline constexpr int COLS_PROGS_4 = 4;
inline constexpr int DIATONIC_MAX_STEPS = 15;
inline constexpr int PENT_STEPS = 11;        // major and minor pentatonic
inline constexpr int PENT_MAX_STEPS = 13;    // the six-note blues scale
inline constexpr int CHORD_MAX_NOTES = 4;    // notes a chord sounds at most
inline constexpr int CHORD_END = -1;         // ends the positions of a chord

inline constexpr bool isLabelSlot(int position) {
  return position == 10 || position == 32 || position == 43 || position == 65;
}

// One tuning of the treble keyboard.
struct ACC_KEYBOARD {
  const char* szKeyConfig;           // "G-C-F", ...
  const char* szKeysAvailable[24];   // 0-11 major keys, 12-23 minor keys
  const char* szNoteName[66];        // note name per position (label texts in the slots)
  int32_t midiKeyNum[66];            // MIDI note per position (0 in the slots)
};

// One diatonic scale in one format: note2 is all 0 in single notes.
struct NOTE_SEQUENCE {
  int32_t scaleSteps;
  int32_t note1[DIATONIC_MAX_STEPS];
  int32_t note2[DIATONIC_MAX_STEPS];
};

struct SCALE_SET {
  const char* szFormat;              // "FORMATO: ..."
  NOTE_SEQUENCE iScale[24];          // by key index
};

struct DIATONIC_SCALES {
  const char* szDirec;               // "DIRECCION: ..."
  SCALE_SET iFormat[3];              // single notes, thirds, sixths
};

struct WT_SCALE {
  const char* szName;                // "Hexatonica / WT0" or "Hexatonica / WT1"
  int32_t iNote[COLS_WHOLETONE];
};

struct WT_FORMATS {
  WT_SCALE hexScale[2];
};

struct PENT_SCALE {
  const char* szName[4];             // key name per tuning
  int32_t scaleSteps;                // 11, or 13 for the blues scale
  int32_t iNote[PENT_MAX_STEPS];
};

struct PENT_FORMATS {
  const char* szType;
  PENT_SCALE pentScale[12];
};

struct CHORD {
  const char* szChordName;
  int32_t iNote[5];                  // positions, then -1
};

struct ACC_CHORDS {
  const char* szChordType;
  CHORD iChord[12];
};

struct ACC_CIRCLES {
  const char* szCircleName[4];       // key name per tuning
  CHORD iChord[4];                   // the fourth is empty in triad progressions
};

// Every one of the 24 rows of a diatonic format holds a fingering: written out by hand or
// computed from the keyboard.
inline constexpr bool hasDiatonicFingering(int row) { return inRange(row, 0, 23); }

// The notes a chord sounds: its positions up to the end mark, four at most.
inline constexpr int chordNoteCount(const CHORD& chord) {
  int notes = 0;
  while (notes < CHORD_MAX_NOTES && chord.iNote[notes] != CHORD_END) ++notes;
  return notes;
}

// The entry of a table at an index, or nullptr when the index lies outside it.
template <typename T, size_t N>
const T* entryAt(const T (&table)[N], int index) {
  return index >= 0 && static_cast<size_t>(index) < N ? &table[index] : nullptr;
}

extern const DIATONIC_SCALES notePats[3];
extern const int32_t scalePatternChromatic[4][COLS_CHROMATIC];
extern const WT_FORMATS hexPats[4];
extern const PENT_FORMATS pentPats[3];
extern const ACC_CHORDS chordGroup[11];
extern const ACC_CIRCLES circleGroup[36];

}  // namespace brenavo

#include "model/tunings.h"  // keyConfig: the four tunings
