// The main window's activation mode, port and threshold controls, and the
// inputs as the loaded window drives them.
#include "tests/fakes/CarpetaDePrueba.h"
#include "ui/Controles.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace quimbal;

namespace {
// The user's choice of entry i in a list.
void elegir(QComboBox* lista, int i) {
    lista->setCurrentIndex(i);
    emit lista->activated(i);
}

// A loaded window whose profile in use is replaced by one with the given
// mode and threshold, as stored (not brought into range).
void perfilGuardado(ProgramaDePrueba& p, int modo, int umbral) {
    Usuario u = Usuario::Nuevo(QStringLiteral("General"));
    u.Modo = static_cast<std::int16_t>(modo);
    u.Umbral = static_cast<std::int16_t>(umbral);
    p.perfiles.cargar({u});
}

// The controls of one mode, and the profile's mode.
void comprobarModo(ProgramaDePrueba& p, bool sw) {
    frmSwitch& f = *p.ventana;
    QCOMPARE(f.optSwitch->isChecked(), sw);
    QCOMPARE(f.optSonido->isChecked(), !sw);
    QCOMPARE(p.entradas.Sondeando(), sw);
    QCOMPARE(f.lblAccion1->text(), sw ? QStringLiteral("Switch 1:") : QStringLiteral("Sonido:"));
    const QList<QWidget*> deSwitch{f.cboSwitch, f.lblAccion2, f.cboTeclas2,
                                   f.txtLetra2, f.lblTest1,   f.lblTest2};
    const QList<QWidget*> deSonido{f.lblTestSonido, f.cboSonido, f.cmdMas};
    for (QWidget* w : deSwitch)
        QVERIFY2(w->isEnabled() == sw, qPrintable(w->objectName()));
    for (QWidget* w : deSonido)
        QVERIFY2(w->isEnabled() == !sw, qPrintable(w->objectName()));
    QVERIFY(f.cboTeclas1->isEnabled() && f.txtLetra1->isEnabled());
    // The labels of the inputs no longer in use are cleared.
    if (sw) {
        QVERIFY(!f.lblTestSonido->Opaca());
    } else {
        QVERIFY(!f.lblTest1->Opaca() && !f.lblTest2->Opaca());
        QCOMPARE(f.cboSonido->currentText(), QString::number(p.perfiles.enUso().Umbral));
    }
    QCOMPARE(p.perfiles.enUso().Modo, sw ? kModoSwitch : kModoSonido);
}
} // namespace

class TstModo : public QObject {
    Q_OBJECT
private slots:
    void controlesDeCadaModo() {
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        elegir(f.cboSwitch, 2);
        f.lblTestSonido->setOpaca(true);
        f.ActivaOpcionSwitch();
        comprobarModo(p, true);
        f.lblTest1->setOpaca(true);
        f.lblTest2->setOpaca(true);
        f.ActivaOpcionSonido();
        comprobarModo(p, false);
        QCOMPARE(f.cboSwitch->currentIndex(), 2); // the port choice is not touched
        QCOMPARE(p.perfiles.puerto(), 2);
        // And back, by the user's clicks on the option buttons.
        f.lblTestSonido->setOpaca(true);
        f.optSwitch->click();
        comprobarModo(p, true);
        f.optSonido->click();
        comprobarModo(p, false);
    }

    void modoDesconocidoPasaASonido_data() {
        QTest::addColumn<int>("modo");
        QTest::newRow("0") << 0;
        QTest::newRow("3") << 3;
        QTest::newRow("-1") << -1;
    }
    void modoDesconocidoPasaASonido() {
        QFETCH(int, modo);
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        perfilGuardado(p, modo, 7);
        f.ActivaOpcionSonido();
        comprobarModo(p, false);
        QCOMPARE(p.perfiles.enUso().Umbral, std::int16_t(7));
        // Showing such a profile shows the sound mode.
        f.ActivaOpcionSwitch();
        perfilGuardado(p, modo, 7);
        f.MostrarUsuario(0);
        comprobarModo(p, false);
    }

    void umbralSeleccionaSuPaso_data() {
        QTest::addColumn<int>("umbral");
        QTest::addColumn<int>("queda");
        QTest::newRow("5") << 5 << 5;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("10") << 10 << 10;
        QTest::newRow("0 se muestra como 1") << 0 << 1;
        QTest::newRow("negativo") << -4 << 1;
        QTest::newRow("11 se muestra como 10") << 11 << 10;
    }
    void umbralSeleccionaSuPaso() {
        QFETCH(int, umbral);
        QFETCH(int, queda);
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        perfilGuardado(p, kModoSwitch, umbral);
        f.ActivaOpcionSonido();
        QCOMPARE(f.cboSonido->currentText(), QString::number(queda));
        QCOMPARE(int(p.perfiles.enUso().Umbral), queda);
    }

