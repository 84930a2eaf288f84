// What a screen reader gets of the program's windows: every control that
// takes the focus has a name of its own (not a bare number, not another
// control's), a list gives its entry as its value, the labels name the
// controls they stand before, and the names follow the window's mode. The
// test lights tell their state by name and by a frame, not by colour alone;
// the focus ring is told apart from the default button.
#include "app/frmInicio.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "ui/Accesible.h"
#include "ui/Fuentes.h"
#include "ui/frmMas.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

using namespace quimbal;

namespace {
QString nombre(QWidget* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(QAccessible::Name) : QString();
}

// The focusable controls of a window with what a screen reader calls them.
QList<std::pair<QWidget*, QString>> enfocables(QWidget& ventana) {
    QList<std::pair<QWidget*, QString>> r;
    for (QWidget* w : ventana.findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(w) &&
            w->window() == &ventana && !w->objectName().startsWith(QLatin1String("qt_")))
            r.append({w, nombre(w)});
    return r;
}

// Contrast ratio of two colours as the accessibility guidelines define it.
double contraste(const QColor& a, const QColor& b) {
    auto luminancia = [](const QColor& c) {
        auto canal = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * canal(c.redF()) + 0.7152 * canal(c.greenF()) + 0.0722 * canal(c.blueF());
    };
    const double la = luminancia(a), lb = luminancia(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour of pixel `p` of control `w` as its window draws it.
QColor pixel(QWidget* w, QPoint p) {
    const QImage imagen = w->window()->grab().toImage();
    return imagen.pixelColor(w->mapTo(w->window(), p));
}

// The control the label `etiqueta` is the label for, as the bridge says.
QWidget* nombrado(QLabel* etiqueta) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(etiqueta);
    for (const auto& [otro, relacion] : i->relations(QAccessible::Labelled))
        return qobject_cast<QWidget*>(otro->object());
    return nullptr;
}
} // namespace

class TstAccesible : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InstalarSustitucionesDeFuentes();
        InstalarAccesibilidad();
    }

    void nombresPropiosEnCadaVentana_data() {
        QTest::addColumn<int>("ventana");
        QTest::newRow("configuración") << 0;
        QTest::newRow("más opciones") << 1;
        QTest::newRow("pantalla de inicio") << 2;
    }
    void nombresPropiosEnCadaVentana() {
        QFETCH(int, ventana);
        ProgramaDePrueba p;
        p.cargar();
        frmMas mas(p.dialogos, 400);
        frmInicio inicio(p.dialogos);
        QWidget* w = ventana == 0   ? static_cast<QWidget*>(p.ventana.get())
                     : ventana == 1 ? static_cast<QWidget*>(&mas)
                                    : static_cast<QWidget*>(&inicio);
        w->show();
        QStringList vistos;
        for (const auto& [control, n] : enfocables(*w)) {
            const QString quien = control->objectName();
            QVERIFY2(!n.trimmed().isEmpty(), qPrintable(quien + " no tiene nombre"));
            QVERIFY2(!QRegularExpression(QStringLiteral("^\\s*\\d+\\s*$")).match(n).hasMatch(),
                     qPrintable(quien + " se llama " + n));
            QVERIFY2(!vistos.contains(n), qPrintable(quien + " repite el nombre " + n));
            vistos << n;
            if (auto* lista = qobject_cast<QComboBox*>(control)) {
                QAccessibleInterface* i = QAccessible::queryAccessibleInterface(lista);
                QCOMPARE(i->text(QAccessible::Value), lista->currentText());
                QCOMPARE(i->textInterface()->text(0, -1), lista->currentText());
            }
        }
        QVERIFY(!vistos.isEmpty());
    }

    void etiquetasYNombresQueSiguenAlModo() {
        ProgramaDePrueba p;
        p.cargar();
        frmSwitch& v = *p.ventana;
        QCOMPARE(nombrado(v.lblUsuario), v.cboUsuario);
        QCOMPARE(nombrado(v.lblAccion1), v.cboTeclas1);
        QCOMPARE(nombrado(v.lblAccion2), v.cboTeclas2);
        v.ActivaOpcionSwitch();
        QCOMPARE(nombre(v.txtLetra1), QStringLiteral("Letra del switch 1"));
        v.ActivaOpcionSonido();
        QCOMPARE(nombre(v.txtLetra1), QStringLiteral("Letra del sonido"));
        frmMas mas(p.dialogos, 400);
        QCOMPARE(nombrado(mas.lblRetraso), static_cast<QWidget*>(mas.txtRetraso));
    }

    void lucesDeTest_data() {
        QTest::addColumn<QString>("luz");
        QTest::addColumn<QString>("rotulo");
        QTest::newRow("switch 1") << "lblTest1"
                                  << "Test del switch 1";
        QTest::newRow("switch 2") << "lblTest2"
                                  << "Test del switch 2";
        QTest::newRow("sonido") << "lblTestSonido"
                                << "Test del sonido";
    }
    void lucesDeTest() {
        QFETCH(QString, luz);
        QFETCH(QString, rotulo);
        ProgramaDePrueba p;
        p.cargar();
        p.ventana->show();
        auto* e = p.ventana->findChild<LuzDeTest*>(luz);
        QVERIFY(e);
        const QPoint enElMarco(1, e->height() / 2);
        const QColor fondo = pixel(p.ventana.get(), QPoint(2, 2));
        e->setMarca(QStringLiteral("✓"));
        e->setOpaca(true);
        QCOMPARE(nombre(e), rotulo + QStringLiteral(": pulsado"));
        const QColor encendida = pixel(e, enElMarco);
        const QColor dentro = pixel(e, QPoint(LuzDeTest::kGrosorMarco + 2, e->height() / 2));
        e->setOpaca(false);
        QCOMPARE(nombre(e), rotulo + QStringLiteral(": suelto"));
        // The event that tells a screen reader so is checked on the bus
        // (e2e_accesible): in this process no bridge receives it.
        QCOMPARE(e->text(), rotulo);
        QCOMPARE(e->Marca(), QStringLiteral("✓"));
        // The lit frame stands out from the window and from the light's own
        // colour: seen without telling red from grey.
        QVERIFY2(contraste(encendida, fondo) >= 3.0, qPrintable(encendida.name() + fondo.name()));
        QVERIFY2(contraste(encendida, dentro) >= 3.0, qPrintable(encendida.name() + dentro.name()));
    }

    void anilloDeFoco_data() {
        QTest::addColumn<QString>("control");
        for (const char* n : {"cboUsuario", "cmdAyuda", "cmdAceptar", "txtLetra1", "optSonido"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void anilloDeFoco() {
        QFETCH(QString, control);
        ProgramaDePrueba p;
        p.cargar();
        frmSwitch& f = *p.ventana;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        auto* w = f.findChild<QWidget*>(control);
        const QPoint enElAnillo(1, w->height() / 2), enElOtro(2, w->height() / 3);
        f.cmdSalir->setFocus();
        const QColor sinFoco = pixel(w, enElAnillo);
        const QColor porDefecto = pixel(f.cmdAceptar, enElAnillo);
        w->setFocus();
        QVERIFY(w->hasFocus());
        for (const QPoint& en : {enElAnillo, enElOtro}) {
            const QColor anillo = pixel(w, en);
            QCOMPARE(anillo, ColorDeFoco());
            QVERIFY2(contraste(anillo, sinFoco) >= 3.0, qPrintable(sinFoco.name()));
            // The default button without the focus has nothing like it.
            QVERIFY2(contraste(anillo, porDefecto) >= 3.0, qPrintable(porDefecto.name()));
        }
    }
};

QTEST_MAIN(TstAccesible)
#include "tst_accesible.moc"
