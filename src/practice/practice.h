// Practice with the microphone: the learner plays the selection on their own accordion and
// the program follows step by step. "Esperar cada paso" waits for each step to be heard;
// "Seguir el tempo" counts four clicks in and moves on at the tempo, marking each step.
#pragma once

#include <string>

#include "app/program.h"
#include "listening/hearing.h"

namespace brenavo {

// A wrong note is shown once it has been the clearest pitch for this many blocks in a row
// (about 90 ms): the mixed sound of two notes meeting lasts shorter than that.
inline constexpr int WRONG_NOTE_HEARINGS = 8;

bool isPracticeCommand(int commandId);
// 701 "Esperar cada paso", 702 "Seguir el tempo", 703 "Terminar practica".
void handlePracticeCommand(Program& program, int commandId);
// WM_PRACTICE_HEARD: one analysed block of the microphone.
void handlePracticeHeard(Program& program, const listening::Hearing& hearing);
// WM_TIMER of IDM_PRACTICE_TIMER: the count-in, the tempo's steps, the end of a green moment.
void handlePracticeTimer(Program& program);
// Ends a practice without a summary (stop, close, a new selection or tuning): the
// microphone and the timer stop, menus, status bar and picture come back.
void endPractice(Program& program);
bool isPractising(const Program& program);
// After a paint: the current step lit again, and its red rings.
void paintPractice(Program& program, platform::Surface& surface);
// After a tempo change: a tempo practice goes on at the new tempo.
void practiceTempoChanged(Program& program);

// The summary shown at the end: the four counts and every failed step with what was heard.
std::string practiceSummary(const Program& program);
// The same in one line, as the settings keep it.
std::string practiceResultsLine(const Program& program);
// The name of a heard MIDI note in the notation of the labels ("-C", "C#", "c", "c+").
std::string heardNoteName(int midiNote);
// The settings name of the selection's last results: "Practica/G-C-F 210 201 1021".
std::string resultsName(const SelectionState& sel);

// The listening options, "Escucha/Entrada" and "Escucha/LaReferencia", read once, when
// practice or the options dialog first needs them.
void loadListeningOptions(Program& program);
// What the options dialog offers of them, and what it stores when saved.
void offerListeningChoices(Program& program, platform::OptionsChecks& checks);
void storeListeningChoices(Program& program, const platform::OptionsChecks& checks);

}  // namespace brenavo
