// The inputs: the switch poll on a scripted serial port, the port choice, and
// the sound readings with their threshold and re-arm delay.
#include "input/Entradas.h"
#include "profiles/Perfiles.h"
#include "tests/fakes/AjustesDeTexto.h"
#include "tests/fakes/ConfirmacionFalsa.h"
#include "tests/fakes/InyectorFalso.h"
#include "tests/fakes/NivelSonidoFalso.h"
#include "tests/fakes/PuertoSerieFalso.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <utility>

using namespace quimbal;

namespace {
// An injector that also notes each key string in the port's call log, so
// that reads, actions and line settings show in one list in their order,
// and runs a hook while the action is being performed.
class InyectorAnotado : public InyectorFalso {
public:
    explicit InyectorAnotado(QStringList& log) : log_(log) {}
    bool teclear(const QList<Pulsacion>& p) override {
        const bool hecho = InyectorFalso::teclear(p);
        log_ << QStringLiteral("teclas:") + EscribirTeclas(p);
        if (durante)
            durante();
        return hecho;
    }
    std::function<void()> durante;

private:
    QStringList& log_;
};

// One profile, action 1 = F1 and action 2 = F2, the port open.
struct Banco {
    Perfiles perfiles;
    PuertoSerieFalso puerto;
    NivelSonidoFalso sonido;
    InyectorAnotado inyector{puerto.llamadas};
    Entradas entradas{perfiles, puerto, sonido, inyector};

    explicit Banco(int modo = kModoSwitch, int umbral = 5, int retraso = 400) {
        Usuario u = Usuario::Nuevo(QStringLiteral("General"));
        u.Modo = static_cast<std::int16_t>(modo);
        u.Umbral = static_cast<std::int16_t>(umbral);
        u.Retraso = static_cast<std::int16_t>(retraso);
        perfiles.cargar({u}); // as stored: no value brought into range
        entradas.FijarAcciones(Accion::desde(QStringLiteral("F1"), {}),
                               Accion::desde(QStringLiteral("F2"), {}));
        entradas.SeleccionarPuerto(2);
        entradas.IniciarCapturaSonido();
    }
    // One tick of the poll; what it did.
    QStringList tick() {
        puerto.llamadas.clear();
        entradas.tmrSwitch_Timer();
        return puerto.llamadas;
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            tick();
    }
    // Switch 1 held for `ms` and released, on the engine's own clock: ticks
    // of 50 ms, the engine's timers run whenever they are due, then a second
    // more. The key strings sent meanwhile.
    QStringList pulsarDurante(int ms) {
        // Far ahead of the real clock the settings were given on.
        qint64 reloj = 10'000'000;
        entradas.Reloj = [&] { return reloj; };
        QStringList hechas;
        auto avanzar = [&](int hasta) {
            for (int t = 0; t < hasta; t += 50) {
                reloj += 50;
                puerto.llamadas.clear();
                entradas.AvanzarMotor();
                entradas.tmrSwitch_Timer();
                for (const QString& l : std::as_const(puerto.llamadas))
                    if (l.startsWith(QLatin1String("teclas:")))
                        hechas << l;
            }
        };
        puerto.cts = true;
        avanzar(ms);
        puerto.cts = false;
        avanzar(1000);
        entradas.Reloj = nullptr;
        return hechas;
    }
};

const QString F1 = QStringLiteral("teclas:{F1}");
const QString F2 = QStringLiteral("teclas:{F2}");
using Prueba = QList<QVariantList>;

// The test reports of the switches as changes of state: a release is
// reported at every reading that finds the line inactive.
Prueba cambios(const QSignalSpy& spy) {
    Prueba r;
    bool estado[3] = {false, false, false};
    for (const QVariantList& e : spy) {
        const int n = e.at(0).toInt();
        if (e.at(1).toBool() != estado[n])
            r.append(e);
        estado[n] = e.at(1).toBool();
    }
    return r;
}
} // namespace

