// The action catalogue and how it fills both action lists and the key-code table.
#include "actions/Catalogo.h"
#include "platform/Controles.h"

#include <QTest>

using namespace quimbal;

class TstCatalogo : public QObject {
    Q_OBJECT
private slots:
    void entradas_data() {
        QTest::addColumn<int>("posicion");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("codigo");
        const char* filas[][2] = {
            {"Sin establecer", ""}, {"Click izquierdo", ""}, {"Click derecho", ""},
            {"Espacio en blanco", " "}, {"ENTER", "{ENTER}"}, {"ESC", "{ESC}"}, {"TAB", "{TAB}"},
            {"Flecha arriba", "{UP}"}, {"Flecha abajo", "{DOWN}"}, {"Flecha izquierda", "{LEFT}"},
            {"Flecha derecha", "{RIGHT}"}, {"PgUp", "{PGUP}"}, {"PgDown", "{PGDN}"},
            {"Backspace", "{BACKSPACE}"}, {"Delete", "{DELETE}"}, {"F1", "{F1}"}, {"F2", "{F2}"},
            {"F3", "{F3}"}, {"F4", "{F4}"}, {"F5", "{F5}"}, {"F6", "{F6}"}, {"F7", "{F7}"},
            {"F8", "{F8}"}, {"F9", "{F9}"}, {"F10", "{F10}"}, {"F11", "{F11}"}, {"F12", "{F12}"},
            {"SHIFT+...", "+"}, {"CTRL+...", "^"}, {"ALT+...", "%"}, {"Letra...", ""}};
        QCOMPARE(int(std::size(filas)), 31);
        for (int i = 0; i < 31; ++i)
            QTest::newRow(filas[i][0]) << i << QString::fromUtf8(filas[i][0])
                                       << QString::fromUtf8(filas[i][1]);
    }
    void entradas() {
        QFETCH(int, posicion);
        QFETCH(QString, texto);
        QFETCH(QString, codigo);

        Lista uno, dos;
        TablaTeclas teclas;
        ConstruirCatalogo(uno, dos, teclas);
        QCOMPARE(uno.List(posicion), texto);
        QCOMPARE(dos.List(posicion), texto);
        QCOMPARE(teclas[std::size_t(posicion)], codigo);
        QCOMPARE(PosicionEnCatalogo(texto), posicion);
        // Every display text fits the profile's 20-character field unchanged.
        QVERIFY(texto.size() <= 17);
    }

    void construirRellenaAmbasListasUnaVez() {
        Lista uno, dos;
        uno.AddItem(QStringLiteral("resto"));
        TablaTeclas teclas;
        ConstruirCatalogo(uno, dos, teclas);
        ConstruirCatalogo(uno, dos, teclas); // building again replaces, never appends
        QCOMPARE(uno.ListCount(), 31);
        QCOMPARE(dos.ListCount(), 31);
        QCOMPARE(uno.ListIndex(), -1);
        QCOMPARE(dos.ListIndex(), -1);
        QCOMPARE(uno.List(0), QStringLiteral("Sin establecer"));
        QCOMPARE(uno.List(30), QStringLiteral("Letra..."));
    }

    void textoDesconocidoNoTienePosicion() {
        QCOMPARE(PosicionEnCatalogo(QStringLiteral("click izquierdo")), -1); // case matters
        QCOMPARE(PosicionEnCatalogo(QStringLiteral("Click izquierdo ")), -1);
        QCOMPARE(PosicionEnCatalogo(QString()), -1);
    }
};

QTEST_MAIN(TstCatalogo)
#include "tst_catalogo.moc"
