#include "platform/qt/BandejaQt.h"

#include <QEvent>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace quimbal {

namespace {
std::uint32_t mensajeDeRaton(QSystemTrayIcon::ActivationReason r) {
    switch (r) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONDOWN;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONDOWN;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}
} // namespace

BandejaQt::BandejaQt(QObject* padre) : QObject(padre) {}

BandejaQt::~BandejaQt() {
    for (const Icono& i : std::as_const(iconos_))
        delete i.icono;
}

bool BandejaQt::HayAreaNotificacion() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void BandejaQt::avisar(const Icono& i, std::uint32_t raton) const {
    if (raton != 0 && (i.mensaje != 0) && i.ventana)
        PostMessage(i.ventana.data(), i.mensaje, i.uID, static_cast<LPARAM>(raton));
}

bool BandejaQt::Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos) {
    if (!datos.hWnd)
        return false;
    const auto clave = qMakePair(datos.hWnd, datos.uID);
    if (dwMessage == NIM_ADD) {
        if (iconos_.contains(clave))
            return false;
        Icono i;
        i.icono = new QSystemTrayIcon;
        i.ventana = datos.hWnd;
        i.uID = datos.uID;
        i.mensaje = (datos.uFlags & NIF_MESSAGE) ? datos.uCallbackMessage : 0;
        if (datos.uFlags & NIF_ICON)
            i.icono->setIcon(datos.hIcon);
        if (datos.uFlags & NIF_TIP)
            i.icono->setToolTip(datos.Tip());
        iconos_.insert(clave, i);
        connect(i.icono, &QSystemTrayIcon::activated, this,
                [this, clave](QSystemTrayIcon::ActivationReason r) {
                    const auto it = iconos_.constFind(clave);
                    if (it != iconos_.constEnd())
                        avisar(*it, mensajeDeRaton(r));
                });
        if (QWidget* w = datos.hWnd->widget())
            w->installEventFilter(this);
        i.icono->show();
        return true;
    }
    if (dwMessage == NIM_DELETE) {
        const auto it = iconos_.find(clave);
        if (it == iconos_.end())
            return false;
        if (it->ventana)
            if (QWidget* w = it->ventana->widget())
                w->removeEventFilter(this);
        it->icono->hide();
        delete it->icono;
        iconos_.erase(it);
        return true;
    }
    return false;
}

bool BandejaQt::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::WindowStateChange) {
        auto* w = static_cast<QWidget*>(objeto);
        const auto* e = static_cast<QWindowStateChangeEvent*>(evento);
        const bool restaurada =
            (e->oldState() & Qt::WindowMinimized) && !(w->windowState() & Qt::WindowMinimized);
        if (restaurada && !HayAreaNotificacion()) {
            for (const Icono& i : std::as_const(iconos_))
                if (i.ventana && i.ventana->widget() == w)
                    avisar(i, WM_LBUTTONDOWN);
        }
    }
    return QObject::eventFilter(objeto, evento);
}

} // namespace quimbal
