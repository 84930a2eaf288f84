#include "input/Entradas.h"

#include "platform/CajaUsb.h"
#include "platform/Confirmacion.h"
#include "platform/NivelSonido.h"
#include "platform/PuertoSerie.h"
#include "profiles/Perfiles.h"

#include <QLoggingCategory>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace quimbal {

// With QT_LOGGING_RULES="quimbal.acciones.debug=true" each action the engine
// decides is written with the time it was decided (CLOCK_MONOTONIC, in
// microseconds), so that the time from a line change to the action can be
// measured apart from the time the display server takes to deliver it.
Q_LOGGING_CATEGORY(lcAcciones, "quimbal.acciones", QtWarningMsg)

namespace {
constexpr int kIntervaloSondeo = 50;
// The engine's number for each source of switch presses.
constexpr int kFuentePuerto = 0;
constexpr int kFuenteCaja = 1;

// Ticks of the poll between two attempts to open a lost port (about 1 s).
constexpr int kTicksReintento = 20;
} // namespace

Entradas::Entradas(const Perfiles& perfiles, PuertoSerie& puerto, NivelSonido& sonido,
                   Inyector& inyector, QObject* padre)
    : QObject(padre), perfiles_(perfiles), puerto_(puerto), sonido_(sonido), inyector_(inyector),
      motor_(SalidasMotor{
          [this](int accion, Origen origen) { accionDelMotor(accion, origen); },
          [this](Origen origen, Informe i, int) {
              emit informe(origen == Origen::Sonido ? 0 : origen == Origen::Switch1 ? 1 : 2, i);
          },
          [this](bool aceptada) {
              if (!confirmacion_)
                  return;
              if (aceptada)
                  confirmacion_->aceptada();
              else
                  confirmacion_->ignorada();
          },
          [this](bool activa) {
              std::fprintf(stderr, "quimbal: pausa %s (los dos switches a la vez)\n",
                           activa ? "activada" : "terminada");
              emit pausa(activa);
          }}) {
    reloj_.start();
    // Single-shot, at the engine's next deadline; precise, since a press
    // accepted late is a press the user felt as missed.
    tmrMotor_.setSingleShot(true);
    tmrMotor_.setTimerType(Qt::PreciseTimer);
    connect(&tmrMotor_, &QTimer::timeout, this, &Entradas::AvanzarMotor);
    tmrSwitch.setObjectName(QStringLiteral("tmrSwitch"));
    tmrSwitch.setInterval(kIntervaloSondeo);
    connect(&tmrSwitch, &QTimer::timeout, this, &Entradas::tmrSwitch_Timer);
    // Never early: a coarse timer may tick up to 5 % before its interval,
    // which would cut the re-arm delay short.
    tmrDelaySonido.setObjectName(QStringLiteral("tmrDelaySonido"));
    tmrDelaySonido.setTimerType(Qt::PreciseTimer);
    tmrDelaySonido.setSingleShot(true);
    connect(&sonido_, &NivelSonido::nivel, this, &Entradas::ProcesarNivelSonido);
    // A change of the lines, where the system reports it, runs a tick at
    // once: a press acts within milliseconds instead of at the next tick.
    // The ticks keep running as the floor.
    puerto_.alCambiarLineas = [this] {
        if (tmrSwitch.isActive() && puertoAbierto_)
            tmrSwitch_Timer();
    };
}

void Entradas::FijarAcciones(const Accion& accion1, const Accion& accion2) {
    accion1_ = accion1;
    accion2_ = accion2;
}

qint64 Entradas::ahora() {
    return Reloj ? Reloj() : reloj_.elapsed();
}

void Entradas::alMotor(const std::function<void(qint64)>& paso) {
    const qint64 t = ahora();
    if (motor_.modoTest() != ModoTest)
        motor_.fijarModoTest(ModoTest, t);
    paso(t);
    programarMotor();
}

