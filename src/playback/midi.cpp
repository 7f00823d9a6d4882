#include "playback/midi.h"

namespace brenavo {

uint32_t MidiOutMessage(platform::MidiDevice& hMidi, int32_t iStatus, int32_t iChannel,
                        int32_t iData1, int32_t iData2) {
  // Status and channel share the low byte; every value the program passes fits its field.
  const uint32_t dwMessage = static_cast<uint32_t>(iStatus) | static_cast<uint32_t>(iChannel) |
                             (static_cast<uint32_t>(iData1) << 8) |
                             (static_cast<uint32_t>(iData2) << 16);
  return hMidi.shortMessage(dwMessage);
}

uint32_t MidiNoteOn(platform::MidiDevice& hMidi, int32_t iChannel, int32_t iNote, int32_t iVel) {
  return MidiOutMessage(hMidi, 0x90, iChannel, iNote, iVel);
}

uint32_t MidiNoteOff(platform::MidiDevice& hMidi, int32_t iChannel, int32_t iNote, int32_t iVel) {
  return MidiOutMessage(hMidi, 0x80, iChannel, iNote, iVel);
}

void openMidiOutput(Program& program) {
  if (program.os.midi.open()) {
    program.sel.midiDevExists = 1;
    sendProgramChange(program);
    return;
  }
  program.os.messages.beep();
  program.os.messages.messageBox("Control de MIDI no disponible.", "Brenavo: ERROR",
                                 MB_ICONEXCLAMATION | MB_OK);
  program.sel.midiDevExists = 0;
}

void reopenMissingMidiOutput(Program& program) {
  if (program.sel.midiDevExists || !program.os.midi.open()) return;
  program.sel.midiDevExists = 1;
  sendProgramChange(program);
}

void sendProgramChange(Program& program) {
  if (program.sel.midiDevExists)
    MidiOutMessage(program.os.midi, 0xC0, CHANNEL_NUM, program.sel.midiVoice, 0);
}

void closeMidiOutput(Program& program) {
  program.os.midi.reset();
  program.os.midi.close();
}

}  // namespace brenavo
