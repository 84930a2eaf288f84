// Choosing each input's action and performing it.
#include "ui/frmSwitch.h"

namespace quimbal {

void frmSwitch::cboTeclas1_Click() {}
void frmSwitch::cboTeclas2_Click() {}
void frmSwitch::txtLetra1_Change() {}
void frmSwitch::txtLetra2_Change() {}
void frmSwitch::ActivarSwitch1() {}
void frmSwitch::ActivarSwitch2() {}
void frmSwitch::DesactivarSwitch1() {}
void frmSwitch::DesactivarSwitch2() {}

} // namespace quimbal
