// Profile management: selecting, showing, adding, deleting, sorting and
// restoring defaults, on real controls whose handlers store into the current
// profile as the window's do.
#include "actions/Catalogo.h"
#include "platform/Controles.h"
#include "platform/Dialogos.h"
#include "profiles/Archivos.h"
#include "profiles/GestionUsuarios.h"
#include "profiles/Registros.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "tests/fakes/DialogosFalsos.h"

#include <QTest>

using namespace quimbal;

namespace {
const QString kLetra = QStringLiteral("Letra...");

struct Ventana {
    Lista cboUsuario, cboTeclas1, cboTeclas2, cboSonido;
    CajaTexto txtLetra1, txtLetra2;
    Temporizador tmrDelaySonido;
    TablaTeclas Teclas;
    QStringList modos; // mode routines run, in order
    ControlesUsuario c;

    Ventana() {
        ConstruirCatalogo(cboTeclas1, cboTeclas2, Teclas);
        for (int i = 1; i <= 10; ++i)
            cboSonido.AddItem(QString::number(i));
        // Choosing an action stores it and empties the letter unless it is
        // "Letra..."; the letter box, the threshold list and the mode
        // routines store into the current profile.
        cboTeclas1.Click = [this] {
            UsuarioEnUso().Accion1 = cboTeclas1.Text();
            if (cboTeclas1.Text() != kLetra)
                txtLetra1.setText(QString());
        };
        cboTeclas2.Click = [this] {
            UsuarioEnUso().Accion2 = cboTeclas2.Text();
            if (cboTeclas2.Text() != kLetra)
                txtLetra2.setText(QString());
        };
        txtLetra1.Change = [this] { UsuarioEnUso().Letra1 = txtLetra1.Text(); };
        txtLetra2.Change = [this] { UsuarioEnUso().Letra2 = txtLetra2.Text(); };
        cboSonido.Click = [this] {
            UsuarioEnUso().Umbral = static_cast<std::int16_t>(cboSonido.ListIndex() + 1);
        };
        c = {&cboUsuario,
             &cboTeclas1,
             &cboTeclas2,
             &txtLetra1,
             &txtLetra2,
             &cboSonido,
             &tmrDelaySonido,
             [this] {
                 modos << QStringLiteral("switch");
                 UsuarioEnUso().Modo = kModoSwitch;
             },
             [this] {
                 modos << QStringLiteral("sonido");
                 UsuarioEnUso().Modo = kModoSonido;
             }};
        cboUsuario.Click = [this] { SeleccionarUsuario(c); };
    }

    // Loads the profiles from a profile file, as a start does.
    void cargar(const CarpetaDePrueba& carpeta, const QStringList& nombres) {
        QByteArray datos;
        for (const QString& n : nombres)
            datos += RegistroDeUsuario(Usuario::Nuevo(n));
        carpeta.escribir(QStringLiteral("usuarios.dat"), datos);
        QVERIFY(CargarUsuarios(cboUsuario));
        cboUsuario.setListIndex(0);
    }
    QStringList nombres() const {
        QStringList r;
        for (int k = 0; k < cboUsuario.ListCount(); ++k)
            r << Recortar(cboUsuario.List(k));
        return r;
    }
};

QStringList lista(std::initializer_list<const char*> l) {
    QStringList r;
    for (const char* s : l)
        r << QString::fromUtf8(s);
    return r;
}
} // namespace

class TestGestionUsuarios : public QObject {
    Q_OBJECT
private slots:
    void agregarOrdenaYSelecciona();
    void agregarRechazaRepetidosYVacios();
    void agregarNombresRaros();
    void agregarConLaTablaLlena();
    void eliminarYQueEntradaQuedaElegida();
    void eliminarProtegidosYNo();
    void restablecerConservaModoYUmbral();
    void mostrarNoCambiaLoGuardado();
    void mostrarValoresFueraDeRango();
    void seleccionDistingueMayusculas();
};

