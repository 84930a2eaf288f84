#include "platform/sonido/ConfirmacionPulse.h"

#include "platform/sonido/Reintento.h"
#include "platform/sonido/TonosConfirmacion.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace quimbal::sonido {

namespace {
// Fixed names: a later start replaces the samples of an earlier one instead
// of adding to the server's cache.
constexpr const char* kNombreAceptada = "quimbal-confirmacion-aceptada";
constexpr const char* kNombreIgnorada = "quimbal-confirmacion-ignorada";

void soltar(pa_operation* o) {
    if (o)
        pa_operation_unref(o);
}

pa_sample_spec formato() {
    pa_sample_spec f{};
    f.format = PA_SAMPLE_S16NE;
    f.rate = kMuestrasPorSegundo;
    f.channels = 1;
    return f;
}
} // namespace

// The library's callbacks, on the main loop's thread with its lock held.
struct LlamadasConfirmacion {
    using Muestra = ConfirmacionPulse::Muestra;
    static ConfirmacionPulse* de(void* yo) { return static_cast<ConfirmacionPulse*>(yo); }
    static void contexto(pa_context*, void* yo) { de(yo)->alCambiarContexto(); }
    static void subida(pa_stream*, void* m) {
        auto* muestra = static_cast<Muestra*>(m);
        muestra->duenio->alCambiarSubida(*muestra);
    }
    static void escribir(pa_stream*, size_t bytes, void* m) {
        auto* muestra = static_cast<Muestra*>(m);
        muestra->duenio->alPoderEscribir(*muestra, bytes);
    }
    static void pedido(pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* yo) {
        de(yo)->alPedir();
    }
    static void reintento(pa_mainloop_api* api, pa_time_event* e, const struct timeval*, void* yo) {
        api->time_free(e);
        ConfirmacionPulse* c = de(yo);
        c->reintento_ = nullptr;
        if (!c->contexto_) {
            c->conectar();
            return;
        }
        if (pa_context_get_state(c->contexto_) != PA_CONTEXT_READY)
            return; // being connected: its readiness uploads everything
        for (Muestra& m : c->muestras_)
            if (!m.guardada && !m.subida)
                c->subir(m);
    }
};

ConfirmacionPulse::ConfirmacionPulse() {
    muestras_[0].nombre = kNombreAceptada;
    muestras_[0].datos = TonoAceptada();
    muestras_[1].nombre = kNombreIgnorada;
    muestras_[1].datos = TonoIgnorada();
    for (Muestra& m : muestras_)
        m.duenio = this;

    if (::pipe2(tubo_, O_NONBLOCK | O_CLOEXEC) < 0) {
        tubo_[0] = tubo_[1] = -1;
        std::fprintf(stderr, "Confirmación: no se pudo preparar; no habrá sonidos de "
                             "confirmación\n");
        return;
    }
    bucle_ = pa_threaded_mainloop_new();
    if (bucle_)
        pa_threaded_mainloop_set_name(bucle_, "Confirmacion");
    if (!bucle_ || pa_threaded_mainloop_start(bucle_) < 0) {
        if (bucle_)
            pa_threaded_mainloop_free(bucle_);
        bucle_ = nullptr;
        std::fprintf(stderr, "Confirmación: no se pudo crear su hilo; no habrá sonidos de "
                             "confirmación\n");
        return;
    }
    pa_threaded_mainloop_lock(bucle_);
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(bucle_);
    vigia_ = api->io_new(api, tubo_[0], PA_IO_EVENT_INPUT, LlamadasConfirmacion::pedido, this);
    conectar();
    pa_threaded_mainloop_unlock(bucle_);
}

ConfirmacionPulse::~ConfirmacionPulse() {
    if (bucle_) {
        pa_threaded_mainloop_lock(bucle_);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(bucle_);
        if (vigia_)
            api->io_free(vigia_);
        if (reintento_)
            api->time_free(reintento_);
        liberarContexto();
        pa_threaded_mainloop_unlock(bucle_);
        pa_threaded_mainloop_stop(bucle_);
        pa_threaded_mainloop_free(bucle_);
    }
    for (int fd : tubo_)
        if (fd >= 0)
            ::close(fd);
}

void ConfirmacionPulse::pedir(char que) {
    if (!bucle_)
        return;
    // A full pipe means the loop is far behind: that confirmation would come
    // too late to mean anything, so it is dropped.
    const ssize_t escrito = ::write(tubo_[1], &que, 1);
    static_cast<void>(escrito);
}

