// The two data files: byte layout, first start, loading, appending and the
// complete save, the cases a file written by someone else can bring, what the
// window tells the user, and whole runs through the window where what the
// user did not change comes back byte for byte.
#include "tests/fakes/CarpetaDePrueba.h"

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

using Problema = ArchivosDatos::Problema;
} // namespace

class TestArchivos : public QObject {
    Q_OBJECT
private slots:
    void registrosByteAByte() {
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
        QCOMPARE(RegistroDeConfig(ConfigPorDefecto()), QByteArray("\x01General") + espacios(13));
    }

    void primerInicioCreaAmbosArchivos() {
        CarpetaDePrueba carpeta;
        ArchivosDatos archivos(carpeta.carpeta());
        Perfiles perfiles;
        QCOMPARE(archivos.CargarUsuarios(perfiles).problema, Problema::Ninguno);
        QCOMPARE(archivos.CargarConfiguracion(perfiles).problema, Problema::Ninguno);
        QCOMPARE(carpeta.leer(kUsuarios), registroGeneral());
        QCOMPARE(carpeta.leer(kConfig), QByteArray("\x01General") + espacios(13));
        QCOMPARE(perfiles.cuenta(), 1);
        QCOMPARE(perfiles.usuario(0), Usuario::Nuevo(QStringLiteral("General")));
        QCOMPARE(perfiles.ConfigInicio, ConfigPorDefecto());

        // A second start reads the same files back and changes nothing.
        archivos.CerrarArchivos();
        QCOMPARE(archivos.CargarUsuarios(perfiles).problema, Problema::Ninguno);
        QCOMPARE(archivos.CargarConfiguracion(perfiles).problema, Problema::Ninguno);
        QCOMPARE(perfiles.cuenta(), 1);
        QCOMPARE(carpeta.leer(kUsuarios).size(), 106);
        QCOMPARE(carpeta.leer(kConfig).size(), 21);
    }