void TestGestionUsuarios::agregarOrdenaYSelecciona() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    v.cargar(carpeta, lista({"General", "Pedro"}));
    const qsizetype antes = carpeta.leer(QStringLiteral("usuarios.dat")).size();
    bool banderaEnLaPregunta = false;
    s.dialogos.mientrasAbierto = [&] { banderaEnLaPregunta = AgregandoUsuario; };
    s.dialogos.textos = {QStringLiteral(" ana ")};
    v.modos.clear();
    AgregarUsuario(v.c);

    QCOMPARE(s.dialogos.preguntas.size(), 1);
    QCOMPARE(s.dialogos.preguntas[0].texto,
             QStringLiteral("Ingrese el nombre de un nuevo usuario"));
    QCOMPARE(s.dialogos.preguntas[0].titulo, QStringLiteral("Agregar nuevo usuario"));
    QVERIFY(banderaEnLaPregunta);
    QVERIFY(!AgregandoUsuario);
    QVERIFY(s.dialogos.mensajes.isEmpty());
    QCOMPARE(v.nombres(), lista({"Ana", "General", "Pedro"}));
    QCOMPARE(v.cboUsuario.ListIndex(), 0);
    QCOMPARE(UsuarioActual, std::int16_t{0});
    QCOMPARE(Usuarios[0], Usuario::Nuevo(QStringLiteral("Ana")));
    QCOMPARE(v.cboTeclas1.Text(), QStringLiteral("Click izquierdo"));
    QCOMPARE(v.cboTeclas2.Text(), QStringLiteral("Click izquierdo"));
    QCOMPARE(v.txtLetra1.Text(), QString());
    QCOMPARE(v.modos.last(), QStringLiteral("switch"));
    QCOMPARE(v.cboSonido.Text(), QStringLiteral("5"));
    QCOMPARE(v.tmrDelaySonido.Interval(), 400);
    // The file grew by exactly the new record at once.
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")).size(), antes + 106);
    QVERIFY(carpeta.leer(QStringLiteral("usuarios.dat"))
                .endsWith(RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("Ana")))));

    // Álvaro sorts after Zoe; x becomes X; a digit stays and sorts first.
    for (const char* n : {"Zoe", "Álvaro", "x", "2do turno"})
        s.dialogos.textos << QString::fromUtf8(n);
    for (int i = 0; i < 4; ++i)
        AgregarUsuario(v.c);
    QCOMPARE(v.nombres(), lista({"2do turno", "Ana", "General", "Pedro", "X", "Zoe", "Álvaro"}));
    QCOMPARE(Recortar(v.cboUsuario.Text()), QStringLiteral("2do turno"));
    QCOMPARE(Usuarios[static_cast<std::size_t>(UsuarioActual)].Nombre.recortado(),
             QStringLiteral("2do turno"));
}

void TestGestionUsuarios::agregarRechazaRepetidosYVacios() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    v.cargar(carpeta, lista({"Ana", "General", "Pedro"}));
    v.cboUsuario.setListIndex(2);
    const QByteArray archivo = carpeta.leer(QStringLiteral("usuarios.dat"));
    QList<bool> banderas;
    s.dialogos.mientrasAbierto = [&] { banderas << AgregandoUsuario; };
    s.dialogos.textos = {QStringLiteral("ANA"), QStringLiteral("ana"), QStringLiteral(" general"),
                         QString(), QStringLiteral("    ")};
    for (int i = 0; i < 5; ++i)
        AgregarUsuario(v.c);
    QCOMPARE(s.dialogos.mensajes.size(), 3);
    for (const MensajeMostrado& m : s.dialogos.mensajes) {
        QCOMPARE(m.texto, QStringLiteral("Ese nombre de usuario ya existe!!!"));
        QCOMPARE(m.titulo, QStringLiteral("Error"));
        QCOMPARE(m.estilo, vbCritical);
    }
    // Raised for each prompt and each "in use" box, and only then.
    QCOMPARE(banderas, (QList<bool>{true, true, true, true, true, true, true, true}));
    QVERIFY(!AgregandoUsuario);
    QCOMPARE(v.nombres(), lista({"Ana", "General", "Pedro"}));
    QCOMPARE(v.cboUsuario.ListIndex(), 2);
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), archivo);
}

