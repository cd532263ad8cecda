#include "report/widgets/QtBarraReporte.h"

#include "report/BarraReporte.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QStyle>
#include <QToolButton>

namespace rp::report {

QtBarraReporte::QtBarraReporte(BarraReporte& barra, QWidget* parent)
    : QToolBar(parent), barra_(barra) {
    setObjectName(QStringLiteral("TBarRep1"));
    setWindowTitle(QStringLiteral("Reporte"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(22, 22));

    const QStringList claves = BarraReporte::claves();
    for (const QString& clave : claves) {
        if (clave == BarraReporte::Cerrar) {
            QWidget* espacio = new QWidget(this);
            espacio->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            addWidget(espacio);
        }
        QAction* a = addAction(icono(clave), BarraReporte::titulo(clave));
        a->setObjectName(clave);
        QList<QKeySequence> atajos;
        QStringList textos;
        for (const BarraReporte::Atajo& atajo : BarraReporte::atajos(clave)) {
            atajos << QKeySequence(atajo.texto);
            textos << QKeySequence(atajo.texto).toString(QKeySequence::NativeText);
        }
        a->setShortcuts(atajos);
        a->setShortcutContext(Qt::WindowShortcut);
        a->setToolTip(QStringLiteral("%1 (%2)").arg(BarraReporte::descripcion(clave),
                                                    textos.join(QStringLiteral(", "))));
        a->setStatusTip(BarraReporte::descripcion(clave));
        connect(a, &QAction::triggered, this, [this, clave] { barra_.pulsar(clave); });
        acciones_.insert(clave, a);
        if (QWidget* boton = widgetForAction(a))
            boton->setObjectName(QStringLiteral("boton_") + clave);
    }
    connect(&barra_, &BarraReporte::estadoCambiado, this, &QtBarraReporte::mostrarEstado);
    mostrarEstado();
}

QIcon QtBarraReporte::icono(const QString& clave) const {
    struct Tema {
        const char* nombre;
        QStyle::StandardPixmap reserva;
    };
    Tema tema{"", QStyle::SP_FileIcon};
    if (clave == BarraReporte::Pantalla)
        tema = {"document-print-preview", QStyle::SP_FileDialogContentsView};
    else if (clave == BarraReporte::Impresora)
        tema = {"document-print", QStyle::SP_DialogSaveButton};
    else if (clave == BarraReporte::Consultar)
        tema = {"edit-find", QStyle::SP_FileDialogDetailedView};
    else if (clave == BarraReporte::Cerrar)
        tema = {"application-exit", QStyle::SP_DialogCloseButton};
    return QIcon::fromTheme(QString::fromLatin1(tema.nombre), style()->standardIcon(tema.reserva));
}

void QtBarraReporte::mostrarEstado() {
    for (auto it = acciones_.cbegin(); it != acciones_.cend(); ++it)
        it.value()->setEnabled(barra_.habilitado(it.key()));
    const bool plana = barra_.plana();
    for (QAction* a : std::as_const(acciones_)) {
        if (auto* boton = qobject_cast<QToolButton*>(widgetForAction(a)))
            boton->setAutoRaise(plana);
    }
}

} // namespace rp::report
