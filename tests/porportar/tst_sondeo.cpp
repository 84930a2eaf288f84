// The switch poll and the port choice, on a scripted serial port.
#include "input/SondeoSwitch.h"
#include "platform/Controles.h"
#include "profiles/Declaraciones.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/InyectorFalso.h"
#include "tests/fakes/PuertoSerieFalso.h"
#include "ui/frmSwitch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quimbal;

namespace {
// A poll over the fake port that records what it called, in order, in the
// port's own call log.
struct Banco {
    PuertoSerieFalso puerto;
    Etiqueta lbl1{QStringLiteral("Test del switch 1")};
    Etiqueta lbl2{QStringLiteral("Test del switch 2")};
    bool pulsado1 = false;
    bool pulsado2 = false;
    bool exito1 = true;
    bool exito2 = true;
    int acciones1 = 0, acciones2 = 0, sueltas1 = 0, sueltas2 = 0;
    std::function<void()> durante1; // runs inside action 1 (a pump)

    Banco() {
        puerto.setCommPort(2);
        puerto.setPortOpen(true);
        puerto.llamadas.clear();
    }
    SondeoSwitch sondeo() {
        return {&puerto,
                &lbl1,
                &lbl2,
                &pulsado1,
                &pulsado2,
                [this] {
                    ++acciones1;
                    puerto.llamadas << QStringLiteral("Activar1");
                    if (durante1)
                        durante1();
                    return exito1;
                },
                [this] {
                    ++acciones2;
                    puerto.llamadas << QStringLiteral("Activar2");
                    return exito2;
                },
                [this] {
                    ++sueltas1;
                    puerto.llamadas << QStringLiteral("Desactivar1");
                },
                [this] {
                    ++sueltas2;
                    puerto.llamadas << QStringLiteral("Desactivar2");
                }};
    }
    void tick(bool modoTest = false) { SondearSwitches(sondeo(), modoTest); }
    void ticks(int n, bool modoTest = false) {
        for (int i = 0; i < n; ++i)
            tick(modoTest);
    }
};
} // namespace

class TstSondeo : public QObject {
    Q_OBJECT
private slots:
    void init() { ReiniciarDeclaraciones(); }

    void unaAccionPorPulsacionSostenida() {
        Banco b;
        b.ticks(3);
        QCOMPARE(b.acciones1, 0);
        QCOMPARE(b.sueltas1, 3); // every inactive reading calls the release entry
        b.puerto.cts = true;
        b.ticks(20);
        QCOMPARE(b.acciones1, 1);
        QVERIFY(b.pulsado1);
        b.puerto.cts = false;
        b.tick();
        QVERIFY(!b.pulsado1);
        b.puerto.cts = true;
        b.ticks(5);
        QCOMPARE(b.acciones1, 2);
        QCOMPARE(b.acciones2, 0);
    }

    void ambosEnUnTickPrimeroElUno() {
        Banco b;
        b.puerto.cts = b.puerto.dsr = true;
        b.tick();
        QCOMPARE(b.puerto.llamadas,
                 QStringList({"CTS", "Activar1", "RTS", "DSR", "Activar2", "DTR"}));
        b.puerto.llamadas.clear();
        b.tick();
        // Held: each line is read twice and nothing runs.
        QCOMPARE(b.puerto.llamadas, QStringList({"CTS", "CTS", "RTS", "DSR", "DSR", "DTR"}));
    }

    void soltarSeReconoceEnLaSegundaLectura() {
        Banco b;
        b.puerto.cts = true;
        b.tick();
        // Active at the first read, released by the second: released now.
        b.puerto.lecturasCTS = {true, false};
        b.puerto.llamadas.clear();
        b.tick();
        QVERIFY(!b.pulsado1);
        QCOMPARE(b.puerto.llamadas.mid(0, 3), QStringList({"CTS", "CTS", "Desactivar1"}));
        // Inactive then active again between the two reads: stays latched.
        Banco c;
        c.puerto.lecturasCTS = {false, true};
        c.tick();
        QVERIFY(!c.pulsado1);
        QCOMPARE(c.sueltas1, 0);
        QCOMPARE(c.acciones1, 0);
    }

    void modoTestSoloIluminaLasEtiquetas() {
        Banco b;
        b.puerto.cts = true;
        b.tick(true);
        QVERIFY(b.lbl1.Opaca());
        QVERIFY(!b.lbl2.Opaca());
        QVERIFY(b.pulsado1);
        b.puerto.dsr = true;
        b.ticks(3, true);
        QVERIFY(b.lbl2.Opaca());
        b.puerto.cts = false;
        b.tick(true);
        QVERIFY(!b.lbl1.Opaca());
        QVERIFY(!b.pulsado1);
        QVERIFY(b.lbl2.Opaca());
        b.puerto.dsr = false;
        b.tick(true);
        QVERIFY(!b.lbl2.Opaca());
        QCOMPARE(b.acciones1 + b.acciones2 + b.sueltas1 + b.sueltas2, 0);
        QVERIFY(b.puerto.rts && b.puerto.dtr);
    }

