#pragma once
// Sound-level component for tests: answers with the version and start result
// the test sets, records every call, and lets the test deliver readings to the
// window the capture was started on.
#include "platform/LibreriaSonido.h"

#include <QStringList>

namespace quimbal {

class LibreriaSonidoFalsa : public LibreriaSonido {
public:
    LibreriaSonidoFalsa();
    ~LibreriaSonidoFalsa() override;
    float NumeroVersio() override;
    std::int16_t IniciarCapturaNivellDeSo(HWND hWnd) override;
    void FinalitzarCapturaNivellDeSo() override;

    // Posts one reading (message 0x400) to the window of the last start, as
    // the real component does; false when no capture is running.
    bool enviarNivel(LPARAM nivel);

    float version = 90.0f;
    std::int16_t resultadoInicio = 0;
    QStringList llamadas; // "NumeroVersio", "IniciarCapturaNivellDeSo", ...
    HWND ventana = nullptr;
    bool capturando = false;
};

} // namespace quimbal
