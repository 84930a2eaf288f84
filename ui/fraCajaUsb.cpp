#include "ui/fraCajaUsb.h"

#include "input/Entradas.h"
#include "platform/Dialogos.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quimbal {

namespace {

SwitchUsb cajaDe(const DispositivoEntrada& d) {
    SwitchUsb u;
    u.id = d.id;
    u.vendor = d.vendor;
    u.product = d.product;
    u.nombre = d.nombre;
    return u;
}
} // namespace

QString ResumenFalloCaja(FalloCaja fallo, const QString& nombre) {
    switch (fallo) {
    case FalloCaja::NoEsta:
        return QStringLiteral("la caja de switches USB «%1» no está conectada; se usará en "
                              "cuanto se conecte")
            .arg(nombre);
    case FalloCaja::SinPermiso:
        return QStringLiteral("el sistema no deja leer la caja de switches USB «%1»").arg(nombre);
    case FalloCaja::Tomada:
        return QStringLiteral("otro programa tiene tomada la caja de switches USB «%1»; Quimbal "
                              "no la usa")
            .arg(nombre);
    default:
        return QStringLiteral("no se puede usar la caja de switches USB «%1»").arg(nombre);
    }
}

QString TextoFalloCaja(FalloCaja fallo, const QString& nombre, const QString& ruta, quint16 vendor,
                       quint16 product) {
    switch (fallo) {
    case FalloCaja::NoEsta:
        return QStringLiteral("La caja de switches USB «%1» no está conectada. Quimbal la usará "
                              "en cuanto se conecte.")
            .arg(nombre);
    case FalloCaja::SinPermiso:
        return QStringLiteral(
                   "El sistema no deja a este usuario leer la caja de switches USB «%1» (%2).\n\n"
                   "Para permitirlo, un administrador debe guardar esta regla en el archivo %3:\n\n"
                   "%4\n\n"
                   "Después, desconecte la caja y vuelva a conectarla. La regla sólo abre esta "
                   "caja (fabricante %5, producto %6) al usuario sentado ante el equipo.")
            .arg(nombre, ruta, ArchivoReglaUdev(), ReglaUdev(vendor, product))
            .arg(vendor, 4, 16, QLatin1Char('0'))
            .arg(product, 4, 16, QLatin1Char('0'));
    case FalloCaja::Tomada:
        return QStringLiteral("Otro programa tiene tomada la caja de switches USB «%1» (%2) para "
                              "él solo, así que Quimbal no puede usarla. Cierre ese programa y "
                              "vuelva a elegir la caja, o desconéctela y vuelva a conectarla.")
            .arg(nombre, ruta);
    default:
        return QStringLiteral("No se puede usar la caja de switches USB «%1» (%2).")
            .arg(nombre, ruta);
    }
}

