#pragma once
// The USB switch box in "Ajustes de las entradas": which input device is the
// box, and a step that learns which of its keys or buttons is switch 1 and
// which is switch 2. The box belongs to the machine, as the port does, not
// to a profile. While the step learns, the box's presses go to it and to
// nothing else; the choice takes effect when the dialog is accepted.
#include "platform/CajaUsb.h"
#include "profiles/Ajustes.h"

#include <QGroupBox>

class QComboBox;
class QLabel;
class QPushButton;

namespace quimbal {

class Dialogos;
class Entradas;

// What the user is told when the box cannot be used: one line (the tooltip,
// a notification's title) and the whole reason, with the udev rule where
// the system does not let the user read it.
QString ResumenFalloCaja(FalloCaja fallo, const QString& nombre);
QString TextoFalloCaja(FalloCaja fallo, const QString& nombre, const QString& ruta, quint16 vendor,
                       quint16 product);

class fraCajaUsb : public QGroupBox {
    Q_OBJECT
public:
    fraCajaUsb(Dialogos& dialogos, Entradas& entradas, QWidget* padre = nullptr);
    ~fraCajaUsb() override;

    QLabel* lblCaja;
    QComboBox* cboCaja; // "Ninguna", then the devices
    QPushButton* cmdAprender;
    QPushButton* cmdSinSwitch2;
    QLabel* lblCajaEstado;

    void cboCaja_Click();
    void cmdAprender_Click();
    void cmdSinSwitch2_Click();
    // A press during the learning step.
    void TeclaAprendida(int codigo);
    bool Aprendiendo() const { return paso_ != 0; }

    // The choice as it stands (none: no box). False, with a message, while a
    // box is chosen whose switch 1 is not known yet.
    bool Completa();
    const std::optional<SwitchUsb>& Eleccion() const { return eleccion_; }

private:
    void mostrarEleccion();
    void terminar();
    void alCambiarCaja(bool conectada);
    // Why the box being learned cannot be used.
    QString motivoFallo() const;

    Dialogos& dialogos_;
    Entradas& entradas_;
    QList<DispositivoEntrada> lista_; // entry i + 1 of the list
    std::optional<SwitchUsb> eleccion_;
    int indice_ = 0; // the entry shown before the user's last pick
    int paso_ = 0;   // learning: 1 waits for switch 1, 2 for switch 2
};

} // namespace quimbal