class TstEntradas : public QObject {
    Q_OBJECT
private slots:
    // The poll hands each edge to the engine with the time it saw it: the
    // settings act through the program's own poll, on the engine's clock.
    void ajustesPorElSondeo_data() {
        QTest::addColumn<QString>("ajuste");
        QTest::addColumn<int>("pulsadoMs");
        QTest::addColumn<QStringList>("acciones");
        QTest::newRow("todo desactivado") << "" << 100 << QStringList{F1};
        QTest::newRow("aceptación, corta") << "aceptacion=300" << 100 << QStringList{};
        QTest::newRow("aceptación, larga") << "aceptacion=300" << 500 << QStringList{F1};
        QTest::newRow("larga alcanzada") << "larga=1000" << 1200 << QStringList{F2};
        QTest::newRow("larga no alcanzada") << "larga=1000" << 400 << QStringList{F1};
        QTest::newRow("repetición")
            << "repetir_tras=500 repetir_cada=250" << 1400 << QStringList{F1, F1, F1, F1, F1};
    }
    void ajustesPorElSondeo() {
        QFETCH(QString, ajuste);
        QFETCH(int, pulsadoMs);
        QFETCH(QStringList, acciones);
        Banco b;
        b.entradas.FijarAjustes(AjustesDeTexto(ajuste));
        QCOMPARE(b.pulsarDurante(pulsadoMs), acciones);
    }

    // The confirmation sounds are made the first time a profile asks for
    // them, and say what the engine made of each press.
    void confirmacion_data() {
        QTest::addColumn<QString>("ajuste");
        QTest::addColumn<int>("pulsadoMs");
        QTest::addColumn<QStringList>("sonidos"); // "-": never made
        QTest::newRow("desactivada") << "aceptacion=300" << 500 << QStringList{"-"};
        QTest::newRow("corta") << "aceptacion=300 confirmacion" << 100 << QStringList{"ignorada"};
        QTest::newRow("larga") << "aceptacion=300 confirmacion" << 500 << QStringList{"aceptada"};
    }
    void confirmacion() {
        QFETCH(QString, ajuste);
        QFETCH(int, pulsadoMs);
        QFETCH(QStringList, sonidos);
        Banco b;
        ConfirmacionFalsa* hecha = nullptr;
        b.entradas.FabricaConfirmacion = [&] {
            auto c = std::make_unique<ConfirmacionFalsa>();
            hecha = c.get();
            return c;
        };
        b.entradas.FijarAjustes(AjustesDeTexto(ajuste));
        b.pulsarDurante(pulsadoMs);
        QCOMPARE(hecha ? hecha->sonidos : QStringList{"-"}, sonidos);
    }

    // A press waiting for its acceptance when the port is closed (another
    // port chosen, the window unloading) or the poll stops (sound mode)
    // never acts afterwards.
    void esperaQueTerminaSinAccion_data() {
        QTest::addColumn<bool>("cerrarPuerto");
        QTest::newRow("puerto cerrado") << true;
        QTest::newRow("sondeo detenido") << false;
    }
    void esperaQueTerminaSinAccion() {
        QFETCH(bool, cerrarPuerto);
        Banco b;
        qint64 reloj = 1000;
        b.entradas.Reloj = [&] { return reloj; };
        b.entradas.FijarAjustes(AjustesDeTexto(QStringLiteral("aceptacion=300")));
        b.puerto.cts = true;
        b.tick();
        if (cerrarPuerto)
            b.entradas.SeleccionarPuerto(0);
        else
            b.entradas.ActivarSondeo(false);
        b.puerto.llamadas.clear();
        reloj += 1000;
        b.entradas.AvanzarMotor();
        QVERIFY(!b.puerto.llamadas.contains(F1));
    }

    // Where the port reports a change of its lines, the tick runs at once;
    // with the poll stopped (sound mode) a change does nothing.
    void cambioDeLineasSinEsperarAlTick() {
        Banco b;
        b.entradas.ActivarSondeo(true);
        b.puerto.cts = true;
        b.puerto.llamadas.clear();
        QVERIFY(b.puerto.alCambiarLineas);
        b.puerto.alCambiarLineas();
        QVERIFY(b.puerto.llamadas.contains(F1));
        b.entradas.ActivarSondeo(false);
        b.puerto.cts = false;
        b.puerto.llamadas.clear();
        b.puerto.alCambiarLineas();
        QVERIFY(b.puerto.llamadas.isEmpty());
    }

