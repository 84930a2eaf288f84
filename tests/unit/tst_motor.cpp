// The switch and sound engine on a scripted clock: each row is the settings, a
// script of what the sources report and when, and every output with its time.
#include "input/Motor.h"
#include "tests/fakes/AjustesDeTexto.h"

#include <QTest>

using namespace quimbal;

namespace {
// A caller that, like the real one, wakes only when the engine asks for it.
struct Banco {
    qint64 t = 0;
    QStringList salidas;
    Motor motor{{[this](int a, Origen o) { anotar(o == Origen::Sonido ? "S" : "A" + num(a)); },
                 [this](Origen o, Informe i, int a) { anotar(prueba(o, i, a)); },
                 [this](bool aceptada) { anotar(aceptada ? "ok" : "no"); },
                 [this](bool activa) { anotar(activa ? "pausa+" : "pausa-"); }}};

    static QString num(int n) { return QString::number(n); }
    static QString prueba(Origen o, Informe i, int accion) {
        static const char* const nombres[] = {"pulsado",  "aceptado", "accion",
                                              "ignorado", "pausado",  "soltado"};
        const QString origen = o == Origen::Sonido ? "S" : num(o == Origen::Switch1 ? 1 : 2);
        return origen + nombres[int(i)] + (accion ? num(accion) : QString());
    }
    void anotar(const QString& s) { salidas << num(t) + ":" + s; }
    // Wakes at each moment the engine names before `fin` (or at it).
    void hasta(qint64 fin, bool incluido) {
        for (int vueltas = 0; vueltas < 1000; ++vueltas) {
            const std::optional<qint64> p = motor.proximo();
            if (!p || *p > fin || (*p == fin && !incluido))
                return void(t = fin);
            QVERIFY2(*p >= t, "a moment in the past");
            motor.avanzar(t = *p);
        }
        QFAIL("the engine keeps asking for the same moment");
    }
    // "t:evento" tokens: 1+ 2- (source 0), 1+@3 (source 3), P@3 lost,
    // R@3=10 back with switch 1 closed, S+ S- sound, T+ T- test mode,
    // A0 all settings off, fin (wake up to t), ! (one late call at t).
    void ejecutar(const QString& guion) {
        for (const QString& paso : guion.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const qint64 cuando = paso.section(QLatin1Char(':'), 0, 0).toLongLong();
            const QString e = paso.section(QLatin1Char(':'), 1);
            const int fuente =
                e.section(QLatin1Char('@'), 1).section(QLatin1Char('='), 0, 0).toInt();
            if (e == QLatin1String("!")) {
                motor.avanzar(t = cuando);
                continue;
            }
            hasta(cuando, e == QLatin1String("fin"));
            if (e[0].isDigit())
                motor.pulsador(fuente, e[0].digitValue(), e[1] == QLatin1Char('+'), t);
            else if (e[0] == QLatin1Char('P'))
                motor.perdida(fuente, t);
            else if (e[0] == QLatin1Char('R'))
                motor.recuperada(fuente, e.right(2)[0] == '1', e.right(1) == "1", t);
            else if (e[0] == QLatin1Char('S'))
                motor.sonido(e[1] == QLatin1Char('+'), t);
            else if (e[0] == QLatin1Char('T'))
                motor.fijarModoTest(e[1] == QLatin1Char('+'), t);
            else if (e == QLatin1String("A0"))
                motor.fijarAjustes({}, t);
            else if (e != QLatin1String("fin"))
                QFAIL(qPrintable("unknown step " + paso));
        }
    }
};
} // namespace

class TstMotor : public QObject {
    Q_OBJECT
private slots:
    void guiones_data();
    void guiones();
};

