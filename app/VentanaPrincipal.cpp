#include "app/VentanaPrincipal.h"

#include "app/modIconBar.h"
#include "app/subClas.h"
#include "ui/CicloVentana.h"

namespace quimbal {

VentanaPrincipal::VentanaPrincipal(QWidget* padre) : frmSwitch(padre) {
    connect(this, &frmSwitch::descargada, this, [this] { descargada_ = true; });
}

VentanaPrincipal::~VentanaPrincipal() {
    // A window destroyed while loaded still takes its icon and hook away.
    Descargar();
}

void VentanaPrincipal::Form_Load() {
    AgregarIconoBandeja(*this);
    PrepararSinBandeja(*this);
    EngancharVentana(hWnd());
    frmSwitch::Form_Load();
}

void VentanaPrincipal::Form_Unload() {
    frmSwitch::Form_Unload();
    QuitarIconoBandeja();
    DesengancharVentana(hWnd());
}

} // namespace quimbal
