// Activation mode on the real window: the controls of each mode, the profile's
// Modo and Umbral, and sound readings reaching the window through its hook.
#include "input/modSonido.h"
#include "profiles/Declaraciones.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/LibreriaSonidoFalsa.h"
#include "ui/frmSwitch.h"

#include <QTest>

using namespace quimbal;

namespace {
// A window with its lists filled and one profile, as after loading.
struct Ventanilla {
    ServiciosDePrueba s;
    frmSwitch f;
    Ventanilla(std::int16_t modo = kModoSwitch, std::int16_t umbral = 5) {
        ReiniciarDeclaraciones();
        Usuarios[0] = Usuario::Nuevo(QStringLiteral("General"));
        Usuarios[0].Modo = modo;
        Usuarios[0].Umbral = umbral;
        for (int i = 0; i <= 4; ++i)
            f.cboSwitch->AddItem(QString::number(i));
        for (int i = 1; i <= 10; ++i)
            f.cboSonido->AddItem(QString::number(i));
    }
};

void comprobarModoSwitch(frmSwitch& f) {
    QVERIFY(f.optSwitch->Value());
    QVERIFY(!f.optSonido->Value());
    QVERIFY(f.cboSwitch->isEnabled());
    QVERIFY(f.tmrSwitch->Enabled());
    QCOMPARE(f.lblAccion1->text(), QStringLiteral("Switch 1:"));
    QVERIFY(f.lblAccion2->isEnabled());
    QVERIFY(f.cboTeclas2->isEnabled());
    QVERIFY(f.txtLetra2->isEnabled());
    QVERIFY(f.lblTest1->isEnabled());
    QVERIFY(f.lblTest2->isEnabled());
    QVERIFY(!f.lblTestSonido->Opaca());
    QVERIFY(!f.lblTestSonido->isEnabled());
    QVERIFY(!f.cboSonido->isEnabled());
    QVERIFY(!f.cmdMas->isEnabled());
    QVERIFY(f.cboTeclas1->isEnabled());
    QVERIFY(f.txtLetra1->isEnabled());
    QCOMPARE(UsuarioEnUso().Modo, kModoSwitch);
}

void comprobarModoSonido(frmSwitch& f) {
    QVERIFY(!f.optSwitch->Value());
    QVERIFY(f.optSonido->Value());
    QVERIFY(!f.cboSwitch->isEnabled());
    QVERIFY(!f.tmrSwitch->Enabled());
    QCOMPARE(f.lblAccion1->text(), QStringLiteral("Sonido:"));
    QVERIFY(!f.lblAccion2->isEnabled());
    QVERIFY(!f.cboTeclas2->isEnabled());
    QVERIFY(!f.txtLetra2->isEnabled());
    QVERIFY(!f.lblTest1->Opaca());
    QVERIFY(!f.lblTest2->Opaca());
    QVERIFY(!f.lblTest1->isEnabled());
    QVERIFY(!f.lblTest2->isEnabled());
    QVERIFY(f.lblTestSonido->isEnabled());
    QVERIFY(f.cboSonido->isEnabled());
    QVERIFY(f.cmdMas->isEnabled());
    QVERIFY(f.cboTeclas1->isEnabled());
    QVERIFY(f.txtLetra1->isEnabled());
    QCOMPARE(UsuarioEnUso().Modo, kModoSonido);
    QCOMPARE(f.cboSonido->Text(), QString::number(UsuarioEnUso().Umbral));
}
} // namespace

