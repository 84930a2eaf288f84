#include "ui/frmSwitch.h"

#include "actions/Catalogo.h"
#include "input/Entradas.h"
#include "platform/Ayuda.h"
#include "platform/Bandeja.h"
#include "platform/Dialogos.h"
#include "platform/NivelSonido.h"
#include "platform/PuertoSerie.h"
#include "profiles/Archivos.h"
#include "profiles/Perfiles.h"
#include "ui/Controles.h"
#include "ui/Fuentes.h"
#include "ui/fraCajaUsb.h"
#include "ui/frmAjustes.h"
#include "ui/frmMas.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace quimbal {

namespace {
const QColor kRojo(0xFF, 0x00, 0x00);
constexpr int kAsentarMinimizadoMs = 500;

template <class T> T* control(T* c, const QFont& f, int l, int t, int w, int h) {
    c->setFont(f);
    colocar(c, l, t, w, h);
    return c;
}

// Option buttons wrap their caption inside their width, as the window shows
// the port and threshold lists at the end of the second line.
// A screen reader gets the caption whole, without the breaks. The room
// beside the indicator is the style's, when it has less.
void envolver(QRadioButton* o) {
    const int indicador = 20;
    QStyleOptionButton opcion;
    opcion.initFrom(o);
    const int ancho =
        std::min(o->width() - indicador,
                 o->style()->subElementRect(QStyle::SE_RadioButtonContents, &opcion, o).width());
    o->setAccessibleName(QString(o->text()).remove(QLatin1Char('&')));
    o->setText(EnvolverTexto(o->text(), o->font(), ancho));
}

LuzDeTest* etiquetaDeTest(const QString& texto, QWidget* padre, int l, int t, int w, int h) {
    auto* e = control(new LuzDeTest(texto, padre), Verdana(9.75), l, t, w, h);
    e->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    e->setWordWrap(true);
    e->setBackColor(kRojo);
    e->setOpaca(false);
    return e;
}

// What the user is told when port `numero` did not open, with the fix.
QString MotivoFalloPuerto(FalloPuerto fallo, int numero, const QString& dispositivo) {
    const QString puerto = QStringLiteral("COM%1 (%2)").arg(numero).arg(dispositivo);
    switch (fallo) {
    case FalloPuerto::SinPermiso: {
        QString grupo = QFileInfo(dispositivo).group();
        if (grupo.isEmpty() || grupo == QLatin1String("root"))
            grupo = QStringLiteral("dialout");
        QString usuario = qEnvironmentVariable("USER");
        if (usuario.isEmpty())
            usuario = qEnvironmentVariable("LOGNAME", QStringLiteral("SU_USUARIO"));
        return QStringLiteral("No se puede abrir el puerto %1: su usuario no tiene permiso para "
                              "usarlo.\n\nPara dárselo, un administrador debe escribir en una "
                              "terminal:\n\n    sudo usermod -aG %2 %3\n\nDespués hay que "
                              "cerrar la sesión y volver a entrar.")
            .arg(puerto, grupo, usuario);
    }
    case FalloPuerto::NoExiste:
        return QStringLiteral("No se puede abrir el puerto %1: el dispositivo no existe.\n\n"
                              "Compruebe que el adaptador está conectado y que eligió el puerto "
                              "correcto. Si no usa los switches, elija el puerto 0.")
            .arg(puerto);
    case FalloPuerto::Ocupado:
        return QStringLiteral("No se puede abrir el puerto %1: otro programa lo está usando.\n\n"
                              "Cierre ese programa y vuelva a elegir el puerto.")
            .arg(puerto);
    case FalloPuerto::Otro:
        return QStringLiteral("No se puede abrir el puerto %1.").arg(puerto);
    case FalloPuerto::Ninguno:
        break;
    }
    return QString();
}
} // namespace

frmSwitch::frmSwitch(Perfiles& perfiles, ArchivosDatos& archivos, Entradas& entradas,
                     const Servicios& servicios, QWidget* padre)
    : QDialog(padre), perfiles_(perfiles), archivos_(archivos), entradas_(entradas),
      servicios_(servicios),
      avisos_(servicios.dialogos, servicios.notificaciones, servicios.bandeja) {
    setObjectName(QStringLiteral("frmSwitch"));
    setWindowTitle(TituloAplicacion());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    fijarTamano(this, 9390, 4455);
    setModal(false);
    crearControles();
    conectarManejadores();
}

