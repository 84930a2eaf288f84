#pragma once
// A serial port for tests: the state of CTS and DSR is scripted per read, any
// operation can be made to fail, and every call that changes the port is
// recorded in order ("cerrar", "numero 3", "abrir", "RTS", "DTR", "CTS", "DSR").
#include "platform/PuertoSerie.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace quimbal {

class PuertoSerieFalso : public PuertoSerie {
public:
    bool setCommPort(std::int16_t numero) override;
    std::int16_t CommPort() const override { return numero; }
    bool setPortOpen(bool abrir) override;
    bool PortOpen() const override { return abierto; }
    std::optional<bool> CTSHolding() override;
    std::optional<bool> DSRHolding() override;
    bool setRTSEnable(bool activo) override;
    bool setDTREnable(bool activo) override;

    // Line states: a read takes the next scripted value if any, else the
    // steady value below.
    bool cts = false;
    bool dsr = false;
    QList<bool> lecturasCTS;
    QList<bool> lecturasDSR;

    // Failures to inject. Ports that "exist" for opening.
    bool falloCerrar = false;
    bool falloLectura = false;
    bool falloRTS = false;
    bool falloDTR = false;
    QList<int> puertosExistentes{1, 2, 3, 4};
    // Fails the n-th read from now (1 = the next one), once.
    int falloEnLectura = 0;

    std::int16_t numero = 1;
    bool abierto = false;
    bool rts = false;
    bool dtr = false;
    int aperturas = 0;
    int lecturas = 0;
    QStringList llamadas;
    // Runs at each read, before it answers (to simulate a pump inside it).
    std::function<void()> alLeer;

private:
    std::optional<bool> leer(const char* nombre, bool estable, QList<bool>& guion);
};

} // namespace quimbal
