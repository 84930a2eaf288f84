#include <QChar> // Qt before X11: the X11 headers define Bool, Status, ...

#include "platform/x11/MapaTeclado.h"

#include <X11/keysym.h>

#include <algorithm>

namespace quimbal {

namespace {

// Symbols of the classic (non-Unicode) ranges that layouts use for characters
// outside Latin-1; any other character is also found by its Unicode symbol.
struct SimboloClasico {
    char32_t caracter;
    KeySym simbolo;
};
constexpr SimboloClasico kClasicos[] = {
    {0x20ac, XK_EuroSign}, {0x0152, XK_OE},      {0x0153, XK_oe},     {0x0178, XK_Ydiaeresis},
    {0x0160, XK_Scaron},   {0x0161, XK_scaron},  {0x017d, XK_Zcaron}, {0x017e, XK_zcaron},
    {0x0141, XK_Lstroke},  {0x0142, XK_lstroke},
};

KeySym simboloPrincipal(char32_t c) {
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff))
        return static_cast<KeySym>(c);
    return static_cast<KeySym>(0x01000000u | c);
}

} // namespace

MapaTeclado::MapaTeclado(Display* d)
    : xkb_(XkbGetMap(d, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask, XkbUseCoreKbd)) {
    if (!xkb_)
        return;
    XkbStateRec estado{};
    if (XkbGetState(d, XkbUseCoreKbd, &estado) != Success) {
        xkb_.reset();
        return;
    }
    grupo_ = estado.group;
    bloqueados_ = static_cast<unsigned>(estado.locked_mods | estado.latched_mods);
    if (const KeyCode n3 = teclaModificadora(XK_ISO_Level3_Shift))
        mascaraNivel3_ = xkb_->map->modmap[n3];
}

KeySym MapaTeclado::simboloEn(KeyCode kc, unsigned mods) const {
    XkbDescPtr x = xkb_.get();
    const int grupos = XkbKeyNumGroups(x, kc);
    if (grupos <= 0)
        return NoSymbol;
    int g = grupo_;
    if (g >= grupos) {
        const unsigned info = XkbKeyGroupInfo(x, kc);
        switch (XkbOutOfRangeGroupAction(info)) {
        case XkbClampIntoRange:
            g = grupos - 1;
            break;
        case XkbRedirectIntoRange:
            g = XkbOutOfRangeGroupNumber(info);
            if (g >= grupos)
                g = 0;
            break;
        default:
            g %= grupos;
            break;
        }
    }
    const XkbKeyTypePtr tipo = XkbKeyKeyType(x, kc, g);
    const unsigned efectivos = mods & tipo->mods.mask;
    int nivel = 0;
    for (int i = 0; i < tipo->map_count; ++i) {
        const XkbKTMapEntryRec& e = tipo->map[i];
        if (e.active && e.mods.mask == efectivos) {
            nivel = e.level;
            break;
        }
    }
    if (nivel >= XkbKeyGroupWidth(x, kc, g))
        return NoSymbol;
    return XkbKeySymEntry(x, kc, nivel, g);
}

template <class Coincide>
std::optional<Combinacion> MapaTeclado::buscar(Coincide coincide, bool segunBloqueos) const {
    if (!xkb_)
        return std::nullopt;
    // Fewest modifiers first: none, SHIFT, third level, both.
    for (int m = 0; m < 4; ++m) {
        const bool mayus = m & 1, n3 = m & 2;
        if (n3 && mascaraNivel3_ == 0)
            continue;
        const unsigned mods = (mayus ? ShiftMask : 0u) | (n3 ? mascaraNivel3_ : 0u) |
                              (segunBloqueos ? bloqueados_ : 0u);
        for (int kc = xkb_->min_key_code; kc <= xkb_->max_key_code; ++kc)
            if (coincide(simboloEn(static_cast<KeyCode>(kc), mods)))
                return Combinacion{static_cast<KeyCode>(kc), mayus, n3};
    }
    return std::nullopt;
}

std::optional<Combinacion> MapaTeclado::buscarSimbolo(KeySym s, bool segunBloqueos) const {
    if (s == NoSymbol)
        return std::nullopt;
    return buscar([s](KeySym k) { return k == s; }, segunBloqueos);
}

std::optional<Combinacion> MapaTeclado::buscarCaracter(char32_t c, bool segunBloqueos) const {
    const std::vector<KeySym> simbolos = simbolosDe(c);
    return buscar(
        [&](KeySym k) {
            return k != NoSymbol &&
                   std::find(simbolos.begin(), simbolos.end(), k) != simbolos.end();
        },
        segunBloqueos);
}

KeyCode MapaTeclado::teclaModificadora(KeySym s) const {
    if (!xkb_)
        return 0;
    KeySym buscados[2] = {s, NoSymbol};
    switch (s) {
    case XK_Shift_L:
        buscados[1] = XK_Shift_R;
        break;
    case XK_Control_L:
        buscados[1] = XK_Control_R;
        break;
    case XK_Alt_L:
        buscados[1] = XK_Meta_L;
        break;
    default:
        break;
    }
    for (KeySym b : buscados) {
        if (b == NoSymbol)
            continue;
        for (int kc = xkb_->min_key_code; kc <= xkb_->max_key_code; ++kc) {
            if (xkb_->map->modmap[kc] == 0)
                continue;
            const int ancho = XkbKeyGroupsWidth(xkb_.get(), kc) * XkbKeyNumGroups(xkb_.get(), kc);
            for (int i = 0; i < ancho; ++i)
                if (XkbKeySym(xkb_.get(), kc, i) == b)
                    return static_cast<KeyCode>(kc);
        }
    }
    return 0;
}

std::vector<KeyCode> MapaTeclado::codigosLibres() const {
    std::vector<KeyCode> libres;
    if (!xkb_)
        return libres;
    for (int kc = xkb_->min_key_code; kc <= xkb_->max_key_code; ++kc)
        if (XkbKeyNumSyms(xkb_.get(), kc) == 0 && xkb_->map->modmap[kc] == 0)
            libres.push_back(static_cast<KeyCode>(kc));
    return libres;
}

std::vector<KeySym> MapaTeclado::simbolosDe(char32_t c) {
    std::vector<KeySym> s{simboloPrincipal(c)};
    const KeySym unicode = static_cast<KeySym>(0x01000000u | c);
    if (s.front() != unicode)
        s.push_back(unicode);
    for (const auto& k : kClasicos)
        if (k.caracter == c && k.simbolo != s.front() && k.simbolo != unicode)
            s.push_back(k.simbolo);
    return s;
}

std::pair<KeySym, KeySym> MapaTeclado::simbolosParaPrestar(char32_t c) {
    const char32_t minuscula = QChar::toLower(c), mayuscula = QChar::toUpper(c);
    if (minuscula != mayuscula && (c == minuscula || c == mayuscula))
        return {simboloPrincipal(minuscula), simboloPrincipal(mayuscula)};
    return {simboloPrincipal(c), simboloPrincipal(c)};
}

} // namespace quimbal
