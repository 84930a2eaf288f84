// The serial port choice and the switch poll.
#include "ui/frmSwitch.h"

namespace quimbal {

void frmSwitch::cboSwitch_Click() {}
void frmSwitch::tmrSwitch_Timer() {}

} // namespace quimbal
