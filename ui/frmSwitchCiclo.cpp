// The window's life: everything loading sets up after the tray icon and the
// tray hook (which the program's shell installs first and removes last), the
// three window-level buttons, and unloading.
#include "platform/Ayuda.h"
#include "platform/Bandeja.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "input/SondeoSwitch.h"
#include "input/modSonido.h"
#include "platform/PuertoSerie.h"
#include "profiles/Archivos.h"
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

    // A data file that can be neither opened nor created, when the user
    // chose not to run without saving: the loader has said so; the window
    // unloads at once and the program ends without writing anything.
    if (!CargarUsuarios(*cboUsuario)) {
        Descargar();
        return;
    }
    cboUsuario->setListIndex(0);
    if (!CargarConfiguracion()) {
        Descargar();
        return;
    }
    UltimoUsuario = ConfigInicio.NombreUsuario.texto();
    PuertoSwitch = ConfigInicio.Puerto;
    cboSwitch->setListIndex(PuertoSwitch);
    SeleccionarUltimoUsuario(*cboUsuario, UltimoUsuario, [this](int i) { MostrarUsuario(i); });
    // The sound hook goes on top of the tray hook.
    IniciarCapturaSonido(hWnd());

    SeleccionarPuerto(comPuerto, PuertoSwitch);
}

void frmSwitch::Form_Unload() {
    if (comPuerto)
        comPuerto->setPortOpen(false);
    FinalizarCapturaSonido(hWnd());
    CerrarArchivos();
}

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
    const int respuesta =
        MsgBox(QStringLiteral("¿Desea salir del programa?"),
               vbYesNo + vbQuestion + vbDefaultButton2, QStringLiteral("Atención!"));
    PreguntandoSalida = false;
    if (respuesta != vbYes)
        return;
    GuardarTodo(*cboUsuario, PuertoSwitch);
    Descargar();
}

void frmSwitch::cmdMas_Click() {
    MostrarMasOpciones(this, *tmrDelaySonido);
}

} // namespace quimbal