void TstMotor::guiones_data() {
    QTest::addColumn<QString>("ajustes");
    QTest::addColumn<QString>("guion");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("todo apagado: una acción al pulsar, nada al soltar")
        << ""
        << "0:1+ 100:1- 200:2+ 5000:2- 5100:1+ 5100:2+ 9000:fin"
        << "0:A1 200:A2 5100:A1 5100:A2";
    QTest::newRow("todo apagado en prueba: solo informa")
        << ""
        << "0:T+ 10:1+ 20:1-"
        << "10:1pulsado 10:1aceptado 10:1accion1 20:1soltado";
    QTest::newRow("aceptación: corta ignorada, soltar al plazo no llega")
        << "aceptacion=300 confirmacion"
        << "0:1+ 299:1- 400:1+ 700:1- 1000:1+ 2000:1-"
        << "299:no 700:no 1300:ok 1300:A1";
    QTest::newRow("ignorar: solo el mismo switch")
        << "ignorar=1000"
        << "0:1+ 50:1- 500:2+ 510:2- 999:1+ 1010:1- 1020:1+ 1030:1-"
        << "0:A1 500:A2 1020:A1";
    QTest::newRow("aceptación con ignorar: medido desde la aceptación")
        << "aceptacion=300 ignorar=1000 confirmacion"
        << "0:1+ 500:1- 1200:1+ 1250:1- 1350:1+ 1700:1-"
        << "300:ok 300:A1 1200:no 1650:ok 1650:A1";
    QTest::newRow("larga: corta al soltar, larga a su tiempo")
        << "larga=1000"
        << "0:1+ 400:1- 2000:1+ 3500:1- 4000:fin"
        << "400:A1 3000:A2";
    QTest::newRow("larga dentro de la aceptación") << "aceptacion=500 larga=300"
                                                   << "0:1+ 499:1- 1000:1+ 1800:1-"
                                                   << "1500:A2";
    QTest::newRow("fuera de rango: acotados") << "larga=99999"
                                              << "0:1+ 10000:fin 10100:1-"
                                              << "10000:A2";
    QTest::newRow("larga con repetición: el 1 no repite, el 2 sí")
        << "larga=1000 repetir_tras=500"
        << "0:1+ 2500:1- 3000:2+ 4100:2-"
        << "1000:A2 3000:A2 3500:A2 4000:A2";
    QTest::newRow("repetición: ENTER 1,5 s con 500/250") << "repetir_tras=500 repetir_cada=250"
                                                         << "0:1+ 1500:1-"
                                                         << "0:A1 500:A1 750:A1 1000:A1 1250:A1";
    QTest::newRow("repetición: una llamada tardía no desplaza las siguientes")
        << "repetir_tras=500 repetir_cada=250"
        << "0:1+ 1100:! 1500:1-"
        << "0:A1 1100:A1 1100:A1 1100:A1 1250:A1";
    QTest::newRow("pausa: el gesto no actúa al soltar; en pausa nada")
        << "pausa=2000 confirmacion"
        << "0:1+ 100:2+ 2200:1- 2300:2- 3000:1+ 3100:1- 4000:1+ 4010:2+ 6100:1- 6100:2- 7000:1+"
        << "0:ok 0:A1 100:ok 100:A2 2100:pausa+ 3000:no 4000:no 4010:no 6010:pausa- 7000:ok "
           "7000:A1";
    QTest::newRow("pausa mientras repite: la pausa va antes")
        << "pausa=1000 repetir_tras=300"
        << "0:1+ 500:2+ 1600:1- 1700:2- 2000:1+ 2100:1-"
        << "0:A1 300:A1 500:A2 600:A1 800:A2 900:A1 1100:A2 1200:A1 1400:A2 1500:pausa+";
    QTest::newRow("pausa: soltar antes de tiempo no cuenta") << "pausa=1000"
                                                             << "0:1+ 0:2+ 999:2- 1500:fin"
                                                             << "0:A1 0:A2";
    QTest::newRow("pausa: apagar el ajuste acaba la pausa")
        << "pausa=500"
        << "0:1+ 0:2+ 600:A0 700:1- 800:2- 900:1+"
        << "0:A1 0:A2 500:pausa+ 600:pausa- 900:A1";
    QTest::newRow("fuente perdida con la pulsación a medias")
        << "aceptacion=300 larga=1000 confirmacion"
        << "0:1+ 200:P@0 250:R@0=10 400:1- 500:1+ 900:1-"
        << "800:ok 900:A1";
    QTest::newRow("dos fuentes: cerrado mientras alguna lo cierre")
        << "larga=1000"
        << "0:1+@1 100:1+@2 200:P@1 1200:1-@2 1300:1+@1 1400:1-@1"
        << "1000:A2 1400:A1";
    QTest::newRow("fin de la prueba con el switch pulsado")
        << "larga=1000"
        << "0:T+ 10:1+ 20:T- 2000:1- 2100:1+ 2200:1-"
        << "10:1pulsado 10:1aceptado 2200:A1";
    QTest::newRow("la prueba empieza mientras repite") << "repetir_tras=300"
                                                       << "0:1+ 400:T+ 1000:1-"
                                                       << "0:A1 300:A1 400:1pulsado 1000:1soltado";
    QTest::newRow("prueba: los filtros se ven")
        << "aceptacion=100 ignorar=500"
        << "0:T+ 10:1+ 50:1- 60:1+ 200:1- 300:1+ 310:1-"
        << "10:1pulsado 50:1ignorado 50:1soltado 60:1pulsado 160:1aceptado 160:1accion1 "
           "200:1soltado 300:1pulsado 300:1ignorado 310:1soltado";
    QTest::newRow("sonido: una acción por subida") << ""
                                                   << "0:S+ 10:S+ 50:S- 60:S+"
                                                   << "0:S 60:S";
    QTest::newRow("sonido: soplo mínimo") << "soplo_minimo=200 confirmacion"
                                          << "0:S+ 150:S- 300:S+ 600:S-"
                                          << "150:no 500:ok 500:S";
    QTest::newRow("sonido: la pausa no lo para") << "pausa=500"
                                                 << "0:1+ 0:2+ 500:fin 600:S+"
                                                 << "0:A1 0:A2 500:pausa+ 600:S";
}

void TstMotor::guiones() {
    QFETCH(QString, ajustes);
    QFETCH(QString, guion);
    QFETCH(QString, esperado);
    Banco b;
    b.motor.fijarAjustes(AjustesDeTexto(ajustes), 0);
    b.ejecutar(guion);
    QCOMPARE(b.salidas.join(' '), esperado);
    // Nothing left waiting once every switch has done what it does.
    QVERIFY(!b.motor.proximo());
}

QTEST_GUILESS_MAIN(TstMotor)
#include "tst_motor.moc"
