// The help viewer and the program's help file.
#include "platform/qt/AyudaQt.h"
#include "tests/fakes/DialogosFalsos.h"

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
        ServiciosDePrueba s;
        AyudaQt ayuda;
        QVERIFY(ayuda.WinHelp(nullptr, archivoDelPrograma(), HELP_CONTENTS, 0));
        QVERIFY(s.dialogos.mensajes.isEmpty());
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
        for (int i = 1; i <= 9; ++i)
            QVERIFY(html.contains(QStringLiteral("name=\"tema%1\"").arg(i)));
        QVERIFY(ayuda.WinHelp(nullptr, archivoDelPrograma(), HELP_QUIT, 0));
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
            ServiciosDePrueba s;
            AyudaQt ayuda;
            QVERIFY(!ayuda.WinHelp(nullptr, archivo, HELP_CONTENTS, 0));
            QCOMPARE(s.dialogos.mensajes.size(), 1);
            QVERIFY(s.dialogos.mensajes[0].texto.contains(QStringLiteral("archivo de ayuda")));
            QVERIFY(s.dialogos.mensajes[0].texto.contains(archivo));
            QCOMPARE(s.dialogos.mensajes[0].estilo, 48);
            QVERIFY(!ayuda.visor());
        }
    }
};

QTEST_MAIN(TstAyuda)
#include "tst_ayuda.moc"
