// Choosing the injection backend where neither the kernel device nor an X
// display can be used: every call fails cleanly, and only a Wayland session
// tells the user (with the fix for the device when the device is missing).
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
    void init() { qputenv("QUIMBAL_UINPUT", "/nonexistent/uinput"); }
    void cleanup() {
        qunsetenv("QUIMBAL_UINPUT");
        fijar("DISPLAY", display_);
        fijar("WAYLAND_DISPLAY", wayland_);
    }

    void sinPantallaX_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("uinput");
        QTest::addColumn<QString>("aviso");
        const QString regla = QStringLiteral("70-quimbal-uinput.rules");
        QTest::newRow("ninguna pantalla") << QByteArray() << QByteArray() << QByteArray() << "";
        QTest::newRow("Wayland sin uinput")
            << QByteArray() << QByteArray("wayland-0") << QByteArray() << regla;
        // A file that is no uinput device: opened, but no device is made.
        QTest::newRow("Wayland, uinput que no lo es")
            << QByteArray() << QByteArray("wayland-0") << QByteArray("/dev/null") << regla;
        QTest::newRow("Wayland, X que no responde")
            << QByteArray(":9999") << QByteArray("wayland-0") << QByteArray() << regla;
        QTest::newRow("X que no responde")
            << QByteArray(":9999") << QByteArray() << QByteArray() << "";
    }
    void sinPantallaX() {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, uinput);
        QFETCH(QString, aviso);
        fijar("DISPLAY", display);
        fijar("WAYLAND_DISPLAY", wayland);
        if (!uinput.isEmpty())
            qputenv("QUIMBAL_UINPUT", uinput);
        QString texto;
        const std::unique_ptr<Inyector> i = CrearInyector(texto);
        QVERIFY(i);
        QCOMPARE(texto.isEmpty(), aviso.isEmpty());
        // The fix, and that nothing can be injected meanwhile.
        QVERIFY(texto.contains(aviso));
        if (!aviso.isEmpty())
            QVERIFY(texto.contains(QStringLiteral("no puede emular clics ni teclas")));
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
