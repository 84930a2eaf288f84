// Typing on the session's layout through a kernel device: which keys, with
// which level modifiers, type each character on a few real layouts (compiled
// by libxkbcommon from the system's keyboard data, no device needed), how a
// string becomes key events, and where the layout's names are read.
#include "platform/uinput/DisposicionTeclado.h"
#include "platform/uinput/MapaXkb.h"

#include <QTest>

#include <linux/input-event-codes.h>

using namespace quimbal;

namespace {

std::unique_ptr<MapaXkb> Mapa(const char* disposicion) {
    NombresXkb n;
    n.disposicion = QString::fromLatin1(disposicion);
    QString error;
    auto m = MapaXkb::crear(n, error);
    if (!m)
        qWarning() << error;
    return m;
}

// "30" a key, "+30" with SHIFT, "^30" with the third level; taps joined by ' '.
QString Describir(const std::optional<std::vector<Tecleo>>& t) {
    if (!t)
        return QStringLiteral("-");
    QStringList partes;
    for (const Tecleo& x : *t)
        partes << QStringLiteral("%1%2%3")
                      .arg(x.mayusculas ? "+" : "", x.nivel3 ? "^" : "")
                      .arg(x.codigo);
    return partes.join(u' ');
}

QString Describir(const std::vector<EventoTecla>& eventos) {
    QStringList partes;
    for (const EventoTecla& e : eventos)
        partes << QStringLiteral("%1%2").arg(e.codigo).arg(e.abajo ? "v" : "^");
    return partes.join(u' ');
}

} // namespace

class TestTeclado : public QObject {
    Q_OBJECT
private slots:
    void caracteres_data() {
        QTest::addColumn<QString>("disposicion");
        QTest::addColumn<QString>("caracter");
        QTest::addColumn<QString>("teclas");
        QTest::newRow("us a") << "us"
                              << "a" << QString::number(KEY_A);
        QTest::newRow("us A") << "us"
                              << "A" << QStringLiteral("+%1").arg(KEY_A);
        QTest::newRow("us @") << "us"
                              << "@" << QStringLiteral("+%1").arg(KEY_2);
        QTest::newRow("us ñ, imposible") << "us"
                                         << "ñ"
                                         << "-";
        QTest::newRow("us á, imposible") << "us"
                                         << "á"
                                         << "-";
        QTest::newRow("es ñ") << "es"
                              << "ñ" << QString::number(KEY_SEMICOLON);
        QTest::newRow("es @") << "es"
                              << "@" << QStringLiteral("^%1").arg(KEY_2);
        QTest::newRow("es €") << "es"
                              << "€" << QStringLiteral("^%1").arg(KEY_E);
        QTest::newRow("es á, tecla muerta")
            << "es"
            << "á" << QStringLiteral("%1 %2").arg(KEY_APOSTROPHE).arg(KEY_A);
        QTest::newRow("es Á") << "es"
                              << "Á" << QStringLiteral("%1 +%2").arg(KEY_APOSTROPHE).arg(KEY_A);
        QTest::newRow("es ü, diéresis con SHIFT")
            << "es"
            << "ü" << QStringLiteral("+%1 %2").arg(KEY_APOSTROPHE).arg(KEY_U);
        QTest::newRow("de z") << "de"
                              << "z" << QString::number(KEY_Y);
        QTest::newRow("de ß") << "de"
                              << "ß" << QString::number(KEY_MINUS);
        QTest::newRow("de @") << "de"
                              << "@" << QStringLiteral("^%1").arg(KEY_Q);
        QTest::newRow("fr a") << "fr"
                              << "a" << QString::number(KEY_Q);
        QTest::newRow("fr 1") << "fr"
                              << "1" << QStringLiteral("+%1").arg(KEY_1);
        QTest::newRow("fr é") << "fr"
                              << "é" << QString::number(KEY_2);
        QTest::newRow("fr â, circunflejo")
            << "fr"
            << "â" << QStringLiteral("%1 %2").arg(KEY_LEFTBRACE).arg(KEY_Q);
    }
    void caracteres() {
        QFETCH(QString, disposicion);
        QFETCH(QString, caracter);
        QFETCH(QString, teclas);
        const auto mapa = Mapa(qPrintable(disposicion));
        QVERIFY(mapa);
        QCOMPARE(Describir(mapa->buscarCaracter(caracter.toUcs4().front())), teclas);
    }