fraCajaUsb::fraCajaUsb(Dialogos& dialogos, Entradas& entradas, QWidget* padre)
    : QGroupBox(QStringLiteral("Caja de switches USB (para todos los usuarios)"), padre),
      dialogos_(dialogos), entradas_(entradas), eleccion_(entradas.CajaUsbElegida()) {
    setObjectName(QStringLiteral("fraCajaUsb"));
    cboCaja = new QComboBox(this);
    cboCaja->setObjectName(QStringLiteral("cboCaja"));
    cboCaja->setAccessibleName(QStringLiteral("Caja de switches USB"));
    lblCaja = new QLabel(QStringLiteral("Dispositi&vo:"), this);
    lblCaja->setObjectName(QStringLiteral("lblCaja"));
    lblCaja->setBuddy(cboCaja);
    cmdAprender = new QPushButton(QStringLiteral("Apre&nder los switches"), this);
    cmdAprender->setObjectName(QStringLiteral("cmdAprender"));
    cmdSinSwitch2 = new QPushButton(QStringLiteral("Sin s&witch 2"), this);
    cmdSinSwitch2->setObjectName(QStringLiteral("cmdSinSwitch2"));
    cmdSinSwitch2->setEnabled(false);
    lblCajaEstado = new QLabel(this);
    lblCajaEstado->setObjectName(QStringLiteral("lblCajaEstado"));
    lblCajaEstado->setWordWrap(true);
    lblCajaEstado->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
    lblCajaEstado->setFocusPolicy(Qt::NoFocus);

    auto* fila = new QHBoxLayout;
    fila->addWidget(lblCaja);
    fila->addWidget(cboCaja, 1);
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdAprender);
    botones->addWidget(cmdSinSwitch2);
    botones->addStretch(1);
    auto* raiz = new QVBoxLayout(this);
    raiz->addLayout(fila);
    raiz->addLayout(botones);
    raiz->addWidget(lblCajaEstado);

    cboCaja->addItem(QStringLiteral("Ninguna"));
    if (entradas_.Caja())
        lista_ = entradas_.Caja()->dispositivos();
    for (const DispositivoEntrada& d : lista_)
        cboCaja->addItem(DescribirDispositivo(d));
    if (eleccion_) {
        qsizetype i = 0;
        const SenaDispositivo sena = eleccion_->sena();
        const std::optional<DispositivoEntrada> d = Localizar(sena, lista_);
        while (d && i < lista_.size() && lista_[i].ruta != d->ruta)
            ++i;
        if (!d) {
            // The chosen box, unplugged now: still the choice.
            const SenaDispositivo ausente = eleccion_->sena();
            lista_.append({{},
                           ausente.id,
                           ausente.vendor,
                           ausente.product,
                           ausente.nombre,
                           TipoDispositivo::Caja});
            cboCaja->addItem(QStringLiteral("%1 (no conectada)").arg(eleccion_->nombre));
            i = lista_.size() - 1;
        }
        indice_ = static_cast<int>(i + 1);
    }
    cboCaja->setCurrentIndex(indice_);
    mostrarEleccion();

    connect(cboCaja, &QComboBox::activated, this, &fraCajaUsb::cboCaja_Click);
    connect(cmdAprender, &QPushButton::clicked, this, &fraCajaUsb::cmdAprender_Click);
    connect(cmdSinSwitch2, &QPushButton::clicked, this, &fraCajaUsb::cmdSinSwitch2_Click);
    connect(&entradas_, &Entradas::cajaUsb, this, &fraCajaUsb::alCambiarCaja);
}

fraCajaUsb::~fraCajaUsb() {
    if (paso_ != 0)
        entradas_.TerminarAprendizaje();
}

void fraCajaUsb::mostrarEleccion() {
    cmdAprender->setEnabled(eleccion_.has_value());
    if (!eleccion_) {
        lblCajaEstado->setText(QStringLiteral("Sin caja de switches USB."));
        return;
    }
    if (eleccion_->pulsador1 == 0) {
        lblCajaEstado->setText(QStringLiteral("Pulse «Aprender los switches» para que Quimbal "
                                              "sepa qué tecla o botón de la caja es cada switch."));
        return;
    }
    lblCajaEstado->setText(QStringLiteral("Switch 1: %1. Switch 2: %2.")
                               .arg(NombreCodigo(eleccion_->pulsador1),
                                    eleccion_->pulsador2 ? NombreCodigo(*eleccion_->pulsador2)
                                                         : QStringLiteral("ninguno")));
}

