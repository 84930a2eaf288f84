// ajustes.json: what is read for use, what is written back untouched, and a
// damaged file set aside instead of overwritten.
#include "profiles/Ajustes.h"
#include "tests/fakes/AjustesDeTexto.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QJsonDocument>
#include <QTest>

using namespace quimbal;

namespace {
QJsonObject json(const QByteArray& texto) {
    return QJsonDocument::fromJson(texto).object();
}

struct Banco {
    CarpetaDePrueba carpeta;
    Ajustes ajustes{carpeta.carpeta()};
    // Writes the file (unless null), loads it and gives its number of warnings.
    qsizetype cargar(const QByteArray& contenido) {
        if (!contenido.isNull())
            carpeta.escribir(QStringLiteral("ajustes.json"), contenido);
        ajustes.cargar();
        return ajustes.avisos().size();
    }
    QJsonObject guardado() const { return json(carpeta.leer(QStringLiteral("ajustes.json"))); }
};
} // namespace

class TstAjustes : public QObject {
    Q_OBJECT
private slots:
    void idaYVuelta();
    void valoresMalos_data();
    void valoresMalos();
    void danado_data();
    void danado();
    void usb_data();
    void usb();
};

void TstAjustes::idaYVuelta() {
    Banco b;
    QCOMPARE(b.cargar(QByteArray()), 1); // missing: one line, then all defaults
    QCOMPARE(b.ajustes.de("Ana"), AjustesMotor{});
    b.carpeta.escribir("ajustes.json", R"({"futuro": [1], "perfiles": {
        " ana ": {"aceptacion_ms": 300, "color": "rojo"}, "Luis": {"larga_ms": 900},
        "Sobra": {"larga_ms": 1}, "Vacio": {"pausa_ms": 700}}})");
    QCOMPARE(b.cargar(QByteArray()), 0);
    QCOMPARE(b.ajustes.de("  ANA"), AjustesDeTexto("aceptacion=300"));
    b.ajustes.fijar("Ana ", AjustesDeTexto("aceptacion=400 confirmacion"));
    b.ajustes.fijar("vacio", {});
    b.ajustes.fijar("Nuevo", {});
    // Sobra's profile was deleted; Vacio and Nuevo say nothing but the defaults.
    QVERIFY(b.ajustes.guardar({" Ana", "LUIS", "Vacio", "Nuevo"}));
    QCOMPARE(b.guardado(), json(R"({"futuro": [1], "perfiles": {
        "Ana": {"aceptacion_ms": 400, "color": "rojo", "confirmacion": true},
        "LUIS": {"larga_ms": 900}}})"));
}

void TstAjustes::valoresMalos_data() {
    QTest::addColumn<QByteArray>("entrada");
    QTest::addColumn<int>("avisos"); // one line per bad value
    QTest::addColumn<QString>("usados");
    QTest::addColumn<QByteArray>("guardada"); // after repetir_tras_ms is set to 100
    QTest::newRow("tipo equivocado")
        << QByteArray(R"({"aceptacion_ms": "300", "larga_ms": 900})") << 1 << "larga=900"
        << QByteArray(R"({"aceptacion_ms": "300", "larga_ms": 900,
                                                      "repetir_tras_ms": 100})");
    QTest::newRow("fuera de rango")
        << QByteArray(R"({"pausa_ms": 99999, "ignorar_ms": -5})") << 2 << "pausa=20000"
        << QByteArray(R"({"pausa_ms": 99999, "ignorar_ms": -5,
                                                     "repetir_tras_ms": 100})");
    QTest::newRow("decimal y no booleano")
        << QByteArray(R"({"soplo_minimo_ms": 2.5, "confirmacion": 1})") << 2 << ""
        << QByteArray(R"({"soplo_minimo_ms": 2.5, "confirmacion": 1, "repetir_tras_ms": 100})");
    QTest::newRow("no es un objeto")
        << QByteArray("7") << 1 << "" << QByteArray(R"({"repetir_tras_ms": 100})");
}

void TstAjustes::valoresMalos() {
    QFETCH(QByteArray, entrada);
    QFETCH(int, avisos);
    QFETCH(QString, usados);
    QFETCH(QByteArray, guardada);
    Banco b;
    QCOMPARE(b.cargar(R"({"perfiles": {"Ana": )" + entrada + "}}"), avisos);
    QCOMPARE(b.ajustes.de("Ana"), AjustesDeTexto(usados));
    QVERIFY(b.ajustes.guardar({"Ana"}));
    QCOMPARE(b.guardado().value("perfiles")["Ana"], json("{\"a\": " + entrada + "}").value("a"));
    b.ajustes.fijar("Ana", AjustesDeTexto(usados + " repetir_tras=100"));
    QVERIFY(b.ajustes.guardar({"Ana"}));
    QCOMPARE(b.guardado().value("perfiles")["Ana"].toObject(), json(guardada));
}

