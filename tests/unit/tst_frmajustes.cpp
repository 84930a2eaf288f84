// "Ajustes de las entradas": what it returns, what it refuses and how it
// tells, and what a keyboard or screen-reader user needs of it.
#include "platform/Dialogos.h"
#include "tests/fakes/DialogosFalsos.h"
#include "ui/frmAjustes.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace quimbal;

namespace {
using Valores = QList<int>; // in the order of kCamposAjuste

// What the dialog opens with: every value different, so a value written into
// the wrong setting shows.
AjustesMotor inicial() {
    AjustesMotor a;
    int v = 100;
    for (const CampoAjuste& c : kCamposAjuste)
        a.*c.miembro = v += 10;
    return a;
}
AjustesMotor con(const Valores& valores, bool confirmacion) {
    AjustesMotor a;
    for (std::size_t i = 0; i < kNumCamposAjuste; ++i)
        a.*kCamposAjuste[i].miembro = valores[int(i)];
    a.confirmacion = confirmacion;
    return a;
}
void escribir(frmAjustes& f, const QStringList& textos) {
    for (std::size_t i = 0; i < kNumCamposAjuste; ++i)
        f.txtCampos[i]->setText(textos[int(i)]);
}
} // namespace

class TstFrmAjustes : public QObject {
    Q_OBJECT
private slots:
    void aceptaYDevuelve_data() {
        QTest::addColumn<QStringList>("textos");
        QTest::addColumn<Valores>("valores");
        QTest::newRow("todo desactivado")
            << QStringList{"0", "0", "0", "0", "0", "0", "0"} << Valores{0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("valores habituales")
            << QStringList{"150", "300", "1500", "800", "400", "3000", "250"}
            << Valores{150, 300, 1500, 800, 400, 3000, 250};
        QTest::newRow("los máximos")
            << QStringList{"5000", "10000", "10000", "10000", "10000", "20000", "2000"}
            << Valores{5000, 10000, 10000, 10000, 10000, 20000, 2000};
        QTest::newRow("blancos y ceros delante")
            << QStringList{" 150", "300 ", "\t0", "0800", "00", " 3000\t", "0250"}
            << Valores{150, 300, 0, 800, 0, 3000, 250};
    }
    // Enter accepts, from whichever box has the focus.
    void aceptaYDevuelve() {
        QFETCH(QStringList, textos);
        QFETCH(Valores, valores);
        DialogosFalsos d;
        frmAjustes f(d, inicial());
        f.show();
        escribir(f, textos);
        f.chkConfirmacion->setChecked(true);
        QTest::keyClick(f.txtCampos[3], Qt::Key_Return);
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QVERIFY(d.mensajes.isEmpty());
        QCOMPARE(f.Ajustes(), con(valores, true));
    }

    void rechazaYSeQuedaAbierto_data() {
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("aceptación por encima") << 0 << "5001"
                                               << "Tiempo de aceptación";
        QTest::newRow("hexadecimal") << 0 << "&H10"
                                     << "Tiempo de aceptación";
        QTest::newRow("negativo") << 1 << "-5"
                                  << "Ignorar repeticiones durante";
        QTest::newRow("decimal") << 2 << "2.5"
                                 << "Pulsación larga";
        QTest::newRow("coma decimal") << 3 << "2,5"
                                      << "Repetir tras";
        QTest::newRow("letras") << 4 << "abc"
                                << "Repetir cada";
        QTest::newRow("vacío") << 5 << ""
                               << "Pausa con los dos switches";
        QTest::newRow("enorme") << 5 << "99999999999999999999"
                                << "Pausa con los dos switches";
        QTest::newRow("con la unidad") << 6 << "300ms"
                                       << "Soplido mínimo";
        QTest::newRow("soplido por encima") << 6 << "2001"
                                            << "Soplido mínimo";
    }
    // The other boxes hold valid new values: none of them is taken either.
    void rechazaYSeQuedaAbierto() {
        QFETCH(int, campo);
        QFETCH(QString, texto);
        QFETCH(QString, nombre);
        DialogosFalsos d;
        frmAjustes f(d, inicial());
        f.show();
        escribir(f, {"1", "2", "3", "4", "5", "6", "7"});
        f.txtCampos[campo]->setText(texto);
        f.chkConfirmacion->setChecked(true);
        f.cmdAceptar->click();

        QCOMPARE(d.mensajes.size(), 1);
        const QString maximo = QString::number(kCamposAjuste[campo].maximo);
        QCOMPARE(d.mensajes[0].texto, QStringLiteral("«%1» tiene que ser un número entero de "
                                                     "milésimas de segundo entre 0 y %2.")
                                          .arg(nombre, maximo));
        QCOMPARE(d.mensajes[0].estilo, vbExclamation);
        QVERIFY(f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QCOMPARE(f.Ajustes(), inicial());
        // Back at the wrong box, its text selected to be typed over.
        QCOMPARE(f.focusWidget(), f.txtCampos[campo]);
        QCOMPARE(f.txtCampos[campo]->selectedText(), texto);

        // Put right, it is accepted.
        QTest::keyClicks(f.txtCampos[campo], QStringLiteral("9"));
        f.cmdAceptar->click();
        QCOMPARE(f.result(), int(QDialog::Accepted));
        Valores esperados{1, 2, 3, 4, 5, 6, 7};
        esperados[campo] = 9;
        QCOMPARE(f.Ajustes(), con(esperados, true));
    }

    // Modal, showing the settings it was given (those out of range as they
    // will be used); only Aceptar gives anything back.
    void mostrarAjustes_data() {
        QTest::addColumn<QString>("como");
        QTest::addColumn<bool>("devuelve");
        QTest::newRow("Aceptar") << "Aceptar" << true;
        QTest::newRow("Cancelar") << "Cancelar" << false;
        QTest::newRow("Esc") << "Esc" << false;
        QTest::newRow("cerrar la ventana") << "cerrar" << false;
    }
    void mostrarAjustes() {
        QFETCH(QString, como);
        QFETCH(bool, devuelve);
        DialogosFalsos d;
        AjustesMotor dados = inicial();
        dados.aceptacion_ms = 9000;
        dados.confirmacion = true;
        bool visto = false;
        QTimer::singleShot(0, [&] {
            auto* f = qobject_cast<frmAjustes*>(QApplication::activeModalWidget());
            if (!f)
                return;
            visto = f->isModal() && f->windowTitle() == QLatin1String("Ajustes de las entradas") &&
                    f->txtCampos[0]->text() == QLatin1String("5000") &&
                    f->txtCampos[1]->text() == QLatin1String("120") &&
                    f->chkConfirmacion->isChecked();
            f->txtCampos[1]->setText(QStringLiteral("700"));
            if (como == QLatin1String("Aceptar"))
                f->cmdAceptar->click();
            else if (como == QLatin1String("Cancelar"))
                f->cmdCancelar->click();
            else if (como == QLatin1String("Esc"))
                QTest::keyClick(f->txtCampos[1], Qt::Key_Escape);
            else
                f->close();
        });
        const std::optional<AjustesMotor> r = MostrarAjustes(nullptr, d, dados);
        QVERIFY(visto);
        QCOMPARE(r.has_value(), devuelve);
        if (devuelve) {
            AjustesMotor esperado = dados.acotados();
            esperado.ignorar_ms = 700;
            QCOMPARE(*r, esperado);
        }
    }

    void accesibleConTeclado() {
        DialogosFalsos d;
        frmAjustes f(d, inicial());
        f.show();
        QStringList teclas;
        const QRegularExpression acceso(QStringLiteral("&(\\w)"));
        for (std::size_t i = 0; i < kNumCamposAjuste; ++i) {
            QCOMPARE(f.lblCampos[i]->buddy(), f.txtCampos[i]);
            QVERIFY(!f.lblExplicaciones[i]->text().isEmpty());
            teclas << acceso.match(f.lblCampos[i]->text()).captured(1).toLower();
        }
        for (const QAbstractButton* b : f.findChildren<QAbstractButton*>())
            teclas << acceso.match(b->text()).captured(1).toLower();
        // Every label and button has an access key, none of them twice.
        QVERIFY(!teclas.contains(QString()));
        QCOMPARE(QSet<QString>(teclas.begin(), teclas.end()).size(), teclas.size());

        // Tab goes through every box, then the check box and the buttons;
        // each says what it is to a screen reader.
        QList<QWidget*> esperado(f.txtCampos.begin(), f.txtCampos.end());
        esperado << f.chkConfirmacion << f.cmdAceptar << f.cmdCancelar;
        QList<QWidget*> orden;
        QWidget* w = f.txtCampos[0];
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&f))
                orden << w;
            w = w->nextInFocusChain();
        } while (w != f.txtCampos[0]);
        QCOMPARE(orden, esperado);
        for (QWidget* c : orden) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
            QVERIFY(a);
            QVERIFY2(!a->text(QAccessible::Name).isEmpty(), qPrintable(c->objectName()));
        }
    }

    // The desktop's font, as the carer set it, sizes the dialog.
    void creceConLaFuente() {
        const QFont antes = QApplication::font();
        const auto tamano = [](double puntos) {
            QFont letra = QApplication::font();
            letra.setPointSizeF(puntos);
            QApplication::setFont(letra);
            DialogosFalsos d;
            return frmAjustes(d, inicial()).sizeHint();
        };
        const QSize pequeno = tamano(9);
        const QSize grande = tamano(18);
        QApplication::setFont(antes);
        QVERIFY2(grande.width() > pequeno.width() * 3 / 2 &&
                     grande.height() > pequeno.height() * 3 / 2,
                 qPrintable(QStringLiteral("%1x%2 -> %3x%4")
                                .arg(pequeno.width())
                                .arg(pequeno.height())
                                .arg(grande.width())
                                .arg(grande.height())));
    }
};

QTEST_MAIN(TstFrmAjustes)
#include "tst_frmajustes.moc"
