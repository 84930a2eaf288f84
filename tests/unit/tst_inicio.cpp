// The start screen: the text shift, the captions restored from their stored
// form, F10, and the keys and clicks that leave it.
#include "app/Funciones.h"
#include "app/frmInicio.h"
#include "platform/Dialogos.h"
#include "tests/fakes/DialogosFalsos.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace quimbal;

namespace {
// A start screen shown, counting how often it went on to the main window.
struct Inicio {
    DialogosFalsos dialogos;
    QPointer<frmInicio> f = new frmInicio(dialogos);
    int continuado = 0;
    int cerrada = 0;
    Inicio() {
        f->MostrarVentanaPrincipal = [this] { ++continuado; };
        f->Cerrada = [this] { ++cerrada; };
        f->show();
    }
    ~Inicio() { delete f.data(); }
};
} // namespace

class TstInicio : public QObject {
    Q_OBJECT
private slots:
    void desplazarTexto() {
        QCOMPARE(DesplazarTexto(QByteArray(), -3), QByteArray());
        QByteArray todos;
        for (int c = 0; c < 256; ++c)
            todos.append(static_cast<char>(c));
        QCOMPARE(DesplazarTexto(todos, 0), todos);
        const QByteArray texto("Versi\xf3n 1.6 \xa9 ~");
        const QByteArray ida = DesplazarTexto(texto, 3);
        QCOMPARE(ida.size(), texto.size());
        QCOMPARE(ida.at(0), 'Y');
        QCOMPARE(DesplazarTexto(ida, -3), texto);
        // A sum outside 0..255 gives "?" for that character only.
        QCOMPARE(DesplazarTexto(QByteArray::fromHex("0141fe"), -2), QByteArray::fromHex("3f3ffc"));
        QCOMPARE(DesplazarTexto(QByteArray("A\xfe"), 2), QByteArray("C?"));
    }

