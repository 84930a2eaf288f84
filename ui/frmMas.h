#pragma once
// The more-options dialog: the re-arm delay of the sound input.
#include "platform/Controles.h"

#include <QDialog>

namespace quimbal {

class frmMas : public QDialog {
    Q_OBJECT
public:
    // The delay in use is the interval of the main window's re-arm timer.
    explicit frmMas(Temporizador& tmrDelaySonido, QWidget* padre = nullptr);

    // Controls, in tab order.
    CajaTexto* txtRetraso;
    Boton* cmdAceptar;
    Boton* cmdCancelar;
    QLabel* lblMensaje1;
    QLabel* Label1;
    QLabel* lblRetraso;

    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();

protected:
    void reject() override; // Esc and the title bar's close: Cancelar

private:
    Temporizador& tmrDelaySonido_;
};

// Opens the dialog modally, loaded anew so that it shows the delay in use.
void MostrarMasOpciones(QWidget* padre, Temporizador& tmrDelaySonido);

} // namespace quimbal
