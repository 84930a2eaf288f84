#include "profiles/Ajustes.h"

#include "platform/Disco.h"
#include "profiles/EscrituraSegura.h"
#include "profiles/TextoFijo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <cmath>
#include <cstdio>

namespace quimbal {

namespace {
const QString kPerfiles = QStringLiteral("perfiles");
const QString kUsb = QStringLiteral("usb");
// The highest key or button code of the kernel's input events.
constexpr int kCodigoMaximo = 0x2FF;

// Profile names are compared as the profile table compares them.
QString claveDe(const QString& usuario) {
    return Recortar(usuario).toUpper();
}

std::optional<double> entero(const QJsonValue& v) {
    const double d = v.toDouble();
    if (!v.isDouble() || std::trunc(d) != d)
        return std::nullopt;
    return d;
}

// What an entry means for use; each problem is one phrase in `problemas`.
AjustesMotor leerAjustes(const QJsonValue& valor, QStringList& problemas) {
    AjustesMotor a;
    if (!valor.isObject()) {
        problemas << QStringLiteral("no es un objeto; usa los valores por defecto");
        return a;
    }
    const QJsonObject o = valor.toObject();
    for (const CampoAjuste& c : kCamposAjuste) {
        const QJsonValue v = o.value(QLatin1String(c.clave));
        if (v.isUndefined())
            continue;
        const std::optional<double> d = entero(v);
        if (!d) {
            problemas
                << QStringLiteral("«%1» no es un número entero; queda desactivado").arg(c.clave);
            continue;
        }
        const int usado = *d < 0 ? 0 : *d > c.maximo ? c.maximo : static_cast<int>(*d);
        if (*d != usado)
            problemas << QStringLiteral("«%1» está fuera de 0 a %2; se usa %3")
                             .arg(QLatin1String(c.clave))
                             .arg(c.maximo)
                             .arg(usado);
        a.*c.miembro = usado;
    }
    const QJsonValue v = o.value(QLatin1String(kClaveConfirmacion));
    if (v.isBool())
        a.confirmacion = v.toBool();
    else if (!v.isUndefined())
        problemas << QStringLiteral("«confirmacion» no es true ni false; queda desactivada");
    return a;
}

// An entry that says nothing but the defaults need not be written.
bool omitible(const QJsonValue& crudo) {
    QStringList problemas;
    if (!crudo.isObject() || leerAjustes(crudo, problemas) != AjustesMotor{} ||
        !problemas.isEmpty())
        return false;
    for (const QString& clave : crudo.toObject().keys()) {
        bool conocida = clave == QLatin1String(kClaveConfirmacion);
        for (const CampoAjuste& c : kCamposAjuste)
            conocida = conocida || clave == QLatin1String(c.clave);
        if (!conocida)
            return false;
    }
    return true;
}

std::optional<int> codigo(const QJsonValue& v) {
    const std::optional<double> d = entero(v);
    if (!d || *d < 1 || *d > kCodigoMaximo)
        return std::nullopt;
    return static_cast<int>(*d);
}

std::optional<quint16> hexadecimal(const QJsonValue& v) {
    const QString t = v.toString();
    if (!v.isString() || t.size() != 4)
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return std::nullopt;
    return static_cast<quint16>(t.toUInt(nullptr, 16));
}
} // namespace

LecturaUsb LeerUsb(const QJsonValue& valor) {
    LecturaUsb r;
    if (valor.isUndefined() || valor.isNull())
        return r;
    const QJsonObject o = valor.toObject();
    SwitchUsb u;
    u.id = o.value(QStringLiteral("id")).toString();
    u.nombre = o.value(QStringLiteral("nombre")).toString();
    const std::optional<quint16> vendor = hexadecimal(o.value(QStringLiteral("vendor")));
    const std::optional<quint16> product = hexadecimal(o.value(QStringLiteral("product")));
    const std::optional<int> p1 = codigo(o.value(QStringLiteral("pulsador1")));
    const QJsonValue v2 = o.value(QStringLiteral("pulsador2"));
    const std::optional<int> p2 = codigo(v2);
    if (!valor.isObject())
        r.problema = QStringLiteral("no es un objeto");
    else if (!o.value(QStringLiteral("id")).isString() &&
             !o.value(QStringLiteral("id")).isUndefined())
        r.problema = QStringLiteral("«id» no es un texto");
    // Without a by-id name the box is found by vendor, product and name.
    else if (u.id.trimmed().isEmpty() && u.nombre.trimmed().isEmpty())
        r.problema = QStringLiteral("falta «id» o «nombre»");
    else if (!vendor || !product)
        r.problema = QStringLiteral("«vendor» y «product» han de ser 4 cifras hexadecimales");
    else if (o.contains(QStringLiteral("nombre")) && !o.value(QStringLiteral("nombre")).isString())
        r.problema = QStringLiteral("«nombre» no es un texto");
    else if (!p1)
        r.problema = QStringLiteral("«pulsador1» no es un código de 1 a %1").arg(kCodigoMaximo);
    else if (!v2.isUndefined() && (!p2 || *p2 == *p1))
        r.problema = QStringLiteral("«pulsador2» no es un código de 1 a %1 distinto de «pulsador1»")
                         .arg(kCodigoMaximo);
    if (!r.problema.isEmpty())
        return r;
    u.vendor = *vendor;
    u.product = *product;
    u.pulsador1 = *p1;
    u.pulsador2 = p2;
    r.usb = u;
    return r;
}

QJsonObject EscribirUsb(const SwitchUsb& usb, QJsonObject base) {
    auto hex = [](quint16 n) { return QStringLiteral("%1").arg(n, 4, 16, QLatin1Char('0')); };
    base.insert(QStringLiteral("id"), usb.id);
    base.insert(QStringLiteral("vendor"), hex(usb.vendor));
    base.insert(QStringLiteral("product"), hex(usb.product));
    base.insert(QStringLiteral("nombre"), usb.nombre);
    base.insert(QStringLiteral("pulsador1"), usb.pulsador1);
    if (usb.pulsador2)
        base.insert(QStringLiteral("pulsador2"), *usb.pulsador2);
    else
        base.remove(QStringLiteral("pulsador2"));
    return base;
}

// Until the file has been read, writing it would replace what is there unseen.
Ajustes::Ajustes(QString carpeta) : carpeta_(std::move(carpeta)), noEscribir_(true) {}

QString Ajustes::ruta() const {
    return QDir(carpeta_).filePath(QStringLiteral("ajustes.json"));
}

void Ajustes::avisar(const QString& linea) {
    avisos_ << linea;
    std::fprintf(stderr, "quimbal: %s\n", linea.toUtf8().constData());
}

void Ajustes::cargar() {
    avisos_.clear();
    raiz_ = QJsonObject();
    entradas_.clear();
    perfilesCrudos_.reset();
    noEscribir_ = soloLectura_;
    const QString real = RutaReal(ruta());
    const QFileInfo info(real);
    if (!info.exists()) {
        avisar(QStringLiteral("%1 no existe; todos los perfiles usan los valores por defecto")
                   .arg(QDir::toNativeSeparators(ruta())));
        return;
    }
    QString motivo;
    QByteArray datos;
    QFile archivo(real);
    if (info.isDir())
        motivo = QStringLiteral("hay una carpeta en su lugar");
    else if (!info.isFile())
        motivo = QStringLiteral("no es un archivo normal"); // a FIFO would hold the read
    else if (!archivo.open(QIODevice::ReadOnly))
        motivo = QStringLiteral("no se puede leer");
    else if (datos = archivo.readAll(); archivo.error() != QFileDevice::NoError)
        motivo = QStringLiteral("no se puede leer entero");
    QJsonDocument documento;
    if (motivo.isEmpty()) {
        QJsonParseError error;
        documento = QJsonDocument::fromJson(datos, &error);
        if (error.error != QJsonParseError::NoError)
            motivo = QStringLiteral("no es JSON válido: error en el carácter %1").arg(error.offset);
        else if (!documento.isObject())
            motivo = QStringLiteral("no contiene un objeto JSON");
    }
    if (!motivo.isEmpty()) {
        apartar(real, motivo);
        return;
    }
    raiz_ = documento.object();
    leerPerfiles();
    const LecturaUsb usb = LeerUsb(usbCrudo());
    if (!usb.problema.isEmpty())
        avisar(QStringLiteral("%1: la entrada «usb» no se puede usar (%2); se guarda como está")
                   .arg(QDir::toNativeSeparators(ruta()), usb.problema));
}

// The damaged file goes aside, never under a new one: someone may want to
// mend it by hand.
void Ajustes::apartar(const QString& real, const QString& motivo) {
    const QString apartado = real + QStringLiteral(".dañado");
    const QFileInfo previo(apartado);
    // Nothing is renamed over a folder that is not empty, nor a folder over a file.
    if (previo.isDir() && !previo.isSymLink())
        QDir().rmdir(apartado);
    else if (QFileInfo(real).isDir())
        QFile::remove(apartado);
    const QString nombre = QDir::toNativeSeparators(ruta());
    if (!soloLectura_ && ReemplazarPorRenombre(real, apartado)) {
        SincronizarCarpeta(QFileInfo(real).absolutePath());
        avisar(QStringLiteral("%1 está dañado (%2); se ha apartado como %3 y todos los perfiles "
                              "usan los valores por defecto")
                   .arg(nombre, motivo, QDir::toNativeSeparators(apartado)));
        return;
    }
    noEscribir_ = true;
    avisar(QStringLiteral("%1 está dañado (%2) y no se ha podido apartar; todos los perfiles usan "
                          "los valores por defecto y no se escribirá encima")
               .arg(nombre, motivo));
}

void Ajustes::leerPerfiles() {
    const QString nombre = QDir::toNativeSeparators(ruta());
    const QJsonValue perfiles = raiz_.value(kPerfiles);
    if (perfiles.isUndefined())
        return;
    if (!perfiles.isObject()) {
        perfilesCrudos_ = perfiles;
        avisar(QStringLiteral("%1: «perfiles» no es un objeto; todos los perfiles usan los "
                              "valores por defecto")
                   .arg(nombre));
        return;
    }
    const QJsonObject o = perfiles.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString clave = claveDe(it.key());
        if (entradas_.contains(clave)) {
            avisar(QStringLiteral("%1: el perfil «%2» aparece más de una vez; esta entrada no se "
                                  "usa y no se guardará")
                       .arg(nombre, it.key()));
            continue;
        }
        QStringList problemas;
        entradas_.insert(clave, {it.value(), leerAjustes(it.value(), problemas)});
        for (const QString& p : problemas)
            avisar(QStringLiteral("%1: perfil «%2»: %3").arg(nombre, Recortar(it.key()), p));
    }
}

