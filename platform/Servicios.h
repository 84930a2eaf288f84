#pragma once
// The platform services the program works with, created once at start-up
// (the real backends by the program, recording fakes by the tests) and
// handed down to the windows that use them.
namespace quimbal {

class Ayuda;
class Bandeja;
class Dialogos;
class Inyector;
class NivelSonido;
class Notificaciones;
class PuertoSerie;

struct Servicios {
    Dialogos& dialogos;
    Inyector& inyector;
    PuertoSerie& puerto;
    NivelSonido& sonido;
    Bandeja& bandeja;
    Ayuda& ayuda;
    Notificaciones& notificaciones;
};

} // namespace quimbal
