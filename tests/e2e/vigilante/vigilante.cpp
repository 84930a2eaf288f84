// A StatusNotifierItem watcher for the end-to-end tests: the part of a
// desktop panel that items register with. Owns org.kde.StatusNotifierWatcher
// on the session bus, says a host is registered, and prints one line per
// registered item to standard output: "ITEM <service> <object path>".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <cstdio>

class Vigilante : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hayAnfitrion)
    Q_PROPERTY(int ProtocolVersion READ version)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ elementos)
public:
    bool hayAnfitrion() const { return true; }
    int version() const { return 0; }
    QStringList elementos() const { return registrados_; }

public slots:
    // An item passes either its bus name (the object is then at
    // /StatusNotifierItem) or an object path on the caller's connection.
    void RegisterStatusNotifierItem(const QString& servicio) {
        QString nombre = servicio, ruta = QStringLiteral("/StatusNotifierItem");
        if (servicio.startsWith(QLatin1Char('/'))) {
            nombre = message().service();
            ruta = servicio;
        }
        registrados_ << nombre + ruta;
        std::printf("ITEM %s %s\n", qPrintable(nombre), qPrintable(ruta));
        std::fflush(stdout);
    }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    QStringList registrados_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Vigilante vigilante;
    if (!bus.isConnected() ||
        !bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &vigilante,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "vigilante: no se pudo registrar en el bus de sesión\n");
        return 1;
    }
    std::printf("LISTO\n");
    std::fflush(stdout);
    return app.exec();
}

#include "vigilante.moc"
