#pragma once
// The two inputs: the switches on the serial port, polled every 50 ms, and the
// sound level. While the configuration window is shown (test mode) they only
// report what they see, for the test labels; otherwise a switch press performs
// that switch's action and a sound at or above the threshold performs action 1,
// with a re-arm delay after it. What each press or sound becomes under the
// profile's timing settings (acceptance, ignore-repeat, long press, repeat,
// pause, minimum blow) the switch engine decides (Motor): the poll and the
// sound only report what they see, with the time they saw it.
#include "actions/Procedimientos.h"
#include "input/Motor.h"
#include "profiles/Ajustes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace quimbal {

class CajaUsb;
struct SenaDispositivo;
class Confirmacion;
class Inyector;
class NivelSonido;
class Perfiles;
class PuertoSerie;

// Level at one threshold step: step 1 is 12.8, step 10 is 128.
constexpr double FACTOR_NIVEL = 12.8;

class Entradas : public QObject {
    Q_OBJECT
public:
    // The mode, threshold and re-arm delay of the profile in use are read from
    // `perfiles` at each reading.
    Entradas(const Perfiles& perfiles, PuertoSerie& puerto, NivelSonido& sonido, Inyector& inyector,
             QObject* padre = nullptr);
    ~Entradas() override;

    // True while the configuration window is shown: inputs only report.
    bool ModoTest = false;
    // Switch latches: true from the poll that sees the line active until the
    // poll that sees it inactive again. Shared by test mode and live mode.
    bool Switch1Pulsado = false;
    bool Switch2Pulsado = false;

    // The actions of input 1 (switch 1 and the sound) and of switch 2, worked
    // out once whenever the window's choice changes.
    void FijarAcciones(const Accion& accion1, const Accion& accion2);
    const Accion& accion(int entrada) const { return entrada == 1 ? accion1_ : accion2_; }

    // Perform action 1 / action 2. False when its key string could not be sent.
    bool ActivarSwitch1();
    bool ActivarSwitch2();

    // The timing settings of the profile in use (all off by default: each
    // press acts once, at once).
    void FijarAjustes(const AjustesMotor& ajustes);
    const AjustesMotor& Ajustes() const { return motor_.ajustes(); }
    // Makes the sounds that confirm accepted and ignored presses, the first
    // time a profile asks for them (none: no sound).
    std::function<std::unique_ptr<Confirmacion>()> FabricaConfirmacion;
    bool Pausado() const { return motor_.pausado(); }
    // Runs the engine's timers that are due (the program's timer does this
    // by itself).
    void AvanzarMotor();
    // The clock of the engine, in milliseconds (tests put theirs).
    std::function<qint64()> Reloj;

    // Port selection: closes the port and, for a number other than 0, opens
    // that one. Failures are skipped; gives whether the port is open.
    bool SeleccionarPuerto(int numero);
    // The chosen port once its lines could not be read (an adapter
    // unplugged, a hang-up, an I/O error) or it could not be opened: closed
    // (so that the system can give the device its name back), and while the
    // poll runs opened again about once a second, quietly, until it opens.
    // Then each latch takes the state of its line, so that a switch held at
    // that moment acts only once released and pressed again.
    bool PuertoPerdido() const { return puertoElegido_ != 0 && !puertoAbierto_; }
    // The lifecycle as the configuration window asks for it. At load: the
    // sound capture starts (false when it cannot, for now) and port `puerto`
    // opens. At unload: the poll stops, the port closes, the capture stops.
    bool Arrancar(int puerto);
    void Parar();
    // The profile's mode: the poll runs in switch mode only.
    void UsarModo(int modo);
    void ActivarSondeo(bool activo);
    bool Sondeando() const { return tmrSwitch.isActive(); }
    // One tick of the poll: switch 1 (CTS), RTS, switch 2 (DSR), DTR. A
    // failure (a line that cannot be read, an action that failed) ends the
    // tick silently.
    void tmrSwitch_Timer();

    // The USB switch box, a second source of the switches beside the serial
    // port (none: the program has no such backend). Its presses count in
    // switch mode, as the port's do, with the kernel's time of each event.
    void ConectarCaja(CajaUsb* caja);
    CajaUsb* Caja() const { return caja_; }
    // The box chosen (none: no box) and which of its codes are the switches.
    // It is used at once and found again whenever it is plugged back.
    void FijarCajaUsb(const std::optional<SwitchUsb>& usb);
    const std::optional<SwitchUsb>& CajaUsbElegida() const { return usb_; }
    // Learning which codes a box sends: box `sena` is used and every press
    // of it goes to `alAprender` instead of the engine, until
    // TerminarAprendizaje, which goes back to the chosen box. Gives whether
    // the box could be opened (Caja()->fallo() says why not).
    bool AprenderCajaUsb(const SenaDispositivo& sena, std::function<void(int codigo)> alAprender);
    void TerminarAprendizaje();
    bool Aprendiendo() const { return static_cast<bool>(aprendiendo_); }

    // Starts the sound capture; false when it cannot start. Stops it.
    bool IniciarCapturaSonido();
    void FinalizarCapturaSonido();
    // One reading. Only in sound mode: in test mode it reports whether the
    // level reaches the threshold; otherwise a level at or above it performs
    // action 1 unless the re-arm delay runs, starting the delay first.
    void ProcesarNivelSonido(int nivel);
    bool RearmeEnCurso() const { return tmrDelaySonido.isActive(); }

signals:
    // Test mode: switch 1 or 2 held (true) or released (false).
    void pruebaSwitch(int numero, bool pulsado);
    // Test mode: the sound reaches the threshold (true) or falls below it.
    void pruebaSonido(bool alto);
    // The chosen port was lost (false) or opened again by itself (true).
    void puertoRecuperado(bool abierto);
    // Test mode: what the engine made of a press of switch 1 or 2 (0: the
    // sound), for the test labels.
    void informe(int numero, quimbal::Informe informe);
    // The pause turned on or off (both switches held together).
    void pausa(bool activa);
    // The USB box came (true) or went, or could not be opened or held
    // (false; Caja()->fallo() says why).
    void cajaUsb(bool conectada);

private:
    enum class Paso { Seguir, Terminar, SinPuerto };
    qint64 ahora();
    // The engine learns of a change of ModoTest (a plain flag the window
    // sets) before anything else it is told.
    void alMotor(const std::function<void(qint64)>& paso);
    void programarMotor();
    void accionDelMotor(int accion, Origen origen);
    Paso atender(int numero, bool& pulsado);
    void perderPuerto();
    void reintentarPuerto();
    void alPulsarCaja(int codigo, bool pulsado, qint64 ms);
    void alCambiarCaja(bool conectada);
    int switchDeCodigo(int codigo) const;

    // A press seen by the second read of a tick, for the next tick.
    bool pendiente_[2] = {false, false};
    int puertoElegido_ = 0;
    bool puertoAbierto_ = false;
    int ticksSinPuerto_ = 0;

    const Perfiles& perfiles_;
    PuertoSerie& puerto_;
    NivelSonido& sonido_;
    Inyector& inyector_;
    Accion accion1_;
    Accion accion2_;
    QTimer tmrSwitch;
    QTimer tmrDelaySonido;
    Motor motor_;
    QTimer tmrMotor_;
    QElapsedTimer reloj_;
    std::unique_ptr<Confirmacion> confirmacion_;
    CajaUsb* caja_ = nullptr;
    std::optional<SwitchUsb> usb_;
    std::function<void(int)> aprendiendo_;
    // An action of the engine failed during the current tick.
    bool accionFallida_ = false;
};

} // namespace quimbal
