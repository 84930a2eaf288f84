#pragma once
// The main configuration window. Its controls are public, as the program's
// modules read and set them directly; each event has one handler named after
// the control and the event.
#include "actions/Catalogo.h"
#include "platform/Controles.h"
#include "platform/Ventana.h"

#include <QDialog>

namespace quimbal {

class PuertoSerie;

class frmSwitch : public QDialog {
    Q_OBJECT
public:
    explicit frmSwitch(QWidget* padre = nullptr);
    ~frmSwitch() override;

    HWND hWnd() { return Ventana::de(this); }

    // Controls, in tab order.
    Boton* cmdAceptar;
    Lista* cboUsuario;
    Opcion* optSwitch;
    Lista* cboSwitch;
    Opcion* optSonido;
    Lista* cboSonido;
    Lista* cboTeclas1;
    CajaTexto* txtLetra1;
    Lista* cboTeclas2;
    CajaTexto* txtLetra2;
    Boton* cmdPorDefecto;
    Boton* cmdAgregar;
    Boton* cmdEliminar;
    Boton* cmdAyuda;
    Boton* cmdSalir;
    Marco* Frame2;
    QLabel* lblUsuario;
    QLabel* lblAccion1;
    QLabel* lblAccion2;
    Marco* fraModo;
    Etiqueta* lblTest2;
    Etiqueta* lblTest1;
    Etiqueta* lblTestSonido;
    Boton* cmdMas;
    Temporizador* tmrSwitch;
    Temporizador* tmrDelaySonido;
    // The serial port control; set by the program before the window loads.
    PuertoSerie* comPuerto = nullptr;

    // Key codes of the action catalogue, by position.
    TablaTeclas Teclas;
    // Switch latches: true from the poll that sees the line active until the
    // poll that sees it inactive again.
    bool Switch1Pulsado = false;
    bool Switch2Pulsado = false;

    // Window lifecycle: load fills the window; unload tears down what load set
    // up. The program's shell provides them.
    virtual void Form_Load();
    virtual void Form_Unload();
    virtual void cmdAceptar_Click();
    virtual void cmdAyuda_Click();
    virtual void cmdSalir_Click();
    virtual void cmdMas_Click();

    // Profiles.
    void cboUsuario_Click();
    void cmdAgregar_Click();
    void cmdEliminar_Click();
    void cmdPorDefecto_Click();
    // Shows profile i (the current one) in the window's controls.
    void MostrarUsuario(int i);

    // Activation mode.
    void optSwitch_Click();
    void optSonido_Click();
    void ActivaOpcionSwitch();
    void ActivaOpcionSonido();

    // Switch input.
    void cboSwitch_Click();
    void tmrSwitch_Timer();

    // Sound input.
    void cboSonido_Click();
    void tmrDelaySonido_Timer();
    // One sound-level reading, as the sound hook delivers it.
    void ProcesarNivelSonido(std::int16_t nivel);

    // Actions.
    void cboTeclas1_Click();
    void cboTeclas2_Click();
    void txtLetra1_Change();
    void txtLetra2_Change();
    // Perform action 1 (cboTeclas1, txtLetra1) or action 2 (cboTeclas2,
    // txtLetra2) into the focused application. False when the key string
    // could not be sent (e.g. the letter box holds an unpaired brace): nothing
    // of it was typed, and the caller drops the rest of its work (the switch
    // poll ends its tick; the sound input ignores it).
    bool ActivarSwitch1();
    bool ActivarSwitch2();
    // Switch released: nothing to do.
    void DesactivarSwitch1();
    void DesactivarSwitch2();

    // Loads the window once (Form_Load) before it is first shown.
    void Cargar();
    bool Cargada() const { return cargada_; }
    // Unloads the window: Form_Unload runs once, then the window closes.
    void Descargar();

signals:
    // The window has unloaded: with it gone the program ends.
    void descargada();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* e) override;

private:
    void crearControles();
    void conectarManejadores();
    bool cargada_ = false;
    bool descargada_ = false;
};

} // namespace quimbal