class TstModo : public QObject {
    Q_OBJECT
private slots:
    void tablaDeControlesEnAmbosModos() {
        Ventanilla v;
        frmSwitch& f = v.f;
        f.cboSwitch->setListIndex(2);
        f.lblTestSonido->setOpaca(true);
        f.ActivaOpcionSwitch();
        comprobarModoSwitch(f);
        QCOMPARE(f.cboSwitch->ListIndex(), 2); // the port choice is not touched

        f.lblTest1->setOpaca(true);
        f.lblTest2->setOpaca(true);
        f.ActivaOpcionSonido();
        comprobarModoSonido(f);
        QCOMPARE(f.cboSwitch->ListIndex(), 2);

        // And back, by the user's clicks on the option buttons.
        f.lblTestSonido->setOpaca(true);
        f.optSwitch->click();
        comprobarModoSwitch(f);
        f.optSonido->click();
        comprobarModoSonido(f);
    }

    void modoDesconocidoPasaASonido() {
        for (std::int16_t modo : {0, 3, -1}) {
            Ventanilla v(modo, 7);
            v.f.ActivaOpcionSonido();
            comprobarModoSonido(v.f);
            QCOMPARE(UsuarioEnUso().Modo, std::int16_t(2));
            QCOMPARE(UsuarioEnUso().Umbral, std::int16_t(7));
        }
    }

    void umbralSeleccionaSuPaso_data() {
        QTest::addColumn<int>("umbral");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("queda");
        QTest::newRow("5") << 5 << "5" << 5;
        QTest::newRow("1") << 1 << "1" << 1;
        QTest::newRow("10") << 10 << "10" << 10;
        QTest::newRow("0 se muestra como 1") << 0 << "1" << 1;
        QTest::newRow("negativo") << -4 << "1" << 1;
        QTest::newRow("11 se muestra como 10") << 11 << "10" << 10;
    }
    void umbralSeleccionaSuPaso() {
        QFETCH(int, umbral);
        QFETCH(QString, texto);
        QFETCH(int, queda);
        Ventanilla v(kModoSwitch, static_cast<std::int16_t>(umbral));
        v.f.ActivaOpcionSonido();
        QCOMPARE(v.f.cboSonido->Text(), texto);
        QCOMPARE(v.f.cboSonido->ListIndex(), queda - 1);
        QCOMPARE(int(UsuarioEnUso().Umbral), queda);
    }

    void elegirUmbralCambiaElPerfil() {
        Ventanilla v(kModoSonido, 5);
        v.f.ActivaOpcionSonido();
        v.f.cboSonido->setListIndex(6);
        QCOMPARE(UsuarioEnUso().Umbral, std::int16_t(7));
        v.f.cboSonido->setListIndex(9);
        QCOMPARE(UsuarioEnUso().Umbral, std::int16_t(10));
        v.f.cboSonido->setListIndex(0);
        QCOMPARE(UsuarioEnUso().Umbral, std::int16_t(1));
    }

    void lecturasLleganALaVentanaSoloEnModoSonido() {
        Ventanilla v;
        LibreriaSonidoFalsa lib;
        frmSwitch& f = v.f;
        IniciarCapturaSonido(f.hWnd());
        ModoTest = true;
        f.ActivaOpcionSwitch();
        lib.enviarNivel(128);
        QCoreApplication::processEvents();
        QVERIFY(!f.lblTestSonido->Opaca());
        QVERIFY(!f.cmdMas->isEnabled());

        f.ActivaOpcionSonido(); // threshold 5: 64 lights the label, 63 clears it
        lib.enviarNivel(64);
        QCoreApplication::processEvents();
        QVERIFY(f.lblTestSonido->Opaca());
        lib.enviarNivel(63);
        QCoreApplication::processEvents();
        QVERIFY(!f.lblTestSonido->Opaca());
        QVERIFY(!f.tmrDelaySonido->Enabled());

        // Live mode: the delay starts; its tick stops it again.
        ModoTest = false;
        lib.enviarNivel(100);
        QCoreApplication::processEvents();
        QVERIFY(f.tmrDelaySonido->Enabled());
        f.tmrDelaySonido->disparar();
        QVERIFY(!f.tmrDelaySonido->Enabled());
        FinalizarCapturaSonido(f.hWnd());
    }
};

QTEST_MAIN(TstModo)
#include "tst_modo.moc"
