#pragma once
// Fixed-length text fields of 20 characters, and their single-byte form in
// the data files (Windows-1252).
#include <QByteArray>
#include <QString>

namespace quimbal {

constexpr int kLargoTexto = 20;

// Removes leading and trailing spaces (only spaces: tabs and other blanks stay).
QString Recortar(const QString& s);

// Windows-1252 conversion; a character outside the code page is written "?".
QByteArray aAnsi(const QString& s);
QString desdeAnsi(const QByteArray& bytes);

// Exactly 20 characters, left-justified: a shorter text is padded on the right
// with spaces, a longer one keeps its first 20 characters.
class TextoFijo {
public:
    TextoFijo() : texto_(kLargoTexto, QLatin1Char(' ')) {}
    TextoFijo(const QString& s) { asignar(s); }                 // NOLINT: assignment semantics
    TextoFijo(const char* s) { asignar(QString::fromUtf8(s)); } // NOLINT
    TextoFijo& operator=(const QString& s) {
        asignar(s);
        return *this;
    }
    // The 20 characters, padding included.
    const QString& texto() const { return texto_; }
    // Without leading and trailing spaces: what is compared and shown.
    QString recortado() const { return Recortar(texto_); }
    // The 20 bytes of the data files.
    QByteArray bytes() const;
    static TextoFijo desdeBytes(const char* datos);

    bool operator==(const TextoFijo& o) const { return texto_ == o.texto_; }

private:
    void asignar(const QString& s);
    QString texto_;
};

} // namespace quimbal
