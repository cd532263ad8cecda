#include "report/engine/widgets/VentanaDialogoImpresion.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>

namespace rp::motor {

VentanaDialogoImpresion::VentanaDialogoImpresion(DialogoImpresion& modelo, QWidget* parent)
    : QDialog(parent), modelo_(modelo) {
    setObjectName(QStringLiteral("DialogoImpresion"));
    setWindowTitle(QStringLiteral("Imprimir"));
    auto* forma = new QFormLayout(this);
    impresora_ = new QComboBox(this);
    impresora_->setObjectName(QStringLiteral("impresora"));
    impresora_->addItems(modelo.impresoras.isEmpty() ? QPrinterInfo::availablePrinterNames()
                                                     : modelo.impresoras);
    impresora_->addItem(DialogoImpresion::entradaPdf());
    if (!modelo.archivoPdf.isEmpty())
        impresora_->setCurrentText(DialogoImpresion::entradaPdf());
    else if (!modelo.impresora.isEmpty())
        impresora_->setCurrentText(modelo.impresora);
    forma->addRow(QStringLiteral("Impresora:"), impresora_);
    archivo_ = new QLineEdit(this);
    archivo_->setObjectName(QStringLiteral("archivoPdf"));
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty())
        carpeta = QDir::homePath();
    archivo_->setText(modelo.archivoPdf.isEmpty()
                          ? QDir(carpeta).filePath(QStringLiteral("rp_tarifario.pdf"))
                          : modelo.archivoPdf);
    forma->addRow(QStringLiteral("Archivo:"), archivo_);
    auto elegir = [this] {
        archivo_->setEnabled(impresora_->currentText() == DialogoImpresion::entradaPdf());
    };
    connect(impresora_, &QComboBox::currentTextChanged, this, elegir);
    elegir();
    copias_ = new QSpinBox(this);
    copias_->setObjectName(QStringLiteral("copias"));
    copias_->setRange(1, 999);
    copias_->setValue(std::max(1, modelo.copias));
    forma->addRow(QStringLiteral("Copias:"), copias_);

    const int maximo = modelo.totalPaginas > 0 ? modelo.totalPaginas : 9999;
    todas_ = new QRadioButton(QStringLiteral("Todas"), this);
    todas_->setObjectName(QStringLiteral("todas"));
    auto* rango = new QRadioButton(QStringLiteral("Páginas"), this);
    rango->setObjectName(QStringLiteral("rango"));
    desde_ = new QSpinBox(this);
    desde_->setObjectName(QStringLiteral("desde"));
    desde_->setRange(1, maximo);
    desde_->setValue(modelo.desdePagina > 0 ? modelo.desdePagina : 1);
    hasta_ = new QSpinBox(this);
    hasta_->setObjectName(QStringLiteral("hasta"));
    hasta_->setRange(1, maximo);
    hasta_->setValue(modelo.hastaPagina > 0 ? modelo.hastaPagina : maximo);
    const bool todas = modelo.desdePagina <= 0 && modelo.hastaPagina <= 0;
    todas_->setChecked(todas);
    rango->setChecked(!todas);
    auto* fila = new QHBoxLayout();
    fila->addWidget(todas_);
    fila->addWidget(rango);
    fila->addWidget(new QLabel(QStringLiteral("desde"), this));
    fila->addWidget(desde_);
    fila->addWidget(new QLabel(QStringLiteral("hasta"), this));
    fila->addWidget(hasta_);
    forma->addRow(QStringLiteral("Intervalo:"), fila);

    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Imprimir"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    forma->addRow(botones);
}

void VentanaDialogoImpresion::accept() {
    const bool pdf = impresora_->currentText() == DialogoImpresion::entradaPdf();
    if (pdf && archivo_->text().trimmed().isEmpty()) {
        archivo_->setFocus();
        return;
    }
    modelo_.impresora = pdf ? QString() : impresora_->currentText();
    modelo_.archivoPdf = pdf ? archivo_->text().trimmed() : QString();
    modelo_.copias = copias_->value();
    if (todas_->isChecked()) {
        modelo_.desdePagina = 0;
        modelo_.hastaPagina = 0;
    } else {
        modelo_.desdePagina = desde_->value();
        modelo_.hastaPagina = hasta_->value();
    }
    modelo_.normalizar();
    QDialog::accept();
}

bool VentanaDialogoImpresion::mostrar(rp::ui::DialogoModal& modelo, QWidget* parent) {
    auto* m = dynamic_cast<DialogoImpresion*>(&modelo);
    if (!m)
        return false;
    VentanaDialogoImpresion d(*m, parent);
    return d.exec() == QDialog::Accepted;
}

} // namespace rp::motor
