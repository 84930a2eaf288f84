// The two data files: byte layout, first start, loading, appending and the
// complete save, and the cases a file written by someone else can bring.
#include "platform/Controles.h"
#include "platform/Dialogos.h"
#include "profiles/Archivos.h"
#include "profiles/Registros.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "tests/fakes/DialogosFalsos.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace quimbal;

namespace {
const QString kUsuarios = QStringLiteral("usuarios.dat");
const QString kConfig = QStringLiteral("quimbal.dat");

QByteArray espacios(int n) {
    return QByteArray(n, ' ');
}

// The default profile as the file holds it, built by hand from the layout.
QByteArray registroGeneral() {
    return "General" + espacios(13) + "Click izquierdo" + espacios(5) + "Click izquierdo" +
           espacios(5) + espacios(40) + QByteArray("\x01\x00\x05\x00\x90\x01", 6);
}

QByteArray registro(const QString& nombre, std::int16_t umbral = 5) {
    Usuario u = Usuario::Nuevo(nombre);
    u.Umbral = umbral;
    return RegistroDeUsuario(u);
}
} // namespace

class TestArchivos : public QObject {
    Q_OBJECT
private slots:
    void registrosByteAByte();
    void primerInicioCreaAmbosArchivos();
    void archivoDe250BytesYAgregado();
    void nombreConEspaciosYGuardadoDe106PorN();
    void carpetaDelProgramaNoLaActual();
    void masDe21RegistrosNoSePierden();
    void archivoMasCortoQueUnRegistro();
    void configuracionFueraDeRango();
    void directorioEnLugarDelArchivo();
    void carpetaSinPermisoDeEscritura();
};

void TestArchivos::registrosByteAByte() {
    QCOMPARE(RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("General"))), registroGeneral());
    Usuario u = Usuario::Nuevo(QStringLiteral("Ñandú"));
    u.Letra1 = QStringLiteral("€");
    u.Modo = -2;
    u.Umbral = 0x1234;
    u.Retraso = -32768;
    const QByteArray b = RegistroDeUsuario(u);
    QCOMPARE(b.size(), kLargoRegistroUsuario);
    QCOMPARE(b.left(5), QByteArray("\xD1"
                                   "and\xFA"));
    QCOMPARE(b.at(60), '\x80');
    QCOMPARE(b.mid(100), QByteArray("\xFE\xFF\x34\x12\x00\x80", 6));
    QCOMPARE(UsuarioDeRegistro(b.constData()), u);

    // Any record read and written again gives its bytes back, the five bytes
    // the code page leaves undefined included.
    QByteArray todos;
    for (int i = 0; i < kLargoRegistroUsuario; ++i)
        todos.append(static_cast<char>(0x80 + (i % 128)));
    QCOMPARE(RegistroDeUsuario(UsuarioDeRegistro(todos.constData())), todos);

    TipoConfigInicio c = ConfigPorDefecto();
    QCOMPARE(RegistroDeConfig(c), QByteArray("\x01General") + espacios(13));
}

void TestArchivos::primerInicioCreaAmbosArchivos() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(carpeta.leer(kUsuarios), registroGeneral());
    QCOMPARE(carpeta.leer(kConfig), QByteArray("\x01General") + espacios(13));
    QCOMPARE(lista.ListCount(), 1);
    QCOMPARE(lista.List(0), QStringLiteral("General") + QString(13, QLatin1Char(' ')));
    QCOMPARE(lista.ListIndex(), -1); // the caller selects
    QCOMPARE(Usuarios[0], Usuario::Nuevo(QStringLiteral("General")));
    QCOMPARE(ConfigInicio.Puerto, std::uint8_t{1});
    QCOMPARE(ConfigInicio.NombreUsuario.texto(), QStringLiteral("General             "));
    QVERIFY(ArchivoUsuarios > 0 && ArchivoConfig > 0 && ArchivoUsuarios != ArchivoConfig);
    QVERIFY(s.dialogos.mensajes.isEmpty());

    // A second start reads the same files back and changes nothing.
    CerrarArchivos();
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(lista.ListCount(), 1);
    QCOMPARE(carpeta.leer(kUsuarios).size(), 106);
    QCOMPARE(carpeta.leer(kConfig).size(), 21);
}

