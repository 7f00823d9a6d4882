// Fingerings computed from the keyboard. For every step of a scale the generator lists the
// buttons that sound it on the bellows side the direction asks for, and picks the cheapest walk
// through them by dynamic programming. Pulling and pushing, the side is set, so the bellows
// reverse only where a pitch is missing; the cost then weighs how far the hand travels: a jump
// between rows of buttons (columns of the diagram) costs three buttons along a row. Pull/push
// chooses the side freely: a button sounds one note pulling and another pushing, so a reversal
// on the button the hand already holds costs nothing, and one with a move costs as much as a
// button along a row. The hand stays in one row and lets the bellows alternate rather than jump
// between rows. In thirds and sixths the two buttons of a step are held as one hand shape in one
// row wherever the keyboard allows: a pair split across rows costs more than any walk.
//
// Where the asked side lacks a pitch, the step is played on the other side (pull takes it from
// the push side and the other way round). Where no side has it, the step plays the same note an
// octave away: up in the lowest octave of the run, down above it, so the line stays inside its
// two octaves. Two voices always sound on one side, as the bellows cannot pull and push at once;
// where no side holds a pair at its own pitches, only the voice that must moves an octave, as the
// hand-made D major thirds play A5 with C#5, and both move only where one alone finds no side.
// The run starts on the tonic whose octave substitutions do the least harm to its climb: a lone
// one is a single dip, a run of them replays a block of the other octave, so a run of n costs n².
// Everything is constexpr: the tables are filled when the program is compiled.
#pragma once

#include <cstdint>

#include "model/tables.h"

