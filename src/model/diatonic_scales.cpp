// The diatonic scales as fingerings: for every step the button to press (positions 33-65 on
// the push side), and in thirds and sixths the second button played with it. One table serves
// all four tunings; key names below are those of G-C-F. Keys 0-4 and 12-16 are fingered by
// hand below; the other keys are computed from the keyboard when the program is compiled.
#include "model/fingering.h"
#include "model/tables.h"

namespace brenavo {

namespace {

// A key the generator fills.
constexpr NOTE_SEQUENCE noFingering = {8, {}, {}};

// Single notes, bellows pulling.
constexpr SCALE_SET pullNotes = {
    "FORMATO: notas sencillas",
    {
        {15, {34, 1, 12, 2, 13, 3, 4, 24, 5, 16, 6, 17, 7, 8, 28},  // 0 G mayor
         {}},
        {15, {2, 13, 3, 14, 24, 5, 16, 6, 17, 27, 18, 28, 9, 20, 62},  // 1 C mayor
         {}},
        {15, {14, 24, 15, 25, 6, 17, 27, 18, 28, 19, 29, 62, 42, 53, 63},  // 2 F mayor
         {}},
        {15, {13, 3, 4, 24, 15, 16, 22, 17, 7, 8, 28, 19, 20, 22, 21},  // 3 D mayor
         {}},
        {15, {25, 2, 13, 0, 14, 24, 15, 25, 6, 17, 55, 18, 28, 19, 29},  // 4 Bb mayor
         {}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {15, {3, 4, 24, 5, 16, 6, 17, 7, 8, 28, 9, 20, 62, 42, 53},  // 12 E menor
         {}},
        {15, {1, 12, 2, 13, 3, 14, 24, 5, 16, 6, 17, 27, 18, 28, 9},  // 13 A menor
         {}},
        {15, {13, 23, 14, 24, 15, 25, 6, 17, 27, 18, 28, 19, 29, 62, 30},  // 14 D menor
         {}},
        {15, {12, 33, 13, 3, 4, 24, 15, 16, 22, 17, 7, 8, 28, 19, 20},  // 15 B menor
         {}},
        {15, {34, 1, 25, 2, 13, 0, 14, 24, 15, 25, 6, 17, 55, 18, 28},  // 16 G menor
         {}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Thirds, bellows pulling.
constexpr SCALE_SET pullThirds = {
    "FORMATO: terceras",
    {
        {15, {34, 1, 12, 2, 13, 23, 4, 24, 5, 16, 6, 17, 27, 8, 28},  // 0 G mayor
         {35, 2, 13, 3, 4, 24, 5, 16, 6, 17, 7, 8, 28, 9, 20}},
        {15, {2, 13, 23, 14, 24, 5, 16, 6, 17, 27, 18, 28, 61, 20, 52},  // 1 C mayor
         {3, 14, 24, 5, 16, 6, 17, 7, 18, 28, 9, 20, 62, 21, 53}},
        {15, {14, 24, 5, 25, 6, 17, 27, 18, 28, 61, 29, 52, 42, 53, 63},  // 2 F mayor
         {5, 25, 6, 17, 7, 18, 28, 9, 29, 62, 21, 53, 63, 54, 64}},
        {15, {13, 23, 4, 24, 15, 16, 22, 17, 27, 8, 28, 19, 20, 22, 21},  // 3 D mayor
         {4, 24, 5, 16, 22, 17, 27, 8, 28, 9, 20, 22, 21, 31, 8}},
        {15, {25, 2, 13, 0, 14, 24, 5, 25, 59, 17, 55, 18, 28, 61, 29},  // 4 Bb mayor
         {13, 0, 14, 24, 5, 25, 6, 17, 55, 18, 51, 19, 29, 62, 21}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {15, {23, 4, 24, 5, 16, 6, 17, 27, 8, 28, 61, 20, 52, 21, 53},  // 12 E menor
         {24, 5, 16, 6, 17, 7, 8, 28, 9, 20, 62, 21, 53, 8, 54}},
        {15, {1, 12, 2, 13, 23, 14, 24, 5, 16, 6, 17, 27, 18, 28, 61},  // 13 A menor
         {2, 13, 3, 14, 24, 5, 16, 6, 17, 7, 18, 28, 9, 20, 62}},
        {15, {13, 23, 14, 24, 5, 25, 6, 17, 27, 18, 28, 61, 29, 52, 42},  // 14 D menor
         {14, 24, 5, 25, 6, 17, 7, 18, 28, 9, 29, 62, 21, 53, 63}},
        {15, {12, 33, 13, 23, 4, 24, 15, 16, 22, 17, 27, 8, 28, 19, 20},  // 15 B menor
         {13, 47, 4, 24, 5, 16, 22, 17, 27, 8, 28, 9, 20, 22, 21}},
        {15, {24, 1, 25, 2, 13, 0, 14, 24, 5, 25, 59, 17, 55, 18, 28},  // 16 G menor
         {25, 2, 13, 0, 14, 24, 5, 25, 6, 17, 55, 18, 51, 19, 29}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Sixths, bellows pulling.
constexpr SCALE_SET pullSixths = {
    "FORMATO: sextas",
    {
        {8, {24, 5, 16, 6, 17, 27, 8, 28},  // 0 G mayor
         {12, 2, 13, 3, 4, 24, 5, 16}},
        {8, {6, 17, 27, 18, 28, 9, 20, 52},  // 1 C mayor
         {3, 14, 24, 5, 16, 6, 17, 50}},
        {8, {14, 24, 5, 25, 6, 17, 27, 18},  // 2 F mayor
         {1, 25, 2, 13, 3, 14, 24, 5}},
        {8, {13, 47, 4, 24, 58, 16, 22, 17},  // 3 D mayor
         {4, 34, 1, 12, 33, 13, 23, 4}},
        {8, {25, 6, 17, 55, 18, 28, 19, 29},  // 4 Bb mayor
         {13, 0, 14, 48, 5, 25, 6, 17}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {8, {47, 4, 24, 5, 16, 6, 17, 27},  // 12 E menor
         {34, 1, 12, 2, 13, 3, 4, 24}},
        {8, {15, 16, 6, 17, 27, 18, 28, 9},  // 13 A menor
         {2, 13, 3, 14, 24, 5, 16, 6}},
        {8, {17, 27, 18, 28, 19, 29, 52, 30},  // 14 D menor
         {14, 24, 15, 25, 6, 17, 50, 18}},
        {8, {16, 22, 17, 27, 8, 28, 19, 20},  // 15 B menor
         {13, 23, 4, 24, 5, 16, 22, 17}},
        {8, {24, 15, 25, 6, 17, 55, 18, 28},  // 16 G menor
         {25, 2, 13, 0, 14, 48, 5, 25}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Single notes, bellows pushing.
constexpr SCALE_SET pushNotes = {
    "FORMATO: notas sencillas",
    {
        {15, {34, 1, 35, 46, 36, 47, 4, 37, 58, 38, 49, 39, 50, 8, 40},  // 0 G mayor
         {}},
        {15, {46, 36, 47, 57, 48, 58, 38, 49, 39, 50, 60, 51, 61, 41, 52},  // 1 C mayor
         {}},
        {15, {57, 48, 58, 25, 49, 39, 50, 60, 51, 61, 29, 62, 42, 53, 63},  // 2 F mayor
         {}},
        {15, {36, 47, 44, 48, 58, 38, 22, 39, 50, 8, 51, 61, 41, 22, 42},  // 3 D mayor
         {}},
        {15, {25, 46, 36, 0, 57, 48, 58, 25, 49, 39, 55, 60, 51, 61, 29},  // 4 Bb mayor
         {}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {15, {47, 4, 37, 58, 38, 49, 39, 50, 8, 40, 61, 41, 52, 42, 53},  // 12 E menor
         {}},
        {15, {1, 35, 46, 36, 47, 57, 48, 58, 38, 49, 39, 50, 60, 51, 61},  // 13 A menor
         {}},
        {15, {36, 47, 57, 48, 58, 25, 49, 39, 50, 60, 51, 61, 29, 62, 42},  // 14 D menor
         {}},
        {15, {35, 33, 36, 47, 44, 48, 58, 38, 22, 39, 50, 8, 51, 61, 41},  // 15 B menor
         {}},
        {15, {34, 1, 25, 46, 36, 0, 57, 48, 58, 25, 49, 39, 55, 60, 51},  // 16 G menor
         {}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Thirds, bellows pushing.
constexpr SCALE_SET pushThirds = {
    "FORMATO: terceras",
    {
        {15, {34, 1, 35, 46, 13, 47, 4, 37, 58, 38, 49, 17, 50, 8, 40},  // 0 G mayor
         {35, 2, 36, 47, 4, 48, 5, 38, 59, 39, 50, 8, 51, 9, 41}},
        {15, {46, 36, 47, 57, 37, 58, 38, 49, 39, 50, 60, 40, 61, 41, 52},  // 1 C mayor
         {47, 57, 48, 58, 38, 59, 39, 50, 60, 51, 61, 41, 62, 42, 53}},
        {15, {57, 24, 58, 25, 49, 39, 50, 60, 28, 61, 29, 52, 42, 53, 63},  // 2 F mayor
         {58, 25, 59, 17, 50, 60, 51, 61, 29, 62, 21, 53, 63, 54, 64}},
        {15, {36, 47, 44, 37, 15, 38, 22, 17, 50, 8, 40, 19, 41, 22, 21},  // 3 D mayor
         {44, 48, 58, 38, 22, 39, 27, 8, 51, 9, 41, 22, 42, 31, 8}},
        {15, {25, 2, 36, 0, 57, 24, 58, 25, 59, 39, 55, 60, 28, 61, 29},  // 4 Bb mayor
         {13, 0, 57, 24, 58, 25, 59, 17, 55, 60, 51, 61, 29, 62, 21}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {15, {47, 4, 37, 58, 38, 49, 17, 50, 8, 40, 61, 41, 52, 21, 53},  // 12 E menor
         {48, 5, 38, 59, 39, 50, 8, 51, 9, 41, 62, 42, 53, 8, 54}},
        {15, {1, 35, 46, 36, 47, 57, 37, 58, 38, 49, 39, 50, 60, 40, 61},  // 13 A menor
         {2, 36, 47, 57, 48, 58, 38, 59, 39, 50, 60, 51, 61, 41, 62}},
        {15, {36, 47, 57, 24, 58, 25, 49, 39, 50, 60, 28, 61, 29, 52, 42},  // 14 D menor
         {57, 48, 58, 25, 59, 17, 50, 60, 51, 61, 29, 62, 21, 53, 63}},
        {15, {35, 33, 36, 47, 44, 37, 15, 38, 22, 17, 50, 8, 40, 19, 41},  // 15 B menor
         {36, 47, 44, 48, 58, 38, 22, 39, 27, 8, 51, 9, 41, 22, 42}},
        {15, {24, 1, 25, 2, 36, 0, 57, 24, 58, 25, 59, 39, 55, 60, 28},  // 16 G menor
         {25, 2, 13, 0, 57, 24, 58, 25, 59, 17, 55, 60, 51, 61, 29}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Sixths, bellows pushing.
constexpr SCALE_SET pushSixths = {
    "FORMATO: sextas",
    {
        {8, {37, 58, 38, 49, 17, 50, 8, 40},  // 0 G mayor
         {35, 46, 36, 47, 4, 37, 5, 38}},
        {8, {49, 39, 50, 60, 51, 61, 41, 52},  // 1 C mayor
         {47, 57, 48, 58, 38, 49, 39, 50}},
        {8, {14, 24, 58, 25, 49, 39, 50, 60},  // 2 F mayor
         {1, 25, 46, 13, 47, 57, 48, 58}},
        {8, {13, 47, 4, 37, 58, 38, 22, 39},  // 3 D mayor
         {4, 34, 1, 35, 33, 36, 23, 44}},
        {8, {25, 6, 39, 55, 60, 28, 61, 29},  // 4 Bb mayor
         {13, 0, 57, 48, 58, 25, 59, 17}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {8, {47, 4, 37, 58, 38, 49, 17, 50},  // 12 E menor
         {45, 1, 35, 56, 36, 47, 4, 48}},
        {8, {58, 38, 49, 39, 50, 60, 40, 61},  // 13 A menor
         {56, 36, 47, 57, 48, 58, 38, 59}},
        {8, {39, 50, 60, 28, 61, 29, 52, 42},  // 14 D menor
         {57, 48, 58, 25, 59, 26, 50, 60}},
        {8, {38, 22, 39, 50, 8, 40, 19, 41},  // 15 B menor
         {36, 23, 44, 48, 5, 38, 22, 39}},
        {8, {24, 58, 25, 6, 39, 55, 60, 28},  // 16 G menor
         {25, 46, 13, 0, 57, 48, 58, 25}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Single notes, bellows pulling and pushing.
constexpr SCALE_SET mixedNotes = {
    "FORMATO: notas sencillas",
    {
        {15, {34, 1, 35, 2, 36, 3, 4, 37, 5, 38, 6, 39, 7, 8, 40},  // 0 G mayor
         {}},
        {15, {46, 13, 47, 14, 48, 15, 16, 49, 17, 50, 18, 51, 19, 20, 52},  // 1 C mayor
         {}},
        {15, {57, 24, 58, 25, 59, 26, 27, 60, 28, 61, 29, 62, 30, 31, 63},  // 2 F mayor
         {}},
        {15, {36, 3, 4, 37, 5, 38, 22, 39, 7, 8, 40, 9, 41, 22, 42},  // 3 D mayor
         {}},
        {15, {25, 46, 13, 0, 57, 24, 58, 25, 59, 26, 55, 60, 28, 61, 29},  // 4 Bb mayor
         {}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {15, {3, 4, 37, 5, 38, 6, 39, 7, 8, 40, 9, 41, 52, 42, 53},  // 12 E menor
         {}},
        {15, {1, 35, 46, 13, 47, 14, 48, 15, 16, 49, 17, 50, 18, 51, 19},  // 13 A menor
         {}},
        {15, {13, 47, 57, 24, 58, 25, 59, 26, 27, 60, 28, 61, 29, 62, 30},  // 14 D menor
         {}},
        {15, {35, 33, 36, 3, 4, 37, 5, 38, 22, 39, 7, 8, 40, 9, 41},  // 15 B menor
         {}},
        {15, {34, 1, 25, 46, 13, 0, 57, 24, 58, 25, 59, 26, 55, 60, 28},  // 16 G menor
         {}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Thirds, bellows pulling and pushing.
constexpr SCALE_SET mixedThirds = {
    "FORMATO: terceras",
    {
        {15, {34, 1, 35, 2, 13, 47, 4, 37, 5, 38, 6, 17, 50, 8, 40},  // 0 G mayor
         {35, 2, 36, 3, 4, 48, 5, 38, 6, 39, 7, 8, 51, 9, 41}},
        {15, {46, 13, 47, 14, 24, 58, 16, 49, 17, 50, 18, 28, 61, 20, 52},  // 1 C mayor
         {47, 14, 48, 15, 16, 59, 17, 50, 18, 51, 19, 20, 62, 21, 53}},
        {15, {57, 24, 58, 25, 49, 17, 50, 18, 28, 61, 29, 52, 42, 53, 63},  // 2 F mayor
         {58, 25, 59, 17, 50, 18, 51, 19, 29, 62, 21, 53, 63, 54, 64}},
        {15, {13, 47, 4, 37, 15, 16, 22, 17, 50, 8, 40, 19, 20, 22, 21},  // 3 D mayor
         {4, 48, 5, 38, 22, 17, 27, 8, 51, 9, 41, 22, 21, 31, 8}},
        {15, {25, 2, 36, 0, 57, 24, 58, 25, 59, 17, 55, 18, 28, 61, 29},  // 4 Bb mayor
         {13, 0, 57, 24, 58, 25, 59, 17, 55, 18, 51, 19, 29, 62, 21}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {15, {47, 4, 37, 5, 38, 6, 17, 50, 8, 40, 61, 20, 52, 21, 53},  // 12 E menor
         {48, 5, 38, 6, 39, 7, 8, 51, 9, 41, 62, 21, 53, 8, 54}},
        {15, {1, 35, 46, 13, 47, 14, 24, 58, 16, 49, 17, 50, 18, 28, 61},  // 13 A menor
         {2, 36, 47, 14, 48, 15, 16, 59, 17, 50, 18, 51, 19, 20, 62}},
        {15, {13, 47, 57, 24, 58, 25, 49, 17, 50, 18, 28, 61, 29, 52, 42},  // 14 D menor
         {14, 48, 58, 25, 59, 17, 50, 18, 51, 19, 29, 62, 21, 53, 63}},
        {15, {12, 33, 13, 47, 4, 37, 15, 16, 22, 17, 50, 8, 40, 19, 20},  // 15 B menor
         {13, 47, 4, 48, 5, 38, 22, 17, 27, 8, 51, 9, 41, 22, 21}},
        {15, {24, 1, 25, 2, 36, 0, 57, 24, 58, 25, 59, 17, 55, 18, 28},  // 16 G menor
         {25, 2, 13, 0, 57, 24, 58, 25, 59, 17, 55, 18, 51, 19, 29}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

// Sixths, bellows pulling and pushing.
constexpr SCALE_SET mixedSixths = {
    "FORMATO: sextas",
    {
        {8, {37, 5, 38, 6, 17, 50, 8, 51},  // 0 G mayor
         {35, 2, 36, 3, 4, 37, 5, 38}},
        {8, {49, 17, 50, 18, 28, 61, 20, 62},  // 1 C mayor
         {47, 14, 48, 15, 16, 49, 17, 50}},
        {8, {14, 24, 58, 25, 59, 17, 50, 18},  // 2 F mayor
         {1, 25, 46, 13, 47, 14, 48, 15}},
        {8, {13, 47, 4, 48, 58, 16, 22, 17},  // 3 D mayor
         {4, 34, 1, 35, 33, 13, 23, 4}},
        {8, {25, 6, 39, 55, 18, 28, 61, 29},  // 4 Bb mayor
         {13, 0, 57, 48, 5, 25, 59, 17}},
        noFingering,  // 5 B mayor
        noFingering,  // 6 E mayor
        noFingering,  // 7 A mayor
        noFingering,  // 8 Eb mayor
        noFingering,  // 9 Ab mayor
        noFingering,  // 10 Db mayor
        noFingering,  // 11 Gb mayor
        {8, {47, 4, 37, 5, 38, 6, 17, 50},  // 12 E menor
         {34, 1, 35, 2, 36, 3, 4, 37}},
        {8, {58, 16, 49, 17, 50, 18, 28, 61},  // 13 A menor
         {46, 13, 47, 14, 48, 15, 16, 49}},
        {8, {13, 47, 14, 24, 58, 25, 59, 17},  // 14 D menor
         {14, 34, 1, 25, 46, 13, 47, 14}},
        {8, {16, 22, 17, 50, 8, 40, 19, 41},  // 15 B menor
         {13, 23, 4, 37, 5, 38, 22, 39}},
        {8, {24, 58, 25, 6, 39, 55, 18, 28},  // 16 G menor
         {25, 46, 13, 0, 57, 48, 5, 25}},
        noFingering,  // 17 Ab menor
        noFingering,  // 18 Db menor
        noFingering,  // 19 Gb menor
        noFingering,  // 20 C menor
        noFingering,  // 21 F menor
        noFingering,  // 22 Bb menor
        noFingering,  // 23 Eb menor
    }};

}  // namespace

using namespace fingering;

constexpr DIATONIC_SCALES notePats[3] = {
    {"DIRECCION: pull",
     {completed(pullNotes, PULL, NOTES), completed(pullThirds, PULL, THIRDS),
      completed(pullSixths, PULL, SIXTHS)}},
    {"DIRECCION: push",
     {completed(pushNotes, PUSH, NOTES), completed(pushThirds, PUSH, THIRDS),
      completed(pushSixths, PUSH, SIXTHS)}},
    {"DIRECCION: pull/push",
     {completed(mixedNotes, PULL_PUSH, NOTES), completed(mixedThirds, PULL_PUSH, THIRDS),
      completed(mixedSixths, PULL_PUSH, SIXTHS)}},
};

}  // namespace brenavo
