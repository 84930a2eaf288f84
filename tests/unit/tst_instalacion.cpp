// An installed copy: where its data lives, data files behind symbolic links, a
// folder that takes no lock, the command line and the session's autostart
// entry, and the reasons a serial port did not open.
#include "app/LineaDeOrdenes.h"
#include "profiles/Carpetas.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace quimbal;

namespace {
QByteArray registro(const char* nombre) {
    return RegistroDeUsuario(Usuario::Nuevo(QString::fromLatin1(nombre)));
}

// XDG_CONFIG_HOME pointed at a temporary folder for one test.
struct ConfiguracionDePrueba {
    QTemporaryDir dir;
    QByteArray antes = qgetenv("XDG_CONFIG_HOME");
    ConfiguracionDePrueba() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
    ~ConfiguracionDePrueba() { qputenv("XDG_CONFIG_HOME", antes); }
};
} // namespace

class TstInstalacion : public QObject {
    Q_OBJECT
private slots:
    void carpetaDeLosDatos() {
        ConfiguracionDePrueba xdg;
        CarpetaDePrueba programa;
        const QString delUsuario = xdg.dir.path() + QStringLiteral("/quimbal");
        // A writable folder, as a portable copy or the build folder.
        QCOMPARE(CarpetaDeDatos(programa.carpeta(), QStringLiteral("/usr/bin")),
                 programa.carpeta());
        QVERIFY(!QFileInfo::exists(delUsuario));
        // The installed folder never holds data, writable or not...
        QCOMPARE(CarpetaDeDatos(programa.carpeta(), programa.carpeta()), delUsuario);
        QVERIFY(QFileInfo(delUsuario).isDir());
        const QFile::Permissions permisos = QFileInfo(delUsuario).permissions();
        QCOMPARE(permisos & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(permisos & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                             QFile::ExeOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        // ... unless it already holds the profiles of a copy that lived there.
        programa.escribir(QStringLiteral("usuarios.dat"), registro("General"));
        QCOMPARE(CarpetaDeDatos(programa.carpeta(), programa.carpeta()), programa.carpeta());
        // Without XDG_CONFIG_HOME, ~/.config.
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(CarpetaConfiguracion(), QDir::homePath() + QStringLiteral("/.config"));
    }

    void archivosQueSonEnlaces() {
        // The data files are links into another folder: loading, appending
        // and the save all go to the files they name; the links stay.
        QTemporaryDir otra;
        const QString usuarios = otra.filePath(QStringLiteral("perfiles.dat"));
        const QString config = otra.filePath(QStringLiteral("ajustes.dat"));
        ProgramaDePrueba p;
        QFile f(usuarios);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(registro("General") + registro("Ana"));
        f.close();
        QVERIFY(QFile::link(usuarios, p.carpeta.ruta(QStringLiteral("usuarios.dat"))));
        QVERIFY(QFile::link(config, p.carpeta.ruta(QStringLiteral("quimbal.dat")))); // dangling
        p.cargar();
        QCOMPARE(p.perfiles.cuenta(), 2);
        QVERIFY(p.dialogos.mensajes.isEmpty());
        p.dialogos.textos = {QStringLiteral("Zoe")};
        p.ventana->cmdAgregar_Click();
        QFile leido(usuarios);
        QVERIFY(leido.open(QIODevice::ReadOnly));
        QCOMPARE(leido.readAll(), registro("General") + registro("Ana") + registro("Zoe"));
        leido.close();
        p.dialogos.respuestas = {vbYes};
        p.ventana->cmdSalir_Click();
        for (const QString& n : {QStringLiteral("usuarios.dat"), QStringLiteral("quimbal.dat")})
            QVERIFY(QFileInfo(p.carpeta.ruta(n)).isSymLink());
        QVERIFY(leido.open(QIODevice::ReadOnly));
        QCOMPARE(leido.readAll(), registro("Ana") + registro("General") + registro("Zoe"));
        QCOMPARE(QFileInfo(config).size(), 21);
        QVERIFY(!QFileInfo::exists(otra.filePath(QStringLiteral("perfiles.dat.nuevo"))));
    }

    void carpetaSinBloqueoNoSeEscribe() {
        ProgramaDePrueba p;
        const QByteArray original = registro("General") + registro("Eva");
        p.carpeta.escribir(QStringLiteral("usuarios.dat"), original);
        p.archivos.FijarSinBloqueo();
        p.dialogos.respuestas = {vbYes};
        p.cargar();
        QCOMPARE(p.perfiles.cuenta(), 2);
        QCOMPARE(p.dialogos.mensajes.size(), 1); // asked once for both files
        QVERIFY(p.dialogos.mensajes[0].texto.contains(QStringLiteral("archivo de bloqueo")));
        QCOMPARE(p.dialogos.mensajes[0].estilo, vbYesNo + vbQuestion);
        p.dialogos.textos = {QStringLiteral("Zoe")};
        p.ventana->cmdAgregar_Click();
        p.dialogos.respuestas = {vbYes};
        p.ventana->cmdSalir_Click();
        QCOMPARE(p.carpeta.leer(QStringLiteral("usuarios.dat")), original);
        QVERIFY(!QFileInfo::exists(p.carpeta.ruta(QStringLiteral("quimbal.dat"))));
        // No: the program ends without touching anything.
        ProgramaDePrueba q;
        q.archivos.FijarSinBloqueo();
        q.cargar();
        QVERIFY(q.ventana->Descargada());
        QCOMPARE(QDir(q.carpeta.carpeta()).entryList(QDir::Files), QStringList{});
    }

    void lineaDeOrdenes_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<bool>("bandeja");
        QTest::addColumn<int>("inicio"); // -1 not asked, 0 no, 1 yes
        QTest::addColumn<bool>("error");
        QTest::newRow("nada") << QStringList{} << false << -1 << false;
        QTest::newRow("bandeja") << QStringList{"--bandeja"} << true << -1 << false;
        QTest::newRow("si") << QStringList{"--inicio-automatico", "si"} << false << 1 << false;
        QTest::newRow("no=") << QStringList{"--inicio-automatico=no"} << false << 0 << false;
        QTest::newRow("sin valor") << QStringList{"--inicio-automatico"} << false << -1 << true;
        QTest::newRow("valor raro")
            << QStringList{"--inicio-automatico", "quizá"} << false << -1 << true;
        QTest::newRow("desconocida") << QStringList{"--bandeja", "-x"} << true << -1 << true;
    }
    void lineaDeOrdenes() {
        QFETCH(QStringList, argumentos);
        QFETCH(bool, bandeja);
        QFETCH(int, inicio);
        QFETCH(bool, error);
        const Ordenes o = LeerOrdenes(argumentos);
        QCOMPARE(o.bandeja, bandeja);
        QCOMPARE(o.inicioAutomatico ? int(*o.inicioAutomatico) : -1, inicio);
        QCOMPARE(!o.error.isEmpty(), error);
    }

    void inicioAutomatico() {
        ConfiguracionDePrueba xdg;
        const QString archivo = xdg.dir.path() + QStringLiteral("/autostart/quimbal.desktop");
        QCOMPARE(ArchivoInicioAutomatico(), archivo);
        QString motivo;
        QVERIFY(FijarInicioAutomatico(true, QStringLiteral("/opt/mis programas/quimbal"), motivo));
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(f.readAll());
        QVERIFY(texto.startsWith(QStringLiteral("[Desktop Entry]\nType=Application\n")));
        QVERIFY(
            texto.contains(QStringLiteral("\nExec=\"/opt/mis programas/quimbal\" --bandeja\n")));
        QVERIFY(texto.contains(QStringLiteral("\nTryExec=/opt/mis programas/quimbal\n")));
        QVERIFY(texto.contains(QStringLiteral("\nX-GNOME-Autostart-Delay=")));
        QVERIFY(FijarInicioAutomatico(false, QString(), motivo));
        QVERIFY(!QFileInfo::exists(archivo));
        QVERIFY(FijarInicioAutomatico(false, QString(), motivo)); // nothing to remove
    }

    // The entry read back by the desktop's own reader starts the program at
    // its path, whatever characters the folder's name holds.
    void inicioAutomaticoEnCarpetasRaras_data() {
        QTest::addColumn<QString>("carpeta");
        QTest::newRow("porcentaje") << QStringLiteral("mis 100% programas");
        QTest::newRow("código de campo") << QStringLiteral("a%u%f%%");
        QTest::newRow("comillas y dólar") << QStringLiteral("\"c$HOME`d'");
        QTest::newRow("barra invertida") << QStringLiteral("e\\f\\\\g\\s");
        QTest::newRow("acentos") << QStringLiteral("Pequeñín ñandú");
    }
    void inicioAutomaticoEnCarpetasRaras() {
        QFETCH(QString, carpeta);
        const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
        if (gio.isEmpty())
            QSKIP("gio (libglib2.0-bin) no está instalado");
        ConfiguracionDePrueba xdg;
        QTemporaryDir raiz;
        const QString dir = raiz.filePath(carpeta);
        QVERIFY(QDir().mkpath(dir));
        const QString programa = dir + QStringLiteral("/quimbal");
        const QString salida = raiz.filePath(QStringLiteral("salida"));
        {
            QFile f(programa);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$QUIMBAL_SALIDA\"\n");
        }
        QFile::setPermissions(programa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QString motivo;
        QVERIFY2(FijarInicioAutomatico(true, programa, motivo), qPrintable(motivo));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUIMBAL_SALIDA"), salida);
        p.setProcessEnvironment(env);
        p.start(gio, {QStringLiteral("launch"), ArchivoInicioAutomatico()});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        QTRY_VERIFY(QFileInfo(salida).size() > 0);
        QFile f(salida);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), programa + QStringLiteral("\n--bandeja\n"));
    }

    void inicioAutomaticoRehusaRutasImposibles() {
        ConfiguracionDePrueba xdg;
        QString motivo;
        QVERIFY(!FijarInicioAutomatico(true, QStringLiteral("/opt/dos\nlineas/quimbal"), motivo));
        QVERIFY(motivo.contains(QStringLiteral("caracteres")));
        QVERIFY(!QFileInfo::exists(ArchivoInicioAutomatico()));
    }

    void motivoDelPuertoUnaVezConLaVentanaALaVista_data() {
        QTest::addColumn<FalloPuerto>("fallo");
        QTest::addColumn<QString>("dice");
        QTest::newRow("permiso") << FalloPuerto::SinPermiso << "sudo usermod -aG dialout ";
        QTest::newRow("no existe") << FalloPuerto::NoExiste << "el dispositivo no existe";
        QTest::newRow("ocupado") << FalloPuerto::Ocupado << "otro programa lo está usando";
    }
    void motivoDelPuertoUnaVezConLaVentanaALaVista() {
        QFETCH(FalloPuerto, fallo);
        QFETCH(QString, dice);
        ProgramaDePrueba p;
        p.puerto.puertosExistentes = {1};
        p.puerto.falloAlAbrir = fallo;
        TipoConfigInicio c = ConfigPorDefecto();
        c.Puerto = 3;
        p.carpeta.escribir(QStringLiteral("quimbal.dat"), RegistroDeConfig(c));
        // Loaded hidden (as at login): nothing is shown, the tooltip knows.
        p.cargar();
        p.ventana->cmdAceptar_Click();
        QVERIFY(p.dialogos.mensajes.isEmpty());
        QVERIFY(p.ventana->cboSwitch->toolTip().contains(dice));
        // Shown: told once, not again when shown again.
        p.ventana->show();
        QTRY_COMPARE(p.dialogos.mensajes.size(), 1);
        QVERIFY(p.dialogos.mensajes[0].texto.contains(dice));
        QVERIFY(p.dialogos.mensajes[0].texto.contains(QStringLiteral("COM3 (/dev/ttyFALSO3)")));
        QCOMPARE(p.dialogos.mensajes[0].titulo, QStringLiteral("Puerto serie"));
        p.ventana->hide();
        p.ventana->show();
        QTest::qWait(20);
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        // Picked by the user: told at once; a port that opens says nothing.
        p.ventana->cboSwitch->setCurrentIndex(2);
        p.ventana->cboSwitch_Click();
        QCOMPARE(p.dialogos.mensajes.size(), 2);
        p.ventana->cboSwitch->setCurrentIndex(1);
        p.ventana->cboSwitch_Click();
        QCOMPARE(p.dialogos.mensajes.size(), 2);
        QCOMPARE(p.ventana->cboSwitch->toolTip(), QStringLiteral("COM1: /dev/ttyFALSO1"));
    }
};

QTEST_MAIN(TstInstalacion)
#include "tst_instalacion.moc"