void ConfirmacionPulse::alPedir() {
    // Requests that piled up while the loop was busy sound once per kind: the
    // same sound several times at one instant is only louder.
    bool sonidos[2] = {false, false};
    char leidos[64];
    ssize_t n;
    while ((n = ::read(tubo_[0], leidos, sizeof leidos)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            sonidos[leidos[i] == kAceptada ? 0 : 1] = true;
    for (int i = 0; i < 2; ++i)
        if (sonidos[i])
            sonar(muestras_[i]);
}

void ConfirmacionPulse::sonar(const Muestra& m) {
    if (!m.guardada || !contexto_ || pa_context_get_state(contexto_) != PA_CONTEXT_READY)
        return;
    // On the default output, as the server routes this program's sounds.
    soltar(pa_context_play_sample(contexto_, m.nombre, nullptr, PA_VOLUME_NORM, nullptr, nullptr));
}

void ConfirmacionPulse::conectar() {
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_APPLICATION_NAME, "Quimbal");
    pa_proplist_sets(p, PA_PROP_APPLICATION_ICON_NAME, "quimbal");
    contexto_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(bucle_),
                                             "Quimbal (confirmación)", p);
    pa_proplist_free(p);
    if (!contexto_) {
        programarReintento();
        return;
    }
    pa_context_set_state_callback(contexto_, LlamadasConfirmacion::contexto, this);
    // Never a server of our own: sounds must come out where the user hears
    // the rest of the desktop.
    if (pa_context_connect(contexto_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 && contexto_)
        contextoPerdido();
}

void ConfirmacionPulse::liberarSubida(Muestra& m) {
    if (!m.subida)
        return;
    pa_stream_set_state_callback(m.subida, nullptr, nullptr);
    pa_stream_set_write_callback(m.subida, nullptr, nullptr);
    pa_stream_disconnect(m.subida);
    pa_stream_unref(m.subida);
    m.subida = nullptr;
}

void ConfirmacionPulse::liberarContexto() {
    for (Muestra& m : muestras_) {
        liberarSubida(m);
        m.guardada = false;
    }
    preparada_ = false;
    if (!contexto_)
        return;
    pa_context_set_state_callback(contexto_, nullptr, nullptr);
    pa_context_disconnect(contexto_);
    pa_context_unref(contexto_);
    contexto_ = nullptr;
}

void ConfirmacionPulse::programarReintento() {
    if (reintento_)
        return;
    reintento_ = ReintentarEn(bucle_, kReintentoMs, LlamadasConfirmacion::reintento, this);
}

void ConfirmacionPulse::alCambiarContexto() {
    if (!contexto_)
        return;
    switch (pa_context_get_state(contexto_)) {
    case PA_CONTEXT_READY:
        for (Muestra& m : muestras_)
            subir(m);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        contextoPerdido();
        break;
    default:
        break;
    }
}

void ConfirmacionPulse::contextoPerdido() {
    liberarContexto();
    programarReintento();
    if (!dichoSinServidor_) {
        dichoSinServidor_ = true;
        std::fprintf(stderr, "Confirmación: no hay servidor de sonido; los sonidos de "
                             "confirmación sonarán cuando aparezca\n");
    }
}

void ConfirmacionPulse::subir(Muestra& m) {
    liberarSubida(m);
    m.guardada = false;
    m.enviado = 0;
    const pa_sample_spec f = formato();
    m.subida = pa_stream_new(contexto_, m.nombre, &f, nullptr);
    if (!m.subida) {
        programarReintento();
        return;
    }
    pa_stream_set_state_callback(m.subida, LlamadasConfirmacion::subida, &m);
    pa_stream_set_write_callback(m.subida, LlamadasConfirmacion::escribir, &m);
    if (pa_stream_connect_upload(m.subida, m.datos.size() * sizeof(std::int16_t)) < 0) {
        liberarSubida(m);
        programarReintento();
    }
}

void ConfirmacionPulse::alPoderEscribir(Muestra& m, std::size_t bytes) {
    const std::size_t total = m.datos.size() * sizeof(std::int16_t);
    const std::size_t trozo = std::min(bytes, total - m.enviado);
    if (trozo > 0) {
        const char* desde = reinterpret_cast<const char*>(m.datos.data()) + m.enviado;
        if (pa_stream_write(m.subida, desde, trozo, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return; // the stream fails, and its state says so
        m.enviado += trozo;
    }
    if (m.enviado == total) {
        pa_stream_set_write_callback(m.subida, nullptr, nullptr);
        pa_stream_finish_upload(m.subida);
    }
}

void ConfirmacionPulse::alCambiarSubida(Muestra& m) {
    switch (pa_stream_get_state(m.subida)) {
    case PA_STREAM_TERMINATED:
        // The upload ends here once the server has stored the whole sample.
        liberarSubida(m);
        m.guardada = m.enviado == m.datos.size() * sizeof(std::int16_t);
        if (!m.guardada)
            programarReintento();
        revisarPreparada();
        break;
    case PA_STREAM_FAILED:
        // With the context going, its own state follows; otherwise the
        // server refused this sample, and it is asked again in a moment.
        liberarSubida(m);
        programarReintento();
        break;
    default:
        break;
    }
}

void ConfirmacionPulse::revisarPreparada() {
    const bool lista = muestras_[0].guardada && muestras_[1].guardada;
    preparada_ = lista;
    if (lista && dichoSinServidor_ && !dichaLlegada_) {
        dichaLlegada_ = true;
        std::fprintf(stderr, "Confirmación: ya hay servidor de sonido; los sonidos de "
                             "confirmación suenan\n");
    }
}

} // namespace quimbal::sonido

std::unique_ptr<quimbal::Confirmacion> quimbal::CrearConfirmacion() {
    return std::make_unique<sonido::ConfirmacionPulse>();
}
