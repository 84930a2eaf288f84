// The QSerialPort backend, for real, against a pseudo-terminal whose modem
// lines the preload library scripts (run through con_puerto_falso.sh). No
// device of this machine is ever opened: COM1..COM4 are links in a private
// program folder, COM2 to the scripted device, the others to nothing.
#include "input/SondeoSwitch.h"
#include "platform/Controles.h"
#include "platform/Servicios.h"
#include "platform/qt/PuertoSerieQt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <dlfcn.h>

using namespace quimbal;

namespace {
QString ruta;

void escribirEstado(const QString& contenido) {
    const QString tmp = ruta + ".estado.tmp";
    QFile f(tmp);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido.toUtf8());
    f.close();
    QFile::remove(ruta + ".estado");
    QVERIFY(QFile::rename(tmp, ruta + ".estado"));
}

// What the library saw the program do: "clave" -> value.
int linea(const char* clave) {
    QFile f(ruta + ".lineas");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& l : f.readAll().split('\n')) {
        const QList<QByteArray> kv = l.split('=');
        if (kv.size() == 2 && kv[0] == clave)
            return kv[1].toInt();
    }
    return -1;
}
} // namespace

class TstPuertoQt : public QObject {
    Q_OBJECT
    QTemporaryDir carpeta;

private slots:
    void initTestCase() {
        // The library must be in place before any device path is touched.
        using FnRuta = const char* (*)();
        auto f = reinterpret_cast<FnRuta>(dlsym(RTLD_DEFAULT, "quimbal_puerto_falso_ruta"));
        if (!f)
            qFatal("puerto_falso no está precargado: no se toca ningún dispositivo");
        ruta = QString::fromLocal8Bit(f());
        if (ruta.isEmpty() || ruta.startsWith("/dev/") ||
            ruta != qEnvironmentVariable("QUIMBAL_PUERTO_FALSO"))
            qFatal("puerto_falso nombra otra ruta");
        QVERIFY(!QFile::exists(ruta));
        QVERIFY(carpeta.isValid());
        const QString c = carpeta.path();
        QVERIFY(QFile::link(ruta, c + "/com2"));
        for (int n : {1, 3, 4})
            QVERIFY(QFile::link(QFileInfo(ruta).path() + QStringLiteral("/ttyNADA%1").arg(n),
                                c + QStringLiteral("/com%1").arg(n)));
        FijarCarpetaPrograma(c);
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!DispositivoDePuerto(n).startsWith("/dev/"));
        QCOMPARE(DispositivoDePuerto(2), ruta);
    }
    void init() { escribirEstado(QString()); }
    void cleanupTestCase() { FijarCarpetaPrograma(QString()); }

    void abrirLevantaRtsYDtr() {
        PuertoSerieQt p;
        QVERIFY(p.setCommPort(2));
        QVERIFY(p.setPortOpen(true));
        QVERIFY(p.PortOpen());
        QCOMPARE(p.Dispositivo(), ruta);
        QCOMPARE(linea("abierto"), 1);
        QCOMPARE(linea("rts"), 1); // the library starts both low: the program raised them
        QCOMPARE(linea("dtr"), 1);
        QVERIFY(!p.setPortOpen(true)); // already open
        QVERIFY(p.setRTSEnable(false));
        QCOMPARE(linea("rts"), 0);
        QVERIFY(p.setRTSEnable(true));
        QCOMPARE(linea("rts"), 1);
    }

    void ctsEsElUnoYDsrElDos() {
        PuertoSerieQt p;
        p.setCommPort(2);
        QVERIFY(p.setPortOpen(true));
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(false));
        escribirEstado("cts=1\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(true));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(false));
        escribirEstado("dsr=1\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(true));
        // A switch is fed by its output line: with DTR low DSR cannot rise.
        QVERIFY(p.setDTREnable(false));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(false));
    }

    void sondeoVeLaPulsacionEnDosTicks() {
        PuertoSerieQt p;
        QVERIFY(SeleccionarPuerto(&p, 2));
        bool pulsado1 = false, pulsado2 = false;
        int tick = 0, accion1 = -1, accion2 = -1, veces1 = 0;
        const int pulsarEn = 3;
        Temporizador t;
        t.Timer = [&] {
            ++tick;
            if (tick == pulsarEn)
                escribirEstado("cts=1\ndsr=1\n");
            SondearSwitches({&p,
                             nullptr,
                             nullptr,
                             &pulsado1,
                             &pulsado2,
                             [&] {
                                 accion1 = tick;
                                 ++veces1;
                                 return true;
                             },
                             [&] {
                                 accion2 = tick;
                                 return true;
                             },
                             {},
                             {}},
                            false);
        };
        t.setInterval(50);
        t.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(tick >= pulsarEn + 4, 5000);
        t.setEnabled(false);
        QVERIFY(accion1 >= pulsarEn && accion1 <= pulsarEn + 1);
        QVERIFY(accion2 >= pulsarEn && accion2 <= pulsarEn + 1);
        QCOMPARE(veces1, 1);
    }

    void puertoQueFaltaOEstaOcupado() {
        PuertoSerieQt p;
        p.setCommPort(3); // a link to nothing
        QVERIFY(!p.setPortOpen(true));
        QVERIFY(!p.PortOpen());
        QVERIFY(!p.CTSHolding());
        QVERIFY(!p.setRTSEnable(true));
        escribirEstado(QStringLiteral("abrir_errno=%1\n").arg(EBUSY));
        p.setCommPort(2);
        QVERIFY(!p.setPortOpen(true));
        QVERIFY(!p.DSRHolding());
        escribirEstado(QString());
        QVERIFY(p.setPortOpen(true));
        // Held by this program: a second one cannot take it.
        PuertoSerieQt otro;
        otro.setCommPort(2);
        QVERIFY(!otro.setPortOpen(true));
        QVERIFY(p.CTSHolding().has_value());
    }

    void errorHaceFallarLaLecturaSiguiente() {
        PuertoSerieQt p;
        p.setCommPort(2);
        QVERIFY(p.setPortOpen(true));
        escribirEstado(QStringLiteral("cts=1\nioctl_errno=%1\n").arg(EIO));
        QVERIFY(!p.CTSHolding());
        QVERIFY(!p.setRTSEnable(true));
        escribirEstado("cts=1\n");
        // The error left by RTS is reported by the next read, not hidden.
        QVERIFY(!p.CTSHolding());
        QCOMPARE(p.CTSHolding(), std::optional<bool>(true));
    }

    void desenchufadoFalla() {
        PuertoSerieQt p;
        p.setCommPort(2);
        QVERIFY(p.setPortOpen(true));
        escribirEstado("cts=1\ndsr=1\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(true));
        escribirEstado("cts=1\ndsr=1\ndesenchufado=1\n");
        for (int i = 0; i < 5; ++i) {
            QVERIFY(!p.CTSHolding());
            QVERIFY(!p.DSRHolding());
            QCoreApplication::processEvents(); // the hang-up reaches the port
        }
        QVERIFY(!p.setDTREnable(true));
    }

    void pulsoBreveEntreLecturasCuentaUnaVez() {
        PuertoSerieQt p;
        QVERIFY(SeleccionarPuerto(&p, 2));
        escribirEstado("cts=0\ncts_cambios=4\ndsr_cambios=0\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(false));
        // A press and release between two reads: reported once.
        escribirEstado("cts=0\ncts_cambios=6\ndsr_cambios=2\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(true));
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(true));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(false));
        // A press still held and its release: the levels as they are.
        escribirEstado("cts=1\ncts_cambios=7\ndsr_cambios=2\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(true));
        escribirEstado("cts=0\ncts_cambios=8\ndsr_cambios=2\n");
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));

        // Through the poll: one action per brief press, none repeated.
        bool pulsado1 = false, pulsado2 = false;
        int acciones = 0, sueltas = 0;
        auto tick = [&] {
            SondearSwitches({&p,
                             nullptr,
                             nullptr,
                             &pulsado1,
                             &pulsado2,
                             [&] { return ++acciones > 0; },
                             [] { return true; },
                             [&] { ++sueltas; },
                             {}},
                            false);
        };
        tick();
        escribirEstado("cts=0\ncts_cambios=10\ndsr_cambios=2\n");
        tick();
        QCOMPARE(acciones, 1);
        tick();
        tick();
        QCOMPARE(acciones, 1);
        QVERIFY(!pulsado1);
        escribirEstado("cts=0\ncts_cambios=12\ndsr_cambios=2\n");
        tick();
        QCOMPARE(acciones, 2);
    }

    void sinContadoresElPulsoNoSeVe() {
        PuertoSerieQt p;
        QVERIFY(SeleccionarPuerto(&p, 2));
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));
        escribirEstado("cts=0\n"); // the driver keeps no counters
        QCOMPARE(p.CTSHolding(), std::optional<bool>(false));
        QCOMPARE(p.DSRHolding(), std::optional<bool>(false));
    }

    void cerrarYCeroLiberanElPuerto() {
        PuertoSerieQt p;
        QVERIFY(SeleccionarPuerto(&p, 2));
        const int cierres = linea("cierres");
        QVERIFY(!SeleccionarPuerto(&p, 0));
        QCOMPARE(linea("abierto"), 0);
        QCOMPARE(linea("cierres"), cierres + 1);
        QVERIFY(!p.CTSHolding());
        // Released: another port object takes it at once.
        PuertoSerieQt otro;
        QVERIFY(SeleccionarPuerto(&otro, 2));
        QVERIFY(otro.setPortOpen(false));
        QCOMPARE(linea("abierto"), 0);
        // Choosing a port closes the one open before.
        QVERIFY(SeleccionarPuerto(&p, 2));
        QVERIFY(!SeleccionarPuerto(&p, 4));
        QCOMPARE(linea("abierto"), 0);
    }
};

QTEST_MAIN(TstPuertoQt)
#include "tst_puertoqt.moc"