    void sostenidoAlAceptarNoActuaHastaOtraPulsacion() {
        Banco b;
        b.puerto.cts = true;
        b.ticks(2, true);
        b.ticks(5, false); // the user accepted with the switch held
        QCOMPARE(b.acciones1, 0);
        QVERIFY(b.lbl1.Opaca()); // nothing in live mode touches the label
        b.puerto.cts = false;
        b.tick();
        b.puerto.cts = true;
        b.tick();
        QCOMPARE(b.acciones1, 1);
    }

    void lecturaFallidaTerminaElTick() {
        Banco b;
        b.puerto.dsr = true;
        b.puerto.falloEnLectura = 1;
        b.tick();
        QCOMPARE(b.puerto.llamadas, QStringList({"CTS"}));
        QCOMPARE(b.acciones2, 0);
        // The second read of a line failing ends it as well.
        b.puerto.llamadas.clear();
        b.puerto.falloEnLectura = 2;
        b.tick();
        QCOMPARE(b.puerto.llamadas, QStringList({"CTS", "CTS"}));
        QCOMPARE(b.sueltas1, 0);
        // Next tick starts afresh.
        b.tick();
        QCOMPARE(b.acciones2, 1);
        // RTS that cannot be set ends the tick before switch 2.
        Banco c;
        c.puerto.dsr = true;
        c.puerto.falloRTS = true;
        c.tick();
        QCOMPARE(c.puerto.llamadas.last(), QStringLiteral("RTS"));
        QCOMPARE(c.acciones2, 0);
    }

    void accionFallidaDejaElCerrojoPuesto() {
        Banco b;
        b.exito1 = false;
        b.puerto.cts = b.puerto.dsr = true;
        b.tick();
        QCOMPARE(b.puerto.llamadas, QStringList({"CTS", "Activar1"}));
        QVERIFY(b.pulsado1);
        b.exito1 = true;
        b.ticks(3);
        QCOMPARE(b.acciones1, 1); // not retried while held
        QCOMPARE(b.acciones2, 1);
    }

    void reentradaDuranteLaAccionNoRepite() {
        Banco b;
        int reentradas = 0;
        b.durante1 = [&] {
            ++reentradas;
            b.ticks(3); // the pump inside a click runs pending ticks
        };
        b.puerto.cts = true;
        b.tick();
        QCOMPARE(reentradas, 1);
        QCOMPARE(b.acciones1, 1);
        b.ticks(3);
        QCOMPARE(b.acciones1, 1);
    }

    void sinPuertoNadaOcurre() {
        Banco b;
        b.puerto.cts = true;
        b.puerto.setPortOpen(false);
        b.ticks(3);
        QCOMPARE(b.acciones1, 0);
        QVERIFY(!b.pulsado1);
    }

    void seleccionarPuerto() {
        PuertoSerieFalso p;
        QVERIFY(SeleccionarPuerto(&p, 3));
        QCOMPARE(p.llamadas, QStringList({"cerrar", "numero 3", "abrir"}));
        QCOMPARE(p.numero, 3);
        p.llamadas.clear();
        QVERIFY(!SeleccionarPuerto(&p, 0));
        QCOMPARE(p.llamadas, QStringList({"cerrar"}));
        // A failing close is skipped; a missing port stays closed.
        p.puertosExistentes = {1};
        QVERIFY(!SeleccionarPuerto(&p, 4));
        QCOMPARE(p.aperturas, 1);
        p.falloCerrar = true;
        p.llamadas.clear();
        QVERIFY(SeleccionarPuerto(&p, 1));
        QCOMPARE(p.llamadas, QStringList({"cerrar", "numero 1", "abrir"}));
        QVERIFY(!SeleccionarPuerto(nullptr, 2));
    }