namespace brenavo::fingering {

inline constexpr int PULL = 0, PUSH = 1, PULL_PUSH = 2;   // bellows directions
inline constexpr int NOTES = 0, THIRDS = 1, SIXTHS = 2;   // formats

inline constexpr int SPLIT_PAIR_COST = 1000;   // per row of buttons between the two voices of a step
inline constexpr int ROW_JUMP_COST = 3;        // per row of buttons crossed
inline constexpr int ALONG_ROW_COST = 1;       // per button along a row
inline constexpr int REVERSAL_COST = 1;        // a bellows reversal while the hand moves

// A scale: its tonic's pitch class and the semitones of its degrees above the tonic.
struct Scale {
  int tonicClass;
  int degrees[7];
  int size;
};

inline constexpr Scale majorScale(int tonicClass) { return {tonicClass, {0, 2, 4, 5, 7, 9, 11}, 7}; }
inline constexpr Scale minorScale(int tonicClass) { return {tonicClass, {0, 2, 3, 5, 7, 8, 10}, 7}; }
inline constexpr Scale majorPentatonic(int tonicClass) { return {tonicClass, {0, 2, 4, 7, 9}, 5}; }
inline constexpr Scale minorPentatonic(int tonicClass) { return {tonicClass, {0, 3, 5, 7, 10}, 5}; }
inline constexpr Scale bluesScale(int tonicClass) { return {tonicClass, {0, 3, 5, 6, 7, 10}, 6}; }

// Tonics of the twelve major keys of G-C-F by key index (G C F D Bb B E A Eb Ab Db Gb); the
// minor key 12 + k is the relative minor of major key k, three semitones lower.
inline constexpr int MAJOR_TONIC_GCF[12] = {7, 0, 5, 2, 10, 11, 4, 9, 3, 8, 1, 6};

inline constexpr int sideOf(int position) { return position >= KB_BUTTONS ? PUSH : PULL; }
inline constexpr int columnOf(int position) { return position % KB_BUTTONS / 11; }
inline constexpr int rowOf(int position) { return position % KB_BUTTONS % 11; }

// The pitch a voice of a step calls for: the first voice climbs the scale from the tonic, the
// second is two degrees higher, taken an octave down in sixths.
inline constexpr int calledFor(const Scale& scale, int tonic, int format, int step, int voice) {
  const int degree = step + (voice ? 2 : 0);
  return tonic + 12 * (degree / scale.size) + scale.degrees[degree % scale.size] -
         (voice && format == SIXTHS ? 12 : 0);
}

inline constexpr int voicesOf(int format) { return format == NOTES ? 1 : 2; }

inline constexpr int MAX_STEPS = DIATONIC_MAX_STEPS;
inline constexpr int MAX_CHOICES = 16;   // buttons or pairs of buttons that can sound a step

// The buttons (one per voice) that can play one step.
struct Choice {
  int position[2];
};

struct StepChoices {
  Choice choice[MAX_CHOICES];
  int count;
};

// The choices of a step on one side: every button for the first voice with every button for
// the second, both on that side.
inline constexpr StepChoices choicesOnSide(const int32_t (&pitch)[KB_POSITIONS], const int (&played)[2],
                                           int voices, int side) {
  StepChoices out{};
  for (int first = 0; first < KB_POSITIONS; ++first) {
    if (isLabelSlot(first) || pitch[first] != played[0] || (side != PULL_PUSH && sideOf(first) != side)) continue;
    for (int second = 0; second < (voices == 2 ? KB_POSITIONS : 1); ++second) {
      const bool fits = voices == 1 || (!isLabelSlot(second) && pitch[second] == played[1] &&
                                        sideOf(second) == sideOf(first));
      if (fits && out.count < MAX_CHOICES) out.choice[out.count++] = {{first, voices == 2 ? second : 0}};
    }
  }
  return out;
}

// The sides that sound each pitch, as bits: 1 pulling, 2 pushing.
struct SidesByPitch {
  int mask[160];
  constexpr int at(int midi) const { return midi >= 0 && midi < 160 ? mask[midi] : 0; }
};

inline constexpr SidesByPitch sidesByPitch(const int32_t (&pitch)[KB_POSITIONS]) {
  SidesByPitch out{};
  for (int p = 0; p < KB_POSITIONS; ++p) {
    if (!isLabelSlot(p) && pitch[p] >= 0 && pitch[p] < 160) out.mask[pitch[p]] |= 1 << sideOf(p);
  }
  return out;
}

// Where a step is played: its pitches and the side that holds both.
struct Placement {
  int played[2];
  int side;
};

// Where a step is played: its pitches on the asked side, else on the other side, else with a
// voice or both an octave away. Each voice tries its own pitch, then the octave toward the middle
// of the run, then the other octave, then two octaves toward the middle (the last third of
// E-flat minor needs them); the nearest shifts of the two voices together are tried first, each
// on the asked side first again. The side is -1 where nothing fits.
inline constexpr Placement placementOf(const SidesByPitch& sides, const int (&wanted)[2], int voices,
                                       int direction, int tonic) {
  int shift[2][4]{};
  for (int v = 0; v < voices; ++v) {
    const int toward = wanted[v] < tonic + 12 ? 12 : -12;
    shift[v][1] = toward, shift[v][2] = -toward, shift[v][3] = 2 * toward;
  }
  for (int farthest = 0; farthest < 4; ++farthest)
    for (int sum = farthest; sum <= 2 * farthest; ++sum)
      for (int first = 0; first <= farthest; ++first) {
        const int second = sum - first;
        if (second > farthest || (first < farthest && second < farthest) || (voices == 1 && second > 0)) continue;
        const Placement at{{wanted[0] + shift[0][first], wanted[1] + shift[1][second]}, 0};
        const int both = sides.at(at.played[0]) & (voices == 2 ? sides.at(at.played[1]) : 3);
        for (const int side : {direction, direction == PULL_PUSH ? PULL_PUSH : 1 - direction}) {
          if (both & (side == PULL_PUSH ? 3 : 1 << side)) return {{at.played[0], at.played[1]}, side};
        }
      }
  return {{0, 0}, -1};
}

// What a tonic's run costs in substitutions: n² per run of n steps whose first voice is played an
// octave away, then one per pitch the keyboard lacks; a run no button can play costs the most.
inline constexpr int substitutionCost(const SidesByPitch& sides, const Scale& scale, int format, int steps,
                                      int tonic) {
  const int voices = voicesOf(format);
  int runs = 0, run = 0, missing = 0;
  for (int step = 0; step < steps; ++step) {
    const int wanted[2] = {calledFor(scale, tonic, format, step, 0), calledFor(scale, tonic, format, step, 1)};
    const Placement at = placementOf(sides, wanted, voices, PULL_PUSH, tonic);
    if (at.side < 0) return 1 << 30;
    run = at.played[0] != wanted[0] ? run + 1 : 0;
    if (run > 0) runs += 2 * run - 1;   // a run of n adds 1, 3, 5, ...: n² in all
    for (int v = 0; v < voices; ++v) missing += sides.at(wanted[v]) == 0;
  }
  return runs * 1000 + missing;
}

// The tonic whose run costs least in substitutions, the lowest of equals.
inline constexpr int bestTonic(const int32_t (&pitch)[KB_POSITIONS], const Scale& scale, int format, int steps) {
  const SidesByPitch sides = sidesByPitch(pitch);
  int best = 0, cheapest = 0;
  for (int tonic = 48 + scale.tonicClass; tonic < 96; tonic += 12) {
    const int cost = substitutionCost(sides, scale, format, steps, tonic);
    if (best == 0 || cost < cheapest) cheapest = cost, best = tonic;
  }
  return best;
}

inline constexpr int distance(int a, int b) { return a > b ? a - b : b - a; }

// What it costs to hold a step's buttons: nothing when its voices share a row.
inline constexpr int shapeCost(const Choice& choice, int voices) {
  return voices == 2 ? SPLIT_PAIR_COST * distance(columnOf(choice.position[0]), columnOf(choice.position[1])) : 0;
}

// What it costs to go from one step's buttons to the next's.
inline constexpr int moveCost(const Choice& from, const Choice& to, int voices) {
  int cost = 0;
  for (int v = 0; v < voices; ++v) {
    cost += ROW_JUMP_COST * distance(columnOf(from.position[v]), columnOf(to.position[v])) +
            ALONG_ROW_COST * distance(rowOf(from.position[v]), rowOf(to.position[v]));
  }
  const bool reverses = sideOf(from.position[0]) != sideOf(to.position[0]);
  return cost + (reverses && cost > 0 ? REVERSAL_COST : 0);
}

// A computed fingering: a sequence as the tables store it, with the cost of its moves.
struct Fingering {
  NOTE_SEQUENCE sequence;
  int cost;
};

// The cheapest fingering of a scale over the given number of steps.
inline constexpr Fingering cheapestFingering(const int32_t (&pitch)[KB_POSITIONS], const Scale& scale,
                                             int format, int direction, int steps) {
  const int voices = voicesOf(format);
  const int tonic = bestTonic(pitch, scale, format, steps);
  const SidesByPitch sides = sidesByPitch(pitch);
  StepChoices choices[MAX_STEPS]{};
  int total[MAX_STEPS][MAX_CHOICES]{};
  int previous[MAX_STEPS][MAX_CHOICES]{};
  for (int step = 0; step < steps; ++step) {
    const int wanted[2] = {calledFor(scale, tonic, format, step, 0),
                           calledFor(scale, tonic, format, step, 1)};
    const Placement at = placementOf(sides, wanted, voices, direction, tonic);
    if (at.side < 0) throw "a step that no button can play";
    choices[step] = choicesOnSide(pitch, at.played, voices, at.side);
    for (int c = 0; c < choices[step].count; ++c) {
      int cheapest = step > 0 ? -1 : 0;
      for (int b = 0; step > 0 && b < choices[step - 1].count; ++b) {
        const int cost = total[step - 1][b] + moveCost(choices[step - 1].choice[b], choices[step].choice[c], voices);
        if (cheapest < 0 || cost < cheapest) cheapest = cost, previous[step][c] = b;
      }
      total[step][c] = cheapest + shapeCost(choices[step].choice[c], voices);
    }
  }
  int last = 0;
  for (int c = 1; c < choices[steps - 1].count; ++c) {
    if (total[steps - 1][c] < total[steps - 1][last]) last = c;
  }
  Fingering out{{steps, {}, {}}, total[steps - 1][last]};
  for (int step = steps - 1, c = last; step >= 0; c = previous[step][c], --step) {
    out.sequence.note1[step] = choices[step].choice[c].position[0];
    out.sequence.note2[step] = choices[step].choice[c].position[1];
  }
  return out;
}

// The steps of a diatonic format: two octaves, tonic to tonic, one octave in sixths.
inline constexpr int diatonicSteps(int format) { return format == SIXTHS ? 8 : 15; }

inline constexpr Scale diatonicScale(int key) {
  return key < 12 ? majorScale(MAJOR_TONIC_GCF[key]) : minorScale((MAJOR_TONIC_GCF[key - 12] + 9) % 12);
}

// The fingering of diatonic key 0-23, named as in G-C-F; one fingering serves every tuning.
inline constexpr Fingering diatonicFingering(int direction, int format, int key) {
  return cheapestFingering(keyConfig[0].midiKeyNum, diatonicScale(key), format, direction,
                           diatonicSteps(format));
}

// The keys whose fingerings are written out by hand: G, C, F, D, Bb major and their relative
// minors E, A, D, B, G (named in G-C-F).
inline constexpr bool hasHandMadeFingering(int key) { return inRange(key, 0, 4) || inRange(key, 12, 16); }

// A diatonic format with the other keys filled by the generator; the hand-made ones stay.
inline constexpr SCALE_SET completed(const SCALE_SET& given, int direction, int format) {
  SCALE_SET out = given;
  for (int key = 0; key < 24; ++key) {
    if (!hasHandMadeFingering(key)) {
      out.iScale[key] = diatonicFingering(direction, format, key).sequence;
    }
  }
  return out;
}

// The pentatonic families: 0 major, 1 minor, 2 blues, each over the twelve major tonics.
inline constexpr Scale pentatonicScale(int family, int k) {
  const int tonic = MAJOR_TONIC_GCF[k];
  return family == 0 ? majorPentatonic(tonic) : family == 1 ? minorPentatonic(tonic) : bluesScale(tonic);
}

// Two octaves and the tonic: 11 steps, 13 for the six-note blues scale.
inline constexpr int pentatonicSteps(int family) { return 2 * pentatonicScale(family, 0).size + 1; }

// A pentatonic scale is played pulling; a step the pull side lacks is pushed.
inline constexpr Fingering pentatonicFingering(int family, int k) {
  return cheapestFingering(keyConfig[0].midiKeyNum, pentatonicScale(family, k), NOTES, PULL,
                           pentatonicSteps(family));
}

}  // namespace brenavo::fingering
