// Playing the buttons yourself: the mouse on either diagram, the computer keyboard with the
// space bar for the bellows. Held buttons sound through the current voice and are lit in a
// colour of their own until they are let go.
#pragma once

#include <cstdint>

#include "app/program.h"

namespace brenavo {

inline constexpr const char* SHOW_KEYS_SETTING = "Vista/MostrarTeclas";
inline constexpr platform::Colour LIVE_BLUE = platform::rgb(150, 210, 255);

// The button position whose circle holds a client point, or -1.
int buttonAt(const Program& program, int x, int y);

bool isLiveMessage(uint32_t message);
// The mouse, key and focus messages.
void handleLiveMessage(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Every held button let go: its note off, the button drawn as the run has it.
void releaseLiveNotes(Program& program);
// The held buttons lit again, after a run step may have drawn over them.
void relightHeldButtons(Program& program);
// Over a full paint: the keys under the labels when shown, and the held buttons lit.
void paintLiveLayer(Program& program, platform::Surface& surface);
// The name of the key that plays a button, under its label, when "Mostrar teclas" is on.
void drawKeyCaption(const Program& program, platform::Surface& surface, int position);

void loadLiveSettings(Program& program);
void saveLiveSettings(Program& program);

}  // namespace brenavo