AjustesMotor Ajustes::de(const QString& usuario) const {
    const auto it = entradas_.constFind(claveDe(usuario));
    return it == entradas_.cend() ? AjustesMotor{} : it->vigentes;
}

// Only the settings that change are written: a stored value that could not
// be used stays as it was until its own setting changes.
void Ajustes::fijar(const QString& usuario, const AjustesMotor& ajustes) {
    const QString clave = claveDe(usuario);
    const AjustesMotor nuevos = ajustes.acotados();
    auto it = entradas_.find(clave);
    if (it == entradas_.end()) {
        if (nuevos == AjustesMotor{})
            return;
        it = entradas_.insert(clave, {QJsonObject(), AjustesMotor{}});
    }
    if (it->vigentes == nuevos)
        return;
    QJsonObject o = it->crudo.toObject();
    for (const CampoAjuste& c : kCamposAjuste)
        if (it->vigentes.*c.miembro != nuevos.*c.miembro)
            o.insert(QLatin1String(c.clave), nuevos.*c.miembro);
    if (it->vigentes.confirmacion != nuevos.confirmacion)
        o.insert(QLatin1String(kClaveConfirmacion), nuevos.confirmacion);
    it->crudo = o;
    it->vigentes = nuevos;
    perfilesCrudos_.reset();
}

