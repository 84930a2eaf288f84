#include "platform/qt/PulsosBreves.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace quimbal {

std::optional<ContadoresModem> LeerContadoresModem(QSerialPort& puerto) {
#ifdef Q_OS_LINUX
    const int descriptor = puerto.handle();
    if (descriptor < 0)
        return std::nullopt;
    serial_icounter_struct c{};
    if (::ioctl(descriptor, TIOCGICOUNT, &c) != 0)
        return std::nullopt;
    return ContadoresModem{c.cts, c.dsr};
#else
    Q_UNUSED(puerto);
    return std::nullopt;
#endif
}

bool DetectorPulso::leer(bool nivel, std::optional<long> cambios) {
    // Inactive at the last read and now, yet the line changed at least twice
    // in between: a whole press fell between the two reads.
    const bool pulso =
        !nivel && cambios && previa_ && !previa_->nivel && *cambios - previa_->cambios >= 2;
    if (cambios)
        previa_ = Previa{nivel, *cambios};
    else
        previa_.reset();
    return nivel || pulso;
}

} // namespace quimbal
