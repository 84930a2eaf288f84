// One running copy per folder, and one per user session. The other copy is
// this test program started again: with --bloquear it takes the folder's
// lock, says "listo" and holds the lock until its input is closed (it ends
// with 2 when the lock was not its own); with --sesion it takes the
// session's lock, says "listo", and ends once another copy asked for its
// window, saying "pedida".
#include "platform/CarpetaPersonal.h"
#include "platform/CopiaUnica.h"
#include "platform/FinDeSesion.h"
#include "platform/Pantalla.h"
#include "profiles/InstanciaUnica.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace quimbal;

class TestInstanciaUnica : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { LiberarInstancia(); }
    void otraCopiaTieneElBloqueo();
    void bloqueoDeUnaCopiaTerminadaSeRecupera();
    void carpetaSinBloqueoPosible();
    void archivoQueNombraEsteProceso();
    void unaCopiaPorSesion();
    void finPedidoPorSenal_data();
    void finPedidoPorSenal();
    void sinHomeLaCarpetaDelUsuario();
    void sinPantallaUnMotivo();

private:
    static void arrancarOtra(QProcess& otra, const QString& carpeta) {
        otra.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--bloquear"), carpeta});
    }
    static bool otraListaCon(QProcess& otra, const QString& carpeta) {
        arrancarOtra(otra, carpeta);
        return otra.waitForReadyRead(10000) && otra.readAll().startsWith("listo");
    }
};

void TestInstanciaUnica::otraCopiaTieneElBloqueo() {
    CarpetaDePrueba carpeta;
    QProcess otra;
    QVERIFY(otraListaCon(otra, carpeta.carpeta()));

    // Kept out, this copy leaves nothing of its own in the folder.
    QCOMPARE(TomarInstancia(carpeta.carpeta()), Instancia::OtraEnMarcha);
    QCOMPARE(QDir(carpeta.carpeta()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("quimbal.lck")});

    // Once the first copy has ended, the lock is this copy's.
    otra.closeWriteChannel();
    QVERIFY(otra.waitForFinished(10000));
    QCOMPARE(otra.exitCode(), 0);
    QCOMPARE(TomarInstancia(carpeta.carpeta()), Instancia::Unica);
    // And now it is this copy that keeps a further one out.
    QProcess tercera;
    arrancarOtra(tercera, carpeta.carpeta());
    QVERIFY(tercera.waitForFinished(10000));
    QCOMPARE(tercera.exitCode(), 2);
    // Released, the lock file goes.
    LiberarInstancia();
    QVERIFY(!QFile::exists(carpeta.ruta(QStringLiteral("quimbal.lck"))));
}

void TestInstanciaUnica::bloqueoDeUnaCopiaTerminadaSeRecupera() {
    CarpetaDePrueba carpeta;
    QProcess otra;
    QVERIFY(otraListaCon(otra, carpeta.carpeta()));
    otra.kill(); // ends without removing its lock file
    QVERIFY(otra.waitForFinished(10000));
    QVERIFY(QFile::exists(carpeta.ruta(QStringLiteral("quimbal.lck"))));
    QCOMPARE(TomarInstancia(carpeta.carpeta()), Instancia::Unica);
    LiberarInstancia();
    QVERIFY(!QFile::exists(carpeta.ruta(QStringLiteral("quimbal.lck"))));
}

void TestInstanciaUnica::carpetaSinBloqueoPosible() {
    CarpetaDePrueba carpeta;
    const QString falta = carpeta.ruta(QStringLiteral("no-existe"));
    QCOMPARE(TomarInstancia(falta), Instancia::SinBloqueo);
    QVERIFY(!QFileInfo::exists(falta));
}

// A lock file left by a copy whose process number this process now has (a
// reboot, a wrap-around) keeps nobody out: the file's content means nothing.
void TestInstanciaUnica::archivoQueNombraEsteProceso() {
    CarpetaDePrueba carpeta;
    carpeta.escribir(QStringLiteral("quimbal.lck"),
                     QByteArray::number(static_cast<qint64>(::getpid())) + "\nquimbal\nhost\n");
    QCOMPARE(TomarInstancia(carpeta.carpeta()), Instancia::Unica);
}

