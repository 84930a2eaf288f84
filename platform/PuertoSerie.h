#pragma once
// The serial port that the two switches are wired to. Only its modem lines are
// used: switch 1 closes CTS, switch 2 closes DSR, and the program keeps RTS and
// DTR active to feed them. No data is ever sent or received. Each operation
// reports its failure to the caller, which decides whether to skip it.
#include <QString>
#include <memory>
#include <functional>
#include <optional>

namespace quimbal {

// Why a port could not be opened.
enum class FalloPuerto {
    Ninguno,
    SinPermiso, // the user may not open the device
    NoExiste,   // no such device (an adapter unplugged, a wrong number)
    Ocupado,    // another program holds it
    Otro,
};

class PuertoSerie {
public:
    virtual ~PuertoSerie() = default;

    // Opens port `numero` (COM1 = 1) and raises RTS and DTR; false when it is
    // missing, in use or already open.
    virtual bool abrir(int numero) = 0;
    // Closing a closed port does nothing.
    virtual void cerrar() = 0;
    virtual bool abierto() const = 0;
    // Why the last abrir() failed (Ninguno after a success), and the device
    // it tried.
    virtual FalloPuerto fallo() const = 0;
    virtual QString dispositivo() const = 0;

    // State of an input line, true = active. Empty when it cannot be read: the
    // port is closed, or the port met an error (unplugged device) since the
    // last read.
    virtual std::optional<bool> leerCTS() = 0;
    virtual std::optional<bool> leerDSR() = 0;

    // Keeps an output line active. False when the port is closed or the line
    // cannot be set.
    virtual bool activarRTS() = 0;
    virtual bool activarDTR() = 0;

    // Where the system reports changes of CTS or DSR as they happen, called
    // on the user-interface thread after each one, so that the poll reads
    // the lines at once instead of at its next tick. Never called where the
    // system has no such report: the poll alone finds the changes there.
    std::function<void()> alCambiarLineas;
};

// The serial port backend of this system; port numbers stand for devices as
// the entries of `carpeta` say (DispositivoDePuerto).
std::unique_ptr<PuertoSerie> CrearPuertoSerie(const QString& carpeta);

// The device a port number stands for. On Linux COM n is /dev/ttyS{n-1},
// unless the folder holds an entry named "com1" .. "com4" (usually a symbolic
// link to a device such as /dev/ttyUSB0 or a /dev/serial/by-id/ path), which
// then stands for that port; a link is followed to the device it names. On
// Windows COM n is "COMn". Empty for a number below 1.
QString DispositivoDePuerto(int numero, const QString& carpeta);

} // namespace quimbal