    void ambosEnUnTickPrimeroElUno() {
        Banco b;
        // The latch is set before the action runs: a tick run from inside
        // the action finds the press already done.
        QList<std::pair<bool, bool>> cerrojos;
        bool reentrar = true;
        b.inyector.durante = [&] {
            cerrojos.append({b.entradas.Switch1Pulsado, b.entradas.Switch2Pulsado});
            if (std::exchange(reentrar, false))
                b.entradas.tmrSwitch_Timer();
        };
        b.puerto.cts = true;
        QCOMPARE(b.tick(), QStringList({"CTS", F1, "CTS", "CTS", "RTS", "DSR", "DSR", "DTR", "RTS",
                                        "DSR", "DSR", "DTR"}));
        b.puerto.cts = false;
        b.tick();
        b.puerto.cts = b.puerto.dsr = true;
        QCOMPARE(b.tick(), QStringList({"CTS", F1, "RTS", "DSR", F2, "DTR"}));
        QCOMPARE(cerrojos,
                 (QList<std::pair<bool, bool>>{{true, false}, {true, false}, {true, true}}));
        // Held: each line is read twice and nothing runs.
        QCOMPARE(b.tick(), QStringList({"CTS", "CTS", "RTS", "DSR", "DSR", "DTR"}));
    }

    void soltarSeReconoceEnLaSegundaLectura() {
        Banco b;
        b.entradas.ModoTest = true;
        QSignalSpy prueba(&b.entradas, &Entradas::pruebaSwitch);
        b.puerto.cts = true;
        b.tick();
        // Active at the first read, released by the second: released now.
        b.puerto.lecturasCTS = {true, false};
        QCOMPARE(b.tick().mid(0, 2), QStringList({"CTS", "CTS"}));
        QVERIFY(!b.entradas.Switch1Pulsado);
        QCOMPARE(cambios(prueba), (Prueba{{1, true}, {1, false}}));
        // Inactive, then active again by the second read: not a press yet.
        b.entradas.ModoTest = false;
        b.puerto.lecturasCTS = {false, true};
        b.puerto.cts = false;
        b.tick();
        QVERIFY(!b.entradas.Switch1Pulsado);
        QVERIFY(b.inyector.registro.isEmpty());
        // ...but the next tick acts on it, even when it is already over (a
        // tap that only the driver's counters saw), and only once.
        b.ticks(4);
        QCOMPARE(b.inyector.registro, QStringList{F1});
    }

    void modoTestSoloInforma() {
        Banco b;
        b.entradas.ModoTest = true;
        QSignalSpy prueba(&b.entradas, &Entradas::pruebaSwitch);
        b.puerto.cts = true;
        QCOMPARE(b.tick(), QStringList({"CTS", "RTS", "DSR", "DSR", "DTR"}));
        b.puerto.dsr = true;
        b.ticks(3);
        b.puerto.cts = false;
        b.tick();
        b.puerto.dsr = false;
        b.tick();
        QCOMPARE(cambios(prueba), (Prueba{{1, true}, {2, true}, {1, false}, {2, false}}));
        QVERIFY(b.inyector.registro.isEmpty());
        QVERIFY(!b.entradas.Switch1Pulsado && !b.entradas.Switch2Pulsado);
    }

    void unaAccionPorPulsacion() {
        Banco b;
        b.entradas.ModoTest = true;
        QSignalSpy prueba(&b.entradas, &Entradas::pruebaSwitch);
        b.puerto.cts = true;
        b.ticks(2);
        b.entradas.ModoTest = false; // accepted with the switch held
        const auto informes = prueba.size();
        b.ticks(5);
        QVERIFY(b.inyector.registro.isEmpty());
        b.puerto.cts = false;
        b.tick();
        QVERIFY(!b.entradas.Switch1Pulsado);
        b.puerto.cts = true;
        b.ticks(20);
        QCOMPARE(b.inyector.registro, QStringList{F1});
        b.puerto.cts = false;
        b.tick();
        b.puerto.cts = true;
        b.tick();
        QCOMPARE(b.inyector.registro, QStringList({F1, F1}));
        QCOMPARE(prueba.size(), informes); // live mode reports nothing
    }

