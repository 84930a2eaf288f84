// The sound level's measuring (the scale of a peak measured by the sound
// server, the cutting of the stream of peaks, the quiet readings left unsent,
// the merging of readings for a window that falls behind) and the start of
// the capture when the server is not there or does not answer.
#include "input/Entradas.h"
#include "platform/sonido/MedidaNivel.h"
#include "platform/sonido/NivelSonidoPulse.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

using namespace quimbal;
using namespace quimbal::sonido;

namespace {
std::vector<char> bytesDe(const std::vector<float>& picos) {
    std::vector<char> b(picos.size() * sizeof(float));
    std::memcpy(b.data(), picos.data(), b.size());
    return b;
}
// A 16-bit sample as the server gives it in a float stream.
float muestra(int s) {
    return static_cast<float>(s) / 32768.0f;
}
} // namespace

class TstNivelSonido : public QObject {
    Q_OBJECT
private slots:
    void nivelDeUnPico_data() {
        QTest::addColumn<float>("pico");
        QTest::addColumn<int>("nivel");
        QTest::newRow("silencio") << 0.0f << 0;
        QTest::newRow("ruido por debajo de medio paso") << muestra(127) << 0;
        QTest::newRow("medio paso redondea hacia arriba") << muestra(128) << 1;
        QTest::newRow("un paso") << muestra(256) << 1;
        QTest::newRow("casi dos pasos") << muestra(383) << 1;
        QTest::newRow("dos pasos") << muestra(384) << 2;
        QTest::newRow("justo bajo 64") << muestra(16255) << 63;
        QTest::newRow("mitad de la escala") << 0.5f << 64;
        QTest::newRow("escala completa positiva") << muestra(32767) << 128;
        QTest::newRow("negativo") << -0.5f << 64;
        QTest::newRow("escala completa negativa") << -1.0f << 128;
        QTest::newRow("más allá de la escala") << 3.0f << 128;
        QTest::newRow("infinito") << std::numeric_limits<float>::infinity() << 128;
        QTest::newRow("no es un número") << std::numeric_limits<float>::quiet_NaN() << 0;
    }
    void nivelDeUnPico() {
        QFETCH(float, pico);
        QFETCH(int, nivel);
        QCOMPARE(NivelDeMuestraFlotante(pico), nivel);
    }

    void cortaLosPicosAunqueLleguenPartidos() {
        // Three peaks; fed one byte at a time and then in pieces that split
        // samples, the readings are the same.
        const auto b = bytesDe({muestra(2560), -1.0f, 0.0f});
        LectorPicos uno(100);
        std::vector<int> niveles;
        for (char c : b)
            for (int n : uno.agregar(&c, 1))
                niveles.push_back(n);
        QCOMPARE(niveles, (std::vector<int>{10, 128, 0}));

        LectorPicos trozos(100);
        niveles.clear();
        std::size_t hecho = 0;
        for (std::size_t t : {3u, 6u, 1u, 2u}) {
            for (int n : trozos.agregar(b.data() + hecho, t))
                niveles.push_back(n);
            hecho += t;
        }
        QCOMPARE(hecho, b.size());
        QCOMPARE(niveles, (std::vector<int>{10, 128, 0}));

        // A new stream does not finish the old one's partial peak.
        LectorPicos nuevo(100);
        QVERIFY(nuevo.agregar(b.data(), 3).empty());
        nuevo.reiniciar();
        const auto medio = bytesDe({0.5f});
        QCOMPARE(nuevo.agregar(medio.data(), medio.size()), (std::vector<int>{64}));
    }

    void picosAtrasadosSeDescartanNoSeEncolan() {
        // Five peaks arrive at once (the reader fell behind): only the two
        // newest are measured, the old sound is dropped.
        const auto b = bytesDe({1.0f, 1.0f, 1.0f, muestra(256), muestra(512)});
        LectorPicos l(2);
        QCOMPARE(l.agregar(b.data(), b.size()), (std::vector<int>{1, 2}));
        QCOMPARE(l.descartados(), 3LL);
        // A partial peak after the kept ones is carried over, not dropped.
        const auto p = bytesDe({0.5f});
        QVERIFY(l.agregar(p.data(), 2).empty());
        QCOMPARE(l.agregar(p.data() + 2, 2), (std::vector<int>{64}));
        QCOMPARE(l.descartados(), 3LL);
    }

