// The window's own part of loading: the lists, the catalogue and a first
// profile. The program's shell extends it with the tray icon, the data files,
// the serial port and the sound capture.
#include "profiles/Declaraciones.h"
#include "ui/frmSwitch.h"

namespace quimbal {

void frmSwitch::Form_Load() {
    ModoTest = true;
    cboSwitch->Clear();
    for (int i = 0; i <= 4; ++i)
        cboSwitch->AddItem(QString::number(i));
    cboSonido->Clear();
    for (int i = 1; i <= 10; ++i)
        cboSonido->AddItem(QString::number(i));
    Switch1Pulsado = false;
    ConstruirCatalogo(*cboTeclas1, *cboTeclas2, Teclas);
    if (cboUsuario->ListCount() == 0) {
        Usuarios[0] = Usuario::Nuevo(QString::fromLatin1(kNombreGeneral));
        cboUsuario->AddItem(Usuarios[0].Nombre.texto());
    }
    cboUsuario->setListIndex(0);
}

void frmSwitch::Form_Unload() {}

void frmSwitch::cmdAceptar_Click() {
    ModoTest = false;
    hide();
}

void frmSwitch::cmdAyuda_Click() {}
void frmSwitch::cmdSalir_Click() { Descargar(); }
void frmSwitch::cmdMas_Click() {}

} // namespace quimbal
