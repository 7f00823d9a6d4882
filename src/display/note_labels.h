// Note names drawn in their octave colour.
#pragma once

#include "platform/surface.h"

namespace brenavo {

inline constexpr int NOTEBUTTON = 1;    // circle and label centred on (x, y)
inline constexpr int NOTESEQUENCE = 2;  // listing entry centred on x, top at y
inline constexpr int SEQINDEX = 3;      // step number ending at 1.7 x, top at y

// Sets the text colour from the octave marks of the name; returns 0.
int evaluateOctave(platform::Surface& hdc, const char* noteName);

// The circle of one button centred on (x, y), in the surface's pen and brush.
void drawButtonCircle(platform::Surface& hdc, int x, int y);

// Thirds and sixths list and play two voices; single notes one.
bool isTwoVoiceFormat(int formatSel);

int displayNote(platform::Surface& hdc, const char* noteName, int buttonX, int buttonY,
                int charType);

}  // namespace brenavo
