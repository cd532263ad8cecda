#include "report/widgets/QtCampoTexto.h"

#include "report/FormularioTarifario.h"
#include "suite/ControlesForm.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace rp::report {

using suite::ControlesForm;

QtCampoTexto::QtCampoTexto(FormularioTarifario& modelo, int indice, QWidget* parent)
    : QLineEdit(parent), modelo_(modelo), indice_(indice) {
    setObjectName(QStringLiteral("txtfields_%1").arg(indice));
    setProperty("key", modelo.clave(indice));
    setProperty("tag", modelo.tagConsulta(indice));
    setMaxLength(modelo.longitudMaxima(indice));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAutoFillBackground(true);
    mostrarTexto();
    mostrarColores();

    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& texto) { modelo_.setTexto(indice_, texto); });
    connect(&modelo, &FormularioTarifario::textoCambiado, this, [this](int i) {
        if (i == indice_)
            mostrarTexto();
    });
    connect(&modelo, &FormularioTarifario::coloresCambiados, this, [this](int i) {
        if (i == indice_)
            mostrarColores();
    });
}

QColor QtCampoTexto::colorDeWindows(quint32 valor) {
    return QColor(int(valor & 0xFF), int((valor >> 8) & 0xFF), int((valor >> 16) & 0xFF));
}

void QtCampoTexto::mostrarTexto() {
    const QString texto = modelo_.texto(indice_);
    if (text() != texto)
        setText(texto);
}

void QtCampoTexto::mostrarColores() {
    QPalette p = palette();
    const QColor fondo = colorDeWindows(modelo_.colorFondo(indice_));
    const QColor letra = colorDeWindows(modelo_.colorLetra(indice_));
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Base, fondo);
        p.setColor(g, QPalette::Text, letra);
    }
    setPalette(p);
}

void QtCampoTexto::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    modelo_.entrarCampo(indice_);
}

void QtCampoTexto::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    modelo_.salirCampo(indice_);
}

void QtCampoTexto::keyPressEvent(QKeyEvent* e) {
    QPointer<QtCampoTexto> vivo(this);
    int codigo = ControlesForm::CodigoTecla(e->key());
    const int shift = ControlesForm::EstadoShift(int(e->modifiers()));
    if (codigo != 0) {
        modelo_.teclaAbajo(indice_, codigo, shift);
        if (!vivo)
            return;
        if (codigo == 0) {
            e->accept();
            return;
        }
    }
    const QString texto = e->text();
    if (texto.size() == 1) {
        int caracter = texto.at(0).unicode();
        modelo_.teclaPresionada(indice_, caracter);
        if (caracter == 0) {
            e->accept();
            return;
        }
        if (caracter != texto.at(0).unicode()) {
            insert(QString(QChar(caracter)));
            modelo_.setTexto(indice_, text());
            e->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void QtCampoTexto::mousePressEvent(QMouseEvent* e) {
    const int boton = e->button() == Qt::LeftButton     ? 1
                      : e->button() == Qt::RightButton  ? 2
                      : e->button() == Qt::MiddleButton ? 4
                                                        : 0;
    if (boton == 2) {
        e->accept();
        modelo_.botonMouse(indice_, boton);
        return;
    }
    modelo_.botonMouse(indice_, boton);
    QLineEdit::mousePressEvent(e);
}

} // namespace rp::report
