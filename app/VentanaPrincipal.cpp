#include "app/VentanaPrincipal.h"

#include "input/Entradas.h"

#include <QPushButton>

namespace quimbal {

VentanaPrincipal::VentanaPrincipal(Perfiles& perfiles, ArchivosDatos& archivos, Entradas& entradas,
                                   const Servicios& servicios, QWidget* padre)
    : frmSwitch(perfiles, archivos, entradas, servicios, padre) {
    connect(&bandeja(), &Bandeja::pulsada, this, &VentanaPrincipal::EventoBandeja);
}

VentanaPrincipal::~VentanaPrincipal() {
    // A window destroyed while loaded still takes its icon away.
    Descargar();
}

void VentanaPrincipal::Form_Load() {
    AgregarIconoBandeja();
    frmSwitch::Form_Load();
}

void VentanaPrincipal::Form_Unload() {
    frmSwitch::Form_Unload();
    QuitarIconoBandeja();
}

void VentanaPrincipal::AgregarIconoBandeja() {
    // "Tocabrix", and the problems that last, one per line.
    bandeja().mostrar(*this, windowIcon(), avisos().tip());
}

void VentanaPrincipal::QuitarIconoBandeja() {
    bandeja().quitar();
}

void VentanaPrincipal::EventoBandeja(BotonBandeja boton) {
    if (AgregandoUsuario || PreguntandoSalida)
        return;
    if (boton == BotonBandeja::Medio || Minimizando())
        return;
    entradas().ModoTest = true;
    // A window minimised to the task bar (no notification area) comes back
    // as a hidden one does.
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    cmdAceptar->setFocus();
    // Restored from the task bar: no show event says so.
    AlVolverALaVista();
}

} // namespace quimbal
