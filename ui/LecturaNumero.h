#pragma once
// Reading a number typed by the user: the way the delay box reads it, and the
// stricter whole numbers of the input timing settings.
#include <QString>
#include <optional>

namespace quimbal {

// The number at the start of the text: blanks, tabs and line feeds are ignored
// wherever they stand; then an optional sign, digits, optionally "." and
// digits, optionally an exponent (E or D, optional sign, digits); or &H / &O
// followed by a hexadecimal or octal whole number. Reading stops at the first
// character that cannot continue the number; a text that does not begin with
// a number reads as 0. The comma is not a decimal separator. Numbers too big
// for a double read as infinity, never as a wrapped value.
double Val(const QString& texto);

// The nearest whole number; exactly halfway goes to the even one. Infinity
// and NaN come back unchanged.
double RedondearAPar(double valor);

// The delay the text stands for (1 to 9999 whole milliseconds), or nothing
// when the text is not a valid delay.
std::optional<int> RetrasoDesdeTexto(const QString& texto);

// The whole number 0..maximo the text is, blanks around it allowed; nothing
// for anything else. Stricter than Val: a setting that a typo turned into 0
// would be switched off without a word.
std::optional<int> EnteroDesdeTexto(const QString& texto, int maximo);

} // namespace quimbal
