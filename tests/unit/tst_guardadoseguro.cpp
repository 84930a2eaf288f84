// The complete save replaces each data file in one step: interrupted at any
// step, the folder holds the old file or the new one, whole.
#include "platform/Dialogos.h"
#include "profiles/Archivos.h"
#include "profiles/EscrituraSegura.h"
#include "profiles/Perfiles.h"
#include "profiles/Registros.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace quimbal;

namespace {
enum class Paso { Ninguno, Crear, Escribir, Sincronizar, Renombrar, SincronizarCarpeta };

// Real operations, except the chosen step, which fails. A failing write
// leaves half of the data behind, as a full disk does.
class OperacionesQueFallan : public OperacionesDisco {
public:
    Paso falla = Paso::Ninguno;
    QString rutaQueFalla; // only replacements of this file fail; empty: all
    QStringList pasos;

    bool crear(QFile& a) override {
        pasos << QStringLiteral("crear");
        return !toca(Paso::Crear, a.fileName()) && OperacionesDisco::crear(a);
    }
    bool escribir(QFile& a, const QByteArray& d) override {
        pasos << QStringLiteral("escribir");
        if (toca(Paso::Escribir, a.fileName())) {
            a.write(d.left(d.size() / 2));
            return false;
        }
        return OperacionesDisco::escribir(a, d);
    }
    bool sincronizar(QFile& a) override {
        pasos << QStringLiteral("sincronizar");
        return !toca(Paso::Sincronizar, a.fileName()) && OperacionesDisco::sincronizar(a);
    }
    bool renombrar(const QString& o, const QString& d) override {
        pasos << QStringLiteral("renombrar");
        return !toca(Paso::Renombrar, o) && OperacionesDisco::renombrar(o, d);
    }
    bool sincronizarCarpeta(const QString& c) override {
        pasos << QStringLiteral("sincronizarCarpeta");
        return !toca(Paso::SincronizarCarpeta, QString()) &&
               OperacionesDisco::sincronizarCarpeta(c);
    }

private:
    bool toca(Paso p, const QString& archivo) const {
        return falla == p &&
               (rutaQueFalla.isEmpty() || archivo.isEmpty() || archivo.startsWith(rutaQueFalla));
    }
};

QByteArray registro(const QString& nombre) {
    return RegistroDeUsuario(Usuario::Nuevo(nombre));
}
} // namespace

class TestGuardadoSeguro : public QObject {
    Q_OBJECT
private slots:
    void interrumpidoEnCadaPaso_data();
    void interrumpidoEnCadaPaso();
    void guardarTodoConUnArchivoQueFalla();
    void restoDeUnGuardadoInterrumpido();
    void conservaLosPermisos();
};

void TestGuardadoSeguro::interrumpidoEnCadaPaso_data() {
    QTest::addColumn<int>("paso");
    QTest::addColumn<bool>("quedaElNuevo");
    QTest::newRow("crear") << int(Paso::Crear) << false;
    QTest::newRow("escribir") << int(Paso::Escribir) << false;
    QTest::newRow("sincronizar") << int(Paso::Sincronizar) << false;
    QTest::newRow("renombrar") << int(Paso::Renombrar) << false;
    QTest::newRow("sincronizar la carpeta") << int(Paso::SincronizarCarpeta) << true;
    QTest::newRow("sin fallo") << int(Paso::Ninguno) << true;
}

void TestGuardadoSeguro::interrumpidoEnCadaPaso() {
    QFETCH(int, paso);
    QFETCH(bool, quedaElNuevo);
    CarpetaDePrueba carpeta;
    OperacionesQueFallan op;
    op.falla = static_cast<Paso>(paso);
    FijarOperacionesDisco(&op);
    const QString ruta = carpeta.ruta(QStringLiteral("usuarios.dat"));
    const QByteArray viejo = registro(QStringLiteral("General")) + registro(QStringLiteral("Ana"));
    const QByteArray nuevo = registro(QStringLiteral("General"));
    carpeta.escribir(QStringLiteral("usuarios.dat"), viejo);

    QCOMPARE(ReemplazarArchivo(ruta, nuevo), quedaElNuevo);
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), quedaElNuevo ? nuevo : viejo);
    QCOMPARE(QDir(carpeta.carpeta()).entryList(QDir::Files),
             QStringList{QStringLiteral("usuarios.dat")});
    if (op.falla == Paso::Ninguno)
        QCOMPARE(op.pasos, (QStringList{QStringLiteral("crear"), QStringLiteral("escribir"),
                                        QStringLiteral("sincronizar"), QStringLiteral("renombrar"),
                                        QStringLiteral("sincronizarCarpeta")}));

    // A file that did not exist yet: after a failure there is still none.
    const QString otro = carpeta.ruta(QStringLiteral("quimbal.dat"));
    QCOMPARE(ReemplazarArchivo(otro, QByteArray(21, 'x')), quedaElNuevo);
    QCOMPARE(QFile::exists(otro), quedaElNuevo);
}

