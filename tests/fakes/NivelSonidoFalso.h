#pragma once
// Sound level for tests: starts or refuses as the test says, records every
// call, and lets the test deliver readings while the capture runs.
#include "platform/NivelSonido.h"

#include <QStringList>

namespace quimbal {

class NivelSonidoFalso : public NivelSonido {
    Q_OBJECT
public:
    bool iniciar() override {
        llamadas << QStringLiteral("iniciar");
        capturando = arranca;
        return arranca;
    }
    void detener() override {
        llamadas << QStringLiteral("detener");
        capturando = false;
    }
    // One reading, delivered now; false when no capture is running.
    bool enviarNivel(int n) {
        if (!capturando)
            return false;
        emit nivel(n);
        return true;
    }
    bool arranca = true;
    bool capturando = false;
    QStringList llamadas;
};

} // namespace quimbal