void TestGestionUsuarios::agregarNombresRaros() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    v.cargar(carpeta, lista({"General"}));
    // Cut to 20 before the checks: the second name agrees in its first 20
    // characters and is refused, so each entry leads to one profile.
    s.dialogos.textos = {QStringLiteral("maría de los ángeles rodríguez"),
                         QStringLiteral("María de los Ángeles Pérez"), QStringLiteral("Tom 😀"),
                         QStringLiteral("a\tb")};
    for (int i = 0; i < 4; ++i)
        AgregarUsuario(v.c);
    QCOMPARE(v.nombres(), lista({"General", "María de los ángeles"}));
    QCOMPARE(s.dialogos.mensajes.size(), 3);
    QCOMPARE(s.dialogos.mensajes[0].texto, QStringLiteral("Ese nombre de usuario ya existe!!!"));
    QCOMPARE(s.dialogos.mensajes[1].texto,
             QStringLiteral("El nombre tiene caracteres que no se pueden guardar: 😀"));
    QCOMPARE(s.dialogos.mensajes[1].estilo, vbExclamation);
    QCOMPARE(s.dialogos.mensajes[2].texto,
             QStringLiteral("El nombre tiene caracteres que no se pueden guardar: \t"));
    QCOMPARE(PrepararNombre(QStringLiteral("  ñu  ")), QStringLiteral("Ñu"));
    QCOMPARE(PrepararNombre(QStringLiteral("abcdefghijklmnopqrs tuv")),
             QStringLiteral("Abcdefghijklmnopqrs"));
}

void TestGestionUsuarios::agregarConLaTablaLlena() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    QStringList nombres{QStringLiteral("General")};
    for (int i = 1; i < 21; ++i)
        nombres << QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0'));
    v.cargar(carpeta, nombres);
    const QByteArray archivo = carpeta.leer(QStringLiteral("usuarios.dat"));
    s.dialogos.textos = {QStringLiteral("Otro")};
    AgregarUsuario(v.c);
    QVERIFY(s.dialogos.preguntas.isEmpty()); // refused before asking for a name
    QCOMPARE(s.dialogos.mensajes.size(), 1);
    QCOMPARE(s.dialogos.mensajes[0].texto,
             QStringLiteral("No se pueden agregar más usuarios: la lista ya tiene 21, el máximo."));
    QCOMPARE(v.cboUsuario.ListCount(), 21);
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), archivo);

    // With room for one more, the 21st goes in and the next is refused.
    s.dialogos.respuestas = {vbYes};
    v.cboUsuario.setListIndex(20);
    EliminarUsuario(v.c);
    s.dialogos.textos = {QStringLiteral("Otro"), QStringLiteral("Más")};
    AgregarUsuario(v.c);
    AgregarUsuario(v.c);
    QCOMPARE(v.cboUsuario.ListCount(), 21);
    QVERIFY(v.nombres().contains(QStringLiteral("Otro")));
    QCOMPARE(s.dialogos.preguntas.size(), 1);
}

void TestGestionUsuarios::eliminarYQueEntradaQuedaElegida() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    v.cargar(carpeta, lista({"Ana", "Bea", "Ceci", "General"}));
    Usuarios[1].Umbral = 9;
    const QByteArray archivo = carpeta.leer(QStringLiteral("usuarios.dat"));
    bool banderaEnLaCaja = true;
    s.dialogos.mientrasAbierto = [&] { banderaEnLaCaja = AgregandoUsuario; };

    // The second of several: the first becomes current.
    v.cboUsuario.setListIndex(1);
    s.dialogos.respuestas = {vbYes};
    EliminarUsuario(v.c);
    QCOMPARE(s.dialogos.mensajes.last().texto,
             QStringLiteral("¿Está seguro de eliminar el usuario actual?"));
    QCOMPARE(s.dialogos.mensajes.last().titulo, QStringLiteral("Atención"));
    QCOMPARE(s.dialogos.mensajes.last().estilo, 36);
    QVERIFY(!banderaEnLaCaja);
    QCOMPARE(v.nombres(), lista({"Ana", "Ceci", "General"}));
    QCOMPARE(v.cboUsuario.ListIndex(), 0);
    QCOMPARE(UsuarioActual, std::int16_t{0});
    QCOMPARE(Usuarios[1].Nombre.recortado(), QStringLiteral("Ceci"));
    QCOMPARE(Usuarios[2].Nombre.recortado(), QStringLiteral("General"));

    // The first: the one that moved into first place becomes current.
    s.dialogos.respuestas = {vbYes};
    EliminarUsuario(v.c);
    QCOMPARE(v.nombres(), lista({"Ceci", "General"}));
    QCOMPARE(Recortar(v.cboUsuario.Text()), QStringLiteral("Ceci"));
    QCOMPARE(UsuarioActual, std::int16_t{0});

    // The last: the one before it.
    s.dialogos.textos = {QStringLiteral("Zoe")};
    AgregarUsuario(v.c);
    v.cboUsuario.setListIndex(2);
    QCOMPARE(Recortar(v.cboUsuario.Text()), QStringLiteral("Zoe"));
    s.dialogos.respuestas = {vbYes};
    EliminarUsuario(v.c);
    QCOMPARE(v.nombres(), lista({"Ceci", "General"}));
    QCOMPARE(v.cboUsuario.ListIndex(), 1);
    QCOMPARE(UsuarioActual, std::int16_t{1});
    // Deleting writes nothing: only the appended Zoe reached the file.
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")).size(), archivo.size() + 106);
}

