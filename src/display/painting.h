// The picture of the window: both diagrams, captions and the listing of the selection.
#pragma once

#include "app/program.h"

namespace brenavo {

inline constexpr int SCALE_DISPLAY_ULC_X = 30;
inline constexpr int SCALE_DISPLAY_ULC_Y = 50;
inline constexpr int SDULC_DY = 30;
inline constexpr int SDULC_NOTE1_X = 50;
inline constexpr int SDULC_NOTE_DX = 50;

// Reads the screen size and makes the outline pen, the two brushes and the notes font.
void createDrawingResources(Program& program);
// The resources are plain descriptions that the surface turns into its own: nothing to free.
void freeDrawingResources(Program& program);

// Both diagrams with their labels in octave colours, and their captions.
void paintKeyboards(Program& program, platform::Surface& surface);
// The numbered listing of the selection in the left panel.
void paintListing(Program& program, platform::Surface& surface);

// WM_PAINT: draws the whole client area on the surface.
void paintWindow(Program& program, platform::Surface& surface);

}  // namespace brenavo
