#pragma once
// Desktop notifications for tests: each one recorded as "<title>: <text>".
#include "platform/Notificaciones.h"

#include <QStringList>

namespace quimbal {

class NotificacionesFalsas : public Notificaciones {
    Q_OBJECT
public:
    void notificar(const QString& titulo, const QString& texto) override {
        mostradas << titulo + QStringLiteral(": ") + texto;
    }
    QStringList mostradas;
};

} // namespace quimbal