    void laVentanaEligeYSondea() {
        ServiciosDePrueba s;
        QTemporaryDir dir;
        FijarCarpetaPrograma(dir.path());
        PuertoSerieFalso p;
        p.puertosExistentes = {3};
        frmSwitch f;
        f.comPuerto = &p;
        f.Cargar();
        f.cboSwitch->setListIndex(3);
        QCOMPARE(PuertoSwitch, 3);
        QVERIFY(p.abierto);
        QCOMPARE(p.numero, 3);
        QVERIFY(f.cboSwitch->toolTip().contains(QStringLiteral("/dev/ttyS2")));
        QVERIFY(f.tmrSwitch->Enabled());
        QVERIFY(ModoTest);
        p.cts = true;
        f.tmrSwitch->disparar();
        QVERIFY(f.lblTest1->Opaca());
        QVERIFY(f.Switch1Pulsado);
        f.cboSwitch->setListIndex(2); // not there: stays chosen, closed
        QCOMPARE(PuertoSwitch, 2);
        QVERIFY(!p.abierto);
        f.cboSwitch->setListIndex(0);
        QCOMPARE(PuertoSwitch, 0);
        QCOMPARE(p.llamadas.last(), QStringLiteral("cerrar"));
        QVERIFY(f.cboSwitch->toolTip().startsWith(QStringLiteral("Sin puerto")));
        f.comPuerto = nullptr;
        FijarCarpetaPrograma(QString());
    }

    void laVentanaActuaUnaVezAunqueElBombeoReentre() {
        ServiciosDePrueba s;
        InyectorDePrueba iny;
        iny.inyector.observar(s.bucle);
        QTemporaryDir dir;
        FijarCarpetaPrograma(dir.path());
        PuertoSerieFalso p;
        frmSwitch f;
        f.comPuerto = &p;
        f.Cargar();
        f.cboSwitch->setListIndex(2);
        QCOMPARE(f.cboTeclas1->Text(), QStringLiteral("Click izquierdo"));
        ModoTest = false;
        // Every pump inside the click runs a pending tick of the poll.
        int reentradas = 0;
        s.bucle.alBombear = [&] {
            ++reentradas;
            f.tmrSwitch->disparar();
        };
        p.cts = true;
        for (int i = 0; i < 5; ++i)
            f.tmrSwitch->disparar();
        QStringList raton = iny.inyector.registro;
        raton.removeAll(QStringLiteral("DoEvents"));
        QCOMPARE(raton, QStringList({"LEFTUP", "LEFTDOWN", "LEFTUP"}));
        QCOMPARE(reentradas, 3);
        QVERIFY(f.Switch1Pulsado);
        QVERIFY(!f.lblTest1->Opaca());

        // A key string that cannot be sent ends the tick: switch 2 waits.
        s.bucle.alBombear = nullptr;
        f.cboTeclas1->setListIndex(f.cboTeclas1->findText(QStringLiteral("ENTER")));
        iny.inyector.fallarTeclas = true;
        p.cts = false;
        f.tmrSwitch->disparar();
        p.cts = p.dsr = true;
        p.llamadas.clear();
        f.tmrSwitch->disparar();
        QCOMPARE(p.llamadas, QStringList({"CTS"}));
        QVERIFY(f.Switch1Pulsado);
        QVERIFY(!f.Switch2Pulsado);
        f.comPuerto = nullptr;
        FijarCarpetaPrograma(QString());
    }

    void dispositivoDePuerto() {
        QTemporaryDir dir;
        const QString c = dir.path();
        QCOMPARE(DispositivoDePuerto(0, c), QString());
        QCOMPARE(DispositivoDePuerto(1, c), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(DispositivoDePuerto(4, c), QStringLiteral("/dev/ttyS3"));
        // A link to a device not plugged in keeps the name it gives.
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB-quimbal-no-existe"), c + "/com2"));
        QCOMPARE(DispositivoDePuerto(2, c), QStringLiteral("/dev/ttyUSB-quimbal-no-existe"));
        // A chain of links (as /dev/serial/by-id/ gives) ends at the device.
        QDir(c).mkpath(QStringLiteral("por-id"));
        QFile real(c + "/ttyREAL");
        QVERIFY(real.open(QIODevice::WriteOnly));
        real.close();
        QVERIFY(QFile::link(QStringLiteral("../ttyREAL"), c + "/por-id/usb-adaptador"));
        QVERIFY(QFile::link(c + "/por-id/usb-adaptador", c + "/com3"));
        QCOMPARE(DispositivoDePuerto(3, c), QFileInfo(c + "/ttyREAL").canonicalFilePath());
        // Upper case names serve as well; ports without an entry stay as they were.
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyACM0"), c + "/COM4"));
        QCOMPARE(DispositivoDePuerto(4, c), QStringLiteral("/dev/ttyACM0"));
        QCOMPARE(DispositivoDePuerto(1, c), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(DispositivoDePuerto(5, c), QStringLiteral("/dev/ttyS4"));
    }
};

QTEST_MAIN(TstSondeo)
#include "tst_sondeo.moc"
