#include "app/Programa.h"

int main(int argc, char** argv) {
    return quimbal::EjecutarPrograma(argc, argv);
}
