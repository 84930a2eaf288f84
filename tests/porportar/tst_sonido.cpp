// Sound input: the reading handler (thresholds, test mode, switch mode, the
// re-arm delay), the sound hook on the window's message chain, and starting
// and stopping the component.
#include "input/modSonido.h"
#include "profiles/Declaraciones.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/LibreriaSonidoFalsa.h"

#include <QElapsedTimer>
#include <QTest>

using namespace quimbal;

namespace {
// A window whose own procedure records what reaches it.
struct Mensaje {
    std::uint32_t msg;
    WPARAM w;
    LPARAM l;
};
QList<Mensaje> recibidos;
LRESULT procBase(HWND, std::uint32_t m, WPARAM w, LPARAM l) {
    recibidos.append({m, w, l});
    return 1000 + static_cast<LRESULT>(m);
}

// The reading handler's controls, with action 1 counted.
struct Banco {
    Etiqueta etiqueta{QStringLiteral("Test del sonido")};
    Temporizador retraso;
    int acciones = 0;
    std::function<void()> durante; // runs inside action 1
    ControlesSonido c{&etiqueta, &retraso, [this] {
                          ++acciones;
                          if (durante)
                              durante();
                      }};
    Banco() {
        retraso.setInterval(400);
        retraso.Timer = [this] { retraso.setEnabled(false); };
    }
};

void perfil(std::int16_t modo, std::int16_t umbral, bool modoTest) {
    ReiniciarDeclaraciones();
    Usuarios[0] = Usuario::Nuevo(QStringLiteral("General"));
    Usuarios[0].Modo = modo;
    Usuarios[0].Umbral = umbral;
    ModoTest = modoTest;
}
} // namespace

class TstSonido : public QObject {
    Q_OBJECT
private slots:
    void init() { recibidos.clear(); }

    void tablaDeDisparo() {
        const int minimos[] = {13, 26, 39, 52, 64, 77, 90, 103, 116, 128};
        for (int umbral = 1; umbral <= 10; ++umbral) {
            perfil(kModoSonido, static_cast<std::int16_t>(umbral), false);
            Banco b;
            const int minimo = minimos[umbral - 1];
            ProcesarNivelSonido(static_cast<std::int16_t>(minimo - 1), b.c);
            QVERIFY2(b.acciones == 0 && !b.retraso.Enabled(), qPrintable(QString::number(umbral)));
            ProcesarNivelSonido(static_cast<std::int16_t>(minimo), b.c);
            QVERIFY2(b.acciones == 1 && b.retraso.Enabled(), qPrintable(QString::number(umbral)));
            QVERIFY(!b.etiqueta.Opaca()); // live mode never lights the label
        }
    }

    void modoSwitchIgnoraLasLecturas() {
        for (bool modoTest : {true, false}) {
            for (bool opaca : {true, false}) {
                perfil(kModoSwitch, 5, modoTest);
                Banco b;
                b.etiqueta.setOpaca(opaca);
                for (int nivel : {0, 63, 64, 128})
                    ProcesarNivelSonido(static_cast<std::int16_t>(nivel), b.c);
                QCOMPARE(b.etiqueta.Opaca(), opaca);
                QCOMPARE(b.acciones, 0);
                QVERIFY(!b.retraso.Enabled());
            }
        }
    }

    void modoTestSigueCadaLecturaSinActuar() {
        perfil(kModoSonido, 5, true);
        Banco b;
        const struct {
            int nivel;
            bool opaca;
        } pasos[] = {{64, true}, {128, true}, {63, false}, {0, false}, {100, true}, {12, false}};
        for (const auto& p : pasos) {
            ProcesarNivelSonido(static_cast<std::int16_t>(p.nivel), b.c);
            QCOMPARE(b.etiqueta.Opaca(), p.opaca);
        }
        QCOMPARE(b.acciones, 0);
        QVERIFY(!b.retraso.Enabled());
    }

