// The platform layer's message boxes, prompt, window procedure chain and the
// controls whose handlers run on changes made from code.
#include "platform/Controles.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "platform/Ventana.h"
#include "platform/qt/DialogosQt.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

using namespace quimbal;

namespace {

// Runs `accion` on the modal box once it is open (polling from a timer).
void alAbrirse(std::function<void(QWidget*)> accion) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, [t, accion] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            accion(w);
        }
    });
    t->start();
}

QPushButton* boton(QWidget* caja, const QString& texto) {
    for (auto* b : caja->findChildren<QPushButton*>())
        if (b->text() == texto)
            return b;
    return nullptr;
}

// The window procedure chain records which procedure saw what.
std::vector<QString> rastro;
ProcVentana anteriorA = nullptr, anteriorB = nullptr;
LRESULT procA(HWND h, std::uint32_t m, WPARAM w, LPARAM l) {
    rastro.push_back(QStringLiteral("A:%1").arg(m, 0, 16));
    if (m == 0x400)
        return 7; // consumed here
    return CallWindowProc(anteriorA, h, m, w, l);
}
LRESULT procB(HWND h, std::uint32_t m, WPARAM w, LPARAM l) {
    rastro.push_back(QStringLiteral("B:%1:%2").arg(m, 0, 16).arg(l));
    return CallWindowProc(anteriorB, h, m, w, l) + 100;
}

} // namespace

class TstPlataforma : public QObject {
    Q_OBJECT
private slots:
    void estilos_data() {
        QTest::addColumn<int>("estilo");
        QTest::addColumn<bool>("siNo");
        QTest::addColumn<int>("icono");
        QTest::addColumn<bool>("segundo");
        using I = EstiloMensaje::Icono;
        QTest::newRow("0 sin icono") << 0 << false << int(I::Ninguno) << false;
        QTest::newRow("16 stop") << 16 << false << int(I::Stop) << false;
        QTest::newRow("48 exclamación") << 48 << false << int(I::Exclamacion) << false;
        QTest::newRow("36 sí/no, Sí") << 36 << true << int(I::Pregunta) << false;
        QTest::newRow("292 sí/no, No") << 292 << true << int(I::Pregunta) << true;
    }
    void estilos() {
        QFETCH(int, estilo);
        QFETCH(bool, siNo);
        QFETCH(int, icono);
        QFETCH(bool, segundo);
        const EstiloMensaje e = EstiloMensaje::desde(estilo);
        QCOMPARE(e.siNo, siNo);
        QCOMPARE(int(e.icono), icono);
        QCOMPARE(e.segundoPorDefecto, segundo);

        // The Qt box shows what the style asks for, with Spanish buttons.
        QMessageBox* caja = DialogosQt::crearCaja(QStringLiteral("texto"), estilo, QString());
        QCOMPARE(caja->windowTitle(), QStringLiteral("Quimbal 1.6"));
        const QMessageBox::Icon esperado[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                              QMessageBox::Question, QMessageBox::Warning};
        QCOMPARE(caja->icon(), esperado[icono]);
        if (siNo) {
            QVERIFY(boton(caja, "Sí") && boton(caja, "No"));
            QVERIFY(!boton(caja, "Aceptar"));
            QCOMPARE(caja->defaultButton(), boton(caja, segundo ? "No" : "Sí"));
        } else {
            QVERIFY(boton(caja, "Aceptar"));
            QVERIFY(!boton(caja, "Sí"));
        }
        delete caja;
    }

    void respuestas_data() {
        QTest::addColumn<int>("estilo");
        QTest::addColumn<QString>("accion");
        QTest::addColumn<int>("respuesta");
        QTest::newRow("Sí") << 36 << "Sí" << vbYes;
        QTest::newRow("No") << 36 << "No" << vbNo;
        QTest::newRow("Enter en 292 es No") << 292 << "Enter" << vbNo;
        QTest::newRow("Enter en 36 es Sí") << 36 << "Enter" << vbYes;
        QTest::newRow("Esc en sí/no es No") << 292 << "Esc" << vbNo;
        QTest::newRow("Aceptar") << 48 << "Aceptar" << vbOK;
        QTest::newRow("Esc en Aceptar") << 16 << "Esc" << vbOK;
    }
    void respuestas() {
        QFETCH(int, estilo);
        QFETCH(QString, accion);
        QFETCH(int, respuesta);
        DialogosQt d;
        QString titulo;
        alAbrirse([&](QWidget* w) {
            titulo = w->windowTitle();
            if (accion == "Enter")
                QTest::keyClick(w, Qt::Key_Return);
            else if (accion == "Esc")
                QTest::keyClick(w, Qt::Key_Escape);
            else
                boton(w, accion)->click();
        });
        QCOMPARE(d.mostrarMensaje(QStringLiteral("¿Seguro?"), estilo, QStringLiteral("Atención")),
                 respuesta);
        QCOMPARE(titulo, QStringLiteral("Atención"));
    }

    void msgBoxSinTituloUsaElDeLaAplicacion() {
        DialogosQt d;
        servicios().dialogos = &d;
        QString titulo;
        alAbrirse([&](QWidget* w) {
            titulo = w->windowTitle();
            boton(w, "Aceptar")->click();
        });
        QCOMPARE(MsgBox(QStringLiteral("hola")), vbOK);
        QCOMPARE(titulo, QStringLiteral("Quimbal 1.6"));
        servicios().dialogos = nullptr;
    }

