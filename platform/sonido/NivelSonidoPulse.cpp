#include "platform/sonido/NivelSonidoPulse.h"

#include "platform/sonido/Reintento.h"

#include <pulse/pulseaudio.h>

#include <cstdio>

namespace quimbal::sonido {

namespace {
// One peak of 20 ms per sample, handed over as soon as it is measured.
constexpr unsigned kPicosPorSegundo = 50;
constexpr uint32_t kBytesPico = sizeof(float);

std::string texto(const char* s) {
    return s ? std::string(s) : std::string();
}

// An operation whose answer comes through its callback (if any): it may not
// even have been sent, when the context is going.
void soltar(pa_operation* o) {
    if (o)
        pa_operation_unref(o);
}
} // namespace

// The library's callbacks, on the main loop's thread with its lock held.
struct Llamadas {
    static NivelSonidoPulse* de(void* yo) { return static_cast<NivelSonidoPulse*>(yo); }
    static void contexto(pa_context*, void* yo) { de(yo)->alCambiarContexto(); }
    static void evento(pa_context*, pa_subscription_event_type_t t, uint32_t, void* yo) {
        const auto clase = t & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
        // A new default input, or an input that comes or goes while there is
        // nothing to read from.
        if (clase == PA_SUBSCRIPTION_EVENT_SERVER ||
            (clase == PA_SUBSCRIPTION_EVENT_SOURCE && !de(yo)->flujo_ &&
             (t & PA_SUBSCRIPTION_EVENT_TYPE_MASK) != PA_SUBSCRIPTION_EVENT_CHANGE))
            de(yo)->revisarFuente();
    }
    static void servidor(pa_context*, const pa_server_info* i, void* yo) {
        de(yo)->alLeerServidor(i);
    }
    static void fuente(pa_context*, const pa_source_info* i, int fin, void* yo) {
        de(yo)->alLeerFuente(i, fin);
    }
    static void flujo(pa_stream*, void* yo) { de(yo)->alCambiarFlujo(); }
    static void movido(pa_stream* s, void* yo) {
        de(yo)->fuenteFlujo_ = texto(pa_stream_get_device_name(s));
        de(yo)->avisar("Sonido: la captura sigue a la entrada " + de(yo)->fuenteFlujo_);
    }
    static void leer(pa_stream*, size_t, void* yo) { de(yo)->alPoderLeer(); }
    static void reintento(pa_mainloop_api* api, pa_time_event* e, const struct timeval*, void* yo) {
        api->time_free(e);
        NivelSonidoPulse* n = de(yo);
        n->reintento_ = nullptr;
        if (!n->contexto_)
            n->conectar();
        else if (!n->flujo_)
            n->revisarFuente();
    }
};

NivelSonidoPulse::~NivelSonidoPulse() {
    detener();
}

bool NivelSonidoPulse::iniciar() {
    // A second start replaces the first capture.
    detener();
    {
        std::lock_guard<std::mutex> l(mInicio_);
        inicio_ = Inicio::Pendiente;
    }
    porDefecto_.clear();
    perdida_ = false;
    huboCaptura_ = false;
    primera_ = true;
    estadoEnviado_ = -1;
    ultimoAviso_.clear();
    lector_.reiniciar();
    quietud_.reiniciar();
    bucle_ = pa_threaded_mainloop_new();
    if (!bucle_) {
        std::fprintf(stderr, "Sonido: no se pudo crear el hilo de la captura\n");
        return false;
    }
    pa_threaded_mainloop_set_name(bucle_, "CapturaSonido");
    if (pa_threaded_mainloop_start(bucle_) < 0) {
        pa_threaded_mainloop_free(bucle_);
        bucle_ = nullptr;
        std::fprintf(stderr, "Sonido: no se pudo crear el hilo de la captura\n");
        return false;
    }
    pa_threaded_mainloop_lock(bucle_);
    conectar();
    pa_threaded_mainloop_unlock(bucle_);

    // The window waits for this answer: a server that is slow to answer is
    // given the benefit of the doubt, and followed from then on.
    std::unique_lock<std::mutex> l(mInicio_);
    if (!cvInicio_.wait_for(l, std::chrono::milliseconds(kEsperaInicioMs),
                            [this] { return inicio_ != Inicio::Pendiente; })) {
        inicio_ = Inicio::Supuesta;
        std::fprintf(stderr, "Sonido: el servidor de sonido tarda en contestar; la captura "
                             "empezará en cuanto lo haga\n");
    }
    return inicio_ != Inicio::Fallida;
}

void NivelSonidoPulse::detener() {
    if (!bucle_)
        return;
    pa_threaded_mainloop_lock(bucle_);
    liberarFlujo();
    liberarContexto();
    if (reintento_) {
        pa_threaded_mainloop_get_api(bucle_)->time_free(reintento_);
        reintento_ = nullptr;
    }
    pa_threaded_mainloop_unlock(bucle_);
    pa_threaded_mainloop_stop(bucle_);
    pa_threaded_mainloop_free(bucle_);
    bucle_ = nullptr;
    // Readings posted before this point are not delivered.
    ++generacion_;
}

void NivelSonidoPulse::decidirInicio(Inicio resultado) {
    {
        std::lock_guard<std::mutex> l(mInicio_);
        if (inicio_ != Inicio::Pendiente)
            return;
        inicio_ = resultado;
    }
    cvInicio_.notify_all();
}

void NivelSonidoPulse::avisar(const std::string& linea) {
    if (linea == ultimoAviso_)
        return;
    ultimoAviso_ = linea;
    std::fprintf(stderr, "%s\n", linea.c_str());
}

void NivelSonidoPulse::conectar() {
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_APPLICATION_NAME, "Quimbal");
    pa_proplist_sets(p, PA_PROP_APPLICATION_ICON_NAME, "quimbal");
    contexto_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(bucle_), "Quimbal", p);
    pa_proplist_free(p);
    if (!contexto_) {
        programarReintento();
        return;
    }
    pa_context_set_state_callback(contexto_, Llamadas::contexto, this);
    pa_context_set_subscribe_callback(contexto_, Llamadas::evento, this);
    // Never start a server of our own: the session's server is the one the
    // microphone belongs to.
    // A server that is not there is usually known at once, through the
    // state callback; a refusal that did not go through it is handled here.
    if (pa_context_connect(contexto_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 && contexto_)
        contextoPerdido();
}