void TestGestionUsuarios::eliminarProtegidosYNo() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    v.cargar(carpeta, lista({"Ana", "General"}));
    v.cboUsuario.setListIndex(1);
    EliminarUsuario(v.c);
    QCOMPARE(s.dialogos.mensajes.size(), 1); // the refusal, no confirmation
    QCOMPARE(s.dialogos.mensajes[0].texto,
             QStringLiteral("No se puede eliminar el usuario ' General '"));
    QCOMPARE(s.dialogos.mensajes[0].titulo, QStringLiteral("Error"));
    QCOMPARE(s.dialogos.mensajes[0].estilo, vbExclamation);

    // No leaves everything as it was.
    v.cboUsuario.setListIndex(0);
    s.dialogos.respuestas = {vbNo};
    EliminarUsuario(v.c);
    QCOMPARE(v.nombres(), lista({"Ana", "General"}));
    QCOMPARE(v.cboUsuario.ListIndex(), 0);
    QCOMPARE(Usuarios[0].Nombre.recortado(), QStringLiteral("Ana"));

    // Nothing selected: nothing happens.
    v.cboUsuario.setListIndex(-1);
    const auto mostrados = s.dialogos.mensajes.size();
    EliminarUsuario(v.c);
    QCOMPARE(s.dialogos.mensajes.size(), mostrados);
    QCOMPARE(v.cboUsuario.ListCount(), 2);

    // A file without "General": the last profile stays.
    Ventana w;
    ReiniciarArchivos();
    w.cargar(carpeta, lista({"general "}));
    s.dialogos.respuestas = {vbYes};
    EliminarUsuario(w.c);
    QCOMPARE(s.dialogos.mensajes.last().texto,
             QStringLiteral("No se puede eliminar el único usuario de la lista."));
    QCOMPARE(w.cboUsuario.ListCount(), 1);
    QCOMPARE(w.cboUsuario.ListIndex(), 0);
}

void TestGestionUsuarios::restablecerConservaModoYUmbral() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    Usuario u = Usuario::Nuevo(QStringLiteral("Luis"));
    u.Accion1 = QStringLiteral("SHIFT+...");
    u.Letra1 = QStringLiteral("a");
    u.Accion2 = QStringLiteral("F5");
    u.Letra2 = QStringLiteral("zz");
    u.Modo = kModoSonido;
    u.Umbral = 8;
    u.Retraso = 1200;
    carpeta.escribir(QStringLiteral("usuarios.dat"),
                     RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("General"))) +
                         RegistroDeUsuario(u));
    QVERIFY(CargarUsuarios(v.cboUsuario));
    v.cboUsuario.setListIndex(1);
    QCOMPARE(v.tmrDelaySonido.Interval(), 1200);
    RestablecerUsuario(v.c);
    QCOMPARE(Usuarios[1].Accion1.recortado(), QStringLiteral("Click izquierdo"));
    QCOMPARE(Usuarios[1].Accion2.recortado(), QStringLiteral("Click izquierdo"));
    QCOMPARE(Usuarios[1].Letra1.recortado(), QString());
    QCOMPARE(Usuarios[1].Letra2.recortado(), QString());
    QCOMPARE(Usuarios[1].Retraso, std::int16_t{400});
    QCOMPARE(Usuarios[1].Modo, kModoSonido);
    QCOMPARE(Usuarios[1].Umbral, std::int16_t{8});
    QCOMPARE(Usuarios[1].Nombre.recortado(), QStringLiteral("Luis"));
    QCOMPARE(v.cboTeclas1.Text(), QStringLiteral("Click izquierdo"));
    QCOMPARE(v.txtLetra2.Text(), QString());
    QCOMPARE(v.tmrDelaySonido.Interval(), 400);
    QCOMPARE(v.cboSonido.Text(), QStringLiteral("8"));
    QCOMPARE(Usuarios[0], Usuario::Nuevo(QStringLiteral("General")));
    QVERIFY(s.dialogos.mensajes.isEmpty());
}