void TestInstanciaUnica::unaCopiaPorSesion() {
    QTemporaryDir sesion;
    QFile::setPermissions(sesion.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray antes = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", sesion.path().toLocal8Bit());
    QCOMPARE(CopiaUnica::CarpetaDeSesion(), sesion.path());
    QProcess primera;
    primera.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--sesion")});
    QVERIFY(primera.waitForReadyRead(10000));
    QVERIFY(primera.readAll().startsWith("listo"));
    {
        // Whatever folder this copy was started from, it is a later one,
        // and the first shows its window when asked.
        CopiaUnica otra;
        QCOMPARE(otra.tomar(), CopiaUnica::Estado::OtraEnMarcha);
        QVERIFY(otra.pedirVentana());
        QVERIFY(primera.waitForFinished(10000));
        QVERIFY(primera.readAll().contains("pedida"));
        QCOMPARE(primera.exitCode(), 0);
    }
    // A first copy killed leaves its lock file and socket: neither keeps
    // the next one out, and the next one answers in its turn.
    QProcess muerta;
    muerta.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--sesion")});
    QVERIFY(muerta.waitForReadyRead(10000));
    muerta.kill();
    QVERIFY(muerta.waitForFinished(10000));
    {
        CopiaUnica nueva;
        QCOMPARE(nueva.tomar(), CopiaUnica::Estado::Primera);
        QSignalSpy pedida(&nueva, &CopiaUnica::ventanaPedida);
        QProcess tercera;
        tercera.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--pedir")});
        QTRY_COMPARE(pedida.size(), 1);
        // The answer goes out through this copy's event loop: waited on
        // without blocking it.
        QTRY_COMPARE_WITH_TIMEOUT(tercera.state(), QProcess::NotRunning, 10000);
        QCOMPARE(tercera.exitCode(), 0);
    }
    qputenv("XDG_RUNTIME_DIR", antes);
}

void TestInstanciaUnica::finPedidoPorSenal_data() {
    QTest::addColumn<int>("senal");
    QTest::addColumn<QString>("causa");
    QTest::newRow("cierre de sesión") << int(SIGTERM) << "SIGTERM";
    QTest::newRow("terminal cerrada") << int(SIGHUP) << "SIGHUP";
    QTest::newRow("Ctrl+C") << int(SIGINT) << "SIGINT";
}

void TestInstanciaUnica::finPedidoPorSenal() {
    QFETCH(int, senal);
    QFETCH(QString, causa);
    const std::unique_ptr<FinDeSesion> fin = CrearFinDeSesion();
    QSignalSpy pedido(fin.get(), &FinDeSesion::pedido);
    QCOMPARE(::raise(senal), 0); // the default would end this test program
    QTRY_COMPARE(pedido.size(), 1);
    QCOMPARE(pedido[0][0].toString(), causa);
}

void TestInstanciaUnica::sinHomeLaCarpetaDelUsuario() {
    const QByteArray antes = qgetenv("HOME");
    qunsetenv("HOME");
    const QString carpeta = CarpetaPersonal();
    qputenv("HOME", antes);
    QVERIFY(carpeta.startsWith(QLatin1Char('/')));
    QVERIFY(carpeta != QStringLiteral("/"));
    QVERIFY(QFileInfo(carpeta).isDir());
}

void TestInstanciaUnica::sinPantallaUnMotivo() {
    const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM"), x = qgetenv("DISPLAY"),
                     w = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("WAYLAND_DISPLAY");
    QString motivo;
    qunsetenv("DISPLAY");
    const bool ninguna = HayPantalla(motivo);
    const QString sinVariables = motivo;
    qputenv("DISPLAY", ":9876");
    const bool muda = HayPantalla(motivo);
    qputenv("QT_QPA_PLATFORM", plataforma);
    qputenv("DISPLAY", x);
    qputenv("WAYLAND_DISPLAY", w);
    QVERIFY(!ninguna);
    QVERIFY(sinVariables.contains(QStringLiteral("escritorio gráfico")));
    QVERIFY(!muda);
    QVERIFY(motivo.contains(QStringLiteral(":9876")));
}

int main(int argc, char** argv) {
    if (argc == 2 && qstrcmp(argv[1], "--sesion") == 0) {
        QCoreApplication app(argc, argv);
        CopiaUnica copia;
        if (copia.tomar() != CopiaUnica::Estado::Primera)
            return 2;
        QObject::connect(&copia, &CopiaUnica::ventanaPedida, &app, [] {
            std::fputs("pedida\n", stdout);
            std::fflush(stdout);
            // After the answer has gone.
            QTimer::singleShot(200, [] { QCoreApplication::quit(); });
        });
        std::fputs("listo\n", stdout);
        std::fflush(stdout);
        return app.exec();
    }
    if (argc == 2 && qstrcmp(argv[1], "--pedir") == 0) {
        QCoreApplication app(argc, argv);
        CopiaUnica copia;
        return copia.tomar() == CopiaUnica::Estado::OtraEnMarcha && copia.pedirVentana() ? 0 : 3;
    }
    if (argc == 3 && qstrcmp(argv[1], "--bloquear") == 0) {
        QCoreApplication app(argc, argv);
        if (TomarInstancia(QString::fromLocal8Bit(argv[2])) != Instancia::Unica)
            return 2;
        std::fputs("listo\n", stdout);
        std::fflush(stdout);
        char resto[64];
        while (std::fread(resto, 1, sizeof resto, stdin) > 0) {
        }
        LiberarInstancia();
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestInstanciaUnica t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_instanciaunica.moc"
