#pragma once
// The program's icon in the notification area of the desktop.
#include <QObject>

class QIcon;
class QWidget;

namespace quimbal {

// What the user did on the icon. Moves and releases are never reported.
enum class BotonBandeja { Izquierdo, DobleIzquierdo, Derecho, Medio };

class Bandeja : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Shows the icon for the window with its tooltip; the icon stays until
    // quitar(). Where the desktop has no notification area, restoring the
    // window from the task bar is reported as a left press on the icon.
    virtual void mostrar(QWidget& ventana, const QIcon& icono, const QString& tip) = 0;
    virtual void quitar() = 0;
    // Whether the desktop has a notification area that can show the icon.
    virtual bool hayAreaNotificacion() const = 0;
    // The icon's tooltip from now on (while it is shown).
    virtual void cambiarTip(const QString& tip) = 0;
    // A balloon message on the icon that goes by itself; false where there
    // is no icon in a notification area to show it.
    virtual bool mensaje(const QString& titulo, const QString& texto) = 0;

signals:
    void pulsada(quimbal::BotonBandeja boton);
};

} // namespace quimbal
