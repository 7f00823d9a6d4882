// The images and help pages compiled into the program.
#pragma once

namespace brenavo {

// Registers the compiled-in resources; the program does it once, at start-up. Safe to
// call again.
void registerResources();

}  // namespace brenavo
