// Profile selection, adding, deleting and restoring defaults.
#include "profiles/GestionUsuarios.h"
#include "ui/frmSwitch.h"

namespace quimbal {

namespace {
ControlesUsuario controles(frmSwitch& f) {
    return {f.cboUsuario,
            f.cboTeclas1,
            f.cboTeclas2,
            f.txtLetra1,
            f.txtLetra2,
            f.cboSonido,
            f.tmrDelaySonido,
            [&f] { f.ActivaOpcionSwitch(); },
            [&f] { f.ActivaOpcionSonido(); }};
}
} // namespace

void frmSwitch::cboUsuario_Click() {
    SeleccionarUsuario(controles(*this));
}
void frmSwitch::cmdAgregar_Click() {
    AgregarUsuario(controles(*this));
}
void frmSwitch::cmdEliminar_Click() {
    EliminarUsuario(controles(*this));
}
void frmSwitch::cmdPorDefecto_Click() {
    RestablecerUsuario(controles(*this));
}
void frmSwitch::MostrarUsuario(int i) {
    quimbal::MostrarUsuario(controles(*this), i);
}

} // namespace quimbal
