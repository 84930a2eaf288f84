#pragma once
#include "platform/Bandeja.h"

#include <QMap>
#include <QObject>
#include <QPointer>

class QSystemTrayIcon;

namespace quimbal {

// Notification-area icons as QSystemTrayIcon. Qt reports a left press, a left
// double-click, a right press and a middle press on the icon; they are posted
// as WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN and WM_MBUTTONDOWN.
// Button releases, mouse moves and a right double-click are not reported by
// Qt (a right double-click arrives as one right press).
//
// Where the desktop has no notification area the window is minimised to the
// task bar instead of hidden; restoring it from there is reported as a left
// press on the icon, so that the window comes back the same way.
class BandejaQt : public QObject, public Bandeja {
    Q_OBJECT
public:
    explicit BandejaQt(QObject* padre = nullptr);
    ~BandejaQt() override;
    bool Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos) override;
    bool HayAreaNotificacion() const override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    struct Icono {
        QSystemTrayIcon* icono = nullptr;
        QPointer<Ventana> ventana;
        WPARAM uID = 0;
        std::uint32_t mensaje = 0;
    };
    void avisar(const Icono& i, std::uint32_t raton) const;
    QMap<QPair<Ventana*, WPARAM>, Icono> iconos_;
};

} // namespace quimbal
