// Performing an input's action through the recording injector, and what the
// action controls store in the current profile.
#include "actions/Procedimientos.h"
#include "profiles/Declaraciones.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/InyectorFalso.h"
#include "ui/frmSwitch.h"

#include <QTest>
#include <memory>

using namespace quimbal;

namespace {
const QStringList kClickIzq = {"LEFTUP", "DoEvents", "LEFTDOWN", "DoEvents", "LEFTUP", "DoEvents"};
const QStringList kClickDer = {"RIGHTUP",  "DoEvents", "RIGHTDOWN",
                               "DoEvents", "RIGHTUP",  "DoEvents"};
} // namespace

class TestAcciones : public QObject {
    Q_OBJECT
    std::unique_ptr<ServiciosDePrueba> serv;
    std::unique_ptr<InyectorDePrueba> iny;
    std::unique_ptr<frmSwitch> w;

    QStringList& registro() { return iny->inyector.registro; }
    // As the user would: choose the entry, then type the letter.
    void elegir(Lista* cbo, CajaTexto* txt, const char* entrada, const QString& letra = {}) {
        cbo->setListIndex(PosicionEnCatalogo(QString::fromUtf8(entrada)));
        txt->setText(letra);
        registro().clear();
    }

private slots:
    void init() {
        ReiniciarDeclaraciones();
        serv = std::make_unique<ServiciosDePrueba>();
        iny = std::make_unique<InyectorDePrueba>();
        iny->inyector.observar(serv->bucle);
        w = std::make_unique<frmSwitch>();
        ConstruirCatalogo(*w->cboTeclas1, *w->cboTeclas2, w->Teclas);
        UsuarioActual = 0;
    }
    void cleanup() {
        w.reset();
        iny.reset();
        serv.reset();
    }

