#include "ui/frmAjustes.h"

#include "ui/fraCajaUsb.h"

#include "platform/Dialogos.h"
#include "ui/LecturaNumero.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace quimbal {

namespace {
struct TextoCampo {
    int AjustesMotor::*miembro;
    const char* objeto;
    const char* etiqueta; // with its access key
    const char* explicacion;
};
// Access keys: each letter once in the dialog, Aceptar's A and Cancelar's C
// included.
constexpr TextoCampo kTextos[] = {
    {&AjustesMotor::aceptacion_ms, "txtAceptacion", "&Tiempo de aceptación (ms)",
     "Una pulsación cuenta solo si el switch sigue cerrado este tiempo (filtra temblores)."},
    {&AjustesMotor::ignorar_ms, "txtIgnorar", "&Ignorar repeticiones durante (ms)",
     "Se ignoran las pulsaciones que empiezan antes de este tiempo desde la última aceptada."},
    {&AjustesMotor::larga_ms, "txtLarga", "Pulsación &larga (ms)",
     "Mantener el switch 1 este tiempo hace la acción del switch 2."},
    {&AjustesMotor::repetir_tras_ms, "txtRepetirTras", "&Repetir tras (ms)",
     "Un switch mantenido repite su acción pasado este tiempo."},
    {&AjustesMotor::repetir_cada_ms, "txtRepetirCada", "Repetir ca&da (ms)",
     "Después la repite a este intervalo (0 = el mismo que «Repetir tras»)."},
    {&AjustesMotor::pausa_ms, "txtPausa", "&Pausa con los dos switches (ms)",
     "Mantener los dos switches a la vez este tiempo pausa o reanuda todas las acciones."},
    {&AjustesMotor::soplo_minimo_ms, "txtSoploMinimo", "&Soplido mínimo (ms)",
     "En modo sonido, el sonido tiene que durar este tiempo para contar."},
};
// A setting added to the profile without its box here does not compile.
constexpr bool textosDeCadaCampo() {
    if (std::size(kTextos) != kNumCamposAjuste)
        return false;
    for (std::size_t i = 0; i < kNumCamposAjuste; ++i)
        if (kTextos[i].miembro != kCamposAjuste[i].miembro)
            return false;
    return true;
}
static_assert(textosDeCadaCampo());

// The label as a screen reader says it, and without its unit as a message
// names it.
QString sinAcceso(const char* etiqueta) {
    return QString::fromUtf8(etiqueta).remove(QLatin1Char('&'));
}
QString nombreCampo(const char* etiqueta) {
    return sinAcceso(etiqueta).remove(QStringLiteral(" (ms)"));
}

// One line each, never wrapped: a wrapped label in a grid is given the height
// of one line and cut off.
QLabel* explicacion(const QString& texto, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    l->setFocusPolicy(Qt::NoFocus);
    return l;
}

// The whole text selected, with the caret at its start.
void SeleccionarDesdeElPrincipio(QLineEdit& caja) {
    const int n = static_cast<int>(caja.text().size());
    caja.setFocus();
    caja.setSelection(n, -n);
}
} // namespace

