#pragma once
#include "platform/Notificaciones.h"

namespace quimbal {

// org.freedesktop.Notifications on the session bus, asked without waiting for
// the answer; a call that fails (no session bus, no server, an error) gives
// the icon's balloon instead.
class NotificacionesDBus : public Notificaciones {
    Q_OBJECT
public:
    explicit NotificacionesDBus(Bandeja& bandeja, QObject* padre = nullptr)
        : Notificaciones(padre), bandeja_(bandeja) {}
    void notificar(const QString& titulo, const QString& texto) override;

    // Longest wait for the server's answer before the balloon is shown.
    static constexpr int kEsperaMs = 3000;

private:
    Bandeja& bandeja_;
};

} // namespace quimbal
