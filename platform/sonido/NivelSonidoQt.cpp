#include "platform/sonido/NivelSonidoQt.h"
#include "platform/sonido/MedidaNivel.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QSemaphore>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quimbal::sonido {

int NivelDePico(const std::int16_t* muestras, std::size_t cuantas) {
    int pico = 0;
    for (std::size_t i = 0; i < cuantas; ++i) {
        const int m = muestras[i];
        pico = std::max(pico, m < 0 ? -m : m); // -32768 gives 32768: full scale
    }
    // 32768 maps to 128; round to the nearest step.
    return (pico * kNivelMaximo + 16384) / 32768;
}

DivisorBloques::DivisorBloques(int muestrasPorBloque, int maxPendientes)
    : porBloque_(std::max(1, muestrasPorBloque)), maxPendientes_(std::max(1, maxPendientes)) {}

std::vector<int> DivisorBloques::agregar(const char* datos, std::size_t bytes) {
    std::vector<int> niveles;
    if (datos && bytes)
        resto_.insert(resto_.end(), datos, datos + bytes);
    const std::size_t bytesBloque = static_cast<std::size_t>(porBloque_) * sizeof(std::int16_t);
    std::size_t completos = resto_.size() / bytesBloque;
    std::size_t inicio = 0;
    if (completos > static_cast<std::size_t>(maxPendientes_)) {
        const std::size_t viejos = completos - static_cast<std::size_t>(maxPendientes_);
        descartados_ += static_cast<long long>(viejos);
        inicio = viejos * bytesBloque;
        completos = static_cast<std::size_t>(maxPendientes_);
    }
    std::vector<std::int16_t> bloque(static_cast<std::size_t>(porBloque_));
    for (std::size_t b = 0; b < completos; ++b) {
        std::memcpy(bloque.data(), resto_.data() + inicio + b * bytesBloque, bytesBloque);
        niveles.push_back(NivelDePico(bloque.data(), bloque.size()));
    }
    resto_.erase(resto_.begin(),
                 resto_.begin() + static_cast<std::ptrdiff_t>(inicio + completos * bytesBloque));
    return niveles;
}

int FusionLecturas::lectura(int nivel, bool puedeEnviar, Reloj::time_point ahora) {
    if (retenido_ >= 0 && ahora - desde_ > vigencia_)
        retenido_ = -1;
    if (!puedeEnviar) {
        if (nivel > retenido_) {
            retenido_ = nivel;
            desde_ = ahora;
        }
        return -1;
    }
    const int n = std::max(nivel, retenido_);
    retenido_ = -1;
    return n;
}

// The capture itself: lives on the component's thread and owns the audio
// source.
class Captura : public QObject {
public:
    Captura(NivelSonidoQt& componente, const QAudioDevice& dispositivo)
        : componente_(&componente), enVuelo_(componente.enVuelo_), dispositivo_(dispositivo) {}
    ~Captura() override { detener(); }

    bool iniciar() {
        const QAudioFormat formato = formatoPara(dispositivo_);
        if (!formato.isValid())
            return false;
        tasa_ = formato.sampleRate();
        fuente_ = new QAudioSource(dispositivo_, formato, this);
        // The sound server hands the data over in pieces of this size: 10 ms
        // keeps a reading within about 30 ms of the sound.
        fuente_->setBufferSize(formato.bytesForDuration(10000));
        entrada_ = fuente_->start();
        if (!entrada_ || fuente_->error() != QAudio::NoError ||
            fuente_->state() == QAudio::StoppedState) {
            detener();
            return false;
        }
        divisor_ =
            std::make_unique<DivisorBloques>(tasa_ / kBloquesPorSegundo, kMaxBloquesPendientes);
        connect(entrada_, &QIODevice::readyRead, this, &Captura::leer);
        connect(fuente_, &QAudioSource::stateChanged, this, [this](QAudio::State s) {
            if (s == QAudio::StoppedState && fuente_ && fuente_->error() != QAudio::NoError)
                std::fprintf(stderr, "Sonido: la captura se ha interrumpido (error %d)\n",
                             static_cast<int>(fuente_->error()));
        });
        return true;
    }

    void detener() {
        if (fuente_) {
            fuente_->disconnect(this);
            fuente_->stop();
            delete fuente_;
        }
        fuente_ = nullptr;
        entrada_ = nullptr;
    }

private:
    static constexpr int kBloquesPorSegundo = 50; // 20 ms a block
    // Readings sent and not yet delivered; more are merged.
    static constexpr int kMaxEnVuelo = 2;
    // Complete blocks read at once beyond which the older ones are stale.
    static constexpr int kMaxBloquesPendientes = 2;

