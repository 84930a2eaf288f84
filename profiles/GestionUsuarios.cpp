#include "profiles/GestionUsuarios.h"

#include "platform/Controles.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "profiles/Archivos.h"
#include "profiles/Declaraciones.h"

#include <algorithm>
#include <utility>

namespace quimbal {

namespace {
const QString kSinEstablecer = QStringLiteral("Sin establecer");
constexpr int kUmbralMinimo = 1;
constexpr int kUmbralMaximo = 10;

Usuario& slot(int i) {
    return Usuarios[static_cast<std::size_t>(i)];
}

// Entries in use: the list's count, never more than the table holds.
int cuenta(const ControlesUsuario& c) {
    return std::min(c.cboUsuario->ListCount(), kMaxUsuarios);
}

int buscar(const Lista& lista, const QString& texto) {
    for (int k = 0; k < lista.ListCount(); ++k)
        if (lista.List(k) == texto)
            return k;
    return -1;
}

// Selects the action entry of that text; an unknown text selects "Sin
// establecer", the entry that performs nothing.
void elegirAccion(Lista* lista, const QString& texto) {
    if (!lista)
        return;
    int k = buscar(*lista, texto);
    if (k < 0)
        k = buscar(*lista, kSinEstablecer);
    lista->setListIndex(k);
}

bool igualesSinMayusculas(const QString& a, const QString& b) {
    return Recortar(a).toUpper() == Recortar(b).toUpper();
}

// Characters a name field cannot keep: control characters, and those the
// file's code page has no byte for (they would come back as "?").
QString noGuardables(const QString& nombre) {
    QString malos;
    for (qsizetype i = 0; i < nombre.size(); ++i) {
        QString ch(nombre[i]);
        if (nombre[i].isHighSurrogate() && i + 1 < nombre.size())
            ch += nombre[++i];
        const char16_t u = ch[0].unicode();
        const bool control = u < 0x20 || (u >= 0x7F && u <= 0x9F);
        if ((control || desdeAnsi(aAnsi(ch)) != ch) && !malos.contains(ch))
            malos += ch;
    }
    return malos;
}
} // namespace

QString PrepararNombre(const QString& escrito) {
    QString nombre = Recortar(Recortar(escrito).left(kLargoTexto));
    if (!nombre.isEmpty())
        nombre[0] = nombre[0].toUpper();
    return nombre;
}

void SeleccionarUsuario(const ControlesUsuario& c) {
    const QString texto = Recortar(c.cboUsuario->Text());
    const int n = cuenta(c);
    for (int s = 0; s < n; ++s) {
        if (slot(s).Nombre.recortado() == texto) {
            UsuarioActual = static_cast<std::int16_t>(s);
            MostrarUsuario(c, s);
            return;
        }
    }
}

void MostrarUsuario(const ControlesUsuario& c, int i) {
    if (i < 0 || i >= kMaxUsuarios)
        return;
    // The lists' and boxes' own handlers store into the current profile (and
    // a chosen action clears its letter): work from a copy, and put back what
    // showing must not change.
    const Usuario u = slot(i);
    elegirAccion(c.cboTeclas1, u.Accion1.recortado());
    elegirAccion(c.cboTeclas2, u.Accion2.recortado());
    if (c.txtLetra1)
        c.txtLetra1->setText(u.Letra1.recortado());
    if (c.txtLetra2)
        c.txtLetra2->setText(u.Letra2.recortado());
    slot(i).Accion1 = u.Accion1;
    slot(i).Accion2 = u.Accion2;
    slot(i).Letra1 = u.Letra1;
    slot(i).Letra2 = u.Letra2;

    if (u.Modo == kModoSwitch) {
        if (c.ActivaOpcionSwitch)
            c.ActivaOpcionSwitch();
    } else if (c.ActivaOpcionSonido) {
        c.ActivaOpcionSonido();
    }

    const int umbral = std::clamp<int>(u.Umbral, kUmbralMinimo, kUmbralMaximo);
    slot(i).Umbral = static_cast<std::int16_t>(umbral);
    if (c.cboSonido)
        c.cboSonido->setListIndex(umbral - 1);

    const std::int16_t retraso = u.Retraso > 0 ? u.Retraso : kRetrasoPorDefecto;
    slot(i).Retraso = retraso;
    if (c.tmrDelaySonido)
        c.tmrDelaySonido->setInterval(retraso);
}

void OrdenarUsuarios(const ControlesUsuario& c) {
    const int n = cuenta(c);
    for (int i = 0; i < n - 1; ++i)
        for (int j = i + 1; j < n; ++j)
            if (QString::compare(slot(i).Nombre.texto(), slot(j).Nombre.texto(),
                                 Qt::CaseSensitive) > 0)
                std::swap(slot(i), slot(j));
    c.cboUsuario->Clear();
    for (int k = 0; k < n; ++k)
        c.cboUsuario->AddItem(slot(k).Nombre.texto());
    c.cboUsuario->setListIndex(0);
}

void AgregarUsuario(const ControlesUsuario& c) {
    const QString error = QStringLiteral("Error");
    const QString lleno =
        QStringLiteral("No se pueden agregar más usuarios: la lista ya tiene %1, el máximo.")
            .arg(kMaxUsuarios);
    if (c.cboUsuario->ListCount() >= kMaxUsuarios) {
        MsgBox(lleno, vbExclamation, error);
        return;
    }

    AgregandoUsuario = true;
    const QString respuesta = InputBox(QStringLiteral("Ingrese el nombre de un nuevo usuario"),
                                       QStringLiteral("Agregar nuevo usuario"));
    AgregandoUsuario = false;

    const QString nombre = PrepararNombre(respuesta);
    if (nombre.isEmpty())
        return;
    const QString malos = noGuardables(nombre);
    if (!malos.isEmpty()) {
        MsgBox(QStringLiteral("El nombre tiene caracteres que no se pueden guardar: %1").arg(malos),
               vbExclamation, error);
        return;
    }
    for (int k = 0; k < c.cboUsuario->ListCount(); ++k) {
        if (igualesSinMayusculas(c.cboUsuario->List(k), nombre)) {
            AgregandoUsuario = true;
            MsgBox(QStringLiteral("Ese nombre de usuario ya existe!!!"), vbCritical, error);
            AgregandoUsuario = false;
            return;
        }
    }
    // The prompt let other events run: count again.
    const int n = c.cboUsuario->ListCount();
    if (n >= kMaxUsuarios) {
        MsgBox(lleno, vbExclamation, error);
        return;
    }
    slot(n) = Usuario::Nuevo(nombre);
    AgregarUsuarioAlArchivo(slot(n));
    c.cboUsuario->AddItem(slot(n).Nombre.texto());
    OrdenarUsuarios(c);
    for (int k = 0; k < c.cboUsuario->ListCount(); ++k) {
        if (igualesSinMayusculas(c.cboUsuario->List(k), nombre)) {
            c.cboUsuario->setListIndex(k);
            MostrarUsuario(c, k);
        }
    }
}

void EliminarUsuario(const ControlesUsuario& c) {
    Lista& lista = *c.cboUsuario;
    if (Recortar(lista.Text()) == QLatin1String(kNombreGeneral)) {
        MsgBox(QStringLiteral("No se puede eliminar el usuario ' General '"), vbExclamation,
               QStringLiteral("Error"));
        return;
    }
    const int s = lista.ListIndex();
    if (s < 0)
        return;
    const int n = cuenta(c);
    if (n <= 1) {
        MsgBox(QStringLiteral("No se puede eliminar el único usuario de la lista."), vbExclamation,
               QStringLiteral("Error"));
        return;
    }
    if (MsgBox(QStringLiteral("¿Está seguro de eliminar el usuario actual?"), vbYesNo + vbQuestion,
               QStringLiteral("Atención")) != vbYes)
        return;
    // The box let other events run: delete only what was asked about.
    if (lista.ListIndex() != s || cuenta(c) != n)
        return;
    for (int k = s; k <= n - 2; ++k)
        slot(k) = slot(k + 1);
    lista.RemoveItem(s);
    lista.setListIndex(s > 0 ? s - 1 : 0);
}

void RestablecerUsuario(const ControlesUsuario& c) {
    const QString click = QString::fromLatin1(kAccionPorDefecto);
    elegirAccion(c.cboTeclas1, click);
    UsuarioEnUso().Accion1 = click;
    elegirAccion(c.cboTeclas2, click);
    UsuarioEnUso().Accion2 = click;
    if (c.txtLetra1)
        c.txtLetra1->setText(QString());
    UsuarioEnUso().Letra1 = QString();
    if (c.txtLetra2)
        c.txtLetra2->setText(QString());
    UsuarioEnUso().Letra2 = QString();
    if (c.tmrDelaySonido)
        c.tmrDelaySonido->setInterval(kRetrasoPorDefecto);
    UsuarioEnUso().Retraso = kRetrasoPorDefecto;
}

} // namespace quimbal
