#pragma once
// Presses shorter than the poll. Where the driver counts the changes of each
// modem line (Linux: TIOCGICOUNT), a line that went active and back between
// two reads is reported active once, so that a brief switch (a piezo, a tap)
// still acts. Where the driver keeps no counters, reads report the line as
// it is, as before.
#include <QSerialPort>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace quimbal {

struct ContadoresModem {
    long cts = 0;
    long dsr = 0;
};

// The change counters of an open serial port, or nothing when the driver
// keeps none (or the platform has no such request).
std::optional<ContadoresModem> LeerContadoresModem(QSerialPort& puerto);

// Keeps the driver counting. The driver of built-in ports (8250) counts the
// changes of the modem lines only while their interrupt is on, that is while
// somebody waits for a change (TIOCMIWAIT); with plain reads its counters stay
// at 0. While the port is open a thread of its own waits there for CTS and
// DSR, and does nothing else: the poll reads the counters as before. Where the
// driver has no such wait (a pseudo-terminal) the thread ends at once.
class EsperaModem {
public:
    ~EsperaModem() { detener(); }
    // `alCambiar` runs on the thread after each change the driver reports.
    void iniciar(int descriptor, std::function<void()> alCambiar = {});
    // Returns once the thread has ended: call it before closing the port.
    void detener();

private:
    std::thread hilo_;
    std::atomic<bool> fin_{false};
    std::atomic<bool> terminado_{false};
};

// One line's view of its last read: the level then and the change count then.
class DetectorPulso {
public:
    // Level read now and change count now (empty without counters); gives the
    // level to report.
    bool leer(bool nivel, std::optional<long> cambios);
    void olvidar() { previa_.reset(); }

private:
    struct Previa {
        bool nivel;
        long cambios;
    };
    std::optional<Previa> previa_;
};

} // namespace quimbal
