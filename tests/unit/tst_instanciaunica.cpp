// One running copy per folder. The other copy is this test program started
// again with --bloquear: it takes the lock, says "listo" and holds the lock
// until its input is closed; it ends with 2 when the lock was not its own.
#include "profiles/InstanciaUnica.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <cstdio>

using namespace quimbal;

class TestInstanciaUnica : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { LiberarInstancia(); }
    void otraCopiaTieneElBloqueo();
    void bloqueoDeUnaCopiaTerminadaSeRecupera();
    void carpetaSinBloqueoPosible();

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
    QCoreApplication app(argc, argv);
    TestInstanciaUnica t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_instanciaunica.moc"
