#pragma once
// The capture itself: lives on the component's thread, owns the audio source
// and posts the readings. Internal to the component.
#include "platform/Ventana.h"
#include "platform/sonido/NivelSonido.h"

#include <QAudioDevice>
#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>

class QAudioSource;
class QIODevice;

namespace quimbal::sonido {

// Readings posted to the window and not yet handled there. Shared with the
// window's thread, which counts each one down as it is handled.
struct EnVuelo {
    std::atomic<int> mensajes{0};
};

// The window the readings go to, forgotten when it is destroyed.
struct Destino {
    std::mutex m;
    HWND hWnd = nullptr;
};

class CapturaSonido : public QObject {
    Q_OBJECT
public:
    // Built on the user-interface thread, then moved to the capture thread.
    CapturaSonido(HWND destino, const QAudioDevice& dispositivo);
    ~CapturaSonido() override;
    // Opens the default input and starts reading; 0 or an error code.
    std::int16_t iniciar();
    void detener();

private:
    void leer();
    void enviar(int nivel);

    std::shared_ptr<Destino> destino_;
    QAudioDevice dispositivo_;
    QAudioSource* fuente_ = nullptr;
    QIODevice* entrada_ = nullptr;
    std::unique_ptr<DivisorBloques> divisor_;
    std::shared_ptr<EnVuelo> enVuelo_ = std::make_shared<EnVuelo>();
    FusionLecturas fusion_{std::chrono::milliseconds(200)};
    bool primera_ = true;
    int tasa_ = 0;
};

} // namespace quimbal::sonido
