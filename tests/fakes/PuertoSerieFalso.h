#pragma once
// A serial port for tests: the state of CTS and DSR is scripted per read, any
// operation can be made to fail, and every call is recorded in order
// ("cerrar", "abrir 3", "RTS", "DTR", "CTS", "DSR").
#include "platform/PuertoSerie.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace quimbal {

class PuertoSerieFalso : public PuertoSerie {
public:
    bool abrir(int n) override {
        anotar(QStringLiteral("abrir %1").arg(n));
        fallo_ = FalloPuerto::Ninguno;
        intentado_ = n;
        if (estaAbierto)
            return false;
        if (!puertosExistentes.contains(n)) {
            fallo_ = falloAlAbrir;
            return false;
        }
        numero = n;
        estaAbierto = true;
        ++aperturas;
        return true;
    }
    void cerrar() override {
        anotar(QStringLiteral("cerrar"));
        estaAbierto = false;
    }
    bool abierto() const override { return estaAbierto; }
    FalloPuerto fallo() const override { return fallo_; }
    QString dispositivo() const override {
        return QStringLiteral("/dev/ttyFALSO%1").arg(intentado_);
    }
    std::optional<bool> leerCTS() override { return leer("CTS", cts, lecturasCTS); }
    std::optional<bool> leerDSR() override { return leer("DSR", dsr, lecturasDSR); }
    bool activarRTS() override { return activar("RTS", falloRTS); }
    bool activarDTR() override { return activar("DTR", falloDTR); }

    // Line states: a read takes the next scripted value if any, else the
    // steady value.
    bool cts = false;
    bool dsr = false;
    QList<bool> lecturasCTS;
    QList<bool> lecturasDSR;
    bool falloLectura = false;
    bool falloRTS = false;
    bool falloDTR = false;
    QList<int> puertosExistentes{1, 2, 3, 4};
    // Why opening a port not in puertosExistentes fails.
    FalloPuerto falloAlAbrir = FalloPuerto::NoExiste;
    int numero = 0;
    bool estaAbierto = false;
    int aperturas = 0;
    QStringList llamadas;
    // Runs at each read, before it answers.
    std::function<void()> alLeer;
    // Runs at each open or close, after it is recorded.
    std::function<void(const QString&)> alAbrirOCerrar;

private:
    FalloPuerto fallo_ = FalloPuerto::Ninguno;
    int intentado_ = 0;
    void anotar(const QString& que) {
        llamadas << que;
        if (alAbrirOCerrar)
            alAbrirOCerrar(que);
    }
    std::optional<bool> leer(const char* nombre, bool estable, QList<bool>& guion) {
        llamadas << QString::fromLatin1(nombre);
        if (alLeer)
            alLeer();
        if (!estaAbierto || falloLectura)
            return std::nullopt;
        return guion.isEmpty() ? estable : guion.takeFirst();
    }
    bool activar(const char* nombre, bool falla) {
        llamadas << QString::fromLatin1(nombre);
        return estaAbierto && !falla;
    }
};

} // namespace quimbal
