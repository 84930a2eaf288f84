#include "ui/frmSwitch.h"

#include "input/modSonido.h"
#include "platform/Fuentes.h"

#include <QCloseEvent>

namespace quimbal {

namespace {
const QColor kRojo(0xFF, 0x00, 0x00);

template <class T> T* control(T* c, const QFont& f, int l, int t, int w, int h) {
    c->setFont(f);
    colocar(c, l, t, w, h);
    return c;
}

// Option buttons wrap their caption inside their width, as the window shows
// the port and threshold lists at the end of the second line.
void envolver(Opcion* o) {
    const int indicador = 20;
    o->setText(EnvolverTexto(o->text(), o->font(), o->width() - indicador));
}

Etiqueta* etiquetaDeTest(const QString& texto, QWidget* padre, int l, int t, int w, int h) {
    auto* e = control(new Etiqueta(texto, padre), Verdana(9.75), l, t, w, h);
    e->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    e->setWordWrap(true);
    e->setBackColor(kRojo);
    e->setConBorde(true);
    e->setOpaca(false);
    return e;
}
} // namespace

frmSwitch::frmSwitch(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmSwitch"));
    setWindowTitle(QStringLiteral("Quimbal 1.6"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twips(9390), twips(4455));
    setModal(false);
    crearControles();
    conectarManejadores();
}

frmSwitch::~frmSwitch() = default;

void frmSwitch::crearControles() {
    const QFont f975 = Verdana(9.75), f1125 = Verdana(11.25), f825 = Verdana(8.25);

    // Frames first, so that window-level controls drawn over them stay on top.
    Frame2 = control(new Marco(QStringLiteral(" Acción a emular "), this), f825, 240, 1560, 4815,
                     2655);
    fraModo = control(new Marco(QStringLiteral(" Forma de activación "), this), f825, 5160, 1560,
                      3975, 2655);

    cmdAceptar = control(new Boton(QStringLiteral("&Aceptar"), this), f975, 5400, 360, 1695, 810);
    cboUsuario = control(new Lista(this), f1125, 480, 840, 4335, 390);
    optSwitch = control(new Opcion(QStringLiteral("Usar S&witch conectado en el puerto COM"),
                                   fraModo),
                        f975, 360, 240, 2775, 495);
    cboSwitch = control(new Lista(fraModo), f825, 2520, 480, 615, 315);
    optSonido = control(new Opcion(QStringLiteral("Usar &Sonido con umbral"), fraModo), f975, 360,
                        1800, 1935, 615);
    cboSonido = control(new Lista(fraModo), f825, 1560, 2100, 735, 315);
    cboTeclas1 = control(new Lista(Frame2), f975, 1200, 480, 2055, 360);
    txtLetra1 = control(new CajaTexto(Frame2), f975, 3360, 480, 1215, 375);
    cboTeclas2 = control(new Lista(Frame2), f975, 1200, 1215, 2055, 360);
    txtLetra2 = control(new CajaTexto(Frame2), f975, 3360, 1200, 1215, 375);
    cmdPorDefecto = control(new Boton(QStringLiteral("Establecer valores por &defecto"), this),
                            f975, 480, 3480, 3375, 450);
    cmdAgregar = control(new Boton(QStringLiteral("A&gregar"), this), f975, 1680, 240, 1455, 450);
    cmdEliminar =
        control(new Boton(QStringLiteral("&Eliminar"), this), f975, 3360, 240, 1455, 450);
    cmdAyuda = control(new Boton(QStringLiteral("A&yuda"), this), f975, 7440, 840, 1695, 450);
    cmdSalir = control(new Boton(QStringLiteral("Sali&r"), this), f975, 7440, 240, 1695, 450);
    lblUsuario = control(new QLabel(QStringLiteral("Usuario:"), this), f1125, 480, 360, 945, 270);
    lblAccion1 = control(new QLabel(QStringLiteral("Switch 1:"), Frame2), f975, 240, 555, 960, 240);
    lblAccion2 = control(new QLabel(QStringLiteral("Switch 2:"), Frame2), f975, 240, 1275, 960, 240);
    lblTest2 = etiquetaDeTest(QStringLiteral("Test del switch 2"), fraModo, 2400, 960, 1335, 615);
    lblTest1 = etiquetaDeTest(QStringLiteral("Test del switch 1"), fraModo, 840, 960, 1335, 615);
    lblTestSonido = etiquetaDeTest(QStringLiteral("Test del sonido"), fraModo, 2400, 1800, 1335, 615);
    cmdMas = control(new Boton(QStringLiteral("&Más"), Frame2), f975, 3720, 1920, 855, 450);

    envolver(optSwitch);
    envolver(optSonido);
    cmdPorDefecto->raise();

    // Object names let tests and tools find each control by its name.
    const std::pair<QObject*, const char*> nombres[] = {
        {cmdAceptar, "cmdAceptar"}, {cboUsuario, "cboUsuario"},   {optSwitch, "optSwitch"},
        {cboSwitch, "cboSwitch"},   {optSonido, "optSonido"},     {cboSonido, "cboSonido"},
        {cboTeclas1, "cboTeclas1"}, {txtLetra1, "txtLetra1"},     {cboTeclas2, "cboTeclas2"},
        {txtLetra2, "txtLetra2"},   {cmdPorDefecto, "cmdPorDefecto"}, {cmdAgregar, "cmdAgregar"},
        {cmdEliminar, "cmdEliminar"}, {cmdAyuda, "cmdAyuda"},     {cmdSalir, "cmdSalir"},
        {Frame2, "Frame2"},         {lblUsuario, "lblUsuario"},   {lblAccion1, "lblAccion1"},
        {lblAccion2, "lblAccion2"}, {fraModo, "fraModo"},         {lblTest2, "lblTest2"},
        {lblTest1, "lblTest1"},     {lblTestSonido, "lblTestSonido"}, {cmdMas, "cmdMas"}};
    for (const auto& [o, n] : nombres)
        o->setObjectName(QString::fromLatin1(n));

    // Tab order: the controls that take the focus, by tab index.
    QWidget* orden[] = {cmdAceptar, cboUsuario,    optSwitch,  cboSwitch,   optSonido,
                        cboSonido,  cboTeclas1,    txtLetra1,  cboTeclas2,  txtLetra2,
                        cmdPorDefecto, cmdAgregar, cmdEliminar, cmdAyuda,   cmdSalir, cmdMas};
    for (std::size_t i = 0; i + 1 < std::size(orden); ++i)
        QWidget::setTabOrder(orden[i], orden[i + 1]);
    for (QLabel* l : {lblUsuario, lblAccion1, lblAccion2})
        l->setFocusPolicy(Qt::NoFocus);

    // Enter presses Aceptar from any control that is not a button; Esc is Salir.
    for (Boton* b : {cmdAceptar, cmdPorDefecto, cmdAgregar, cmdEliminar, cmdAyuda, cmdSalir, cmdMas})
        b->setAutoDefault(true);
    cmdAceptar->setDefault(true);

    tmrSwitch = new Temporizador(this);
    tmrSwitch->setObjectName(QStringLiteral("tmrSwitch"));
    tmrSwitch->setInterval(50);
    tmrSwitch->setEnabled(false);
    tmrDelaySonido = new Temporizador(this);
    tmrDelaySonido->setObjectName(QStringLiteral("tmrDelaySonido"));
    tmrDelaySonido->setInterval(400);
    tmrDelaySonido->setEnabled(false);

    cmdMas->setEnabled(false);
    optSonido->setChecked(true);
    cmdAceptar->setFocus();
}

void frmSwitch::conectarManejadores() {
    cmdAceptar->Click = [this] { cmdAceptar_Click(); };
    cmdAyuda->Click = [this] { cmdAyuda_Click(); };
    cmdSalir->Click = [this] { cmdSalir_Click(); };
    cmdMas->Click = [this] { cmdMas_Click(); };
    cboUsuario->Click = [this] { cboUsuario_Click(); };
    cmdAgregar->Click = [this] { cmdAgregar_Click(); };
    cmdEliminar->Click = [this] { cmdEliminar_Click(); };
    cmdPorDefecto->Click = [this] { cmdPorDefecto_Click(); };
    optSwitch->Click = [this] { optSwitch_Click(); };
    optSonido->Click = [this] { optSonido_Click(); };
    cboSwitch->Click = [this] { cboSwitch_Click(); };
    tmrSwitch->Timer = [this] { tmrSwitch_Timer(); };
    cboSonido->Click = [this] { cboSonido_Click(); };
    tmrDelaySonido->Timer = [this] { tmrDelaySonido_Timer(); };
    RegistrarReceptorNivel(hWnd(), [this](std::int16_t nivel) { ProcesarNivelSonido(nivel); });
    cboTeclas1->Click = [this] { cboTeclas1_Click(); };
    cboTeclas2->Click = [this] { cboTeclas2_Click(); };
    txtLetra1->Change = [this] { txtLetra1_Change(); };
    txtLetra2->Change = [this] { txtLetra2_Change(); };
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

void frmSwitch::reject() { cmdSalir->pulsar(); }

void frmSwitch::closeEvent(QCloseEvent* e) {
    // Closing from the title bar (or a session ending) unloads the window.
    Descargar();
    e->accept();
}

} // namespace quimbal
