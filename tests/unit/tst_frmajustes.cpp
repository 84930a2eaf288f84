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
const QStringList kNombres{
    "Tiempo de aceptación", "Ignorar repeticiones durante", "Pulsación larga", "Repetir tras",
    "Repetir cada",         "Pausa con los dos switches",   "Soplido mínimo"};

// What the dialog opens with: every value different, so a value written into
// the wrong setting shows.
AjustesMotor inicial() {
    AjustesMotor a;
    int v = 100;
    for (const CampoAjuste& c : kCamposAjuste)
        a.*c.miembro = v += 10;
    return a;
}
AjustesMotor con(const Valores& valores) {
    AjustesMotor a;
    for (std::size_t i = 0; i < kNumCamposAjuste; ++i)
        a.*kCamposAjuste[i].miembro = valores[int(i)];
    a.confirmacion = true;
    return a;
}
} // namespace

class TstFrmAjustes : public QObject {
    Q_OBJECT
private slots:
    // One box gets the text, the others valid new values, and Enter is
    // pressed in it.
    void lectura_data() {
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("valor"); // -1: refused
        QTest::newRow("cero") << 0 << "0" << 0;
        QTest::newRow("máximo de aceptación") << 0 << "5000" << 5000;
        QTest::newRow("aceptación por encima") << 0 << "5001" << -1;
        QTest::newRow("blancos alrededor") << 1 << " 300\t" << 300;
        QTest::newRow("negativo") << 1 << "-5" << -1;
        QTest::newRow("ceros delante") << 2 << "0800" << 800;
        QTest::newRow("decimal") << 2 << "2.5" << -1;
        QTest::newRow("letras") << 4 << "abc" << -1;
        QTest::newRow("vacío") << 5 << "" << -1;
        QTest::newRow("enorme") << 5 << "99999999999999999999" << -1;
        QTest::newRow("con la unidad") << 6 << "300ms" << -1;
        QTest::newRow("máximo de soplido") << 6 << "2000" << 2000;
        QTest::newRow("soplido por encima") << 6 << "2001" << -1;
    }
    void lectura() {
        QFETCH(int, campo);
        QFETCH(QString, texto);
        QFETCH(int, valor);
        DialogosFalsos d;
        frmAjustes f(d, inicial());
        f.show();
        Valores esperados{1, 2, 3, 4, 5, 6, 7};
        for (int i = 0; i < esperados.size(); ++i)
            f.txtCampos[i]->setText(QString::number(esperados[i]));
        f.txtCampos[campo]->setText(texto);
        f.chkConfirmacion->setChecked(true);
        QTest::keyClick(f.txtCampos[campo], Qt::Key_Return);
        if (valor >= 0) {
            QVERIFY(d.mensajes.isEmpty());
            QCOMPARE(f.result(), int(QDialog::Accepted));
            esperados[campo] = valor;
            QCOMPARE(f.Ajustes(), con(esperados));
            return;
        }
        QCOMPARE(d.mensajes.size(), 1);
        QCOMPARE(d.mensajes[0].texto, QStringLiteral("«%1» tiene que ser un número entero de "
                                                     "milésimas de segundo entre 0 y %2.")
                                          .arg(kNombres[campo])
                                          .arg(kCamposAjuste[campo].maximo));
        QCOMPARE(d.mensajes[0].estilo, vbExclamation);
        // Still open, nothing taken, back at the wrong box with its text
        // selected to be typed over.
        QVERIFY(f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QCOMPARE(f.Ajustes(), inicial());
        QCOMPARE(f.focusWidget(), f.txtCampos[campo]);
        QCOMPARE(f.txtCampos[campo]->selectedText(), texto);
        // Put right, it is accepted.
        QTest::keyClicks(f.txtCampos[campo], QStringLiteral("9"));
        f.cmdAceptar->click();
        QCOMPARE(f.result(), int(QDialog::Accepted));
        esperados[campo] = 9;
        QCOMPARE(f.Ajustes(), con(esperados));
    }

    // Modal, showing the settings it was given (out of range as they will
    // be used); only Aceptar gives anything back.
    void mostrarAjustes_data() {
        QTest::addColumn<int>("tecla"); // 0: a click on Cancelar
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Cancelar") << 0;
    }
    void mostrarAjustes() {
        QFETCH(int, tecla);
        DialogosFalsos d;
        AjustesMotor dados = inicial();
        dados.aceptacion_ms = 9000;
        dados.confirmacion = true;
        QStringList visto;
        QTimer::singleShot(0, [&] {
            auto* f = qobject_cast<frmAjustes*>(QApplication::activeModalWidget());
            QVERIFY(f && f->isModal());
            visto << f->windowTitle() << f->txtCampos[0]->text() << f->txtCampos[1]->text()
                  << QString::number(f->chkConfirmacion->isChecked());
            f->txtCampos[1]->setText(QStringLiteral("700"));
            if (tecla)
                QTest::keyClick(f->txtCampos[1], Qt::Key(tecla));
            else
                f->cmdCancelar->click();
        });
        const std::optional<ResultadoAjustes> r = MostrarAjustes(nullptr, d, dados);
        QCOMPARE(visto, (QStringList{"Ajustes de las entradas", "5000", "120", "1"}));
        QCOMPARE(r.has_value(), tecla == Qt::Key_Return);
        AjustesMotor esperado = dados.acotados();
        esperado.ignorar_ms = 700;
        if (r)
            QCOMPARE(r->ajustes, esperado);
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

        // Each box, the check box and the buttons say what they are to a
        // screen reader.
        for (QWidget* c : f.findChildren<QWidget*>())
            if (c->focusPolicy() & Qt::TabFocus)
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name).isEmpty(),
                    qPrintable(c->objectName()));
    }
};

QTEST_MAIN(TstFrmAjustes)
#include "tst_frmajustes.moc"