    void prompt_data() {
        QTest::addColumn<bool>("aceptar");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("Aceptar da el texto") << true << "Ana";
        QTest::newRow("Cancelar da vacío") << false << "";
    }
    void prompt() {
        QFETCH(bool, aceptar);
        QFETCH(QString, esperado);
        DialogosQt d;
        QStringList botones;
        alAbrirse([&](QWidget* w) {
            for (auto* b : w->findChildren<QPushButton*>())
                botones << b->text();
            w->findChild<QLineEdit*>()->setText(QStringLiteral("Ana"));
            boton(w, aceptar ? "Aceptar" : "Cancelar")->click();
        });
        QCOMPARE(d.pedirTexto(QStringLiteral("Nombre"), QStringLiteral("Agregar"), QString()),
                 esperado);
        QVERIFY(botones.contains("Aceptar"));
        QVERIFY(botones.contains("Cancelar"));
    }

    void cadenaDeProcedimientos() {
        QWidget w;
        HWND h = Ventana::de(&w);
        QCOMPARE(Ventana::de(&w), h); // one window object per widget
        rastro.clear();
        anteriorA = SetWindowLong(h, GWL_WNDPROC, &procA);
        QVERIFY(anteriorA == ProcVentana(&Ventana::ProcPredeterminado));
        anteriorB = SetWindowLong(h, GWL_WNDPROC, &procB);
        QVERIFY(anteriorB == ProcVentana(&procA));

        // The last installed sees each message first and hands it on.
        QCOMPARE(SendMessage(h, 0x8064, 0, 0x201), LRESULT(100));
        QCOMPARE(rastro, (std::vector<QString>{"B:8064:513", "A:8064"}));

        // Posted messages run through the chain later, in order, on this thread.
        rastro.clear();
        PostMessage(h, 0x400, 0, 64);
        PostMessage(h, 0x8064, 0, 0x204);
        QVERIFY(rastro.empty());
        QTRY_COMPARE(rastro.size(), std::size_t(4));
        QCOMPARE(rastro, (std::vector<QString>{"B:400:64", "A:400", "B:8064:516", "A:8064"}));

        // Removal in reverse order puts back each kept procedure.
        QVERIFY(SetWindowLong(h, GWL_WNDPROC, anteriorB) == ProcVentana(&procB));
        QVERIFY(SetWindowLong(h, GWL_WNDPROC, anteriorA) == ProcVentana(&procA));
        rastro.clear();
        QCOMPARE(SendMessage(h, 0x400, 0, 1), LRESULT(0));
        QVERIFY(rastro.empty());
        QVERIFY(SetWindowLong(h, 0, &procA) == ProcVentana(nullptr));
        QVERIFY(SetWindowLong(nullptr, GWL_WNDPROC, &procA) == ProcVentana(nullptr));
    }

    void mensajeAVentanaDestruidaSeDescarta() {
        rastro.clear();
        {
            QWidget w;
            HWND h = Ventana::de(&w);
            anteriorA = SetWindowLong(h, GWL_WNDPROC, &procA);
            PostMessage(h, 0x400, 0, 1);
        }
        QCoreApplication::processEvents();
        QVERIFY(rastro.empty());
    }

    void listaEjecutaClickDesdeCodigo() {
        Lista l;
        int clicks = 0;
        l.Click = [&] { ++clicks; };
        l.AddItem("0");
        l.AddItem("1");
        QCOMPARE(l.ListIndex(), -1); // adding entries selects nothing
        QCOMPARE(l.Text(), QString());
        l.setListIndex(1);
        QCOMPARE(clicks, 1);
        l.setListIndex(1); // selecting the selected entry again still runs Click
        QCOMPARE(clicks, 2);
        QCOMPARE(l.Text(), QStringLiteral("1"));
        l.setListIndex(5); // out of range: nothing
        QCOMPARE(clicks, 2);
        QCOMPARE(l.ListIndex(), 1);
        l.RemoveItem(1);
        QCOMPARE(l.ListIndex(), -1);
        QCOMPARE(clicks, 2);
        // A user's choice runs Click too.
        emit l.activated(0);
        QCOMPARE(clicks, 3);
    }

    void cajaEjecutaChangeEnCadaCambio() {
        CajaTexto c;
        QStringList vistos;
        c.Change = [&] { vistos << c.Text(); };
        c.setText("a");
        c.setText("a"); // no change, no handler
        QTest::keyClick(&c, Qt::Key_B);
        c.setText("");
        QCOMPARE(vistos, (QStringList{"a", "ab", ""}));
    }

    void opcionYTemporizador() {
        QWidget marco;
        Opcion a("a", &marco), b("b", &marco);
        int ca = 0, cb = 0;
        a.Click = [&] { ++ca; };
        b.Click = [&] { ++cb; };
        a.setValue(true);
        a.setValue(true); // already selected: no second Click
        b.setValue(true);
        QCOMPARE(ca, 1);
        QCOMPARE(cb, 1);
        QVERIFY(!a.Value());

        Temporizador t;
        int ticks = 0;
        t.Timer = [&] { ++ticks; t.setEnabled(false); };
        t.setInterval(20);
        QVERIFY(!t.Enabled());
        t.setEnabled(true);
        QTRY_COMPARE(ticks, 1);
        QTest::qWait(60);
        QCOMPARE(ticks, 1); // stopped by its own tick
        t.setInterval(0);
        t.setEnabled(true);
        QTest::qWait(40);
        QCOMPARE(ticks, 1); // interval 0 never ticks
    }

    void etiquetaOpacaMuestraSuColor() {
        Etiqueta e("Test");
        e.setBackColor(Qt::red);
        QVERIFY(!e.Opaca());
        QVERIFY(e.styleSheet().contains("transparent"));
        e.setOpaca(true);
        QVERIFY(e.Opaca());
        QVERIFY(e.styleSheet().contains("#ff0000"));
    }
};

QTEST_MAIN(TstPlataforma)
#include "tst_plataforma.moc"
