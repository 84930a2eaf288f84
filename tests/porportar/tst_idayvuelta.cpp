// The profile files through the real main window: a start, the user's work
// with the profile controls, and the save at exit. What the user did not
// change comes back byte for byte.
#include "actions/Catalogo.h"
#include "platform/Dialogos.h"
#include "profiles/Archivos.h"
#include "profiles/Registros.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "tests/fakes/DialogosFalsos.h"
#include "ui/frmSwitch.h"

#include <QTest>

using namespace quimbal;

namespace {
QByteArray reg(const Usuario& u) {
    return RegistroDeUsuario(u);
}

Usuario perfil(const char* nombre, const char* a1, const char* l1, const char* a2, const char* l2,
               std::int16_t modo, std::int16_t umbral, std::int16_t retraso) {
    Usuario u = Usuario::Nuevo(QString::fromUtf8(nombre));
    u.Accion1 = QString::fromUtf8(a1);
    u.Letra1 = QString::fromUtf8(l1);
    u.Accion2 = QString::fromUtf8(a2);
    u.Letra2 = QString::fromUtf8(l2);
    u.Modo = modo;
    u.Umbral = umbral;
    u.Retraso = retraso;
    return u;
}

// The start as far as profiles go: lists, catalogue, both files, the first
// profile, then the one used last (by name, ignoring case and spaces).
void arrancar(frmSwitch& f) {
    f.cboSwitch->Clear();
    for (int i = 0; i <= 4; ++i)
        f.cboSwitch->AddItem(QString::number(i));
    f.cboSonido->Clear();
    for (int i = 1; i <= 10; ++i)
        f.cboSonido->AddItem(QString::number(i));
    ConstruirCatalogo(*f.cboTeclas1, *f.cboTeclas2, f.Teclas);
    QVERIFY(CargarUsuarios(*f.cboUsuario));
    f.cboUsuario->setListIndex(0);
    QVERIFY(CargarConfiguracion());
    UltimoUsuario = ConfigInicio.NombreUsuario.texto();
    PuertoSwitch = ConfigInicio.Puerto;
    for (int i = 0; i < f.cboUsuario->ListCount(); ++i) {
        if (Recortar(f.cboUsuario->List(i)).toUpper() == Recortar(UltimoUsuario).toUpper()) {
            f.cboUsuario->setListIndex(i);
            f.MostrarUsuario(i);
        }
    }
}
} // namespace

class TestIdaYVuelta : public QObject {
    Q_OBJECT
private slots:
    void sinCambiosVuelveIgual();
    void conCambiosSoloCambiaLoTocado();
};

void TestIdaYVuelta::sinCambiosVuelveIgual() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    const QByteArray usuarios = reg(Usuario::Nuevo(QStringLiteral("General"))) +
                                reg(perfil("Ana", "SHIFT+...", "a", "F5", "", 2, 8, 1200)) +
                                reg(perfil("Pedro", "Letra...", "x", "CTRL+...", "c", 1, 3, 250));
    TipoConfigInicio c;
    c.Puerto = 2;
    c.NombreUsuario = QStringLiteral("Ana");
    carpeta.escribir(QStringLiteral("usuarios.dat"), usuarios);
    carpeta.escribir(QStringLiteral("quimbal.dat"), RegistroDeConfig(c));

    frmSwitch f;
    arrancar(f);
    QCOMPARE(Recortar(f.cboUsuario->Text()), QStringLiteral("Ana"));
    QCOMPARE(f.cboTeclas1->Text(), QStringLiteral("SHIFT+..."));
    QCOMPARE(f.txtLetra1->Text(), QStringLiteral("a"));
    QCOMPARE(f.cboTeclas2->Text(), QStringLiteral("F5"));
    QCOMPARE(f.cboSonido->Text(), QStringLiteral("8"));
    QCOMPARE(f.tmrDelaySonido->Interval(), 1200);
    for (int k : {0, 2, 1, 2, 0, 1})
        f.cboUsuario->setListIndex(k);
    QCOMPARE(f.txtLetra2->Text(), QString());

    QVERIFY(GuardarTodo(*f.cboUsuario, PuertoSwitch));
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), usuarios);
    QCOMPARE(carpeta.leer(QStringLiteral("quimbal.dat")), RegistroDeConfig(c));
    QVERIFY(s.dialogos.mensajes.isEmpty());
}

void TestIdaYVuelta::conCambiosSoloCambiaLoTocado() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    const Usuario general = Usuario::Nuevo(QStringLiteral("General"));
    const Usuario ana = perfil("Ana", "SHIFT+...", "a", "F5", "", 2, 8, 1200);
    const Usuario pedro = perfil("Pedro", "Letra...", "x", "CTRL+...", "c", 1, 3, 250);
    const Usuario luz = perfil("Luz", "ESC", "", "TAB", "", 1, 5, 400);
    carpeta.escribir(QStringLiteral("usuarios.dat"),
                     reg(pedro) + reg(general) + reg(ana) + reg(luz));
    {
        // First run: Zoe added (in the file at once), Pedro deleted, Ana reset.
        frmSwitch f;
        arrancar(f);
        s.dialogos.textos = {QStringLiteral("zoe")};
        f.cmdAgregar->pulsar();
        QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")).size(), 5 * 106);
        QCOMPARE(Recortar(f.cboUsuario->Text()), QStringLiteral("Zoe"));
        f.cboUsuario->setListIndex(3); // Pedro, after sorting
        QCOMPARE(Recortar(f.cboUsuario->Text()), QStringLiteral("Pedro"));
        s.dialogos.respuestas = {vbYes};
        f.cmdEliminar->pulsar();
        f.cboUsuario->setListIndex(0);
        QCOMPARE(Recortar(f.cboUsuario->Text()), QStringLiteral("Ana"));
        f.cmdPorDefecto->pulsar();
        f.cboUsuario->setListIndex(2);
        QVERIFY(GuardarTodo(*f.cboUsuario, 0));
    }
    Usuario anaRestablecida = ana;
    anaRestablecida.Accion1 = anaRestablecida.Accion2 = QStringLiteral("Click izquierdo");
    anaRestablecida.Letra1 = anaRestablecida.Letra2 = QString();
    anaRestablecida.Retraso = 400;
    const QByteArray esperado =
        reg(anaRestablecida) + reg(general) + reg(luz) + reg(Usuario::Nuevo(QStringLiteral("Zoe")));
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), esperado);
    QCOMPARE(carpeta.leer(QStringLiteral("quimbal.dat")),
             QByteArray("\x00Luz", 4) + QByteArray(17, ' '));

    // Second run: nothing touched, the files stay as they are.
    ReiniciarArchivos();
    ReiniciarDeclaraciones();
    frmSwitch g;
    arrancar(g);
    QCOMPARE(Recortar(g.cboUsuario->Text()), QStringLiteral("Luz"));
    QCOMPARE(g.cboTeclas1->Text(), QStringLiteral("ESC"));
    QVERIFY(GuardarTodo(*g.cboUsuario, PuertoSwitch));
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), esperado);
    QCOMPARE(carpeta.leer(QStringLiteral("quimbal.dat")),
             QByteArray("\x00Luz", 4) + QByteArray(17, ' '));
}

QTEST_MAIN(TestIdaYVuelta)
#include "tst_idayvuelta.moc"
