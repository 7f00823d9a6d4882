// Play, Loop, Pause, Stop, the playback timer and the tempo scroll bar.
#pragma once

#include <algorithm>
#include <cstdint>

#include "app/program.h"

namespace brenavo {

// What a line and a page of the tempo scroll bar change the tempo by.
inline constexpr int LINE_STEP = 1;
inline constexpr int PAGE_STEP = 5;

// A tempo within the scroll bar's range 1-20.
inline int clampTempo(int value) { return std::clamp(value, VERT_RANGE_MIN, VERT_RANGE_MAX); }

// 601-604 and 801-804.
void handleTransportCommand(Program& program, int commandId);
// WM_TIMER.
void handlePlaybackTimer(Program& program);
// WM_VSCROLL: scroll code in the low word, thumb position in the high word.
void handleVScroll(Program& program, uintptr_t wParam);

// At creation: the scroll bar's range 1-20 and position vPos.
void initTempoScrollBar(Program& program);
// At creation: the "Controles" frame and the four bitmap buttons.
void createTransportControls(Program& program);

// A note-off for each of the four remembered notes.
void allNotesOff(Program& program);

}  // namespace brenavo
