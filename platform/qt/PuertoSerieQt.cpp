#include "platform/qt/PuertoSerieQt.h"

#include <cerrno>

namespace quimbal {

std::unique_ptr<PuertoSerie> CrearPuertoSerie(const QString& carpeta) {
    return std::make_unique<PuertoSerieQt>(carpeta);
}

PuertoSerieQt::PuertoSerieQt(QString carpeta) : carpeta_(std::move(carpeta)) {
    puerto_.setFlowControl(QSerialPort::NoFlowControl);
    // Nothing is ever read: keep whatever a device might send from piling up.
    puerto_.setReadBufferSize(64);
}

PuertoSerieQt::~PuertoSerieQt() {
    cerrar();
}

void PuertoSerieQt::cerrar() {
    pulsoCTS_.olvidar();
    pulsoDSR_.olvidar();
    espera_.detener();
    if (puerto_.isOpen())
        puerto_.close();
    puerto_.clearError();
}

bool PuertoSerieQt::abrir(int numero) {
    if (puerto_.isOpen())
        return false;
    pulsoCTS_.olvidar();
    pulsoDSR_.olvidar();
    dispositivo_ = DispositivoDePuerto(numero, carpeta_);
    fallo_ = FalloPuerto::NoExiste;
    if (dispositivo_.isEmpty())
        return false;
    puerto_.clearError();
    puerto_.setPortName(dispositivo_);
    puerto_.setFlowControl(QSerialPort::NoFlowControl);
    errno = 0;
    if (!puerto_.open(QIODevice::ReadWrite)) {
        // The system's own reason, read before anything else can change it:
        // the port reports a refused device and a busy one alike.
        const int e = errno;
        switch (puerto_.error()) {
        case QSerialPort::DeviceNotFoundError:
            fallo_ = FalloPuerto::NoExiste;
            break;
        case QSerialPort::PermissionError:
            fallo_ = (e == EACCES || e == EPERM) ? FalloPuerto::SinPermiso : FalloPuerto::Ocupado;
            break;
        default:
            fallo_ = (e == ENOENT || e == ENODEV || e == ENXIO) ? FalloPuerto::NoExiste
                     : e == EBUSY                               ? FalloPuerto::Ocupado
                                                                : FalloPuerto::Otro;
            break;
        }
        puerto_.clearError();
        return false;
    }
    fallo_ = FalloPuerto::Ninguno;
    // The kernel raises both lines on open on most systems, but not all of
    // them and not after every driver: the switches are fed by them.
    const bool rts = puerto_.setRequestToSend(true);
    const bool dtr = puerto_.setDataTerminalReady(true);
    if (!rts || !dtr) {
        puerto_.close();
        puerto_.clearError();
        return false;
    }
    // A change is handed to the user-interface thread; dropped if the port
    // object is gone by then.
    espera_.iniciar(puerto_.handle(), [this] {
        QMetaObject::invokeMethod(
            &contexto_,
            [this] {
                if (alCambiarLineas && puerto_.isOpen())
                    alCambiarLineas();
            },
            Qt::QueuedConnection);
    });
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

std::optional<bool> PuertoSerieQt::leerCTS() {
    return leer(QSerialPort::ClearToSendSignal);
}

std::optional<bool> PuertoSerieQt::leerDSR() {
    return leer(QSerialPort::DataSetReadySignal);
}

bool PuertoSerieQt::activarRTS() {
    if (!puerto_.isOpen())
        return false;
    // An error stays pending for the next read, which reports it.
    return puerto_.setRequestToSend(true) && puerto_.error() == QSerialPort::NoError;
}

bool PuertoSerieQt::activarDTR() {
    if (!puerto_.isOpen())
        return false;
    return puerto_.setDataTerminalReady(true) && puerto_.error() == QSerialPort::NoError;
}

} // namespace quimbal