void TstAjustes::danado_data() {
    QTest::addColumn<QByteArray>("contenido"); // null: a folder in its place
    QTest::addColumn<bool>("apartable");
    QTest::newRow("no es JSON") << QByteArray("{\"perfiles\": {") << true;
    QTest::newRow("vacío") << QByteArray("") << true;
    QTest::newRow("no es un objeto") << QByteArray("[1, 2]") << true;
    QTest::newRow("una carpeta") << QByteArray() << true;
    QTest::newRow("no se puede apartar") << QByteArray("x") << false;
}

void TstAjustes::danado() {
    QFETCH(QByteArray, contenido);
    QFETCH(bool, apartable);
    Banco b;
    const QString apartado = b.carpeta.ruta("ajustes.json.dañado");
    if (apartable)
        b.carpeta.escribir("ajustes.json.dañado", "antiguo");
    else
        QVERIFY(QDir().mkpath(apartado + "/lleno"));
    if (contenido.isNull())
        QVERIFY(QDir().mkpath(b.carpeta.ruta("ajustes.json/dentro")));
    QCOMPARE(b.cargar(contenido), 1);
    QCOMPARE(b.ajustes.de("General"), AjustesMotor{});
    b.ajustes.fijar("General", AjustesDeTexto("larga=500"));
    QCOMPARE(b.ajustes.guardar({"General"}), apartable);
    if (!apartable) {
        QCOMPARE(b.carpeta.leer("ajustes.json"), contenido);
        return;
    }
    QCOMPARE(b.guardado().value("perfiles")["General"]["larga_ms"], QJsonValue(500));
    if (contenido.isNull())
        QVERIFY(QFileInfo::exists(apartado + "/dentro"));
    else
        QCOMPARE(b.carpeta.leer("ajustes.json.dañado"), contenido);
}

void TstAjustes::usb_data() {
    QTest::addColumn<QByteArray>("entrada");
    QTest::addColumn<QString>("problema"); // start of the reason; empty: usable
    const QByteArray bien = R"("id": "usb-caja", "vendor": "04D8", "product": "f00d", )";
    QTest::newRow("completa") << bien + R"("nombre": "Caja", "pulsador1": 288, "pulsador2": 289)"
                              << "";
    QTest::newRow("sin pulsador2 ni nombre") << bien + R"("pulsador1": 30, "otra": 1)"
                                             << "";
    QTest::newRow("sin id ni nombre")
        << QByteArray(R"("vendor": "04d8", "pulsador1": 30)") << "falta";
    QTest::newRow("id vacío, con nombre")
        << QByteArray(R"("id": "", "vendor": "1209", "product": "0001", "nombre": "Caja",
                      "pulsador1": 288)")
        << "";
    QTest::newRow("vendor corto") << QByteArray(R"("id": "x", "vendor": "4d8", "product": "0001",
                                                "pulsador1": 30)")
                                  << "«vendor»";
    QTest::newRow("vendor 0x") << QByteArray(R"("id": "x", "vendor": "0x12", "product": "0001",
                                             "pulsador1": 30)")
                               << "«vendor»";
    QTest::newRow("pulsador1 cero") << bien + R"("pulsador1": 0)"
                                    << "«pulsador1»";
    QTest::newRow("pulsadores iguales") << bien + R"("pulsador1": 30, "pulsador2": 30)"
                                        << "«pulsador2»";
    QTest::newRow("nombre numérico") << bien + R"("nombre": 3, "pulsador1": 30)"
                                     << "«nombre»";
}

void TstAjustes::usb() {
    QFETCH(QByteArray, entrada);
    QFETCH(QString, problema);
    Banco b;
    QCOMPARE(b.cargar(R"({"usb": {)" + entrada + "}}"), problema.isEmpty() ? 0 : 1);
    const LecturaUsb leida = b.ajustes.usb();
    QCOMPARE(leida.problema.left(problema.size()), problema);
    QCOMPARE(leida.usb.has_value(), problema.isEmpty());
    QVERIFY(b.ajustes.guardar({}));
    QCOMPARE(b.guardado().value("usb"), b.ajustes.usbCrudo()); // kept, damaged or not
    if (!leida.usb)
        return;
    // Written back as read, the keys it does not know included.
    b.ajustes.fijarUsb(leida.usb);
    QVERIFY(b.ajustes.guardar({}));
    b.ajustes.cargar();
    QCOMPARE(b.ajustes.usb().usb, leida.usb);
    QCOMPARE(b.ajustes.usbCrudo()["otra"], json("{" + entrada + "}").value("otra"));
    b.ajustes.fijarUsb(std::nullopt);
    QVERIFY(b.ajustes.guardar({}));
    QVERIFY(!b.guardado().contains("usb"));
}

QTEST_GUILESS_MAIN(TstAjustes)
#include "tst_ajustes.moc"