void TestArchivos::archivoDe250BytesYAgregado() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    const QByteArray dos = registro(QStringLiteral("General")) + registro(QStringLiteral("Pedro"));
    carpeta.escribir(kUsuarios, dos + QByteArray(38, 'x'));
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QCOMPARE(lista.ListCount(), 2);
    QCOMPARE(Recortar(lista.List(1)), QStringLiteral("Pedro"));
    QCOMPARE(carpeta.leer(kUsuarios).size(), 250); // loading writes nothing

    // The new record goes at offset 212, over the trailing part.
    QVERIFY(AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Zoe"))));
    QCOMPARE(carpeta.leer(kUsuarios), dos + registro(QStringLiteral("Zoe")));
    QVERIFY(AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Ana"))));
    QCOMPARE(carpeta.leer(kUsuarios).size(), 424);
    QCOMPARE(carpeta.leer(kUsuarios).mid(318), registro(QStringLiteral("Ana")));
    QVERIFY(s.dialogos.mensajes.isEmpty());
}

void TestArchivos::nombreConEspaciosYGuardadoDe106PorN() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    const QByteArray general = registro(QStringLiteral("General"));
    const QByteArray ana = registro(QStringLiteral("Ana"), 8);
    const QByteArray pedro = registro(QStringLiteral("Pedro"));
    QCOMPARE(ana.left(20), QByteArray("Ana") + espacios(17));
    carpeta.escribir(kUsuarios, general + ana + pedro + QByteArray(50, '\0'));
    carpeta.escribir(kConfig, QByteArray("\x02Pedro") + espacios(15) + "resto");
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(lista.List(1), QStringLiteral("Ana") + QString(17, QLatin1Char(' ')));
    QCOMPARE(Usuarios[1].Umbral, std::int16_t{8});
    QCOMPARE(ConfigInicio.Puerto, std::uint8_t{2});

    // Pedro, the last, deleted; Ana selected.
    lista.RemoveItem(2);
    lista.setListIndex(1);
    QVERIFY(GuardarTodo(lista, 3));
    QCOMPARE(carpeta.leer(kUsuarios), general + ana);
    QCOMPARE(carpeta.leer(kConfig), QByteArray("\x03"
                                               "Ana") +
                                        espacios(17));
    QCOMPARE(ArchivoUsuarios, std::int16_t{0});
    QCOMPARE(ArchivoConfig, std::int16_t{0});

    // A save from an empty list keeps the profiles the file holds.
    CerrarArchivos();
    Lista otra;
    QVERIFY(CargarUsuarios(otra));
    QVERIFY(CargarConfiguracion());
    otra.Clear();
    QVERIFY(GuardarTodo(otra, 1));
    QCOMPARE(carpeta.leer(kUsuarios), general + ana);
    QVERIFY(!QFile::exists(carpeta.ruta(kUsuarios + QStringLiteral(".nuevo"))));
}

void TestArchivos::carpetaDelProgramaNoLaActual() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    QTemporaryDir otra;
    const QString antes = QDir::currentPath();
    QVERIFY(QDir::setCurrent(otra.path()));
    carpeta.escribir(kUsuarios,
                     registro(QStringLiteral("General")) + registro(QStringLiteral("Luz")));
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(lista.ListCount(), 2);
    lista.setListIndex(1);
    QVERIFY(AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Mar"))));
    QVERIFY(GuardarTodo(lista, 0));
    QDir::setCurrent(antes);
    QVERIFY(QDir(otra.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QCOMPARE(carpeta.leer(kUsuarios).size(), 212);
    QCOMPARE(carpeta.leer(kConfig), QByteArray("\x00Luz", 4) + espacios(17));
}

void TestArchivos::masDe21RegistrosNoSePierden() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    QByteArray archivo;
    for (int i = 0; i < 23; ++i)
        archivo += registro(QStringLiteral("Perfil %1").arg(i, 2, 10, QLatin1Char('0')));
    carpeta.escribir(kUsuarios, archivo);
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QCOMPARE(lista.ListCount(), 21);
    QCOMPARE(s.dialogos.mensajes.size(), 1);
    QVERIFY(s.dialogos.mensajes[0].texto.contains(QStringLiteral("23 usuarios")));
    QCOMPARE(s.dialogos.mensajes[0].estilo, vbExclamation);

    // Room made by deleting the first; a new profile appended lands behind
    // all 23 records, so that a run ended without saving loses none of them.
    for (int k = 0; k < 20; ++k)
        Usuarios[static_cast<std::size_t>(k)] = Usuarios[static_cast<std::size_t>(k + 1)];
    lista.RemoveItem(0);
    QVERIFY(AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Nuevo"))));
    QCOMPARE(carpeta.leer(kUsuarios), archivo + registro(QStringLiteral("Nuevo")));
    Usuarios[20] = Usuario::Nuevo(QStringLiteral("Nuevo"));
    lista.AddItem(Usuarios[20].Nombre.texto());
    lista.setListIndex(0);
    QVERIFY(GuardarTodo(lista, 1));
    // The table (without record 1, with the new one) and then records 22, 23.
    const QByteArray guardado = carpeta.leer(kUsuarios);
    QCOMPARE(guardado.size(), 23 * 106);
    QCOMPARE(guardado.left(20 * 106), archivo.mid(106, 20 * 106));
    QCOMPARE(guardado.mid(20 * 106, 106), registro(QStringLiteral("Nuevo")));
    QCOMPARE(guardado.mid(21 * 106), archivo.mid(21 * 106));
}

void TestArchivos::archivoMasCortoQueUnRegistro() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    carpeta.escribir(kUsuarios, QByteArray(105, 'z'));
    carpeta.escribir(kConfig, QByteArray("\x03Pe"));
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(lista.ListCount(), 1);
    QCOMPARE(carpeta.leer(kUsuarios), registroGeneral());
    QCOMPARE(ConfigInicio, ConfigPorDefecto());
    QCOMPARE(carpeta.leer(kConfig), QByteArray("\x01General") + espacios(13));
    QVERIFY(s.dialogos.mensajes.isEmpty());
}

void TestArchivos::configuracionFueraDeRango() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    carpeta.escribir(kConfig, QByteArray("\x07general") + espacios(13));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(ConfigInicio.Puerto, std::uint8_t{0});
    QCOMPARE(ConfigInicio.NombreUsuario.recortado(), QStringLiteral("general"));
    // Reading does not rewrite a whole record.
    QCOMPARE(carpeta.leer(kConfig).at(0), '\x07');
}

