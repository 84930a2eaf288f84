// Activation mode and the sound input's controls.
#include "ui/frmSwitch.h"

namespace quimbal {

void frmSwitch::optSwitch_Click() {}
void frmSwitch::optSonido_Click() {}
void frmSwitch::ActivaOpcionSwitch() {}
void frmSwitch::ActivaOpcionSonido() {}
void frmSwitch::cboSonido_Click() {}
void frmSwitch::tmrDelaySonido_Timer() {}

} // namespace quimbal