frmSwitch::~frmSwitch() = default;

void frmSwitch::crearControles() {
    const QFont f975 = Verdana(9.75), f1125 = Verdana(11.25), f825 = Verdana(8.25);

    // Frames first, so that window-level controls drawn over them stay on top.
    fraAccion = control(new QGroupBox(QStringLiteral(" Acción a emular "), this), f825, 240, 1560,
                        4815, 2655);
    fraModo = control(new QGroupBox(QStringLiteral(" Forma de activación "), this), f825, 5160,
                      1560, 3975, 2655);

    auto boton = [&](const char* texto, QWidget* padre, int l, int t, int w, int h) {
        return control(new QPushButton(QString::fromUtf8(texto), padre), f975, l, t, w, h);
    };
    cmdAceptar = boton("&Aceptar", this, 5400, 360, 1695, 810);
    cboUsuario = control(new QComboBox(this), f1125, 480, 840, 4335, 390);
    optSwitch = control(
        new QRadioButton(QStringLiteral("Usar S&witch conectado en el puerto COM"), fraModo), f975,
        360, 240, 2775, 495);
    cboSwitch = control(new QComboBox(fraModo), f825, 2520, 480, 615, 315);
    optSonido = control(new QRadioButton(QStringLiteral("Usar &Sonido con umbral"), fraModo), f975,
                        360, 1800, 1935, 615);
    cboSonido = control(new QComboBox(fraModo), f825, 1560, 2100, 735, 315);
    cboTeclas1 = control(new QComboBox(fraAccion), f975, 1200, 480, 2055, 360);
    txtLetra1 = control(new QLineEdit(fraAccion), f975, 3360, 480, 1215, 375);
    cboTeclas2 = control(new QComboBox(fraAccion), f975, 1200, 1215, 2055, 360);
    txtLetra2 = control(new QLineEdit(fraAccion), f975, 3360, 1200, 1215, 375);
    cmdPorDefecto = boton("Establecer valores por &defecto", this, 480, 3480, 3375, 450);
    cmdAgregar = boton("A&gregar", this, 1680, 240, 1455, 450);
    cmdEliminar = boton("&Eliminar", this, 3360, 240, 1455, 450);
    cmdAyuda = boton("A&yuda", this, 7440, 840, 1695, 450);
    cmdSalir = boton("Sali&r", this, 7440, 240, 1695, 450);
    lblUsuario = control(new QLabel(QStringLiteral("Usuario:"), this), f1125, 480, 360, 945, 270);
    lblAccion1 =
        control(new QLabel(QStringLiteral("Switch 1:"), fraAccion), f975, 240, 555, 960, 240);
    lblAccion2 =
        control(new QLabel(QStringLiteral("Switch 2:"), fraAccion), f975, 240, 1275, 960, 240);
    lblTest2 = etiquetaDeTest(QStringLiteral("Test del switch 2"), fraModo, 2400, 960, 1335, 615);
    lblTest1 = etiquetaDeTest(QStringLiteral("Test del switch 1"), fraModo, 840, 960, 1335, 615);
    lblTestSonido =
        etiquetaDeTest(QStringLiteral("Test del sonido"), fraModo, 2400, 1800, 1335, 615);
    cmdMas = boton("&Más", fraAccion, 3720, 1920, 855, 450);
    cmdAjustes = boton("A&justes...", fraAccion, 1200, 1920, 2055, 450);
    cmdAjustes->setToolTip(QStringLiteral("Tiempos de las pulsaciones de este usuario: aceptación, "
                                          "repeticiones, pulsación larga, pausa, confirmación"));

    envolver(optSwitch);
    envolver(optSonido);
    cmdPorDefecto->raise();

    // Object names let tests and tools find each control by its name.
    const std::pair<QObject*, const char*> nombres[] = {
        {cmdAceptar, "cmdAceptar"},       {cboUsuario, "cboUsuario"},
        {optSwitch, "optSwitch"},         {cboSwitch, "cboSwitch"},
        {optSonido, "optSonido"},         {cboSonido, "cboSonido"},
        {cboTeclas1, "cboTeclas1"},       {txtLetra1, "txtLetra1"},
        {cboTeclas2, "cboTeclas2"},       {txtLetra2, "txtLetra2"},
        {cmdPorDefecto, "cmdPorDefecto"}, {cmdAgregar, "cmdAgregar"},
        {cmdEliminar, "cmdEliminar"},     {cmdAyuda, "cmdAyuda"},
        {cmdSalir, "cmdSalir"},           {fraAccion, "Frame2"},
        {lblUsuario, "lblUsuario"},       {lblAccion1, "lblAccion1"},
        {lblAccion2, "lblAccion2"},       {fraModo, "fraModo"},
        {lblTest2, "lblTest2"},           {lblTest1, "lblTest1"},
        {lblTestSonido, "lblTestSonido"}, {cmdMas, "cmdMas"},
        {cmdAjustes, "cmdAjustes"}};
    for (const auto& [o, n] : nombres)
        o->setObjectName(QString::fromLatin1(n));

    // Tab order: the controls that take the focus, by tab index.
    QWidget* orden[] = {cmdAceptar,  cboUsuario, optSwitch,  cboSwitch, optSonido,     cboSonido,
                        cboTeclas1,  txtLetra1,  cboTeclas2, txtLetra2, cmdPorDefecto, cmdAgregar,
                        cmdEliminar, cmdAyuda,   cmdSalir,   cmdMas,    cmdAjustes};
    for (std::size_t i = 0; i + 1 < std::size(orden); ++i)
        QWidget::setTabOrder(orden[i], orden[i + 1]);
    for (QLabel* l : {lblUsuario, lblAccion1, lblAccion2})
        l->setFocusPolicy(Qt::NoFocus);

    // Enter presses Aceptar from any control that is not a button; Esc is Salir.
    for (QPushButton* b : {cmdAceptar, cmdPorDefecto, cmdAgregar, cmdEliminar, cmdAyuda, cmdSalir,
                           cmdMas, cmdAjustes})
        b->setAutoDefault(true);
    cmdAceptar->setDefault(true);

    // Names for a screen reader where the caption does not say what a
    // control is (lists named by their value, two letter boxes with the
    // frame's caption); the labels are tied to what they name. Nothing of
    // what is shown changes.
    lblUsuario->setBuddy(cboUsuario);
    lblAccion1->setBuddy(cboTeclas1);
    lblAccion2->setBuddy(cboTeclas2);
    const std::pair<QWidget*, const char*> accesibles[] = {
        {cboUsuario, "Usuario"},
        {cboSwitch, "Puerto serie"},
        {cboSonido, "Umbral de sonido"},
        {cboTeclas2, "Acción del switch 2"},
        {txtLetra2, "Letra del switch 2"},
        {cmdMas, "Más opciones: retraso entre clics"},
        {cmdPorDefecto, "Establecer valores por defecto"},
    };
    for (const auto& [w, n] : accesibles)
        w->setAccessibleName(QString::fromUtf8(n));
    NombrarEntrada1(QStringLiteral("switch 1"));
    cmdMas->setEnabled(false);
    optSonido->setChecked(true);
    cmdAceptar->setFocus();
}