    // Modifiers down before the key and up after it, in reverse order; a
    // level modifier only around its own tap; a refused string plans nothing.
    void planes_data() {
        QTest::addColumn<QString>("disposicion");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("eventos");
        QTest::addColumn<QString>("falta");
        const auto t = [](int codigo) { return QStringLiteral("%1v %1^").arg(codigo); };
        const auto con = [](int m, const QString& dentro) {
            return QStringLiteral("%1v %2 %1^").arg(m).arg(dentro);
        };
        QTest::newRow("CTRL+a") << "es"
                                << "^a" << con(KEY_LEFTCTRL, t(KEY_A)) << "";
        QTest::newRow("ALT+a") << "es"
                               << "%a" << con(KEY_LEFTALT, t(KEY_A)) << "";
        QTest::newRow("SHIFT+a") << "es"
                                 << "+a" << con(KEY_LEFTSHIFT, t(KEY_A)) << "";
        QTest::newRow("CTRL+SHIFT+a")
            << "es"
            << "^+a" << con(KEY_LEFTSHIFT, con(KEY_LEFTCTRL, t(KEY_A))) << "";
        QTest::newRow("teclas con nombre")
            << "es"
            << "{ENTER}{TAB}{F5}{UP}"
            << QStringList{t(KEY_ENTER), t(KEY_TAB), t(KEY_F5), t(KEY_UP)}.join(u' ') << "";
        QTest::newRow("@ con AltGr") << "es"
                                     << "@" << con(KEY_RIGHTALT, t(KEY_2)) << "";
        QTest::newRow("á por la tecla muerta")
            << "es"
            << "á" << QStringList{t(KEY_APOSTROPHE), t(KEY_A)}.join(u' ') << "";
        QTest::newRow("SHIFT ya pulsado no se repite")
            << "us"
            << "+@" << con(KEY_LEFTSHIFT, t(KEY_2)) << "";
        QTest::newRow("ñ en us: nada") << "us"
                                       << "añb"
                                       << ""
                                       << "ñ";
        QTest::newRow("€ en us: nada") << "us"
                                       << "{ENTER}€"
                                       << ""
                                       << "€";
    }
    void planes() {
        QFETCH(QString, disposicion);
        QFETCH(QString, texto);
        QFETCH(QString, eventos);
        QFETCH(QString, falta);
        const auto mapa = Mapa(qPrintable(disposicion));
        QVERIFY(mapa);
        const ResultadoNotacion r = AnalizarTeclas(texto);
        QVERIFY(r.valido());
        std::vector<EventoTecla> plan;
        char32_t sinCaracter = 0;
        QCOMPARE(mapa->planear(r.pulsaciones, plan, sinCaracter), falta.isEmpty());
        QCOMPARE(Describir(plan), eventos);
        QCOMPARE(sinCaracter, falta.isEmpty() ? char32_t(0) : falta.toUcs4().front());
    }

    void disposicionDesconocida() {
        NombresXkb n;
        n.disposicion = QStringLiteral("zz-no-existe");
        QString error;
        QVERIFY(!MapaXkb::crear(n, error));
        QVERIFY(error.contains(QStringLiteral("zz-no-existe")));
    }

    void origenes() {
        // GNOME: the most recently used xkb source, else the first; input
        // methods are not layouts.
        NombresXkb g = DesdeFuentesGnome(QStringLiteral("[('ibus', 'anthy'), ('xkb', 'de')]"),
                                         QStringLiteral("[('xkb', 'us'), ('xkb', 'de')]"),
                                         QStringLiteral("['compose:ralt', 'caps:none']"));
        QCOMPARE(g.disposicion, QStringLiteral("de"));
        QCOMPARE(g.opciones, QStringLiteral("compose:ralt,caps:none"));
        g = DesdeFuentesGnome(QStringLiteral("@a(ss) []"), QStringLiteral("[('xkb', 'us+dvorak')]"),
                              QStringLiteral("@as []"));
        QCOMPARE(g.disposicion, QStringLiteral("us"));
        QCOMPARE(g.variante, QStringLiteral("dvorak"));
        QVERIFY(g.opciones.isEmpty());
        QVERIFY(DesdeFuentesGnome({}, QStringLiteral("[('ibus', 'anthy')]"), {}).vacio());

        // Plasma: only when its own layouts are in use.
        const QString kxkbrc = QStringLiteral("[Layout]\nDisplayNames=,\nLayoutList=es,us\n"
                                              "Options=compose:menu\nVariantList=deadtilde,\n"
                                              "Use=%1\n");
        const NombresXkb k = DesdeKxkbrc(kxkbrc.arg("true"));
        QCOMPARE(k.disposicion, QStringLiteral("es"));
        QCOMPARE(k.variante, QStringLiteral("deadtilde"));
        QCOMPARE(k.opciones, QStringLiteral("compose:menu"));
        QVERIFY(DesdeKxkbrc(kxkbrc.arg("false")).vacio());

        const NombresXkb d = DesdeTecladoDebian(QStringLiteral(
            "# KEYBOARD CONFIGURATION FILE\nXKBMODEL=\"pc105\"\nXKBLAYOUT=\"latam,us\"\n"
            "XKBVARIANT=\",\"\nXKBOPTIONS='grp:alt_shift_toggle'\nBACKSPACE=\"guess\"\n"));
        QCOMPARE(d.disposicion, QStringLiteral("latam"));
        QCOMPARE(d.modelo, QStringLiteral("pc105"));
        QVERIFY(d.variante.isEmpty());
        QCOMPARE(d.opciones, QStringLiteral("grp:alt_shift_toggle"));
        QVERIFY(DesdeTecladoDebian(QStringLiteral("XKBLAYOUT=\"\"\n")).vacio());
    }
};

QTEST_MAIN(TestTeclado)
#include "tst_teclado.moc"
