#pragma once
// The help viewer: shows one of the program's help files.
#include <QString>

namespace quimbal {

class Ayuda {
public:
    virtual ~Ayuda() = default;
    // Opens the file at its contents. False, with the reason in Spanish, when
    // the file cannot be shown.
    virtual bool abrir(const QString& archivo, QString& motivo) = 0;
};

} // namespace quimbal
