// The catalogue of actions, performing an action through the recording
// injector, and what the window's action controls store and perform.
#include "actions/Catalogo.h"
#include "actions/Procedimientos.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace quimbal;

namespace {
const QStringList kIzq = {"LEFTUP", "LEFTDOWN", "LEFTUP"};
const QStringList kDer = {"RIGHTUP", "RIGHTDOWN", "RIGHTUP"};

// The catalogue in list order: display text and what choosing it alone
// (letter box empty) injects.
const std::pair<const char*, QStringList> kCatalogo[] = {
    {"Sin establecer", {}},
    {"Click izquierdo", kIzq},
    {"Click derecho", kDer},
    {"Espacio en blanco", {"teclas: "}},
    {"ENTER", {"teclas:{ENTER}"}},
    {"ESC", {"teclas:{ESC}"}},
    {"TAB", {"teclas:{TAB}"}},
    {"Flecha arriba", {"teclas:{UP}"}},
    {"Flecha abajo", {"teclas:{DOWN}"}},
    {"Flecha izquierda", {"teclas:{LEFT}"}},
    {"Flecha derecha", {"teclas:{RIGHT}"}},
    {"PgUp", {"teclas:{PGUP}"}},
    {"PgDown", {"teclas:{PGDN}"}},
    {"Backspace", {"teclas:{BACKSPACE}"}},
    {"Delete", {"teclas:{DELETE}"}},
    {"F1", {"teclas:{F1}"}},
    {"F2", {"teclas:{F2}"}},
    {"F3", {"teclas:{F3}"}},
    {"F4", {"teclas:{F4}"}},
    {"F5", {"teclas:{F5}"}},
    {"F6", {"teclas:{F6}"}},
    {"F7", {"teclas:{F7}"}},
    {"F8", {"teclas:{F8}"}},
    {"F9", {"teclas:{F9}"}},
    {"F10", {"teclas:{F10}"}},
    {"F11", {"teclas:{F11}"}},
    {"F12", {"teclas:{F12}"}},
    // Without a letter the modifier alone is pressed and released.
    {"SHIFT+...", {"teclas:+"}},
    {"CTRL+...", {"teclas:^"}},
    {"ALT+...", {"teclas:%"}},
    {"Letra...", {}},
};

// The user's choice of the entry with text `texto` in a list.
void elegir(QComboBox* lista, const QString& texto) {
    const int i = lista->findText(texto);
    QVERIFY(i >= 0);
    lista->setCurrentIndex(i);
    emit lista->activated(i);
}

// The user replaces what a letter box holds by typing `texto`.
void teclear(QLineEdit* caja, const QString& texto) {
    caja->selectAll();
    QTest::keyClicks(caja, texto);
}
} // namespace

class TstAcciones : public QObject {
    Q_OBJECT
private slots:
    void cadaEntradaDelCatalogo_data() {
        QTest::addColumn<int>("posicion");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("registro");
        QCOMPARE(int(std::size(kCatalogo)), kEntradasCatalogo);
        for (int i = 0; i < kEntradasCatalogo; ++i)
            QTest::newRow(kCatalogo[i].first)
                << i << QString::fromUtf8(kCatalogo[i].first) << kCatalogo[i].second;
    }
    void cadaEntradaDelCatalogo() {
        QFETCH(int, posicion);
        QFETCH(QString, texto);
        QFETCH(QStringList, registro);
        QCOMPARE(PosicionEnCatalogo(texto), posicion);
        // Every display text fits the profile's 20-character field unchanged.
        QVERIFY(texto.size() <= 17);
        InyectorFalso iny;
        QVERIFY(RealizarAccion(Accion::desde(texto, {}), iny));
        QCOMPARE(iny.registro, registro);
    }

