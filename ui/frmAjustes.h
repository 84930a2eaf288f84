#pragma once
// "Ajustes de las entradas": the timing settings of one profile's inputs.
// Laid out, not placed: it grows with the font the carer's desktop uses.
#include "profiles/Ajustes.h"
#include "profiles/AjustesMotor.h"

#include <QDialog>
#include <array>
#include <iterator>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace quimbal {

class Dialogos;
class Entradas;
class fraCajaUsb;

inline constexpr std::size_t kNumCamposAjuste = std::size(kCamposAjuste);

class frmAjustes : public QDialog {
    Q_OBJECT
public:
    // With `entradas`, the dialog also has the USB switch box section.
    frmAjustes(Dialogos& dialogos, const AjustesMotor& ajustes, QWidget* padre = nullptr,
               Entradas* entradas = nullptr);

    // One box per numeric setting, in the order of kCamposAjuste, each with
    // its label (the box's buddy) and its explanation under it.
    std::array<QLabel*, kNumCamposAjuste> lblCampos;
    std::array<QLineEdit*, kNumCamposAjuste> txtCampos;
    std::array<QLabel*, kNumCamposAjuste> lblExplicaciones;
    QCheckBox* chkConfirmacion;
    QGroupBox* fraTiempos;
    // The dialog's sections, top to bottom, above the buttons: the timing
    // group, then the confirmation sound. A further section (the USB switch
    // box) is added here as a group of its own, after them.
    QVBoxLayout* lytSecciones;
    fraCajaUsb* fraCaja = nullptr;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

    void cmdAceptar_Click();
    void cmdCancelar_Click();
    // The settings accepted: the ones given until the dialog is accepted.
    const AjustesMotor& Ajustes() const { return ajustes_; }

protected:
    void reject() override; // Esc and the title bar's close: Cancelar

private:
    Dialogos& dialogos_;
    AjustesMotor ajustes_;
};

// What the user accepted: the profile's settings and, where the dialog had
// the USB section, the box chosen there (none: no box).
struct ResultadoAjustes {
    AjustesMotor ajustes;
    std::optional<std::optional<SwitchUsb>> caja;
};

// Opens the dialog modally (with the USB section given `entradas`); what the
// user accepted, nothing when cancelled.
std::optional<ResultadoAjustes> MostrarAjustes(QWidget* padre, Dialogos& dialogos,
                                               const AjustesMotor& ajustes,
                                               Entradas* entradas = nullptr);

} // namespace quimbal
