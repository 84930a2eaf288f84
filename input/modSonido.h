#pragma once
// Sound input: starting and stopping the sound-level component, the window
// procedure that takes its readings off the main window's message chain, and
// the handling of each reading (test label, action 1, re-arm delay).
#include "platform/Controles.h"
#include "platform/Ventana.h"

#include <cstdint>
#include <functional>

namespace quimbal {

// Level at one threshold step: step 1 is 12.8, step 10 is 128.
constexpr double FACTOR_NIVEL = 12.8;

// The window procedure that was in place before the sound hook.
extern ProcVentana ProcAnteriorSonido;

// Installs the sound hook on the window (always, first), then checks the
// component's version and starts the capture, telling the user in a message
// box when the component is too old or cannot start. The program carries on
// without sound input in both cases.
void IniciarCapturaSonido(HWND hWnd);
// Stops the capture and puts back the procedure the hook replaced.
void FinalizarCapturaSonido(HWND hWnd);
// Takes every reading (message 0x400) and hands it to the window's reading
// handler; every other message goes on to the previous procedure.
LRESULT ProcVentanaSonido(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam);

// The window names who handles its readings. The registration lives as long
// as the window; a later one replaces it.
using ReceptorNivel = std::function<void(std::int16_t nivel)>;
void RegistrarReceptorNivel(HWND hWnd, ReceptorNivel receptor);

// What the reading handler works on.
struct ControlesSonido {
    Etiqueta* lblTestSonido = nullptr;
    Temporizador* tmrDelaySonido = nullptr;
    // Performs action 1; a failure is of no concern here.
    std::function<void()> ActivarSwitch1;
};

// One reading, in the current profile's mode and threshold: in test mode it
// lights or clears the test label; in live mode a level at or above the
// threshold performs action 1 unless the re-arm delay is running, starting
// the delay first.
void ProcesarNivelSonido(std::int16_t nivel, const ControlesSonido& c);

// Threshold step actually used for a stored value: 1 to 10, anything outside
// taken to the nearest end.
int UmbralValido(int umbral);

} // namespace quimbal
