// The confirmation sounds: the samples, a caller never held up, and (where a
// sound server can be started) the sounds heard on its output, before and
// after the server goes away and comes back.
#include "platform/sonido/ConfirmacionPulse.h"
#include "platform/sonido/TonosConfirmacion.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <functional>

using namespace quimbal;
using namespace quimbal::sonido;

namespace {
using Muestras = std::vector<std::int16_t>;
constexpr double kMsPorMuestra = 1000.0 / kMuestrasPorSegundo;

// Sign changes per second over [desde, hasta): twice the pitch of a tone.
double cruces(const Muestras& m, std::size_t desde, std::size_t hasta) {
    int n = 0;
    for (std::size_t i = desde + 1; i < hasta; ++i)
        n += (m[i - 1] < 0) != (m[i] < 0);
    return n * 1000.0 / ((hasta - desde) * kMsPorMuestra);
}
int pico(const Muestras& m, std::size_t desde, std::size_t hasta) {
    int p = 0;
    for (std::size_t i = desde; i < hasta; ++i)
        p = std::max(p, std::abs(int(m[i])));
    return p;
}

// A sound server of its own, with one output "altavoz" that plays nowhere.
struct ServidorPrivado {
    QTemporaryDir carpeta;
    QProcess proceso;
    QString direccion() const { return "unix:" + carpeta.filePath("pulse/native"); }
    bool arrancar() {
        QFile conf(carpeta.filePath("servidor.pa"));
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        conf.write("load-module module-native-protocol-unix auth-anonymous=1\n"
                   "load-module module-null-sink sink_name=altavoz rate=48000 channels=1\n"
                   "set-default-sink altavoz\n");
        conf.close();
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("XDG_RUNTIME_DIR", carpeta.path());
        e.insert("HOME", carpeta.path());
        proceso.setProcessEnvironment(e);
        proceso.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proceso.start("pulseaudio",
                      {"-n", "-F", conf.fileName(), "--daemonize=no", "--exit-idle-time=-1",
                       "--use-pid-file=no", "--disable-shm=yes", "--log-level=error"});
        // Up once its socket is there; a server that ends first cannot run here.
        if (!proceso.waitForStarted(2000))
            return false;
        const QString socket = carpeta.filePath("pulse/native");
        QElapsedTimer t;
        t.start();
        while (proceso.state() == QProcess::Running && !QFile::exists(socket) && t.elapsed() < 5000)
            proceso.waitForFinished(20);
        return proceso.state() == QProcess::Running && QFile::exists(socket);
    }
    void parar() {
        proceso.terminate();
        proceso.waitForFinished(3000);
    }
    ~ServidorPrivado() { parar(); }
};

bool esperar(const std::function<bool()>& condicion, int ms) {
    QElapsedTimer t;
    t.start();
    while (!condicion() && t.elapsed() < ms)
        QTest::qWait(20);
    return condicion();
}

// What the output played after a confirmation was asked for.
struct Oido {
    double llamadaMs = -1;  // how long the call took
    double latenciaMs = -1; // from the call to its first loud sample reaching us
    double duracionMs = -1; // from the first loud sample to the last
};

// A recording of the output. An idle null sink sleeps up to two seconds
// before it notices a new listener, so one recording serves every sound.
struct Escucha {
    QProcess parec;
    bool empezar() {
        parec.start("parec", {"--raw", "--format=s16le", "--rate=48000", "--channels=1",
                              "--latency-msec=5", "-d", "altavoz.monitor"});
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000)
            if (parec.waitForReadyRead(100))
                return true;
        return false;
    }
    Oido oir(const std::function<void()>& pedir) {
        parec.readAll(); // what played before
        QByteArray datos;
        Oido o;
        QElapsedTimer reloj;
        reloj.start();
        pedir();
        o.llamadaMs = reloj.nsecsElapsed() / 1e6;
        constexpr int kFuerte = 3000;
        qint64 primero = -1, ultimo = -1;
        while (reloj.elapsed() < 2000 &&
               (primero < 0 || qint64(datos.size() / 2) < primero + kMuestrasPorSegundo / 4)) {
            if (!parec.waitForReadyRead(50))
                continue;
            const qint64 antes = datos.size() / 2;
            datos += parec.readAll();
            const auto* m = reinterpret_cast<const std::int16_t*>(datos.constData());
            for (qint64 i = antes; i < datos.size() / 2; ++i) {
                if (std::abs(int(m[i])) < kFuerte)
                    continue;
                if (primero < 0) {
                    primero = i;
                    o.latenciaMs = reloj.nsecsElapsed() / 1e6;
                }
                ultimo = i;
            }
        }
        if (primero >= 0)
            o.duracionMs = (ultimo - primero) * kMsPorMuestra;
        return o;
    }
    ~Escucha() {
        parec.kill();
        parec.waitForFinished();
    }
};
} // namespace