void fraCajaUsb::cboCaja_Click() {
    const int i = cboCaja->currentIndex();
    if (i == indice_)
        return;
    if (paso_ != 0)
        terminar();
    if (i <= 0) {
        eleccion_.reset();
    } else {
        const DispositivoEntrada& d = lista_[i - 1];
        if ((d.tipo == TipoDispositivo::Teclado || d.tipo == TipoDispositivo::Raton) &&
            dialogos_.MsgBox(
                QStringLiteral("«%1» parece un %2 del equipo. Mientras Quimbal lo use como caja "
                               "de switches, no servirá para nada más en ninguna ventana.\n\n"
                               "¿Usarlo como caja de switches?")
                    .arg(d.nombre, d.tipo == TipoDispositivo::Teclado ? QStringLiteral("teclado")
                                                                      : QStringLiteral("ratón")),
                vbYesNo | vbQuestion, title()) != vbYes) {
            cboCaja->setCurrentIndex(indice_);
            return;
        }
        const SwitchUsb nueva = cajaDe(d);
        // The same box again keeps what was learned of it.
        if (!eleccion_ || eleccion_->sena() != nueva.sena())
            eleccion_ = nueva;
    }
    indice_ = i;
    mostrarEleccion();
}

void fraCajaUsb::cmdAprender_Click() {
    if (!eleccion_)
        return;
    SwitchUsb& u = *eleccion_;
    const SenaDispositivo sena = u.sena();
    if (!entradas_.AprenderCajaUsb(sena, [this](int codigo) { TeclaAprendida(codigo); })) {
        const QString motivo = motivoFallo();
        entradas_.TerminarAprendizaje();
        lblCajaEstado->setText(motivo);
        return;
    }
    paso_ = 1;
    cmdAprender->setEnabled(false);
    lblCajaEstado->setText(QStringLiteral("Pulse ahora el switch 1 de la caja."));
}

void fraCajaUsb::TeclaAprendida(int codigo) {
    if (paso_ == 1) {
        eleccion_->pulsador1 = codigo;
        eleccion_->pulsador2.reset();
        paso_ = 2;
        cmdSinSwitch2->setEnabled(true);
        cmdSinSwitch2->setFocus();
        lblCajaEstado->setText(
            QStringLiteral("Switch 1: %1. Pulse ahora el switch 2, o «Sin switch 2» si la caja "
                           "tiene uno solo.")
                .arg(NombreCodigo(codigo)));
    } else if (paso_ == 2 && codigo != eleccion_->pulsador1) {
        eleccion_->pulsador2 = codigo;
        terminar();
    }
}

void fraCajaUsb::cmdSinSwitch2_Click() {
    if (paso_ != 2)
        return;
    eleccion_->pulsador2.reset();
    terminar();
}

void fraCajaUsb::terminar() {
    // An unfinished step leaves switch 1 unknown.
    if (paso_ == 1)
        eleccion_->pulsador1 = 0;
    paso_ = 0;
    cmdSinSwitch2->setEnabled(false);
    entradas_.TerminarAprendizaje();
    mostrarEleccion();
    cmdAprender->setFocus();
}

void fraCajaUsb::alCambiarCaja(bool conectada) {
    if (paso_ == 0 || conectada)
        return;
    // Unplugged (or taken) while learning.
    const QString motivo = motivoFallo();
    terminar();
    lblCajaEstado->setText(motivo);
}

QString fraCajaUsb::motivoFallo() const {
    // Read before the learning step ends: the box chosen before is then
    // used again, with its own state.
    const CajaUsb* caja = entradas_.Caja();
    const SwitchUsb& u = *eleccion_;
    return TextoFalloCaja(caja ? caja->fallo() : FalloCaja::Otro, u.nombre,
                          caja ? caja->dispositivo() : QString(), u.vendor, u.product);
}

bool fraCajaUsb::Completa() {
    if (paso_ != 0)
        terminar();
    if (!eleccion_ || eleccion_->pulsador1 != 0)
        return true;
    dialogos_.MsgBox(QStringLiteral("Falta saber qué tecla o botón de «%1» es el switch 1: pulse "
                                    "«Aprender los switches» y pulse el switch 1 de la caja.")
                         .arg(eleccion_->nombre),
                     vbExclamation, title());
    cmdAprender->setFocus();
    return false;
}

} // namespace quimbal
