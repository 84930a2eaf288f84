#pragma once
// The sound level of the default audio input through Qt Multimedia. The
// capture runs on a thread of its own with a small buffer and measures each
// block of 20 ms; when the user-interface thread falls behind, old readings
// are dropped, never queued, and the loudest of the held-back ones rides on
// the next reading so that no blow is lost, unless it is over 200 ms old by
// then. A device that disappears later simply ends the readings.
#include "platform/NivelSonido.h"

#include <atomic>
#include <memory>

class QThread;

namespace quimbal::sonido {

class Captura;

class NivelSonidoQt : public NivelSonido {
    Q_OBJECT
public:
    using NivelSonido::NivelSonido;
    ~NivelSonidoQt() override;
    bool iniciar() override;
    void detener() override;

private:
    friend class Captura;
    QThread* hilo_ = nullptr;
    Captura* captura_ = nullptr;
    // Readings sent to the user-interface thread and not yet delivered.
    std::shared_ptr<std::atomic<int>> enVuelo_ = std::make_shared<std::atomic<int>>(0);
};

} // namespace quimbal::sonido
