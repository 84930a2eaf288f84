#include "platform/qt/BandejaQt.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace quimbal {

BandejaQt::~BandejaQt() {
    quitar();
}

bool BandejaQt::hayVigilanteSni() {
    const QDBusConnection sesion = QDBusConnection::sessionBus();
    return sesion.isConnected() && sesion.interface() &&
           sesion.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

bool BandejaQt::hayAreaNotificacion() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void BandejaQt::cambiarTip(const QString& tip) {
    if (icono_)
        icono_->setToolTip(tip);
}

bool BandejaQt::mensaje(const QString& titulo, const QString& texto) {
    if (!icono_ || !hayAreaNotificacion() || !QSystemTrayIcon::supportsMessages())
        return false;
    // Long enough to be read by someone who was not looking at the screen.
    icono_->showMessage(titulo, texto, QSystemTrayIcon::Warning, 20000);
    return true;
}

void BandejaQt::mostrar(QWidget& ventana, const QIcon& icono, const QString& tip) {
    quitar();
    icono_ = new QSystemTrayIcon(icono, this);
    icono_->setToolTip(tip);
    connect(icono_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        switch (r) {
        case QSystemTrayIcon::Trigger:
            emit pulsada(BotonBandeja::Izquierdo);
            break;
        case QSystemTrayIcon::DoubleClick:
            emit pulsada(BotonBandeja::DobleIzquierdo);
            break;
        case QSystemTrayIcon::Context:
            emit pulsada(BotonBandeja::Derecho);
            break;
        case QSystemTrayIcon::MiddleClick:
            emit pulsada(BotonBandeja::Medio);
            break;
        case QSystemTrayIcon::Unknown:
            break;
        }
    });
    if (hayVigilanteSni()) {
        menu_ = new QMenu;
        connect(menu_->addAction(QStringLiteral("Mostrar Quimbal")), &QAction::triggered, this,
                [this] { emit pulsada(BotonBandeja::Izquierdo); });
        icono_->setContextMenu(menu_);
    }
    ventana_ = &ventana;
    ventana.installEventFilter(this);
    icono_->show();
}

void BandejaQt::quitar() {
    if (ventana_)
        ventana_->removeEventFilter(this);
    ventana_ = nullptr;
    if (icono_) {
        icono_->hide();
        delete icono_;
        icono_ = nullptr;
    }
    delete menu_;
    menu_ = nullptr;
}

bool BandejaQt::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::WindowStateChange && objeto == ventana_) {
        const auto* e = static_cast<QWindowStateChangeEvent*>(evento);
        const bool restaurada = (e->oldState() & Qt::WindowMinimized) &&
                                !(ventana_->windowState() & Qt::WindowMinimized);
        // Reported once the state change is over, as the icon's own presses
        // are: the press shows the window and changes its state again.
        if (restaurada && !hayAreaNotificacion())
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (icono_)
                        emit pulsada(BotonBandeja::Izquierdo);
                },
                Qt::QueuedConnection);
    }
    return Bandeja::eventFilter(objeto, evento);
}

} // namespace quimbal
