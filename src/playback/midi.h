// Packing and sending the three kinds of MIDI message, and the output's life.
#pragma once

#include <cstdint>

#include "app/program.h"

namespace brenavo {

inline constexpr int32_t CHANNEL_NUM = 0;
// Notes played live go on a channel of their own, so a run's note-off never ends one.
inline constexpr int32_t LIVE_CHANNEL = 1;
inline constexpr int32_t VELOCITY = 127;

uint32_t MidiOutMessage(platform::MidiDevice& hMidi, int32_t iStatus, int32_t iChannel,
                        int32_t iData1, int32_t iData2);
uint32_t MidiNoteOn(platform::MidiDevice& hMidi, int32_t iChannel, int32_t iNote, int32_t iVel);
uint32_t MidiNoteOff(platform::MidiDevice& hMidi, int32_t iChannel, int32_t iNote, int32_t iVel);

// Opens the default output and selects the voice, or warns once and runs silently.
void openMidiOutput(Program& program);
// When no output was found, seeks it again without a word; found, it selects the voice.
void reopenMissingMidiOutput(Program& program);
// The program change for midiVoice, when an output is open.
void sendProgramChange(Program& program);
// Reset, then close.
void closeMidiOutput(Program& program);

}  // namespace brenavo
