#pragma once
// A USB switch box for tests: the devices it lists are set by the test, each
// usar() is recorded, and the test presses its keys, plugs it in and pulls it
// out.
#include "platform/CajaUsb.h"

#include <QList>
#include <chrono>
#include <set>

namespace quimbal {

class CajaUsbFalsa : public CajaUsb {
public:
    QList<DispositivoEntrada> lista;
    // Why a listed box does not open (Ninguno: it opens).
    FalloCaja falloAlAbrir = FalloCaja::Ninguno;
    QList<std::optional<SenaDispositivo>> usos;
    std::set<int> abajo;

    QList<DispositivoEntrada> dispositivos() override { return lista; }
    void usar(const std::optional<SenaDispositivo>& sena) override {
        usos << sena;
        conectada_ = false;
        fallo_ = FalloCaja::Ninguno;
        if (!sena)
            return;
        fallo_ = !Localizar(*sena, lista) ? FalloCaja::NoEsta : falloAlAbrir;
        conectada_ = fallo_ == FalloCaja::Ninguno;
        if (alCambiar)
            alCambiar(conectada_);
    }
    bool conectada() const override { return conectada_; }
    FalloCaja fallo() const override { return fallo_; }
    QString dispositivo() const override { return QStringLiteral("/dev/input/event7"); }
    bool pulsado(int codigo) const override { return abajo.count(codigo) > 0; }

    // A key or button of the box down or up, now.
    void pulsar(int codigo, bool abajoAhora) {
        if (abajoAhora)
            abajo.insert(codigo);
        else
            abajo.erase(codigo);
        const qint64 ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
        if (conectada_ && alPulsar)
            alPulsar(codigo, abajoAhora, ms);
    }
    void conectar(bool si) {
        conectada_ = si;
        fallo_ = si ? FalloCaja::Ninguno : FalloCaja::NoEsta;
        if (alCambiar)
            alCambiar(si);
    }

private:
    bool conectada_ = false;
    FalloCaja fallo_ = FalloCaja::Ninguno;
};

} // namespace quimbal
