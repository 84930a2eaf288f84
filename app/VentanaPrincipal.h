#pragma once
// The configuration window as the program runs it, with its icon in the
// notification area: the icon comes before everything else the window
// loads and goes after everything else it unloads, and a press on it brings
// the window back in test mode.
#include "platform/Bandeja.h"
#include "ui/frmSwitch.h"

namespace quimbal {

class VentanaPrincipal : public frmSwitch {
    Q_OBJECT
public:
    VentanaPrincipal(Perfiles& perfiles, ArchivosDatos& archivos, Entradas& entradas,
                     const Servicios& servicios, QWidget* padre = nullptr);
    ~VentanaPrincipal() override;

    void Form_Load() override;
    void Form_Unload() override;

    // The icon with the window's own picture and the tooltip "Tocabrix".
    void AgregarIconoBandeja();
    void QuitarIconoBandeja();
    // A press on the icon (left, left double-click, right) shows the window
    // in test mode with the focus on Aceptar, unless the add-profile prompt
    // or the exit confirmation is open; the press is then dropped.
    void EventoBandeja(BotonBandeja boton);
};

} // namespace quimbal