    void unFalloTerminaElTick_data() {
        QTest::addColumn<QString>("falla");
        QTest::addColumn<bool>("cts");
        QTest::addColumn<QStringList>("tick");
        QTest::addColumn<int>("cerrojo"); // the latch left set, if any
        QTest::addColumn<QStringList>("siguiente");
        const QStringList dos = {"CTS", "CTS", "RTS", "DSR", "CTS", F2, "DTR"};
        // A line that cannot be read: the port is closed, and it stays quiet
        // until it is opened again (below).
        QTest::newRow("CTS no se lee")
            << "lectura 1" << false << QStringList{"CTS", "cerrar"} << 0 << QStringList{};
        QTest::newRow("segunda lectura de CTS")
            << "lectura 2" << false << QStringList{"CTS", "CTS", "cerrar"} << 0 << QStringList{};
        QTest::newRow("DSR no se lee")
            << "lectura 3" << false << QStringList{"CTS", "CTS", "RTS", "DSR", "cerrar"} << 0
            << QStringList{};
        QTest::newRow("RTS") << "RTS" << false << QStringList{"CTS", "CTS", "RTS"} << 0 << dos;
        QTest::newRow("puerto cerrado")
            << "cerrado" << true << QStringList{"CTS", "cerrar"} << 0 << QStringList{};
        // A failed action is not retried while its switch stays held.
        // Switch 1 latched: switch 2 acts without reading switch 1 again.
        QTest::newRow("acción 1") << "accion" << true << QStringList{"CTS", F1} << 1
                                  << QStringList{"CTS", "CTS", "RTS", "DSR", F2, "DTR"};
        QTest::newRow("acción 2") << "accion" << false
                                  << QStringList{"CTS", "CTS", "RTS", "DSR", "CTS", F2} << 2
                                  << QStringList{"CTS", "CTS", "RTS", "DSR", "DSR", "DTR"};
    }
    void unFalloTerminaElTick() {
        QFETCH(QString, falla);
        QFETCH(bool, cts);
        QFETCH(QStringList, tick);
        QFETCH(int, cerrojo);
        QFETCH(QStringList, siguiente);
        Banco b;
        b.puerto.cts = cts;
        b.puerto.dsr = true;
        int lecturas = 0;
        if (falla.startsWith(QLatin1String("lectura"))) {
            const int n = falla.back().digitValue();
            b.puerto.alLeer = [&, n] { b.puerto.falloLectura = ++lecturas == n; };
        }
        b.puerto.falloRTS = falla == QLatin1String("RTS");
        b.inyector.fallarTeclas = falla == QLatin1String("accion");
        if (falla == QLatin1String("cerrado"))
            b.puerto.cerrar();
        QCOMPARE(b.tick(), tick);
        QCOMPARE(b.entradas.Switch1Pulsado, cerrojo == 1);
        QCOMPARE(b.entradas.Switch2Pulsado, cerrojo == 2);
        // The next tick starts afresh.
        b.puerto.alLeer = nullptr;
        b.puerto.falloLectura = b.puerto.falloRTS = b.inyector.fallarTeclas = false;
        QCOMPARE(b.tick(), siguiente);
    }

    // Both switches pressed together, switch 1 closing between its reads and
    // that of switch 2 in one tick: switch 1 still acts first.
    void losDosALaVezPrimeroElSwitch1() {
        Banco b;
        b.puerto.dsr = true;
        int lecturas = 0;
        b.puerto.alLeer = [&] {
            if (++lecturas == 2)
                b.puerto.cts = true;
        };
        QCOMPARE(b.tick(), (QStringList{"CTS", "CTS", "RTS", "DSR", "CTS", "CTS", F1, F2, "DTR"}));
    }

