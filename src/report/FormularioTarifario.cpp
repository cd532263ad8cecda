#include "report/FormularioTarifario.h"

#include "report/CamposFormulario.h"
#include "suite/ControlesForm.h"
#include "suite/Utilidades.h"
#include "ui/Operador.h"

namespace rp::report {

using suite::ControlesForm;
using suite::Formularios;

FormularioTarifario::FormularioTarifario(QObject* parent) : QObject(parent) {
    for (const CamposFormulario::Campo& c : CamposFormulario::campos())
        campos_.insert(c.indice, Estado{});
    for (int i = 0; i < CamposFormulario::CantidadChkFiltro; ++i)
        tituloChk_[i] = CamposFormulario::tituloChkFiltro(i);
    for (int i = 0; i < CamposFormulario::CantidadOptPrecios; ++i)
        tituloOpt_[i] = CamposFormulario::tituloOptPrecios(i);
    chk_[0] = true;
    opt_[CamposFormulario::optPreciosInicial(1)] = true;
    opt_[CamposFormulario::optPreciosInicial(2)] = true;
    orden_[0] = true;
    connect(&barra_, &BarraReporte::botonPulsado, this, &FormularioTarifario::comandoBarra);
}

void FormularioTarifario::establecerColoresFoco(quint32 fondo, quint32 letra) {
    fondoFoco_ = fondo & 0xFFFFFF;
    letraFoco_ = letra & 0xFFFFFF;
}

void FormularioTarifario::cargar(const LectorConfiguracion& cfg) {
    Formularios::PrepararFormulario(*this, false);
    barra_.setConsultaHabilitada(false);
    vistaPrincipal_ = QStringLiteral("V_MV_PRECIOSHIS");
    Formularios::FormularioCarga(*this, QString());
    cargado_ = true;
    if (cfg)
        aplicarTitulosClase(cfg);
    setPestana(0);
}

void FormularioTarifario::aplicarTitulosClase(const LectorConfiguracion& cfg) {
    if (!cfg)
        return;
    for (int clase = 1; clase <= 8; ++clase) {
        QString titulo;
        try {
            titulo = cfg(QStringLiteral("NOM_PCLASE%1").arg(clase));
        } catch (...) {
            break;
        }
        setTituloClase(clase, titulo);
    }
}

void FormularioTarifario::setTituloClase(int clase, const QString& titulo) {
    if (clase < 1 || clase > 8)
        return;
    tituloChk_[clase] = titulo;
    tituloOpt_[clase] = titulo;
    Q_EMIT titulosCambiados();
}

void FormularioTarifario::descargar() {
    if (descargado_)
        return;
    descargado_ = true;
    if (cargado_)
        Formularios::FormularioDescarga(*this, QString());
    Q_EMIT descargado();
}

void FormularioTarifario::establecerReporte(int pestana, CorridaReporte corrida) {
    if (pestana >= 0 && pestana < CamposFormulario::CantidadPestanas)
        reportes_[pestana] = std::move(corrida);
}

void FormularioTarifario::establecerConsultor(Consultor consultor) {
    consultor_ = std::move(consultor);
}

QString FormularioTarifario::nombreFormulario() const {
    return QStringLiteral("frmRp_TARIFARIO");
}

QList<int> FormularioTarifario::indicesCampos() const {
    return campos_.keys();
}

void FormularioTarifario::colorearCampo(int indice, quint32 fondo, quint32 letra) {
    auto it = campos_.find(indice);
    if (it == campos_.end())
        return;
    if (it->fondo == fondo && it->letra == letra)
        return;
    it->fondo = fondo;
    it->letra = letra;
    Q_EMIT coloresCambiados(indice);
}

int FormularioTarifario::IndiceControl(const QString& clave) const {
    QMap<int, QString> claves;
    for (const CamposFormulario::Campo& c : CamposFormulario::campos())
        claves.insert(c.indice, c.clave);
    return ControlesForm::IndiceControl(clave, claves);
}

QString FormularioTarifario::texto(int indice) const {
    return campos_.value(indice).texto;
}

QString FormularioTarifario::textoDe(const QString& clave) const {
    return texto(IndiceControl(clave));
}

void FormularioTarifario::setTexto(int indice, const QString& texto) {
    auto it = campos_.find(indice);
    if (it == campos_.end())
        return;
    const QString nuevo = texto.left(longitudMaxima(indice));
    if (it->texto == nuevo)
        return;
    it->texto = nuevo;
    Q_EMIT textoCambiado(indice);
}

QString FormularioTarifario::clave(int indice) const {
    const CamposFormulario::Campo* c = CamposFormulario::campo(indice);
    return c ? c->clave : QString();
}

QString FormularioTarifario::tagConsulta(int indice) const {
    const CamposFormulario::Campo* c = CamposFormulario::campo(indice);
    return c ? c->tagConsulta : QString();
}

int FormularioTarifario::longitudMaxima(int indice) const {
    const CamposFormulario::Campo* c = CamposFormulario::campo(indice);
    return c ? c->longitudMaxima : 0;
}

quint32 FormularioTarifario::colorFondo(int indice) const {
    return campos_.value(indice).fondo;
}

quint32 FormularioTarifario::colorLetra(int indice) const {
    return campos_.value(indice).letra;
}

QString FormularioTarifario::tituloChkFiltro(int indice) const {
    if (indice < 0 || indice >= CamposFormulario::CantidadChkFiltro)
        return QString();
    return tituloChk_[indice];
}

bool FormularioTarifario::chkFiltro(int indice) const {
    return indice >= 0 && indice < CamposFormulario::CantidadChkFiltro && chk_[indice];
}

void FormularioTarifario::setChkFiltro(int indice, bool marcado) {
    if (indice < 0 || indice >= CamposFormulario::CantidadChkFiltro || chk_[indice] == marcado)
        return;
    chk_[indice] = marcado;
    Q_EMIT chkFiltroCambiado(indice);
}

void FormularioTarifario::setMostrarVariacion(bool marcado) {
    if (variacion_ == marcado)
        return;
    variacion_ = marcado;
    Q_EMIT variacionCambiada();
}

QString FormularioTarifario::tituloOptPrecios(int indice) const {
    if (indice < 0 || indice >= CamposFormulario::CantidadOptPrecios)
        return QString();
    return tituloOpt_[indice];
}

bool FormularioTarifario::optPrecios(int indice) const {
    return indice >= 0 && indice < CamposFormulario::CantidadOptPrecios && opt_[indice];
}

void FormularioTarifario::setOptPrecios(int indice) {
    const int grupo = CamposFormulario::pestanaOptPrecios(indice);
    if (grupo < 0 || opt_[indice])
        return;
    for (int i : CamposFormulario::optPreciosDePestana(grupo)) {
        const bool elegido = i == indice;
        if (opt_[i] != elegido) {
            opt_[i] = elegido;
            Q_EMIT optPreciosCambiado(i);
        }
    }
}

int FormularioTarifario::optPreciosSeleccionado(int pestana) const {
    int primero = -1;
    for (int i : CamposFormulario::optPreciosDePestana(pestana)) {
        if (opt_[i] && (primero < 0 || i < primero))
            primero = i;
    }
    return primero;
}

bool FormularioTarifario::optOrden(int indice) const {
    return indice >= 0 && indice < CamposFormulario::CantidadOptOrden && orden_[indice];
}

void FormularioTarifario::setOptOrden(int indice) {
    if (indice < 0 || indice >= CamposFormulario::CantidadOptOrden || orden_[indice])
        return;
    for (int i = 0; i < CamposFormulario::CantidadOptOrden; ++i) {
        const bool elegido = i == indice;
        if (orden_[i] != elegido) {
            orden_[i] = elegido;
            Q_EMIT optOrdenCambiado(i);
        }
    }
}

int FormularioTarifario::optOrdenSeleccionado() const {
    for (int i = 0; i < CamposFormulario::CantidadOptOrden; ++i) {
        if (orden_[i])
            return i;
    }
    return -1;
}

QString FormularioTarifario::campoOrden() const {
    return CamposFormulario::tagOptOrden(optOrdenSeleccionado());
}

void FormularioTarifario::setPestana(int pestana) {
    if (pestana < 0 || pestana >= CamposFormulario::CantidadPestanas)
        return;
    if (pestana_ != pestana) {
        pestana_ = pestana;
        Q_EMIT pestanaCambiada(pestana);
    }
    // Each tab starts at its list field. (Tab 2 has its own, "ListaC".)
    const QString destinoFoco = pestana == 0   ? QStringLiteral("ListaDesde")
                                : pestana == 1 ? QStringLiteral("Lista")
                                               : QStringLiteral("ListaC");
    const int indice = IndiceControl(destinoFoco);
    if (indice >= 0)
        Q_EMIT focoPedido(indice);
}

void FormularioTarifario::entrarCampo(int indice) {
    if (!campos_.contains(indice))
        return;
    actual_ = indice;
    barra_.setConsultaHabilitada(!tagConsulta(indice).trimmed().isEmpty());
    colorearCampo(indice, fondoFoco_, letraFoco_);
}

void FormularioTarifario::salirCampo(int indice) {
    colorearCampo(indice, Formularios::ColorFondoNormal, Formularios::ColorLetraNormal);
}

void FormularioTarifario::teclaAbajo(int indice, int& codigoTecla, int shift) {
    switch (ControlesForm::TeclaAbajo(codigoTecla, shift)) {
    case ControlesForm::Movimiento::Siguiente:
        mover(indice, 1);
        break;
    case ControlesForm::Movimiento::Anterior:
        mover(indice, -1);
        break;
    case ControlesForm::Movimiento::Ninguno:
        break;
    }
    barra_.teclaAbajo(codigoTecla, shift);
}

void FormularioTarifario::teclaPresionada(int indice, int& caracter) {
    if (campos_.contains(indice))
        ControlesForm::TeclaPresionada(caracter);
}

void FormularioTarifario::botonMouse(int indice, int boton) {
    if (!campos_.contains(indice))
        return;
    actual_ = indice;
    if (boton == 2)
        abrirConsulta();
}

void FormularioTarifario::mover(int indice, int paso) {
    const CamposFormulario::Campo* c = CamposFormulario::campo(indice);
    if (!c)
        return;
    const QList<int> orden = CamposFormulario::camposDePestana(c->pestana);
    const int n = static_cast<int>(orden.size());
    const int pos = static_cast<int>(orden.indexOf(indice));
    if (n == 0 || pos < 0)
        return;
    Q_EMIT focoPedido(orden[(pos + paso + n) % n]);
}

void FormularioTarifario::comandoBarra(const QString& clave) {
    const QString k = clave.toUpper();
    if (k == BarraReporte::Pantalla) {
        destino_ = DestinoPantalla;
        correrReporte(destino_);
    } else if (k == BarraReporte::Impresora) {
        destino_ = DestinoImpresora;
        correrReporte(destino_);
    } else if (k == BarraReporte::Cerrar) {
        descargar();
    } else if (k == BarraReporte::Consultar) {
        abrirConsulta();
    }
}

void FormularioTarifario::correrReporte(Destino destino) {
    const int variante = pestana_ == 0 ? 0 : pestana_ == 1 ? 1 : 2;
    if (reportes_[variante]) {
        reportes_[variante](destino);
        return;
    }
    ui::operador().mensaje(QString::fromUtf8("El reporte \"%1\" todavía no está disponible.")
                               .arg(CamposFormulario::tituloPestana(variante)),
                           ui::estilo::Information, CamposFormulario::tituloFormulario());
}

void FormularioTarifario::abrirConsulta() {
    const int indice = actual_;
    if (!campos_.contains(indice))
        return;
    const QString tag = tagConsulta(indice);
    if (tag.trimmed().isEmpty())
        return;
    QString valor;
    if (ConsultaCampo::esFecha(tag)) {
        valor = suite::Utilidades::ElegirFecha();
        // An empty date is a cancelled picker.
        if (valor.isEmpty())
            return;
    } else {
        // Until a lookup is installed only the date fields have one.
        if (!consultor_)
            return;
        if (const std::optional<ConsultaCampo> consulta = ConsultaCampo::deTag(tag)) {
            const std::optional<QString> elegido = consultor_(*consulta);
            if (!elegido)
                return;
            valor = *elegido;
        }
    }
    setTexto(indice, valor.trimmed());
    int enter = ControlesForm::vbKeyReturn;
    teclaAbajo(indice, enter, 0);
}

} // namespace rp::report
