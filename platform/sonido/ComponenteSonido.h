#pragma once
// The program's own sound-level component. It captures the default audio
// input as 16-bit mono samples and posts one reading (message 0x400, the
// level 0..128 in lParam) to the window named at start for every block of
// 20 ms. The capture runs on a thread of its own with a small buffer; when
// the window falls behind, old readings are dropped, never queued, and the
// loudest of the held-back ones rides on the next reading so that no blow is
// lost, unless it is over 200 ms old by then. A missing device or sound
// server makes the start fail; a device that disappears later simply ends
// the readings.
#include "platform/LibreriaSonido.h"

namespace quimbal::sonido {

constexpr float kVersion = 90.0f;
// Results of the start call.
constexpr std::int16_t kIniciada = 0;
constexpr std::int16_t kSinVentana = 1;
constexpr std::int16_t kSinDispositivo = 2;
constexpr std::int16_t kNoArranca = 3;
constexpr std::int16_t kSinRespuesta = 4;

// The component's three entry points.
float NumeroVersio();
std::int16_t IniciarCapturaNivellDeSo(HWND hWnd);
void FinalitzarCapturaNivellDeSo();

// The component behind the program's platform interface.
class LibreriaSonidoQt : public LibreriaSonido {
public:
    ~LibreriaSonidoQt() override;
    float NumeroVersio() override { return sonido::NumeroVersio(); }
    std::int16_t IniciarCapturaNivellDeSo(HWND hWnd) override {
        return sonido::IniciarCapturaNivellDeSo(hWnd);
    }
    void FinalitzarCapturaNivellDeSo() override { sonido::FinalitzarCapturaNivellDeSo(); }
};

} // namespace quimbal::sonido
