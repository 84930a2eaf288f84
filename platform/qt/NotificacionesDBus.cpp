#include "platform/qt/NotificacionesDBus.h"

#include "platform/Bandeja.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace quimbal {

std::unique_ptr<Notificaciones> CrearNotificaciones(Bandeja& bandeja) {
    return std::make_unique<NotificacionesDBus>(bandeja);
}

void NotificacionesDBus::notificar(const QString& titulo, const QString& texto) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        bandeja_.mensaje(titulo, texto);
        return;
    }
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Normal urgency: a problem to see, not an alarm; the desktop keeps it
    // for its usual time.
    const QVariantMap pistas{
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))},
        {QStringLiteral("desktop-entry"), QStringLiteral("org.quimbal.quimbal")}};
    m << QStringLiteral("Quimbal") << uint(0) << QStringLiteral("quimbal") << titulo << texto
      << QStringList() << pistas << int(-1);
    auto* espera = new QDBusPendingCallWatcher(bus.asyncCall(m, kEsperaMs), this);
    connect(espera, &QDBusPendingCallWatcher::finished, this, [this, espera, titulo, texto] {
        espera->deleteLater();
        if (espera->isError())
            bandeja_.mensaje(titulo, texto);
    });
}

} // namespace quimbal