void Ajustes::fijarUsbCrudo(const QJsonValue& valor) {
    if (valor.isUndefined())
        raiz_.remove(kUsb);
    else
        raiz_.insert(kUsb, valor);
}

void Ajustes::fijarUsb(const std::optional<SwitchUsb>& usb) {
    fijarUsbCrudo(usb ? QJsonValue(EscribirUsb(*usb, usbCrudo().toObject()))
                      : QJsonValue(QJsonValue::Undefined));
}

bool Ajustes::guardar(const QStringList& usuarios) {
    if (noEscribir_)
        return false;
    QJsonObject perfiles;
    QMap<QString, Entrada> quedan;
    for (const QString& usuario : usuarios) {
        const QString clave = claveDe(usuario);
        const auto it = entradas_.constFind(clave);
        if (it == entradas_.cend() || quedan.contains(clave))
            continue;
        quedan.insert(clave, *it);
        if (!omitible(it->crudo))
            perfiles.insert(Recortar(usuario), it->crudo);
    }
    QJsonObject raiz = raiz_;
    raiz.insert(kPerfiles, perfilesCrudos_ ? *perfilesCrudos_ : QJsonValue(perfiles));
    if (!ReemplazarArchivo(RutaReal(ruta()), QJsonDocument(raiz).toJson(QJsonDocument::Indented)))
        return false;
    entradas_ = quedan;
    return true;
}

} // namespace quimbal
