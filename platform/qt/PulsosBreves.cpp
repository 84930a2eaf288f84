#include "platform/qt/PulsosBreves.h"

#include <QtGlobal>

#include <chrono>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>
#include <linux/serial.h>
#include <mutex>
#include <pthread.h>
#include <sys/ioctl.h>
#endif

namespace quimbal {

#ifdef Q_OS_LINUX
namespace {

// The signal that ends a wait: its handler does nothing, and without
// SA_RESTART the wait returns EINTR.
int SenalDespertar() {
    return SIGRTMIN + 3;
}

void InstalarDespertar() {
    static std::once_flag hecho;
    std::call_once(hecho, [] {
        struct sigaction accion {};
        accion.sa_handler = [](int) {};
        sigemptyset(&accion.sa_mask);
        sigaction(SenalDespertar(), &accion, nullptr);
    });
}

} // namespace
#endif

void EsperaModem::iniciar(int descriptor, std::function<void()> alCambiar) {
    detener();
#ifdef Q_OS_LINUX
    if (descriptor < 0)
        return;
    InstalarDespertar();
    fin_ = false;
    terminado_ = false;
    hilo_ = std::thread([this, descriptor, alCambiar = std::move(alCambiar)] {
        while (!fin_) {
            if (::ioctl(descriptor, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR) == 0) {
                if (alCambiar && !fin_)
                    alCambiar();
            } else if (errno != EINTR) {
                break; // no such wait here, or the device is gone
            }
        }
        terminado_ = true;
    });
#else
    Q_UNUSED(descriptor);
#endif
}

void EsperaModem::detener() {
    if (!hilo_.joinable())
        return;
    fin_ = true;
#ifdef Q_OS_LINUX
    // A signal that lands just before the thread enters the wait is lost:
    // send it again until the thread is out.
    while (!terminado_) {
        pthread_kill(hilo_.native_handle(), SenalDespertar());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
#endif
    hilo_.join();
}

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
