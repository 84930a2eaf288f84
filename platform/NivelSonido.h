#pragma once
// The sound level of the default audio input, as readings on a 0 to 128
// scale (128 = full scale), one every 20 ms while the capture runs.
#include <QObject>
#include <memory>

namespace quimbal {

class NivelSonido : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts the capture; false when it cannot start (no input device, no
    // sound server, a device that refuses the format).
    virtual bool iniciar() = 0;
    // Stops it; harmless when it never started or already stopped.
    virtual void detener() = 0;

signals:
    // One reading, delivered on the user-interface thread.
    void nivel(int nivel);
};

// The sound-level backend of this system.
std::unique_ptr<NivelSonido> CrearNivelSonido();

} // namespace quimbal
