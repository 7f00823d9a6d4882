// The steps the listening benchmark plays: every step of every diatonic scale (single notes,
// thirds, sixths; three bellows directions; 24 keys), every chord of every chord type and every
// chord of every progression, in all four tunings; each right and in its wrong forms, whose
// wrong notes lie on the tuning's keyboard, as a learner's would.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace brenavo::bench {

using Notes = std::vector<int>;  // MIDI notes, sorted

enum class Played { Right, SemitoneOff, OctaveOff, VoiceMissing };
inline constexpr int PLAYED_KINDS = 4;
const char* playedName(Played played);

// One sound to render: what sounded before, what is played, what the step asks for.
struct Case {
  Notes before;
  Notes played;
  Notes expected;
  Played kind;
  bool operator<(const Case& other) const;
};

// Every case with how many steps of the tables play exactly it.
std::map<Case, int> listeningCases();

}  // namespace brenavo::bench
