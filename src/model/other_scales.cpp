// The chromatic and whole-tone scales, laid out per tuning at fixed pitches (from C, or from B
// for the second whole-tone scale), and the pentatonic scales, computed from the keyboard.
#include "model/fingering.h"
#include "model/tables.h"

namespace brenavo {

// C (60) up to c (72) by semitones; A-D-G has no C and starts on c.
constexpr int32_t scalePatternChromatic[4][13] = {
    {2, 33, 13, 0, 3, 14, 4, 24, 11, 5, 25, 16, 6},  // G-C-F
    {0, 3, 14, 4, 24, 11, 5, 25, 16, 6, 22, 17, 55},  // E-A-D
    {13, 0, 3, 14, 4, 24, 11, 5, 25, 16, 6, 22, 17},  // F-Bb-Eb
    {25, 12, 2, 33, 13, 0, 3, 14, 4, 24, 11, 5, 25},  // A-D-G
};

// Scale 0 climbs by tones from C (60) to c+ (84), scale 1 from -B (59) to b (83); a pitch
// that a tuning lacks is played an octave away.
constexpr WT_FORMATS hexPats[4] = {
    // G-C-F
    {{{"Hexatonica / WT0", {2, 13, 3, 4, 11, 25, 6, 17, 7, 8, 11, 29, 62}},
      {"Hexatonica / WT1", {35, 33, 0, 14, 24, 5, 16, 22, 55, 18, 28, 19, 20}}}},
    // E-A-D
    {{{"Hexatonica / WT0", {0, 14, 24, 15, 16, 22, 55, 18, 28, 19, 20, 22, 55}},
      {"Hexatonica / WT1", {13, 3, 4, 11, 25, 6, 17, 7, 8, 11, 29, 62, 30}}}},
    // F-Bb-Eb
    {{{"Hexatonica / WT0", {13, 3, 4, 11, 25, 6, 17, 7, 8, 11, 29, 62, 30}},
      {"Hexatonica / WT1", {33, 0, 14, 24, 5, 16, 22, 55, 18, 28, 9, 20, 22}}}},
    // A-D-G
    {{{"Hexatonica / WT0", {25, 2, 13, 3, 4, 11, 25, 6, 17, 7, 8, 11, 29}},
      {"Hexatonica / WT1", {1, 12, 33, 0, 14, 24, 5, 16, 22, 55, 18, 28, 9}}}},
};

namespace {

// The names of a pentatonic family, the fingerings of its twelve keys added.
constexpr PENT_FORMATS fingered(const PENT_FORMATS& named, int family) {
  PENT_FORMATS out = named;
  for (int k = 0; k < 12; ++k) {
    const NOTE_SEQUENCE computed = fingering::pentatonicFingering(family, k).sequence;
    out.pentScale[k].scaleSteps = computed.scaleSteps;
    for (int step = 0; step < computed.scaleSteps; ++step) out.pentScale[k].iNote[step] = computed.note1[step];
  }
  return out;
}

// Family 0 major, 1 minor, 2 blues; each name as it reads in G-C-F, E-A-D, F-Bb-Eb, A-D-G.
// Steps and notes are left to `fingered`.
constexpr PENT_FORMATS pentatonicNames[3] = {
    {"pentatonica /",
     {
         {{"G mayor", "E mayor", "F mayor", "A mayor"}, 0, {}},
         {{"C mayor", "A mayor", "Bb mayor", "D mayor"}, 0, {}},
         {{"F mayor", "D mayor", "Eb mayor", "G mayor"}, 0, {}},
         {{"D mayor", "B mayor", "C mayor", "E mayor"}, 0, {}},
         {{"Bb mayor", "G mayor", "Ab mayor", "C mayor"}, 0, {}},
         {{"B mayor", "Ab mayor", "A mayor", "Db mayor"}, 0, {}},
         {{"E mayor", "Db mayor", "D mayor", "Gb mayor"}, 0, {}},
         {{"A mayor", "Gb mayor", "G mayor", "B mayor"}, 0, {}},
         {{"Eb mayor", "C mayor", "Db mayor", "F mayor"}, 0, {}},
         {{"Ab mayor", "F mayor", "Gb mayor", "Bb mayor"}, 0, {}},
         {{"Db mayor", "Bb mayor", "B mayor", "Eb mayor"}, 0, {}},
         {{"Gb mayor", "Eb mayor", "E mayor", "Ab mayor"}, 0, {}},
     }},
    {"pentatonica /",
     {
         {{"G menor", "E menor", "F menor", "A menor"}, 0, {}},
         {{"C menor", "A menor", "Bb menor", "D menor"}, 0, {}},
         {{"F menor", "D menor", "Eb menor", "G menor"}, 0, {}},
         {{"D menor", "B menor", "C menor", "E menor"}, 0, {}},
         {{"Bb menor", "G menor", "Ab menor", "C menor"}, 0, {}},
         {{"B menor", "Ab menor", "A menor", "Db menor"}, 0, {}},
         {{"E menor", "Db menor", "D menor", "Gb menor"}, 0, {}},
         {{"A menor", "Gb menor", "G menor", "B menor"}, 0, {}},
         {{"Eb menor", "C menor", "Db menor", "F menor"}, 0, {}},
         {{"Ab menor", "F menor", "Gb menor", "Bb menor"}, 0, {}},
         {{"Db menor", "Bb menor", "B menor", "Eb menor"}, 0, {}},
         {{"Gb menor", "Eb menor", "E menor", "Ab menor"}, 0, {}},
     }},
    {"pentatonica / blues /",
     {
         {{"G", "E", "F", "A"}, 0, {}},
         {{"C", "A", "Bb", "D"}, 0, {}},
         {{"F", "D", "Eb", "G"}, 0, {}},
         {{"D", "B", "C", "E"}, 0, {}},
         {{"Bb", "G", "Ab", "C"}, 0, {}},
         {{"B", "Ab", "A", "Db"}, 0, {}},
         {{"E", "Db", "D", "Gb"}, 0, {}},
         {{"A", "Gb", "G", "B"}, 0, {}},
         {{"Eb", "C", "Db", "F"}, 0, {}},
         {{"Ab", "F", "Gb", "Bb"}, 0, {}},
         {{"Db", "Bb", "B", "Eb"}, 0, {}},
         {{"Gb", "Eb", "E", "Ab"}, 0, {}},
     }},
};

}  // namespace

constexpr PENT_FORMATS pentPats[3] = {fingered(pentatonicNames[0], 0), fingered(pentatonicNames[1], 1),
                                      fingered(pentatonicNames[2], 2)};

}  // namespace brenavo
