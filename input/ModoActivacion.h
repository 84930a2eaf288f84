#pragma once
// Activation mode: which input the current profile uses (the two switches on
// the serial port, or the sound level), and the controls that go with it.
#include "platform/Controles.h"

namespace quimbal {

// The controls of the main window that the mode decides on.
struct ControlesModo {
    Opcion* optSwitch = nullptr;
    Opcion* optSonido = nullptr;
    Lista* cboSwitch = nullptr;
    Lista* cboSonido = nullptr;
    Temporizador* tmrSwitch = nullptr;
    QLabel* lblAccion1 = nullptr;
    QLabel* lblAccion2 = nullptr;
    Lista* cboTeclas2 = nullptr;
    CajaTexto* txtLetra2 = nullptr;
    Etiqueta* lblTest1 = nullptr;
    Etiqueta* lblTest2 = nullptr;
    Etiqueta* lblTestSonido = nullptr;
    Boton* cmdMas = nullptr;
};

// Switch mode: the current profile's Modo becomes 1, the switch poll runs,
// the controls of both switches are enabled and the sound's are not.
void ActivaOpcionSwitch(const ControlesModo& c);
// Sound mode: Modo becomes 2, the threshold list shows the profile's step
// (a step outside 1..10 shows, and becomes, the nearest valid one), the poll
// stops, and only action 1 and the sound's controls stay enabled.
void ActivaOpcionSonido(const ControlesModo& c);
// A choice in the threshold list: the current profile's Umbral follows it.
void ElegirUmbral(const Lista& cboSonido);

} // namespace quimbal
