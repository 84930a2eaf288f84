#include "input/Motor.h"

#include <limits>
#include <utility>

namespace quimbal {

namespace {
Origen origenDe(int numero) {
    return numero == 1 ? Origen::Switch1 : Origen::Switch2;
}

void tomarMenor(std::optional<qint64>& menor, std::optional<qint64> plazo) {
    if (plazo && (!menor || *plazo < *menor))
        menor = plazo;
}
} // namespace

Motor::Motor(SalidasMotor salidas)
    : salidas_(std::move(salidas)), ahora_(std::numeric_limits<qint64>::min()) {}

bool Motor::cerrado(int numero) const {
    for (const auto& [fuente, lineas] : fuentes_)
        if (lineas[numero - 1])
            return true;
    return false;
}

std::optional<qint64> Motor::proximo() const {
    std::optional<qint64> menor;
    if (gesto_)
        tomarMenor(menor, *gesto_ + ajustes_.pausa_ms);
    for (const Estado& s : switches_)
        tomarMenor(menor, s.plazo);
    tomarMenor(menor, sonido_.plazo);
    return menor;
}

void Motor::avanzar(qint64 ahora) {
    vencer(ahora, true);
    vaciar();
}

// Each pending moment is handled at its own time, not at the caller's: a
// late call still accepts, repeats and measures from the moment due. At equal
// times the pause goes first, so that no action slips in before it.
void Motor::vencer(qint64 hasta, bool incluido) {
    for (std::optional<qint64> p = proximo(); p && (*p < hasta || (incluido && *p == hasta));
         p = proximo()) {
        ahora_ = std::max(ahora_, *p);
        if (gesto_ && *gesto_ + ajustes_.pausa_ms == *p)
            alternarPausa();
        else if (switches_[0].plazo == p)
            vencerSwitch(1);
        else if (switches_[1].plazo == p)
            vencerSwitch(2);
        else
            aceptarSonido();
    }
    ahora_ = std::max(ahora_, hasta);
}

void Motor::fijarAjustes(const AjustesMotor& ajustes, qint64 ahora) {
    vencer(ahora, false);
    const AjustesMotor nuevos = ajustes.acotados();
    if (nuevos != ajustes_) {
        ajustes_ = nuevos;
        terminarTodo();
        if (pausado_ && ajustes_.pausa_ms == 0) {
            pausado_ = false;
            cola_.push_back([this] {
                if (salidas_.pausa)
                    salidas_.pausa(false);
            });
        }
    }
    vaciar();
}

void Motor::fijarModoTest(bool activo, qint64 ahora) {
    vencer(ahora, false);
    if (activo != modoTest_) {
        modoTest_ = activo;
        terminarTodo();
        // The window's labels start from what is held now.
        for (int n : {1, 2})
            if (cerrado(n))
                informar(origenDe(n), Informe::Pulsado);
    }
    vaciar();
}

void Motor::pulsador(int fuente, int numero, bool cerrado, qint64 ahora) {
    if (numero != 1 && numero != 2)
        return;
    vencer(ahora, false);
    const bool antes = this->cerrado(numero);
    auto& lineas = fuentes_[fuente];
    lineas[numero - 1] = cerrado;
    if (!lineas[0] && !lineas[1])
        fuentes_.erase(fuente);
    if (this->cerrado(numero) != antes) {
        if (cerrado)
            pulsar(numero);
        else
            soltar(numero, true);
    }
    vaciar();
}

void Motor::perdida(int fuente, qint64 ahora) {
    vencer(ahora, false);
    const auto it = fuentes_.find(fuente);
    if (it != fuentes_.end()) {
        const std::array<bool, 2> lineas = it->second;
        fuentes_.erase(it);
        for (int n : {1, 2})
            if (lineas[n - 1] && !cerrado(n))
                soltar(n, false);
    }
    vaciar();
}

void Motor::recuperada(int fuente, bool cerrado1, bool cerrado2, qint64 ahora) {
    vencer(ahora, false);
    const bool lineas[2] = {cerrado1, cerrado2};
    for (int n : {1, 2}) {
        const bool antes = cerrado(n);
        fuentes_[fuente][n - 1] = lineas[n - 1];
        if (antes && !cerrado(n)) {
            soltar(n, false);
        } else if (!antes && cerrado(n)) {
            switches_[n - 1].fase = Fase::Bloqueado;
            informar(origenDe(n), Informe::Pulsado);
        }
    }
    if (!cerrado1 && !cerrado2)
        fuentes_.erase(fuente);
    seguirGesto();
    vaciar();
}

void Motor::sonido(bool alto, qint64 ahora) {
    vencer(ahora, false);
    Estado& s = sonido_;
    if (alto && s.fase == Fase::Abierto) {
        s.fase = Fase::Esperando;
        s.inicio = ahora_;
        informar(Origen::Sonido, Informe::Pulsado);
        if (ajustes_.soplo_minimo_ms > 0)
            s.plazo = ahora_ + ajustes_.soplo_minimo_ms;
        else
            aceptarSonido();
    } else if (!alto && s.fase != Fase::Abierto) {
        const Fase fase = std::exchange(s.fase, Fase::Abierto);
        s.plazo.reset();
        if (fase == Fase::Esperando) {
            informar(Origen::Sonido, Informe::Ignorado);
            confirmar(false);
        }
        informar(Origen::Sonido, Informe::Soltado);
    }
    vaciar();
}

void Motor::aceptarSonido() {
    sonido_.fase = Fase::Hecho;
    sonido_.plazo.reset();
    informar(Origen::Sonido, Informe::Aceptado);
    confirmar(true);
    actuar(Origen::Sonido, 1);
}

void Motor::pulsar(int numero) {
    Estado& s = switches_[numero - 1];
    const Origen origen = origenDe(numero);
    s.inicio = ahora_;
    s.plazo.reset();
    informar(origen, Informe::Pulsado);
    if (pausado_ || (s.aceptada && ahora_ < *s.aceptada + ajustes_.ignorar_ms)) {
        s.fase = Fase::Hecho;
        informar(origen, pausado_ ? Informe::Pausado : Informe::Ignorado);
        confirmar(false);
    } else if (ajustes_.aceptacion_ms > 0) {
        s.fase = Fase::Esperando;
        s.plazo = ahora_ + ajustes_.aceptacion_ms;
    } else {
        aceptar(numero);
    }
    seguirGesto();
}

void Motor::aceptar(int numero) {
    Estado& s = switches_[numero - 1];
    const Origen origen = origenDe(numero);
    s.aceptada = ahora_;
    s.plazo.reset();
    s.fase = Fase::Hecho;
    informar(origen, Informe::Aceptado);
    confirmar(true);
    if (numero == 1 && ajustes_.larga_ms > 0) {
        // A long press time within the acceptance time is reached with it.
        if (ahora_ - s.inicio >= ajustes_.larga_ms) {
            actuar(origen, 2);
        } else {
            s.fase = Fase::Larga;
            s.plazo = s.inicio + ajustes_.larga_ms;
        }
        return;
    }
    actuar(origen, numero);
    if (ajustes_.repetir_tras_ms > 0) {
        s.fase = Fase::Repitiendo;
        s.plazo = ahora_ + ajustes_.repetir_tras_ms;
    }
}

void Motor::vencerSwitch(int numero) {
    Estado& s = switches_[numero - 1];
    const Origen origen = origenDe(numero);
    switch (s.fase) {
    case Fase::Esperando:
        aceptar(numero);
        break;
    case Fase::Larga:
        s.fase = Fase::Hecho;
        s.plazo.reset();
        actuar(origen, 2);
        break;
    case Fase::Repitiendo:
        s.plazo = ahora_ + (ajustes_.repetir_cada_ms > 0 ? ajustes_.repetir_cada_ms
                                                         : ajustes_.repetir_tras_ms);
        actuar(origen, numero);
        break;
    default:
        s.plazo.reset();
    }
}

// A release through a lost source (conAccion false) is no decision of the
// user: neither the short press nor the ignored one is reported as such.
void Motor::soltar(int numero, bool conAccion) {
    Estado& s = switches_[numero - 1];
    const Origen origen = origenDe(numero);
    const Fase fase = std::exchange(s.fase, Fase::Abierto);
    s.plazo.reset();
    if (conAccion && fase == Fase::Esperando) {
        informar(origen, Informe::Ignorado);
        confirmar(false);
    } else if (conAccion && fase == Fase::Larga) {
        actuar(origen, 1);
    }
    informar(origen, Informe::Soltado);
    seguirGesto();
}

void Motor::seguirGesto() {
    auto cuenta = [this](int n) { return cerrado(n) && switches_[n - 1].fase != Fase::Bloqueado; };
    if (ajustes_.pausa_ms == 0 || !cuenta(1) || !cuenta(2)) {
        gesto_.reset();
        gestoHecho_ = false;
    } else if (!gesto_ && !gestoHecho_) {
        gesto_ = ahora_;
    }
}

void Motor::alternarPausa() {
    gesto_.reset();
    gestoHecho_ = true;
    pausado_ = !pausado_;
    for (Estado& s : switches_) {
        s.plazo.reset();
        if (s.fase != Fase::Abierto && s.fase != Fase::Bloqueado)
            s.fase = Fase::Hecho;
    }
    const bool activa = pausado_;
    cola_.push_back([this, activa] {
        if (salidas_.pausa)
            salidas_.pausa(activa);
    });
}

// What is held now becomes no press, and the last acceptances no longer
// shorten the next press: the switches start over.
void Motor::terminarTodo() {
    for (Estado& s : switches_) {
        s.plazo.reset();
        s.aceptada.reset();
        if (s.fase != Fase::Abierto)
            s.fase = Fase::Bloqueado;
    }
    sonido_.plazo.reset();
    if (sonido_.fase != Fase::Abierto)
        sonido_.fase = Fase::Bloqueado;
    seguirGesto();
}

void Motor::actuar(Origen origen, int accion) {
    if (modoTest_) {
        informar(origen, Informe::Accion, accion);
        return;
    }
    cola_.push_back([this, origen, accion] {
        if (salidas_.accion)
            salidas_.accion(accion, origen);
    });
}

void Motor::informar(Origen origen, Informe informe, int accion) {
    if (!modoTest_)
        return;
    cola_.push_back([this, origen, informe, accion] {
        if (salidas_.prueba)
            salidas_.prueba(origen, informe, accion);
    });
}

void Motor::confirmar(bool aceptada) {
    if (!ajustes_.confirmacion)
        return;
    cola_.push_back([this, aceptada] {
        if (salidas_.confirmacion)
            salidas_.confirmacion(aceptada);
    });
}

// An output may call the engine again; what that call adds runs after what
// was already waiting, in order, from the outermost call.
void Motor::vaciar() {
    if (vaciando_)
        return;
    vaciando_ = true;
    for (std::size_t i = 0; i < cola_.size(); ++i) {
        const std::function<void()> salida = std::move(cola_[i]);
        salida();
    }
    cola_.clear();
    vaciando_ = false;
}

} // namespace quimbal
