// The measuring processes. Each runs in a process of its own, started by the driver,
// and prints its figures with report().
#pragma once

#include <string>

namespace brenavo::bench {

// Which FluidSynth audio driver starts here ("driver NAME" or "driver none"), and the
// SoundFont the synth loads.
[[noreturn]] void probeAudio(const std::string& drivers);
// The moments the synth is ready and the client area is first painted.
[[noreturn]] void measureStart(int& argc, char** argv, const std::string& drivers);
// Peak resident memory after each of the four voices has played a note.
[[noreturn]] void measureMemory(int& argc, char** argv, const std::string& drivers,
                                bool dynamicLoading);
// Each step's note-on against its due time over 100 steps of a loop at 250 ms, with the
// program's own timer or with Qt's coarse periodic timer driving it.
[[noreturn]] void measureSteps(int& argc, char** argv, const std::string& drivers,
                               bool coarseTimer);
// Against the private sound server (PULSE_SERVER; its pid in BENCH_SERVER_PID): the CPU of
// the idle program and of the server, 30 s after start and 30 s after a run, then note-on
// to first sample on the sink's monitor, with the stream playing and asleep.
[[noreturn]] void measureSleep(int& argc, char** argv, const std::string& drivers);
// A Loop of 60 s: the periods the audio driver asked for too late.
[[noreturn]] void measureUnderruns(int& argc, char** argv, const std::string& drivers);
// Key and mouse presses: to the note-on, and to the lit button painted.
[[noreturn]] void measureLive(int& argc, char** argv, const std::string& drivers);
// The booklet of one tuning written to a PDF file: seconds and pages.
[[noreturn]] void measureBooklet(int& argc, char** argv);
// Output latency, the onset of a note in the rendered sound and the cost of rendering.
[[noreturn]] void measureAudio();

}  // namespace brenavo::bench
