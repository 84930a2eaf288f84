#pragma once
// The serial port that the two switches are wired to. Only its modem lines are
// used: switch 1 closes CTS, switch 2 closes DSR, and the program keeps RTS and
// DTR active to feed them. No data is ever sent or received.
//
// The operations are named after the properties of the classic serial
// communications control they stand for (CommPort, PortOpen, CTSHolding,
// DSRHolding, RTSEnable, DTREnable). Each reports its failure to the caller,
// which decides whether to skip it.
#include <QString>
#include <cstdint>
#include <optional>

namespace quimbal {

class PuertoSerie {
public:
    virtual ~PuertoSerie() = default;

    // Port number 1..n for the next open (COM1 = 1); false when out of range.
    virtual bool setCommPort(std::int16_t numero) = 0;
    virtual std::int16_t CommPort() const = 0;

    // true opens the port set with setCommPort (false when it is missing, in
    // use, or already open); false closes it (false only when closing failed,
    // closing a closed port succeeds).
    virtual bool setPortOpen(bool abrir) = 0;
    virtual bool PortOpen() const = 0;

    // State of an input line, true = active. Empty when it cannot be read: the
    // port is closed, or the port met an error (unplugged device) since the
    // last read.
    virtual std::optional<bool> CTSHolding() = 0;
    virtual std::optional<bool> DSRHolding() = 0;

    // Sets an output line; it stays so while the port is open. false when the
    // port is closed or the line cannot be set.
    virtual bool setRTSEnable(bool activo) = 0;
    virtual bool setDTREnable(bool activo) = 0;
};

// The device a port number stands for. On Linux COM n is /dev/ttyS{n-1},
// unless the program's folder holds an entry named "com1" .. "com4" (usually a
// symbolic link to a device such as /dev/ttyUSB0 or a /dev/serial/by-id/ path),
// which then stands for that port; a link is followed to the device it names.
// On Windows COM n is "COMn". Empty for a number below 1.
QString DispositivoDePuerto(int numero);
// The same, looking for the entries in the given folder.
QString DispositivoDePuerto(int numero, const QString& carpeta);

} // namespace quimbal