void Entradas::programarMotor() {
    const std::optional<qint64> cuando = motor_.proximo();
    if (!cuando) {
        tmrMotor_.stop();
        return;
    }
    tmrMotor_.start(static_cast<int>(std::clamp<qint64>(*cuando - ahora(), 0, 60000)));
}

void Entradas::AvanzarMotor() {
    alMotor([this](qint64 t) { motor_.avanzar(t); });
}

Entradas::~Entradas() {
    puerto_.alCambiarLineas = nullptr;
    ConectarCaja(nullptr);
}

void Entradas::ConectarCaja(CajaUsb* caja) {
    if (caja_) {
        caja_->alPulsar = nullptr;
        caja_->alCambiar = nullptr;
    }
    caja_ = caja;
    if (!caja_)
        return;
    caja_->alPulsar = [this](int codigo, bool pulsado, qint64 ms) {
        alPulsarCaja(codigo, pulsado, ms);
    };
    caja_->alCambiar = [this](bool conectada) { alCambiarCaja(conectada); };
}

void Entradas::FijarCajaUsb(const std::optional<SwitchUsb>& usb) {
    aprendiendo_ = nullptr;
    usb_ = usb;
    // What was held on the box in use ends without action.
    alMotor([this](qint64 t) { motor_.perdida(kFuenteCaja, t); });
    if (caja_)
        caja_->usar(usb ? std::optional<SenaDispositivo>(usb->sena()) : std::nullopt);
}

bool Entradas::AprenderCajaUsb(const SenaDispositivo& sena,
                               std::function<void(int codigo)> alAprender) {
    if (!caja_)
        return false;
    alMotor([this](qint64 t) { motor_.perdida(kFuenteCaja, t); });
    std::fprintf(stderr, "quimbal: aprendiendo los switches de la caja «%s»\n",
                 qPrintable(sena.nombre));
    aprendiendo_ = std::move(alAprender);
    caja_->usar(sena);
    return caja_->conectada();
}

void Entradas::TerminarAprendizaje() {
    if (!aprendiendo_)
        return;
    std::fprintf(stderr, "quimbal: fin del aprendizaje de los switches de la caja\n");
    FijarCajaUsb(usb_);
}

int Entradas::switchDeCodigo(int codigo) const {
    if (!usb_)
        return 0;
    if (codigo == usb_->pulsador1)
        return 1;
    return usb_->pulsador2 && codigo == *usb_->pulsador2 ? 2 : 0;
}

void Entradas::alPulsarCaja(int codigo, bool pulsado, qint64 ms) {
    if (aprendiendo_) {
        if (pulsado) {
            // The callback may end the learning, and with it this function.
            const auto alAprender = aprendiendo_;
            alAprender(codigo);
        }
        return;
    }
    const int numero = switchDeCodigo(codigo);
    // As the port's, the box's switches are read in switch mode only.
    if (numero == 0 || !Sondeando())
        return;
    if (ModoTest)
        emit pruebaSwitch(numero, pulsado);
    // The kernel's time of the event, on the engine's clock: a press
    // accepted after 300 ms counts them from the moment the switch closed.
    const qint64 atras =
        std::max<qint64>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                    .count() -
                                ms);
    alMotor([&](qint64 t) { motor_.pulsador(kFuenteCaja, numero, pulsado, t - atras); });
}

void Entradas::alCambiarCaja(bool conectada) {
    if (!aprendiendo_) {
        // Whatever the box holds when it comes back is no press.
        const bool s1 = conectada && usb_ && caja_->pulsado(usb_->pulsador1);
        const bool s2 = conectada && usb_ && usb_->pulsador2 && caja_->pulsado(*usb_->pulsador2);
        alMotor([&](qint64 t) {
            if (conectada)
                motor_.recuperada(kFuenteCaja, s1, s2, t);
            else
                motor_.perdida(kFuenteCaja, t);
        });
    }
    emit cajaUsb(conectada);
}