void TestArchivos::directorioEnLugarDelArchivo() {
    CarpetaDePrueba carpeta;
    QVERIFY(QDir(carpeta.carpeta()).mkdir(kUsuarios));
    QVERIFY(QDir(carpeta.carpeta()).mkdir(kConfig));
    {
        // Answering No ends the load: nothing in the list, nothing written.
        ServiciosDePrueba s;
        Lista lista;
        QVERIFY(!CargarUsuarios(lista));
        QCOMPARE(lista.ListCount(), 0);
        QCOMPARE(s.dialogos.mensajes.size(), 1);
        QCOMPARE(s.dialogos.mensajes[0].estilo, vbYesNo + vbQuestion);
        QVERIFY(s.dialogos.mensajes[0].texto.startsWith(
            QStringLiteral("No se puede abrir el archivo de usuarios:")));
    }
    ReiniciarArchivos();
    ServiciosDePrueba s;
    s.dialogos.respuestas = {vbYes};
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion()); // asked once per run
    QCOMPARE(s.dialogos.mensajes.size(), 1);
    QCOMPARE(lista.ListCount(), 1);
    QCOMPARE(Usuarios[0], Usuario::Nuevo(QStringLiteral("General")));
    QCOMPARE(ConfigInicio, ConfigPorDefecto());
    QVERIFY(!SeGuardanUsuarios() && !SeGuardaConfiguracion());
    QVERIFY(!AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Ana"))));
    lista.setListIndex(0);
    QVERIFY(GuardarTodo(lista, 1));
    QCOMPARE(s.dialogos.mensajes.size(), 1); // the user knows already
    QVERIFY(QFileInfo(carpeta.ruta(kUsuarios)).isDir());
    QVERIFY(QFileInfo(carpeta.ruta(kConfig)).isDir());
    QCOMPARE(QDir(carpeta.carpeta()).entryList(QDir::Files).size(), 0);
}

void TestArchivos::carpetaSinPermisoDeEscritura() {
    CarpetaDePrueba carpeta;
    const QByteArray original =
        registro(QStringLiteral("General")) + registro(QStringLiteral("Eva"));
    carpeta.escribir(kUsuarios, original);
    QFile::setPermissions(carpeta.carpeta(), QFile::ReadOwner | QFile::ExeOwner);
    QFile prueba(carpeta.ruta(QStringLiteral("prueba")));
    if (prueba.open(QIODevice::WriteOnly)) {
        prueba.remove();
        QFile::setPermissions(carpeta.carpeta(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("running with rights that ignore folder permissions");
    }
    ServiciosDePrueba s;
    s.dialogos.respuestas = {vbYes};
    Lista lista;
    QVERIFY(CargarUsuarios(lista));
    QVERIFY(CargarConfiguracion());
    QCOMPARE(lista.ListCount(), 2);
    QCOMPARE(s.dialogos.mensajes.size(), 1);
    QVERIFY(s.dialogos.mensajes[0].texto.contains(QStringLiteral("No se puede guardar")));
    lista.setListIndex(1);
    QVERIFY(GuardarTodo(lista, 2));
    QFile::setPermissions(carpeta.carpeta(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(carpeta.leer(kUsuarios), original);
    QVERIFY(!QFile::exists(carpeta.ruta(kConfig)));
}

QTEST_MAIN(TestArchivos)
#include "tst_archivos.moc"