    void clicks() {
        elegir(w->cboTeclas1, w->txtLetra1, "Click izquierdo");
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), kClickIzq); // no keystroke at all
        elegir(w->cboTeclas2, w->txtLetra2, "Click derecho");
        QVERIFY(w->ActivarSwitch2());
        QCOMPARE(registro(), kClickDer);
    }

    void cadaEntradaDeTecla() {
        for (int i = 3; i <= 26; ++i) {
            const char* texto = Catalogo[static_cast<std::size_t>(i)].texto;
            elegir(w->cboTeclas1, w->txtLetra1, texto);
            QVERIFY(w->ActivarSwitch1());
            const QStringList esperado{
                QStringLiteral("teclas:") +
                QString::fromUtf8(Catalogo[static_cast<std::size_t>(i)].codigo)};
            QVERIFY2(registro() == esperado, texto);
        }
    }

    void entradasConLetra_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("letra");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("SHIFT") << "SHIFT+..."
                               << "a" << QStringList{"teclas:+a"};
        QTest::newRow("CTRL") << "CTRL+..."
                              << "a" << QStringList{"teclas:^a"};
        QTest::newRow("ALT") << "ALT+..."
                             << "a" << QStringList{"teclas:%a"};
        QTest::newRow("Letra") << "Letra..."
                               << "a" << QStringList{"teclas:a"};
        QTest::newRow("Letra ab") << "Letra..."
                                  << "ab" << QStringList{"teclas:ab"};
        QTest::newRow("Letra A") << "Letra..."
                                 << "A" << QStringList{"teclas:A"};
        QTest::newRow("Letra ñ") << "Letra..." << QStringLiteral("ñ")
                                 << QStringList{QStringLiteral("teclas:ñ")};
        QTest::newRow("Sin establecer") << "Sin establecer"
                                        << "" << QStringList{};
        QTest::newRow("nada elegido") << ""
                                      << "a" << QStringList{"teclas:a"};
        QTest::newRow("nada elegido, sin letra") << ""
                                                 << "" << QStringList{};
        QTest::newRow("click y letra") << "Click izquierdo"
                                       << "x" << (kClickIzq + QStringList{"teclas:x"});
        QTest::newRow("click derecho y tecla")
            << "Click derecho"
            << "{ENTER}" << (kClickDer + QStringList{"teclas:{ENTER}"});
    }
    void entradasConLetra() {
        QFETCH(QString, entrada);
        QFETCH(QString, letra);
        QFETCH(QStringList, esperado);
        elegir(w->cboTeclas1, w->txtLetra1, entrada.toUtf8().constData(), letra);
        if (entrada.isEmpty())
            QCOMPARE(w->cboTeclas1->ListIndex(), -1);
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), esperado);
        // Input 2 has its own controls: the same with them.
        registro().clear();
        elegir(w->cboTeclas2, w->txtLetra2, entrada.toUtf8().constData(), letra);
        w->cboTeclas1->setListIndex(PosicionEnCatalogo(QStringLiteral("F1")));
        registro().clear();
        QVERIFY(w->ActivarSwitch2());
        QCOMPARE(registro(), esperado);
    }

    // A key string the notation rejects types nothing and is reported; a
    // click before it still happens.
    void cadenaRechazada() {
        elegir(w->cboTeclas1, w->txtLetra1, "Letra...", "ab{");
        QVERIFY(!w->ActivarSwitch1());
        QVERIFY(registro().isEmpty());
        QVERIFY(iny->inyector.rechazados.isEmpty()); // never reached the injector
        elegir(w->cboTeclas1, w->txtLetra1, "Click izquierdo", "}");
        QVERIFY(!w->ActivarSwitch1());
        QCOMPARE(registro(), kClickIzq);
        elegir(w->cboTeclas1, w->txtLetra1, "SHIFT+...", "{FOO}");
        QVERIFY(!w->ActivarSwitch1());
        QVERIFY(registro().isEmpty());
    }

    void fallosDelInyector() {
        iny->inyector.fallarTeclas = true;
        elegir(w->cboTeclas2, w->txtLetra2, "F5");
        QVERIFY(!w->ActivarSwitch2());
        QCOMPARE(iny->inyector.rechazados, QStringList{"teclas:{F5}"});
        // Failed mouse events are skipped: the gesture goes on, pumps included.
        iny->inyector.fallarTeclas = false;
        iny->inyector.fallarRaton = true;
        elegir(w->cboTeclas1, w->txtLetra1, "Click izquierdo");
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), (QStringList{"DoEvents", "DoEvents", "DoEvents"}));
        QCOMPARE(iny->inyector.rechazados.mid(1), (QStringList{"LEFTUP", "LEFTDOWN", "LEFTUP"}));
        // No injector installed at all: a failure, not a crash.
        servicios().inyector = nullptr;
        elegir(w->cboTeclas1, w->txtLetra1, "ENTER");
        QVERIFY(!w->ActivarSwitch1());
    }

    // The pumps between mouse events run other handlers; what they change
    // before the key string is sent is what gets sent.
    void cambiosDuranteElBombeo() {
        elegir(w->cboTeclas1, w->txtLetra1, "Click izquierdo", "x");
        serv->bucle.alBombear = [this] {
            w->cboTeclas1->setListIndex(-1);
            w->txtLetra1->setText(QStringLiteral("y"));
        };
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), kClickIzq + QStringList{"teclas:y"});
        serv->bucle.alBombear = [this] { w->cboTeclas1->setListIndex(4); };
        elegir(w->cboTeclas1, w->txtLetra1, "Click derecho");
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), kClickDer + QStringList{"teclas:{ENTER}"});
    }

    void gestos() {
        const QList<QStringList> esperados = {
            {"LEFTDOWN", "LEFTUP"},
            {"RIGHTDOWN", "RIGHTUP"},
            {"LEFTDOWN", "LEFTUP", "LEFTDOWN", "LEFTUP"},
            {"LEFTDOWN"},
            {"LEFTUP"},
            {"RIGHTDOWN"},
            {"RIGHTUP"},
        };
        for (int codigo = -1; codigo <= 7; ++codigo) {
            registro().clear();
            serv->bucle.llamadas = 0;
            EmularClick(codigo);
            QStringList esperado;
            if (codigo >= 0 && codigo <= 6)
                for (const QString& e : esperados[codigo])
                    esperado << e << "DoEvents";
            QCOMPARE(registro(), esperado);
            QCOMPARE(serv->bucle.llamadas, static_cast<int>(esperado.size() / 2));
        }
    }

    void soltarNoHaceNada() {
        elegir(w->cboTeclas1, w->txtLetra1, "Click izquierdo");
        w->DesactivarSwitch1();
        w->DesactivarSwitch2();
        QVERIFY(registro().isEmpty());
        QCOMPARE(serv->bucle.llamadas, 0);
    }

    // --- What the controls store in the current profile ---

    void elegirAccionGuardaYVaciaLaLetra() {
        UsuarioActual = 2;
        elegir(w->cboTeclas2, w->txtLetra2, "Letra...", "x");
        QCOMPARE(Usuarios[2].Letra2.recortado(), QStringLiteral("x"));
        w->cboTeclas2->setListIndex(PosicionEnCatalogo("F5"));
        QCOMPARE(Usuarios[2].Accion2.texto(), QStringLiteral("F5").leftJustified(20));
        QCOMPARE(w->txtLetra2->Text(), QString());
        QCOMPARE(Usuarios[2].Letra2.recortado(), QString());
        QCOMPARE(Usuarios[0], Usuario{}); // only the current profile changes
        QCOMPARE(Usuarios[2].Accion1, TextoFijo{});
    }

    void reelegirLetraConservaLaLetra() {
        elegir(w->cboTeclas1, w->txtLetra1, "Letra...");
        QTest::keyClicks(w->txtLetra1, "a");
        QCOMPARE(Usuarios[0].Letra1.recortado(), QStringLiteral("a"));
        w->cboTeclas1->setListIndex(PosicionEnCatalogo("Letra..."));
        QCOMPARE(w->txtLetra1->Text(), QStringLiteral("a"));
        QCOMPARE(Usuarios[0].Letra1.recortado(), QStringLiteral("a"));
        QCOMPARE(Usuarios[0].Accion1.recortado(), QStringLiteral("Letra..."));
        // SHIFT+... empties it; the letter typed afterwards goes with SHIFT.
        w->cboTeclas1->setListIndex(PosicionEnCatalogo("SHIFT+..."));
        QCOMPARE(w->txtLetra1->Text(), QString());
        QCOMPARE(Usuarios[0].Letra1.recortado(), QString());
        QTest::keyClicks(w->txtLetra1, "b");
        registro().clear();
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), QStringList{"teclas:+b"});
    }

    void letraLargaSeUsaEnteraPeroSeGuardaCortada() {
        const QString larga = QStringLiteral("abcdefghijklmnopqrstuvwxy"); // 25
        elegir(w->cboTeclas1, w->txtLetra1, "Letra...", larga);
        QCOMPARE(w->txtLetra1->Text(), larga);
        QCOMPARE(Usuarios[0].Letra1.texto(), larga.left(20));
        QVERIFY(w->ActivarSwitch1());
        QCOMPARE(registro(), QStringList{"teclas:" + larga});
        // Case and inner spaces are kept as typed.
        w->txtLetra1->setText(QStringLiteral("A b"));
        QCOMPARE(Usuarios[0].Letra1.recortado(), QStringLiteral("A b"));
    }
};

QTEST_MAIN(TestAcciones)
#include "tst_acciones.moc"
