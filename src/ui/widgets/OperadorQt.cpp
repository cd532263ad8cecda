#include "ui/widgets/OperadorQt.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace rp::ui {

namespace {

QMessageBox::Icon iconoDeEstilo(int style) {
    switch (style & 0x70) {
    case estilo::Critical:
        return QMessageBox::Critical;
    case estilo::Question:
        return QMessageBox::Question;
    case estilo::Exclamation:
        return QMessageBox::Warning;
    case estilo::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString tituloOPrograma(const QString& titulo) {
    return titulo.isEmpty() ? QCoreApplication::applicationName() : titulo;
}

void rotularBotones(QDialogButtonBox* caja) {
    if (QPushButton* ok = caja->button(QDialogButtonBox::Ok))
        ok->setText(textoBoton(vbOK));
    if (QPushButton* cancelar = caja->button(QDialogButtonBox::Cancel))
        cancelar->setText(textoBoton(vbCancel));
}

} // namespace

OperadorQt::OperadorQt(QWidget* padre) : padre_(padre) {}

void OperadorQt::setPadre(QWidget* padre) {
    padre_ = padre;
}

void OperadorQt::registrarDialogo(const QString& nombre, FabricaDialogo fabrica) {
    fabricas_.insert(nombre.toUpper(), std::move(fabrica));
}

bool OperadorQt::dialogoRegistrado(const QString& nombre) const {
    return fabricas_.contains(nombre.toUpper());
}

int OperadorQt::mensaje(const QString& text, int style, const QString& title) {
    QMessageBox caja(padre_);
    caja.setWindowTitle(tituloOPrograma(title));
    caja.setText(text);
    caja.setIcon(iconoDeEstilo(style));

    const QList<int> codigos = botonesDeEstilo(style);
    QHash<QAbstractButton*, int> respuestas;
    QPushButton* porDefecto = nullptr;
    QPushButton* escape = nullptr;
    const int respuestaDefecto = respuestaPorDefecto(style);
    for (const int codigo : codigos) {
        const QMessageBox::ButtonRole rol =
            codigo == vbCancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
        QPushButton* boton = caja.addButton(textoBoton(codigo), rol);
        respuestas.insert(boton, codigo);
        if (codigo == respuestaDefecto)
            porDefecto = boton;
        if (codigo == vbCancel || (codigos.size() == 1 && codigo == vbOK))
            escape = boton;
    }
    caja.setDefaultButton(porDefecto);
    if (escape != nullptr) {
        caja.setEscapeButton(escape);
    } else {
        // No Cancel button: Escape and the close button do nothing.
        caja.setWindowFlag(Qt::WindowCloseButtonHint, false);
    }

    caja.exec();
    QAbstractButton* pulsado = caja.clickedButton();
    if (pulsado != nullptr && respuestas.contains(pulsado))
        return respuestas.value(pulsado);
    // Closed without a button (the window manager closed it anyway).
    return escape != nullptr ? respuestas.value(escape) : respuestaDefecto;
}

std::optional<QString> OperadorQt::ingresar(const QString& prompt, const QString& title,
                                            const QString& initial) {
    QInputDialog dialogo(padre_);
    dialogo.setWindowTitle(tituloOPrograma(title));
    dialogo.setLabelText(prompt);
    dialogo.setTextValue(initial);
    dialogo.setOkButtonText(textoBoton(vbOK));
    dialogo.setCancelButtonText(textoBoton(vbCancel));
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo.textValue();
}

QStringList OperadorQt::filtrosQt(const QString& filtroSuite) {
    QStringList filtros;
    const QStringList partes = filtroSuite.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < partes.size(); i += 2) {
        const QString descripcion = partes.at(i).trimmed();
        QStringList patrones;
        for (const QString& p : partes.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString patron = p.trimmed();
            if (patron.isEmpty())
                continue;
            for (const QString& variante : {patron, patron.toUpper(), patron.toLower()}) {
                if (!patrones.contains(variante))
                    patrones << variante;
            }
        }
        if (patrones.isEmpty())
            continue;
        filtros << QStringLiteral("%1 (%2)").arg(descripcion, patrones.join(QLatin1Char(' ')));
    }
    if (filtros.isEmpty() && !filtroSuite.trimmed().isEmpty() &&
        !filtroSuite.contains(QLatin1Char('|')))
        filtros << filtroSuite.trimmed();
    return filtros;
}

std::optional<QString> OperadorQt::elegirArchivo(bool guardar, const QString& title,
                                                 const QString& filter,
                                                 const QString& initialPath) {
    QFileDialog dialogo(padre_, tituloOPrograma(title));
    dialogo.setAcceptMode(guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogo.setFileMode(guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filtros = filtrosQt(filter);
    if (!filtros.isEmpty())
        dialogo.setNameFilters(filtros);
    if (!initialPath.isEmpty()) {
        const QFileInfo inicial(initialPath);
        if (inicial.isDir()) {
            dialogo.setDirectory(inicial.absoluteFilePath());
        } else {
            dialogo.setDirectory(inicial.absolutePath());
            dialogo.selectFile(inicial.fileName());
        }
    }
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return std::nullopt;
    return dialogo.selectedFiles().first();
}

std::optional<QString> OperadorQt::abrirArchivo(const QString& title, const QString& filter,
                                                const QString& initialPath) {
    return elegirArchivo(false, title, filter, initialPath);
}

std::optional<QString> OperadorQt::guardarArchivo(const QString& title, const QString& filter,
                                                  const QString& initialPath) {
    return elegirArchivo(true, title, filter, initialPath);
}

std::optional<QDate> OperadorQt::elegirFecha(const QDate& initial) {
    QDialog dialogo(padre_);
    dialogo.setObjectName(QStringLiteral("dlgElegirFecha"));
    dialogo.setWindowTitle(QStringLiteral("Fecha"));
    auto* calendario = new QCalendarWidget(&dialogo);
    calendario->setObjectName(QStringLiteral("calFecha"));
    calendario->setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    calendario->setFirstDayOfWeek(Qt::Monday);
    calendario->setGridVisible(true);
    calendario->setSelectedDate(initial.isValid() ? initial : QDate::currentDate());
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    rotularBotones(botones);
    auto* disposicion = new QVBoxLayout(&dialogo);
    disposicion->addWidget(calendario);
    disposicion->addWidget(botones);
    QObject::connect(botones, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
    QObject::connect(botones, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    QObject::connect(calendario, &QCalendarWidget::activated, &dialogo, &QDialog::accept);
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return calendario->selectedDate();
}

bool OperadorQt::dialogo(DialogoModal& model) {
    const auto fabrica = fabricas_.constFind(model.dialogName().toUpper());
    if (fabrica == fabricas_.constEnd() || !*fabrica) {
        const QByteArray aviso =
            QStringLiteral("OperadorQt: no hay ventana registrada para el diálogo %1\n")
                .arg(model.dialogName())
                .toLocal8Bit();
        std::fwrite(aviso.constData(), 1, static_cast<std::size_t>(aviso.size()), stderr);
        return false;
    }
    return (*fabrica)(model, padre_);
}

} // namespace rp::ui