    void lecturasQuietasRepetidasNoSeEnvian() {
        // No threshold the program offers is reached by a quiet reading.
        static_assert(kNivelQuieto < FACTOR_NIVEL);
        FiltroQuietud f(kNivelQuieto);
        std::vector<int> enviadas;
        for (int n : {0, 0, 12, 13, 13, 5, 0, 12, 100, 3, 3})
            if (f.enviar(n))
                enviadas.push_back(n);
        // The first reading goes whatever it is; a quiet one goes only after
        // a louder one; louder ones all go, repeated or not.
        QCOMPARE(enviadas, (std::vector<int>{0, 13, 13, 5, 100, 3}));
        // A new start sends its first reading, even a quiet one.
        f.reiniciar();
        QVERIFY(f.enviar(0));
        QVERIFY(!f.enviar(1));
    }

    void ventanaAtrasadaRecibeLaLecturaMasFuerte() {
        using namespace std::chrono_literals;
        FusionLecturas f(200ms);
        const auto t0 = FusionLecturas::Reloj::now();
        QCOMPARE(f.lectura(3, true, t0), 3);
        // The window falls behind: nothing is posted, the loudest is kept.
        QCOMPARE(f.lectura(5, false, t0 + 20ms), -1);
        QCOMPARE(f.lectura(90, false, t0 + 40ms), -1);
        QCOMPARE(f.lectura(7, false, t0 + 60ms), -1);
        // It catches up: the blow rides on the next reading, once.
        QCOMPARE(f.lectura(4, true, t0 + 80ms), 90);
        QCOMPARE(f.lectura(4, true, t0 + 100ms), 4);
        // A quieter current reading is not lowered by the kept one.
        QCOMPARE(f.lectura(10, false, t0 + 120ms), -1);
        QCOMPARE(f.lectura(60, true, t0 + 140ms), 60);
    }

    void golpeAntiguoSeDescartaNoSeActuaTarde() {
        using namespace std::chrono_literals;
        FusionLecturas f(200ms);
        const auto t0 = FusionLecturas::Reloj::now();
        QCOMPARE(f.lectura(120, false, t0), -1);
        QCOMPARE(f.lectura(2, false, t0 + 150ms), -1);
        // The window was stuck for half a second: the old blow is stale.
        QCOMPARE(f.lectura(1, true, t0 + 500ms), 1);
        // Within the limit it still goes through.
        QCOMPARE(f.lectura(100, false, t0 + 520ms), -1);
        QCOMPARE(f.lectura(0, true, t0 + 700ms), 100);
    }

    void detenerSinHaberIniciado() {
        // Stopping what never started, twice, and destroying it are harmless.
        auto n = std::make_unique<NivelSonidoPulse>();
        n->detener();
        n->detener();
        n.reset();
    }

    void inicioSinServidorOConServidorMudo_data() {
        QTest::addColumn<bool>("escucha");
        QTest::addColumn<bool>("iniciada");
        // Nothing at the server's address: known at once, the capture does
        // not start (the window then says so).
        QTest::newRow("sin servidor") << false << false;
        // Something takes the connection and never answers: the window is
        // not held up; the capture counts as starting.
        QTest::newRow("servidor que no contesta") << true << true;
    }
    void inicioSinServidorOConServidorMudo() {
        QFETCH(bool, escucha);
        QFETCH(bool, iniciada);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray ruta = dir.filePath(QStringLiteral("native")).toLocal8Bit();
        int fd = -1;
        if (escucha) {
            fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un dir_un{};
            dir_un.sun_family = AF_UNIX;
            std::strncpy(dir_un.sun_path, ruta.constData(), sizeof(dir_un.sun_path) - 1);
            QVERIFY(::bind(fd, reinterpret_cast<sockaddr*>(&dir_un), sizeof(dir_un)) == 0);
            QVERIFY(::listen(fd, 4) == 0);
        }
        qputenv("PULSE_SERVER", "unix:" + ruta);
        auto n = std::make_unique<NivelSonidoPulse>();
        int lecturas = 0;
        QObject::connect(n.get(), &quimbal::NivelSonido::nivel, [&](int) { ++lecturas; });
        QElapsedTimer t;
        t.start();
        QCOMPARE(n->iniciar(), iniciada);
        const qint64 ms = t.elapsed();
        QVERIFY2(ms < NivelSonidoPulse::kEsperaInicioMs + 400, qPrintable(QString::number(ms)));
        // It keeps trying in the background; stopping does not wait for the
        // server either.
        QTest::qWait(NivelSonidoPulse::kReintentoMs + 100);
        t.restart();
        n.reset();
        QVERIFY2(t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(lecturas, 0);
        qunsetenv("PULSE_SERVER");
        if (fd >= 0)
            ::close(fd);
    }
};

QTEST_MAIN(TstNivelSonido)
#include "tst_nivelsonido.moc"