void frmSwitch::conectarManejadores() {
    connect(cmdAceptar, &QPushButton::clicked, this, &frmSwitch::cmdAceptar_Click);
    connect(cmdAyuda, &QPushButton::clicked, this, &frmSwitch::cmdAyuda_Click);
    connect(cmdSalir, &QPushButton::clicked, this, &frmSwitch::cmdSalir_Click);
    connect(cmdMas, &QPushButton::clicked, this, &frmSwitch::cmdMas_Click);
    connect(cmdAjustes, &QPushButton::clicked, this, &frmSwitch::cmdAjustes_Click);
    connect(cmdAgregar, &QPushButton::clicked, this, &frmSwitch::cmdAgregar_Click);
    connect(cmdEliminar, &QPushButton::clicked, this, &frmSwitch::cmdEliminar_Click);
    connect(cmdPorDefecto, &QPushButton::clicked, this, &frmSwitch::cmdPorDefecto_Click);
    // A choice in a list is the user's (activated); the window's own
    // selections show the table and change nothing.
    connect(cboUsuario, &QComboBox::activated, this, &frmSwitch::cboUsuario_Click);
    connect(cboSwitch, &QComboBox::activated, this, [this] {
        // A port the user picked replaces one the settings file did not know.
        avisos_.resolver(Incidencia::PuertoDesconocido);
        cboSwitch_Click();
    });
    connect(cboSonido, &QComboBox::activated, this, &frmSwitch::cboSonido_Click);
    connect(cboTeclas1, &QComboBox::activated, this, &frmSwitch::cboTeclas1_Click);
    connect(cboTeclas2, &QComboBox::activated, this, &frmSwitch::cboTeclas2_Click);
    connect(txtLetra1, &QLineEdit::textEdited, this, &frmSwitch::txtLetra1_Change);
    connect(txtLetra2, &QLineEdit::textEdited, this, &frmSwitch::txtLetra2_Change);
    connect(optSwitch, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ActivaOpcionSwitch();
    });
    connect(optSonido, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            ActivaOpcionSonido();
    });
    connect(&entradas_, &Entradas::pruebaSwitch, this, [this](int numero, bool pulsado) {
        (numero == 1 ? lblTest1 : lblTest2)->setOpaca(pulsado);
    });
    connect(&entradas_, &Entradas::pruebaSonido, lblTestSonido, &Etiqueta::setOpaca);
    connect(&entradas_, &Entradas::cajaUsb, this, &frmSwitch::AvisarCajaUsb);
    // What the timing settings made of each press: a mark on its test label
    // until the next press (accepted, ignored, or made while paused).
    connect(&entradas_, &Entradas::informe, this, [this](int numero, Informe informe) {
        Etiqueta* e = numero == 1 ? lblTest1 : numero == 2 ? lblTest2 : lblTestSonido;
        switch (informe) {
        case Informe::Pulsado:
            e->setMarca(QString());
            break;
        case Informe::Aceptado:
            e->setMarca(QStringLiteral("✓"));
            break;
        case Informe::Ignorado:
            e->setMarca(QStringLiteral("✗"));
            break;
        case Informe::Pausado:
            e->setMarca(QStringLiteral("‖"));
            break;
        case Informe::Accion:
        case Informe::Soltado:
            break;
        }
    });
    // A sound server that comes after the start: the capture runs by itself.
    connect(&servicios_.sonido, &NivelSonido::enMarcha, this, [this](bool capturando) {
        if (capturando)
            avisos_.resolver(Incidencia::Sonido);
    });
    // The port lost or back by itself: only its tooltip says so; no box, the
    // window may be hidden.
    connect(&entradas_, &Entradas::puertoRecuperado, this, [this](bool abierto) {
        const int numero = perfiles_.puerto();
        const QString dispositivo = servicios_.puerto.dispositivo();
        if (abierto) {
            avisoPuertoPendiente_ = false;
            avisos_.resolver(Incidencia::Puerto);
            cboSwitch->setToolTip(QStringLiteral("COM%1: %2").arg(numero).arg(dispositivo));
        } else {
            cboSwitch->setToolTip(QStringLiteral("COM%1 (%2) dejó de responder (¿se desconectó "
                                                 "el adaptador?). Se intenta abrirlo de nuevo "
                                                 "cada segundo.")
                                      .arg(numero)
                                      .arg(dispositivo));
        }
    });
}