    void titulos() {
        DialogosFalsos d;
        frmInicio f(d);
        QCOMPARE(f.lblLicencia->text(), QStringLiteral("Programa de distribución gratuita."));
        QCOMPARE(f.lblNombre->text(), QStringLiteral("Quimbal"));
        QCOMPARE(
            f.lblVersion->text(),
            QStringLiteral("Versión %1.%2").arg(QUIMBAL_VERSION_MAYOR).arg(QUIMBAL_VERSION_MENOR));
        QCOMPARE(f.lblAutores->text(), QStringLiteral("Los desarrolladores de Quimbal"));
        QVERIFY(f.lblDerechos->text().contains(QStringLiteral("©")));
        QVERIFY(f.lblCreditoSonido1->text().startsWith(
            QStringLiteral("Para la opción de reconocimiento")));
        QVERIFY(f.lblCreditoSonido2->text().contains(QStringLiteral("nivel de sonido"),
                                                     Qt::CaseInsensitive));
        QVERIFY(f.lblNota->text().contains(QStringLiteral("\"Aceptar\"")));
        const QString f10 = frmInicio::MensajeF10();
        QVERIFY(f10.startsWith(TituloAplicacion() + QStringLiteral(": emulación")));
        QVERIFY(f10.contains(QStringLiteral("distribución gratuita. © ")));
        // Every caption came back whole from its stored form (no character
        // turned into "?") and fits its label.
        QVERIFY(!f10.contains(QLatin1Char('?')));
        for (QLabel* l : {f.lblLicencia, f.lblNombre, f.lblVersion, f.lblDerechos, f.lblAutores,
                          f.lblCreditoSonido1, f.lblCreditoSonido2, f.lblNota}) {
            QVERIFY2(!l->text().isEmpty() && !l->text().contains(QLatin1Char('?')),
                     qPrintable(l->objectName()));
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(),
                     qPrintable(l->objectName()));
        }
        QCOMPARE(f.size(), QSize(487, 338));
        QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.logo->pixmap().size(), QSize(231, 168));
        QCOMPARE(f.palette().color(QPalette::Window), QColor(Qt::white));
    }

    void teclas_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<bool>("sale");
        QTest::newRow("letra") << int(Qt::Key_A) << 0 << true;
        QTest::newRow("cifra") << int(Qt::Key_7) << 0 << true;
        QTest::newRow("espacio") << int(Qt::Key_Space) << 0 << true;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("esc") << int(Qt::Key_Escape) << 0 << true;
        QTest::newRow("retroceso") << int(Qt::Key_Backspace) << 0 << true;
        QTest::newRow("mayúsculas+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << false;
        QTest::newRow("F5") << int(Qt::Key_F5) << 0 << false;
        QTest::newRow("izquierda") << int(Qt::Key_Left) << 0 << false;
        QTest::newRow("mayúsculas") << int(Qt::Key_Shift) << 0 << false;
        QTest::newRow("avance de página") << int(Qt::Key_PageDown) << 0 << false;
    }
    // Wherever the focus is, the window sees the key first: a key that gives
    // a character leaves, F10 shows its message and stays, others do nothing.
    void teclas() {
        QFETCH(int, tecla);
        QFETCH(int, modificadores);
        QFETCH(bool, sale);
        Inicio i;
        QTest::keyClick(i.f->cmdContinuar, static_cast<Qt::Key>(tecla),
                        Qt::KeyboardModifiers(modificadores));
        QCOMPARE(i.continuado, sale ? 1 : 0);
        if (tecla == Qt::Key_F10) {
            QCOMPARE(i.dialogos.mensajes.size(), 1);
            QCOMPARE(i.dialogos.mensajes[0].texto, frmInicio::MensajeF10());
            QCOMPARE(i.dialogos.mensajes[0].estilo, vbExclamation);
            QCOMPARE(i.dialogos.mensajes[0].titulo, TituloAplicacion());
        } else {
            QVERIFY(i.dialogos.mensajes.isEmpty());
        }
        if (sale) {
            QVERIFY(!i.f->isVisible());
            QTRY_VERIFY(i.f.isNull()); // unloaded
        } else {
            QVERIFY(i.f->isVisible());
            QTest::keyClick(i.f->cmdContinuar, Qt::Key_X);
            QCOMPARE(i.continuado, 1);
        }
    }

    void clicsQueSalen_data() {
        QTest::addColumn<QString>("control");
        for (const char* n : {"Frame1", "Lo", "lblLi", "lblCo", "lblVe", "lblCp", "lblCm", "lblLi1",
                              "lblLi2", "lblLi3", "cmdContinuar"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void clicsQueSalen() {
        QFETCH(QString, control);
        Inicio i;
        auto* w = i.f->findChild<QWidget*>(control);
        QVERIFY(w);
        QTest::mouseClick(w, Qt::LeftButton);
        QCOMPARE(i.continuado, 1);
        // A second click or key on the way out does nothing more.
        QTest::mouseClick(w, Qt::LeftButton);
        QTest::keyClick(i.f, Qt::Key_A);
        QCOMPARE(i.continuado, 1);
        QCOMPARE(i.cerrada, 0);
    }

    void elMargenNoSale() {
        Inicio i;
        QTest::mouseClick(i.f, Qt::LeftButton, {}, QPoint(3, 100));
        QTest::mouseClick(i.f->lblNombre, Qt::RightButton);
        QCOMPARE(i.continuado, 0);
    }

    void cerrarLaPantallaTermina() {
        Inicio i;
        i.f->close();
        QCOMPARE(i.cerrada, 1);
        QCOMPARE(i.continuado, 0);
        QTRY_VERIFY(i.f.isNull());
        // After Continuar, its own closing is not an end.
        Inicio g;
        QTest::keyClick(g.f, Qt::Key_A);
        g.f->close();
        QCOMPARE(g.continuado, 1);
        QCOMPARE(g.cerrada, 0);
    }
};

QTEST_MAIN(TstInicio)
#include "tst_inicio.moc"
