// Profile management through the main window: selecting, showing, adding,
// deleting, sorting and restoring defaults, with the profile table, the data
// files and the window as the program wires them.
#include "tests/fakes/CarpetaDePrueba.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace quimbal;

namespace {
QStringList lista(std::initializer_list<const char*> l) {
    QStringList r;
    for (const char* s : l)
        r << QString::fromUtf8(s);
    return r;
}

// A program whose profile file holds these profiles, loaded.
struct Banco : ProgramaDePrueba {
    explicit Banco(const QList<Usuario>& usuarios) {
        QByteArray datos;
        for (const Usuario& u : usuarios)
            datos += RegistroDeUsuario(u);
        carpeta.escribir(QStringLiteral("usuarios.dat"), datos);
        cargar();
    }
    explicit Banco(const QStringList& nombres) : Banco(usuariosDe(nombres)) {}
    static QList<Usuario> usuariosDe(const QStringList& nombres) {
        QList<Usuario> r;
        for (const QString& n : nombres)
            r << Usuario::Nuevo(n);
        return r;
    }
    QStringList nombres() const {
        QStringList r;
        for (int k = 0; k < ventana->cboUsuario->count(); ++k)
            r << Recortar(ventana->cboUsuario->itemText(k));
        return r;
    }
    QByteArray archivo() const { return carpeta.leer(QStringLiteral("usuarios.dat")); }
    void elegir(int i) {
        ventana->cboUsuario->setCurrentIndex(i);
        ventana->cboUsuario_Click();
    }
    // The table and the list agree entry by entry, and the selected entry is
    // the profile in use.
    void comprobarInvariantes() const {
        QCOMPARE(ventana->cboUsuario->count(), perfiles.cuenta());
        for (int k = 0; k < perfiles.cuenta(); ++k)
            QCOMPARE(ventana->cboUsuario->itemText(k), perfiles.usuario(k).Nombre.texto());
        QCOMPARE(ventana->cboUsuario->currentIndex(), perfiles.actual());
    }
};
} // namespace

