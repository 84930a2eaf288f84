#pragma once
// Presses shorter than the poll. Where the driver counts the changes of each
// modem line (Linux: TIOCGICOUNT), a line that went active and back between
// two reads is reported active once, so that a brief switch (a piezo, a tap)
// still acts. Where the driver keeps no counters, reads report the line as
// it is, as before.
#include <QSerialPort>
#include <optional>

namespace quimbal {

struct ContadoresModem {
    long cts = 0;
    long dsr = 0;
};

// The change counters of an open serial port, or nothing when the driver
// keeps none (or the platform has no such request).
std::optional<ContadoresModem> LeerContadoresModem(QSerialPort& puerto);

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
