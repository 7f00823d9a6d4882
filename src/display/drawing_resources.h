// Where the buttons lie and the pens, brushes and font that painting and the
// sequencer share.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace brenavo {

// x of positions 0-65, then y of positions 0-65, in client pixels.
struct ButtonGeometry {
  int32_t buttonXYs[132] = {};
};

struct DrawingResources {
  int maxX = 0;                       // screen size read at creation: the blank copy's size
  int maxY = 0;
  platform::Pen hButtonOutlinePen;
  platform::Brush hButtonBGBrush;
  platform::Brush hButtonHighlightBrush;
  platform::Font hNotesFont;
  // What a drawer replaced, kept to put it back.
  platform::Pen hDefPen;
  platform::Brush hDefBrush;
  platform::Font hDefFont;
  platform::Colour hDefBkColor = 0;
  platform::Colour hDefTextColor = 0;
};

}  // namespace brenavo
