// Activation mode and the sound input's controls.
#include "input/ModoActivacion.h"
#include "input/modSonido.h"
#include "ui/frmSwitch.h"

namespace quimbal {

namespace {
ControlesModo controlesModo(frmSwitch& f) {
    return {f.optSwitch,  f.optSonido,     f.cboSwitch,  f.cboSonido, f.tmrSwitch,
            f.lblAccion1, f.lblAccion2,    f.cboTeclas2, f.txtLetra2, f.lblTest1,
            f.lblTest2,   f.lblTestSonido, f.cmdMas};
}
} // namespace

void frmSwitch::optSwitch_Click() {
    ActivaOpcionSwitch();
}
void frmSwitch::optSonido_Click() {
    ActivaOpcionSonido();
}
void frmSwitch::ActivaOpcionSwitch() {
    quimbal::ActivaOpcionSwitch(controlesModo(*this));
}
void frmSwitch::ActivaOpcionSonido() {
    quimbal::ActivaOpcionSonido(controlesModo(*this));
}
void frmSwitch::cboSonido_Click() {
    ElegirUmbral(*cboSonido);
}
void frmSwitch::tmrDelaySonido_Timer() {
    tmrDelaySonido->setEnabled(false);
}

void frmSwitch::ProcesarNivelSonido(std::int16_t nivel) {
    quimbal::ProcesarNivelSonido(nivel,
                                 {lblTestSonido, tmrDelaySonido, [this] { ActivarSwitch1(); }});
}

} // namespace quimbal
