#pragma once
// The sound level of the default audio input through the sound server's own
// client library. The server measures the peaks: the capture is a float mono
// stream at 50 samples a second with peak detection, each sample the peak of
// 20 ms of sound, handed over one at a time. It runs on the library's own
// thread (its threaded main loop), which wakes only when a peak arrives or the
// server reports a change; readings reach the user-interface thread as queued
// calls, and a window that falls behind gets the loudest held-back reading
// instead of a queue (see FusionLecturas).
//
// The capture follows the world: when the server goes away it tries again
// every half second and comes back by itself when the server does; when the
// default input changes it moves to the new one. Each of these events is one
// line on standard error, never a message box.
#include "platform/NivelSonido.h"
#include "platform/sonido/MedidaNivel.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_time_event;
struct pa_server_info;
struct pa_source_info;

namespace quimbal::sonido {

class NivelSonidoPulse : public NivelSonido {
    Q_OBJECT
public:
    using NivelSonido::NivelSonido;
    ~NivelSonidoPulse() override;
    // Answers within kEsperaInicio whatever the server does. False when the
    // capture is known not to start now: no sound server answers, or it has
    // no input device (a sink's monitor does not count: it would hear the
    // computer's own sounds). Either way, until detener(), the component
    // keeps watching and starts the capture by itself when it can. A server
    // that is still answering when the time is up counts as started.
    bool iniciar() override;
    void detener() override;

    static constexpr int kEsperaInicioMs = 150;
    static constexpr int kReintentoMs = 500;

private:
    enum class Inicio { Pendiente, Iniciada, Fallida, Supuesta };

    // All below run on the main loop's thread, or with its lock held.
    void conectar();
    void liberarContexto();
    void liberarFlujo();
    void programarReintento();
    void revisarFuente();
    void crearFlujo();
    void alCambiarContexto();
    void contextoPerdido();
    void alCambiarFlujo();
    void alLeerServidor(const pa_server_info* info);
    void alLeerFuente(const pa_source_info* info, int fin);
    void alPoderLeer();
    void enviar(int nivel);
    void enviarEstado(bool capturando);
    void sinEntrada(const char* porque);
    void decidirInicio(Inicio resultado);

    void avisar(const std::string& linea);

    friend struct Llamadas;
    pa_threaded_mainloop* bucle_ = nullptr;
    pa_context* contexto_ = nullptr;
    pa_stream* flujo_ = nullptr;
    pa_time_event* reintento_ = nullptr;
    // The server's default input when last asked; a change of it moves the
    // capture (a move of the capture by the user does not).
    std::string porDefecto_;
    // The input the capture reads (or is being made for).
    std::string fuenteFlujo_;
    // What one read took from the server.
    std::string recibido_;
    // The capture has been there since the start; it was lost and is not
    // back yet; no reading has come since the start.
    bool huboCaptura_ = false;
    bool perdida_ = false;
    bool primera_ = true;
    // What enMarcha last said: -1 nothing yet, 0 stopped, 1 running.
    int estadoEnviado_ = -1;
    // The last line written on standard error: the same event is told once.
    std::string ultimoAviso_;
    LectorPicos lector_{kMaxPicosPendientes};
    FusionLecturas fusion_{std::chrono::milliseconds(200)};
    FiltroQuietud quietud_{kNivelQuieto};

    // Readings posted to the user-interface thread and not yet delivered;
    // more are merged.
    std::atomic<int> enVuelo_{0};
    // Bumped by every start and stop: a reading posted before is dropped.
    std::atomic<unsigned> generacion_{0};

    std::mutex mInicio_;
    std::condition_variable cvInicio_;
    Inicio inicio_ = Inicio::Pendiente;

    static constexpr int kMaxEnVuelo = 2;
    // Peaks read at once beyond which the older ones are stale.
    static constexpr int kMaxPicosPendientes = 2;
};

} // namespace quimbal::sonido