void frmSwitch::Form_Load() {
    entradas_.ModoTest = true;
    {
        const QSignalBlocker b1(cboSwitch), b2(cboSonido), b3(cboTeclas1), b4(cboTeclas2);
        cboSwitch->clear();
        for (int i = 0; i <= 4; ++i)
            cboSwitch->addItem(QString::number(i));
        cboSonido->clear();
        for (int i = 1; i <= 10; ++i)
            cboSonido->addItem(QString::number(i));
        cboTeclas1->clear();
        cboTeclas2->clear();
        for (const EntradaCatalogo& e : Catalogo) {
            cboTeclas1->addItem(QString::fromUtf8(e.texto));
            cboTeclas2->addItem(QString::fromUtf8(e.texto));
        }
    }
    entradas_.Switch1Pulsado = false;
    // Where the desktop has no notification area the window gets a minimise
    // button before it is first shown: changing it later re-creates the
    // window, which some window managers then leave unmapped.
    if (!bandeja().hayAreaNotificacion())
        setWindowFlag(Qt::WindowMinimizeButtonHint, true);

    // A data file that can be neither opened nor written, when the user
    // chose not to run without saving: the window unloads at once and the
    // program ends without writing anything.
    if (!CargarArchivos()) {
        Descargar();
        return;
    }
    const QString UltimoUsuario = perfiles_.ConfigInicio.NombreUsuario.texto();
    perfiles_.fijarPuerto(perfiles_.ConfigInicio.Puerto);
    cboSwitch->setCurrentIndex(perfiles_.puerto());
    cboSwitch_Click();
    const int ultimo = perfiles_.buscarUltimo(UltimoUsuario);
    if (ultimo >= 0) {
        cboUsuario->setCurrentIndex(ultimo);
        cboUsuario_Click();
    }
    // After the tray icon, which the program adds before the load.
    // The USB switch box, if one was chosen: the machine's, like the port.
    if (entradas_.Caja())
        UsarCajaUsb(archivos_.ajustes().usb().usb);
    if (!entradas_.Arrancar(perfiles_.puerto()))
        avisos_.avisar(
            Incidencia::Sonido,
            QStringLiteral("no hay captura de sonido (¿falta el servidor de sonido o "
                           "el micrófono?); empezará en cuanto se pueda"),
            QStringLiteral("No se ha podido iniciar la DLL de reconocimiento de sonido!"),
            vbOKOnly);
    ComprobarPuerto();
}