    static QAudioFormat formatoPara(const QAudioDevice& dispositivo) {
        QAudioFormat f;
        f.setChannelCount(1);
        f.setSampleFormat(QAudioFormat::Int16);
        const int preferida = dispositivo.preferredFormat().sampleRate();
        for (int tasa : {preferida, 48000, 44100, 16000, 8000}) {
            if (tasa < 8000 || tasa > 192000)
                continue;
            f.setSampleRate(tasa);
            if (dispositivo.isFormatSupported(f))
                return f;
        }
        return QAudioFormat();
    }

    void leer() {
        if (!entrada_)
            return;
        const QByteArray datos = entrada_->readAll();
        for (int nivel :
             divisor_->agregar(datos.constData(), static_cast<std::size_t>(datos.size())))
            enviar(nivel);
    }

    void enviar(int nivel) {
        if (primera_) {
            primera_ = false;
            std::fprintf(stderr,
                         "Sonido: primera lectura de nivel (bloques de %d muestras a %d Hz)\n",
                         divisor_->muestrasPorBloque(), tasa_);
        }
        nivel =
            fusion_.lectura(nivel, enVuelo_->load() < kMaxEnVuelo, FusionLecturas::Reloj::now());
        if (nivel < 0)
            return;
        enVuelo_->fetch_add(1);
        // Runs on the component's thread; dropped if the component is gone.
        NivelSonidoQt* c = componente_;
        auto enVuelo = enVuelo_;
        QMetaObject::invokeMethod(
            c,
            [c, enVuelo, nivel] {
                emit c->nivel(nivel);
                enVuelo->fetch_sub(1);
            },
            Qt::QueuedConnection);
    }

    NivelSonidoQt* componente_;
    std::shared_ptr<std::atomic<int>> enVuelo_;
    QAudioDevice dispositivo_;
    QAudioSource* fuente_ = nullptr;
    QIODevice* entrada_ = nullptr;
    std::unique_ptr<DivisorBloques> divisor_;
    FusionLecturas fusion_{std::chrono::milliseconds(200)};
    bool primera_ = true;
    int tasa_ = 0;
};

namespace {
// How long the user-interface thread waits for the audio system to answer a
// start or a stop before it gives up on it.
constexpr int kEsperaMs = 4000;
} // namespace

NivelSonidoQt::~NivelSonidoQt() {
    detener();
}

bool NivelSonidoQt::iniciar() {
    // A second start replaces the first capture.
    detener();
    // The device list belongs to the user-interface thread; only the chosen
    // device goes to the capture thread.
    const QAudioDevice dispositivo = QMediaDevices::defaultAudioInput();
    if (dispositivo.isNull()) {
        std::fprintf(stderr, "Sonido: no hay ninguna entrada de audio\n");
        return false;
    }
    hilo_ = new QThread;
    hilo_->setObjectName(QStringLiteral("CapturaSonido"));
    captura_ = new Captura(*this, dispositivo);
    captura_->moveToThread(hilo_);
    hilo_->start(QThread::TimeCriticalPriority);

    struct Resultado {
        QSemaphore listo;
        std::atomic<bool> iniciada{false};
    };
    auto r = std::make_shared<Resultado>();
    Captura* c = captura_;
    QMetaObject::invokeMethod(
        c,
        [c, r] {
            r->iniciada = c->iniciar();
            r->listo.release();
        },
        Qt::QueuedConnection);
    const bool iniciada = r->listo.tryAcquire(1, kEsperaMs) && r->iniciada.load();
    if (!iniciada) {
        std::fprintf(stderr, "Sonido: no se pudo iniciar la captura\n");
        detener();
    }
    return iniciada;
}

void NivelSonidoQt::detener() {
    if (!hilo_)
        return;
    auto hecho = std::make_shared<QSemaphore>();
    Captura* c = captura_;
    QMetaObject::invokeMethod(
        c,
        [c, hecho] {
            delete c;
            hecho->release();
        },
        Qt::QueuedConnection);
    const bool detenida = hecho->tryAcquire(1, kEsperaMs);
    hilo_->quit();
    if (detenida && hilo_->wait(kEsperaMs)) {
        delete hilo_;
    } else {
        // The audio system does not answer: leave its thread behind rather
        // than hang the program.
        std::fprintf(stderr, "Sonido: la captura no responde al detenerla\n");
    }
    hilo_ = nullptr;
    captura_ = nullptr;
}

} // namespace quimbal::sonido

std::unique_ptr<quimbal::NivelSonido> quimbal::CrearNivelSonido() {
    return std::make_unique<sonido::NivelSonidoQt>();
}
