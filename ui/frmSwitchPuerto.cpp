// The serial port choice and the switch poll.
#include "input/SondeoSwitch.h"
#include "profiles/Declaraciones.h"
#include "ui/frmSwitch.h"

namespace quimbal {

void frmSwitch::cboSwitch_Click() {
    if (cboSwitch->ListIndex() < 0)
        return;
    PuertoSwitch = static_cast<std::int16_t>(cboSwitch->ListIndex());
    cboSwitch->setToolTip(DescripcionPuerto(PuertoSwitch));
    SeleccionarPuerto(comPuerto, PuertoSwitch);
}

void frmSwitch::tmrSwitch_Timer() {
    SondearSwitches({comPuerto, lblTest1, lblTest2, &Switch1Pulsado, &Switch2Pulsado,
                     [this] { return ActivarSwitch1(); }, [this] { return ActivarSwitch2(); },
                     [this] { DesactivarSwitch1(); }, [this] { DesactivarSwitch2(); }},
                    ModoTest);
}

} // namespace quimbal
