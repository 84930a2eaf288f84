#include "platform/qt/PuertoSerieQt.h"

namespace quimbal {

PuertoSerieQt::PuertoSerieQt() {
    puerto_.setFlowControl(QSerialPort::NoFlowControl);
    // Nothing is ever read: keep whatever a device might send from piling up.
    puerto_.setReadBufferSize(64);
}

PuertoSerieQt::~PuertoSerieQt() {
    setPortOpen(false);
}

bool PuertoSerieQt::setCommPort(std::int16_t numero) {
    if (numero < 1)
        return false;
    numero_ = numero;
    return true;
}

bool PuertoSerieQt::setPortOpen(bool abrir) {
    pulsoCTS_.olvidar();
    pulsoDSR_.olvidar();
    if (!abrir) {
        if (puerto_.isOpen())
            puerto_.close();
        puerto_.clearError();
        return true;
    }
    if (puerto_.isOpen())
        return false;
    const QString dispositivo = DispositivoDePuerto(numero_);
    if (dispositivo.isEmpty())
        return false;
    puerto_.clearError();
    puerto_.setPortName(dispositivo);
    puerto_.setFlowControl(QSerialPort::NoFlowControl);
    if (!puerto_.open(QIODevice::ReadWrite)) {
        puerto_.clearError();
        return false;
    }
    // The kernel raises both lines on open on most systems, but not all of
    // them and not after every driver: the switches are fed by them.
    const bool rts = puerto_.setRequestToSend(true);
    const bool dtr = puerto_.setDataTerminalReady(true);
    if (!rts || !dtr) {
        puerto_.close();
        puerto_.clearError();
        return false;
    }
    return true;
}

bool PuertoSerieQt::huboError() {
    if (puerto_.error() == QSerialPort::NoError)
        return false;
    puerto_.clearError();
    return true;
}

std::optional<bool> PuertoSerieQt::leer(QSerialPort::PinoutSignal linea) {
    if (!puerto_.isOpen())
        return std::nullopt;
    if (huboError())
        return std::nullopt;
    const QSerialPort::PinoutSignals lineas = puerto_.pinoutSignals();
    if (huboError())
        return std::nullopt;
    const bool nivel = lineas.testFlag(linea);
    const std::optional<ContadoresModem> c = LeerContadoresModem(puerto_);
    if (linea == QSerialPort::ClearToSendSignal)
        return pulsoCTS_.leer(nivel, c ? std::optional<long>(c->cts) : std::nullopt);
    return pulsoDSR_.leer(nivel, c ? std::optional<long>(c->dsr) : std::nullopt);
}

std::optional<bool> PuertoSerieQt::CTSHolding() {
    return leer(QSerialPort::ClearToSendSignal);
}

std::optional<bool> PuertoSerieQt::DSRHolding() {
    return leer(QSerialPort::DataSetReadySignal);
}

bool PuertoSerieQt::setRTSEnable(bool activo) {
    if (!puerto_.isOpen())
        return false;
    // An error stays pending for the next read, which reports it.
    return puerto_.setRequestToSend(activo) && puerto_.error() == QSerialPort::NoError;
}

bool PuertoSerieQt::setDTREnable(bool activo) {
    if (!puerto_.isOpen())
        return false;
    return puerto_.setDataTerminalReady(activo) && puerto_.error() == QSerialPort::NoError;
}

} // namespace quimbal