void Entradas::FijarAjustes(const AjustesMotor& ajustes) {
    if (ajustes.confirmacion && !confirmacion_ && FabricaConfirmacion)
        confirmacion_ = FabricaConfirmacion();
    if (ajustes.acotados() == motor_.ajustes())
        return;
    alMotor([&](qint64 t) { motor_.fijarAjustes(ajustes, t); });
}

void Entradas::accionDelMotor(int accion, Origen origen) {
    qCDebug(lcAcciones, "accion %d %lld", accion,
            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count()));
    if (origen == Origen::Sonido) {
        // The delay runs before the action, so that a reading handled while
        // the action is under way finds the input already triggered.
        const Usuario& u = perfiles_.enUso();
        tmrDelaySonido.start(u.Retraso > 0 ? u.Retraso : kRetrasoPorDefecto);
        if (!ActivarSwitch1())
            std::fprintf(stderr, "quimbal: la acción del sonido no se pudo enviar\n");
        return;
    }
    if (!(accion == 1 ? ActivarSwitch1() : ActivarSwitch2()))
        accionFallida_ = true;
}

bool Entradas::ActivarSwitch1() {
    return RealizarAccion(accion1_, inyector_);
}

bool Entradas::ActivarSwitch2() {
    return RealizarAccion(accion2_, inyector_);
}

bool Entradas::SeleccionarPuerto(int numero) {
    puerto_.cerrar();
    if (numero != 0)
        puerto_.abrir(numero);
    puertoElegido_ = numero;
    puertoAbierto_ = puerto_.abierto();
    pendiente_[0] = pendiente_[1] = false;
    // Whatever the engine waited for on the old port (an acceptance, a long
    // press, a repeat) ends without action.
    alMotor([this](qint64 t) { motor_.perdida(kFuentePuerto, t); });
    ticksSinPuerto_ = 0;
    return puertoAbierto_;
}

void Entradas::perderPuerto() {
    puerto_.cerrar();
    puertoAbierto_ = false;
    ticksSinPuerto_ = 0;
    pendiente_[0] = pendiente_[1] = false;
    std::fprintf(stderr,
                 "quimbal: el puerto COM%d (%s) dejó de responder; se intentará abrirlo de nuevo "
                 "cada segundo\n",
                 puertoElegido_, qPrintable(puerto_.dispositivo()));
    for (int n : {1, 2}) {
        bool& pulsado = n == 1 ? Switch1Pulsado : Switch2Pulsado;
        if (pulsado && ModoTest)
            emit pruebaSwitch(n, false);
        pulsado = false;
    }
    alMotor([this](qint64 t) { motor_.perdida(kFuentePuerto, t); });
    emit puertoRecuperado(false);
}

void Entradas::reintentarPuerto() {
    if (++ticksSinPuerto_ < kTicksReintento)
        return;
    ticksSinPuerto_ = 0;
    if (!puerto_.abrir(puertoElegido_))
        return;
    puertoAbierto_ = true;
    // Whatever the lines say now is no press: a switch held now acts on its
    // next press.
    Switch1Pulsado = puerto_.leerCTS().value_or(false);
    Switch2Pulsado = puerto_.leerDSR().value_or(false);
    alMotor(
        [this](qint64 t) { motor_.recuperada(kFuentePuerto, Switch1Pulsado, Switch2Pulsado, t); });
    if (ModoTest) {
        emit pruebaSwitch(1, Switch1Pulsado);
        emit pruebaSwitch(2, Switch2Pulsado);
    }
    std::fprintf(stderr, "quimbal: el puerto COM%d (%s) vuelve a estar abierto\n", puertoElegido_,
                 qPrintable(puerto_.dispositivo()));
    emit puertoRecuperado(true);
}

bool Entradas::Arrancar(int puerto) {
    const bool sonido = IniciarCapturaSonido();
    SeleccionarPuerto(puerto);
    return sonido;
}

void Entradas::Parar() {
    ActivarSondeo(false);
    SeleccionarPuerto(0);
    // The box is let go for other programs.
    aprendiendo_ = nullptr;
    if (caja_)
        caja_->usar(std::nullopt);
    FinalizarCapturaSonido();
}

