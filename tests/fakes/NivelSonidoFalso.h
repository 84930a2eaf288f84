#pragma once
// Sound level for tests: starts or refuses as the test says, records every
// call, and lets the test deliver readings while the capture runs.
#include "platform/NivelSonido.h"

#include <QStringList>
#include <functional>

namespace quimbal {

class NivelSonidoFalso : public NivelSonido {
    Q_OBJECT
public:
    bool iniciar() override {
        anotar(QStringLiteral("iniciar"));
        capturando = arranca;
        return arranca;
    }
    void detener() override {
        anotar(QStringLiteral("detener"));
        capturando = false;
    }
    // One reading, delivered now; false when no capture is running.
    bool enviarNivel(int n) {
        if (!capturando)
            return false;
        emit nivel(n);
        return true;
    }
    // The capture starts (or is lost) by itself, as a sound server that
    // comes (or goes) makes it.
    void cambiarEnMarcha(bool enMarchaAhora) {
        capturando = enMarchaAhora;
        emit enMarcha(enMarchaAhora);
    }
    bool arranca = true;
    bool capturando = false;
    QStringList llamadas;
    // Runs at each start or stop, after it is recorded.
    std::function<void(const QString&)> alIniciarODetener;

private:
    void anotar(const QString& que) {
        llamadas << que;
        if (alIniciarODetener)
            alIniciarODetener(que);
    }
};

} // namespace quimbal