void NivelSonidoPulse::liberarContexto() {
    if (!contexto_)
        return;
    pa_context_set_state_callback(contexto_, nullptr, nullptr);
    pa_context_set_subscribe_callback(contexto_, nullptr, nullptr);
    pa_context_disconnect(contexto_);
    pa_context_unref(contexto_);
    contexto_ = nullptr;
}

void NivelSonidoPulse::liberarFlujo() {
    if (!flujo_)
        return;
    pa_stream_set_state_callback(flujo_, nullptr, nullptr);
    pa_stream_set_read_callback(flujo_, nullptr, nullptr);
    pa_stream_set_moved_callback(flujo_, nullptr, nullptr);
    pa_stream_disconnect(flujo_);
    pa_stream_unref(flujo_);
    flujo_ = nullptr;
    fuenteFlujo_.clear();
    lector_.reiniciar();
}

void NivelSonidoPulse::programarReintento() {
    if (reintento_)
        return;
    const pa_usec_t cuando = pa_rtclock_now() + kReintentoMs * PA_USEC_PER_MSEC;
    reintento_ = contexto_ ? pa_context_rttime_new(contexto_, cuando, Llamadas::reintento, this)
                           : ReintentarEn(bucle_, kReintentoMs, Llamadas::reintento, this);
}

