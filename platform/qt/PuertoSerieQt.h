#pragma once
// The serial port on QSerialPort: no flow control, no data ever read or
// written; RTS and DTR are raised by the program itself right after opening.
#include "platform/PuertoSerie.h"
#include "platform/qt/PulsosBreves.h"

#include <QSerialPort>

namespace quimbal {

class PuertoSerieQt : public PuertoSerie {
public:
    PuertoSerieQt();
    ~PuertoSerieQt() override;

    bool setCommPort(std::int16_t numero) override;
    std::int16_t CommPort() const override { return numero_; }
    bool setPortOpen(bool abrir) override;
    bool PortOpen() const override { return puerto_.isOpen(); }
    std::optional<bool> CTSHolding() override;
    std::optional<bool> DSRHolding() override;
    bool setRTSEnable(bool activo) override;
    bool setDTREnable(bool activo) override;

    // The device the port was opened on (empty while closed).
    QString Dispositivo() const { return puerto_.isOpen() ? puerto_.portName() : QString(); }

private:
    std::optional<bool> leer(QSerialPort::PinoutSignal linea);
    // A pending error of the port (set by any earlier call or by the device
    // going away) is cleared and reported once, so that no read reports an
    // open switch for a line it could not read.
    bool huboError();

    QSerialPort puerto_;
    DetectorPulso pulsoCTS_;
    DetectorPulso pulsoDSR_;
    std::int16_t numero_ = 1;
};

} // namespace quimbal
