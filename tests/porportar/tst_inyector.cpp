// Choosing the injection backend, and SendKeys over whatever is installed.
#include "platform/Inyector.h"
#include "platform/Servicios.h"
#include "tests/fakes/InyectorFalso.h"

#include <QTest>

using namespace quimbal;

class TestInyector : public QObject {
    Q_OBJECT
    QByteArray display_, wayland_;

private slots:
    void initTestCase() {
        display_ = qgetenv("DISPLAY");
        wayland_ = qgetenv("WAYLAND_DISPLAY");
    }
    void cleanup() {
        auto restaurar = [](const char* n, const QByteArray& v) {
            if (v.isNull())
                qunsetenv(n);
            else
                qputenv(n, v);
        };
        restaurar("DISPLAY", display_);
        restaurar("WAYLAND_DISPLAY", wayland_);
        servicios().inyector = nullptr;
    }

    // Without X the backend fails every call cleanly; only a Wayland session
    // gets a message for the user.
    void sinPantallaX() {
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        QString aviso;
        std::unique_ptr<Inyector> i = CrearInyector(&aviso);
        QVERIFY(i);
        QVERIFY(aviso.isEmpty());
        QVERIFY(!i->mouse_event(MOUSEEVENTF_LEFTDOWN));
        servicios().inyector = i.get();
        QVERIFY(!SendKeys(QStringLiteral("a")));
        QVERIFY(SendKeys(QString())); // nothing to send is no failure
        QVERIFY(!mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0));

        qputenv("WAYLAND_DISPLAY", "wayland-0");
        i = CrearInyector(&aviso);
        QVERIFY(aviso.contains(QStringLiteral("Wayland")));
        QVERIFY(aviso.contains(QStringLiteral("X11")));
        QVERIFY(!i->enviarTeclas(AnalizarTeclas(QStringLiteral("{ENTER}")).pulsaciones));

        qputenv("DISPLAY", ":9999"); // no such server
        aviso.clear();
        i = CrearInyector(&aviso);
        QVERIFY(i);
        QVERIFY(aviso.isEmpty()); // there is an X display named: not a Wayland-only session
        QVERIFY(!i->mouse_event(MOUSEEVENTF_RIGHTDOWN));
    }

    void sendKeysAnalizaAntesDeInyectar() {
        InyectorDePrueba iny;
        QVERIFY(SendKeys(QStringLiteral("+{F5}a")));
        QVERIFY(!SendKeys(QStringLiteral("a{B")));
        QVERIFY(SendKeys(QString()));
        iny.inyector.fallarTeclas = true;
        QVERIFY(!SendKeys(QStringLiteral("x")));
        QCOMPARE(iny.inyector.registro, QStringList{"teclas:+{F5}a"});
        QCOMPARE(iny.inyector.rechazados, QStringList{"teclas:x"});
        QVERIFY(mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP));
        QCOMPARE(iny.inyector.registro.last(), QStringLiteral("LEFTDOWN|LEFTUP"));
    }
};

QTEST_MAIN(TestInyector)
#include "tst_inyector.moc"
