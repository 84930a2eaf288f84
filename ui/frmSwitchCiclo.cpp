// The window's life: everything loading sets up after the tray icon and the
// tray hook (which the program's shell installs first and removes last), the
// three window-level buttons, and unloading.
#include "platform/Ayuda.h"
#include "platform/Bandeja.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "profiles/Declaraciones.h"
#include "ui/CicloVentana.h"
#include "ui/frmMas.h"
#include "ui/frmSwitch.h"

#include <QDir>

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

    // The profile file.
    if (cboUsuario->ListCount() == 0) {
        Usuarios[0] = Usuario::Nuevo(QString::fromLatin1(kNombreGeneral));
        cboUsuario->AddItem(Usuarios[0].Nombre.texto());
    }
    cboUsuario->setListIndex(0);

    // The settings file.
    UltimoUsuario = ConfigInicio.NombreUsuario.texto();
    PuertoSwitch = ConfigInicio.Puerto;
    cboSwitch->setListIndex(PuertoSwitch);
    SeleccionarUltimoUsuario(*cboUsuario, UltimoUsuario, [](int) {});
}

void frmSwitch::Form_Unload() {}

void frmSwitch::cmdAceptar_Click() {
    ModoTest = false;
    OcultarHaciaBandeja(*this);
}

void frmSwitch::cmdAyuda_Click() {
    WinHelp(hWnd(), QDir(CarpetaPrograma()).filePath(QStringLiteral("quimbal.hlp")), HELP_CONTENTS,
            0);
}

void frmSwitch::cmdSalir_Click() {
    PreguntandoSalida = true;
    const int respuesta = MsgBox(QStringLiteral("¿Desea salir del programa?"),
                                 vbYesNo + vbQuestion + vbDefaultButton2,
                                 QStringLiteral("Atención!"));
    PreguntandoSalida = false;
    if (respuesta != vbYes)
        return;
    Descargar();
}

void frmSwitch::cmdMas_Click() { MostrarMasOpciones(this, *tmrDelaySonido); }

} // namespace quimbal
