#include "platform/qt/DialogosQt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace quimbal {

QMessageBox* DialogosQt::crearCaja(const QString& texto, int estilo, const QString& titulo) {
    const EstiloMensaje e = EstiloMensaje::desde(estilo);
    auto* caja = new QMessageBox(QApplication::activeWindow());
    caja->setWindowTitle(titulo.isEmpty() ? TituloAplicacion() : titulo);
    caja->setText(texto);
    switch (e.icono) {
    case EstiloMensaje::Icono::Stop:
        caja->setIcon(QMessageBox::Critical);
        break;
    case EstiloMensaje::Icono::Pregunta:
        caja->setIcon(QMessageBox::Question);
        break;
    case EstiloMensaje::Icono::Exclamacion:
        caja->setIcon(QMessageBox::Warning);
        break;
    case EstiloMensaje::Icono::Ninguno:
        caja->setIcon(QMessageBox::NoIcon);
        break;
    }
    if (e.siNo) {
        QPushButton* si = caja->addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
        QPushButton* no = caja->addButton(QStringLiteral("No"), QMessageBox::NoRole);
        si->setObjectName(QStringLiteral("botonSi"));
        no->setObjectName(QStringLiteral("botonNo"));
        caja->setDefaultButton(e.segundoPorDefecto ? no : si);
        // A Yes/No box has no cancel answer: closing it answers No.
        caja->setEscapeButton(no);
    } else {
        QPushButton* ok = caja->addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
        ok->setObjectName(QStringLiteral("botonAceptar"));
        caja->setDefaultButton(ok);
        caja->setEscapeButton(ok);
    }
    caja->setWindowModality(Qt::ApplicationModal);
    return caja;
}

int DialogosQt::mostrarMensaje(const QString& texto, int estilo, const QString& titulo) {
    QMessageBox* caja = crearCaja(texto, estilo, titulo);
    caja->exec();
    const QAbstractButton* pulsado = caja->clickedButton();
    int respuesta = vbOK;
    if (EstiloMensaje::desde(estilo).siNo)
        respuesta = (pulsado && pulsado->objectName() == QLatin1String("botonSi")) ? vbYes : vbNo;
    delete caja;
    return respuesta;
}

QString DialogosQt::pedirTexto(const QString& texto, const QString& titulo) {
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(titulo);
    dlg.setLabelText(texto);
    dlg.setOkButtonText(QStringLiteral("Aceptar"));
    dlg.setCancelButtonText(QStringLiteral("Cancelar"));
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setWindowModality(Qt::ApplicationModal);
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    return dlg.textValue();
}

} // namespace quimbal
