#pragma once
// The sound-level component as the program sees it: a version number, a start
// call naming the window that receives the readings, and a stop call. Once
// started, the component posts message 0x400 (WM_USER) to that window for every
// reading, with the level in lParam on a 0 to 128 scale (128 = full scale);
// wParam is not used. Readings arrive on the user-interface thread through the
// window's procedure chain.
#include "platform/Ventana.h"

#include <cstdint>

namespace quimbal {

// The message that carries one sound-level reading.
constexpr std::uint32_t WM_NIVEL_SONIDO = WM_USER;
// Oldest version of the component the program works with.
constexpr float kVersionMinimaSonido = 89.0f;

class LibreriaSonido {
public:
    virtual ~LibreriaSonido() = default;
    virtual float NumeroVersio() = 0;
    // 0 = capture started; any other value = it could not start (no input
    // device, no sound server, a device that refuses the format).
    virtual std::int16_t IniciarCapturaNivellDeSo(HWND hWnd) = 0;
    // Stops the capture; harmless when it never started or already stopped.
    virtual void FinalitzarCapturaNivellDeSo() = 0;
};

} // namespace quimbal
