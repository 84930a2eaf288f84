// The help viewer, the program's help file, and what the main window says
// when the file cannot be shown.
#include "platform/Dialogos.h"
#include "platform/qt/AyudaQt.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace quimbal;

class TstAyuda : public QObject {
    Q_OBJECT
    QString archivoDelPrograma() const {
        return QStringLiteral(QT_TESTCASE_SOURCEDIR "/../app/ayuda/quimbal.hlp");
    }
private slots:
    void elArchivoDelProgramaSeMuestra() {
        AyudaQt ayuda;
        QString motivo;
        QVERIFY2(ayuda.abrir(archivoDelPrograma(), motivo), qPrintable(motivo));
        QVERIFY(ayuda.visor());
        QVERIFY(ayuda.visor()->isVisible());
        auto* nav = ayuda.visor()->findChild<QTextBrowser*>();
        const QString texto = nav->toPlainText();
        for (const char* tema :
             {"Contenido", "switch", "sonido", "Usuarios", "modo de prueba", "Tocabrix", "Salir"})
            QVERIFY2(texto.contains(QString::fromUtf8(tema), Qt::CaseInsensitive), tema);
        QCOMPARE(ayuda.visor()->windowTitle(), QStringLiteral("Ayuda de Quimbal"));
        // Every link of the contents leads to a topic of the file.
        const QString html = nav->toHtml();
        for (int i = 1; i <= 14; ++i)
            QVERIFY(html.contains(QStringLiteral("name=\"tema%1\"").arg(i)));
        // Opened again, the same viewer shows it; closed, it goes.
        QWidget* visor = ayuda.visor();
        QVERIFY(ayuda.abrir(archivoDelPrograma(), motivo));
        QCOMPARE(ayuda.visor(), visor);
        visor->findChild<QPushButton*>(QStringLiteral("cerrarAyuda"))->click();
        QTRY_VERIFY(!ayuda.visor());
    }

    void unArchivoQueNoSePuedeMostrar() {
        QTemporaryDir d;
        const QString falta = d.filePath(QStringLiteral("quimbal.hlp"));
        const QString binario = d.filePath(QStringLiteral("binario.hlp"));
        const QString otro = d.filePath(QStringLiteral("texto.hlp"));
        QFile b(binario);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write(QByteArray("?_\x03\x00\x00\x00\xff\xfe", 8));
        b.close();
        QFile t(otro);
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write("solo texto");
        t.close();
        for (const QString& archivo : {falta, binario, otro, d.path()}) {
            AyudaQt ayuda;
            QString motivo;
            QVERIFY(!ayuda.abrir(archivo, motivo));
            QVERIFY2(motivo.contains(QStringLiteral("archivo de ayuda")), qPrintable(motivo));
            QVERIFY(motivo.contains(archivo));
            QVERIFY(!ayuda.visor());
        }
    }

    void laVentanaDiceElMotivo() {
        ProgramaDePrueba p;
        p.cargar();
        p.ayuda.rechazo = QStringLiteral("No se encuentra el archivo de ayuda:\n/x/quimbal.hlp");
        p.dialogos.mensajes.clear();
        p.ventana->cmdAyuda->click();
        QCOMPARE(p.ayuda.archivos, QStringList{p.carpeta.ruta(QStringLiteral("quimbal.hlp"))});
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QCOMPARE(p.dialogos.mensajes[0].texto, p.ayuda.rechazo);
        QCOMPARE(p.dialogos.mensajes[0].estilo, vbExclamation);
        // Shown, the help file says nothing more.
        p.ayuda.rechazo.clear();
        p.ventana->cmdAyuda->click();
        QCOMPARE(p.ayuda.archivos.size(), 2);
        QCOMPARE(p.dialogos.mensajes.size(), 1);
    }
};

QTEST_MAIN(TstAyuda)
#include "tst_ayuda.moc"