frmAjustes::frmAjustes(Dialogos& dialogos, const AjustesMotor& ajustes, QWidget* padre,
                       Entradas* entradas)
    : QDialog(padre), dialogos_(dialogos), ajustes_(ajustes) {
    setObjectName(QStringLiteral("frmAjustes"));
    setWindowTitle(QStringLiteral("Ajustes de las entradas"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    fraTiempos = new QGroupBox(QStringLiteral("Tiempos de las pulsaciones"), this);
    fraTiempos->setObjectName(QStringLiteral("fraTiempos"));
    auto* tiempos = new QVBoxLayout(fraTiempos);
    auto* unidades = explicacion(
        QStringLiteral("En milésimas de segundo (1000 ms = 1 segundo). 0 = desactivado."),
        fraTiempos);
    unidades->setObjectName(QStringLiteral("lblUnidades"));
    tiempos->addWidget(unidades);
    auto* rejilla = new QGridLayout;
    rejilla->setColumnStretch(0, 1);
    tiempos->addLayout(rejilla);

    const AjustesMotor mostrados = ajustes.acotados();
    for (std::size_t i = 0; i < kNumCamposAjuste; ++i) {
        const TextoCampo& t = kTextos[i];
        const QString nombre = QString::fromLatin1(t.objeto);
        const QString ayuda = QString::fromUtf8(t.explicacion);
        auto* caja = new QLineEdit(QString::number(mostrados.*t.miembro), fraTiempos);
        caja->setObjectName(nombre);
        caja->setAccessibleName(sinAcceso(t.etiqueta));
        caja->setAccessibleDescription(ayuda);
        caja->setToolTip(ayuda);
        auto* etiqueta = new QLabel(QString::fromUtf8(t.etiqueta), fraTiempos);
        etiqueta->setObjectName(QStringLiteral("lbl") + nombre.mid(3));
        etiqueta->setBuddy(caja);
        auto* texto = explicacion(ayuda, fraTiempos);
        // Half a line after each explanation: it reads with the box above it.
        texto->setContentsMargins(0, 0, 0, texto->fontMetrics().height() / 2);
        const int fila = static_cast<int>(2 * i);
        rejilla->addWidget(etiqueta, fila, 0);
        rejilla->addWidget(caja, fila, 1);
        rejilla->addWidget(texto, fila + 1, 0, 1, 2);
        lblCampos[i] = etiqueta;
        txtCampos[i] = caja;
        lblExplicaciones[i] = texto;
    }

    const QString ayudaConfirmacion = QStringLiteral(
        "Cada pulsación suena al contar (dos tonos que suben) o al ignorarse (un zumbido grave).");
    chkConfirmacion = new QCheckBox(QStringLiteral("Sonido de c&onfirmación"), this);
    chkConfirmacion->setObjectName(QStringLiteral("chkConfirmacion"));
    chkConfirmacion->setChecked(ajustes.confirmacion);
    chkConfirmacion->setAccessibleName(QStringLiteral("Sonido de confirmación"));
    chkConfirmacion->setAccessibleDescription(ayudaConfirmacion);
    chkConfirmacion->setToolTip(ayudaConfirmacion);

    lytSecciones = new QVBoxLayout;
    lytSecciones->addWidget(fraTiempos);
    lytSecciones->addWidget(chkConfirmacion);
    lytSecciones->addWidget(explicacion(ayudaConfirmacion, this));
    if (entradas) {
        fraCaja = new fraCajaUsb(dialogos, *entradas, this);
        lytSecciones->addWidget(fraCaja);
    }

    cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdAceptar->setDefault(true);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);

    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(lytSecciones);
    raiz->addStretch(1);
    raiz->addLayout(botones);

    std::vector<QWidget*> orden(txtCampos.begin(), txtCampos.end());
    orden.push_back(chkConfirmacion);
    if (fraCaja)
        orden.insert(orden.end(), {static_cast<QWidget*>(fraCaja->cboCaja), fraCaja->cmdAprender,
                                   fraCaja->cmdSinSwitch2});
    orden.insert(orden.end(), {cmdAceptar, cmdCancelar});
    for (std::size_t i = 1; i < orden.size(); ++i)
        QWidget::setTabOrder(orden[i - 1], orden[i]);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmAjustes::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmAjustes::cmdCancelar_Click);
    SeleccionarDesdeElPrincipio(*txtCampos[0]);
}

void frmAjustes::cmdAceptar_Click() {
    AjustesMotor nuevos = ajustes_;
    for (std::size_t i = 0; i < kNumCamposAjuste; ++i) {
        const CampoAjuste& c = kCamposAjuste[i];
        const std::optional<int> valor = EnteroDesdeTexto(txtCampos[i]->text(), c.maximo);
        if (!valor) {
            dialogos_.MsgBox(QStringLiteral("«%1» tiene que ser un número entero de milésimas "
                                            "de segundo entre 0 y %2.")
                                 .arg(nombreCampo(kTextos[i].etiqueta))
                                 .arg(c.maximo),
                             vbExclamation, windowTitle());
            SeleccionarDesdeElPrincipio(*txtCampos[i]);
            return;
        }
        nuevos.*c.miembro = *valor;
    }
    nuevos.confirmacion = chkConfirmacion->isChecked();
    if (fraCaja && !fraCaja->Completa())
        return;
    ajustes_ = nuevos;
    accept();
}

void frmAjustes::cmdCancelar_Click() {
    QDialog::reject();
}

void frmAjustes::reject() {
    cmdCancelar_Click();
}

std::optional<ResultadoAjustes> MostrarAjustes(QWidget* padre, Dialogos& dialogos,
                                               const AjustesMotor& ajustes, Entradas* entradas) {
    frmAjustes dialogo(dialogos, ajustes, padre, entradas);
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    ResultadoAjustes r{dialogo.Ajustes(), std::nullopt};
    if (dialogo.fraCaja)
        r.caja = dialogo.fraCaja->Eleccion();
    return r;
}

} // namespace quimbal
