// Reading the delay typed in "Más opciones", and the dialog itself.
#include "platform/Dialogos.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "tests/fakes/DialogosFalsos.h"
#include "ui/LecturaNumero.h"
#include "ui/frmMas.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <limits>

using namespace quimbal;

class TstMasOpciones : public QObject {
    Q_OBJECT
private slots:
    void lectura_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("valor");
        QTest::newRow("entero") << "400" << 400.0;
        QTest::newRow("con letras detras") << "250ms" << 250.0;
        QTest::newRow("coma") << "400,7" << 400.0;
        QTest::newRow("espacio en medio") << "1 500" << 1500.0;
        QTest::newRow("tab y salto") << "\t1\n2 3" << 123.0;
        QTest::newRow("exponente E") << "2E3" << 2000.0;
        QTest::newRow("exponente d") << "2d-1" << 0.2;
        QTest::newRow("exponente sin cifras") << "2E" << 2.0;
        QTest::newRow("exponente con signo sin cifras") << "7e+x" << 7.0;
        QTest::newRow("decimal") << "0.6" << 0.6;
        QTest::newRow("solo decimal") << ".5" << 0.5;
        QTest::newRow("signo") << "-12" << -12.0;
        QTest::newRow("mas") << "+ 12" << 12.0;
        QTest::newRow("dos signos") << "+-5" << 0.0;
        QTest::newRow("hexadecimal") << "&H1F4" << 500.0;
        QTest::newRow("hexadecimal minusculas") << "&h1f4zz" << 500.0;
        QTest::newRow("octal") << "&O764" << 500.0;
        QTest::newRow("octal corta en 8") << "&O78" << 7.0;
        QTest::newRow("ampersand solo") << "&" << 0.0;
        QTest::newRow("ampersand otra letra") << "&X12" << 0.0;
        QTest::newRow("vacio") << "" << 0.0;
        QTest::newRow("letras") << "abc" << 0.0;
        QTest::newRow("punto solo") << "." << 0.0;
        QTest::newRow("cerca de cero") << "1E-400" << 0.0;
    }
    void lectura() {
        QFETCH(QString, texto);
        QFETCH(double, valor);
        QCOMPARE(Val(texto), valor);
    }

    void numerosEnormesNoDesbordan() {
        QVERIFY(std::isinf(Val(QStringLiteral("1E400"))));
        QVERIFY(std::isinf(Val(QString(400, QLatin1Char('9')))));
        QVERIFY(std::isinf(Val(QStringLiteral("&H") + QString(300, QLatin1Char('F')))));
        QVERIFY(std::isinf(Val(QStringLiteral("-1D99999999999999999999"))));
        QCOMPARE(RetrasoDesdeTexto(QStringLiteral("1E400")), std::nullopt);
        QCOMPARE(RetrasoDesdeTexto(QStringLiteral("&HFFFFFFFFFFFFFFFFFFFF")), std::nullopt);
        QCOMPARE(RetrasoDesdeTexto(QString(5000, QLatin1Char('9'))), std::nullopt);
    }

    void redondeoAlPar_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<double>("redondeado");
        QTest::newRow("400.5") << 400.5 << 400.0;
        QTest::newRow("401.5") << 401.5 << 402.0;
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("1.5") << 1.5 << 2.0;
        QTest::newRow("0.6") << 0.6 << 1.0;
        QTest::newRow("0.4") << 0.4 << 0.0;
        QTest::newRow("9999.5") << 9999.5 << 10000.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
    }
    void redondeoAlPar() {
        QFETCH(double, valor);
        QFETCH(double, redondeado);
        QCOMPARE(RedondearAPar(valor), redondeado);
    }

    void retraso_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("retraso"); // 0: refused
        QTest::newRow("250ms") << "250ms" << 250;
        QTest::newRow("400,7") << "400,7" << 400;
        QTest::newRow("1 500") << "1 500" << 1500;
        QTest::newRow("2E3") << "2E3" << 2000;
        QTest::newRow("0.6") << "0.6" << 1;
        QTest::newRow("0.5") << "0.5" << 0;
        QTest::newRow("0.4") << "0.4" << 0;
        QTest::newRow("9999") << "9999" << 9999;
        QTest::newRow("9999.5") << "9999.5" << 0;
        QTest::newRow("10000") << "10000" << 0;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("negativo") << "-5" << 0;
        QTest::newRow("&H1F4") << "&H1F4" << 500;
        QTest::newRow("vacio") << "" << 0;
        QTest::newRow("letras") << "abc" << 0;
    }
    void retraso() {
        QFETCH(QString, texto);
        QFETCH(int, retraso);
        const auto r = RetrasoDesdeTexto(texto);
        QCOMPARE(r.value_or(0), retraso);
    }

    void dialogoAcepta() {
        DialogosFalsos d;
        frmMas f(d, 400);
        QCOMPARE(f.windowTitle(), QStringLiteral("Más opciones"));
        QCOMPARE(f.txtRetraso->text(), QStringLiteral("400"));
        QCOMPARE(f.txtRetraso->selectedText(), QStringLiteral("400"));
        QCOMPARE(f.txtRetraso->cursorPosition(), 0);
        f.show();
        f.txtRetraso->setFocus();
        QTest::keyClicks(f.txtRetraso, QStringLiteral("250"));
        QTest::keyClick(f.txtRetraso, Qt::Key_Return);
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(f.Retraso(), 250);
        QVERIFY(d.mensajes.isEmpty());
    }

    void dialogoRechazaYSeQuedaAbierto() {
        DialogosFalsos d;
        frmMas f(d, 400);
        f.show();
        f.txtRetraso->setText(QStringLiteral("9999.5"));
        f.cmdAceptar->click();
        QCOMPARE(d.mensajes.size(), 1);
        QCOMPARE(d.mensajes[0].texto,
                 QStringLiteral("El intervalo debe ser mayor que 0 y menor que 10000 (milésimas)"));
        QCOMPARE(d.mensajes[0].titulo, QStringLiteral("Error"));
        QCOMPARE(d.mensajes[0].estilo, vbExclamation);
        QVERIFY(f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected)); // not closed
        QCOMPARE(f.txtRetraso->text(), QStringLiteral("9999.5"));
        QCOMPARE(f.txtRetraso->selectedText(), QStringLiteral("9999.5"));
        QCOMPARE(f.txtRetraso->cursorPosition(), 0);
        QCOMPARE(f.Retraso(), 400);
    }

    // Run from the main window: modal, showing the delay of the profile in
    // use; accepted, the profile gets the new delay, cancelled (by Cancelar
    // or Esc) it keeps its own.
    void desdeLaVentanaPrincipal_data() {
        QTest::addColumn<QString>("como");
        QTest::addColumn<int>("queda");
        QTest::newRow("Aceptar") << "Aceptar" << 250;
        QTest::newRow("Cancelar") << "Cancelar" << 321;
        QTest::newRow("Esc") << "Esc" << 321;
    }
    void desdeLaVentanaPrincipal() {
        QFETCH(QString, como);
        QFETCH(int, queda);
        ProgramaDePrueba p;
        p.cargar();
        p.perfiles.fijarRetraso(321);
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* f = qobject_cast<frmMas*>(QApplication::activeModalWidget());
            if (!f)
                return;
            visto = f->isModal() && f->txtRetraso->text() == QLatin1String("321");
            f->txtRetraso->setText(QStringLiteral("250"));
            if (como == QLatin1String("Aceptar"))
                f->cmdAceptar->click();
            else if (como == QLatin1String("Cancelar"))
                f->cmdCancelar->click();
            else
                QTest::keyClick(f->txtRetraso, Qt::Key_Escape);
        });
        p.ventana->cmdMas_Click();
        QVERIFY(visto);
        QCOMPARE(p.perfiles.enUso().Retraso, std::int16_t(queda));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(TstMasOpciones)
#include "tst_masopciones.moc"
