// The two questions practice asks of a Hearing.
#include <algorithm>
#include <array>

#include "listening/hearing.h"

namespace brenavo::listening {

namespace {

constexpr float kPresent = 0.10f;  // an expected note at least this salient sounds
constexpr float kStrong = 0.30f;   // any other note this salient is a wrong note
// The octave below an expected note, this salient, is a wrong note: its second partial
// passes for the expected one, and low notes often sound their fundamental weakly.
constexpr float kOctaveBelow = 0.05f;
constexpr float kClear = 0.50f;    // the clearest note must be this salient to be named

// Semitones from a note to its partials 2 to 10 that lie within 40 cents of a note.
constexpr std::array<int, 9> kPartialIntervals = {12, 19, 24, 28, 31, 34, 36, 38, 40};
// The octave above an expected note passes for its second partial only while it is at most
// this much more salient than the note: a steel string's second partial sounds two or three
// times as loud as its fundamental, but far louder still, the octave above is played, an
// octave too high, over what still sounds of the step before (or a piccolo's faint octave below).
constexpr float kOctaveAboveAtMost = 3.0f;

bool isExpected(int note, const int* notes, int count) {
  return std::find(notes, notes + count, note) != notes + count;
}

bool inNoteRange(int note) { return note >= 0 && note < NOTE_COUNT; }

// A note sounds clearly when it is salient and its fundamental is not dying away.
bool soundsClearly(const Hearing& hearing, int note) {
  return hearing.salience[note] * (1.0f - hearing.fading[note]) >= kPresent;
}

// A high steel string sounds its second partial first; its fundamental follows faint, 10-18 dB
// under it, and stands out as a peak only 150-200 ms after the attack: until then the note looks
// like its octave above. It sounds all the same when its octave above sounds clearly and its third
// partial, which the octave above has not, stands out (a peak, at most kThirdUnderSecondDb under
// the second), and its faint fundamental
// - stands above the spectrum a semitone either side: it is no skirt of a louder neighbour's peak
//   (an accordion's C#4, starting flat, over C4);
// - stands at most kFundamentalUnderSecondDb under the second partial: a piccolo's undertone,
//   23-26 dB under the note played, stays out;
// - stands kNewFundamentalDb above anything of it 95-230 ms before: the echo of a step before,
//   that sank under the attack's noise and comes up again, is no note played now;
// - stands kOctaveBelowOverDb above the octave below: a string or reed played an octave low
//   sounds the note as its own second partial.
// Swept on rendered steps: with no limit to the third partial's gap a piccolo's octave-off step
// passed, and 16 dB cost a guitar's right step; 22 dB to the fundamental let the piccolo's
// octave-off steps through; without the third partial's peak, or without the fundamental being
// new, a guitar's octave-off steps passed.
constexpr float kThirdPartialPeakDb = 20.0f;
constexpr float kThirdUnderSecondDb = 18.0f;
constexpr float kFundamentalUnderSecondDb = 20.0f;
constexpr float kNewFundamentalDb = 6.0f;
constexpr float kOctaveBelowOverDb = 6.0f;
constexpr int kTwelfth = 19;  // the third partial lies 2 cents under the twelfth

bool soundsUnderItsPartials(const Hearing& hearing, int note) {
  const int below = note - 12, second = note + 12, third = note + kTwelfth;
  if (!inNoteRange(below) || !inNoteRange(third) || !soundsClearly(hearing, second)) return false;
  const auto& db = hearing.aboveFloorDb;
  return db[note] > db[note - 1] && db[note] > db[note + 1] &&
         db[third] >= kThirdPartialPeakDb && db[second] - db[third] <= kThirdUnderSecondDb &&
         db[second] - db[note] <= kFundamentalUnderSecondDb &&
         hearing.aboveEarlierDb[note] >= kNewFundamentalDb && db[note] - db[below] >= kOctaveBelowOverDb;
}

// An expected note sounds clearly, or as a high string under its partials.
bool soundsFor(const Hearing& hearing, int note) {
  return soundsClearly(hearing, note) || soundsUnderItsPartials(hearing, note);
}

bool isPartialOf(const Hearing& hearing, int note, const int* notes, int count) {
  for (int i = 0; i < count; ++i)
    for (int interval : kPartialIntervals)
      if (note - notes[i] == interval &&
          (interval != 12 || hearing.salience[note] <= kOctaveAboveAtMost * hearing.salience[notes[i]] ||
           soundsUnderItsPartials(hearing, notes[i])))
        return true;
  return false;
}

// The step's attack: how long ago its newest note began to rise, when all its notes began to
// rise within kRoseWithStepMs of one another (a note held on from before, or one that only
// sounds as the partial of a note from before, began long ago; but over a fading octave below,
// whose second partial it is, a note played now may not rise enough to be seen rising), and the
// newest at least kRisenForMs (two hops) ago: a note played an octave too low shows its
// fundamental a hop or two after its second partial, the expected note, while a piccolo's low
// notes build up so slowly that a third hop's wait costs their acceptance. Negative when there
// is no such attack.
constexpr float kRoseWithStepMs = 100.0f;
constexpr float kRisenForMs = 20.0f;
// A note whose fundamental has fallen this far is fading: when it began to rise well before the
// step's attack, it is left over from the step before.
constexpr float kFallen = 0.3f;

bool sharesPartialWithFadingOctaveBelow(const Hearing& hearing, int note) {
  return note >= 12 && hearing.salience[note - 12] > 0 && hearing.fading[note - 12] >= kFallen;
}

float stepAttackMs(const Hearing& hearing, const int* notes, int count) {
  float newestMs = hearing.sinceRiseMs[notes[0]];
  for (int i = 1; i < count; ++i) newestMs = std::min(newestMs, hearing.sinceRiseMs[notes[i]]);
  if (newestMs < kRisenForMs) return -1.0f;
  for (int i = 0; i < count; ++i)
    if (hearing.sinceRiseMs[notes[i]] > newestMs + kRoseWithStepMs &&
        !sharesPartialWithFadingOctaveBelow(hearing, notes[i]))
      return -1.0f;
  return newestMs;
}

bool roseBeforeStep(const Hearing& hearing, int note, float attackMs) {
  return attackMs >= 0 && hearing.fading[note] >= kFallen && hearing.sinceRiseMs[note] > attackMs + kRoseWithStepMs;
}

// The octave below an expected note, its fundamental fallen this far and at least kShadowGapDb
// weaker than the expected note's, is no note played an octave low: it is the dying thump of a
// plucked string's attack, or a string of the step before ringing on, whose second partial
// the expected note is. A reed played an octave low keeps its fundamental closer to its second
// partial than that, even between the beats of a wet tuning (at 8 dB some such steps passed;
// 10 to 15 dB let the same right steps through and no wrong one).
constexpr float kShadowFallen = 0.7f;
constexpr float kShadowGapDb = 12.0f;

bool isShadowBelow(const Hearing& hearing, int note) {
  return hearing.fading[note] >= kShadowFallen &&
         hearing.aboveFloorDb[note] + kShadowGapDb <= hearing.aboveFloorDb[note + 12];
}

// A string or reed played an octave too low sounds its second partial, the expected note, a
// hop or more before its fundamental: while the fundamental an octave below an expected note
// comes up out of the floor (at least kStartingAboveFloorDb above it, and kStartingGrowthDb
// above its lowest of the two hops before), the step is not yet held. Swept: 8-10 dB above and
// 6-8 dB of growth gave the same figures; growth over three hops cost the piccolo's right steps.
constexpr float kStartingAboveFloorDb = 10.0f;
constexpr float kStartingGrowthDb = 6.0f;

bool isStartingBelow(const Hearing& hearing, int note) {
  return note >= 12 && hearing.aboveFloorDb[note - 12] >= kStartingAboveFloorDb &&
         hearing.aboveFloorGrowthDb[note - 12] >= kStartingGrowthDb;
}

// A note whose fundamental has fallen to a fourteenth of its recent largest (23 dB down) is the
// room's echo of a released note, whatever partials of the step sound over it: never a wrong
// note. In a quiet room such an echo still stands far above the floor.
constexpr float kDiedAway = 0.999f;

}  // namespace

bool holdsStep(const Hearing& hearing, const int* notes, int count) {
  if (count <= 0) return false;
  for (int i = 0; i < count; ++i)
    if (!inNoteRange(notes[i]) || !soundsFor(hearing, notes[i]) || isStartingBelow(hearing, notes[i]))
      return false;
  const float attackMs = stepAttackMs(hearing, notes, count);
  for (int note = 0; note < NOTE_COUNT; ++note) {
    if (isExpected(note, notes, count) || hearing.leftOver[note] || hearing.fading[note] >= kDiedAway ||
        roseBeforeStep(hearing, note, attackMs) || isPartialOf(hearing, note, notes, count))
      continue;
    const bool octaveBelow = note + 12 < NOTE_COUNT && isExpected(note + 12, notes, count);
    if (octaveBelow && isShadowBelow(hearing, note)) continue;
    if (hearing.salience[note] >= (octaveBelow ? kOctaveBelow : kStrong)) return false;
  }
  return true;
}

int strongestNote(const Hearing& hearing) {
  const auto clearest = std::max_element(hearing.salience.begin(), hearing.salience.end());
  if (*clearest < kClear) return -1;
  return static_cast<int>(clearest - hearing.salience.begin());
}

}  // namespace brenavo::listening