    void archivoDe250BytesYAgregado() {
        CarpetaDePrueba carpeta;
        const QByteArray dos =
            registro(QStringLiteral("General")) + registro(QStringLiteral("Pedro"));
        carpeta.escribir(kUsuarios, dos + QByteArray(38, 'x'));
        ArchivosDatos archivos(carpeta.carpeta());
        Perfiles perfiles;
        archivos.CargarUsuarios(perfiles);
        QCOMPARE(perfiles.cuenta(), 2);
        QCOMPARE(perfiles.usuario(1).Nombre.recortado(), QStringLiteral("Pedro"));
        QCOMPARE(carpeta.leer(kUsuarios).size(), 250); // loading writes nothing

        // The new record goes at offset 212, over the trailing part.
        QVERIFY(archivos.AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Zoe"))));
        QCOMPARE(carpeta.leer(kUsuarios), dos + registro(QStringLiteral("Zoe")));
        QVERIFY(archivos.AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Ana"))));
        QCOMPARE(carpeta.leer(kUsuarios).mid(318), registro(QStringLiteral("Ana")));
    }

    void guardadoDe106PorN() {
        CarpetaDePrueba carpeta;
        const QByteArray general = registro(QStringLiteral("General"));
        const QByteArray ana = registro(QStringLiteral("Ana"), 8);
        carpeta.escribir(kUsuarios,
                         general + ana + registro(QStringLiteral("Pedro")) + QByteArray(50, '\0'));
        carpeta.escribir(kConfig, QByteArray("\x02Pedro") + espacios(15) + "resto");
        ArchivosDatos archivos(carpeta.carpeta());
        Perfiles perfiles;
        archivos.CargarUsuarios(perfiles);
        archivos.CargarConfiguracion(perfiles);
        QCOMPARE(perfiles.usuario(1).Umbral, std::int16_t{8});
        QCOMPARE(perfiles.ConfigInicio.Puerto, std::uint8_t{2});

        // Pedro, the last, deleted; Ana in use; port 3.
        QVERIFY(perfiles.eliminar(2));
        perfiles.seleccionar(1);
        perfiles.fijarPuerto(3);
        QVERIFY(archivos.GuardarTodo(perfiles).isEmpty());
        QCOMPARE(carpeta.leer(kUsuarios), general + ana);
        QCOMPARE(carpeta.leer(kConfig), QByteArray("\x03"
                                                   "Ana") +
                                            espacios(17));
        QVERIFY(!QFile::exists(carpeta.ruta(kUsuarios + QStringLiteral(".nuevo"))));
    }

    void masDe21RegistrosNoSePierden() {
        CarpetaDePrueba carpeta;
        QByteArray archivo;
        for (int i = 0; i < 23; ++i)
            archivo += registro(QStringLiteral("Perfil %1").arg(i, 2, 10, QLatin1Char('0')));
        carpeta.escribir(kUsuarios, archivo);
        ProgramaDePrueba p;
        ArchivosDatos archivos(carpeta.carpeta());
        const ArchivosDatos::Carga c = archivos.CargarUsuarios(p.perfiles);
        QCOMPARE(p.perfiles.cuenta(), 21);
        QVERIFY(c.sobran);
        QCOMPARE(c.registros, 23);

        // Room made by deleting the first; a new profile appended lands behind
        // all 23 records, so that a run ended without saving loses none.
        QVERIFY(p.perfiles.eliminar(0));
        QCOMPARE(p.perfiles.agregar(QStringLiteral("Zeta")).alta, Perfiles::Alta::Hecha);
        QVERIFY(archivos.AgregarUsuarioAlArchivo(Usuario::Nuevo(QStringLiteral("Zeta"))));
        QCOMPARE(carpeta.leer(kUsuarios), archivo + registro(QStringLiteral("Zeta")));
        QVERIFY(archivos.GuardarTodo(p.perfiles).isEmpty());
        // The table (without record 1, with the new one sorted in) and then
        // records 22 and 23.
        const QByteArray guardado = carpeta.leer(kUsuarios);
        QCOMPARE(guardado.size(), 23 * 106);
        QCOMPARE(guardado.left(20 * 106), archivo.mid(106, 20 * 106));
        QCOMPARE(guardado.mid(20 * 106, 106), registro(QStringLiteral("Zeta")));
        QCOMPARE(guardado.mid(21 * 106), archivo.mid(21 * 106));

        // The window tells the user once, at load.
        ProgramaDePrueba q;
        q.carpeta.escribir(kUsuarios, archivo);
        q.cargar();
        QCOMPARE(q.dialogos.mensajes.size(), 1);
        QVERIFY(q.dialogos.mensajes[0].texto.contains(QStringLiteral("23 usuarios")));
        QCOMPARE(q.dialogos.mensajes[0].estilo, vbExclamation);
    }

    void archivosCortosYFueraDeRango() {
        CarpetaDePrueba carpeta;
        carpeta.escribir(kUsuarios, QByteArray(105, 'z'));
        carpeta.escribir(kConfig, QByteArray("\x03Pe"));
        ArchivosDatos archivos(carpeta.carpeta());
        Perfiles perfiles;
        archivos.CargarUsuarios(perfiles);
        archivos.CargarConfiguracion(perfiles);
        QCOMPARE(perfiles.cuenta(), 1);
        QCOMPARE(carpeta.leer(kUsuarios), registroGeneral());
        QCOMPARE(perfiles.ConfigInicio, ConfigPorDefecto());
        QCOMPARE(carpeta.leer(kConfig), QByteArray("\x01General") + espacios(13));

        // A port above 4 reads as no port; reading does not rewrite a record.
        carpeta.escribir(kConfig, QByteArray("\x07general") + espacios(13));
        ArchivosDatos otra(carpeta.carpeta());
        otra.CargarConfiguracion(perfiles);
        QCOMPARE(perfiles.ConfigInicio.Puerto, std::uint8_t{0});
        QCOMPARE(perfiles.ConfigInicio.NombreUsuario.recortado(), QStringLiteral("general"));
        QCOMPARE(carpeta.leer(kConfig).at(0), '\x07');
    }

    void directorioEnLugarDelArchivo() {
        {
            // Answering No ends the load: the window unloads, nothing written.
            ProgramaDePrueba p;
            QVERIFY(QDir(p.carpeta.carpeta()).mkdir(kUsuarios));
            QVERIFY(QDir(p.carpeta.carpeta()).mkdir(kConfig));
            p.cargar();
            QVERIFY(p.ventana->Descargada());
            QCOMPARE(p.dialogos.mensajes.size(), 1);
            QCOMPARE(p.dialogos.mensajes[0].estilo, vbYesNo + vbQuestion);
            QVERIFY(p.dialogos.mensajes[0].texto.startsWith(
                QStringLiteral("No se puede abrir el archivo de usuarios:")));
            QVERIFY(p.dialogos.mensajes[0].texto.endsWith(
                QStringLiteral("¿Desea usar el programa sin guardar los cambios?")));
            QCOMPARE(QDir(p.carpeta.carpeta()).entryList(QDir::Files).size(), 0);
        }
        ProgramaDePrueba p;
        QVERIFY(QDir(p.carpeta.carpeta()).mkdir(kUsuarios));
        QVERIFY(QDir(p.carpeta.carpeta()).mkdir(kConfig));
        p.dialogos.respuestas = {vbYes};
        p.cargar();
        QVERIFY(!p.ventana->Descargada());
        QCOMPARE(p.dialogos.mensajes.size(), 1); // asked once per run
        QCOMPARE(p.perfiles.usuario(0), Usuario::Nuevo(QStringLiteral("General")));
        QCOMPARE(p.perfiles.ConfigInicio, ConfigPorDefecto());
        QVERIFY(!p.archivos.SeGuardanUsuarios() && !p.archivos.SeGuardaConfiguracion());
        p.dialogos.textos = {QStringLiteral("Ana")};
        p.ventana->cmdAgregar_Click();
        p.dialogos.respuestas = {vbYes};
        p.ventana->cmdSalir_Click();
        QCOMPARE(p.dialogos.mensajes.size(), 2); // the exit question; the user knows already
        QVERIFY(QFileInfo(p.carpeta.ruta(kUsuarios)).isDir());
        QCOMPARE(QDir(p.carpeta.carpeta()).entryList(QDir::Files).size(), 0);
    }

    void carpetaSinPermisoDeEscritura() {
        ProgramaDePrueba p;
        const QByteArray original =
            registro(QStringLiteral("General")) + registro(QStringLiteral("Eva"));
        p.carpeta.escribir(kUsuarios, original);
        QFile::setPermissions(p.carpeta.carpeta(), QFile::ReadOwner | QFile::ExeOwner);
        QFile prueba(p.carpeta.ruta(QStringLiteral("prueba")));
        if (prueba.open(QIODevice::WriteOnly)) {
            prueba.remove();
            QFile::setPermissions(p.carpeta.carpeta(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("running with rights that ignore folder permissions");
        }
        p.dialogos.respuestas = {vbYes};
        p.cargar();
        QCOMPARE(p.perfiles.cuenta(), 2);
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QVERIFY(p.dialogos.mensajes[0].texto.contains(QStringLiteral("No se puede guardar")));
        QVERIFY(p.archivos.GuardarTodo(p.perfiles).isEmpty());
        QFile::setPermissions(p.carpeta.carpeta(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(p.carpeta.leer(kUsuarios), original);
        QVERIFY(!QFile::exists(p.carpeta.ruta(kConfig)));
    }

    void idaYVueltaSinCambios() {
        ProgramaDePrueba p;
        const QByteArray usuarios =
            RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("General"))) +
            RegistroDeUsuario(perfil("Ana", "SHIFT+...", "a", "F5", "", 2, 8, 1200)) +
            RegistroDeUsuario(perfil("Pedro", "Letra...", "x", "CTRL+...", "c", 1, 3, 250));
        TipoConfigInicio c;
        c.Puerto = 2;
        c.NombreUsuario = QStringLiteral("Ana");
        p.carpeta.escribir(kUsuarios, usuarios);
        p.carpeta.escribir(kConfig, RegistroDeConfig(c));
        p.cargar();
        QCOMPARE(Recortar(p.ventana->cboUsuario->currentText()), QStringLiteral("Ana"));
        QCOMPARE(p.ventana->cboTeclas1->currentText(), QStringLiteral("SHIFT+..."));
        QCOMPARE(p.ventana->txtLetra1->text(), QStringLiteral("a"));
        QCOMPARE(p.ventana->cboSonido->currentText(), QStringLiteral("8"));
        for (int k : {0, 2, 1, 2, 0, 1}) {
            p.ventana->cboUsuario->setCurrentIndex(k);
            p.ventana->cboUsuario_Click();
        }
        p.dialogos.respuestas = {vbYes};
        p.ventana->cmdSalir_Click();
        QCOMPARE(p.carpeta.leer(kUsuarios), usuarios);
        QCOMPARE(p.carpeta.leer(kConfig), RegistroDeConfig(c));
        QCOMPARE(p.dialogos.mensajes.size(), 1);
    }

    void idaYVueltaSoloCambiaLoTocado() {
        const Usuario general = Usuario::Nuevo(QStringLiteral("General"));
        const Usuario ana = perfil("Ana", "SHIFT+...", "a", "F5", "", 2, 8, 1200);
        const Usuario pedro = perfil("Pedro", "Letra...", "x", "CTRL+...", "c", 1, 3, 250);
        const Usuario luz = perfil("Luz", "ESC", "", "TAB", "", 1, 5, 400);
        QByteArray esperado;
        {
            // Zoe added (in the file at once), Pedro deleted, Ana reset.
            ProgramaDePrueba p;
            p.carpeta.escribir(kUsuarios, RegistroDeUsuario(pedro) + RegistroDeUsuario(general) +
                                              RegistroDeUsuario(ana) + RegistroDeUsuario(luz));
            p.cargar();
            p.dialogos.textos = {QStringLiteral("zoe")};
            p.ventana->cmdAgregar_Click();
            QCOMPARE(p.carpeta.leer(kUsuarios).size(), 5 * 106);
            auto elegir = [&](int k, const char* nombre) {
                p.ventana->cboUsuario->setCurrentIndex(k);
                p.ventana->cboUsuario_Click();
                QCOMPARE(p.perfiles.enUso().Nombre.recortado(), QString::fromUtf8(nombre));
            };
            elegir(3, "Pedro");
            p.dialogos.respuestas = {vbYes};
            p.ventana->cmdEliminar_Click();
            elegir(0, "Ana");
            p.ventana->cmdPorDefecto_Click();
            elegir(2, "Luz");
            p.ventana->cboSwitch->setCurrentIndex(0);
            p.ventana->cboSwitch_Click();
            p.dialogos.respuestas = {vbYes};
            p.ventana->cmdSalir_Click();
            Usuario anaRestablecida = ana;
            anaRestablecida.Accion1 = anaRestablecida.Accion2 = QStringLiteral("Click izquierdo");
            anaRestablecida.Letra1 = anaRestablecida.Letra2 = QString();
            anaRestablecida.Retraso = 400;
            esperado = RegistroDeUsuario(anaRestablecida) + RegistroDeUsuario(general) +
                       RegistroDeUsuario(luz) +
                       RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("Zoe")));
            QCOMPARE(p.carpeta.leer(kUsuarios), esperado);
            QCOMPARE(p.carpeta.leer(kConfig), QByteArray("\x00Luz", 4) + espacios(17));

            // A second run that touches nothing leaves the files as they are.
            ProgramaDePrueba q;
            q.carpeta.escribir(kUsuarios, esperado);
            q.carpeta.escribir(kConfig, p.carpeta.leer(kConfig));
            q.cargar();
            QCOMPARE(Recortar(q.ventana->cboUsuario->currentText()), QStringLiteral("Luz"));
            QCOMPARE(q.ventana->cboTeclas1->currentText(), QStringLiteral("ESC"));
            q.dialogos.respuestas = {vbYes};
            q.ventana->cmdSalir_Click();
            QCOMPARE(q.carpeta.leer(kUsuarios), esperado);
            QCOMPARE(q.carpeta.leer(kConfig), QByteArray("\x00Luz", 4) + espacios(17));
        }
    }
};

QTEST_MAIN(TestArchivos)
#include "tst_archivos.moc"