// Leaving the program with a profile file that cannot be replaced.
void TestGuardadoSeguro::guardarTodoConUnArchivoQueFalla() {
    ProgramaDePrueba p;
    const QByteArray viejo = registro(QStringLiteral("General")) + registro(QStringLiteral("Ana"));
    p.carpeta.escribir(QStringLiteral("usuarios.dat"), viejo);
    p.cargar();
    QCOMPARE(p.perfiles.cuenta(), 2);
    QVERIFY(p.archivos.AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Zoe"))));
    const QByteArray conZoe = viejo + registro(QStringLiteral("Zoe"));
    QCOMPARE(p.carpeta.leer(QStringLiteral("usuarios.dat")), conZoe);

    OperacionesQueFallan op;
    op.falla = Paso::Renombrar;
    op.rutaQueFalla = p.archivos.RutaArchivoUsuarios();
    FijarOperacionesDisco(&op);
    QVERIFY(p.perfiles.eliminar(1));
    p.perfiles.fijarPuerto(4);
    p.dialogos.mensajes.clear();
    p.dialogos.respuestas = {vbYes};
    // Asked whether to try again: Yes, twice while the disk stays full, then
    // once more after space was freed.
    p.dialogos.respuestas << vbYes << vbYes << vbYes;
    bool preguntandoAlFallar = false;
    p.dialogos.mientrasAbierto = [&] {
        preguntandoAlFallar = p.ventana->PreguntandoSalida;
        if (p.dialogos.mensajes.size() == 3)
            op.falla = Paso::Ninguno;
    };
    p.ventana->cmdSalir_Click();
    QVERIFY(p.ventana->Descargada());
    QVERIFY(preguntandoAlFallar);            // the tray stays quiet meanwhile
    QCOMPARE(p.dialogos.mensajes.size(), 3); // the exit question, then two failures
    const MensajeMostrado& m = p.dialogos.mensajes[1];
    QCOMPARE(m.estilo, vbYesNo + vbExclamation);
    QCOMPARE(m.titulo, QStringLiteral("Error"));
    QVERIFY(m.texto.contains(QDir::toNativeSeparators(p.archivos.RutaArchivoUsuarios())));
    QVERIFY(!m.texto.contains(QStringLiteral("quimbal.dat")));
    QVERIFY(m.texto.contains(QStringLiteral("¿Desea intentarlo de nuevo?")));
    QCOMPARE(p.carpeta.leer(QStringLiteral("usuarios.dat")), viejo.left(106));
    QCOMPARE(p.carpeta.leer(QStringLiteral("quimbal.dat")),
             QByteArray("\x04General") + QByteArray(13, ' '));

    // Answered No: the program ends, the profile file keeps what it held
    // (Zoe included), the settings file was saved all the same.
    ProgramaDePrueba q;
    q.carpeta.escribir(QStringLiteral("usuarios.dat"), conZoe);
    q.cargar();
    op.falla = Paso::Renombrar;
    op.rutaQueFalla = q.archivos.RutaArchivoUsuarios();
    FijarOperacionesDisco(&op);
    QVERIFY(q.perfiles.eliminar(1));
    q.dialogos.respuestas = {vbYes, vbNo};
    q.ventana->cmdSalir_Click();
    QVERIFY(q.ventana->Descargada());
    QCOMPARE(q.dialogos.mensajes.size(), 2);
    QCOMPARE(q.carpeta.leer(QStringLiteral("usuarios.dat")), conZoe);
    FijarOperacionesDisco(nullptr);
}

void TestGuardadoSeguro::restoDeUnGuardadoInterrumpido() {
    CarpetaDePrueba carpeta;
    const QByteArray viejo = registro(QStringLiteral("General"));
    carpeta.escribir(QStringLiteral("usuarios.dat"), viejo);
    carpeta.escribir(QStringLiteral("usuarios.dat.nuevo"), QByteArray(77, '#'));
    Perfiles perfiles;
    ArchivosDatos archivos(carpeta.carpeta());
    QCOMPARE(archivos.CargarUsuarios(perfiles).problema, ArchivosDatos::Problema::Ninguno);
    QCOMPARE(archivos.CargarConfiguracion(perfiles).problema, ArchivosDatos::Problema::Ninguno);
    QCOMPARE(perfiles.cuenta(), 1);
    QCOMPARE(archivos.GuardarTodo(perfiles), QStringList());
    QCOMPARE(carpeta.leer(QStringLiteral("usuarios.dat")), viejo);
    QVERIFY(!QFile::exists(carpeta.ruta(QStringLiteral("usuarios.dat.nuevo"))));

    // A directory in the temporary's place is left alone and the old file kept.
    const QByteArray config = carpeta.leer(QStringLiteral("quimbal.dat"));
    QVERIFY(QDir(carpeta.carpeta()).mkdir(QStringLiteral("quimbal.dat.nuevo")));
    QVERIFY(!ReemplazarArchivo(archivos.RutaArchivoConfig(), QByteArray(21, 'x')));
    QVERIFY(QFileInfo(carpeta.ruta(QStringLiteral("quimbal.dat.nuevo"))).isDir());
    QCOMPARE(carpeta.leer(QStringLiteral("quimbal.dat")), config);
}

void TestGuardadoSeguro::conservaLosPermisos() {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("usuarios.dat"));
    carpeta.escribir(QStringLiteral("usuarios.dat"), registro(QStringLiteral("General")));
    // Readable and writable by its owner alone, unlike a newly created file.
    QVERIFY(QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser));
    const auto antes = QFile::permissions(ruta);
    QVERIFY(ReemplazarArchivo(ruta, registro(QStringLiteral("Otro"))));
    QCOMPARE(QFile::permissions(ruta), antes);
    QVERIFY(!(QFile::permissions(ruta) & QFile::ReadOther));
}

QTEST_MAIN(TestGuardadoSeguro)
#include "tst_guardadoseguro.moc"
