// The profile controls of the main window: choosing, adding, deleting and
// restoring profiles, each input's action, and what the window tells the user
// about the data files.
#include "actions/Catalogo.h"
#include "input/Entradas.h"
#include "platform/Dialogos.h"
#include "profiles/Archivos.h"
#include "profiles/Perfiles.h"
#include "ui/frmSwitch.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>

namespace quimbal {

namespace {
const QString kError = QStringLiteral("Error");

// The entry of an action list that a stored action text stands for; a text
// the catalogue does not have shows "Sin establecer", the entry that
// performs nothing (the profile keeps its text).
int entradaDeAccion(const QString& texto) {
    const int i = PosicionEnCatalogo(texto);
    return i >= 0 ? i : PosicionEnCatalogo(QString::fromLatin1(kTextoSinEstablecer));
}

QString noSeGuarda(const QString& que, const QString& ruta) {
    return QStringLiteral("No se puede guardar en el archivo de %1:\n%2")
        .arg(que, QDir::toNativeSeparators(ruta));
}

QString noSeAbre(const QString& que, const QString& ruta) {
    return QStringLiteral("No se puede abrir el archivo de %1:\n%2")
        .arg(que, QDir::toNativeSeparators(ruta));
}
} // namespace

void frmSwitch::LlenarListaUsuarios() {
    const QSignalBlocker b(cboUsuario);
    cboUsuario->clear();
    for (int k = 0; k < perfiles_.cuenta(); ++k)
        cboUsuario->addItem(perfiles_.usuario(k).Nombre.texto());
    cboUsuario->setCurrentIndex(perfiles_.actual());
}

void frmSwitch::cboUsuario_Click() {
    const int i = cboUsuario->currentIndex();
    if (!perfiles_.seleccionar(i))
        return;
    MostrarUsuario(i);
}

void frmSwitch::MostrarUsuario(int i) {
    if (i < 0 || i >= perfiles_.cuenta())
        return;
    const Usuario u = perfiles_.usuario(i);
    {
        // Showing fills the action controls without the clearing that a
        // user's choice of action causes.
        const QSignalBlocker b1(cboTeclas1), b2(cboTeclas2);
        cboTeclas1->setCurrentIndex(entradaDeAccion(u.Accion1.recortado()));
        cboTeclas2->setCurrentIndex(entradaDeAccion(u.Accion2.recortado()));
        txtLetra1->setText(u.Letra1.recortado());
        txtLetra2->setText(u.Letra2.recortado());
    }
    if (u.Modo == kModoSwitch)
        ActivaOpcionSwitch();
    else
        ActivaOpcionSonido();
    cboSonido->setCurrentIndex(UmbralValido(u.Umbral) - 1);
    cboSonido_Click();
    ActualizarAcciones();
    entradas_.FijarAjustes(archivos_.ajustes().de(u.Nombre.recortado()));
}

void frmSwitch::ActualizarAcciones() {
    entradas_.FijarAcciones(Accion::desde(cboTeclas1->currentText().trimmed(), txtLetra1->text()),
                            Accion::desde(cboTeclas2->currentText().trimmed(), txtLetra2->text()));
}

void frmSwitch::ElegirAccion(int entrada) {
    QComboBox* lista = entrada == 1 ? cboTeclas1 : cboTeclas2;
    QLineEdit* letra = entrada == 1 ? txtLetra1 : txtLetra2;
    const QString texto = lista->currentText();
    perfiles_.fijarAccion(entrada, texto);
    // Only "Letra..." keeps what the letter box holds.
    if (texto != QLatin1String(kTextoLetra)) {
        letra->clear();
        perfiles_.fijarLetra(entrada, QString());
    }
    ActualizarAcciones();
}

void frmSwitch::cboTeclas1_Click() {
    ElegirAccion(1);
}
void frmSwitch::cboTeclas2_Click() {
    ElegirAccion(2);
}
void frmSwitch::txtLetra1_Change() {
    perfiles_.fijarLetra(1, txtLetra1->text());
    ActualizarAcciones();
}
void frmSwitch::txtLetra2_Change() {
    perfiles_.fijarLetra(2, txtLetra2->text());
    ActualizarAcciones();
}

void frmSwitch::cmdAgregar_Click() {
    Dialogos& d = servicios_.dialogos;
    const QString lleno =
        QStringLiteral("No se pueden agregar más usuarios: la lista ya tiene %1, el máximo.")
            .arg(kMaxUsuarios);
    if (perfiles_.llena()) {
        d.MsgBox(lleno, vbExclamation, kError);
        return;
    }
    AgregandoUsuario = true;
    const QString respuesta = d.InputBox(QStringLiteral("Ingrese el nombre de un nuevo usuario"),
                                         QStringLiteral("Agregar nuevo usuario"));
    AgregandoUsuario = false;

    const Perfiles::ResultadoAlta r = perfiles_.agregar(respuesta);
    switch (r.alta) {
    case Perfiles::Alta::SinNombre:
        return;
    case Perfiles::Alta::Llena:
        d.MsgBox(lleno, vbExclamation, kError);
        return;
    case Perfiles::Alta::NoGuardable:
        d.MsgBox(QStringLiteral("El nombre tiene caracteres que no se pueden guardar: %1")
                     .arg(r.caracteres),
                 vbExclamation, kError);
        return;
    case Perfiles::Alta::Repetida:
        AgregandoUsuario = true;
        d.MsgBox(QStringLiteral("Ese nombre de usuario ya existe!!!"), vbCritical, kError);
        AgregandoUsuario = false;
        return;
    case Perfiles::Alta::Hecha:
        break;
    }
    // The new profile reaches the file at once, before anything else.
    const bool enArchivo = archivos_.AgregarUsuarioAlArchivo(perfiles_.usuario(r.indice));
    LlenarListaUsuarios();
    MostrarUsuario(r.indice);
    if (!enArchivo)
        d.MsgBox(QStringLiteral("No se pudo agregar el nuevo usuario al archivo:\n%1\n\nEl "
                                "usuario queda en la lista y se guardará al salir del programa "
                                "con el botón \"Salir\".")
                     .arg(QDir::toNativeSeparators(archivos_.RutaArchivoUsuarios())),
                 vbExclamation, kError);
}

void frmSwitch::cmdEliminar_Click() {
    Dialogos& d = servicios_.dialogos;
    const int s = cboUsuario->currentIndex();
    switch (perfiles_.puedeEliminar(s)) {
    case Perfiles::Baja::General:
        d.MsgBox(QStringLiteral("No se puede eliminar el usuario ' General '"), vbExclamation,
                 kError);
        return;
    case Perfiles::Baja::NoExiste:
        return;
    case Perfiles::Baja::Unico:
        d.MsgBox(QStringLiteral("No se puede eliminar el único usuario de la lista."),
                 vbExclamation, kError);
        return;
    case Perfiles::Baja::Posible:
        break;
    }
    if (d.MsgBox(QStringLiteral("¿Está seguro de eliminar el usuario actual?"),
                 vbYesNo + vbQuestion, QStringLiteral("Atención")) != vbYes)
        return;
    // The box let other events run: delete only what was asked about.
    if (cboUsuario->currentIndex() != s || !perfiles_.eliminar(s))
        return;
    LlenarListaUsuarios();
    MostrarUsuario(perfiles_.actual());
}

void frmSwitch::cmdPorDefecto_Click() {
    perfiles_.restablecer();
    // The profile's timing settings go back to theirs too: all off.
    if (!perfiles_.vacia())
        archivos_.ajustes().fijar(perfiles_.enUso().Nombre.recortado(), AjustesMotor{});
    MostrarUsuario(perfiles_.actual());
}

bool frmSwitch::SeguirSinGuardar(const QString& causa) {
    if (sinGuardarAceptado_)
        return true;
    // Out of sight nobody can answer: the program goes on without saving,
    // which is what lets the switches and the sound work, and says so.
    if (avisos_.fueraDeVista()) {
        sinGuardarAceptado_ = true;
        avisos_.avisar(Incidencia::Archivos,
                       QStringLiteral("los cambios no se guardarán: %1")
                           .arg(causa.section(QLatin1Char('\n'), 0, 1).simplified()),
                       causa + QStringLiteral("\n\nEl programa funciona sin guardar los cambios."),
                       vbExclamation, QStringLiteral("Atención"));
        return true;
    }
    const QString texto =
        causa + QStringLiteral("\n\n¿Desea usar el programa sin guardar los cambios?");
    if (servicios_.dialogos.MsgBox(texto, vbYesNo + vbQuestion, QStringLiteral("Atención")) !=
        vbYes)
        return false;
    sinGuardarAceptado_ = true;
    return true;
}

bool frmSwitch::CargarArchivos() {
    using Problema = ArchivosDatos::Problema;
    auto causa = [this](Problema p, const QString& que, const QString& ruta, const QString& leido,
                        const QString& porDefecto) {
        switch (p) {
        case Problema::Ninguno:
            break;
        case Problema::SinBloqueo:
            return QStringLiteral(
                       "No se puede crear el archivo de bloqueo quimbal.lck en la carpeta "
                       "de los datos:\n%1\n\nPuede que el disco esté lleno o que la "
                       "carpeta no permita escribir: los cambios no se guardarán.")
                .arg(QDir::toNativeSeparators(archivos_.carpeta()));
        case Problema::SoloLectura:
            return noSeGuarda(que, ruta) + leido;
        case Problema::NoSeAbre:
            return noSeAbre(que, ruta) + porDefecto;
        case Problema::NoSeEscribe:
            return noSeGuarda(que, ruta);
        }
        return QString();
    };
    const ArchivosDatos::Carga usuarios = archivos_.CargarUsuarios(perfiles_);
    archivos_.CargarAjustes();
    const QString causaUsuarios =
        causa(usuarios.problema, QStringLiteral("usuarios"), archivos_.RutaArchivoUsuarios(),
              QStringLiteral("\n\nLos usuarios se cargaron, pero los cambios no se guardarán."),
              QStringLiteral("\n\nEl programa puede funcionar con el usuario \"General\", sin "
                             "guardar los cambios."));
    if (!causaUsuarios.isEmpty() && !SeguirSinGuardar(causaUsuarios))
        return false;
    if (usuarios.sobran)
        avisos_.avisar(
            Incidencia::UsuariosDeMas,
            QStringLiteral("el archivo de usuarios tiene %1 usuarios; se muestran los %2 primeros")
                .arg(usuarios.registros)
                .arg(kMaxUsuarios),
            QStringLiteral("El archivo de usuarios tiene %1 usuarios y el programa puede usar "
                           "solo %2.\nSe muestran los %2 primeros; los demás se conservan "
                           "en el archivo.")
                .arg(usuarios.registros)
                .arg(kMaxUsuarios),
            vbExclamation, QStringLiteral("Atención"));
    LlenarListaUsuarios();
    cboUsuario_Click();

    const ArchivosDatos::Carga config = archivos_.CargarConfiguracion(perfiles_);
    const QString causaConfig =
        causa(config.problema, QStringLiteral("configuración"), archivos_.RutaArchivoConfig(),
              QStringLiteral("\n\nEl puerto y el último usuario elegidos no se guardarán."),
              QStringLiteral("\n\nEl programa puede funcionar con el puerto 1 y el usuario "
                             "\"General\", sin guardar los cambios."));
    if (config.puertoDesconocido != 0) {
        const QString nota = QStringLiteral("El archivo de configuración guarda el puerto COM%1, "
                                            "que el programa no conoce (solo hay COM1 a COM4): se "
                                            "usa el puerto 0, sin switches.\n\nElija el puerto "
                                            "en la lista «Usar Switch conectado en el puerto COM».")
                                 .arg(config.puertoDesconocido);
        avisos_.avisar(Incidencia::PuertoDesconocido,
                       QStringLiteral("puerto COM%1 desconocido en la configuración; se usa el 0")
                           .arg(config.puertoDesconocido),
                       nota, vbExclamation, QStringLiteral("Puerto serie"));
    }
    return causaConfig.isEmpty() || SeguirSinGuardar(causaConfig);
}

} // namespace quimbal
