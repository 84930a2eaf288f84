#include "app/frmInicio.h"

#include "app/Funciones.h"
#include "platform/Dialogos.h"
#include "profiles/TextoFijo.h"
#include "ui/Controles.h"
#include "ui/Fuentes.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace quimbal {

namespace {
constexpr int kVbKeyF1 = 112;
constexpr int kVbKeyF10 = 121;
// The start screen keeps its texts shifted, as stored texts are kept: each is
// stored shifted up (the captions by 3, the F10 message by 10) and shifted
// back when the screen loads. The readable texts, in the order the captions
// are replaced; the F10 message last.
const char* const kTextos[] = {
    "Programa de distribución gratuita.",                                   // lblLicencia
    "Quimbal",                                                              // lblNombre
    "Versión ",                                                             // lblVersion
    "Copyright © 2026",                                                     // lblDerechos
    "Los desarrolladores de Quimbal",                                       // lblAutores
    "Para la opción de reconocimiento de sonido, este programa utiliza el", // lblCreditoSonido1
    "componente «Nivel de sonido», de Los desarrolladores de Quimbal.",     // lblCreditoSonido2
    "( En la próxima ventana elija su usuario y pulse \"Aceptar\" )",       // lblNota
    ": emulación de clics y teclas con switches o con la voz.\nPrograma de distribución "
    "gratuita. © 2026 Los desarrolladores de Quimbal.", // F10, after the title
};
constexpr std::int16_t kDesplazamientoEtiquetas = 3;
constexpr std::int16_t kDesplazamientoF10 = 10;

// The stored (shifted) form of text `indice`, in Windows-1252.
QByteArray guardado(int indice, std::int16_t desplazamiento) {
    return DesplazarTexto(aAnsi(QString::fromUtf8(kTextos[indice])), desplazamiento);
}

QString desplazado(int indice, std::int16_t desplazamiento) {
    return desdeAnsi(DesplazarTexto(guardado(indice, desplazamiento), -desplazamiento));
}

int codigoTecla(const QKeyEvent* e) {
    if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F24)
        return kVbKeyF1 + (e->key() - Qt::Key_F1);
    return e->key() < 128 ? e->key() : 0;
}

QLabel* etiqueta(QWidget* padre, const char* nombre, const QFont& fuente, Qt::Alignment alineacion,
                 int l, int t, int w, int h) {
    auto* e = new QLabel(padre);
    e->setObjectName(QString::fromLatin1(nombre));
    e->setFont(fuente);
    e->setAlignment(alineacion | Qt::AlignVCenter);
    e->setAttribute(Qt::WA_TranslucentBackground);
    e->setStyleSheet(QStringLiteral("background: transparent; color: black;"));
    colocar(e, l, t, w, h);
    return e;
}

// A right-aligned label keeps its right edge and grows to the left when its
// text needs more room; a centred one grows on both sides.
void ajustarAlTexto(QLabel* e) {
    const int necesario = e->fontMetrics().horizontalAdvance(e->text()) + 2;
    if (necesario <= e->width())
        return;
    QRect r = e->geometry();
    if (e->alignment() & Qt::AlignRight)
        r.setLeft(r.right() - necesario);
    else
        r.adjust(-(necesario - r.width()) / 2, 0, (necesario - r.width() + 1) / 2, 0);
    e->setGeometry(r);
}
} // namespace

