#include "platform/qt/AyudaQt.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace quimbal {

namespace {
constexpr qint64 kLargoMaximo = 4 * 1024 * 1024;
} // namespace

AyudaQt::~AyudaQt() {
    delete ventana_.data();
}

QWidget* AyudaQt::visor() const {
    return ventana_.data();
}

bool AyudaQt::LeerArchivo(const QString& archivo, QString& html, QString& motivo) {
    QFile f(archivo);
    if (!QFileInfo(archivo).isFile()) {
        motivo = QStringLiteral("No se encuentra el archivo de ayuda:\n%1").arg(archivo);
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        motivo = QStringLiteral("No se puede leer el archivo de ayuda:\n%1").arg(archivo);
        return false;
    }
    if (f.size() > kLargoMaximo) {
        motivo = QStringLiteral("El archivo de ayuda es demasiado grande para mostrarlo:\n%1")
                     .arg(archivo);
        return false;
    }
    const QByteArray bytes = f.readAll();
    const QString texto = QString::fromUtf8(bytes);
    // A help page of this program is UTF-8 text with an HTML body; anything
    // else (a binary file, another help format) is not shown.
    if (bytes.contains('\0') || texto.contains(QChar::ReplacementCharacter) ||
        !texto.contains(QLatin1String("<body"), Qt::CaseInsensitive)) {
        motivo = QStringLiteral("El archivo de ayuda no tiene un formato que se pueda mostrar:\n%1")
                     .arg(archivo);
        return false;
    }
    html = texto;
    return true;
}

bool AyudaQt::abrir(const QString& archivo, QString& motivo) {
    QString html;
    if (!LeerArchivo(archivo, html, motivo))
        return false;
    if (!ventana_) {
        ventana_ = new QWidget(nullptr, Qt::Window);
        ventana_->setAttribute(Qt::WA_DeleteOnClose);
        ventana_->setObjectName(QStringLiteral("visorAyuda"));
        ventana_->resize(640, 560);
        auto* capa = new QVBoxLayout(ventana_);
        navegador_ = new QTextBrowser(ventana_);
        navegador_->setOpenExternalLinks(false);
        navegador_->setOpenLinks(true);
        capa->addWidget(navegador_);
        auto* cerrar = new QPushButton(QStringLiteral("&Cerrar"), ventana_);
        cerrar->setObjectName(QStringLiteral("cerrarAyuda"));
        QObject::connect(cerrar, &QPushButton::clicked, ventana_.data(), &QWidget::close);
        capa->addWidget(cerrar, 0, Qt::AlignRight);
    }
    navegador_->setSearchPaths({QFileInfo(archivo).absolutePath()});
    navegador_->setHtml(html);
    ventana_->setWindowTitle(navegador_->documentTitle().isEmpty()
                                 ? QStringLiteral("Ayuda de Quimbal")
                                 : navegador_->documentTitle());
    navegador_->scrollToAnchor(QStringLiteral("contenido"));
    ventana_->show();
    ventana_->raise();
    ventana_->activateWindow();
    return true;
}

} // namespace quimbal
