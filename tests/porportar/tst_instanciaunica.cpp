// One running copy per folder. The other copy is this test program started
// again with --bloquear: it takes the lock, says "listo" and holds the lock
// until its input is closed.
#include "platform/Dialogos.h"
#include "profiles/InstanciaUnica.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "tests/fakes/DialogosFalsos.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cstdio>

using namespace quimbal;

class TestInstanciaUnica : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { LiberarInstancia(); }
    void segundaCopiaAvisaYNoTocaLosArchivos();
    void bloqueoDeUnaCopiaTerminadaSeRecupera();
    void carpetaSinBloqueoPosible();

private:
    static bool arrancarOtra(QProcess& otra, const QString& carpeta) {
        otra.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--bloquear"), carpeta});
        return otra.waitForReadyRead(10000) && otra.readAll().startsWith("listo");
    }
};

void TestInstanciaUnica::segundaCopiaAvisaYNoTocaLosArchivos() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    QProcess otra;
    QVERIFY(arrancarOtra(otra, carpeta.carpeta()));

    QVERIFY(!ComprobarInstanciaUnica());
    QCOMPARE(s.dialogos.mensajes.size(), 1);
    QVERIFY(s.dialogos.mensajes[0].texto.startsWith(
        QStringLiteral("Quimbal ya está en funcionamiento.")));
    QCOMPARE(s.dialogos.mensajes[0].estilo, vbExclamation);
    QCOMPARE(QDir(carpeta.carpeta()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("quimbal.lck")});

    // Once the first copy has ended, a start goes ahead.
    otra.closeWriteChannel();
    QVERIFY(otra.waitForFinished(10000));
    QCOMPARE(otra.exitCode(), 0);
    QVERIFY(ComprobarInstanciaUnica());
    QCOMPARE(s.dialogos.mensajes.size(), 1);
    // And now it is this copy that keeps a further one out.
    QProcess tercera;
    tercera.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--bloquear"), carpeta.carpeta()});
    QVERIFY(tercera.waitForFinished(10000));
    QCOMPARE(tercera.exitCode(), 2);
    LiberarInstancia();
}

void TestInstanciaUnica::bloqueoDeUnaCopiaTerminadaSeRecupera() {
    CarpetaDePrueba carpeta;
    QProcess otra;
    QVERIFY(arrancarOtra(otra, carpeta.carpeta()));
    otra.kill(); // ends without removing its lock file
    QVERIFY(otra.waitForFinished(10000));
    QVERIFY(QFile::exists(carpeta.ruta(QStringLiteral("quimbal.lck"))));
    QCOMPARE(TomarInstancia(carpeta.carpeta()), Instancia::Unica);
    LiberarInstancia();
    QVERIFY(!QFile::exists(carpeta.ruta(QStringLiteral("quimbal.lck"))));
}

void TestInstanciaUnica::carpetaSinBloqueoPosible() {
    CarpetaDePrueba carpeta;
    ServiciosDePrueba s;
    const QString falta = carpeta.ruta(QStringLiteral("no-existe"));
    QCOMPARE(TomarInstancia(falta), Instancia::SinBloqueo);
    FijarCarpetaPrograma(falta);
    QVERIFY(ComprobarInstanciaUnica()); // the data files decide what can be saved
    QVERIFY(s.dialogos.mensajes.isEmpty());
}

int main(int argc, char** argv) {
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
    QApplication app(argc, argv);
    TestInstanciaUnica t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_instanciaunica.moc"
