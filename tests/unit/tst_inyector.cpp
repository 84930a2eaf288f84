// Choosing the injection backend where no X display can be used: every call
// fails cleanly, and only a Wayland session without X tells the user.
#include "actions/Procedimientos.h"
#include "platform/Inyector.h"

#include <QTest>

using namespace quimbal;

class TestInyector : public QObject {
    Q_OBJECT
    QByteArray display_, wayland_;

    static void fijar(const char* nombre, const QByteArray& valor) {
        if (valor.isNull())
            qunsetenv(nombre);
        else
            qputenv(nombre, valor);
    }

private slots:
    void initTestCase() {
        display_ = qgetenv("DISPLAY");
        wayland_ = qgetenv("WAYLAND_DISPLAY");
    }
    void cleanup() {
        fijar("DISPLAY", display_);
        fijar("WAYLAND_DISPLAY", wayland_);
    }

    void sinPantallaX_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<bool>("avisa");
        QTest::newRow("ninguna pantalla") << QByteArray() << QByteArray() << false;
        QTest::newRow("solo Wayland") << QByteArray() << QByteArray("wayland-0") << true;
        // An X display is named (not a Wayland-only session), but there is no
        // such server.
        QTest::newRow("X que no responde")
            << QByteArray(":9999") << QByteArray("wayland-0") << false;
    }
    void sinPantallaX() {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, avisa);
        fijar("DISPLAY", display);
        fijar("WAYLAND_DISPLAY", wayland);
        QString aviso;
        const std::unique_ptr<Inyector> i = CrearInyector(aviso);
        QVERIFY(i);
        QCOMPARE(!aviso.isEmpty(), avisa);
        if (avisa) {
            QVERIFY(aviso.contains(QStringLiteral("Wayland")));
            QVERIFY(aviso.contains(QStringLiteral("X11")));
        }
        QVERIFY(!i->boton(BotonRaton::Izquierdo, true));
        QVERIFY(!i->boton(BotonRaton::Derecho, false));
        QVERIFY(!i->teclear(AnalizarTeclas(QStringLiteral("{ENTER}")).pulsaciones));
        QVERIFY(i->teclear({})); // nothing to send is no failure
        // An action's keys fail; a click alone is not reported.
        QVERIFY(!RealizarAccion(Accion::desde(QStringLiteral("Sin establecer"), "a"), *i));
        QVERIFY(RealizarAccion(Accion::desde(QStringLiteral("Click izquierdo"), QString()), *i));
    }
};

QTEST_MAIN(TestInyector)
#include "tst_inyector.moc"