class TestPerfiles : public QObject {
    Q_OBJECT
private slots:
    void agregarOrdenaYSelecciona() {
        Banco b(lista({"General", "Pedro"}));
        const qsizetype antes = b.archivo().size();
        bool banderaEnLaPregunta = false;
        b.dialogos.mientrasAbierto = [&] { banderaEnLaPregunta = b.ventana->AgregandoUsuario; };
        b.dialogos.textos = {QStringLiteral(" ana ")};
        b.ventana->cmdAgregar_Click();

        QCOMPARE(b.dialogos.preguntas.size(), 1);
        QCOMPARE(b.dialogos.preguntas[0].texto,
                 QStringLiteral("Ingrese el nombre de un nuevo usuario"));
        QCOMPARE(b.dialogos.preguntas[0].titulo, QStringLiteral("Agregar nuevo usuario"));
        QVERIFY(banderaEnLaPregunta);
        QVERIFY(!b.ventana->AgregandoUsuario);
        QVERIFY(b.dialogos.mensajes.isEmpty());
        QCOMPARE(b.nombres(), lista({"Ana", "General", "Pedro"}));
        b.comprobarInvariantes();
        QCOMPARE(b.perfiles.actual(), 0);
        QCOMPARE(b.perfiles.usuario(0), Usuario::Nuevo(QStringLiteral("Ana")));
        QCOMPARE(b.ventana->cboTeclas1->currentText(), QStringLiteral("Click izquierdo"));
        QCOMPARE(b.ventana->cboTeclas2->currentText(), QStringLiteral("Click izquierdo"));
        QCOMPARE(b.ventana->txtLetra1->text(), QString());
        QVERIFY(b.ventana->optSwitch->isChecked());
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("5"));
        // The file grew by exactly the new record at once.
        QCOMPARE(b.archivo().size(), antes + 106);
        QVERIFY(b.archivo().endsWith(RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("Ana")))));

        // Álvaro sorts after Zoe; x becomes X; a digit stays and sorts first.
        for (const char* n : {"Zoe", "Álvaro", "x", "2do turno"}) {
            b.dialogos.textos << QString::fromUtf8(n);
            b.ventana->cmdAgregar_Click();
        }
        QCOMPARE(b.nombres(),
                 lista({"2do turno", "Ana", "General", "Pedro", "X", "Zoe", "Álvaro"}));
        b.comprobarInvariantes();
        QCOMPARE(b.perfiles.enUso().Nombre.recortado(), QStringLiteral("2do turno"));
    }

    void agregarRechazaRepetidosVaciosYRaros() {
        Banco b(lista({"Ana", "General", "Pedro"}));
        b.elegir(2);
        const QByteArray archivo = b.archivo();
        QList<bool> banderas;
        b.dialogos.mientrasAbierto = [&] { banderas << b.ventana->AgregandoUsuario; };
        b.dialogos.textos = {QStringLiteral("ANA"), QStringLiteral("ana"),
                             QStringLiteral(" general"), QString(), QStringLiteral("    ")};
        for (int i = 0; i < 5; ++i)
            b.ventana->cmdAgregar_Click();
        QCOMPARE(b.dialogos.mensajes.size(), 3);
        for (const MensajeMostrado& m : std::as_const(b.dialogos.mensajes)) {
            QCOMPARE(m.texto, QStringLiteral("Ese nombre de usuario ya existe!!!"));
            QCOMPARE(m.titulo, QStringLiteral("Error"));
            QCOMPARE(m.estilo, vbCritical);
        }
        // Raised for each prompt and each "in use" box, and only then.
        QCOMPARE(banderas, QList<bool>(8, true));
        QVERIFY(!b.ventana->AgregandoUsuario);
        QCOMPARE(b.nombres(), lista({"Ana", "General", "Pedro"}));
        QCOMPARE(b.perfiles.actual(), 2);
        QCOMPARE(b.archivo(), archivo);

        // Cut to 20 before the checks: the second name agrees in its first 20
        // characters and is refused, so each entry leads to one profile.
        b.dialogos.mensajes.clear();
        b.dialogos.mientrasAbierto = nullptr;
        b.dialogos.textos = {QStringLiteral("maría de los ángeles rodríguez"),
                             QStringLiteral("María de los Ángeles Pérez"), QStringLiteral("Tom 😀"),
                             QStringLiteral("a\tb")};
        for (int i = 0; i < 4; ++i)
            b.ventana->cmdAgregar_Click();
        QCOMPARE(b.nombres(), lista({"Ana", "General", "María de los ángeles", "Pedro"}));
        QCOMPARE(b.dialogos.mensajes.size(), 3);
        QCOMPARE(b.dialogos.mensajes[0].texto,
                 QStringLiteral("Ese nombre de usuario ya existe!!!"));
        QCOMPARE(b.dialogos.mensajes[1].texto,
                 QStringLiteral("El nombre tiene caracteres que no se pueden guardar: 😀"));
        QCOMPARE(b.dialogos.mensajes[1].estilo, vbExclamation);
        QCOMPARE(b.dialogos.mensajes[2].texto,
                 QStringLiteral("El nombre tiene caracteres que no se pueden guardar: \t"));
        QCOMPARE(PrepararNombre(QStringLiteral("  ñu  ")), QStringLiteral("Ñu"));
        QCOMPARE(PrepararNombre(QStringLiteral("abcdefghijklmnopqrs tuv")),
                 QStringLiteral("Abcdefghijklmnopqrs"));
    }

    void agregarConLaTablaLlena() {
        QStringList nombres{QStringLiteral("General")};
        for (int i = 1; i < 21; ++i)
            nombres << QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0'));
        Banco b(nombres);
        const QByteArray archivo = b.archivo();
        b.dialogos.textos = {QStringLiteral("Otro")};
        b.ventana->cmdAgregar_Click();
        QVERIFY(b.dialogos.preguntas.isEmpty()); // refused before asking for a name
        QCOMPARE(b.dialogos.mensajes.size(), 1);
        QCOMPARE(
            b.dialogos.mensajes[0].texto,
            QStringLiteral("No se pueden agregar más usuarios: la lista ya tiene 21, el máximo."));
        QCOMPARE(b.perfiles.cuenta(), 21);
        QCOMPARE(b.archivo(), archivo);
        QCOMPARE(b.perfiles.agregar(QStringLiteral("Otro")).alta, Perfiles::Alta::Llena);

        // With room for one more, the 21st goes in and the next is refused.
        b.dialogos.respuestas = {vbYes};
        b.elegir(20);
        b.ventana->cmdEliminar_Click();
        b.dialogos.textos = {QStringLiteral("Otro"), QStringLiteral("Más")};
        b.ventana->cmdAgregar_Click();
        b.ventana->cmdAgregar_Click();
        QCOMPARE(b.perfiles.cuenta(), 21);
        QVERIFY(b.nombres().contains(QStringLiteral("Otro")));
        QCOMPARE(b.dialogos.preguntas.size(), 1);
        b.comprobarInvariantes();
    }

    void eliminarYQueEntradaQuedaElegida() {
        QList<Usuario> us = Banco::usuariosDe(lista({"Ana", "Bea", "Ceci", "General"}));
        us[2].Umbral = 9;
        Banco b(us);
        const QByteArray archivo = b.archivo();

        // The second of several: the first becomes current.
        b.elegir(1);
        b.dialogos.respuestas = {vbYes};
        b.ventana->cmdEliminar_Click();
        QCOMPARE(b.dialogos.mensajes.last().texto,
                 QStringLiteral("¿Está seguro de eliminar el usuario actual?"));
        QCOMPARE(b.dialogos.mensajes.last().titulo, QStringLiteral("Atención"));
        QCOMPARE(b.dialogos.mensajes.last().estilo, 36);
        QCOMPARE(b.nombres(), lista({"Ana", "Ceci", "General"}));
        QCOMPARE(b.perfiles.actual(), 0);
        QCOMPARE(b.perfiles.usuario(1).Umbral, std::int16_t{9});
        b.comprobarInvariantes();

        // The first: the one that moved into first place becomes current.
        b.dialogos.respuestas = {vbYes};
        b.ventana->cmdEliminar_Click();
        QCOMPARE(b.nombres(), lista({"Ceci", "General"}));
        QCOMPARE(b.perfiles.enUso().Nombre.recortado(), QStringLiteral("Ceci"));
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("9"));

        // The last: the one before it.
        b.dialogos.textos = {QStringLiteral("Zoe")};
        b.ventana->cmdAgregar_Click();
        b.elegir(2);
        b.dialogos.respuestas = {vbYes};
        b.ventana->cmdEliminar_Click();
        QCOMPARE(b.nombres(), lista({"Ceci", "General"}));
        QCOMPARE(b.perfiles.actual(), 1);
        b.comprobarInvariantes();
        // Deleting writes nothing: only the appended Zoe reached the file.
        QCOMPARE(b.archivo().size(), archivo.size() + 106);
    }

    void eliminarProtegidosYNo() {
        Banco b(lista({"Ana", "General"}));
        b.elegir(1);
        b.ventana->cmdEliminar_Click();
        QCOMPARE(b.dialogos.mensajes.size(), 1); // the refusal, no confirmation
        QCOMPARE(b.dialogos.mensajes[0].texto,
                 QStringLiteral("No se puede eliminar el usuario ' General '"));
        QCOMPARE(b.dialogos.mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(b.dialogos.mensajes[0].estilo, vbExclamation);

        // No leaves everything as it was.
        b.elegir(0);
        b.dialogos.respuestas = {vbNo};
        b.ventana->cmdEliminar_Click();
        QCOMPARE(b.nombres(), lista({"Ana", "General"}));
        QCOMPARE(b.perfiles.actual(), 0);

        // A file without "General": the last profile stays.
        Banco c(lista({"general "}));
        c.dialogos.respuestas = {vbYes};
        c.ventana->cmdEliminar_Click();
        QCOMPARE(c.dialogos.mensajes.last().texto,
                 QStringLiteral("No se puede eliminar el único usuario de la lista."));
        QCOMPARE(c.perfiles.cuenta(), 1);
        c.comprobarInvariantes();
    }

    void restablecerConservaModoYUmbral() {
        Usuario u = Usuario::Nuevo(QStringLiteral("Luis"));
        u.Accion1 = QStringLiteral("SHIFT+...");
        u.Letra1 = QStringLiteral("a");
        u.Accion2 = QStringLiteral("F5");
        u.Letra2 = QStringLiteral("zz");
        u.Modo = kModoSonido;
        u.Umbral = 8;
        u.Retraso = 1200;
        Banco b({Usuario::Nuevo(QStringLiteral("General")), u});
        b.elegir(1);
        b.ventana->cmdPorDefecto_Click();
        const Usuario& r = b.perfiles.usuario(1);
        QCOMPARE(r.Accion1.recortado(), QStringLiteral("Click izquierdo"));
        QCOMPARE(r.Accion2.recortado(), QStringLiteral("Click izquierdo"));
        QCOMPARE(r.Letra1.recortado(), QString());
        QCOMPARE(r.Letra2.recortado(), QString());
        QCOMPARE(r.Retraso, std::int16_t{400});
        QCOMPARE(r.Modo, kModoSonido);
        QCOMPARE(r.Umbral, std::int16_t{8});
        QCOMPARE(r.Nombre.recortado(), QStringLiteral("Luis"));
        QCOMPARE(b.ventana->cboTeclas1->currentText(), QStringLiteral("Click izquierdo"));
        QCOMPARE(b.ventana->txtLetra2->text(), QString());
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("8"));
        QCOMPARE(b.perfiles.usuario(0), Usuario::Nuevo(QStringLiteral("General")));
        QVERIFY(b.dialogos.mensajes.isEmpty());
        // The inputs perform what is shown now.
        b.entradas.ActivarSwitch1();
        QCOMPARE(b.inyector.registro, lista({"LEFTUP", "LEFTDOWN", "LEFTUP"}));
    }

    void mostrarNoCambiaLoGuardado() {
        Usuario u = Usuario::Nuevo(QStringLiteral("Luis"));
        u.Accion1 = QStringLiteral("SHIFT+...");
        u.Letra1 = QStringLiteral("a");
        u.Accion2 = QStringLiteral("F5");
        u.Letra2 = QStringLiteral(" q"); // a letter stored with a leading space stays so
        Banco b({Usuario::Nuevo(QStringLiteral("General")), u});
        const QByteArray archivo = b.archivo();
        b.elegir(1);
        QCOMPARE(b.ventana->cboTeclas1->currentText(), QStringLiteral("SHIFT+..."));
        QCOMPARE(b.ventana->txtLetra1->text(), QStringLiteral("a"));
        QCOMPARE(b.ventana->cboTeclas2->currentText(), QStringLiteral("F5"));
        QCOMPARE(b.ventana->txtLetra2->text(), QStringLiteral("q"));
        QCOMPARE(b.perfiles.usuario(1), u);
        b.elegir(0);
        b.elegir(1);
        QCOMPARE(b.perfiles.usuario(1), u);
        b.entradas.ActivarSwitch1();
        b.entradas.ActivarSwitch2();
        QCOMPARE(b.inyector.registro, lista({"teclas:+a", "teclas:{F5}q"}));

        // Start, show every profile, save: the file comes back byte for byte.
        QVERIFY(b.archivos.GuardarTodo(b.perfiles).isEmpty());
        QCOMPARE(b.archivo(), archivo);
    }

    void mostrarValoresFueraDeRango() {
        Usuario raro = Usuario::Nuevo(QStringLiteral("Raro"));
        raro.Accion1 = QStringLiteral("Teletransporte");
        raro.Letra1 = QStringLiteral("k");
        raro.Modo = 0;
        raro.Umbral = 0;
        raro.Retraso = -5;
        Usuario alto = Usuario::Nuevo(QStringLiteral("Alto"));
        alto.Modo = 7;
        alto.Umbral = 15;
        alto.Retraso = 0;
        Banco b({raro, alto});

        QCOMPARE(b.ventana->cboTeclas1->currentText(), QStringLiteral("Sin establecer"));
        QCOMPARE(b.perfiles.usuario(0).Accion1.recortado(), QStringLiteral("Teletransporte"));
        QCOMPARE(b.ventana->txtLetra1->text(), QStringLiteral("k"));
        QVERIFY(b.ventana->optSonido->isChecked());
        QCOMPARE(b.perfiles.usuario(0).Modo, kModoSonido);
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("1"));
        QCOMPARE(b.perfiles.usuario(0).Umbral, std::int16_t{1});
        QCOMPARE(b.perfiles.usuario(0).Retraso, std::int16_t{400});

        b.elegir(1);
        QVERIFY(b.ventana->optSonido->isChecked());
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("10"));
        QCOMPARE(b.perfiles.usuario(1).Umbral, std::int16_t{10});
        QCOMPARE(b.perfiles.usuario(1).Retraso, std::int16_t{400});
        QCOMPARE(b.ventana->cboTeclas1->currentText(), QStringLiteral("Click izquierdo"));
    }

    void nombresQueSoloDifierenEnMayusculas() {
        // Not producible by adding, but a file may hold them: each entry
        // leads to its own profile.
        Usuario a = Usuario::Nuevo(QStringLiteral("ana"));
        Usuario b2 = Usuario::Nuevo(QStringLiteral("Ana"));
        b2.Umbral = 3;
        a.Modo = b2.Modo = kModoSonido;
        Banco b({a, b2});
        b.elegir(1);
        QCOMPARE(b.perfiles.actual(), 1);
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("3"));
        b.elegir(0);
        QCOMPARE(b.perfiles.actual(), 0);
        QCOMPARE(b.ventana->cboSonido->currentText(), QStringLiteral("5"));
        // The last profile's name, compared without case, picks the later one.
        QCOMPARE(b.perfiles.buscarUltimo(QStringLiteral(" ANA ")), 1);
    }
};

QTEST_MAIN(TestPerfiles)
#include "tst_perfiles.moc"
