// A desktop notification server for the end-to-end tests: owns
// org.freedesktop.Notifications on the session bus and prints one line per
// notification to standard output: "NOTIFY <summary> | <body on one line> |
// pid=<sender's process>".
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

class Notificador : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString&, uint, const QString&, const QString& resumen, const QString& cuerpo,
                const QStringList&, const QVariantMap&, int) {
        QString linea = cuerpo;
        linea.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const uint pid = connection().interface()->servicePid(message().service()).value();
        std::printf("NOTIFY %s | %s | pid=%u\n", qPrintable(resumen), qPrintable(linea), pid);
        std::fflush(stdout);
        return ++ultimo_;
    }
    void CloseNotification(uint) {}
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendedor, QString& version, QString& especificacion) {
        vendedor = QStringLiteral("quimbal-pruebas");
        version = QStringLiteral("1");
        especificacion = QStringLiteral("1.2");
        return QStringLiteral("notificador");
    }

private:
    uint ultimo_ = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Notificador notificador;
    if (!bus.isConnected() ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notificador,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "notificador: no se pudo registrar en el bus de sesión\n");
        return 1;
    }
    std::printf("LISTO\n");
    std::fflush(stdout);
    return app.exec();
}

#include "notificador.moc"
