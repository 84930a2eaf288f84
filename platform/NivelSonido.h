#pragma once
// The sound level of the default audio input, as readings on a 0 to 128
// scale (128 = full scale), one every 20 ms while the capture runs, except in
// quiet: a reading at or below kNivelQuieto is sent only after a louder one,
// so a run of quiet readings is one reading and a quiet room does not wake the
// program fifty times a second.
#include <QObject>
#include <memory>

namespace quimbal {

// Quiet for every threshold the program offers (its lowest step is 12.8).
constexpr int kNivelQuieto = 12;

class NivelSonido : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts the capture, without holding the caller up for long; false when
    // it cannot start (no sound server, no input device). Until detener(),
    // the capture then starts by itself when it can, and a capture that is
    // lost later (the server goes, the input goes) comes back by itself.
    virtual bool iniciar() = 0;
    // Stops it; harmless when it never started or already stopped.
    virtual void detener() = 0;

signals:
    // One reading, delivered on the user-interface thread.
    void nivel(int nivel);
    // The capture runs now (true) or stopped running by itself (false),
    // after iniciar(); delivered on the user-interface thread.
    void enMarcha(bool capturando);
};

// The sound-level backend of this system.
std::unique_ptr<NivelSonido> CrearNivelSonido();

} // namespace quimbal