void Entradas::UsarModo(int modo) {
    ActivarSondeo(modo == kModoSwitch);
}

void Entradas::ActivarSondeo(bool activo) {
    if (activo) {
        tmrSwitch.start();
        return;
    }
    tmrSwitch.stop();
    // Unread, the switches count as open: nothing pending acts later.
    alMotor([this](qint64 t) {
        motor_.perdida(kFuentePuerto, t);
        motor_.perdida(kFuenteCaja, t);
    });
}

Entradas::Paso Entradas::atender(int numero, bool& pulsado) {
    auto leer = [&] { return numero == 1 ? puerto_.leerCTS() : puerto_.leerDSR(); };
    bool& pendiente = pendiente_[numero - 1];
    const std::optional<bool> linea = leer();
    if (!linea)
        return Paso::SinPuerto;
    if ((*linea || pendiente) && !pulsado) {
        // Both pressed together: switch 1 may have closed after its own read
        // in this tick, just before this one. It is read again and, closed,
        // acts first, as the two would in one reading.
        if (numero == 2 && !Switch1Pulsado && !pendiente_[0]) {
            const std::optional<bool> cts = puerto_.leerCTS();
            if (!cts)
                return Paso::SinPuerto;
            const Paso antes = *cts ? atender(1, Switch1Pulsado) : Paso::Seguir;
            if (antes != Paso::Seguir)
                return antes;
        }
        // The latch goes first: whatever the action does, this press is done.
        pulsado = true;
        pendiente = false;
        if (ModoTest)
            emit pruebaSwitch(numero, true);
        accionFallida_ = false;
        alMotor([&](qint64 t) { motor_.pulsador(kFuentePuerto, numero, true, t); });
        return accionFallida_ ? Paso::Terminar : Paso::Seguir;
    }
    const std::optional<bool> otraVez = leer();
    if (!otraVez)
        return Paso::SinPuerto;
    if (!*otraVez) {
        const bool estaba = pulsado;
        pulsado = false;
        if (ModoTest)
            emit pruebaSwitch(numero, false);
        if (estaba)
            alMotor([&](qint64 t) { motor_.pulsador(kFuentePuerto, numero, false, t); });
    } else if (!pulsado) {
        // A press that began between the two reads, or a tap the driver
        // counted that may be over by the next tick: that tick acts on it.
        pendiente = true;
    }
    return Paso::Seguir;
}

void Entradas::tmrSwitch_Timer() {
    if (puertoElegido_ == 0)
        return;
    if (!puertoAbierto_) {
        reintentarPuerto();
        return;
    }
    Paso paso = atender(1, Switch1Pulsado);
    if (paso == Paso::Seguir) {
        if (!puerto_.activarRTS())
            return;
        paso = atender(2, Switch2Pulsado);
    }
    if (paso == Paso::Seguir)
        puerto_.activarDTR();
    else if (paso == Paso::SinPuerto)
        perderPuerto();
}

bool Entradas::IniciarCapturaSonido() {
    return sonido_.iniciar();
}

void Entradas::FinalizarCapturaSonido() {
    sonido_.detener();
}

void Entradas::ProcesarNivelSonido(int nivel) {
    if (perfiles_.vacia())
        return;
    const Usuario& u = perfiles_.enUso();
    if (u.Modo != kModoSonido)
        return;
    // A stored step outside 1..10 would make silence trigger (0 or less) or
    // nothing trigger (over 10): the nearest valid step is used instead.
    const double umbral = static_cast<double>(UmbralValido(u.Umbral)) * FACTOR_NIVEL;
    const bool alto = static_cast<double>(nivel) >= umbral;
    if (ModoTest)
        emit pruebaSonido(alto);
    // While the re-arm delay runs the sound counts as quiet: the next blow
    // begins once it is over.
    const bool cuenta = alto && (ModoTest || !tmrDelaySonido.isActive());
    alMotor([&](qint64 t) { motor_.sonido(cuenta, t); });
}

} // namespace quimbal
