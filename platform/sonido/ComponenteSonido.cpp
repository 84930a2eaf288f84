#include "platform/sonido/ComponenteSonido.h"

#include "platform/sonido/CapturaSonido.h"

#include <QCoreApplication>
#include <QMediaDevices>
#include <QSemaphore>
#include <QThread>
#include <cstdio>

namespace quimbal::sonido {

namespace {
// How long the user-interface thread waits for the audio system to answer
// a start or a stop before it gives up on it.
constexpr int kEsperaMs = 4000;

struct Estado {
    QThread* hilo = nullptr;
    CapturaSonido* captura = nullptr;
};
Estado& estado() {
    static Estado e;
    return e;
}

struct Resultado {
    QSemaphore listo;
    std::atomic<std::int16_t> codigo{kSinRespuesta};
};
} // namespace

float NumeroVersio() {
    return kVersion;
}

std::int16_t IniciarCapturaNivellDeSo(HWND hWnd) {
    // A second start replaces the first capture.
    FinalitzarCapturaNivellDeSo();
    if (!hWnd || !QCoreApplication::instance())
        return kSinVentana;
    // The device list belongs to the user-interface thread; only the chosen
    // device goes to the capture thread.
    const QAudioDevice dispositivo = QMediaDevices::defaultAudioInput();
    if (dispositivo.isNull()) {
        std::fprintf(stderr, "Sonido: no hay ninguna entrada de audio\n");
        return kSinDispositivo;
    }
    Estado& e = estado();
    e.hilo = new QThread;
    e.hilo->setObjectName(QStringLiteral("CapturaSonido"));
    e.captura = new CapturaSonido(hWnd, dispositivo);
    e.captura->moveToThread(e.hilo);
    e.hilo->start(QThread::TimeCriticalPriority);

    auto r = std::make_shared<Resultado>();
    CapturaSonido* c = e.captura;
    QMetaObject::invokeMethod(
        c,
        [c, r] {
            r->codigo = c->iniciar();
            r->listo.release();
        },
        Qt::QueuedConnection);
    std::int16_t codigo = r->listo.tryAcquire(1, kEsperaMs) ? r->codigo.load() : kSinRespuesta;
    if (codigo != kIniciada) {
        std::fprintf(stderr, "Sonido: no se pudo iniciar la captura (código %d)\n", codigo);
        FinalitzarCapturaNivellDeSo();
    }
    return codigo;
}

void FinalitzarCapturaNivellDeSo() {
    Estado& e = estado();
    if (!e.hilo)
        return;
    auto hecho = std::make_shared<QSemaphore>();
    CapturaSonido* c = e.captura;
    QMetaObject::invokeMethod(
        c,
        [c, hecho] {
            delete c;
            hecho->release();
        },
        Qt::QueuedConnection);
    const bool detenida = hecho->tryAcquire(1, kEsperaMs);
    e.hilo->quit();
    if (detenida && e.hilo->wait(kEsperaMs)) {
        delete e.hilo;
    } else {
        // The audio system does not answer: leave its thread behind rather
        // than hang the program.
        std::fprintf(stderr, "Sonido: la captura no responde al detenerla\n");
    }
    e = Estado{};
}

LibreriaSonidoQt::~LibreriaSonidoQt() {
    sonido::FinalitzarCapturaNivellDeSo();
}

} // namespace quimbal::sonido
