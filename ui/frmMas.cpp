#include "ui/frmMas.h"

#include "platform/Dialogos.h"
#include "ui/Controles.h"
#include "ui/Fuentes.h"
#include "ui/LecturaNumero.h"

#include <QLineEdit>
#include <QPushButton>

namespace quimbal {

namespace {
template <class T> T* control(T* c, const char* nombre, int l, int t, int w, int h) {
    c->setObjectName(QString::fromLatin1(nombre));
    c->setFont(Verdana(9.75));
    colocar(c, l, t, w, h);
    return c;
}

QLabel* etiqueta(QWidget* padre, const QString& texto, const char* nombre, int l, int t, int w,
                 int h) {
    auto* e = control(new QLabel(texto, padre), nombre, l, t, w, h);
    e->setWordWrap(true);
    e->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}
// The whole text selected, with the caret at its start.
void SeleccionarDesdeElPrincipio(QLineEdit& caja) {
    const int n = static_cast<int>(caja.text().size());
    caja.setFocus();
    caja.setSelection(n, -n);
}
} // namespace

frmMas::frmMas(Dialogos& dialogos, int retraso, QWidget* padre)
    : QDialog(padre), dialogos_(dialogos), retraso_(retraso) {
    setObjectName(QStringLiteral("frmMas"));
    setWindowTitle(QStringLiteral("Más opciones"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    fijarTamano(this, 7200, 4065);
    setModal(true);

    lblMensaje1 =
        etiqueta(this,
                 QStringLiteral(
                     "Para evitar repeticiones de la acción al emitir sonidos (por ejemplo varios "
                     "clics juntos al soplar), existe un retraso programable, cuyo valor por "
                     "defecto es \"400\"."),
                 "lblMensaje1", 600, 360, 5925, 945);
    lblExplicacion = etiqueta(
        this,
        QStringLiteral("Si lo desea puede cambiar este valor de retraso. Tenga en cuenta que "
                       "representa las milésimas de segundo que deberán pasar desde que se genere "
                       "un clic hasta el próximo."),
        "Label1", 600, 1320, 5925, 945);
    lblRetraso =
        etiqueta(this, QStringLiteral("Retraso entre clics:"), "lblRetraso", 2160, 2700, 1950, 240);
    txtRetraso = control(new QLineEdit(this), "txtRetraso", 4200, 2640, 855, 375);
    cmdAceptar = control(new QPushButton(QStringLiteral("&Aceptar"), this), "cmdAceptar", 2040,
                         3360, 1455, 450);
    cmdCancelar = control(new QPushButton(QStringLiteral("&Cancelar"), this), "cmdCancelar", 3720,
                          3360, 1455, 450);
    // What a screen reader says of the box: its label, tied to it.
    lblRetraso->setBuddy(txtRetraso);
    txtRetraso->setAccessibleName(QStringLiteral("Retraso entre clics"));
    txtRetraso->setAccessibleDescription(QStringLiteral("En milésimas de segundo"));
    QWidget::setTabOrder(txtRetraso, cmdAceptar);
    QWidget::setTabOrder(cmdAceptar, cmdCancelar);
    cmdAceptar->setAutoDefault(true);
    cmdCancelar->setAutoDefault(true);
    cmdAceptar->setDefault(true);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmMas::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmMas::cmdCancelar_Click);
    Form_Load();
}

void frmMas::Form_Load() {
    txtRetraso->setText(QString::number(retraso_));
    SeleccionarDesdeElPrincipio(*txtRetraso);
}

void frmMas::cmdAceptar_Click() {
    const std::optional<int> retraso = RetrasoDesdeTexto(txtRetraso->text());
    if (retraso) {
        retraso_ = *retraso;
        accept();
        return;
    }
    dialogos_.MsgBox(
        QStringLiteral("El intervalo debe ser mayor que 0 y menor que 10000 (milésimas)"),
        vbExclamation, QStringLiteral("Error"));
    SeleccionarDesdeElPrincipio(*txtRetraso);
}

void frmMas::cmdCancelar_Click() {
    QDialog::reject();
}

void frmMas::reject() {
    cmdCancelar_Click();
}

std::optional<int> MostrarMasOpciones(QWidget* padre, Dialogos& dialogos, int retraso) {
    frmMas dialogo(dialogos, retraso, padre);
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo.Retraso();
}

} // namespace quimbal
