#pragma once
#include "platform/Bandeja.h"

#include <QPointer>

class QMenu;
class QSystemTrayIcon;

namespace quimbal {

// The icon as a QSystemTrayIcon. Qt reports a left press, a left
// double-click, a right press and a middle press; button releases, mouse
// moves and a right double-click are not reported (a right double-click
// arrives as one right press).
//
// Where the desktop has no notification area the window is minimised to the
// task bar instead of hidden; restoring it from there is reported as a left
// press, so that the window comes back the same way.
//
// Trays that speak StatusNotifierItem (a watcher on the session bus: KDE,
// Ubuntu's desktop, XFCE) may open a menu on any click instead of reporting
// it: there the icon has a menu whose first entry, "Mostrar Quimbal", is
// reported as a left press. Trays that report presses get no menu.
class BandejaQt : public Bandeja {
    Q_OBJECT
public:
    using Bandeja::Bandeja;
    ~BandejaQt() override;
    void mostrar(QWidget& ventana, const QIcon& icono, const QString& tip) override;
    void quitar() override;
    bool hayAreaNotificacion() const override;
    void cambiarTip(const QString& tip) override;
    bool mensaje(const QString& titulo, const QString& texto) override;
    // Whether a StatusNotifierItem watcher is on the session bus.
    static bool hayVigilanteSni();
    // The menu the icon offers where the tray opens menus (nullptr elsewhere).
    QMenu* menu() const { return menu_; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QSystemTrayIcon* icono_ = nullptr;
    QMenu* menu_ = nullptr;
    QPointer<QWidget> ventana_;
};

} // namespace quimbal
