// What live play remembers: the buttons held down by the mouse and by keys, the bellows,
// and whether the keys are written on the buttons.
#pragma once

#include <cstdint>

namespace brenavo {

inline constexpr int32_t MOUSE_HOLDER = -1;  // any other holder is a key's scan code
inline constexpr int MAX_HELD = 16;

struct HeldButton {
  int32_t holder = 0;
  int32_t position = 0;
  int32_t midi = 0;
};

struct LiveState {
  HeldButton held[MAX_HELD] = {};
  int heldCount = 0;
  bool mouseDown = false;     // the left button went down in the client area
  bool bellowsPushed = false;
  int32_t showKeys = 0;       // "Mostrar teclas"
  int32_t voiceSent = -1;     // the voice last chosen on the live channel; -1 none yet
};

}  // namespace brenavo
