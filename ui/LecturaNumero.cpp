#include "ui/LecturaNumero.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <clocale>
#include <cstdlib>
#include <string>
#ifndef _WIN32
#include <locale.h>
#endif

namespace quimbal {

namespace {
bool esBlanco(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool esDigito(QChar c) {
    return c >= u'0' && c <= u'9';
}

int valorDigito(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return 99;
}

double enteroEnBase(const QString& s, int i, int base) {
    double valor = 0;
    for (; i < s.size(); ++i) {
        const int d = valorDigito(s[i]);
        if (d >= base)
            break;
        valor = valor * base + d; // grows towards infinity, never wraps
    }
    return valor;
}
} // namespace

double Val(const QString& texto) {
    QString s;
    s.reserve(texto.size());
    for (QChar c : texto)
        if (!esBlanco(c))
            s.append(c);

    if (s.size() >= 2 && s[0] == u'&') {
        const QChar b = s[1].toUpper();
        if (b == u'H')
            return enteroEnBase(s, 2, 16);
        if (b == u'O')
            return enteroEnBase(s, 2, 8);
        return 0;
    }

    // Longest prefix that is a decimal number, rewritten for strtod.
    std::string n;
    int i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        n += static_cast<char>(s[i++].toLatin1());
    bool digitos = false;
    while (i < s.size() && esDigito(s[i])) {
        n += static_cast<char>(s[i++].toLatin1());
        digitos = true;
    }
    if (i < s.size() && s[i] == u'.') {
        n += '.';
        ++i;
        while (i < s.size() && esDigito(s[i])) {
            n += static_cast<char>(s[i++].toLatin1());
            digitos = true;
        }
    }
    if (!digitos)
        return 0;
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        int j = i + 1;
        std::string e = "e";
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            e += static_cast<char>(s[j++].toLatin1());
        bool hayExponente = false;
        while (j < s.size() && esDigito(s[j])) {
            e += static_cast<char>(s[j++].toLatin1());
            hayExponente = true;
        }
        if (hayExponente)
            n += e;
    }
    // Independent of the user's locale: "." is the decimal point.
#ifdef _WIN32
    static const _locale_t c = _create_locale(LC_NUMERIC, "C");
    return _strtod_l(n.c_str(), nullptr, c);
#else
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return strtod_l(n.c_str(), nullptr, c);
#endif
}

double RedondearAPar(double valor) {
    if (!std::isfinite(valor))
        return valor;
    const int antes = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(valor);
    std::fesetround(antes);
    return r;
}

std::optional<int> RetrasoDesdeTexto(const QString& texto) {
    const double r = RedondearAPar(Val(texto));
    if (!(r >= 1 && r <= 9999))
        return std::nullopt;
    return static_cast<int>(r);
}

std::optional<int> EnteroDesdeTexto(const QString& texto, int maximo) {
    const QString s = texto.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    // Held at maximo + 1 once past it: any number of digits, no overflow.
    qint64 valor = 0;
    for (QChar c : s) {
        if (!esDigito(c))
            return std::nullopt;
        valor = std::min<qint64>(valor * 10 + (c.unicode() - u'0'), qint64(maximo) + 1);
    }
    if (valor > maximo)
        return std::nullopt;
    return static_cast<int>(valor);
}

} // namespace quimbal
