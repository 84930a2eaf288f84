#pragma once
// Recording injector: every mouse event is noted by its flag name ("LEFTUP",
// "LEFTDOWN", "RIGHTUP", "RIGHTDOWN", ...) and every key string, written back
// in the notation, as "teclas:<string>" (e.g. "teclas:+a"), in one record in
// the order they came. Observing the fake pump adds its "DoEvents" to the same
// record. It can be told to fail; refused calls are noted apart.
#include "platform/Inyector.h"

#include <QStringList>

namespace quimbal {

class BucleFalso;

class InyectorFalso : public Inyector {
public:
    bool mouse_event(unsigned flags) override;
    bool enviarTeclas(const QList<Pulsacion>& pulsaciones) override;

    // Notes the pump's calls in `registro` too.
    void observar(BucleFalso& bucle);

    QStringList registro;      // what was injected (and pumps, when observed)
    QStringList teclas;        // the key strings alone
    QStringList rechazados;    // calls refused because of the switches below
    bool fallarRaton = false;  // mouse_event fails, injects nothing
    bool fallarTeclas = false; // enviarTeclas fails, injects nothing
};

// Installs the fake in servicios().inyector for the life of a test.
struct InyectorDePrueba {
    InyectorFalso inyector;
    InyectorDePrueba();
    ~InyectorDePrueba();
};

} // namespace quimbal