    void retrasoDeRearmeConSonidoConstante() {
        // Loud readings every 20 ms for 1.3 s with a 400 ms delay: action 1
        // repeats once per delay, never sooner.
        perfil(kModoSonido, 5, false);
        Banco b;
        QList<qint64> momentos;
        QElapsedTimer reloj;
        reloj.start();
        b.durante = [&] { momentos.append(reloj.elapsed()); };
        while (reloj.elapsed() < 1300) {
            ProcesarNivelSonido(120, b.c);
            QTest::qWait(20);
        }
        QVERIFY2(momentos.size() >= 3 && momentos.size() <= 4,
                 qPrintable(QString::number(momentos.size())));
        QCOMPARE(momentos.first(), 0);
        for (int i = 1; i < momentos.size(); ++i)
            QVERIFY2(momentos[i] - momentos[i - 1] >= 395,
                     qPrintable(QString::number(momentos[i] - momentos[i - 1])));
    }

    void lecturasDuranteLaAccionSeIgnoran() {
        // Action 1 pumps events: readings handled inside it find the delay
        // already running.
        perfil(kModoSonido, 1, false);
        Banco b;
        b.durante = [&] {
            for (int i = 0; i < 5; ++i)
                ProcesarNivelSonido(128, b.c);
        };
        ProcesarNivelSonido(50, b.c);
        QCOMPARE(b.acciones, 1);
        // After the tick, the next loud reading triggers again.
        b.retraso.disparar();
        b.durante = nullptr;
        ProcesarNivelSonido(13, b.c);
        QCOMPARE(b.acciones, 2);
    }

    void umbralFueraDeRango() {
        // Zero or less would fire on silence; over 10 would never fire.
        perfil(kModoSonido, 0, false);
        Banco b;
        ProcesarNivelSonido(0, b.c);
        ProcesarNivelSonido(12, b.c);
        QCOMPARE(b.acciones, 0);
        ProcesarNivelSonido(13, b.c);
        QCOMPARE(b.acciones, 1);
        perfil(kModoSonido, 32000, false);
        Banco c;
        ProcesarNivelSonido(127, c.c);
        QCOMPARE(c.acciones, 0);
        ProcesarNivelSonido(128, c.c);
        QCOMPARE(c.acciones, 1);
    }

    void ganchoConsumeSolo0x400() {
        ServiciosDePrueba s;
        LibreriaSonidoFalsa lib;
        Ventana v;
        SetWindowLong(&v, GWL_WNDPROC, &procBase);
        QList<std::int16_t> niveles;
        RegistrarReceptorNivel(&v, [&](std::int16_t n) { niveles.append(n); });
        IniciarCapturaSonido(&v);
        QVERIFY(v.procedimiento() == &ProcVentanaSonido);
        QVERIFY(ProcAnteriorSonido == &procBase);

        QCOMPARE(SendMessage(&v, 0x400, 7, 99), LRESULT(0));
        QCOMPARE(SendMessage(&v, 0x8064, 5, 0x201), LRESULT(1000 + 0x8064));
        QCOMPARE(SendMessage(&v, 0x401, 1, 2), LRESULT(1000 + 0x401));
        QCOMPARE(SendMessage(&v, 0x3FF, 3, 4), LRESULT(1000 + 0x3FF));
        // Readings posted by the component arrive the same way.
        QVERIFY(lib.enviarNivel(64));
        QVERIFY(lib.enviarNivel(70000)); // beyond 16 bits: the loudest value
        QVERIFY(lib.enviarNivel(-5));
        QCoreApplication::processEvents();
        QCOMPARE(niveles, (QList<std::int16_t>{99, 64, 32767, -5}));
        QCOMPARE(recibidos.size(), 3);
        QCOMPARE(recibidos[0].msg, 0x8064u);
        QCOMPARE(recibidos[0].w, WPARAM(5));
        QCOMPARE(recibidos[0].l, LPARAM(0x201));
        QCOMPARE(recibidos[1].msg, 0x401u);
        QCOMPARE(recibidos[2].msg, 0x3FFu);
        QCOMPARE(s.dialogos.mensajes.size(), 0);

        FinalizarCapturaSonido(&v);
        QVERIFY(v.procedimiento() == &procBase);
        QCOMPARE(lib.llamadas, (QStringList{"NumeroVersio", "IniciarCapturaNivellDeSo",
                                            "FinalitzarCapturaNivellDeSo"}));
        // Unhooked: 0x400 now reaches the window's own procedure.
        SendMessage(&v, 0x400, 0, 1);
        QCOMPARE(recibidos.size(), 4);
    }

