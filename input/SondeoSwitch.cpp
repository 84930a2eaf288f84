#include "input/SondeoSwitch.h"

#include "platform/Controles.h"
#include "platform/PuertoSerie.h"

#include <optional>

namespace quimbal {

namespace {

enum class Paso { Seguir, Terminar };

// One switch within a tick: its line, its label, its latch and its actions.
struct Switch {
    std::optional<bool> (PuertoSerie::*leer)();
    Etiqueta* lblTest;
    bool* pulsado;
    const std::function<bool()>& activar;
    const std::function<void()>& desactivar;
};

Paso atender(PuertoSerie& puerto, const Switch& sw, bool modoTest) {
    const std::optional<bool> linea = (puerto.*sw.leer)();
    if (!linea)
        return Paso::Terminar;
    if (*linea && !*sw.pulsado) {
        if (modoTest) {
            if (sw.lblTest)
                sw.lblTest->setOpaca(true);
            *sw.pulsado = true;
            return Paso::Seguir;
        }
        *sw.pulsado = true;
        if (sw.activar && !sw.activar())
            return Paso::Terminar;
        return Paso::Seguir;
    }
    const std::optional<bool> otraVez = (puerto.*sw.leer)();
    if (!otraVez)
        return Paso::Terminar;
    if (!*otraVez) {
        if (modoTest) {
            if (sw.lblTest)
                sw.lblTest->setOpaca(false);
            *sw.pulsado = false;
        } else {
            *sw.pulsado = false;
            if (sw.desactivar)
                sw.desactivar();
        }
    }
    return Paso::Seguir;
}

} // namespace

void SondearSwitches(const SondeoSwitch& s, bool modoTest) {
    if (!s.puerto || !s.Switch1Pulsado || !s.Switch2Pulsado)
        return;
    PuertoSerie& puerto = *s.puerto;
    const Switch sw1{&PuertoSerie::CTSHolding, s.lblTest1, s.Switch1Pulsado, s.ActivarSwitch1,
                     s.DesactivarSwitch1};
    if (atender(puerto, sw1, modoTest) == Paso::Terminar)
        return;
    if (!puerto.setRTSEnable(true))
        return;
    const Switch sw2{&PuertoSerie::DSRHolding, s.lblTest2, s.Switch2Pulsado, s.ActivarSwitch2,
                     s.DesactivarSwitch2};
    if (atender(puerto, sw2, modoTest) == Paso::Terminar)
        return;
    puerto.setDTREnable(true);
}

bool SeleccionarPuerto(PuertoSerie* puerto, int numero) {
    if (!puerto)
        return false;
    puerto->setPortOpen(false);
    if (numero != 0) {
        puerto->setCommPort(static_cast<std::int16_t>(numero));
        puerto->setPortOpen(true);
    }
    return puerto->PortOpen();
}

QString DescripcionPuerto(int numero) {
    if (numero <= 0)
        return QStringLiteral("Sin puerto: los switches no se leen");
    return QStringLiteral("COM%1: %2").arg(numero).arg(DispositivoDePuerto(numero));
}

} // namespace quimbal
