// The tray icon on a desktop whose tray speaks StatusNotifierItem: on a
// private session bus with a watcher of our own, the icon gets a menu whose
// first entry, "Mostrar Quimbal", is a left press; without a watcher it gets
// none.
#include "platform/qt/BandejaQt.h"

#include <QApplication>
#include <QDBusConnection>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quimbal;

Q_DECLARE_METATYPE(quimbal::BotonBandeja)

class TstBandejaSni : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qRegisterMetaType<BotonBandeja>();
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "sin bus de sesión privado");
    }

    void sinVigilanteNoHayMenu() {
        QWidget w;
        BandejaQt bandeja;
        QVERIFY(!BandejaQt::hayVigilanteSni());
        bandeja.mostrar(w, QIcon(QPixmap(16, 16)), QStringLiteral("Tocabrix"));
        QVERIFY(!bandeja.menu());
    }

    void conVigilanteHayMenu() {
        // The watcher's name is all the icon looks for; the whole exchange
        // with a watcher is the end-to-end test's (e2e_bandeja_sni).
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
        QVERIFY(BandejaQt::hayVigilanteSni());

        QWidget w;
        BandejaQt bandeja;
        QSignalSpy espia(&bandeja, &Bandeja::pulsada);
        bandeja.mostrar(w, QIcon(QPixmap(16, 16)), QStringLiteral("Tocabrix"));
        // Its menu: "Mostrar Quimbal" first, a left press.
        QVERIFY(bandeja.menu());
        const QList<QAction*> acciones = bandeja.menu()->actions();
        QVERIFY(!acciones.isEmpty());
        QCOMPARE(acciones[0]->text(), QStringLiteral("Mostrar Quimbal"));
        acciones[0]->trigger();
        QCOMPARE(espia.size(), 1);
        QCOMPARE(espia[0][0].value<BotonBandeja>(), BotonBandeja::Izquierdo);
        bandeja.quitar();
        QVERIFY(!bandeja.menu());
        bus.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }
};

// A private session bus for this test alone, started before the application.
int main(int argc, char** argv) {
    FILE* bus = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    char direccion[512] = {0}, pid[32] = {0};
    if (!bus || !std::fgets(direccion, sizeof direccion, bus) ||
        !std::fgets(pid, sizeof pid, bus)) {
        std::fprintf(stderr, "tst_bandejasni: no se pudo arrancar dbus-daemon\n");
        return 1;
    }
    pclose(bus);
    direccion[std::strcspn(direccion, "\n")] = 0;
    setenv("DBUS_SESSION_BUS_ADDRESS", direccion, 1);
    int r = 0;
    {
        QApplication app(argc, argv);
        TstBandejaSni t;
        r = QTest::qExec(&t, argc, argv);
    }
    kill(std::atoi(pid), SIGTERM);
    return r;
}

#include "tst_bandejasni.moc"