    void segundoInicioNoEncadenaElGanchoConsigoMismo() {
        ServiciosDePrueba s;
        LibreriaSonidoFalsa lib;
        Ventana v;
        SetWindowLong(&v, GWL_WNDPROC, &procBase);
        IniciarCapturaSonido(&v);
        IniciarCapturaSonido(&v);
        QCOMPARE(SendMessage(&v, 0x10, 0, 0), LRESULT(1000 + 0x10));
        FinalizarCapturaSonido(&v);
        QVERIFY(v.procedimiento() == &procBase);
        FinalizarCapturaSonido(&v); // a second stop leaves the chain alone
        QVERIFY(v.procedimiento() == &procBase);
    }

    void fallosAlIniciar_data() {
        QTest::addColumn<bool>("hayLibreria");
        QTest::addColumn<float>("version");
        QTest::addColumn<int>("resultado");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QStringList>("llamadas");
        const QString version = QStringLiteral("Error con la DLL TotiPMSpeechRecognitionEngine!");
        const QString inicio =
            QStringLiteral("No se ha podido iniciar la DLL de reconocimiento de sonido!");
        QTest::newRow("versión antigua")
            << true << 88.99f << 0 << version << QStringList{"NumeroVersio"};
        QTest::newRow("versión mínima") << true << 89.0f << 0 << QString()
                                        << QStringList{"NumeroVersio", "IniciarCapturaNivellDeSo"};
        QTest::newRow("no arranca") << true << 90.0f << 2 << inicio
                                    << QStringList{"NumeroVersio", "IniciarCapturaNivellDeSo"};
        QTest::newRow("resultado negativo")
            << true << 90.0f << -1 << inicio
            << QStringList{"NumeroVersio", "IniciarCapturaNivellDeSo"};
        QTest::newRow("sin componente") << false << 0.0f << 0 << inicio << QStringList{};
    }
    void fallosAlIniciar() {
        QFETCH(bool, hayLibreria);
        QFETCH(float, version);
        QFETCH(int, resultado);
        QFETCH(QString, mensaje);
        QFETCH(QStringList, llamadas);
        ServiciosDePrueba s;
        LibreriaSonidoFalsa lib;
        lib.version = version;
        lib.resultadoInicio = static_cast<std::int16_t>(resultado);
        if (!hayLibreria)
            servicios().sonido = nullptr;
        Ventana v;
        SetWindowLong(&v, GWL_WNDPROC, &procBase);
        IniciarCapturaSonido(&v);
        // The hook is in place whatever the component said.
        QVERIFY(v.procedimiento() == &ProcVentanaSonido);
        QCOMPARE(lib.llamadas, llamadas);
        if (mensaje.isEmpty()) {
            QCOMPARE(s.dialogos.mensajes.size(), 0);
        } else {
            QCOMPARE(s.dialogos.mensajes.size(), 1);
            QCOMPARE(s.dialogos.mensajes[0].texto, mensaje);
            QCOMPARE(s.dialogos.mensajes[0].estilo, 0);
            QCOMPARE(s.dialogos.mensajes[0].titulo, QStringLiteral("Quimbal 1.6"));
        }
        // The stop is called and the hook removed even after a failed start.
        lib.llamadas.clear();
        FinalizarCapturaSonido(&v);
        QVERIFY(v.procedimiento() == &procBase);
        QCOMPARE(lib.llamadas,
                 hayLibreria ? QStringList{"FinalitzarCapturaNivellDeSo"} : QStringList{});
    }
};

QTEST_MAIN(TstSonido)
#include "tst_sonido.moc"
