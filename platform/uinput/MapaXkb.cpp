#include "platform/uinput/MapaXkb.h"

#include <QChar>
#include <QString>

#include <algorithm>

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace quimbal {

namespace {

// Evdev key codes are XKB key codes less 8.
constexpr xkb_keycode_t kDesplazamientoEvdev = 8;

struct Contexto {
    void operator()(xkb_context* c) const { xkb_context_unref(c); }
    void operator()(xkb_keymap* m) const { xkb_keymap_unref(m); }
    void operator()(xkb_state* s) const { xkb_state_unref(s); }
};

// The dead keys that add a combining mark to the letter typed after them.
struct Muerta {
    char32_t marca;
    xkb_keysym_t simbolo;
};
constexpr Muerta kMuertas[] = {
    {0x0300, XKB_KEY_dead_grave},      {0x0301, XKB_KEY_dead_acute},
    {0x0302, XKB_KEY_dead_circumflex}, {0x0303, XKB_KEY_dead_tilde},
    {0x0304, XKB_KEY_dead_macron},     {0x0306, XKB_KEY_dead_breve},
    {0x0307, XKB_KEY_dead_abovedot},   {0x0308, XKB_KEY_dead_diaeresis},
    {0x030a, XKB_KEY_dead_abovering},  {0x030b, XKB_KEY_dead_doubleacute},
    {0x030c, XKB_KEY_dead_caron},      {0x0327, XKB_KEY_dead_cedilla},
    {0x0328, XKB_KEY_dead_ogonek},
};

xkb_keysym_t SimboloDe(TeclaNombrada t) {
    switch (t) {
    case TeclaNombrada::Enter:
        return XKB_KEY_Return;
    case TeclaNombrada::Esc:
        return XKB_KEY_Escape;
    case TeclaNombrada::Tab:
        return XKB_KEY_Tab;
    case TeclaNombrada::Arriba:
        return XKB_KEY_Up;
    case TeclaNombrada::Abajo:
        return XKB_KEY_Down;
    case TeclaNombrada::Izquierda:
        return XKB_KEY_Left;
    case TeclaNombrada::Derecha:
        return XKB_KEY_Right;
    case TeclaNombrada::RePag:
        return XKB_KEY_Prior;
    case TeclaNombrada::AvPag:
        return XKB_KEY_Next;
    case TeclaNombrada::Retroceso:
        return XKB_KEY_BackSpace;
    case TeclaNombrada::Suprimir:
        return XKB_KEY_Delete;
    case TeclaNombrada::Inicio:
        return XKB_KEY_Home;
    case TeclaNombrada::Fin:
        return XKB_KEY_End;
    case TeclaNombrada::Insertar:
        return XKB_KEY_Insert;
    case TeclaNombrada::Ninguna:
        return XKB_KEY_NoSymbol;
    default:
        break;
    }
    return XKB_KEY_F1 + (static_cast<int>(t) - static_cast<int>(TeclaNombrada::F1));
}

QByteArray Utf8(const QString& s) {
    return s.toUtf8();
}

} // namespace

std::unique_ptr<MapaXkb> MapaXkb::crear(const NombresXkb& nombres, QString& error) {
    std::unique_ptr<xkb_context, Contexto> contexto(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!contexto) {
        error = QStringLiteral("no se puede iniciar libxkbcommon");
        return nullptr;
    }
    // The reason goes out as one line of ours, not as the compiler's log.
    xkb_context_set_log_level(contexto.get(), XKB_LOG_LEVEL_CRITICAL);
    // Empty names take the compiler's defaults (or the XKB_DEFAULT_* ones).
    const QByteArray reglas = Utf8(nombres.reglas), modelo = Utf8(nombres.modelo),
                     disposicion = Utf8(nombres.disposicion), variante = Utf8(nombres.variante),
                     opciones = Utf8(nombres.opciones);
    auto oNulo = [](const QByteArray& b) { return b.isEmpty() ? nullptr : b.constData(); };
    const xkb_rule_names rmlvo{oNulo(reglas), oNulo(modelo), oNulo(disposicion), oNulo(variante),
                               oNulo(opciones)};
    std::unique_ptr<xkb_keymap, Contexto> mapa(
        xkb_keymap_new_from_names(contexto.get(), &rmlvo, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!mapa) {
        error = QStringLiteral("la distribución de teclado «%1%2» no existe")
                    .arg(nombres.disposicion,
                         nombres.variante.isEmpty() ? QString() : u'(' + nombres.variante + u')');
        return nullptr;
    }
    std::unique_ptr<MapaXkb> m(new MapaXkb);
    m->indexar(mapa.get());
    return m;
}

void MapaXkb::indexar(xkb_keymap* mapa) {
    // Only the keys of a keyboard: those the device has.
    const xkb_keycode_t primero =
        std::max(xkb_keymap_min_keycode(mapa), kDesplazamientoEvdev + KEY_ESC);
    const xkb_keycode_t ultimo =
        std::min(xkb_keymap_max_keycode(mapa), kDesplazamientoEvdev + KEY_MICMUTE);
    const auto primerSimbolo = [mapa](xkb_keycode_t kc) {
        const xkb_keysym_t* s = nullptr;
        return xkb_keymap_key_get_syms_by_level(mapa, kc, 0, 0, &s) == 1 ? s[0] : XKB_KEY_NoSymbol;
    };

    // Modifier keys: the key whose first level is the modifier's symbol; the
    // usual key when it is one (the layouts also put AltGr on a key that no
    // keyboard has).
    for (xkb_keycode_t kc = primero; kc <= ultimo; ++kc)
        modificadoras_.emplace(primerSimbolo(kc),
                               static_cast<std::uint16_t>(kc - kDesplazamientoEvdev));
    for (const auto& [simbolo, codigo] :
         {std::pair<xkb_keysym_t, int>{XKB_KEY_Shift_L, KEY_LEFTSHIFT},
          {XKB_KEY_Control_L, KEY_LEFTCTRL},
          {XKB_KEY_Alt_L, KEY_LEFTALT},
          {XKB_KEY_ISO_Level3_Shift, KEY_RIGHTALT}})
        if (primerSimbolo(codigo + kDesplazamientoEvdev) == simbolo)
            modificadoras_[simbolo] = codigo;

    // What every key types with each combination of the level modifiers,
    // found by pressing them on a state of our own: fewest modifiers first,
    // lowest key first, so that the plain key wins over the keypad's.
    std::unique_ptr<xkb_state, Contexto> estado(xkb_state_new(mapa));
    const std::uint16_t mayus = teclaModificadora(XKB_KEY_Shift_L);
    const std::uint16_t nivel3 = teclaModificadora(XKB_KEY_ISO_Level3_Shift);
    for (int combinacion = 0; combinacion < 4; ++combinacion) {
        const bool conMayus = combinacion & 1, conNivel3 = combinacion & 2;
        if ((conMayus && !mayus) || (conNivel3 && !nivel3))
            continue;
        auto pulsar = [&](xkb_key_direction d) {
            if (conMayus)
                xkb_state_update_key(estado.get(), mayus + kDesplazamientoEvdev, d);
            if (conNivel3)
                xkb_state_update_key(estado.get(), nivel3 + kDesplazamientoEvdev, d);
        };
        pulsar(XKB_KEY_DOWN);
        for (xkb_keycode_t kc = primero; kc <= ultimo; ++kc) {
            const Tecleo t{static_cast<std::uint16_t>(kc - kDesplazamientoEvdev), conMayus,
                           conNivel3};
            const xkb_keysym_t s = xkb_state_key_get_one_sym(estado.get(), kc);
            if (s != XKB_KEY_NoSymbol)
                simbolos_.emplace(s, t);
            const char32_t c = xkb_state_key_get_utf32(estado.get(), kc);
            if (c >= 0x20 && c != 0x7f)
                caracteres_.emplace(c, t);
        }
        pulsar(XKB_KEY_UP);
    }
}

std::optional<std::vector<Tecleo>> MapaXkb::buscarCaracter(char32_t c) const {
    if (const auto it = caracteres_.find(c); it != caracteres_.end())
        return std::vector<Tecleo>{it->second};
    // A letter with one mark: the dead key for the mark, then the letter.
    if (QChar::decompositionTag(c) != QChar::Canonical)
        return std::nullopt;
    const QString partes = QChar::decomposition(c);
    const QList<uint> puntos = partes.toUcs4();
    if (puntos.size() != 2)
        return std::nullopt;
    for (const Muerta& m : kMuertas) {
        if (m.marca != puntos[1])
            continue;
        const auto muerta = buscarSimbolo(m.simbolo);
        const auto base = caracteres_.find(puntos[0]);
        if (muerta && base != caracteres_.end())
            return std::vector<Tecleo>{*muerta, base->second};
    }
    return std::nullopt;
}

std::optional<Tecleo> MapaXkb::buscarSimbolo(xkb_keysym_t s) const {
    const auto it = simbolos_.find(s);
    return it == simbolos_.end() ? std::nullopt : std::optional<Tecleo>(it->second);
}

std::uint16_t MapaXkb::teclaModificadora(xkb_keysym_t s) const {
    xkb_keysym_t buscados[2] = {s, XKB_KEY_NoSymbol};
    switch (s) {
    case XKB_KEY_Shift_L:
        buscados[1] = XKB_KEY_Shift_R;
        break;
    case XKB_KEY_Control_L:
        buscados[1] = XKB_KEY_Control_R;
        break;
    case XKB_KEY_Alt_L:
        buscados[1] = XKB_KEY_Meta_L;
        break;
    default:
        break;
    }
    for (xkb_keysym_t b : buscados)
        if (const auto it = modificadoras_.find(b);
            b != XKB_KEY_NoSymbol && it != modificadoras_.end())
            return it->second;
    return 0;
}

bool MapaXkb::planear(const QList<Pulsacion>& pulsaciones, std::vector<EventoTecla>& eventos,
                      char32_t& falta) const {
    falta = 0;
    std::vector<EventoTecla> plan;
    for (const Pulsacion& p : pulsaciones) {
        std::vector<Tecleo> teclas;
        if (p.tecla != TeclaNombrada::Ninguna) {
            const auto t = buscarSimbolo(SimboloDe(p.tecla));
            if (!t)
                return false;
            teclas.push_back(*t);
        } else if (p.caracter != 0) {
            const auto t = buscarCaracter(p.caracter);
            if (!t) {
                falta = p.caracter;
                return false;
            }
            teclas = *t;
        }
        // The stroke's own modifiers stay down across its taps; the level
        // modifiers of each tap only around that tap.
        std::vector<std::uint16_t> propios;
        auto anadir = [](std::vector<std::uint16_t>& lista, std::uint16_t tecla) {
            if (tecla == 0)
                return false;
            if (std::find(lista.begin(), lista.end(), tecla) == lista.end())
                lista.push_back(tecla);
            return true;
        };
        if (p.mayusculas && !anadir(propios, teclaModificadora(XKB_KEY_Shift_L)))
            return false;
        if (p.control && !anadir(propios, teclaModificadora(XKB_KEY_Control_L)))
            return false;
        if (p.alt && !anadir(propios, teclaModificadora(XKB_KEY_Alt_L)))
            return false;
        for (std::uint16_t m : propios)
            plan.push_back({m, true});
        for (const Tecleo& t : teclas) {
            std::vector<std::uint16_t> nivel;
            if (t.mayusculas && !p.mayusculas)
                anadir(nivel, teclaModificadora(XKB_KEY_Shift_L));
            if (t.nivel3)
                anadir(nivel, teclaModificadora(XKB_KEY_ISO_Level3_Shift));
            for (std::uint16_t m : nivel)
                plan.push_back({m, true});
            plan.push_back({t.codigo, true});
            plan.push_back({t.codigo, false});
            for (auto m = nivel.rbegin(); m != nivel.rend(); ++m)
                plan.push_back({*m, false});
        }
        for (auto m = propios.rbegin(); m != propios.rend(); ++m)
            plan.push_back({*m, false});
    }
    eventos.insert(eventos.end(), plan.begin(), plan.end());
    return true;
}

} // namespace quimbal