    void elegirUmbralCambiaElPerfil() {
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        f.optSonido->click();
        for (int i : {6, 9, 0}) {
            elegir(f.cboSonido, i);
            QCOMPARE(int(p.perfiles.enUso().Umbral), i + 1);
        }
    }

    void lecturasDeSonidoEnLaVentana() {
        ProgramaDePrueba p;
        frmSwitch& f = p.cargar();
        QVERIFY(p.entradas.ModoTest);
        f.optSwitch->click();
        p.sonido.enviarNivel(128);
        QVERIFY(!f.lblTestSonido->Opaca());
        f.optSonido->click(); // threshold 5: 64 lights the label, 63 clears it
        QVERIFY(p.sonido.enviarNivel(64));
        QVERIFY(f.lblTestSonido->Opaca());
        p.sonido.enviarNivel(63);
        QVERIFY(!f.lblTestSonido->Opaca());
        QVERIFY(p.inyector.registro.isEmpty());
        QVERIFY(!p.entradas.RearmeEnCurso());
        // Accepted: a loud sound performs action 1 and starts the delay.
        f.cmdAceptar->click();
        QVERIFY(!p.entradas.ModoTest);
        p.sonido.enviarNivel(100);
        QCOMPARE(p.inyector.registro, QStringList({"LEFTUP", "LEFTDOWN", "LEFTUP"}));
        QVERIFY(p.entradas.RearmeEnCurso());
        QVERIFY(!f.lblTestSonido->Opaca());
    }

    void capturaQueNoArranca() {
        ProgramaDePrueba p;
        p.sonido.arranca = false;
        p.cargar();
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QCOMPARE(p.dialogos.mensajes[0].texto,
                 QStringLiteral("No se ha podido iniciar la DLL de reconocimiento de sonido!"));
        QCOMPARE(p.dialogos.mensajes[0].estilo, 0);
        QCOMPARE(p.dialogos.mensajes[0].titulo, TituloAplicacion());
        // The capture is stopped at unload even after a failed start.
        p.ventana->Descargar();
        QCOMPARE(p.sonido.llamadas, QStringList({"iniciar", "detener"}));
    }

    void puertoElegidoYSondeo() {
        ProgramaDePrueba p;
        p.puerto.puertosExistentes = {3};
        frmSwitch& f = p.cargar();
        f.optSwitch->click();
        elegir(f.cboSwitch, 3);
        QCOMPARE(p.perfiles.puerto(), 3);
        QVERIFY(p.puerto.abierto());
        QCOMPARE(p.puerto.numero, 3);
        QCOMPARE(f.cboSwitch->toolTip(), QStringLiteral("COM3: /dev/ttyFALSO3"));
        // Test mode: a press lights its label and acts on nothing.
        p.puerto.cts = true;
        p.entradas.tmrSwitch_Timer();
        QVERIFY(f.lblTest1->Opaca());
        QVERIFY(!f.lblTest2->Opaca());
        QVERIFY(p.entradas.Switch1Pulsado);
        p.puerto.cts = false;
        p.entradas.tmrSwitch_Timer();
        QVERIFY(!f.lblTest1->Opaca());
        // Live mode: one click for a held press; the labels stay as they are.
        f.cmdAceptar->click();
        p.puerto.cts = true;
        for (int i = 0; i < 5; ++i)
            p.entradas.tmrSwitch_Timer();
        QCOMPARE(p.inyector.registro, QStringList({"LEFTUP", "LEFTDOWN", "LEFTUP"}));
        QVERIFY(!f.lblTest1->Opaca());
        // A port that is not there stays chosen, closed; 0 is no port.
        elegir(f.cboSwitch, 2);
        QCOMPARE(p.perfiles.puerto(), 2);
        QVERIFY(!p.puerto.abierto());
        elegir(f.cboSwitch, 0);
        QCOMPARE(p.perfiles.puerto(), 0);
        QCOMPARE(p.puerto.llamadas.last(), QStringLiteral("cerrar"));
        QVERIFY(f.cboSwitch->toolTip().startsWith(QStringLiteral("Sin puerto")));
    }
};

QTEST_MAIN(TstModo)
#include "tst_modo.moc"
