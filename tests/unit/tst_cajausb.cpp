// The USB switch box: which devices are offered and as what, how a stored box
// is found again, its presses in the engine (and not while learning, not at
// a re-plug), and the settings dialog's learning step.
#include "input/Entradas.h"
#include "platform/evdev/CajaEvdev.h"
#include "profiles/Perfiles.h"
#include "tests/fakes/CajaUsbFalsa.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/InyectorFalso.h"
#include "tests/fakes/NivelSonidoFalso.h"
#include "tests/fakes/PuertoSerieFalso.h"
#include "ui/fraCajaUsb.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <linux/input-event-codes.h>

using namespace quimbal;
using Codigos = QList<int>;

namespace {
// A capability bitmap as the kernel writes it under sysfs.
QString mapa(const Codigos& codigos) {
    QList<quint64> palabras(12, 0);
    for (int c : codigos)
        palabras[c / 64] |= quint64(1) << (c % 64);
    while (palabras.size() > 1 && palabras.last() == 0)
        palabras.removeLast();
    QStringList t;
    for (auto i = palabras.size(); i-- > 0;)
        t << QString::number(palabras[i], 16);
    return t.join(QLatin1Char(' '));
}

void escribir(const QString& ruta, const QString& texto) {
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(texto.toUtf8() + '\n');
}

Codigos letras() {
    Codigos r;
    for (int c = KEY_Q; c <= KEY_P; ++c)
        r << c;
    for (int c = KEY_A; c <= KEY_L; ++c)
        r << c;
    for (int c = KEY_Z; c <= KEY_M; ++c)
        r << c;
    return r;
}

DispositivoEntrada dispositivo(const QString& nombre, quint16 product, const QString& id = {},
                               TipoDispositivo tipo = TipoDispositivo::Mando) {
    DispositivoEntrada d;
    d.ruta = QStringLiteral("/dev/input/event%1").arg(product);
    d.id = id;
    d.vendor = 0x1209;
    d.product = product;
    d.nombre = nombre;
    d.tipo = tipo;
    return d;
}

SwitchUsb eleccion(const DispositivoEntrada& d, int p1, std::optional<int> p2) {
    SwitchUsb u;
    u.id = d.id;
    u.vendor = d.vendor;
    u.product = d.product;
    u.nombre = d.nombre;
    u.pulsador1 = p1;
    u.pulsador2 = p2;
    return u;
}

// One switch profile (action 1 = F1, action 2 = F2), no serial port, a
// game-controller box chosen with BTN_TRIGGER and BTN_THUMB.
struct Banco {
    Perfiles perfiles;
    PuertoSerieFalso puerto;
    NivelSonidoFalso sonido;
    InyectorFalso inyector;
    CajaUsbFalsa caja;
    Entradas entradas{perfiles, puerto, sonido, inyector};
    DispositivoEntrada mando = dispositivo(QStringLiteral("Caja de botones"), 1);

    Banco() {
        perfiles.cargar({Usuario::Nuevo(QStringLiteral("General"))});
        entradas.FijarAcciones(Accion::desde(QStringLiteral("F1"), {}),
                               Accion::desde(QStringLiteral("F2"), {}));
        caja.lista = {mando,
                      dispositivo(QStringLiteral("Caja de teclas"), 2, {}, TipoDispositivo::Caja)};
        entradas.ConectarCaja(&caja);
        entradas.FijarCajaUsb(eleccion(mando, BTN_TRIGGER, BTN_THUMB));
        entradas.UsarModo(kModoSwitch);
    }
    // A press and release of each code, in order; the key strings sent.
    QStringList pulsar(const Codigos& codigos) {
        inyector.registro.clear();
        for (int c : codigos) {
            caja.pulsar(c, true);
            caja.pulsar(c, false);
        }
        return inyector.registro;
    }
};
} // namespace

