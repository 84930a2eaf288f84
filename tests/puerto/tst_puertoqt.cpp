// The serial port backend of this system (QSerialPort), for real, against a pseudo-terminal whose
// modem lines the preload library scripts (run through con_puerto_falso.sh). No device of this
// machine is ever opened: com1..com4 are links in a private program folder, com2 to the scripted
// device, the others to nothing.
#include "input/Entradas.h"
#include "platform/PuertoSerie.h"
#include "profiles/Perfiles.h"
#include "tests/fakes/InyectorFalso.h"
#include "tests/fakes/NivelSonidoFalso.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <dlfcn.h>
#include <memory>

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

const QStringList kClicIzquierdo = {"LEFTUP", "LEFTDOWN", "LEFTUP"};
const QStringList kClicDerecho = {"RIGHTUP", "RIGHTDOWN", "RIGHTUP"};
} // namespace

class TstPuertoQt : public QObject {
    Q_OBJECT
    QTemporaryDir carpeta;
    QString c; // the program folder

    // The inputs on the real port, acting with the two clicks.
    struct Sondeo {
        Perfiles perfiles;
        NivelSonidoFalso sonido;
        InyectorFalso inyector;
        std::unique_ptr<PuertoSerie> puerto;
        Entradas entradas;
        explicit Sondeo(const QString& carpeta)
            : puerto(CrearPuertoSerie(carpeta)), entradas(perfiles, *puerto, sonido, inyector) {
            entradas.FijarAcciones(Accion::desde(QStringLiteral("Click izquierdo"), QString()),
                                   Accion::desde(QStringLiteral("Click derecho"), QString()));
        }
    };

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
        c = carpeta.path();
        QVERIFY(QFile::link(ruta, c + "/com2"));
        for (int n : {1, 3, 4})
            QVERIFY(QFile::link(QFileInfo(ruta).path() + QStringLiteral("/ttyNADA%1").arg(n),
                                c + QStringLiteral("/com%1").arg(n)));
        for (int n = 1; n <= 4; ++n)
            QVERIFY(!DispositivoDePuerto(n, c).startsWith("/dev/"));
        QCOMPARE(DispositivoDePuerto(2, c), ruta);
    }
    void init() { escribirEstado(QString()); }

    void abrirLevantaRtsYDtr() {
        const auto puerto = CrearPuertoSerie(c);
        PuertoSerie& p = *puerto;
        QVERIFY(p.abrir(2));
        QVERIFY(p.abierto());
        QCOMPARE(linea("abierto"), 1);
        QCOMPARE(linea("rts"), 1); // the library starts both low: the program raised them
        QCOMPARE(linea("dtr"), 1);
        QVERIFY(!p.abrir(2)); // already open
        QVERIFY(p.abierto());
        QVERIFY(p.activarRTS());
        QVERIFY(p.activarDTR());
        QCOMPARE(linea("rts"), 1);
        QCOMPARE(linea("dtr"), 1);
    }

    void ctsEsElUnoYDsrElDos() {
        const auto puerto = CrearPuertoSerie(c);
        PuertoSerie& p = *puerto;
        QVERIFY(p.abrir(2));
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));
        QCOMPARE(p.leerDSR(), std::optional<bool>(false));
        escribirEstado("cts=1\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(true));
        QCOMPARE(p.leerDSR(), std::optional<bool>(false));
        escribirEstado("dsr=1\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));
        QCOMPARE(p.leerDSR(), std::optional<bool>(true));
    }

    // A press seen by the poll acts at once, once, however long it is held.
    void sondeoVeLaPulsacionEnUnTick() {
        Sondeo s(c);
        QVERIFY(s.entradas.SeleccionarPuerto(2));
        const int pulsarEn = 3;
        int accion1 = -1, accion2 = -1;
        for (int tick = 1; tick <= pulsarEn + 4; ++tick) {
            if (tick == pulsarEn)
                escribirEstado("cts=1\ndsr=1\n");
            s.entradas.tmrSwitch_Timer();
            if (accion1 < 0 && s.inyector.registro.contains("LEFTDOWN"))
                accion1 = tick;
            if (accion2 < 0 && s.inyector.registro.contains("RIGHTDOWN"))
                accion2 = tick;
            QTest::qWait(50);
        }
        QCOMPARE(accion1, pulsarEn);
        QCOMPARE(accion2, pulsarEn);
        QCOMPARE(s.inyector.registro, kClicIzquierdo + kClicDerecho);
        QVERIFY(s.entradas.Switch1Pulsado && s.entradas.Switch2Pulsado);
        QCOMPARE(linea("rts"), 1);
        QCOMPARE(linea("dtr"), 1);
    }

    void puertoQueFaltaOEstaOcupado() {
        const auto puerto = CrearPuertoSerie(c);
        PuertoSerie& p = *puerto;
        QVERIFY(!p.abrir(3)); // a link to nothing
        QVERIFY(!p.abierto());
        QVERIFY(!p.leerCTS());
        QVERIFY(!p.activarRTS());
        escribirEstado(QStringLiteral("abrir_errno=%1\n").arg(EBUSY));
        QVERIFY(!p.abrir(2));
        QVERIFY(!p.leerDSR());
        escribirEstado(QString());
        QVERIFY(p.abrir(2));
        // Held by this program: a second one cannot take it.
        const auto otro = CrearPuertoSerie(c);
        QVERIFY(!otro->abrir(2));
        QVERIFY(p.leerCTS().has_value());
    }

    void errorHaceFallarLaLecturaSiguiente() {
        const auto puerto = CrearPuertoSerie(c);
        PuertoSerie& p = *puerto;
        QVERIFY(p.abrir(2));
        escribirEstado(QStringLiteral("cts=1\nioctl_errno=%1\n").arg(EIO));
        QVERIFY(!p.leerCTS());
        QVERIFY(!p.activarRTS());
        escribirEstado("cts=1\n");
        // The error left by RTS is reported by the next read, not hidden.
        QVERIFY(!p.leerCTS());
        QCOMPARE(p.leerCTS(), std::optional<bool>(true));
    }

    void desenchufadoFalla() {
        const auto puerto = CrearPuertoSerie(c);
        PuertoSerie& p = *puerto;
        QVERIFY(p.abrir(2));
        escribirEstado("cts=1\ndsr=1\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(true));
        escribirEstado("cts=1\ndsr=1\ndesenchufado=1\n");
        for (int i = 0; i < 5; ++i) {
            QVERIFY(!p.leerCTS());
            QVERIFY(!p.leerDSR());
            QCoreApplication::processEvents(); // the hang-up reaches the port
        }
        QVERIFY(!p.activarDTR());
    }

    void pulsoBreveEntreLecturasCuentaUnaVez() {
        Sondeo s(c);
        PuertoSerie& p = *s.puerto;
        QVERIFY(s.entradas.SeleccionarPuerto(2));
        escribirEstado("cts=0\ncts_cambios=4\ndsr_cambios=0\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));
        QCOMPARE(p.leerDSR(), std::optional<bool>(false));
        // A press and release between two reads: reported once.
        escribirEstado("cts=0\ncts_cambios=6\ndsr_cambios=2\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(true));
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));
        QCOMPARE(p.leerDSR(), std::optional<bool>(true));
        QCOMPARE(p.leerDSR(), std::optional<bool>(false));
        // A press still held and its release: the levels as they are.
        escribirEstado("cts=1\ncts_cambios=7\ndsr_cambios=2\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(true));
        escribirEstado("cts=0\ncts_cambios=8\ndsr_cambios=2\n");
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));

        // Through the poll: one action per brief press, none repeated.
        s.entradas.tmrSwitch_Timer();
        QVERIFY(s.inyector.registro.isEmpty());
        escribirEstado("cts=0\ncts_cambios=10\ndsr_cambios=2\n");
        s.entradas.tmrSwitch_Timer();
        QCOMPARE(s.inyector.registro, kClicIzquierdo);
        s.entradas.tmrSwitch_Timer();
        s.entradas.tmrSwitch_Timer();
        QCOMPARE(s.inyector.registro, kClicIzquierdo);
        QVERIFY(!s.entradas.Switch1Pulsado);
        escribirEstado("cts=0\ncts_cambios=12\ndsr_cambios=2\n");
        s.entradas.tmrSwitch_Timer();
        QCOMPARE(s.inyector.registro, kClicIzquierdo + kClicIzquierdo);
    }

    void sinContadoresElPulsoNoSeVe() {
        const auto puerto = CrearPuertoSerie(c);
        PuertoSerie& p = *puerto;
        QVERIFY(p.abrir(2));
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));
        escribirEstado("cts=0\n"); // the driver keeps no counters
        QCOMPARE(p.leerCTS(), std::optional<bool>(false));
        QCOMPARE(p.leerDSR(), std::optional<bool>(false));
    }

    void cerrarYCeroLiberanElPuerto() {
        Sondeo s(c);
        QVERIFY(s.entradas.SeleccionarPuerto(2));
        const int cierres = linea("cierres");
        QVERIFY(!s.entradas.SeleccionarPuerto(0));
        QCOMPARE(linea("abierto"), 0);
        QCOMPARE(linea("cierres"), cierres + 1);
        QVERIFY(!s.puerto->leerCTS());
        s.puerto->cerrar(); // closing a closed port does nothing
        QCOMPARE(linea("cierres"), cierres + 1);
        // Released: another port object takes it at once.
        const auto otro = CrearPuertoSerie(c);
        QVERIFY(otro->abrir(2));
        otro->cerrar();
        QCOMPARE(linea("abierto"), 0);
        // Choosing a port closes the one open before.
        QVERIFY(s.entradas.SeleccionarPuerto(2));
        QVERIFY(!s.entradas.SeleccionarPuerto(4));
        QCOMPARE(linea("abierto"), 0);
    }
};

QTEST_MAIN(TstPuertoQt)
#include "tst_puertoqt.moc"
