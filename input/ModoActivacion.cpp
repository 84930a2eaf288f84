#include "input/ModoActivacion.h"

#include "input/modSonido.h"
#include "profiles/Declaraciones.h"

namespace quimbal {

void ActivaOpcionSwitch(const ControlesModo& c) {
    UsuarioEnUso().Modo = kModoSwitch;
    c.optSwitch->setValue(true);
    c.cboSwitch->setEnabled(true);
    c.tmrSwitch->setEnabled(true);
    c.lblAccion1->setText(QStringLiteral("Switch 1:"));
    c.lblAccion2->setEnabled(true);
    c.cboTeclas2->setEnabled(true);
    c.txtLetra2->setEnabled(true);
    c.lblTest1->setEnabled(true);
    c.lblTest2->setEnabled(true);
    c.lblTestSonido->setOpaca(false);
    c.lblTestSonido->setEnabled(false);
    c.cboSonido->setEnabled(false);
    c.cmdMas->setEnabled(false);
}

void ActivaOpcionSonido(const ControlesModo& c) {
    UsuarioEnUso().Modo = kModoSonido;
    c.optSonido->setValue(true);
    // Runs the list's click, which writes the step back into the profile.
    c.cboSonido->setListIndex(UmbralValido(UsuarioEnUso().Umbral) - 1);
    c.cboSwitch->setEnabled(false);
    c.tmrSwitch->setEnabled(false);
    c.lblAccion1->setText(QStringLiteral("Sonido:"));
    c.lblAccion2->setEnabled(false);
    c.cboTeclas2->setEnabled(false);
    c.txtLetra2->setEnabled(false);
    c.lblTest1->setOpaca(false);
    c.lblTest2->setOpaca(false);
    c.lblTest1->setEnabled(false);
    c.lblTest2->setEnabled(false);
    c.lblTestSonido->setEnabled(true);
    c.cboSonido->setEnabled(true);
    c.cmdMas->setEnabled(true);
}

void ElegirUmbral(const Lista& cboSonido) {
    if (cboSonido.ListIndex() >= 0)
        UsuarioEnUso().Umbral = static_cast<std::int16_t>(cboSonido.ListIndex() + 1);
}

} // namespace quimbal
