#pragma once
// Shared routines of the action emulation.

namespace quimbal {

// Mouse gestures of EmularClick, at the pointer's position.
enum GestoClick : int {
    kClickIzquierdo = 0,      // LEFTDOWN, LEFTUP
    kClickDerecho = 1,        // RIGHTDOWN, RIGHTUP
    kDobleClickIzquierdo = 2, // LEFTDOWN, LEFTUP, LEFTDOWN, LEFTUP
    kPulsarIzquierdo = 3,     // LEFTDOWN
    kSoltarIzquierdo = 4,     // LEFTUP
    kPulsarDerecho = 5,       // RIGHTDOWN
    kSoltarDerecho = 6,       // RIGHTUP
};

// Injects the gesture's mouse events in order, pumping pending events after
// each one. A failed event is skipped and the gesture goes on; any code other
// than 0 to 6 does nothing.
void EmularClick(int codigo);

} // namespace quimbal
