// The chromatic and whole-tone scales, laid out per tuning at fixed pitches (from C, or from B
// for the second whole-tone scale), and the names of the pentatonic scales, which have no
// fingerings yet.
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

// Family 0 major, 1 minor, 2 blues; each name as it reads in G-C-F, E-A-D, F-Bb-Eb, A-D-G.
constexpr PENT_FORMATS pentPats[3] = {
    {"pentatonica /",
     {
         {{"G mayor", "E mayor", "F mayor", "A mayor"}, 11, {}},
         {{"C mayor", "A mayor", "Bb mayor", "D mayor"}, 11, {}},
         {{"F mayor", "D mayor", "Eb mayor", "G mayor"}, 11, {}},
         {{"D mayor", "B mayor", "C mayor", "E mayor"}, 11, {}},
         {{"Bb mayor", "G mayor", "Ab mayor", "C mayor"}, 11, {}},
         {{"B mayor", "Ab mayor", "A mayor", "Db mayor"}, 11, {}},
         {{"E mayor", "Db mayor", "D mayor", "Gb mayor"}, 11, {}},
         {{"A mayor", "Gb mayor", "G mayor", "B mayor"}, 11, {}},
         {{"Eb mayor", "C mayor", "Db mayor", "F mayor"}, 11, {}},
         {{"Ab mayor", "F mayor", "Gb mayor", "Bb mayor"}, 11, {}},
         {{"Db mayor", "Bb mayor", "B mayor", "Eb mayor"}, 11, {}},
         {{"Gb mayor", "Eb mayor", "E mayor", "Ab mayor"}, 11, {}},
     }},
    {"pentatonica /",
     {
         {{"G menor", "E menor", "F menor", "A menor"}, 11, {}},
         {{"C menor", "A menor", "Bb menor", "D menor"}, 11, {}},
         {{"F menor", "D menor", "Eb menor", "G menor"}, 11, {}},
         {{"D menor", "B menor", "C menor", "E menor"}, 11, {}},
         {{"Bb menor", "G menor", "Ab menor", "C menor"}, 11, {}},
         {{"B menor", "Ab menor", "A menor", "Db menor"}, 11, {}},
         {{"E menor", "Db menor", "D menor", "Gb menor"}, 11, {}},
         {{"A menor", "Gb menor", "G menor", "B menor"}, 11, {}},
         {{"Eb menor", "C menor", "Db menor", "F menor"}, 11, {}},
         {{"Ab menor", "F menor", "Gb menor", "Bb menor"}, 11, {}},
         {{"Db menor", "Bb menor", "B menor", "Eb menor"}, 11, {}},
         {{"Gb menor", "Eb menor", "E menor", "Ab menor"}, 11, {}},
     }},
    {"pentatonica / blues /",
     {
         {{"G", "E", "F", "A"}, 11, {}},
         {{"C", "A", "Bb", "D"}, 11, {}},
         {{"F", "D", "Eb", "G"}, 11, {}},
         {{"D", "B", "C", "E"}, 11, {}},
         {{"Bb", "G", "Ab", "C"}, 11, {}},
         {{"B", "Ab", "A", "Db"}, 11, {}},
         {{"E", "Db", "D", "Gb"}, 11, {}},
         {{"A", "Gb", "G", "B"}, 11, {}},
         {{"Eb", "C", "Db", "F"}, 11, {}},
         {{"Ab", "F", "Gb", "Bb"}, 11, {}},
         {{"Db", "Bb", "B", "Eb"}, 11, {}},
         {{"Gb", "Eb", "E", "Ab"}, 11, {}},
     }},
};

}  // namespace brenavo
