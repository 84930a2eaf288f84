#pragma once
// Recording injector: every button event is noted by name ("LEFTUP",
// "LEFTDOWN", "RIGHTUP", "RIGHTDOWN") and every key string, written back in
// the notation, as "teclas:<string>" (e.g. "teclas:+a"), in one record in
// the order they came. It can be told to fail; refused calls are noted apart.
#include "platform/Inyector.h"

#include <QStringList>

namespace quimbal {

class InyectorFalso : public Inyector {
public:
    bool boton(BotonRaton boton, bool abajo) override {
        const QString n = QLatin1String(boton == BotonRaton::Izquierdo ? "LEFT" : "RIGHT") +
                          QLatin1String(abajo ? "DOWN" : "UP");
        (fallarRaton ? rechazados : registro) << n;
        return !fallarRaton;
    }
    bool teclear(const QList<Pulsacion>& pulsaciones) override {
        const QString t = QStringLiteral("teclas:") + EscribirTeclas(pulsaciones);
        (fallarTeclas ? rechazados : registro) << t;
        return !fallarTeclas;
    }

    QStringList registro;      // what was injected
    QStringList rechazados;    // calls refused because of the switches below
    bool fallarRaton = false;  // button events fail, inject nothing
    bool fallarTeclas = false; // key strokes fail, inject nothing
};

} // namespace quimbal
