// The four tunings of the treble keyboard. Each line of a side is one column of buttons,
// rows 0-10; row 10 of the outer columns holds a label text (MIDI 0), never a button.
// Every tuning is G-C-F moved by 0, -3, -2 or +2 semitones. Defined in a header, so that the
// fingerings can be computed from it when the program is compiled; model/tables.h includes it.
#pragma once

namespace brenavo {

inline constexpr ACC_KEYBOARD keyConfig[4] = {
    // G-C-F
    {"G-C-F",
     {"G mayor", "C mayor", "F mayor", "D mayor", "Bb mayor", "B mayor",
      "E mayor", "A mayor", "Eb mayor", "Ab mayor", "Db mayor", "Gb mayor",
      "E menor", "A menor", "D menor", "B menor", "G menor", "Ab menor",
      "Db menor", "Gb menor", "C menor", "F menor", "Bb menor", "Eb menor"},
     {"D#", "-A", "C", "E", "F#", "A", "c", "e", "f#", "a", "G-C-F",  // pull column 0
      "G#", "-B", "D", "F", "A", "B", "d", "f", "a", "b", "d+",  // pull column 1
      "c#", "E", "G", "A#", "d", "e", "g", "a#", "d+", "e+", "---",  // pull column 2
      "C#", "-G", "-B", "D", "G", "B", "d", "g", "b", "d+", "C",  // push column 0
      "F#", "-G", "C", "E", "G", "c", "e", "g", "c+", "e+", "g+",  // push column 1
      "d#", "C", "F", "A", "c", "f", "a", "c+", "f+", "a+", "F"},  // push column 2
     {63, 57, 60, 64, 66, 69, 72, 76, 78, 81, 0,  // pull column 0
      68, 59, 62, 65, 69, 71, 74, 77, 81, 83, 86,  // pull column 1
      73, 64, 67, 70, 74, 76, 79, 82, 86, 88, 0,  // pull column 2
      61, 55, 59, 62, 67, 71, 74, 79, 83, 86, 0,  // push column 0
      66, 55, 60, 64, 67, 72, 76, 79, 84, 88, 91,  // push column 1
      75, 60, 65, 69, 72, 77, 81, 84, 89, 93, 0}},  // push column 2
    // E-A-D
    {"E-A-D",
     {"E mayor", "A mayor", "D mayor", "B mayor", "G mayor", "Ab mayor",
      "Db mayor", "Gb mayor", "C mayor", "F mayor", "Bb mayor", "Eb mayor",
      "Db menor", "Gb menor", "B menor", "Ab menor", "E menor", "F menor",
      "Bb menor", "Eb menor", "A menor", "D menor", "G menor", "C menor"},
     {"C", "-F#", "-A", "C#", "D#", "F#", "A", "c#", "d#", "f#", "E-A-D",  // pull column 0
      "F", "-G#", "-B", "D", "F#", "G#", "B", "d", "f#", "g#", "b",  // pull column 1
      "A#", "C#", "E", "G", "B", "c#", "e", "g", "b", "c#+", "---",  // pull column 2
      "-A#", "-E", "-G#", "-B", "E", "G#", "B", "e", "g#", "b", "A",  // push column 0
      "D#", "-E", "-A", "C#", "E", "A", "c#", "e", "a", "c#+", "e+",  // push column 1
      "c", "-A", "D", "F#", "A", "d", "f#", "a", "d+", "f#+", "D"},  // push column 2
     {60, 54, 57, 61, 63, 66, 69, 73, 75, 78, 0,  // pull column 0
      65, 56, 59, 62, 66, 68, 71, 74, 78, 80, 83,  // pull column 1
      70, 61, 64, 67, 71, 73, 76, 79, 83, 85, 0,  // pull column 2
      58, 52, 56, 59, 64, 68, 71, 76, 80, 83, 0,  // push column 0
      63, 52, 57, 61, 64, 69, 73, 76, 81, 85, 88,  // push column 1
      72, 57, 62, 66, 69, 74, 78, 81, 86, 90, 0}},  // push column 2
    // F-Bb-Eb
    {"F-Bb-Eb",
     {"F mayor", "Bb mayor", "Eb mayor", "C mayor", "Ab mayor", "A mayor",
      "D mayor", "G mayor", "Db mayor", "Gb mayor", "B mayor", "E mayor",
      "D menor", "G menor", "C menor", "A menor", "F menor", "Gb menor",
      "B menor", "E menor", "Bb menor", "Eb menor", "Ab menor", "Db menor"},
     {"C#", "-G", "-A#", "D", "E", "G", "A#", "d", "e", "g", "F-Bb-Eb",  // pull column 0
      "F#", "-A", "C", "D#", "G", "A", "c", "d#", "g", "a", "c+",  // pull column 1
      "B", "D", "F", "G#", "c", "d", "f", "g#", "c+", "d+", "---",  // pull column 2
      "-B", "-F", "-A", "C", "F", "A", "c", "f", "a", "c+", "Bb",  // push column 0
      "E", "-F", "-A#", "D", "F", "A#", "d", "f", "a#", "d+", "f+",  // push column 1
      "c#", "-A#", "D#", "G", "A#", "d#", "g", "a#", "d#+", "g+", "Eb"},  // push column 2
     {61, 55, 58, 62, 64, 67, 70, 74, 76, 79, 0,  // pull column 0
      66, 57, 60, 63, 67, 69, 72, 75, 79, 81, 84,  // pull column 1
      71, 62, 65, 68, 72, 74, 77, 80, 84, 86, 0,  // pull column 2
      59, 53, 57, 60, 65, 69, 72, 77, 81, 84, 0,  // push column 0
      64, 53, 58, 62, 65, 70, 74, 77, 82, 86, 89,  // push column 1
      73, 58, 63, 67, 70, 75, 79, 82, 87, 91, 0}},  // push column 2
    // A-D-G
    {"A-D-G",
     {"A mayor", "D mayor", "G mayor", "E mayor", "C mayor", "Db mayor",
      "Gb mayor", "B mayor", "F mayor", "Bb mayor", "Eb mayor", "Ab mayor",
      "Gb menor", "B menor", "E menor", "Db menor", "A menor", "Bb menor",
      "Eb menor", "Ab menor", "D menor", "G menor", "C menor", "F menor"},
     {"F", "-B", "D", "F#", "G#", "B", "d", "f#", "g#", "b", "A-D-G",  // pull column 0
      "A#", "C#", "E", "G", "B", "c#", "e", "g", "b", "c#+", "e+",  // pull column 1
      "d#", "F#", "A", "c", "e", "f#", "a", "c+", "e+", "f#+", "---",  // pull column 2
      "D#", "-A", "C#", "E", "A", "c#", "e", "a", "c#+", "e+", "D",  // push column 0
      "G#", "-A", "D", "F#", "A", "d", "f#", "a", "d+", "f#+", "a+",  // push column 1
      "f", "D", "G", "B", "d", "g", "b", "d+", "g+", "b+", "G"},  // push column 2
     {65, 59, 62, 66, 68, 71, 74, 78, 80, 83, 0,  // pull column 0
      70, 61, 64, 67, 71, 73, 76, 79, 83, 85, 88,  // pull column 1
      75, 66, 69, 72, 76, 78, 81, 84, 88, 90, 0,  // pull column 2
      63, 57, 61, 64, 69, 73, 76, 81, 85, 88, 0,  // push column 0
      68, 57, 62, 66, 69, 74, 78, 81, 86, 90, 93,  // push column 1
      77, 62, 67, 71, 74, 79, 83, 86, 91, 95, 0}}  // push column 2
};

}  // namespace brenavo