void frmSwitch::Form_Unload() {
    entradas_.Parar();
    archivos_.CerrarArchivos();
}

void frmSwitch::Cargar() {
    if (cargada_)
        return;
    cargada_ = true;
    Form_Load();
}

void frmSwitch::Descargar() {
    if (!cargada_ || descargada_)
        return;
    descargada_ = true;
    Form_Unload();
    hide();
    emit descargada();
}

void frmSwitch::reject() {
    cmdSalir->click();
}

void frmSwitch::closeEvent(QCloseEvent* e) {
    // Closing from the title bar (or a session ending) unloads the window.
    Descargar();
    e->accept();
}

void frmSwitch::cmdAceptar_Click() {
    entradas_.ModoTest = false;
    OcultarHaciaBandeja();
    avisos_.fijarFueraDeVista(true);
}

void frmSwitch::OcultarHaciaBandeja() {
    if (bandeja().hayAreaNotificacion()) {
        hide();
        return;
    }
    if (!avisadoSinBandeja_) {
        avisadoSinBandeja_ = true;
        avisos_.avisar(
            Incidencia::SinBandeja,
            QStringLiteral("el escritorio no tiene área de notificación: la ventana está "
                           "minimizada en la barra de tareas"),
            QStringLiteral("El escritorio no tiene área de notificación, así que el icono del "
                           "programa no puede mostrarse en ella.\n\nLa ventana se minimizará "
                           "en la barra de tareas: para volver a configurar el programa, "
                           "restáurela desde allí."),
            vbExclamation);
    }
    // A window without a minimise button may not be minimised by the window
    // manager: it got one at load; if the notification area went away since,
    // it gets one now.
    if (!(windowFlags() & Qt::WindowMinimizeButtonHint))
        setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    if (isVisible()) {
        showMinimized();
        return;
    }
    // Never shown yet (started straight into the notification area): some
    // window managers map a window that asks to start minimised as a normal
    // one, which would read as the user restoring it. It is shown without
    // taking the keyboard from the user, then minimised.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    minimizando_ = true;
    show();
    QTimer::singleShot(0, this, [this] {
        if (!entradas_.ModoTest)
            showMinimized();
        else
            minimizando_ = false;
    });
}

void frmSwitch::cmdAyuda_Click() {
    QString motivo;
    const QString archivo = !ArchivoAyuda.isEmpty()
                                ? ArchivoAyuda
                                : QDir(archivos_.carpeta()).filePath(QStringLiteral("quimbal.hlp"));
    if (!servicios_.ayuda.abrir(archivo, motivo))
        servicios_.dialogos.MsgBox(motivo, vbExclamation, QStringLiteral("Ayuda"));
}

void frmSwitch::cmdSalir_Click() {
    PreguntandoSalida = true;
    const int respuesta = servicios_.dialogos.MsgBox(QStringLiteral("¿Desea salir del programa?"),
                                                     vbYesNo + vbQuestion + vbDefaultButton2,
                                                     QStringLiteral("Atención!"));
    PreguntandoSalida = false;
    if (respuesta != vbYes)
        return;
    // A save that fails (a full disk) is tried again for as long as the user
    // asks; each file is either replaced whole or keeps its earlier content.
    PreguntandoSalida = true;
    for (QStringList fallidos = archivos_.GuardarTodo(perfiles_); !fallidos.isEmpty();
         fallidos = archivos_.GuardarTodo(perfiles_)) {
        const int otraVez = servicios_.dialogos.MsgBox(
            QStringLiteral("No se pudieron guardar los cambios en:\n%1\n\nEse archivo conserva "
                           "su contenido anterior.\n\n¿Desea intentarlo de nuevo? Antes, libere "
                           "espacio en el disco. Si contesta «No», el programa se cerrará sin "
                           "guardar los cambios.")
                .arg(fallidos.join(QLatin1Char('\n'))),
            vbYesNo + vbExclamation, QStringLiteral("Error"));
        if (otraVez != vbYes)
            break;
    }
    PreguntandoSalida = false;
    Descargar();
}

