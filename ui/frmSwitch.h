#pragma once
// The main configuration window. It shows the profile in use and edits it
// through the profile table; its controls are public so that the program and
// the tests can reach them by name, and each event has one handler named
// after the control and the event.
#include "platform/Servicios.h"
#include "profiles/Ajustes.h"
#include "ui/Avisos.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quimbal {

class ArchivosDatos;
class Entradas;
class Etiqueta;
class LuzDeTest;
class Perfiles;

class frmSwitch : public QDialog {
    Q_OBJECT
public:
    frmSwitch(Perfiles& perfiles, ArchivosDatos& archivos, Entradas& entradas,
              const Servicios& servicios, QWidget* padre = nullptr);
    ~frmSwitch() override;

    // Controls, in tab order.
    QPushButton* cmdAceptar;
    QComboBox* cboUsuario;
    QRadioButton* optSwitch;
    QComboBox* cboSwitch;
    QRadioButton* optSonido;
    QComboBox* cboSonido;
    QComboBox* cboTeclas1;
    QLineEdit* txtLetra1;
    QComboBox* cboTeclas2;
    QLineEdit* txtLetra2;
    QPushButton* cmdPorDefecto;
    QPushButton* cmdAgregar;
    QPushButton* cmdEliminar;
    QPushButton* cmdAyuda;
    QPushButton* cmdSalir;
    QGroupBox* fraAccion; // object name "Frame2"
    QLabel* lblUsuario;
    QLabel* lblAccion1;
    QLabel* lblAccion2;
    QGroupBox* fraModo;
    LuzDeTest* lblTest2;
    LuzDeTest* lblTest1;
    LuzDeTest* lblTestSonido;
    QPushButton* cmdMas;
    // Beyond the classic layout, in the free space of the action frame: the
    // timing settings of the profile in use (last in tab order).
    QPushButton* cmdAjustes;

    // Raised while the add-profile prompt (or its "name exists" box) or the
    // exit confirmation is open: the tray icon ignores presses meanwhile.
    bool AgregandoUsuario = false;
    bool PreguntandoSalida = false;

    // Window lifecycle: load fills the window from the data files and starts
    // the inputs; unload stops them. The program adds its tray icon around.
    virtual void Form_Load();
    virtual void Form_Unload();
    void cmdAceptar_Click();
    void cmdAyuda_Click();
    void cmdSalir_Click();
    void cmdMas_Click();
    void cmdAjustes_Click();
    // The USB switch box chosen (none: no box) used from now on; its
    // comings and goings told as the port's are.
    void UsarCajaUsb(const std::optional<SwitchUsb>& usb);
    void AvisarCajaUsb(bool conectada);

    // Profiles.
    void cboUsuario_Click();
    void cmdAgregar_Click();
    void cmdEliminar_Click();
    void cmdPorDefecto_Click();
    // Shows profile i (the one in use) in the window's controls.
    void MostrarUsuario(int i);

    // Activation mode.
    void ActivaOpcionSwitch();
    void ActivaOpcionSonido();

    // Port, threshold, actions.
    void cboSwitch_Click();
    void cboSonido_Click();
    void cboTeclas1_Click();
    void cboTeclas2_Click();
    void txtLetra1_Change();
    void txtLetra2_Change();

    // The window starts out of sight (straight into the notification area):
    // from the load on, problems are announced without boxes. Call before
    // Cargar().
    void ArrancarFueraDeVista() { avisos_.fijarFueraDeVista(true); }
    // The end of the session (a signal, the session manager): saves both
    // files as "Salir" does after its confirmation, without asking, and
    // unloads.
    void TerminarSesion();

    // Loads the window once (Form_Load) before it is first shown.
    void Cargar();
    bool Cargada() const { return cargada_; }
    // Unloads the window: Form_Unload runs once, then the window closes.
    void Descargar();
    bool Descargada() const { return descargada_; }

    // The help file "Ayuda" opens (the program sets it; by default the one
    // in the data folder).
    QString ArchivoAyuda;

    Entradas& entradas() { return entradas_; }
    Perfiles& perfiles() { return perfiles_; }
    Avisos& avisos() { return avisos_; }

signals:
    // The window has unloaded: with it gone the program ends.
    void descargada();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    // The window is in sight again (shown, or restored from the task bar):
    // the boxes of the problems announced meanwhile that still hold.
    void AlVolverALaVista();
    // Shown only to be minimised at once, and not minimised yet.
    bool Minimizando() const { return minimizando_; }
    Bandeja& bandeja() { return servicios_.bandeja; }

private:
    void crearControles();
    void conectarManejadores();
    // The profile list again from the table, the profile in use selected.
    void LlenarListaUsuarios();
    // The actions the inputs perform, as the action lists and letter boxes
    // show them now.
    void ActualizarAcciones();
    void ElegirAccion(int entrada);
    // Input 1's controls named for a screen reader after what it is now
    // ("switch 1" or "sonido"), as its label says.
    void NombrarEntrada1(const QString& entrada);
    // Asks once per run whether to go on without saving after a data file
    // could not be opened or written; false: the program must end.
    bool SeguirSinGuardar(const QString& causa);
    // Load steps of the data files: the profile table (its first profile
    // shown) and the settings record. False: the program must end.
    bool CargarArchivos();
    // Hides into the notification area, or minimises where there is none.
    void OcultarHaciaBandeja();
    // After the port was chosen: its tooltip says what it stands for, or
    // why it did not open; the user is told why, once, while the window is
    // shown (at once, or as soon as it is shown), never while it is hidden.
    void ComprobarPuerto();
    void AvisarFalloPuerto();

    Perfiles& perfiles_;
    ArchivosDatos& archivos_;
    Entradas& entradas_;
    Servicios servicios_;
    Avisos avisos_;
    bool cargada_ = false;
    bool descargada_ = false;
    bool sinGuardarAceptado_ = false;
    bool avisadoSinBandeja_ = false;
    bool avisoPuertoPendiente_ = false;
    // Shown only to be minimised at once (a window that never was in sight).
    bool minimizando_ = false;
};

} // namespace quimbal