frmInicio::frmInicio(Dialogos& dialogos, QWidget* padre)
    : QWidget(padre, Qt::Window | Qt::FramelessWindowHint), dialogos_(dialogos) {
    setObjectName(QStringLiteral("frmInicio"));
    setWindowTitle(QStringLiteral("Quimbal"));
    fijarTamano(this, 7305, 5070);
    setAutoFillBackground(true);

    fondo = new QFrame(this);
    fondo->setObjectName(QStringLiteral("Frame1"));
    fondo->setFrameShape(QFrame::NoFrame);
    fondo->setAutoFillBackground(true);
    colocar(fondo, 120, 0, 7080, 5010);

    logo = new QLabel(fondo);
    logo->setObjectName(QStringLiteral("Lo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/quimbal/logo.png")));
    logo->setScaledContents(true);
    colocar(logo, 240, 480, 3825, 2880);

    const auto derecha = Qt::AlignRight;
    const auto centro = Qt::AlignHCenter;
    // The captions come from the stored texts at load (Form_Load).
    const QString arial = QStringLiteral("Arial");
    lblLicencia = etiqueta(fondo, "lblLi", Fuente(arial, 8.25), derecha, 0, 240, 6855, 255);
    lblNombre = etiqueta(fondo, "lblCo", Fuente(QStringLiteral("Times New Roman"), 21.75, true),
                         derecha, 5235, 600, 1635, 480);
    lblVersion = etiqueta(fondo, "lblVe", Fuente(arial, 12, true), derecha, 5520, 1320, 1275, 285);
    lblDerechos =
        etiqueta(fondo, "lblCp", Fuente(arial, 9.75, true), derecha, 5160, 1800, 1695, 255);
    lblAutores =
        etiqueta(fondo, "lblCm", Fuente(arial, 9.75, true), derecha, 5280, 2040, 1575, 255);
    lblCreditoSonido1 =
        etiqueta(fondo, "lblLi1", Fuente(arial, 9.75), centro, 120, 3480, 6855, 255);
    lblCreditoSonido2 =
        etiqueta(fondo, "lblLi2", Fuente(arial, 9.75), centro, 120, 3720, 6855, 255);
    lblNota =
        etiqueta(fondo, "lblLi3", Fuente(arial, 9.75, true, true), centro, 120, 4080, 6855, 255);

    cmdContinuar = new QPushButton(QStringLiteral("&Continuar"), fondo);
    cmdContinuar->setObjectName(QStringLiteral("cmdContinuar"));
    cmdContinuar->setFont(Fuente(QStringLiteral("Arial"), 8.25, true));
    cmdContinuar->setStyleSheet(
        QStringLiteral("QPushButton{background:white;border:1px solid #808080;padding:2px;}"
                       "QPushButton:focus{border:2px solid black;}"));
    cmdContinuar->setDefault(true);
    colocar(cmdContinuar, 2520, 4440, 2055, 375);
    connect(cmdContinuar, &QPushButton::clicked, this, &frmInicio::Continuar);

    // Keyboard preview and the clicks that leave the screen.
    for (QWidget* w : std::initializer_list<QWidget*>{
             fondo, logo, lblLicencia, lblNombre, lblVersion, lblDerechos, lblAutores,
             lblCreditoSonido1, lblCreditoSonido2, lblNota, cmdContinuar})
        w->installEventFilter(this);
    Form_Load();
    cmdContinuar->setFocus();
}

frmInicio::~frmInicio() = default;

void frmInicio::Form_Load() {
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    fondo->setPalette(p);

    QLabel* const etiquetas[] = {lblLicencia, lblNombre,         lblVersion,        lblDerechos,
                                 lblAutores,  lblCreditoSonido1, lblCreditoSonido2, lblNota};
    for (int i = 0; i < 8; ++i) {
        QString texto = desplazado(i, kDesplazamientoEtiquetas);
        if (etiquetas[i] == lblVersion)
            texto += QString::number(QUIMBAL_VERSION_MAYOR) + QLatin1Char('.') +
                     QString::number(QUIMBAL_VERSION_MENOR);
        etiquetas[i]->setText(texto);
        ajustarAlTexto(etiquetas[i]);
    }
}

QString frmInicio::MensajeF10() {
    return TituloAplicacion() + desplazado(8, kDesplazamientoF10);
}

void frmInicio::Form_KeyDown(int codigo) {
    if (codigo == kVbKeyF10)
        dialogos_.MsgBox(MensajeF10(), vbExclamation);
}

void frmInicio::Form_KeyPress(const QString& caracter) {
    if (!caracter.isEmpty())
        Continuar();
}

void frmInicio::Continuar() {
    if (seguido_)
        return;
    seguido_ = true;
    hide();
    deleteLater();
    if (MostrarVentanaPrincipal)
        MostrarVentanaPrincipal();
}

void frmInicio::closeEvent(QCloseEvent* e) {
    e->accept();
    if (seguido_)
        return;
    // Closed from outside before the user went on: with no window left the
    // program could not be reached any more, so it ends.
    seguido_ = true;
    deleteLater();
    if (Cerrada)
        Cerrada();
}

void frmInicio::keyPressEvent(QKeyEvent* e) {
    Form_KeyDown(codigoTecla(e));
    Form_KeyPress(e->text());
    e->accept();
}

bool frmInicio::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(evento));
        return true;
    }
    if (evento->type() == QEvent::MouseButtonRelease && objeto != cmdContinuar) {
        const auto* m = static_cast<QMouseEvent*>(evento);
        auto* w = static_cast<QWidget*>(objeto);
        if (m->button() == Qt::LeftButton && w->rect().contains(m->position().toPoint()))
            Continuar();
        return false;
    }
    return QWidget::eventFilter(objeto, evento);
}

} // namespace quimbal