    // An adapter unplugged while switch 1 is held, then plugged back with the
    // switch still held: no stuck latch, one attempt to open it a second, no
    // action at the moment it comes back, and the next press acts once.
    void puertoPerdidoSeReabre() {
        Banco b;
        QSignalSpy avisos(&b.entradas, &Entradas::puertoRecuperado);
        b.puerto.cts = true;
        b.tick();
        b.puerto.falloLectura = true;
        b.puerto.puertosExistentes = {};
        QCOMPARE(b.tick(), (QStringList{"CTS", "cerrar"}));
        QVERIFY(b.entradas.PuertoPerdido());
        QVERIFY(!b.entradas.Switch1Pulsado);
        QCOMPARE(avisos.takeFirst(), QVariantList{false});
        for (int intento = 0; intento < 2; ++intento) {
            QStringList quietos;
            for (int i = 0; i < 19; ++i)
                quietos += b.tick();
            QCOMPARE(quietos, QStringList{});
            QCOMPARE(b.tick(), QStringList{"abrir 2"});
        }
        b.puerto.falloLectura = false;
        b.puerto.puertosExistentes = {2};
        b.ticks(19);
        QCOMPARE(b.tick(), (QStringList{"abrir 2", "CTS", "DSR"}));
        QVERIFY(!b.entradas.PuertoPerdido());
        QVERIFY(b.entradas.Switch1Pulsado);
        QCOMPARE(avisos.takeFirst(), QVariantList{true});
        b.ticks(5);
        QCOMPARE(b.inyector.registro, QStringList{F1});
        b.puerto.cts = false;
        b.tick();
        b.puerto.cts = true;
        b.ticks(3);
        QCOMPARE(b.inyector.registro, (QStringList{F1, F1}));
        // Choosing "no port" in the window ends the attempts.
        b.puerto.falloLectura = true;
        b.tick();
        b.entradas.SeleccionarPuerto(0);
        b.puerto.llamadas.clear();
        b.ticks(40);
        QCOMPARE(b.puerto.llamadas, QStringList{});
    }

    void sondeoCada50ms() {
        Banco b;
        b.entradas.ActivarSondeo(true);
        QVERIFY(b.entradas.Sondeando());
        b.puerto.cts = true;
        QTRY_COMPARE_WITH_TIMEOUT(b.inyector.registro, QStringList{F1}, 1000);
        QTest::qWait(200);
        QCOMPARE(b.inyector.registro, QStringList{F1});
        b.entradas.ActivarSondeo(false);
        QVERIFY(!b.entradas.Sondeando());
        b.puerto.llamadas.clear();
        QTest::qWait(150);
        QVERIFY(b.puerto.llamadas.isEmpty());
    }

    void seleccionarPuerto() {
        Banco b;
        b.puerto.cerrar();
        b.puerto.llamadas.clear();
        QVERIFY(b.entradas.SeleccionarPuerto(3));
        QCOMPARE(b.puerto.llamadas, QStringList({"cerrar", "abrir 3"}));
        QCOMPARE(b.puerto.numero, 3);
        // Closing first lets another port open.
        b.puerto.llamadas.clear();
        QVERIFY(b.entradas.SeleccionarPuerto(1));
        QCOMPARE(b.puerto.llamadas, QStringList({"cerrar", "abrir 1"}));
        QCOMPARE(b.puerto.numero, 1);
        QVERIFY(!b.entradas.SeleccionarPuerto(5)); // not there: stays closed
        QVERIFY(!b.puerto.abierto());
        b.puerto.llamadas.clear();
        QVERIFY(!b.entradas.SeleccionarPuerto(0));
        QCOMPARE(b.puerto.llamadas, QStringList{"cerrar"});
    }