void frmSwitch::cmdMas_Click() {
    if (const auto r = MostrarMasOpciones(this, servicios_.dialogos, perfiles_.enUso().Retraso))
        perfiles_.fijarRetraso(*r);
}

void frmSwitch::NombrarEntrada1(const QString& entrada) {
    cboTeclas1->setAccessibleName(QStringLiteral("Acción del ") + entrada);
    txtLetra1->setAccessibleName(QStringLiteral("Letra del ") + entrada);
}

void frmSwitch::cmdAjustes_Click() {
    if (perfiles_.vacia())
        return;
    const QString nombre = perfiles_.enUso().Nombre.recortado();
    const std::optional<ResultadoAjustes> r =
        MostrarAjustes(this, servicios_.dialogos, archivos_.ajustes().de(nombre),
                       entradas_.Caja() ? &entradas_ : nullptr);
    if (!r)
        return;
    archivos_.ajustes().fijar(nombre, r->ajustes);
    entradas_.FijarAjustes(r->ajustes);
    if (r->caja && *r->caja != entradas_.CajaUsbElegida()) {
        archivos_.ajustes().fijarUsb(*r->caja);
        UsarCajaUsb(*r->caja);
    }
}

void frmSwitch::UsarCajaUsb(const std::optional<SwitchUsb>& usb) {
    if (!usb)
        avisos_.resolver(Incidencia::CajaUsb);
    entradas_.FijarCajaUsb(usb);
}

void frmSwitch::AvisarCajaUsb(bool conectada) {
    const std::optional<SwitchUsb>& usb = entradas_.CajaUsbElegida();
    // The learning step in the settings dialog says it there.
    if (entradas_.Aprendiendo() || !usb)
        return;
    const CajaUsb& caja = *entradas_.Caja();
    if (conectada) {
        std::fprintf(stderr, "quimbal: caja de switches USB «%s» en uso (%s)\n",
                     qPrintable(usb->nombre), qPrintable(caja.dispositivo()));
        avisos_.resolver(Incidencia::CajaUsb);
        return;
    }
    const QString resumen = ResumenFalloCaja(caja.fallo(), usb->nombre);
    // Unplugged: it is used again as soon as it comes back, nothing to do.
    if (caja.fallo() == FalloCaja::NoEsta) {
        avisos_.senalar(Incidencia::CajaUsb, resumen);
        return;
    }
    avisos_.avisar(
        Incidencia::CajaUsb, resumen,
        TextoFalloCaja(caja.fallo(), usb->nombre, caja.dispositivo(), usb->vendor, usb->product),
        vbExclamation, QStringLiteral("Caja de switches USB"));
}

void frmSwitch::ActivaOpcionSwitch() {
    perfiles_.fijarModo(kModoSwitch);
    {
        const QSignalBlocker b(optSwitch);
        optSwitch->setChecked(true);
    }
    cboSwitch->setEnabled(true);
    entradas_.UsarModo(kModoSwitch);
    lblAccion1->setText(QStringLiteral("Switch 1:"));
    NombrarEntrada1(QStringLiteral("switch 1"));
    lblAccion2->setEnabled(true);
    cboTeclas2->setEnabled(true);
    txtLetra2->setEnabled(true);
    lblTest1->setEnabled(true);
    lblTest2->setEnabled(true);
    lblTestSonido->setOpaca(false);
    lblTestSonido->setEnabled(false);
    cboSonido->setEnabled(false);
    cmdMas->setEnabled(false);
}

