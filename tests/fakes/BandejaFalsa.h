#pragma once
// Notification area for tests: records every call ("mostrar Tocabrix",
// "quitar", "mensaje <title>: <text>"; tooltip changes only change `tip`), tells whether a
// notification area exists as the test says, and lets the test press on the icon.
#include "platform/Bandeja.h"

#include <QIcon>
#include <QStringList>
#include <functional>

namespace quimbal {

class BandejaFalsa : public Bandeja {
    Q_OBJECT
public:
    void mostrar(QWidget&, const QIcon& icono, const QString& tip) override {
        visible = true;
        this->tip = tip;
        conIcono = !icono.isNull();
        anotar(QStringLiteral("mostrar ") + tip);
    }
    void quitar() override {
        visible = false;
        anotar(QStringLiteral("quitar"));
    }
    bool hayAreaNotificacion() const override { return hayArea; }
    void cambiarTip(const QString& t) override { tip = t; }
    bool mensaje(const QString& titulo, const QString& texto) override {
        if (!visible || !hayArea)
            return false;
        anotar(QStringLiteral("mensaje ") + titulo + QStringLiteral(": ") + texto);
        return true;
    }

    // A press on the icon; false (and nothing happens) while it is not shown.
    bool pulsar(BotonBandeja boton) {
        if (!visible)
            return false;
        emit pulsada(boton);
        return true;
    }

    QStringList llamadas;
    bool visible = false;
    bool conIcono = false;
    QString tip;
    bool hayArea = true;
    // Called on every call, after it is recorded.
    std::function<void(const QString&)> registro;

private:
    void anotar(const QString& que) {
        llamadas << que;
        if (registro)
            registro(que);
    }
};

} // namespace quimbal
