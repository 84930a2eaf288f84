#include "platform/sonido/CapturaSonido.h"

#include "platform/sonido/ComponenteSonido.h"

#include <QAudioSource>
#include <QMediaDevices>
#include <algorithm>
#include <cstdio>

namespace quimbal::sonido {

namespace {
constexpr int kBloquesPorSegundo = 50; // 20 ms a block
// Readings posted and not yet handled by the window; more are merged.
constexpr int kMaxEnVuelo = 2;
// Complete blocks read at once beyond which the older ones are stale.
constexpr int kMaxBloquesPendientes = 2;

QAudioFormat formatoPara(const QAudioDevice& dispositivo) {
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
} // namespace

CapturaSonido::CapturaSonido(HWND destino, const QAudioDevice& dispositivo)
    : destino_(std::make_shared<Destino>()), dispositivo_(dispositivo) {
    destino_->hWnd = destino;
    // The window may go before the capture is stopped: from then on nothing
    // is posted to it.
    if (destino) {
        auto d = destino_;
        QObject::connect(
            destino, &QObject::destroyed, destino,
            [d] {
                std::lock_guard<std::mutex> l(d->m);
                d->hWnd = nullptr;
            },
            Qt::DirectConnection);
    }
}

CapturaSonido::~CapturaSonido() {
    detener();
}

std::int16_t CapturaSonido::iniciar() {
    if (dispositivo_.isNull())
        return kSinDispositivo;
    const QAudioFormat formato = formatoPara(dispositivo_);
    if (!formato.isValid())
        return kNoArranca;
    tasa_ = formato.sampleRate();
    fuente_ = new QAudioSource(dispositivo_, formato, this);
    // The sound server hands the data over in pieces of this size: 10 ms
    // keeps a reading within about 30 ms of the sound.
    fuente_->setBufferSize(formato.bytesForDuration(10000));
    entrada_ = fuente_->start();
    if (!entrada_ || fuente_->error() != QAudio::NoError ||
        fuente_->state() == QAudio::StoppedState) {
        detener();
        return kNoArranca;
    }
    divisor_ = std::make_unique<DivisorBloques>(tasa_ / kBloquesPorSegundo, kMaxBloquesPendientes);
    connect(entrada_, &QIODevice::readyRead, this, &CapturaSonido::leer);
    connect(fuente_, &QAudioSource::stateChanged, this, [this](QAudio::State s) {
        if (s == QAudio::StoppedState && fuente_ && fuente_->error() != QAudio::NoError)
            std::fprintf(stderr, "Sonido: la captura se ha interrumpido (error %d)\n",
                         static_cast<int>(fuente_->error()));
    });
    return kIniciada;
}

void CapturaSonido::detener() {
    if (fuente_) {
        fuente_->disconnect(this);
        fuente_->stop();
        delete fuente_;
    }
    fuente_ = nullptr;
    entrada_ = nullptr;
}

void CapturaSonido::leer() {
    if (!entrada_)
        return;
    const QByteArray datos = entrada_->readAll();
    for (int nivel : divisor_->agregar(datos.constData(), static_cast<std::size_t>(datos.size())))
        enviar(nivel);
}

void CapturaSonido::enviar(int nivel) {
    if (primera_) {
        primera_ = false;
        std::fprintf(stderr, "Sonido: primera lectura de nivel (bloques de %d muestras a %d Hz)\n",
                     divisor_->muestrasPorBloque(), tasa_);
    }
    nivel = fusion_.lectura(nivel, enVuelo_->mensajes.load() < kMaxEnVuelo,
                            FusionLecturas::Reloj::now());
    if (nivel < 0)
        return;
    std::lock_guard<std::mutex> l(destino_->m);
    HWND h = destino_->hWnd;
    if (!h)
        return;
    enVuelo_->mensajes.fetch_add(1);
    PostMessage(h, WM_NIVEL_SONIDO, 0, nivel);
    // Posted after the reading, so it runs once the window has handled it.
    auto c = enVuelo_;
    QMetaObject::invokeMethod(
        h, [c] { c->mensajes.fetch_sub(1); }, Qt::QueuedConnection);
}

} // namespace quimbal::sonido
