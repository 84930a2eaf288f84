#pragma once
// The switch input: choosing the serial port and polling its two lines.
#include <QString>
#include <functional>

namespace quimbal {

class PuertoSerie;
class Etiqueta;

// What one poll works on: the port, the test labels, the latches of the
// window, and the window's action entry points. ActivarSwitch1/2 return false
// when the action failed, which ends the poll there.
struct SondeoSwitch {
    PuertoSerie* puerto = nullptr;
    Etiqueta* lblTest1 = nullptr;
    Etiqueta* lblTest2 = nullptr;
    bool* Switch1Pulsado = nullptr;
    bool* Switch2Pulsado = nullptr;
    std::function<bool()> ActivarSwitch1;
    std::function<bool()> ActivarSwitch2;
    std::function<void()> DesactivarSwitch1;
    std::function<void()> DesactivarSwitch2;
};

// One tick of the switch poll. In test mode a press only lights the switch's
// test label; otherwise the first tick that sees a line active runs that
// switch's action once, the latch being set first so that a tick re-entered
// while the action pumps events does not run it again. Switch 1 (CTS) is
// handled before switch 2 (DSR); RTS is asserted after switch 1, DTR after
// switch 2. Any failure (a line that cannot be read, an action that failed)
// ends the tick silently.
void SondearSwitches(const SondeoSwitch& s, bool modoTest);

// Port selection: closes the port and, for a number other than 0, sets the
// number and opens it again. Every failure is skipped; returns whether the port
// is open afterwards.
bool SeleccionarPuerto(PuertoSerie* puerto, int numero);

// What a port number stands for, as the port list's tooltip shows it.
QString DescripcionPuerto(int numero);

} // namespace quimbal
