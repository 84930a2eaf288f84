// The confirmation sounds: a caller never held up, and (where a
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
#include <functional>

using namespace quimbal;
using namespace quimbal::sonido;

namespace {
using Muestras = std::vector<std::int16_t>;
constexpr double kMuestrasPorMs = kMuestrasPorSegundo / 1000.0;

// Records the output for 300 ms after the sound is asked for: where its
// first loud sample lies, and how long it lasts (ms).
std::pair<double, double> oir(QProcess& parec, const std::function<void()>& pedir) {
    parec.readAll(); // what played before
    pedir();
    QByteArray datos;
    while (datos.size() < 600 * kMuestrasPorMs && parec.waitForReadyRead(1000))
        datos += parec.readAll();
    const auto* m = reinterpret_cast<const std::int16_t*>(datos.constData());
    qint64 primero = -1, ultimo = -1;
    for (qint64 i = 0; i < datos.size() / 2; ++i)
        if (std::abs(int(m[i])) >= 3000) {
            ultimo = i;
            primero = primero < 0 ? i : primero;
        }
    return {primero / kMuestrasPorMs, (ultimo - primero) / kMuestrasPorMs};
}
} // namespace

class TstConfirmacion : public QObject {
    Q_OBJECT
private slots:
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

    // Made before the server, it connects by itself when the server comes,
    // and again after a restart (which forgets the stored sounds).
    void suenaEnUnServidorReal() {
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
            QStandardPaths::findExecutable("parec").isEmpty())
            QSKIP("sin pulseaudio ni parec");
        QTemporaryDir dir;
        const QString socket = dir.filePath("native");
        qputenv("PULSE_SERVER", "unix:" + socket.toLocal8Bit());
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("XDG_RUNTIME_DIR", dir.path());
        entorno.insert("HOME", dir.path());
        QProcess servidor;
        servidor.setProcessEnvironment(entorno);
        servidor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        ConfirmacionPulse c;
        c.aceptada(); // nothing there yet: nothing happens
        for (int vez = 0; vez < 2; ++vez) {
            // One output, "altavoz", that plays nowhere.
            servidor.start("pulseaudio",
                           {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                            "--disable-shm=yes", "--log-level=error", "-L",
                            "module-native-protocol-unix auth-anonymous=1 socket=" + socket, "-L",
                            "module-null-sink sink_name=altavoz rate=48000"});
            for (int i = 0; i < 250 && !QFile::exists(socket); ++i)
                servidor.waitForFinished(20);
            if (servidor.state() != QProcess::Running || !QFile::exists(socket))
                QSKIP("pulseaudio no arranca aquí");
            QTRY_VERIFY_WITH_TIMEOUT(c.preparada(), 5000);
            // One recording for both: an idle null sink takes up to two
            // seconds to notice a new listener.
            QProcess parec;
            parec.start("parec", {"--raw", "--format=s16le", "--rate=48000", "--channels=1",
                                  "--latency-msec=5", "-d", "altavoz.monitor"});
            QVERIFY2(parec.waitForReadyRead(5000), "parec no graba");
            for (const auto& [nombre, ms] :
                 {std::pair{"aceptada", 60.0}, std::pair{"ignorada", 120.0}}) {
                QElapsedTimer t;
                const auto [comienzo, duracion] = oir(parec, [&, n = nombre] {
                    t.start();
                    n[0] == 'a' ? c.aceptada() : c.ignorada();
                    qInfo("%s: llamada de %.3f ms", n, t.nsecsElapsed() / 1e6);
                });
                qInfo("empieza %.1f ms dentro de lo grabado, dura %.1f ms", comienzo, duracion);
                QVERIFY(comienzo >= 0 && comienzo < 50);
                QVERIFY(std::abs(duracion - ms) < 15);
            }
            parec.kill();
            parec.waitForFinished();
            servidor.terminate();
            servidor.waitForFinished();
            QTRY_VERIFY_WITH_TIMEOUT(!c.preparada(), 3000);
        }
        qunsetenv("PULSE_SERVER");
    }
};

QTEST_GUILESS_MAIN(TstConfirmacion)
#include "tst_confirmacion.moc"
