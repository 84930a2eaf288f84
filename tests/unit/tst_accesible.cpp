// What a screen reader gets of the program's windows: every control that
// takes the focus has a name of its own (not a bare number, not another
// control's), the labels name the controls they stand before, and the names
// follow the window's mode.
#include "app/frmInicio.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "ui/frmMas.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

using namespace quimbal;

namespace {
QString nombre(QWidget* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(QAccessible::Name) : QString();
}

// The focusable controls of a window with what a screen reader calls them.
// A list is left out: on this system Qt's bridge gives a list its current
// entry as its name and names it through the label tied to it (below).
QList<std::pair<QWidget*, QString>> enfocables(QWidget& ventana) {
    QList<std::pair<QWidget*, QString>> r;
    for (QWidget* w : ventana.findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(w) &&
            !qobject_cast<QComboBox*>(w) && w->window() == &ventana &&
            !w->objectName().startsWith(QLatin1String("qt_")))
            r.append({w, nombre(w)});
    return r;
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
};

QTEST_MAIN(TstAccesible)
#include "tst_accesible.moc"
