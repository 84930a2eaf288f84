#pragma once
// The engine that decides what each switch press and each sound becomes under
// the profile's timing settings: an action, nothing, or the pause turned on or
// off. It holds no timer and reads no device. The switch sources (the serial
// lines, a USB switch box) report each change with the time they saw it; the
// caller asks when the engine next needs the time (proximo) and calls avanzar
// then. Times are milliseconds of one monotonic clock; a time earlier than
// one already seen counts as that one.
//
// At equal times a reported change comes first: a switch released at the very
// moment its acceptance, long press or next repeat falls due does not reach
// it. So a caller reports what it saw at `ahora` before it calls
// avanzar(ahora), and every input call first handles what fell due before
// its own time.
//
// A switch is closed while any source reports it closed. Per press:
// - aceptacion_ms: the press counts (is accepted) once the switch has stayed
//   closed that long; released earlier it is ignored. Off: at once.
// - ignorar_ms: a press that begins less than this after the moment the last
//   press of the same switch was accepted is ignored.
// - larga_ms (switch 1): held that long from its start, action 2 at that
//   moment; released earlier (but accepted), action 1 at the release.
// - repetir_tras_ms / repetir_cada_ms: an accepted press performs its action
//   at acceptance, again repetir_tras_ms later and then every repetir_cada_ms
//   (or repetir_tras_ms) while held; not for switch 1 while larga_ms is on.
// - pausa_ms: both switches held together that long (counted from the moment
//   the second one closed) turn the pause on or off at that moment; the
//   presses held then, with their pending long press, acceptance or repeats,
//   end without action. While paused a switch press does nothing. The sound
//   is never paused: a sound user has no way to end a pause.
// - soplo_minimo_ms: a sound performs action 1 once it has stayed loud that
//   long; quiet earlier, it is ignored. The caller's re-arm delay starts
//   where the engine hands it the sound's action; while it runs the caller
//   reports the level as low.
// An ignored press (and a press while paused) is over: nothing more happens
// until the switch opens.
//
// Test mode (the configuration window shown) runs the same rules but only
// reports, never acts. Whenever test mode starts or ends, or the settings
// change, every held switch (and a loud sound) is done: it acts again only
// after it opens and closes again. A lost source opens its switches without
// action; a recovered one gives its line states, and a switch it finds closed
// is held but no press.
#include "profiles/AjustesMotor.h"

#include <QtGlobal>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace quimbal {

enum class Origen { Switch1, Switch2, Sonido };

// What test mode reports of each press (or sound), for the window to show.
enum class Informe {
    Pulsado,  // closed (loud): not counted yet, or about to be
    Aceptado, // counted
    Accion,   // an action would be performed now; its number comes with it
    Ignorado, // dropped by a filter: too short, or too soon after the last one
    Pausado,  // pressed while the pause is on
    Soltado,  // opened (quiet)
};

// The engine's outputs. Each runs only after the engine's state is complete,
// so it may call the engine again. An empty one is skipped.
struct SalidasMotor {
    // Outside test mode: perform action 1 or 2. For the sound this is the
    // moment to start the re-arm delay.
    std::function<void(int accion, Origen origen)> accion;
    // Test mode only.
    std::function<void(Origen origen, Informe informe, int accion)> prueba;
    // With `confirmacion` on, in both modes: a press or sound was counted
    // (true) or dropped (false, also a press while paused).
    std::function<void(bool aceptada)> confirmacion;
    // The pause turned on (true) or off.
    std::function<void(bool activa)> pausa;
};

class Motor {
public:
    explicit Motor(SalidasMotor salidas);

    // The values are taken into range. Different settings end held presses
    // as test mode does; turning pausa_ms off also ends a pause, which could
    // otherwise never be left.
    void fijarAjustes(const AjustesMotor& ajustes, qint64 ahora);
    const AjustesMotor& ajustes() const { return ajustes_; }
    void fijarModoTest(bool activo, qint64 ahora);
    bool modoTest() const { return modoTest_; }
    bool pausado() const { return pausado_; }
    // Whether switch 1 or 2 is closed by any source.
    bool cerrado(int numero) const;

    // Source `fuente` saw switch `numero` (1 or 2) close or open.
    void pulsador(int fuente, int numero, bool cerrado, qint64 ahora);
    // The source stopped answering: its switches are open, without action.
    void perdida(int fuente, qint64 ahora);
    // The source answers again with these line states, none of them a press.
    void recuperada(int fuente, bool cerrado1, bool cerrado2, qint64 ahora);
    // The sound level is at or above the threshold (true) or below it.
    void sonido(bool alto, qint64 ahora);

    // The next moment the engine needs avanzar to be called; none while
    // nothing is pending.
    std::optional<qint64> proximo() const;
    // Handles, in time order, everything due at or before `ahora`.
    void avanzar(qint64 ahora);

private:
    enum class Fase {
        Abierto,    // open (quiet)
        Bloqueado,  // closed, but no press: held across a change of mode or a re-plug
        Esperando,  // waiting for the acceptance time
        Larga,      // switch 1 accepted, waiting for the long press time
        Repitiendo, // accepted, waiting for the next repeat
        Hecho,      // nothing more until it opens
    };
    struct Estado {
        Fase fase = Fase::Abierto;
        qint64 inicio = 0;
        std::optional<qint64> plazo;    // when the phase falls due
        std::optional<qint64> aceptada; // when the last press was accepted
    };

    void vencer(qint64 hasta, bool incluido);
    void pulsar(int numero);
    void aceptar(int numero);
    void soltar(int numero, bool conAccion);
    void vencerSwitch(int numero);
    void alternarPausa();
    void aceptarSonido();
    void terminarTodo();
    void seguirGesto();
    void actuar(Origen origen, int accion);
    void informar(Origen origen, Informe informe, int accion = 0);
    void confirmar(bool aceptada);
    void vaciar();

    SalidasMotor salidas_;
    AjustesMotor ajustes_;
    bool modoTest_ = false;
    bool pausado_ = false;
    qint64 ahora_;
    std::array<Estado, 2> switches_;
    Estado sonido_;
    // Line states per source: [switch 1, switch 2].
    std::map<int, std::array<bool, 2>> fuentes_;
    std::optional<qint64> gesto_; // since when both switches are held together
    bool gestoHecho_ = false;     // the pause toggled: both must not be held together again first
    // Outputs wait here until the state they come from is complete.
    std::vector<std::function<void()>> cola_;
    bool vaciando_ = false;
};

} // namespace quimbal
