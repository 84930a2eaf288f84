// The key-string notation: what each string turns into, and what it rejects.
#include "actions/Catalogo.h"
#include "platform/NotacionTeclas.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quimbal;

namespace {
Pulsacion car(char32_t c, bool s = false, bool ctl = false, bool alt = false) {
    Pulsacion p;
    p.caracter = c;
    p.mayusculas = s;
    p.control = ctl;
    p.alt = alt;
    return p;
}
Pulsacion tec(TeclaNombrada t, bool s = false, bool ctl = false, bool alt = false) {
    Pulsacion p = car(0, s, ctl, alt);
    p.tecla = t;
    return p;
}
QList<Pulsacion> validas(const QString& s) {
    const ResultadoNotacion r = AnalizarTeclas(s);
    if (!r.valido())
        qWarning() << "rechazada:" << s << r.error;
    return r.pulsaciones;
}
} // namespace

Q_DECLARE_METATYPE(QList<Pulsacion>)

class TestNotacion : public QObject {
    Q_OBJECT
private slots:
    void codigosDelCatalogo_data() {
        QTest::addColumn<QList<Pulsacion>>("esperado");
        using T = TeclaNombrada;
        const QList<QList<Pulsacion>> porPosicion = {
            {},
            {},
            {},
            {car(U' ')},
            {tec(T::Enter)},
            {tec(T::Esc)},
            {tec(T::Tab)},
            {tec(T::Arriba)},
            {tec(T::Abajo)},
            {tec(T::Izquierda)},
            {tec(T::Derecha)},
            {tec(T::RePag)},
            {tec(T::AvPag)},
            {tec(T::Retroceso)},
            {tec(T::Suprimir)},
            {tec(T::F1)},
            {tec(T::F2)},
            {tec(T::F3)},
            {tec(T::F4)},
            {tec(T::F5)},
            {tec(T::F6)},
            {tec(T::F7)},
            {tec(T::F8)},
            {tec(T::F9)},
            {tec(T::F10)},
            {tec(T::F11)},
            {tec(T::F12)},
            {car(0, true)},
            {car(0, false, true)},
            {car(0, false, false, true)},
            {},
        };
        QCOMPARE(porPosicion.size(), kEntradasCatalogo);
        for (int i = 0; i < kEntradasCatalogo; ++i)
            QTest::newRow(Catalogo[static_cast<std::size_t>(i)].texto) << porPosicion[i];
    }
    void codigosDelCatalogo() {
        QFETCH(QList<Pulsacion>, esperado);
        const QString codigo =
            QString::fromUtf8(Catalogo[static_cast<std::size_t>(PosicionEnCatalogo(
                                           QString::fromUtf8(QTest::currentDataTag())))]
                                  .codigo);
        const ResultadoNotacion r = AnalizarTeclas(codigo);
        QVERIFY2(r.valido(), qPrintable(r.error));
        QCOMPARE(r.pulsaciones, esperado);
        // The catalogue's codes are already in canonical spelling.
        QCOMPARE(EscribirTeclas(r.pulsaciones), codigo);
    }

    void prefijos() {
        using T = TeclaNombrada;
        QCOMPARE(validas("+a"), QList<Pulsacion>{car(U'a', true)});
        QCOMPARE(validas("^a"), QList<Pulsacion>{car(U'a', false, true)});
        QCOMPARE(validas("%a"), QList<Pulsacion>{car(U'a', false, false, true)});
        QCOMPARE(validas("+{F5}"), QList<Pulsacion>{tec(T::F5, true)});
        QCOMPARE(validas("^{HOME}"), QList<Pulsacion>{tec(T::Inicio, false, true)});
        QCOMPARE(validas("%{TAB}"), QList<Pulsacion>{tec(T::Tab, false, false, true)});
        QCOMPARE(validas("+^%x"), QList<Pulsacion>{car(U'x', true, true, true)});
        // A prefix holds for the next key only.
        QCOMPARE(validas("+ab"), (QList<Pulsacion>{car(U'a', true), car(U'b')}));
        QCOMPARE(validas("a+"), (QList<Pulsacion>{car(U'a'), car(0, true)}));
    }

    void escapesYNombres() {
        using T = TeclaNombrada;
        QCOMPARE(validas("{+}{^}{%}{{}{}}"),
                 (QList<Pulsacion>{car(U'+'), car(U'^'), car(U'%'), car(U'{'), car(U'}')}));
        QCOMPARE(validas("+{+}"), QList<Pulsacion>{car(U'+', true)});
        QCOMPARE(validas("{~}{ }"), (QList<Pulsacion>{car(U'~'), car(U' ')}));
        QCOMPARE(
            validas("{HOME}{END}{INSERT}{BS}"),
            (QList<Pulsacion>{tec(T::Inicio), tec(T::Fin), tec(T::Insertar), tec(T::Retroceso)}));
        QCOMPARE(validas("{enter}{Pgdn}"), (QList<Pulsacion>{tec(T::Enter), tec(T::AvPag)}));
    }