void TestGestionUsuarios::mostrarNoCambiaLoGuardado() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    Usuario u = Usuario::Nuevo(QStringLiteral("Luis"));
    u.Accion1 = QStringLiteral("SHIFT+...");
    u.Letra1 = QStringLiteral("a");
    u.Accion2 = QStringLiteral("F5");
    u.Letra2 = QStringLiteral(" q"); // a letter stored with a leading space stays so
    const QByteArray archivo =
        RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("General"))) + RegistroDeUsuario(u);
    carpeta.escribir(QStringLiteral("usuarios.dat"), archivo);
    QVERIFY(CargarUsuarios(v.cboUsuario));
    v.cboUsuario.setListIndex(0);
    v.cboUsuario.setListIndex(1);
    QCOMPARE(v.cboTeclas1.Text(), QStringLiteral("SHIFT+..."));
    QCOMPARE(v.txtLetra1.Text(), QStringLiteral("a"));
    QCOMPARE(v.cboTeclas2.Text(), QStringLiteral("F5"));
    QCOMPARE(v.txtLetra2.Text(), QStringLiteral("q"));
    QCOMPARE(Usuarios[1], u);
    v.cboUsuario.setListIndex(0);
    v.cboUsuario.setListIndex(1);
    QCOMPARE(Usuarios[1], u);

    // Start, show every profile, save: the file comes back byte for byte.
    QVERIFY(GuardarTodo(v.cboUsuario, 1));
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), archivo);
}

void TestGestionUsuarios::mostrarValoresFueraDeRango() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
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
    carpeta.escribir(QStringLiteral("usuarios.dat"),
                     RegistroDeUsuario(raro) + RegistroDeUsuario(alto));
    QVERIFY(CargarUsuarios(v.cboUsuario));

    v.cboUsuario.setListIndex(0);
    QCOMPARE(v.cboTeclas1.Text(), QStringLiteral("Sin establecer"));
    QCOMPARE(Usuarios[0].Accion1.recortado(), QStringLiteral("Teletransporte"));
    QCOMPARE(v.txtLetra1.Text(), QStringLiteral("k"));
    QCOMPARE(Usuarios[0].Letra1.recortado(), QStringLiteral("k"));
    QCOMPARE(v.modos.last(), QStringLiteral("sonido"));
    QCOMPARE(Usuarios[0].Modo, kModoSonido);
    QCOMPARE(v.cboSonido.Text(), QStringLiteral("1"));
    QCOMPARE(Usuarios[0].Umbral, std::int16_t{1});
    QCOMPARE(v.tmrDelaySonido.Interval(), 400);
    QCOMPARE(Usuarios[0].Retraso, std::int16_t{400});

    v.cboUsuario.setListIndex(1);
    QCOMPARE(v.modos.last(), QStringLiteral("sonido"));
    QCOMPARE(v.cboSonido.Text(), QStringLiteral("10"));
    QCOMPARE(Usuarios[1].Umbral, std::int16_t{10});
    QCOMPARE(v.tmrDelaySonido.Interval(), 400);
    QCOMPARE(v.cboTeclas1.Text(), QStringLiteral("Click izquierdo"));

    // Showing an index outside the table does nothing.
    v.modos.clear();
    MostrarUsuario(v.c, 21);
    MostrarUsuario(v.c, -1);
    QVERIFY(v.modos.isEmpty());
}

void TestGestionUsuarios::seleccionDistingueMayusculas() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Ventana v;
    Usuario a = Usuario::Nuevo(QStringLiteral("ana"));
    Usuario b = Usuario::Nuevo(QStringLiteral("Ana"));
    b.Umbral = 3;
    carpeta.escribir(QStringLiteral("usuarios.dat"), RegistroDeUsuario(a) + RegistroDeUsuario(b));
    QVERIFY(CargarUsuarios(v.cboUsuario));
    v.cboUsuario.setListIndex(1);
    QCOMPARE(UsuarioActual, std::int16_t{1});
    QCOMPARE(v.cboSonido.Text(), QStringLiteral("3"));
    v.cboUsuario.setListIndex(0);
    QCOMPARE(UsuarioActual, std::int16_t{0});
    QCOMPARE(v.cboSonido.Text(), QStringLiteral("5"));

    // An entry no slot has keeps the current profile.
    v.cboUsuario.AddItem(QStringLiteral("Nadie"));
    v.modos.clear();
    v.cboUsuario.setListIndex(2);
    QCOMPARE(UsuarioActual, std::int16_t{0});
    QVERIFY(v.modos.isEmpty());
}

QTEST_MAIN(TestGestionUsuarios)
#include "tst_gestionusuarios.moc"