void NivelSonidoPulse::alCambiarContexto() {
    if (!contexto_)
        return;
    switch (pa_context_get_state(contexto_)) {
    case PA_CONTEXT_READY:
        soltar(pa_context_subscribe(contexto_,
                                    static_cast<pa_subscription_mask_t>(
                                        PA_SUBSCRIPTION_MASK_SERVER | PA_SUBSCRIPTION_MASK_SOURCE),
                                    nullptr, nullptr));
        revisarFuente();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        contextoPerdido();
        break;
    default:
        break;
    }
}

void NivelSonidoPulse::contextoPerdido() {
    decidirInicio(Inicio::Fallida);
    liberarFlujo();
    programarReintento(); // while the context is there, on its clock
    liberarContexto();
    porDefecto_.clear();
    enviarEstado(false);
    if (!huboCaptura_) {
        avisar("Sonido: no hay servidor de sonido; la captura empezará cuando aparezca");
    } else {
        perdida_ = true;
        avisar("Sonido: se ha perdido el servidor de sonido; la captura volverá cuando "
               "vuelva él");
    }
}

void NivelSonidoPulse::revisarFuente() {
    if (!contexto_ || pa_context_get_state(contexto_) != PA_CONTEXT_READY)
        return;
    soltar(pa_context_get_server_info(contexto_, Llamadas::servidor, this));
}

void NivelSonidoPulse::alLeerServidor(const pa_server_info* info) {
    const std::string nombre = info ? texto(info->default_source_name) : std::string();
    if (nombre.empty()) {
        porDefecto_.clear();
        sinEntrada("no hay ninguna entrada de audio");
        return;
    }
    if (nombre == porDefecto_ && flujo_)
        return;
    porDefecto_ = nombre;
    // Whether it is a microphone or a sink's monitor, before reading it.
    soltar(pa_context_get_source_info_by_name(contexto_, nombre.c_str(), Llamadas::fuente, this));
}

void NivelSonidoPulse::alLeerFuente(const pa_source_info* info, int fin) {
    if (fin < 0) {
        // It went between the two questions: the server will say what comes
        // next.
        porDefecto_.clear();
        return;
    }
    if (fin > 0 || !info || texto(info->name) != porDefecto_)
        return; // the end of the list, or an answer overtaken by a newer default
    if (info->monitor_of_sink != PA_INVALID_INDEX) {
        sinEntrada("no hay ninguna entrada de audio (solo el monitor de una salida)");
        return;
    }
    // The server may already have moved the capture to the new default, or
    // an earlier answer made it there.
    if (flujo_ && fuenteFlujo_ == porDefecto_)
        return;
    const bool cambio = flujo_ != nullptr;
    liberarFlujo();
    crearFlujo();
    if (cambio)
        avisar("Sonido: la captura sigue a la nueva entrada por defecto " + porDefecto_);
}

void NivelSonidoPulse::sinEntrada(const char* porque) {
    liberarFlujo();
    decidirInicio(Inicio::Fallida);
    perdida_ = huboCaptura_;
    avisar(std::string("Sonido: ") + porque + "; la captura empezará cuando haya una");
}

void NivelSonidoPulse::crearFlujo() {
    pa_sample_spec muestras{};
    muestras.format = PA_SAMPLE_FLOAT32NE;
    muestras.rate = kPicosPorSegundo;
    muestras.channels = 1;
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_MEDIA_NAME, "Nivel de sonido");
    flujo_ = pa_stream_new_with_proplist(contexto_, "Nivel de sonido", &muestras, nullptr, p);
    pa_proplist_free(p);
    if (!flujo_) {
        programarReintento();
        return;
    }
    pa_stream_set_state_callback(flujo_, Llamadas::flujo, this);
    pa_stream_set_read_callback(flujo_, Llamadas::leer, this);
    pa_stream_set_moved_callback(flujo_, Llamadas::movido, this);
    fuenteFlujo_ = porDefecto_;
    pa_buffer_attr attr{};
    // The server's own limit: a reader that falls behind finds the newest
    // peaks waiting, and drops the old ones itself (alPoderLeer).
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
    // One peak per fragment: each is handed over as soon as it is measured.
    // Without this the server's default fragment can last seconds.
    attr.fragsize = kBytesPico;
    // No device named: the default input, which the server may also move the
    // capture away from or back to, and nothing is remembered for the
    // program as a choice of its own.
    const auto flags =
        static_cast<pa_stream_flags_t>(PA_STREAM_PEAK_DETECT | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_record(flujo_, nullptr, &attr, flags) < 0) {
        liberarFlujo();
        programarReintento();
    }
}

