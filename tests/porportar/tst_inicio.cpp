// The start screen: the text shift, the computed captions, F10, and the keys
// and clicks that leave it.
#include "app/Funciones.h"
#include "app/frmInicio.h"
#include "tests/fakes/DialogosFalsos.h"

#include <QFrame>
#include <QPointer>
#include <QTest>

using namespace quimbal;

class TstInicio : public QObject {
    Q_OBJECT
private slots:
    void desplazarTexto() {
        QCOMPARE(DesplazarTexto(QByteArray(), 3), QByteArray());
        QCOMPARE(DesplazarTexto(QByteArray(), -3), QByteArray());
        const QByteArray todos = [] {
            QByteArray b;
            for (int c = 0; c < 256; ++c)
                b.append(static_cast<char>(c));
            return b;
        }();
        QCOMPARE(DesplazarTexto(todos, 0), todos);
        const QByteArray texto("Versi\xf3n 1.6 \xa9 ~");
        const QByteArray ida = DesplazarTexto(texto, 3);
        QCOMPARE(ida.size(), texto.size());
        QCOMPARE(ida.at(0), 'Y');
        QCOMPARE(DesplazarTexto(ida, -3), texto);
        // A sum outside 0..255 gives "?" for that character only.
        QCOMPARE(DesplazarTexto(QByteArray("\x01"
                                           "A\xfe",
                                           3),
                                -2),
                 QByteArray("?\x3f\xfc"));
        QCOMPARE(DesplazarTexto(QByteArray("A\xfe"), 2), QByteArray("C?"));
    }

    void titulosCalculados() {
        frmInicio f;
        QCOMPARE(f.lblLi->text(), QStringLiteral("Programa de distribución gratuita."));
        QCOMPARE(f.lblCo->text(), QStringLiteral("Quimbal"));
        QCOMPARE(f.lblVe->text(), QStringLiteral("Versión 1.6"));
        QCOMPARE(f.lblCm->text(), QStringLiteral("Los desarrolladores de Quimbal"));
        QVERIFY(f.lblCp->text().contains(QStringLiteral("©")));
        QVERIFY(f.lblLi1->text().startsWith(QStringLiteral("Para la opción de reconocimiento")));
        QVERIFY(f.lblLi2->text().contains(QStringLiteral("nivel de sonido"), Qt::CaseInsensitive));
        QVERIFY(!f.lblLi3->text().contains(QStringLiteral("D'acord")));
        QVERIFY(f.MensajeF10().contains(QStringLiteral("Quimbal 1.6")));
        // Every caption fits its label.
        for (QLabel* l :
             {f.lblLi, f.lblCo, f.lblVe, f.lblCp, f.lblCm, f.lblLi1, f.lblLi2, f.lblLi3})
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(),
                     qPrintable(l->objectName()));
        QCOMPARE(f.size(), QSize(487, 338));
        QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.Lo->pixmap().size(), QSize(231, 168));
        QCOMPARE(f.palette().color(QPalette::Window), QColor(Qt::white));
    }

    void f10MuestraElMensajeYSeQueda() {
        ServiciosDePrueba s;
        QPointer<frmInicio> f = new frmInicio;
        int continuado = 0;
        f->MostrarVentanaPrincipal = [&] { ++continuado; };
        f->show();
        QTest::keyClick(f->cmdContinuar, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(s.dialogos.mensajes.size(), 1);
        QCOMPARE(s.dialogos.mensajes[0].texto, frmInicio::MensajeF10());
        QCOMPARE(s.dialogos.mensajes[0].estilo, 48);
        QCOMPARE(s.dialogos.mensajes[0].titulo, QStringLiteral("Quimbal 1.6"));
        QVERIFY(f->isVisible());
        for (Qt::Key k : {Qt::Key_F5, Qt::Key_Left, Qt::Key_Shift, Qt::Key_PageDown})
            QTest::keyClick(f->cmdContinuar, k);
        QCOMPARE(continuado, 0);
        QTest::keyClick(f->cmdContinuar, Qt::Key_X);
        QCOMPARE(continuado, 1);
        QVERIFY(!f->isVisible());
        QTRY_VERIFY(f.isNull()); // unloaded
    }

    void teclasConCaracterSalen_data() {
        QTest::addColumn<int>("tecla");
        QTest::newRow("letra") << int(Qt::Key_A);
        QTest::newRow("cifra") << int(Qt::Key_7);
        QTest::newRow("espacio") << int(Qt::Key_Space);
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("esc") << int(Qt::Key_Escape);
        QTest::newRow("retroceso") << int(Qt::Key_Backspace);
    }
    void teclasConCaracterSalen() {
        QFETCH(int, tecla);
        ServiciosDePrueba s;
        auto* f = new frmInicio;
        int continuado = 0;
        f->MostrarVentanaPrincipal = [&] { ++continuado; };
        f->show();
        // Wherever the focus is, the window sees the key first.
        QTest::keyClick(f->cmdContinuar, static_cast<Qt::Key>(tecla));
        QCOMPARE(continuado, 1);
        QVERIFY(s.dialogos.mensajes.isEmpty());
    }

    void clicsQueSalen_data() {
        QTest::addColumn<QString>("control");
        for (const char* n : {"Frame1", "Lo", "lblLi", "lblCo", "lblVe", "lblCp", "lblCm", "lblLi1",
                              "lblLi2", "lblLi3", "cmdContinuar"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void clicsQueSalen() {
        QFETCH(QString, control);
        auto* f = new frmInicio;
        int continuado = 0;
        f->MostrarVentanaPrincipal = [&] { ++continuado; };
        f->show();
        auto* w = f->findChild<QWidget*>(control);
        QVERIFY(w);
        QTest::mouseClick(w, Qt::LeftButton);
        QCOMPARE(continuado, 1);
        // A second click or key on the way out does nothing more.
        QTest::keyClick(f, Qt::Key_A);
        QCOMPARE(continuado, 1);
    }

    void cerrarLaPantallaTermina() {
        QPointer<frmInicio> f = new frmInicio;
        int continuado = 0, cerrada = 0;
        f->MostrarVentanaPrincipal = [&] { ++continuado; };
        f->Cerrada = [&] { ++cerrada; };
        f->show();
        f->close();
        QCOMPARE(cerrada, 1);
        QCOMPARE(continuado, 0);
        QTRY_VERIFY(f.isNull());
        // After Continuar, its own closing is not an end.
        auto* g = new frmInicio;
        g->MostrarVentanaPrincipal = [&] { ++continuado; };
        g->Cerrada = [&] { ++cerrada; };
        g->show();
        QTest::keyClick(g, Qt::Key_A);
        g->close();
        QCOMPARE(continuado, 1);
        QCOMPARE(cerrada, 1);
    }

    void elMargenNoSale() {
        frmInicio f;
        int continuado = 0;
        f.MostrarVentanaPrincipal = [&] { ++continuado; };
        f.show();
        QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(3, 100));
        QCOMPARE(continuado, 0);
    }
};

QTEST_MAIN(TstInicio)
#include "tst_inicio.moc"