class TstCajaUsb : public QObject {
    Q_OBJECT
private slots:
    void clasificar_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<Codigos>("teclas");
        QTest::addColumn<bool>("puntero");
        QTest::addColumn<int>("tipo"); // as listed; Ninguno: not listed
        const Codigos mando{BTN_TRIGGER, BTN_THUMB};
        QTest::newRow("mando") << "Caja" << mando << false << int(TipoDispositivo::Mando);
        QTest::newRow("caja de teclas")
            << "Caja" << Codigos{KEY_SPACE, KEY_ENTER} << false << int(TipoDispositivo::Caja);
        QTest::newRow("teclado del equipo")
            << "AT keyboard" << letras() << false << int(TipoDispositivo::Teclado);
        QTest::newRow("ratón") << "Ratón" << Codigos{BTN_LEFT, BTN_RIGHT} << true
                               << int(TipoDispositivo::Raton);
        QTest::newRow("sin teclas")
            << "Acelerómetro" << Codigos{} << false << int(TipoDispositivo::Ninguno);
        QTest::newRow("el del propio programa") << "Quimbal: teclado y raton virtuales" << letras()
                                                << true << int(TipoDispositivo::Ninguno);
    }
    // From the kernel's description in sysfs, with a by-id link for one.
    void clasificar() {
        QFETCH(QString, nombre);
        QFETCH(Codigos, teclas);
        QFETCH(bool, puntero);
        QFETCH(int, tipo);
        const bool seOfrece = tipo != int(TipoDispositivo::Ninguno);
        QTemporaryDir dir;
        const QString sys = dir.filePath(QStringLiteral("sys"));
        const QString dev = dir.filePath(QStringLiteral("dev"));
        const QString base = sys + QStringLiteral("/event12/device/");
        escribir(base + QStringLiteral("name"), nombre);
        escribir(base + QStringLiteral("id/vendor"), QStringLiteral("1209"));
        escribir(base + QStringLiteral("id/product"), QStringLiteral("00a1"));
        escribir(base + QStringLiteral("capabilities/key"), mapa(teclas));
        escribir(base + QStringLiteral("capabilities/rel"),
                 mapa(puntero ? Codigos{0, 1} : Codigos{}));
        QDir().mkpath(dev + QStringLiteral("/by-id"));
        QVERIFY(QFile::link(QStringLiteral("../event12"),
                            dev + QStringLiteral("/by-id/usb-Caja-event-joystick")));
        const QList<DispositivoEntrada> lista = DispositivosDeSysfs(sys, dev);
        QCOMPARE(lista.size(), seOfrece ? 1 : 0);
        if (!seOfrece)
            return;
        QCOMPARE(int(lista[0].tipo), tipo);
        QCOMPARE(lista[0].ruta, dev + QStringLiteral("/event12"));
        QCOMPARE(lista[0].id, QStringLiteral("usb-Caja-event-joystick"));
        QCOMPARE(lista[0].vendor, quint16(0x1209));
        QCOMPARE(lista[0].product, quint16(0xa1));
        QCOMPARE(lista[0].nombre, nombre);
    }

    void localizar_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<int>("hallado"); // product of the one found, 0: none
        QTest::newRow("por su nombre by-id") << "usb-B"
                                             << "otra" << 2;
        QTest::newRow("sin by-id: fabricante, producto y nombre") << ""
                                                                  << "Caja A" << 1;
        QTest::newRow("by-id que ya no está") << "usb-viejo"
                                              << "Caja A" << 1;
        QTest::newRow("otro nombre") << ""
                                     << "Caja C" << 0;
    }
    void localizar() {
        QFETCH(QString, id);
        QFETCH(QString, nombre);
        QFETCH(int, hallado);
        const QList<DispositivoEntrada> lista{dispositivo(QStringLiteral("Caja A"), 1),
                                              dispositivo(QStringLiteral("Caja B"), 2, "usb-B")};
        const auto d = Localizar({id, 0x1209, 1, nombre}, lista);
        QCOMPARE(d ? int(d->product) : 0, hallado);
    }

    // The box's presses in the engine, as the serial switches'.
    void pulsaciones_data() {
        QTest::addColumn<Codigos>("codigos");
        QTest::addColumn<QStringList>("acciones");
        QTest::newRow("switch 1 y switch 2")
            << Codigos{BTN_TRIGGER, BTN_THUMB} << QStringList{"teclas:{F1}", "teclas:{F2}"};
        QTest::newRow("otro botón no es un switch") << Codigos{BTN_TOP} << QStringList{};
    }
    void pulsaciones() {
        QFETCH(Codigos, codigos);
        QFETCH(QStringList, acciones);
        Banco b;
        QVERIFY(b.caja.conectada());
        QCOMPARE(b.pulsar(codigos), acciones);
    }

    // In sound mode the switches are not read, the box's as the port's.
    void modoSonido() {
        Banco b;
        b.entradas.UsarModo(kModoSonido);
        QCOMPARE(b.pulsar({BTN_TRIGGER}), QStringList{});
        b.entradas.UsarModo(kModoSwitch);
        QCOMPARE(b.pulsar({BTN_TRIGGER}), QStringList{"teclas:{F1}"});
    }

    // Pulled out during a press and plugged back with the switch held: no
    // action then; released and pressed again, one.
    void reconectada() {
        Banco b;
        b.inyector.registro.clear();
        b.caja.pulsar(BTN_TRIGGER, true);
        QCOMPARE(b.inyector.registro, QStringList{"teclas:{F1}"});
        b.caja.conectar(false);
        b.caja.conectar(true);
        b.caja.pulsar(BTN_TRIGGER, false);
        QCOMPARE(b.inyector.registro, QStringList{"teclas:{F1}"});
        b.caja.pulsar(BTN_TRIGGER, true);
        QCOMPARE(b.inyector.registro, (QStringList{"teclas:{F1}", "teclas:{F1}"}));
    }

    // While learning, presses go to the learning step only; when it ends
    // the chosen box is used again.
    void aprendiendo() {
        Banco b;
        QList<int> vistos;
        QVERIFY(b.entradas.AprenderCajaUsb({{}, 0x1209, 2, QStringLiteral("Caja de teclas")},
                                           [&](int c) { vistos << c; }));
        QCOMPARE(b.pulsar({KEY_SPACE, BTN_TRIGGER}), QStringList{});
        QCOMPARE(vistos, (QList<int>{KEY_SPACE, BTN_TRIGGER}));
        b.entradas.TerminarAprendizaje();
        QVERIFY(!b.entradas.Aprendiendo());
        QCOMPARE(b.caja.usos.last()->nombre, QStringLiteral("Caja de botones"));
        QCOMPARE(b.pulsar({BTN_TRIGGER}), QStringList{"teclas:{F1}"});
    }

    // The dialog's step: pick a box, learn switch 1 and switch 2 (or none).
    void pasoDeAprender_data() {
        QTest::addColumn<Codigos>("pulsados");
        QTest::addColumn<bool>("sinSwitch2");
        QTest::addColumn<int>("pulsador1");
        QTest::addColumn<int>("pulsador2"); // 0: none
        QTest::newRow("dos switches")
            << Codigos{KEY_SPACE, KEY_ENTER} << false << KEY_SPACE << KEY_ENTER;
        QTest::newRow("el mismo dos veces: sigue esperando el 2")
            << Codigos{KEY_SPACE, KEY_SPACE, KEY_ENTER} << false << KEY_SPACE << KEY_ENTER;
        QTest::newRow("caja de un switch") << Codigos{KEY_SPACE} << true << KEY_SPACE << 0;
    }
    void pasoDeAprender() {
        QFETCH(Codigos, pulsados);
        QFETCH(bool, sinSwitch2);
        QFETCH(int, pulsador1);
        QFETCH(int, pulsador2);
        Banco b;
        DialogosFalsos d;
        fraCajaUsb f(d, b.entradas);
        QCOMPARE(f.cboCaja->count(), 3); // Ninguna, the two boxes
        QCOMPARE(f.cboCaja->currentIndex(), 1);
        f.cboCaja->setCurrentIndex(2);
        f.cboCaja_Click();
        QVERIFY(!f.Completa()); // switch 1 not known yet: said, and not accepted
        QCOMPARE(d.mensajes.size(), 1);
        f.cmdAprender_Click();
        QVERIFY(f.Aprendiendo());
        QCOMPARE(b.pulsar(pulsados), QStringList{}); // learning: no action
        if (sinSwitch2)
            f.cmdSinSwitch2->click();
        QVERIFY(!f.Aprendiendo());
        QVERIFY(f.Completa());
        QCOMPARE(f.Eleccion()->nombre, QStringLiteral("Caja de teclas"));
        QCOMPARE(f.Eleccion()->pulsador1, pulsador1);
        QCOMPARE(f.Eleccion()->pulsador2.value_or(0), pulsador2);
        // The box in use is still the chosen one until the dialog is accepted.
        QCOMPARE(b.entradas.CajaUsbElegida()->nombre, QStringLiteral("Caja de botones"));
    }

    // A box that cannot be read: the reason and the rule, in the dialog.
    void sinPermiso() {
        Banco b;
        b.caja.falloAlAbrir = FalloCaja::SinPermiso;
        DialogosFalsos d;
        fraCajaUsb f(d, b.entradas);
        f.cmdAprender_Click();
        QVERIFY(!f.Aprendiendo());
        QVERIFY(f.lblCajaEstado->text().contains(ReglaUdev(0x1209, 1)));
        QVERIFY(f.lblCajaEstado->text().contains(ArchivoReglaUdev()));
        QVERIFY(ReglaUdev(0x1209, 1).contains(QStringLiteral("ATTRS{idVendor}==\"1209\"")));
        QVERIFY(ReglaUdev(0x1209, 1).contains(QStringLiteral("ATTRS{idProduct}==\"0001\"")));
    }

    // Pulled out while learning: the step ends and says why, of that box.
    void desconectadaAlAprender() {
        Banco b;
        DialogosFalsos d;
        fraCajaUsb f(d, b.entradas);
        f.cboCaja->setCurrentIndex(2);
        f.cboCaja_Click();
        f.cmdAprender_Click();
        b.caja.conectar(false);
        QVERIFY(!f.Aprendiendo());
        QVERIFY(
            f.lblCajaEstado->text().contains(QStringLiteral("«Caja de teclas» no está conectada")));
    }

    // The machine's keyboard is used only after a Yes.
    void tecladoDelEquipo() {
        Banco b;
        b.caja.lista << dispositivo(QStringLiteral("Teclado"), 3, {}, TipoDispositivo::Teclado);
        DialogosFalsos d;
        d.respuestas = {vbNo};
        fraCajaUsb f(d, b.entradas);
        f.cboCaja->setCurrentIndex(3);
        f.cboCaja_Click();
        QCOMPARE(f.cboCaja->currentIndex(), 1);
        QCOMPARE(f.Eleccion()->nombre, QStringLiteral("Caja de botones"));
    }
};

QTEST_MAIN(TstCajaUsb)
#include "tst_cajausb.moc"
