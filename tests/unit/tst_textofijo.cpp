// Fixed 20-character text fields, their Windows-1252 bytes, and the profile record.
#include "profiles/TextoFijo.h"
#include "profiles/Usuario.h"

#include <QTest>

using namespace quimbal;

class TstTextoFijo : public QObject {
    Q_OBJECT
private slots:
    void asignacion_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("guardado");
        QTest::addColumn<QString>("mostrado");
        QTest::newRow("corto se rellena") << "Ana"
                                          << "Ana                 "
                                          << "Ana";
        QTest::newRow("vacío") << "" << QString(20, ' ') << "";
        QTest::newRow("exacto") << "12345678901234567890"
                                << "12345678901234567890"
                                << "12345678901234567890";
        QTest::newRow("largo se corta") << "1234567890123456789012345"
                                        << "12345678901234567890"
                                        << "12345678901234567890";
        QTest::newRow("espacios alrededor") << "  Pedro  "
                                            << "  Pedro           " + QString("  ") << "Pedro";
        QTest::newRow("tabulador no es espacio") << "\tX"
                                                 << "\tX" + QString(18, ' ') << "\tX";
    }
    void asignacion() {
        QFETCH(QString, entrada);
        QFETCH(QString, guardado);
        QFETCH(QString, mostrado);
        TextoFijo t;
        t = entrada;
        QCOMPARE(t.texto(), guardado);
        QCOMPARE(t.texto().size(), 20);
        QCOMPARE(t.recortado(), mostrado);
    }

    void nombreConEspaciosFinalesCoincide() {
        TextoFijo a = QStringLiteral("General   ");
        TextoFijo b = QStringLiteral("General");
        QCOMPARE(a.recortado(), b.recortado());
        QCOMPARE(a, b); // both padded to the same 20 characters
    }

    void ansi_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Ñandú") << QStringLiteral("Ñandú")
                               << QByteArray("\xD1"
                                             "and\xFA");
        QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
        QTest::newRow("comillas tipográficas") << QStringLiteral("“a”")
                                               << QByteArray("\x93"
                                                             "a\x94");
        QTest::newRow("ascii") << QStringLiteral("General") << QByteArray("General");
    }
    void ansi() {
        QFETCH(QString, texto);
        QFETCH(QByteArray, bytes);
        QCOMPARE(aAnsi(texto), bytes);
        QCOMPARE(desdeAnsi(bytes), texto);
    }

    void fueraDeLaPaginaDeCodigos() {
        QCOMPARE(aAnsi(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
        QCOMPARE(aAnsi(QStringLiteral("x\U0001F600y")), QByteArray("x?y")); // one character, one ?
        TextoFijo t = QStringLiteral("Ωmega");
        QCOMPARE(t.bytes(), QByteArray("?mega") + QByteArray(15, ' '));
    }

    void bytesDelCampo() {
        TextoFijo t = QStringLiteral("Ñandú");
        const QByteArray b = t.bytes();
        QCOMPARE(b.size(), 20);
        QCOMPARE(b, QByteArray("\xD1"
                               "and\xFA") +
                        QByteArray(15, ' '));
        QCOMPARE(TextoFijo::desdeBytes(b.constData()).recortado(), QStringLiteral("Ñandú"));
    }

    void perfilNuevo() {
        const Usuario u = Usuario::Nuevo(QStringLiteral("Ana"));
        QCOMPARE(u.Nombre.recortado(), QStringLiteral("Ana"));
        QCOMPARE(u.Accion1.recortado(), QStringLiteral("Click izquierdo"));
        QCOMPARE(u.Accion2.recortado(), QStringLiteral("Click izquierdo"));
        QCOMPARE(u.Letra1.texto(), QString(20, ' '));
        QCOMPARE(u.Letra2.texto(), QString(20, ' '));
        QCOMPARE(u.Modo, std::int16_t(1));
        QCOMPARE(u.Umbral, std::int16_t(5));
        QCOMPARE(u.Retraso, std::int16_t(400));
    }
};

QTEST_GUILESS_MAIN(TstTextoFijo)
#include "tst_textofijo.moc"
