// The two ways of getting a sound level from the sound server, side by side,
// on the same threaded main loop the program uses, for bench/captura_pulse.sh:
//   picos    the server computes the peaks: a float mono stream at 50 Hz with
//            peak detection, one sample (the peak of 20 ms) per fragment;
//   bloques  16-bit mono samples at the source's own rate, in fragments of
//            FRAGMENT_MS, measured here in blocks of 20 ms.
// Prints one line per reading on standard output, "<monotonic us> NIVEL <n>",
// like build/sonda_sonido, until killed or SECONDS have passed.
//   captura_pulse picos|bloques [FRAGMENT_MS] [SECONDS]
#include "platform/sonido/MedidaNivel.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>

using namespace quimbal::sonido;

namespace {
long long microsegundos() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

// 16-bit samples cut into blocks, each measured by its peak on the 0..128
// scale (the newest two blocks of a late delivery only).
class Bloques {
public:
    explicit Bloques(unsigned muestras) : bytes_(muestras * 2) {}
    template <class F> void agregar(const char* d, size_t n, F&& nivel) {
        resto_.append(d, n);
        size_t completos = resto_.size() / bytes_;
        const size_t saltar = completos > 2 ? completos - 2 : 0;
        for (size_t b = saltar; b < completos; ++b) {
            int pico = 0;
            for (size_t i = 0; i < bytes_; i += 2) {
                int16_t m;
                std::memcpy(&m, resto_.data() + b * bytes_ + i, 2);
                pico = std::max(pico, m < 0 ? -int(m) : int(m));
            }
            nivel((pico * kNivelMaximo + 16384) / 32768);
        }
        resto_.erase(0, completos * bytes_);
    }

private:
    size_t bytes_;
    std::string resto_;
};

struct Estado {
    pa_threaded_mainloop* bucle = nullptr;
    pa_context* contexto = nullptr;
    pa_stream* flujo = nullptr;
    bool picos = true;
    int fragmentoMs = 20;
    unsigned tasa = 0;
    std::unique_ptr<Bloques> divisor;
};

[[noreturn]] void fallar(const char* que) {
    std::fprintf(stderr, "captura_pulse: %s\n", que);
    std::_Exit(1);
}

void imprimir(int nivel) {
    std::printf("%lld NIVEL %d\n", microsegundos(), nivel);
    std::fflush(stdout);
}

void leer(pa_stream* s, size_t, void* datos) {
    auto* e = static_cast<Estado*>(datos);
    const void* p = nullptr;
    size_t n = 0;
    while (pa_stream_readable_size(s) > 0) {
        if (pa_stream_peek(s, &p, &n) < 0)
            return;
        if (n == 0)
            break;
        if (p) {
            if (e->picos) {
                const auto* f = static_cast<const float*>(p);
                for (size_t i = 0; i < n / sizeof(float); ++i)
                    imprimir(NivelDeMuestraFlotante(f[i]));
            } else {
                e->divisor->agregar(static_cast<const char*>(p), n, imprimir);
            }
        }
        pa_stream_drop(s);
    }
}

void conectarFlujo(Estado& e) {
    pa_sample_spec muestras{};
    muestras.channels = 1;
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
    pa_stream_flags_t flags = PA_STREAM_ADJUST_LATENCY;
    if (e.picos) {
        muestras.format = PA_SAMPLE_FLOAT32NE;
        muestras.rate = 50;
        attr.fragsize = sizeof(float);
        flags = static_cast<pa_stream_flags_t>(flags | PA_STREAM_PEAK_DETECT);
    } else {
        muestras.format = PA_SAMPLE_S16NE;
        muestras.rate = e.tasa;
        attr.fragsize = static_cast<uint32_t>(e.tasa * e.fragmentoMs / 1000 * 2);
        e.divisor = std::make_unique<Bloques>(e.tasa / 50);
    }
    e.flujo = pa_stream_new(e.contexto, "captura_pulse", &muestras, nullptr);
    pa_stream_set_read_callback(e.flujo, leer, &e);
    if (pa_stream_connect_record(e.flujo, nullptr, &attr, flags) < 0)
        fallar("el servidor rechaza el flujo");
}

void fuenteLeida(pa_context*, const pa_source_info* i, int fin, void* datos) {
    auto* e = static_cast<Estado*>(datos);
    if (fin || !i)
        return;
    e->tasa = i->sample_spec.rate;
    conectarFlujo(*e);
}

void servidorLeido(pa_context* c, const pa_server_info* i, void* datos) {
    auto* e = static_cast<Estado*>(datos);
    if (!i || !i->default_source_name)
        fallar("no hay fuente por defecto");
    if (e->picos)
        conectarFlujo(*e);
    else
        pa_operation_unref(
            pa_context_get_source_info_by_name(c, i->default_source_name, fuenteLeida, e));
}

void estadoContexto(pa_context* c, void* datos) {
    auto* e = static_cast<Estado*>(datos);
    switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY:
        pa_operation_unref(pa_context_get_server_info(c, servidorLeido, e));
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        fallar("sin servidor de sonido");
    default:
        break;
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "picos") != 0 && std::strcmp(argv[1], "bloques") != 0)) {
        std::fprintf(stderr, "uso: captura_pulse picos|bloques [FRAGMENTO_MS] [SEGUNDOS]\n");
        return 2;
    }
    Estado e;
    e.picos = std::strcmp(argv[1], "picos") == 0;
    e.fragmentoMs = argc > 2 ? std::atoi(argv[2]) : 20;
    const int segundos = argc > 3 ? std::atoi(argv[3]) : 0;
    e.bucle = pa_threaded_mainloop_new();
    e.contexto = pa_context_new(pa_threaded_mainloop_get_api(e.bucle), "captura_pulse");
    pa_context_set_state_callback(e.contexto, estadoContexto, &e);
    pa_context_connect(e.contexto, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    pa_threaded_mainloop_start(e.bucle);
    // The main thread only waits: every wakeup counted is the capture's.
    if (segundos > 0)
        sleep(static_cast<unsigned>(segundos));
    else
        for (;;)
            pause();
    pa_threaded_mainloop_stop(e.bucle);
    if (e.flujo)
        pa_stream_unref(e.flujo);
    pa_context_unref(e.contexto);
    pa_threaded_mainloop_free(e.bucle);
    return 0;
}
