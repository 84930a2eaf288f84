// Profile selection, adding, deleting and restoring defaults.
#include "ui/frmSwitch.h"

namespace quimbal {

void frmSwitch::cboUsuario_Click() {}
void frmSwitch::cmdAgregar_Click() {}
void frmSwitch::cmdEliminar_Click() {}
void frmSwitch::cmdPorDefecto_Click() {}

} // namespace quimbal
