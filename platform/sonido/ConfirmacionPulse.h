#pragma once
// The confirmation sounds through the sound server's client library. Both
// sounds are stored in the server's sample cache once, when it connects (and
// again whenever it comes back, since a restarted server has forgotten
// them); each confirmation is then one short request to play a stored sample,
// which the server mixes into the default output at once, with no stream of
// ours to keep filled or woken.
//
// The library runs on its own thread (a threaded main loop). The caller never
// takes that thread's lock, which is held while it connects or uploads: it
// writes one byte into a pipe the loop watches, and returns. A press made
// while no server answers, or before the sounds are stored, makes no sound.
//
// No server: one line on standard error, then it tries again every half
// second and the sounds work once a server is there. It never starts a server.
#include "platform/Confirmacion.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_time_event;
struct pa_io_event;

namespace quimbal::sonido {

class ConfirmacionPulse : public Confirmacion {
public:
    ConfirmacionPulse();
    ~ConfirmacionPulse() override;
    ConfirmacionPulse(const ConfirmacionPulse&) = delete;
    ConfirmacionPulse& operator=(const ConfirmacionPulse&) = delete;

    void aceptada() override { pedir(kAceptada); }
    void ignorada() override { pedir(kIgnorada); }

    // Whether a confirmation asked for now would sound: connected, with both
    // sounds stored.
    bool preparada() const { return preparada_.load(); }

    static constexpr int kReintentoMs = 500;

private:
    static constexpr char kAceptada = 'a';
    static constexpr char kIgnorada = 'i';

    // One stored sound and its upload.
    struct Muestra {
        ConfirmacionPulse* duenio = nullptr;
        const char* nombre = nullptr;
        std::vector<std::int16_t> datos;
        pa_stream* subida = nullptr;
        std::size_t enviado = 0; // bytes written into the upload
        bool guardada = false;
    };

    void pedir(char que);

    // All below run on the main loop's thread, or with its lock held.
    void conectar();
    void liberarContexto();
    void liberarSubida(Muestra& m);
    void programarReintento();
    void alCambiarContexto();
    void contextoPerdido();
    void subir(Muestra& m);
    void alCambiarSubida(Muestra& m);
    void alPoderEscribir(Muestra& m, std::size_t bytes);
    void alPedir();
    void sonar(const Muestra& m);
    void revisarPreparada();

    friend struct LlamadasConfirmacion;
    pa_threaded_mainloop* bucle_ = nullptr;
    pa_context* contexto_ = nullptr;
    pa_time_event* reintento_ = nullptr;
    pa_io_event* vigia_ = nullptr;
    std::array<Muestra, 2> muestras_; // accepted, ignored
    // The requests: the caller writes, the loop reads.
    int tubo_[2] = {-1, -1};
    std::atomic<bool> preparada_{false};
    // Standard error hears of a missing server once, and of its arrival once
    // after that.
    bool dichoSinServidor_ = false;
    bool dichaLlegada_ = false;
};

} // namespace quimbal::sonido