    void realizarAccion_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("letra");
        QTest::addColumn<QString>("falla"); // "raton", "teclas" or nothing
        QTest::addColumn<bool>("hecha");
        QTest::addColumn<QStringList>("registro");
        QTest::addColumn<QStringList>("rechazados");
        auto fila = [](const char* nombre, const char* texto, const QString& letra,
                       const char* falla, bool hecha, const QStringList& registro,
                       const QStringList& rechazados) {
            QTest::newRow(nombre) << QString::fromUtf8(texto) << letra << QString::fromLatin1(falla)
                                  << hecha << registro << rechazados;
        };
        fila("SHIFT", "SHIFT+...", "a", "", true, {"teclas:+a"}, {});
        fila("CTRL", "CTRL+...", "a", "", true, {"teclas:^a"}, {});
        fila("ALT", "ALT+...", "a", "", true, {"teclas:%a"}, {});
        fila("Letra a", "Letra...", "a", "", true, {"teclas:a"}, {});
        fila("Letra Ab", "Letra...", "Ab", "", true, {"teclas:Ab"}, {});
        fila("Letra ñ", "Letra...", QStringLiteral("ñ"), "", true, {QStringLiteral("teclas:ñ")},
             {});
        fila("click y letra", "Click izquierdo", "x", "", true, kIzq + QStringList{"teclas:x"}, {});
        fila("click derecho y tecla", "Click derecho", "{ENTER}", "", true,
             kDer + QStringList{"teclas:{ENTER}"}, {});
        // A text the catalogue does not have acts as "Sin establecer": only
        // the letter box is typed.
        fila("sin establecer, letra", "Sin establecer", "a", "", true, {"teclas:a"}, {});
        fila("nada elegido", "", "a", "", true, {"teclas:a"}, {});
        fila("otras mayúsculas", "click izquierdo", "a", "", true, {"teclas:a"}, {});
        fila("desconocido, sin letra", "Clic", "", "", true, {}, {});
        // A key string the notation rejects types nothing and is reported;
        // the click before it still happens.
        fila("llave suelta", "Letra...", "ab{", "", false, {}, {});
        fila("click y llave suelta", "Click izquierdo", "}", "", false, kIzq, {});
        fila("tecla desconocida", "SHIFT+...", "{FOO}", "", false, {}, {});
        // Failed button events are skipped and not reported; failed keys are.
        fila("teclas fallan", "F5", "", "teclas", false, {}, {"teclas:{F5}"});
        fila("ratón falla", "Click izquierdo", "x", "raton", true, {"teclas:x"}, kIzq);
    }
    void realizarAccion() {
        QFETCH(QString, texto);
        QFETCH(QString, letra);
        QFETCH(QString, falla);
        QFETCH(bool, hecha);
        QFETCH(QStringList, registro);
        QFETCH(QStringList, rechazados);
        InyectorFalso iny;
        iny.fallarRaton = falla == QLatin1String("raton");
        iny.fallarTeclas = falla == QLatin1String("teclas");
        const Accion a = Accion::desde(texto, letra);
        QCOMPARE(RealizarAccion(a, iny), hecha);
        QCOMPARE(iny.registro, registro);
        QCOMPARE(iny.rechazados, rechazados);
        QCOMPARE(a.teclasValidas, a.error.isEmpty());
    }

    // --- The window's action controls ---

    void listasDelCatalogo() {
        ProgramaDePrueba p;
        p.ventana->cboTeclas1->addItem(QStringLiteral("resto"));
        frmSwitch& f = p.cargar();
        for (QComboBox* lista : {f.cboTeclas1, f.cboTeclas2}) {
            QCOMPARE(lista->count(), kEntradasCatalogo);
            for (int i = 0; i < kEntradasCatalogo; ++i)
                QCOMPARE(lista->itemText(i), QString::fromUtf8(kCatalogo[i].first));
        }
    }

    void elegirAccionGuardaYVaciaLaLetra() {
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        const QList<Usuario> antes = {Usuario::Nuevo(QStringLiteral("Ana")),
                                      Usuario::Nuevo(QStringLiteral("General")),
                                      Usuario::Nuevo(QStringLiteral("Luis"))};
        p.perfiles.cargar(antes);
        QVERIFY(p.perfiles.seleccionar(2));
        f.MostrarUsuario(2);
        elegir(f.cboTeclas1, QStringLiteral("F1"));
        elegir(f.cboTeclas2, QStringLiteral("Letra..."));
        teclear(f.txtLetra2, QStringLiteral("x"));
        QCOMPARE(p.perfiles.usuario(2).Letra2.recortado(), QStringLiteral("x"));
        elegir(f.cboTeclas2, QStringLiteral("F5"));
        const Usuario& u = p.perfiles.usuario(2);
        QCOMPARE(u.Accion2.texto(), QStringLiteral("F5").leftJustified(20));
        QCOMPARE(f.txtLetra2->text(), QString());
        QCOMPARE(u.Letra2.recortado(), QString());
        QCOMPARE(u.Accion1.recortado(), QStringLiteral("F1"));
        // Only the profile in use changes.
        QCOMPARE(p.perfiles.usuario(0), antes[0]);
        QCOMPARE(p.perfiles.usuario(1), antes[1]);
        // Each input performs what its own controls show.
        QVERIFY(p.entradas.ActivarSwitch2());
        QVERIFY(p.entradas.ActivarSwitch1());
        QCOMPARE(p.inyector.registro, QStringList({"teclas:{F5}", "teclas:{F1}"}));
    }

    void reelegirLetraConservaLaLetra() {
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        elegir(f.cboTeclas1, QStringLiteral("Letra..."));
        teclear(f.txtLetra1, QStringLiteral("a"));
        elegir(f.cboTeclas1, QStringLiteral("Letra..."));
        QCOMPARE(f.txtLetra1->text(), QStringLiteral("a"));
        QCOMPARE(p.perfiles.enUso().Letra1.recortado(), QStringLiteral("a"));
        QCOMPARE(p.perfiles.enUso().Accion1.recortado(), QStringLiteral("Letra..."));
        // SHIFT+... empties it; the letter typed afterwards goes with SHIFT.
        elegir(f.cboTeclas1, QStringLiteral("SHIFT+..."));
        QCOMPARE(f.txtLetra1->text(), QString());
        QCOMPARE(p.perfiles.enUso().Letra1.recortado(), QString());
        teclear(f.txtLetra1, QStringLiteral("b"));
        QVERIFY(p.entradas.ActivarSwitch1());
        QCOMPARE(p.inyector.registro, QStringList{"teclas:+b"});
    }

    void letraLargaSeUsaEnteraPeroSeGuardaCortada() {
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        const QString larga = QStringLiteral("abcdefghijklmnopqrstuvwxy"); // 25
        elegir(f.cboTeclas1, QStringLiteral("Letra..."));
        teclear(f.txtLetra1, larga);
        QCOMPARE(f.txtLetra1->text(), larga);
        QCOMPARE(p.perfiles.enUso().Letra1.texto(), larga.left(20));
        QVERIFY(p.entradas.ActivarSwitch1());
        QCOMPARE(p.inyector.registro, QStringList{"teclas:" + larga});
        // Case and inner spaces are kept as typed.
        teclear(f.txtLetra1, QStringLiteral("A b"));
        QCOMPARE(p.perfiles.enUso().Letra1.recortado(), QStringLiteral("A b"));
    }
};

QTEST_MAIN(TstAcciones)
#include "tst_acciones.moc"