class TstConfirmacion : public QObject {
    Q_OBJECT
private slots:
    void tonos_data() {
        QTest::addColumn<int>("cual");
        QTest::addColumn<int>("ms");
        QTest::newRow("aceptada") << 0 << 60;
        QTest::newRow("ignorada") << 1 << 120;
    }
    void tonos() {
        QFETCH(int, cual);
        QFETCH(int, ms);
        const Muestras m = cual == 0 ? TonoAceptada() : TonoIgnorada();
        QCOMPARE(m.size(), std::size_t(ms * kMuestrasPorSegundo / 1000));
        // Loud enough to hear, with room left below full scale.
        QVERIFY(pico(m, 0, m.size()) > 13000);
        QVERIFY(pico(m, 0, m.size()) < 20000);
        // No click at either end: it fades in and out.
        QVERIFY(pico(m, 0, 10) < 1000);
        QVERIFY(pico(m, m.size() - 10, m.size()) < 1000);
    }

    void lasDosSeDistinguen() {
        const Muestras a = TonoAceptada();
        const Muestras i = TonoIgnorada();
        const std::size_t mitad = a.size() / 2;
        // Accepted rises; ignored sits far below both of its tones.
        QVERIFY(cruces(a, mitad, a.size()) > 1.3 * cruces(a, 0, mitad));
        QVERIFY(cruces(i, 0, i.size()) < 0.5 * cruces(a, 0, mitad));
    }

    void sinServidorNoHaceEsperar() {
        QTemporaryDir vacia;
        qputenv("PULSE_SERVER", "unix:" + vacia.filePath("native").toLocal8Bit());
        QElapsedTimer t;
        t.start();
        auto c = std::make_unique<ConfirmacionPulse>();
        QVERIFY2(t.elapsed() < 100, qPrintable(QString::number(t.elapsed())));
        t.restart();
        for (int n = 0; n < 500; ++n) {
            c->aceptada();
            c->ignorada();
        }
        const double porLlamada = t.nsecsElapsed() / 1000.0 / 1e6;
        QVERIFY2(porLlamada < 0.05, qPrintable(QString::number(porLlamada) + " ms"));
        // It keeps trying, and stopping does not wait for a server either.
        QTest::qWait(ConfirmacionPulse::kReintentoMs + 100);
        QVERIFY(!c->preparada());
        t.restart();
        c.reset();
        QVERIFY2(t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
        qunsetenv("PULSE_SERVER");
    }

    // Started before the server, it connects by itself when the server comes
    // and again after the server was restarted (which forgets stored sounds).
    void suenaEnUnServidorReal() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            QSKIP("sin pulseaudio ni parec");
        ServidorPrivado s;
        QVERIFY(s.carpeta.isValid());
        qputenv("PULSE_SERVER", s.direccion().toLocal8Bit());
        ConfirmacionPulse c;
        c.aceptada(); // nothing there yet: nothing happens
        for (int vez = 0; vez < 2; ++vez) {
            if (!s.arrancar())
                QSKIP("pulseaudio no arranca aquí");
            QVERIFY2(esperar([&] { return c.preparada(); }, 5000), "no se conecta solo");
            struct Caso {
                const char* nombre;
                void (ConfirmacionPulse::*pedir)();
                double duracionMs;
            };
            Escucha escucha;
            QVERIFY2(escucha.empezar(), "parec no graba");
            for (const Caso& caso : {Caso{"aceptada", &ConfirmacionPulse::aceptada, 60},
                                     Caso{"ignorada", &ConfirmacionPulse::ignorada, 120}}) {
                const Oido o = escucha.oir([&] { (c.*caso.pedir)(); });
                qInfo("%s: llamada %.3f ms, primer sonido a %.1f ms, %.1f ms de sonido",
                      caso.nombre, o.llamadaMs, o.latenciaMs, o.duracionMs);
                QVERIFY2(o.latenciaMs >= 0, caso.nombre);
                QVERIFY(o.llamadaMs < 5);
                QVERIFY(o.latenciaMs < 250);
                QVERIFY(std::abs(o.duracionMs - caso.duracionMs) < 15);
            }
            s.parar();
            QVERIFY(esperar([&] { return !c.preparada(); }, 3000));
        }
        qunsetenv("PULSE_SERVER");
    }
};

QTEST_GUILESS_MAIN(TstConfirmacion)
#include "tst_confirmacion.moc"
