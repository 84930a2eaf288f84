// The platform layer's message boxes and prompt on Qt, the application title,
// the devices the port numbers stand for, and the test label.
#include "platform/Dialogos.h"
#include "platform/PuertoSerie.h"
#include "platform/qt/DialogosQt.h"
#include "ui/Controles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

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

const QString kTitulo =
    QStringLiteral("Quimbal %1.%2").arg(QUIMBAL_VERSION_MAYOR).arg(QUIMBAL_VERSION_MENOR);

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
        QTest::newRow("256 sin sí/no: Aceptar") << 256 << false << int(I::Ninguno) << false;
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
        QCOMPARE(caja->windowTitle(), kTitulo);
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
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("accion");
        QTest::addColumn<int>("respuesta");
        const QString at = QStringLiteral("Atención");
        QTest::newRow("Sí") << 36 << at << "Sí" << vbYes;
        QTest::newRow("No") << 36 << at << "No" << vbNo;
        QTest::newRow("Enter en 292 es No") << 292 << at << "Enter" << vbNo;
        QTest::newRow("Enter en 36 es Sí") << 36 << at << "Enter" << vbYes;
        QTest::newRow("Esc en sí/no es No") << 292 << at << "Esc" << vbNo;
        QTest::newRow("Aceptar") << 48 << at << "Aceptar" << vbOK;
        QTest::newRow("Esc en Aceptar") << 16 << at << "Esc" << vbOK;
        QTest::newRow("sin título, el de la aplicación") << 0 << QString() << "Aceptar" << vbOK;
    }
    void respuestas() {
        QFETCH(int, estilo);
        QFETCH(QString, titulo);
        QFETCH(QString, accion);
        QFETCH(int, respuesta);
        DialogosQt d;
        QString visto;
        alAbrirse([&](QWidget* w) {
            visto = w->windowTitle();
            if (accion == "Enter")
                QTest::keyClick(w, Qt::Key_Return);
            else if (accion == "Esc")
                QTest::keyClick(w, Qt::Key_Escape);
            else
                boton(w, accion)->click();
        });
        QCOMPARE(d.MsgBox(QStringLiteral("¿Seguro?"), estilo, titulo), respuesta);
        QCOMPARE(visto, titulo.isEmpty() ? kTitulo : titulo);
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
        QString titulo;
        alAbrirse([&](QWidget* w) {
            titulo = w->windowTitle();
            for (auto* b : w->findChildren<QPushButton*>())
                botones << b->text();
            w->findChild<QLineEdit*>()->setText(QStringLiteral("Ana"));
            boton(w, aceptar ? "Aceptar" : "Cancelar")->click();
        });
        QCOMPARE(d.InputBox(QStringLiteral("Nombre"), QStringLiteral("Agregar")), esperado);
        QCOMPARE(titulo, QStringLiteral("Agregar"));
        QVERIFY(botones.contains("Aceptar"));
        QVERIFY(botones.contains("Cancelar"));
    }

    void tituloAplicacion() {
        QCOMPARE(TituloAplicacion(), kTitulo);
        QVERIFY(QRegularExpression(QStringLiteral("^Quimbal \\d+\\.\\d+$"))
                    .match(TituloAplicacion())
                    .hasMatch());
    }

    void dispositivoDePuerto() {
        QTemporaryDir d;
        QVERIFY(d.isValid());
        const QString c = d.path();
        auto crear = [&](const QString& nombre) {
            QFile f(d.filePath(nombre));
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        // Without entries: the system's serial devices; below 1 none.
        QCOMPARE(DispositivoDePuerto(1, c), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(DispositivoDePuerto(4, c), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(DispositivoDePuerto(0, c), QString());
        QCOMPARE(DispositivoDePuerto(-1, c), QString());
        // An entry stands for its port, in either case; the lower-case first.
        crear(QStringLiteral("COM3"));
        QCOMPARE(DispositivoDePuerto(3, c), d.filePath(QStringLiteral("COM3")));
        crear(QStringLiteral("com2"));
        crear(QStringLiteral("COM2"));
        QCOMPARE(DispositivoDePuerto(2, c), d.filePath(QStringLiteral("com2")));
        QCOMPARE(DispositivoDePuerto(1, c), QStringLiteral("/dev/ttyS0"));
        // A chain of links is followed to the device at its end.
        crear(QStringLiteral("ttyUSB0"));
        QVERIFY(QFile::link(d.filePath(QStringLiteral("ttyUSB0")), d.filePath("por-id")));
        QVERIFY(QFile::link(d.filePath(QStringLiteral("por-id")), d.filePath("com1")));
        QCOMPARE(DispositivoDePuerto(1, c), QFileInfo(d.filePath("ttyUSB0")).canonicalFilePath());
        // Unplugged, the by-id link goes away; plugged back, it may name
        // another device: each opening follows the chain again.
        QVERIFY(QFile::remove(d.filePath("por-id")));
        QCOMPARE(DispositivoDePuerto(1, c), d.filePath("por-id"));
        crear(QStringLiteral("ttyUSB1"));
        QVERIFY(QFile::link(d.filePath(QStringLiteral("ttyUSB1")), d.filePath("por-id")));
        QCOMPARE(DispositivoDePuerto(1, c), QFileInfo(d.filePath("ttyUSB1")).canonicalFilePath());
        // A link to a device not plugged in keeps the name it gives.
        QVERIFY(
            QFile::link(QStringLiteral("/dev/serial/by-id/usb-no-enchufado"), d.filePath("com4")));
        QCOMPARE(DispositivoDePuerto(4, c), QStringLiteral("/dev/serial/by-id/usb-no-enchufado"));
    }

    void etiquetaOpacaMuestraSuColor() {
        Etiqueta e("Test");
        e.setBackColor(Qt::red);
        QVERIFY(!e.Opaca());
        QVERIFY(e.styleSheet().contains("transparent"));
        e.setOpaca(true);
        QVERIFY(e.Opaca());
        QVERIFY(e.styleSheet().contains("#ff0000"));
        QVERIFY(!e.styleSheet().contains("transparent"));
    }
};

QTEST_MAIN(TstPlataforma)
#include "tst_plataforma.moc"
