#pragma once
// The more-options dialog: the re-arm delay of the sound input.
#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quimbal {

class Dialogos;

class frmMas : public QDialog {
    Q_OBJECT
public:
    // Shows `retraso`, the delay in use (ms).
    frmMas(Dialogos& dialogos, int retraso, QWidget* padre = nullptr);

    // Controls, in tab order.
    QLineEdit* txtRetraso;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;
    QLabel* lblMensaje1;
    QLabel* lblExplicacion; // object name "Label1"
    QLabel* lblRetraso;

    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
    // The delay accepted (valid once the dialog was accepted).
    int Retraso() const { return retraso_; }

protected:
    void reject() override; // Esc and the title bar's close: Cancelar

private:
    Dialogos& dialogos_;
    int retraso_;
};

// Opens the dialog modally; the new delay when the user accepted one.
std::optional<int> MostrarMasOpciones(QWidget* padre, Dialogos& dialogos, int retraso);

} // namespace quimbal