void NivelSonidoPulse::alCambiarFlujo() {
    switch (pa_stream_get_state(flujo_)) {
    case PA_STREAM_READY:
        decidirInicio(Inicio::Iniciada);
        huboCaptura_ = true;
        enviarEstado(true);
        fuenteFlujo_ = texto(pa_stream_get_device_name(flujo_));
        // Told when the capture is there again, not when sound next comes:
        // a device may take a moment to deliver its first peak.
        if (perdida_) {
            perdida_ = false;
            avisar("Sonido: la captura ha vuelto (entrada " +
                   texto(pa_stream_get_device_name(flujo_)) + ")");
        }
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        // The input went away and the server had nowhere to move the capture
        // to (or refused it): ask again in a moment; a new default input is
        // taken at once anyway.
        decidirInicio(Inicio::Fallida);
        liberarFlujo();
        porDefecto_.clear();
        perdida_ = huboCaptura_;
        enviarEstado(false);
        avisar("Sonido: la captura se ha interrumpido; volverá cuando haya una entrada de audio");
        programarReintento();
        break;
    default:
        break;
    }
}

void NivelSonidoPulse::alPoderLeer() {
    // Everything waiting is taken at once, so that a late read measures only
    // the newest peaks.
    recibido_.clear();
    while (flujo_ && pa_stream_readable_size(flujo_) > 0) {
        const void* datos = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(flujo_, &datos, &bytes) < 0 || bytes == 0)
            break;
        // A hole (no data, only a length) has no peak.
        if (datos)
            recibido_.append(static_cast<const char*>(datos), bytes);
        pa_stream_drop(flujo_);
    }
    for (int n : lector_.agregar(recibido_.data(), recibido_.size()))
        enviar(n);
}

void NivelSonidoPulse::enviar(int nivel) {
    if (primera_) {
        primera_ = false;
        avisar("Sonido: primera lectura de nivel (picos del servidor, 50 por segundo, entrada " +
               texto(flujo_ ? pa_stream_get_device_name(flujo_) : nullptr) + ")");
    }
    nivel = fusion_.lectura(nivel, enVuelo_.load() < kMaxEnVuelo, FusionLecturas::Reloj::now());
    if (nivel < 0 || !quietud_.enviar(nivel))
        return;
    enVuelo_.fetch_add(1);
    const unsigned generacion = generacion_.load();
    // Dropped with the component if it is destroyed first.
    QMetaObject::invokeMethod(
        this,
        [this, generacion, n = nivel] {
            enVuelo_.fetch_sub(1);
            if (generacion == generacion_.load())
                emit this->nivel(n);
        },
        Qt::QueuedConnection);
}

void NivelSonidoPulse::enviarEstado(bool capturando) {
    // Each retry without a server fails again: only a change is told.
    if (estadoEnviado_ == static_cast<int>(capturando))
        return;
    estadoEnviado_ = static_cast<int>(capturando);
    const unsigned generacion = generacion_.load();
    QMetaObject::invokeMethod(
        this,
        [this, generacion, capturando] {
            if (generacion == generacion_.load())
                emit enMarcha(capturando);
        },
        Qt::QueuedConnection);
}

} // namespace quimbal::sonido

std::unique_ptr<quimbal::NivelSonido> quimbal::CrearNivelSonido() {
    return std::make_unique<sonido::NivelSonidoPulse>();
}
