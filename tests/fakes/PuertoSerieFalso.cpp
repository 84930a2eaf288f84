#include "tests/fakes/PuertoSerieFalso.h"

namespace quimbal {

bool PuertoSerieFalso::setCommPort(std::int16_t n) {
    llamadas << QStringLiteral("numero %1").arg(n);
    if (n < 1)
        return false;
    numero = n;
    return true;
}

bool PuertoSerieFalso::setPortOpen(bool abrir) {
    llamadas << (abrir ? QStringLiteral("abrir") : QStringLiteral("cerrar"));
    if (!abrir) {
        if (falloCerrar)
            return false;
        abierto = false;
        rts = dtr = false;
        return true;
    }
    if (abierto || !puertosExistentes.contains(numero))
        return false;
    abierto = true;
    ++aperturas;
    rts = dtr = true;
    return true;
}

std::optional<bool> PuertoSerieFalso::leer(const char* nombre, bool estable, QList<bool>& guion) {
    llamadas << QString::fromLatin1(nombre);
    ++lecturas;
    if (alLeer)
        alLeer();
    const bool falla = falloEnLectura > 0 && --falloEnLectura == 0;
    if (!abierto || falloLectura || falla)
        return std::nullopt;
    return guion.isEmpty() ? estable : guion.takeFirst();
}

std::optional<bool> PuertoSerieFalso::CTSHolding() {
    return leer("CTS", cts, lecturasCTS);
}
std::optional<bool> PuertoSerieFalso::DSRHolding() {
    return leer("DSR", dsr, lecturasDSR);
}

bool PuertoSerieFalso::setRTSEnable(bool activo) {
    llamadas << QStringLiteral("RTS");
    if (!abierto || falloRTS)
        return false;
    rts = activo;
    return true;
}

bool PuertoSerieFalso::setDTREnable(bool activo) {
    llamadas << QStringLiteral("DTR");
    if (!abierto || falloDTR)
        return false;
    dtr = activo;
    return true;
}

} // namespace quimbal
