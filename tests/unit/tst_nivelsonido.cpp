// The sound level's measuring: the level of a block, the cutting of the
// captured stream into blocks, the merging of readings for a window that falls
// behind, and stopping a capture that never started.
#include "platform/sonido/MedidaNivel.h"
#include "platform/sonido/NivelSonidoQt.h"

#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

using namespace quimbal;
using namespace quimbal::sonido;

namespace {
std::vector<char> bytesDe(const std::vector<std::int16_t>& m) {
    std::vector<char> b(m.size() * 2);
    std::memcpy(b.data(), m.data(), b.size());
    return b;
}
// A block of n samples of silence with one sample of the given value.
std::vector<std::int16_t> bloqueConPico(int n, std::int16_t pico, int donde) {
    std::vector<std::int16_t> m(static_cast<std::size_t>(n), 0);
    m[static_cast<std::size_t>(donde)] = pico;
    return m;
}
} // namespace

class TstNivelSonido : public QObject {
    Q_OBJECT
private slots:
    void nivelDePico_data() {
        QTest::addColumn<int>("pico");
        QTest::addColumn<int>("nivel");
        QTest::newRow("silencio") << 0 << 0;
        QTest::newRow("ruido por debajo de medio paso") << 127 << 0;
        QTest::newRow("medio paso redondea hacia arriba") << 128 << 1;
        QTest::newRow("un paso") << 256 << 1;
        QTest::newRow("casi dos pasos") << 383 << 1;
        QTest::newRow("dos pasos") << 384 << 2;
        QTest::newRow("mitad de la escala") << 16384 << 64;
        QTest::newRow("justo bajo 64") << 16255 << 63;
        QTest::newRow("escala completa positiva") << 32767 << 128;
        QTest::newRow("negativo") << -16384 << 64;
        QTest::newRow("escala completa negativa") << -32768 << 128;
    }
    void nivelDePico() {
        QFETCH(int, pico);
        QFETCH(int, nivel);
        // The peak counts wherever it is in the block, among smaller samples.
        for (int donde : {0, 7, 959}) {
            auto m = bloqueConPico(960, static_cast<std::int16_t>(pico), donde);
            m[(static_cast<std::size_t>(donde) + 1) % m.size()] =
                static_cast<std::int16_t>(pico / 2);
            QCOMPARE(NivelDePico(m.data(), m.size()), nivel);
        }
    }

    void bloqueVacioEsSilencio() { QCOMPARE(NivelDePico(nullptr, 0), 0); }

    void cortaEnBloquesAunqueLleguenBytesSueltos() {
        // Three blocks of 4 samples: levels 10, 128, 0; fed one byte at a time
        // and then in odd pieces, the result is the same.
        std::vector<std::int16_t> m = {0, 2560, 0, 0, -32768, 0, 0, 0, 0, 0, 0, 0, 5};
        const auto b = bytesDe(m);
        DivisorBloques uno(4, 100);
        std::vector<int> niveles;
        for (char c : b)
            for (int n : uno.agregar(&c, 1))
                niveles.push_back(n);
        QCOMPARE(niveles, (std::vector<int>{10, 128, 0}));

        DivisorBloques trozos(4, 100);
        niveles.clear();
        std::size_t hecho = 0;
        for (std::size_t t : {3u, 9u, 5u, 9u}) {
            for (int n : trozos.agregar(b.data() + hecho, t))
                niveles.push_back(n);
            hecho += t;
        }
        QCOMPARE(hecho, b.size());
        QCOMPARE(niveles, (std::vector<int>{10, 128, 0}));
        // The 13th sample waits for its block: nothing more comes out yet.
        QVERIFY(trozos.agregar(nullptr, 0).empty());
    }

    void bloquesAtrasadosSeDescartanNoSeEncolan() {
        // Five blocks arrive at once (the reader fell behind): only the two
        // newest are measured, the old sound is dropped.
        std::vector<std::int16_t> m;
        for (std::int16_t pico : {32767, 32767, 32767, 256, 512})
            for (int i = 0; i < 4; ++i)
                m.push_back(i == 2 ? pico : 0);
        const auto b = bytesDe(m);
        DivisorBloques d(4, 2);
        QCOMPARE(d.agregar(b.data(), b.size()), (std::vector<int>{1, 2}));
        QCOMPARE(d.descartados(), 3LL);
        // A partial block after the kept ones is carried over, not dropped.
        std::vector<std::int16_t> parte = {0, 16384};
        auto pb = bytesDe(parte);
        QVERIFY(d.agregar(pb.data(), pb.size()).empty());
        auto resto = bytesDe({0, 0});
        QCOMPARE(d.agregar(resto.data(), resto.size()), (std::vector<int>{64}));
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
        // Stopping what never started, twice, and destroying it are harmless;
        // no reading comes out.
        auto n = std::make_unique<NivelSonidoQt>();
        int lecturas = 0;
        QObject::connect(n.get(), &quimbal::NivelSonido::nivel, [&](int) { ++lecturas; });
        n->detener();
        n->detener();
        n.reset();
        QCoreApplication::processEvents();
        QCOMPARE(lecturas, 0);
    }
};

QTEST_MAIN(TstNivelSonido)
#include "tst_nivelsonido.moc"
