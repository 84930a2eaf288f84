// Choosing each input's action and performing it.
#include "ui/frmSwitch.h"

#include "actions/Acciones.h"
#include "profiles/Declaraciones.h"

namespace quimbal {

void frmSwitch::cboTeclas1_Click() {
    ElegirAccion(*cboTeclas1, *txtLetra1, UsuarioEnUso().Accion1);
}
void frmSwitch::cboTeclas2_Click() {
    ElegirAccion(*cboTeclas2, *txtLetra2, UsuarioEnUso().Accion2);
}
void frmSwitch::txtLetra1_Change() {
    GuardarLetra(*txtLetra1, UsuarioEnUso().Letra1);
}
void frmSwitch::txtLetra2_Change() {
    GuardarLetra(*txtLetra2, UsuarioEnUso().Letra2);
}
bool frmSwitch::ActivarSwitch1() {
    return RealizarAccion(*cboTeclas1, *txtLetra1, Teclas);
}
bool frmSwitch::ActivarSwitch2() {
    return RealizarAccion(*cboTeclas2, *txtLetra2, Teclas);
}
void frmSwitch::DesactivarSwitch1() {}
void frmSwitch::DesactivarSwitch2() {}

} // namespace quimbal
