#pragma once
// Messages for the user while the program's window is out of sight: the
// desktop's notifications, or where no notification server answers, a
// balloon on the program's icon in the notification area. Nothing here waits
// for the user: a message shows and goes by itself.
#include <QObject>
#include <QString>
#include <memory>

namespace quimbal {

class Bandeja;

class Notificaciones : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Shows the message without holding the caller up; where nothing can
    // show it, it is dropped (the caller writes it on standard error too).
    virtual void notificar(const QString& titulo, const QString& texto) = 0;
};

// The desktop's notification server on the session bus, with the icon's
// balloon (through `bandeja`) where none answers.
std::unique_ptr<Notificaciones> CrearNotificaciones(Bandeja& bandeja);

} // namespace quimbal