    void dispositivoDePuerto() {
        QTemporaryDir dir;
        const QString c = dir.path();
        QCOMPARE(DispositivoDePuerto(0, c), QString());
        QCOMPARE(DispositivoDePuerto(1, c), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(DispositivoDePuerto(4, c), QStringLiteral("/dev/ttyS3"));
        // A link to a device not plugged in keeps the name it gives.
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB-quimbal-no-existe"), c + "/com2"));
        QCOMPARE(DispositivoDePuerto(2, c), QStringLiteral("/dev/ttyUSB-quimbal-no-existe"));
        // A chain of links (as /dev/serial/by-id/ gives) ends at the device.
        QVERIFY(QDir(c).mkpath(QStringLiteral("por-id")));
        QFile real(c + "/ttyREAL");
        QVERIFY(real.open(QIODevice::WriteOnly));
        real.close();
        QVERIFY(QFile::link(QStringLiteral("../ttyREAL"), c + "/por-id/usb-adaptador"));
        QVERIFY(QFile::link(c + "/por-id/usb-adaptador", c + "/com3"));
        QCOMPARE(DispositivoDePuerto(3, c), QFileInfo(c + "/ttyREAL").canonicalFilePath());
        // Upper-case names serve as well.
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyACM0"), c + "/COM4"));
        QCOMPARE(DispositivoDePuerto(4, c), QStringLiteral("/dev/ttyACM0"));
    }

    // --- Sound ---

    void umbralDeDisparo_data() {
        QTest::addColumn<int>("umbral");
        QTest::addColumn<int>("minimo");
        const int minimos[] = {13, 26, 39, 52, 64, 77, 90, 103, 116, 128};
        for (int u = 1; u <= 10; ++u)
            QTest::addRow("umbral %d", u) << u << minimos[u - 1];
        // Zero or less would fire on silence, over 10 never: the nearest end.
        QTest::newRow("0 como 1") << 0 << 13;
        QTest::newRow("-5 como 1") << -5 << 13;
        QTest::newRow("11 como 10") << 11 << 128;
        QTest::newRow("32000 como 10") << 32000 << 128;
    }
    void umbralDeDisparo() {
        QFETCH(int, umbral);
        QFETCH(int, minimo);
        Banco b(kModoSonido, umbral);
        QSignalSpy prueba(&b.entradas, &Entradas::pruebaSonido);
        for (int n : {0, minimo - 1})
            QVERIFY(b.sonido.enviarNivel(n));
        QVERIFY(b.inyector.registro.isEmpty());
        QVERIFY(!b.entradas.RearmeEnCurso());
        b.sonido.enviarNivel(minimo);
        QCOMPARE(b.inyector.registro, QStringList{F1});
        QVERIFY(b.entradas.RearmeEnCurso());
        QCOMPARE(prueba.size(), 0); // live mode reports nothing
    }

    void modoSwitchIgnoraLasLecturas() {
        for (bool modoTest : {true, false}) {
            Banco b(kModoSwitch, 5);
            b.entradas.ModoTest = modoTest;
            QSignalSpy prueba(&b.entradas, &Entradas::pruebaSonido);
            for (int n : {0, 63, 64, 128})
                b.sonido.enviarNivel(n);
            QCOMPARE(prueba.size(), 0);
            QVERIFY(b.inyector.registro.isEmpty());
            QVERIFY(!b.entradas.RearmeEnCurso());
        }
    }

    void modoTestInformaCadaLecturaSinActuar() {
        Banco b(kModoSonido, 5);
        b.entradas.ModoTest = true;
        QSignalSpy prueba(&b.entradas, &Entradas::pruebaSonido);
        for (int n : {64, 128, 63, 0, 100, 12})
            b.sonido.enviarNivel(n);
        QCOMPARE(prueba, (Prueba{{true}, {true}, {false}, {false}, {true}, {false}}));
        QVERIFY(b.inyector.registro.isEmpty());
        QVERIFY(!b.entradas.RearmeEnCurso());
    }

    void rearmeConSonidoConstante() {
        // Loud readings every 10 ms for 400 ms with a 150 ms delay: action 1
        // repeats once per delay, never sooner.
        Banco b(kModoSonido, 5, 150);
        QElapsedTimer reloj;
        QList<qint64> momentos;
        bool rearmado = true;
        b.inyector.durante = [&] {
            momentos.append(reloj.elapsed());
            rearmado = rearmado && b.entradas.RearmeEnCurso();
            b.sonido.enviarNivel(128); // handled while the action is under way
        };
        reloj.start();
        while (reloj.elapsed() < 400) {
            b.sonido.enviarNivel(120);
            QTest::qWait(10);
        }
        QVERIFY(rearmado);
        QVERIFY2(momentos.size() >= 2 && momentos.size() <= 3,
                 qPrintable(QString::number(momentos.size())));
        QVERIFY(momentos.first() < 50);
        for (int i = 1; i < momentos.size(); ++i)
            QVERIFY2(momentos[i] - momentos[i - 1] >= 150,
                     qPrintable(QString::number(momentos[i] - momentos[i - 1])));
        // Once the delay ends the next loud reading acts again.
        QTRY_VERIFY(!b.entradas.RearmeEnCurso());
        const auto antes = momentos.size();
        b.sonido.enviarNivel(64);
        QCOMPARE(momentos.size(), antes + 1);
    }
};

QTEST_MAIN(TstEntradas)
#include "tst_entradas.moc"
