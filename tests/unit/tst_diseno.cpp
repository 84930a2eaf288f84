// The main window matches its layout table: every control's parent, place,
// size, caption, font and tab order, and the settings other code relies on.
#include "tests/fakes/CarpetaDePrueba.h"
#include "ui/Fuentes.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace quimbal;

class TstDiseno : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstalarSustitucionesDeFuentes(); }

    void controles_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("padre");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<double>("puntos");
        QTest::addColumn<QRect>("twips");
        auto fila = [](const char* n, const char* p, const char* t, double pt, int l, int a, int w,
                       int h) {
            QTest::newRow(n) << QString(n) << QString(p) << QString::fromUtf8(t) << pt
                             << QRect(l, a, w, h);
        };
        fila("cmdAceptar", "frmSwitch", "&Aceptar", 9.75, 5400, 360, 1695, 810);
        fila("cboUsuario", "frmSwitch", "", 11.25, 480, 840, 4335, 390);
        fila("optSwitch", "fraModo", "Usar S&witch conectado en el puerto COM", 9.75, 360, 240,
             2775, 495);
        fila("cboSwitch", "fraModo", "", 8.25, 2520, 480, 615, 315);
        fila("optSonido", "fraModo", "Usar &Sonido con umbral", 9.75, 360, 1800, 1935, 615);
        fila("cboSonido", "fraModo", "", 8.25, 1560, 2100, 735, 315);
        fila("cboTeclas1", "Frame2", "", 9.75, 1200, 480, 2055, 360);
        fila("txtLetra1", "Frame2", "", 9.75, 3360, 480, 1215, 375);
        fila("cboTeclas2", "Frame2", "", 9.75, 1200, 1215, 2055, 360);
        fila("txtLetra2", "Frame2", "", 9.75, 3360, 1200, 1215, 375);
        fila("cmdPorDefecto", "frmSwitch", "Establecer valores por &defecto", 9.75, 480, 3480, 3375,
             450);
        fila("cmdAgregar", "frmSwitch", "A&gregar", 9.75, 1680, 240, 1455, 450);
        fila("cmdEliminar", "frmSwitch", "&Eliminar", 9.75, 3360, 240, 1455, 450);
        fila("cmdAyuda", "frmSwitch", "A&yuda", 9.75, 7440, 840, 1695, 450);
        fila("cmdSalir", "frmSwitch", "Sali&r", 9.75, 7440, 240, 1695, 450);
        fila("Frame2", "frmSwitch", " Acción a emular ", 8.25, 240, 1560, 4815, 2655);
        fila("lblUsuario", "frmSwitch", "Usuario:", 11.25, 480, 360, 945, 270);
        fila("lblAccion1", "Frame2", "Switch 1:", 9.75, 240, 555, 960, 240);
        fila("lblAccion2", "Frame2", "Switch 2:", 9.75, 240, 1275, 960, 240);
        fila("fraModo", "frmSwitch", " Forma de activación ", 8.25, 5160, 1560, 3975, 2655);
        fila("lblTest2", "fraModo", "Test del switch 2", 9.75, 2400, 960, 1335, 615);
        fila("lblTest1", "fraModo", "Test del switch 1", 9.75, 840, 960, 1335, 615);
        fila("lblTestSonido", "fraModo", "Test del sonido", 9.75, 2400, 1800, 1335, 615);
        fila("cmdMas", "Frame2", "&Más", 9.75, 3720, 1920, 855, 450);
    }
    void controles() {
        QFETCH(QString, nombre);
        QFETCH(QString, padre);
        QFETCH(QString, titulo);
        QFETCH(double, puntos);
        QFETCH(QRect, twips);
        ProgramaDePrueba p;
        auto* w = p.ventana->findChild<QWidget*>(nombre);
        QVERIFY2(w, qPrintable(nombre));
        QCOMPARE(w->parentWidget()->objectName(), padre);
        const QRect px(quimbal::twips(twips.x()), quimbal::twips(twips.y()),
                       quimbal::twips(twips.width()), quimbal::twips(twips.height()));
        QCOMPARE(w->geometry(), px);
        QCOMPARE(w->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(w->font().pointSizeF(), puntos);
        QVERIFY(!w->font().bold() && !w->font().italic());
        QString texto;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texto = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            texto = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            texto = g->title();
        // Option captions wrap at spaces inside their width.
        QCOMPARE(texto.replace('\n', ' '), titulo);
    }

    void ventana() {
        ProgramaDePrueba p;
        frmSwitch& f = *p.ventana;
        QCOMPARE(f.windowTitle(), QStringLiteral("Quimbal 1.6"));
        QCOMPARE(f.size(), QSize(626, 297)); // 9390 x 4455 twips
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(f.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(f.cmdAceptar->isDefault());
        QVERIFY(!f.cmdMas->isEnabled());
        QVERIFY(f.optSonido->isChecked());
        QVERIFY(!f.optSwitch->isChecked());
        QVERIFY(!p.entradas.Sondeando());
        QVERIFY(!p.entradas.RearmeEnCurso());
        for (Etiqueta* e : {f.lblTest1, f.lblTest2, f.lblTestSonido}) {
            QCOMPARE(e->BackColor(), QColor(0xFF, 0, 0));
            QVERIFY(!e->Opaca());
            QVERIFY(e->alignment() & Qt::AlignHCenter);
        }
        // The defaults button lies over the frame's bottom row and stays usable.
        QWidget* encima = f.childAt(f.cmdPorDefecto->geometry().center());
        QVERIFY(encima == f.cmdPorDefecto || f.cmdPorDefecto->isAncestorOf(encima));
    }

    void ordenDeTabulacion() {
        ProgramaDePrueba p;
        frmSwitch& f = *p.ventana;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        // Walk the focus chain with every control enabled (cmdMas starts disabled).
        f.cmdMas->setEnabled(true);
        QStringList visto;
        QWidget* w = f.cmdAceptar;
        for (int i = 0; i < 16; ++i) {
            visto << w->objectName();
            w = w->nextInFocusChain();
            while (w && w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
        }
        const QStringList completo = {"cmdAceptar",  "cboUsuario", "optSwitch",     "cboSwitch",
                                      "optSonido",   "cboSonido",  "cboTeclas1",    "txtLetra1",
                                      "cboTeclas2",  "txtLetra2",  "cmdPorDefecto", "cmdAgregar",
                                      "cmdEliminar", "cmdAyuda",   "cmdSalir",      "cmdMas"};
        QCOMPARE(visto, completo);
        QCOMPARE(QApplication::focusWidget(), f.cmdAceptar);
    }

    void teclasDeLaVentana() {
        ProgramaDePrueba p;
        p.cargar();
        frmSwitch& f = *p.ventana;
        QSignalSpy aceptar(f.cmdAceptar, &QPushButton::clicked);
        QSignalSpy salir(f.cmdSalir, &QPushButton::clicked);
        QSignalSpy agregar(f.cmdAgregar, &QPushButton::clicked);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.cmdAgregar->setFocus();
        QTest::keyClick(f.cmdAgregar, Qt::Key_Return); // on a button, that button
        QCOMPARE(agregar.size(), 1);
        QCOMPARE(aceptar.size(), 0);
        QTest::keyClick(&f, Qt::Key_Escape); // asks through Salir (answered No)
        QCOMPARE(salir.size(), 1);
        QVERIFY(f.isVisible());
        f.txtLetra1->setFocus();
        QTest::keyClick(f.txtLetra1, Qt::Key_Return); // Enter from a text box: Aceptar
        QCOMPARE(aceptar.size(), 1);
        QVERIFY(!f.isVisible());
    }
};

QTEST_MAIN(TstDiseno)
#include "tst_diseno.moc"