    void caracteresQueSeEscribenASiMismos() {
        using T = TeclaNombrada;
        QCOMPARE(validas("Ab"), (QList<Pulsacion>{car(U'A'), car(U'b')}));
        QCOMPARE(validas(QStringLiteral("ñÑáü@€~()[]")),
                 (QList<Pulsacion>{car(U'ñ'), car(U'Ñ'), car(U'á'), car(U'ü'), car(U'@'), car(U'€'),
                                   car(U'~'), car(U'('), car(U')'), car(U'['), car(U']')}));
        QCOMPARE(validas(QStringLiteral("😀")), QList<Pulsacion>{car(0x1F600)});
        QCOMPARE(validas("\t"), QList<Pulsacion>{tec(T::Tab)});
        QCOMPARE(validas("a\r\nb\n"),
                 (QList<Pulsacion>{car(U'a'), tec(T::Enter), car(U'b'), tec(T::Enter)}));
        QVERIFY(AnalizarTeclas(QString()).valido());
        QVERIFY(AnalizarTeclas(QString()).pulsaciones.isEmpty());
    }

    void rechazadas_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("posicion");
        QTest::newRow("llave sola") << "{" << 0;
        QTest::newRow("cierre solo") << "a}" << 1;
        QTest::newRow("sin cerrar") << "x{ENTER" << 1;
        QTest::newRow("vacia") << "{}" << 0;
        QTest::newRow("desconocida") << "ab{FOO}" << 2;
        QTest::newRow("F13") << "{F13}" << 0;
        QTest::newRow("F0") << "{F0}" << 0;
        QTest::newRow("repeticion") << "{a 3}" << 0;
        QTest::newRow("modificador doble") << "++a" << 1;
        QTest::newRow("control") << QStringLiteral("a\x01") << 1;
        QTest::newRow("suplente suelto") << QString(QChar(0xD800)) << 0;
        QTest::newRow("tras teclas validas") << "{ENTER}abc{" << 10;
    }
    void rechazadas() {
        QFETCH(QString, texto);
        QFETCH(int, posicion);
        const ResultadoNotacion r = AnalizarTeclas(texto);
        QVERIFY(!r.valido());
        QVERIFY(r.pulsaciones.isEmpty()); // nothing half-parsed reaches the injector
        QCOMPARE(r.posicion, posicion);
    }

    void escrituraCanonica() {
        for (const char* s :
             {"+a", "^{F12}", "%{TAB}", "{+}{^}{%}{{}{}}", "ab c", "+", "+^%{DELETE}"}) {
            const QList<Pulsacion> p = validas(QString::fromUtf8(s));
            QCOMPARE(EscribirTeclas(p), QString::fromUtf8(s));
        }
        QCOMPARE(EscribirTeclas(validas("{bs}{enter}")), QStringLiteral("{BACKSPACE}{ENTER}"));
        QCOMPARE(validas(EscribirTeclas(validas(QStringLiteral("ñ€😀{}}")))),
                 validas(QStringLiteral("ñ€😀{}}")));
    }

    // Any mix of the notation's characters either parses to strokes that
    // write back to an equivalent string, or is rejected with no stroke.
    void mezclasAlAzar() {
        const QString alfabeto = QStringLiteral("+^%{}aZ ñ€ENTRF15\t");
        QRandomGenerator azar(20261208);
        int validas = 0;
        for (int n = 0; n < 5000; ++n) {
            QString s;
            const int largo = azar.bounded(1, 9);
            for (int i = 0; i < largo; ++i)
                s += alfabeto.at(azar.bounded(alfabeto.size()));
            const ResultadoNotacion r = AnalizarTeclas(s);
            if (!r.valido()) {
                QVERIFY2(r.pulsaciones.isEmpty(), qPrintable(s));
                QVERIFY2(r.posicion >= 0 && r.posicion < s.size(), qPrintable(s));
                continue;
            }
            ++validas;
            const ResultadoNotacion otra = AnalizarTeclas(EscribirTeclas(r.pulsaciones));
            QVERIFY2(otra.valido(), qPrintable(s));
            QVERIFY2(otra.pulsaciones == r.pulsaciones, qPrintable(s));
        }
        QVERIFY(validas > 500); // the mixes exercise both outcomes
    }
};

QTEST_MAIN(TestNotacion)
#include "tst_notacion.moc"
