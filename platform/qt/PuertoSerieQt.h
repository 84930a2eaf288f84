#pragma once
// The serial port on QSerialPort: no flow control, no data ever read or
// written; RTS and DTR are raised by the program itself right after opening.
#include "platform/PuertoSerie.h"
#include "platform/qt/PulsosBreves.h"

#include <QSerialPort>

namespace quimbal {

class PuertoSerieQt : public PuertoSerie {
public:
    // Port numbers stand for devices as the entries of `carpeta` say
    // (DispositivoDePuerto).
    explicit PuertoSerieQt(QString carpeta);
    ~PuertoSerieQt() override;

    bool abrir(int numero) override;
    void cerrar() override;
    bool abierto() const override { return puerto_.isOpen(); }
    FalloPuerto fallo() const override { return fallo_; }
    QString dispositivo() const override { return dispositivo_; }
    std::optional<bool> leerCTS() override;
    std::optional<bool> leerDSR() override;
    bool activarRTS() override;
    bool activarDTR() override;

private:
    std::optional<bool> leer(QSerialPort::PinoutSignal linea);
    // A pending error of the port (set by any earlier call or by the device
    // going away) is cleared and reported once, so that no read reports an
    // open switch for a line it could not read.
    bool huboError();

    QString carpeta_;
    QSerialPort puerto_;
    DetectorPulso pulsoCTS_;
    DetectorPulso pulsoDSR_;
    EsperaModem espera_;
    // Owns the changes posted by the waiting thread: they go with it.
    QObject contexto_;
    FalloPuerto fallo_ = FalloPuerto::Ninguno;
    QString dispositivo_;
};

} // namespace quimbal
