// The window procedure and the start of the program, free of any desktop toolkit.
#pragma once

#include <cstdint>
#include <memory>

#include "app/program.h"

namespace brenavo {

inline constexpr const char* szWinName = "MainWin";
inline constexpr const char* WINDOW_TITLE = "Brenavo: Aprenda A Tocar Acordeon";
inline constexpr int WINDOW_WIDTH = 800;
inline constexpr int WINDOW_HEIGHT = 600;

int32_t WindowFunc(Program& program, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Loads the menu bar, wires the window procedure and runs the creation branch.
std::unique_ptr<Program> CreateMainWindow(platform::Platform& platformServices);

}  // namespace brenavo