void frmSwitch::ActivaOpcionSonido() {
    perfiles_.fijarModo(kModoSonido);
    {
        const QSignalBlocker b(optSonido);
        optSonido->setChecked(true);
    }
    cboSonido->setCurrentIndex(UmbralValido(perfiles_.enUso().Umbral) - 1);
    cboSonido_Click();
    cboSwitch->setEnabled(false);
    entradas_.UsarModo(kModoSonido);
    lblAccion1->setText(QStringLiteral("Sonido:"));
    NombrarEntrada1(QStringLiteral("sonido"));
    lblAccion2->setEnabled(false);
    cboTeclas2->setEnabled(false);
    txtLetra2->setEnabled(false);
    lblTest1->setOpaca(false);
    lblTest2->setOpaca(false);
    lblTest1->setEnabled(false);
    lblTest2->setEnabled(false);
    lblTestSonido->setEnabled(true);
    cboSonido->setEnabled(true);
    cmdMas->setEnabled(true);
}

void frmSwitch::cboSwitch_Click() {
    if (cboSwitch->currentIndex() < 0)
        return;
    perfiles_.fijarPuerto(cboSwitch->currentIndex());
    entradas_.SeleccionarPuerto(perfiles_.puerto());
    ComprobarPuerto();
}

void frmSwitch::ComprobarPuerto() {
    const int numero = perfiles_.puerto();
    const PuertoSerie& puerto = servicios_.puerto;
    if (numero <= 0 || puerto.abierto()) {
        cboSwitch->setToolTip(
            numero <= 0 ? QStringLiteral("Sin puerto: los switches no se leen")
                        : QStringLiteral("COM%1: %2").arg(numero).arg(puerto.dispositivo()));
        avisoPuertoPendiente_ = false;
        avisos_.resolver(Incidencia::Puerto);
        return;
    }
    cboSwitch->setToolTip(MotivoFalloPuerto(puerto.fallo(), numero, puerto.dispositivo()));
    std::fprintf(stderr, "quimbal: no se puede abrir el puerto COM%d (%s)\n", numero,
                 qPrintable(puerto.dispositivo()));
    // Only the switches need the port: a profile in sound mode is not
    // bothered about it.
    const bool importa = perfiles_.enUso().Modo == kModoSwitch;
    if (avisos_.fueraDeVista()) {
        avisoPuertoPendiente_ = false;
        if (importa)
            avisos_.avisar(Incidencia::Puerto,
                           QStringLiteral("no se puede abrir el puerto COM%1 (%2): los switches "
                                          "no funcionan; se intenta abrirlo de nuevo cada segundo")
                               .arg(numero)
                               .arg(puerto.dispositivo()),
                           cboSwitch->toolTip(), vbExclamation, QStringLiteral("Puerto serie"));
        return;
    }
    avisoPuertoPendiente_ = importa;
    if (isVisible())
        AvisarFalloPuerto();
}

void frmSwitch::AvisarFalloPuerto() {
    if (!avisoPuertoPendiente_ || !isVisible())
        return;
    avisoPuertoPendiente_ = false;
    servicios_.dialogos.MsgBox(cboSwitch->toolTip(), vbExclamation, QStringLiteral("Puerto serie"));
}

void frmSwitch::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Minimised to the task bar is still out of sight.
    if (!isMinimized() && !minimizando_)
        AlVolverALaVista();
}

void frmSwitch::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    // On its way to the task bar the window may pass through other states
    // (the window manager maps it first): those are not the user's. Once it
    // is minimised, a moment later, a restore is the user's again.
    if (e->type() == QEvent::WindowStateChange && minimizando_ && isMinimized())
        QTimer::singleShot(kAsentarMinimizadoMs, this, [this] {
            if (isMinimized())
                minimizando_ = false;
        });
}

void frmSwitch::AlVolverALaVista() {
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (bandeja().hayAreaNotificacion())
        avisos_.resolver(Incidencia::SinBandeja);
    // Once the window is on the screen, with whatever the load has shown.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible() || isMinimized())
            return;
        avisos_.alVolverALaVista();
        AvisarFalloPuerto();
    });
}

void frmSwitch::TerminarSesion() {
    if (!cargada_ || descargada_)
        return;
    // As "Salir" saves once its question is answered Yes; nobody is there to
    // answer a question about a failed save.
    const QStringList fallidos = archivos_.GuardarTodo(perfiles_);
    for (const QString& f : fallidos)
        std::fprintf(stderr, "quimbal: no se pudieron guardar los cambios en %s\n", qPrintable(f));
    Descargar();
}

void frmSwitch::cboSonido_Click() {
    if (cboSonido->currentIndex() >= 0)
        perfiles_.fijarUmbral(cboSonido->currentIndex() + 1);
}

} // namespace quimbal
