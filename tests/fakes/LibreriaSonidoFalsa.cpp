#include "tests/fakes/LibreriaSonidoFalsa.h"

#include "platform/Servicios.h"

namespace quimbal {

// Installs itself for the life of the test.
LibreriaSonidoFalsa::LibreriaSonidoFalsa() {
    servicios().sonido = this;
}

LibreriaSonidoFalsa::~LibreriaSonidoFalsa() {
    if (servicios().sonido == this)
        servicios().sonido = nullptr;
}

float LibreriaSonidoFalsa::NumeroVersio() {
    llamadas << QStringLiteral("NumeroVersio");
    return version;
}

std::int16_t LibreriaSonidoFalsa::IniciarCapturaNivellDeSo(HWND hWnd) {
    llamadas << QStringLiteral("IniciarCapturaNivellDeSo");
    ventana = hWnd;
    capturando = resultadoInicio == 0;
    return resultadoInicio;
}

void LibreriaSonidoFalsa::FinalitzarCapturaNivellDeSo() {
    llamadas << QStringLiteral("FinalitzarCapturaNivellDeSo");
    capturando = false;
}

bool LibreriaSonidoFalsa::enviarNivel(LPARAM nivel) {
    return capturando && PostMessage(ventana, WM_NIVEL_SONIDO, 0, nivel);
}

} // namespace quimbal
