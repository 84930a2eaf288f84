#include "app/frmInicio.h"

#include "app/Funciones.h"
#include "platform/Dialogos.h"
#include "platform/Fuentes.h"
#include "platform/Servicios.h"
#include "profiles/TextoFijo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace quimbal {

namespace {
constexpr int kVbKeyF1 = 112;
constexpr int kVbKeyF10 = 121;
constexpr int kVersionMayor = 1;
constexpr int kVersionMenor = 6;

// The captions in the order they are replaced (shifted by +3), then the F10
// message (shifted by +10); Windows-1252 codes.
const char* const kTextosGuardados[] = {
    // lblLi
    "Surjudpd#gh#glvwulexfl\366q#judwxlwd1",
    // lblCo
    "Txlpedo",
    // lblVe
    "Yhuvl\366q#",
    // lblCp
    "Frs|uljkw#\254#5359",
    // lblCm
    "Orv#ghvduuroodgruhv#gh#Txlpedo",
    // lblLi1
    "Sdud#od#rsfl\366q#gh#uhfrqrflplhqwr#gh#vrqlgr/#hvwh#surjudpd#xwlol}d#ho",
    // lblLi2
    "frpsrqhqwh#\256Qlyho#gh#vrqlgr\276/#gh#Orv#ghvduuroodgruhv#gh#Txlpedo1",
    // lblLi3
    "+#Hq#od#su\366{lpd#yhqwdqd#holmd#vx#xvxdulr#|#sxovh#%Dfhswdu%#,",
    // F10
    "[\177swlkv*;8@D*ow\177vkms\375x*no*mvsm}*\203*~omvk}*myx*}\201s~mro}*y*myx*vk*\200y\2048\024Z|"
    "yq|kwk*no*ns}~|sl\177ms\375x*q|k~\177s~k8*\263*<:<@*Vy}*no}k||yvvkny|o}*no*[\177swlkv8",
};

QString desplazado(int indice, std::int16_t desplazamiento) {
    return desdeAnsi(DesplazarTexto(QByteArray(kTextosGuardados[indice]), desplazamiento));
}

int codigoTecla(const QKeyEvent* e) {
    if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F24)
        return kVbKeyF1 + (e->key() - Qt::Key_F1);
    return e->key() < 128 ? e->key() : 0;
}

QLabel* etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QFont& fuente,
                 Qt::Alignment alineacion, int l, int t, int w, int h) {
    auto* e = new QLabel(texto, padre);
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

frmInicio::frmInicio(QWidget* padre) : QWidget(padre, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmInicio"));
    setWindowTitle(QStringLiteral("Quimbal"));
    setFixedSize(twips(7305), twips(5070));
    setAutoFillBackground(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::NoFrame);
    Frame1->setAutoFillBackground(true);
    colocar(Frame1, 120, 0, 7080, 5010);

    Lo = new QLabel(Frame1);
    Lo->setObjectName(QStringLiteral("Lo"));
    Lo->setPixmap(QPixmap(QStringLiteral(":/quimbal/logo.png")));
    Lo->setScaledContents(true);
    colocar(Lo, 240, 480, 3825, 2880);

    const auto derecha = Qt::AlignRight;
    const auto centro = Qt::AlignHCenter;
    lblLi = etiqueta(Frame1, "lblLi", QStringLiteral("Programa de distribución gratuita."),
                     Fuente(QStringLiteral("Arial"), 8.25), derecha, 0, 240, 6855, 255);
    lblCo = etiqueta(Frame1, "lblCo", QStringLiteral("Quimbal"),
                     Fuente(QStringLiteral("Times New Roman"), 21.75, true), derecha, 5235, 600,
                     1635, 480);
    lblVe = etiqueta(Frame1, "lblVe", QStringLiteral("Versión 1.6"),
                     Fuente(QStringLiteral("Arial"), 12, true), derecha, 5520, 1320, 1275, 285);
    lblCp = etiqueta(Frame1, "lblCp", QString(), Fuente(QStringLiteral("Arial"), 9.75, true),
                     derecha, 5160, 1800, 1695, 255);
    lblCm = etiqueta(Frame1, "lblCm", QString(), Fuente(QStringLiteral("Arial"), 9.75, true),
                     derecha, 5280, 2040, 1575, 255);
    lblLi1 = etiqueta(
        Frame1, "lblLi1",
        QStringLiteral("Para la opción de reconocimiento de sonido, este programa utiliza el"),
        Fuente(QStringLiteral("Arial"), 9.75), centro, 120, 3480, 6855, 255);
    lblLi2 = etiqueta(Frame1, "lblLi2", QString(), Fuente(QStringLiteral("Arial"), 9.75), centro,
                      120, 3720, 6855, 255);
    lblLi3 =
        etiqueta(Frame1, "lblLi3", QString(), Fuente(QStringLiteral("Arial"), 9.75, true, true),
                 centro, 120, 4080, 6855, 255);

    cmdContinuar = new Boton(QStringLiteral("&Continuar"), Frame1);
    cmdContinuar->setObjectName(QStringLiteral("cmdContinuar"));
    cmdContinuar->setFont(Fuente(QStringLiteral("Arial"), 8.25, true));
    cmdContinuar->setStyleSheet(
        QStringLiteral("QPushButton{background:white;border:1px solid #808080;padding:2px;}"
                       "QPushButton:focus{border:2px solid black;}"));
    cmdContinuar->setDefault(true);
    colocar(cmdContinuar, 2520, 4440, 2055, 375);
    cmdContinuar->Click = [this] { Continuar(); };

    // Keyboard preview and the clicks that leave the screen.
    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Lo, lblLi, lblCo, lblVe, lblCp, lblCm,
                                                      lblLi1, lblLi2, lblLi3, cmdContinuar})
        w->installEventFilter(this);
    Form_Load();
    cmdContinuar->setFocus();
}

frmInicio::~frmInicio() = default;

void frmInicio::Form_Load() {
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    Frame1->setPalette(p);

    QLabel* const etiquetas[] = {lblLi, lblCo, lblVe, lblCp, lblCm, lblLi1, lblLi2, lblLi3};
    for (int i = 0; i < 8; ++i) {
        QString texto = desplazado(i, -3);
        if (etiquetas[i] == lblVe)
            texto +=
                QString::number(kVersionMayor) + QLatin1Char('.') + QString::number(kVersionMenor);
        etiquetas[i]->setText(texto);
        ajustarAlTexto(etiquetas[i]);
    }
}

QString frmInicio::MensajeF10() {
    return desplazado(8, -10);
}

void frmInicio::Form_KeyDown(int codigo) {
    if (codigo == kVbKeyF10)
        MsgBox(MensajeF10(), vbExclamation);
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
