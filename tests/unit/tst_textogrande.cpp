// Larger text: where the desktop draws text larger than the design's 96 dots
// per inch and the toolkit does not scale the whole screen, the windows grow
// in proportion and every caption still fits its control. Each size runs the
// check in a process of its own at that size. (The design's size is the
// layout table's, checked by tst_diseno: there "Espacio en blanco" is a few
// pixels wider than its list, as it always was.)
#include "app/frmInicio.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "ui/Fuentes.h"
#include "ui/frmMas.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStyleOption>
#include <QTest>

using namespace quimbal;

namespace {
// The room a control gives its text, and its text; empty: no text to fit.
std::pair<QRect, QStringList> sitioYTextos(QWidget* w) {
    QStyle* s = w->style();
    if (auto* l = qobject_cast<QLabel*>(w))
        return {l->contentsRect(), {l->text()}};
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton o;
        o.initFrom(b);
        const auto parte = qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                          : QStyle::SE_PushButtonContents;
        return {s->subElementRect(parte, &o, b), {b->text()}};
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox o;
        o.initFrom(c);
        QStringList entradas;
        for (int i = 0; i < c->count(); ++i)
            entradas << c->itemText(i);
        return {s->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c),
                entradas};
    }
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return {g->rect(), {g->title()}};
    if (auto* t = qobject_cast<QLineEdit*>(w)) {
        const int marco = s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, t);
        return {t->rect().adjusted(marco, marco, -marco, -marco), {QStringLiteral("Wj")}};
    }
    return {};
}

// Why a control's text does not fit it; empty when it does.
QString noCabe(QWidget* w) {
    const auto [sitio, textos] = sitioYTextos(w);
    const QFontMetrics fm(w->font());
    const auto* l = qobject_cast<QLabel*>(w);
    const int envolver = l && l->wordWrap() ? Qt::TextWordWrap : 0;
    for (const QString& texto : textos) {
        if (texto.isEmpty())
            continue;
        const QRect r =
            fm.boundingRect(sitio, envolver | Qt::TextShowMnemonic | Qt::AlignLeft, texto);
        if (r.width() > sitio.width() || r.height() > sitio.height())
            return QStringLiteral("%1: «%2» necesita %3x%4, tiene %5x%6")
                .arg(w->objectName(), texto)
                .arg(r.width())
                .arg(r.height())
                .arg(sitio.width())
                .arg(sitio.height());
    }
    return QString();
}
} // namespace

class TstTextoGrande : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstalarSustitucionesDeFuentes(); }

    void cabenLosTextos() {
        if (!qEnvironmentVariableIsSet("QT_FONT_DPI"))
            QSKIP("a cada tamaño lo comprueba aOtroTamano");
        const double escala = QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 96.0;
        ProgramaDePrueba p;
        p.cargar();
        frmMas mas(p.dialogos, 400);
        frmInicio inicio(p.dialogos);
        const std::pair<QWidget*, QSize> ventanas[] = {
            {p.ventana.get(), {626, 297}}, {&mas, {480, 271}}, {&inicio, {487, 338}}};
        for (const auto& [v, diseno] : ventanas) {
            v->show();
            QVERIFY2(v->width() >= diseno.width() * escala - 1 &&
                         v->height() >= diseno.height() * escala - 1,
                     qPrintable(v->objectName()));
            for (QWidget* w : v->findChildren<QWidget*>()) {
                const QString motivo = noCabe(w);
                QVERIFY2(motivo.isEmpty(), qPrintable(v->objectName() + ": " + motivo));
            }
        }
    }

    void aOtroTamano_data() {
        QTest::addColumn<int>("puntosPorPulgada");
        QTest::newRow("125 %") << 120;
        QTest::newRow("150 %") << 144;
        QTest::newRow("200 %") << 192;
    }
    void aOtroTamano() {
        QFETCH(int, puntosPorPulgada);
        QProcess hijo;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        // The font's dots per inch, not a scale of the whole screen.
        entorno.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
        entorno.insert(QStringLiteral("QT_FONT_DPI"), QString::number(puntosPorPulgada));
        hijo.setProcessEnvironment(entorno);
        hijo.setProcessChannelMode(QProcess::MergedChannels);
        hijo.start(QCoreApplication::applicationFilePath(), {QStringLiteral("cabenLosTextos")});
        QVERIFY(hijo.waitForFinished(60000));
        QVERIFY2(hijo.exitStatus() == QProcess::NormalExit && hijo.exitCode() == 0,
                 hijo.readAll().constData());
    }
};

QTEST_MAIN(TstTextoGrande)
#include "tst_textogrande.moc"
