#include "profiles/TextoFijo.h"

#include <array>

namespace quimbal {

namespace {
// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves
// undefined. Every other byte is the Latin-1 character of the same number.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char aByte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kAlto.size(); ++i)
        if (kAlto[i] != 0 && kAlto[i] == u)
            return static_cast<char>(0x80 + i);
    // The five undefined bytes read back as their C1 control; writing that
    // control gives the same byte again, so a file read and saved keeps them.
    if (u >= 0x80 && u <= 0x9F && kAlto[u - 0x80] == 0)
        return static_cast<char>(u);
    return '?';
}
} // namespace

QString Recortar(const QString& s) {
    qsizetype a = 0, b = s.size();
    while (a < b && s[a] == QLatin1Char(' '))
        ++a;
    while (b > a && s[b - 1] == QLatin1Char(' '))
        --b;
    return s.mid(a, b - a);
}

QByteArray aAnsi(const QString& s) {
    QByteArray r;
    r.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        // A character outside the basic plane is one character to the user.
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i, r.append('?');
        else
            r.append(aByte(s[i]));
    }
    return r;
}

QString desdeAnsi(const QByteArray& bytes) {
    QString r;
    r.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kAlto[b - 0x80] != 0)
            r.append(QChar(kAlto[b - 0x80]));
        else
            r.append(QChar(b)); // undefined bytes read back as their C1 control
    }
    return r;
}

void TextoFijo::asignar(const QString& s) {
    texto_ = s.left(kLargoTexto);
    if (texto_.size() < kLargoTexto)
        texto_ += QString(kLargoTexto - texto_.size(), QLatin1Char(' '));
}

QByteArray TextoFijo::bytes() const {
    return aAnsi(texto_).leftJustified(kLargoTexto, ' ', true);
}

TextoFijo TextoFijo::desdeBytes(const char* datos) {
    return TextoFijo(desdeAnsi(QByteArray(datos, kLargoTexto)));
}

} // namespace quimbal
