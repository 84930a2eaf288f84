#pragma once
// A fresh program folder for one test, with the whole program around it: the
// data files land in a temporary folder, the platform services are recording
// fakes, and the profile table, data files, inputs and main window are the
// real ones, wired as the program wires them.
#include "app/VentanaPrincipal.h"
#include "input/Entradas.h"
#include "profiles/Archivos.h"
#include "profiles/EscrituraSegura.h"
#include "profiles/Perfiles.h"
#include "tests/fakes/AyudaFalsa.h"
#include "tests/fakes/BandejaFalsa.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/InyectorFalso.h"
#include "tests/fakes/NivelSonidoFalso.h"
#include "tests/fakes/NotificacionesFalsas.h"
#include "tests/fakes/PuertoSerieFalso.h"

#include "ui/Controles.h"

#include <QByteArray>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace quimbal {

class CarpetaDePrueba {
public:
    CarpetaDePrueba() { FijarOperacionesDisco(nullptr); }
    ~CarpetaDePrueba() { FijarOperacionesDisco(nullptr); }
    QString ruta(const QString& nombre) const { return dir_.filePath(nombre); }
    QString carpeta() const { return dir_.path(); }
    QByteArray leer(const QString& nombre) const {
        QFile f(ruta(nombre));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
    }
    void escribir(const QString& nombre, const QByteArray& datos) const {
        QFile f(ruta(nombre));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(datos);
    }

private:
    QTemporaryDir dir_;
};

struct ProgramaDePrueba {
    CarpetaDePrueba carpeta;
    DialogosFalsos dialogos;
    InyectorFalso inyector;
    PuertoSerieFalso puerto;
    NivelSonidoFalso sonido;
    BandejaFalsa bandeja;
    AyudaFalsa ayuda;
    NotificacionesFalsas notificaciones;
    Servicios servicios{dialogos, inyector, puerto, sonido, bandeja, ayuda, notificaciones};
    Perfiles perfiles;
    ArchivosDatos archivos{carpeta.carpeta()};
    Entradas entradas{perfiles, puerto, sonido, inyector};
    std::unique_ptr<VentanaPrincipal> ventana =
        std::make_unique<VentanaPrincipal>(perfiles, archivos, entradas, servicios);

    // Loads the main window as the program does (its files from the folder).
    VentanaPrincipal& cargar() {
        ventana->Cargar();
        return *ventana;
    }
};

} // namespace quimbal
