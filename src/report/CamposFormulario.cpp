#include "report/CamposFormulario.h"

namespace rp::report {

namespace {

using Campo = CamposFormulario::Campo;
using Marco = CamposFormulario::Marco;

const QString kPrecios = QStringLiteral("V_MA_PRECIOS");
const QString kNombre = QStringLiteral("V_MA_PRECIOS_NOMBRE");
const QString kRubros = QStringLiteral("v_ta_rubros");
const QString kProveedores = QStringLiteral("vt_proveedores");
const QString kFamilias = QStringLiteral("v_ta_familias");
const QString kArticulos = QStringLiteral("v_ma_articulos");
const QString kFecha = QStringLiteral("Fecha");
const QString kUsuario = QStringLiteral("USUARIO");

// Label of a field in a captioned frame: "Desde" or "Hasta" after its key.
QString rotuloPar(const QString& clave) {
    return clave.contains(QStringLiteral("Hasta")) ? QStringLiteral("Hasta")
                                                   : QStringLiteral("Desde");
}

Campo par(int indice, const char* clave, const QString& tag, int longitud, int pestana) {
    const QString k = QString::fromLatin1(clave);
    return Campo{indice, k, tag, longitud, pestana, rotuloPar(k)};
}

Campo solo(int indice, const char* clave, const QString& tag, int longitud, int pestana,
           const char* rotulo) {
    return Campo{indice,  QString::fromLatin1(clave), tag, longitud,
                 pestana, QString::fromUtf8(rotulo)};
}

QList<Campo> armarCampos() {
    return {
        solo(0, "ListaDesde", kPrecios, 4, 0, "Lista Desde"),
        solo(1, "ListaHasta", kPrecios, 4, 0, "Lista Hasta"),
        solo(2, "NombreDesde", kNombre, 50, 0, "Nombre Desde"),
        solo(3, "NombreHasta", kNombre, 50, 0, "Nombre Hasta"),
        par(4, "RubroDesde", kRubros, 50, 0),
        par(5, "RubroHasta", kRubros, 50, 0),
        par(6, "ProveedorDesde", kProveedores, 50, 0),
        par(7, "ProveedorHasta", kProveedores, 50, 0),
        par(8, "FamiliaDesde", kFamilias, 50, 0),
        par(9, "FamiliaHasta", kFamilias, 50, 0),
        par(10, "ArticuloDesde", kArticulos, 50, 0),
        par(11, "ArticuloHasta", kArticulos, 50, 0),
        par(12, "FechaDesde", kFecha, 10, 0),
        par(13, "FechaHasta", kFecha, 10, 0),
        solo(14, "UsuarioDesde", kUsuario, 50, 0, "Usuario Desde"),
        solo(15, "UsuarioHasta", kUsuario, 50, 0, "Usuario Hasta"),
        solo(16, "Lista", kPrecios, 4, 1, "Lista"),
        solo(17, "UsrDesde", kUsuario, 50, 1, "Usuario"),
        solo(18, "Fecha", kFecha, 10, 1, "Fecha"),
        solo(19, "UsrDesdeC", kUsuario, 50, 2, "Usuario"),
        par(20, "FliaDesde", kFamilias, 50, 1),
        par(21, "FliaHasta", kFamilias, 50, 1),
        par(22, "ProvHasta", kProveedores, 50, 1),
        par(23, "ProvDesde", kProveedores, 50, 1),
        par(24, "RubDesde", kRubros, 50, 1),
        par(25, "RubHasta", kRubros, 50, 1),
        par(26, "ArtHasta", kArticulos, 50, 1),
        par(27, "ArtDesde", kArticulos, 50, 1),
        par(28, "ArtDesdeC", kArticulos, 50, 2),
        par(29, "ArtHastaC", kArticulos, 50, 2),
        par(30, "RubHastaC", kRubros, 50, 2),
        par(31, "RubDesdeC", kRubros, 50, 2),
        par(32, "ProvDesdeC", kProveedores, 50, 2),
        par(33, "ProvHastaC", kProveedores, 50, 2),
        par(34, "FliaHastaC", kFamilias, 50, 2),
        par(35, "FliaDesdeC", kFamilias, 50, 2),
        solo(37, "ListaC", kPrecios, 4, 2, "Lista"),
    };
}

QList<Marco> armarMarcos() {
    const QString sin;
    return {
        {0, sin, {0, 1}},
        {0, sin, {2, 3}},
        {0, QStringLiteral("Rubro"), {4, 5}},
        {0, QStringLiteral("Proveedor"), {6, 7}},
        {0, QStringLiteral("Familia"), {8, 9}},
        {0, QStringLiteral("Articulo"), {10, 11}},
        {0, QStringLiteral("Fecha"), {12, 13}},
        {0, sin, {14, 15}},
        {1, sin, {16, 18}},
        {1, sin, {17}},
        {1, QStringLiteral("Familia"), {20, 21}},
        {1, QStringLiteral("Proveedor"), {23, 22}},
        {1, QStringLiteral("Rubro"), {24, 25}},
        {1, QStringLiteral("Articulo"), {27, 26}},
        {2, sin, {37}},
        {2, sin, {19}},
        {2, QStringLiteral("Articulo"), {28, 29}},
        {2, QStringLiteral("Rubro"), {31, 30}},
        {2, QStringLiteral("Proveedor"), {32, 33}},
        {2, QStringLiteral("Familia"), {35, 34}},
    };
}

struct Orden {
    const char* titulo;
    const char* tag;
};

const Orden kOrden[CamposFormulario::CantidadOptOrden] = {
    {"Código Artículo", "{v_ma_articulos.idarticulo}"},
    {"Descripción", "{v_ma_articulos.Descripcion}"},
    {"Rubro", "{v_ma_articulos.idrubro}"},
    {"Marca de Artículo", "{v_ma_articulos.idtipo}"},
    {"Proveedor", "{v_ma_articulos.cuentaProveedor}"},
    {"Familia de Artículo", "{v_ma_articulos.idfamilia}"},
    {"Fecha", "{v_mv_precioshis.fechahora}"},
    {"Lista de Precios", "{v_mv_precioshis.idlista}"},
    {"Usuario", "{v_mv_precioshis.usuario}"},
};

} // namespace

QString CamposFormulario::tituloFormulario() {
    return QStringLiteral("Reporte Historico de Cambio de Precios");
}

QString CamposFormulario::tituloPestana(int pestana) {
    switch (pestana) {
    case 0:
        return QStringLiteral("Historial de cambios");
    case 1:
        return QString::fromUtf8("Último cambio según Fecha");
    case 2:
        return QStringLiteral("Ultimo Costo");
    default:
        return QString();
    }
}

const QList<CamposFormulario::Campo>& CamposFormulario::campos() {
    static const QList<Campo> lista = armarCampos();
    return lista;
}

const CamposFormulario::Campo* CamposFormulario::campo(int indice) {
    for (const Campo& c : campos()) {
        if (c.indice == indice)
            return &c;
    }
    return nullptr;
}

const QList<CamposFormulario::Marco>& CamposFormulario::marcos() {
    static const QList<Marco> lista = armarMarcos();
    return lista;
}

QList<int> CamposFormulario::camposDePestana(int pestana) {
    QList<int> orden;
    for (const Marco& m : marcos()) {
        if (m.pestana == pestana)
            orden += m.campos;
    }
    return orden;
}

QString CamposFormulario::tituloMarcoColumnas() {
    return QStringLiteral("Mostrar las siguientes columnas");
}

QString CamposFormulario::tituloVariacion() {
    return QStringLiteral("Mostrar variación");
}

QString CamposFormulario::tituloMarcoPrecios() {
    return QStringLiteral("Mostrar el siguiente precio");
}

QString CamposFormulario::tituloMarcoOrden() {
    return QStringLiteral("Orden");
}

QString CamposFormulario::tituloChkFiltro(int indice) {
    if (indice == 0)
        return QStringLiteral("Costo");
    if (indice >= 1 && indice <= 8)
        return QStringLiteral("Clase %1").arg(indice);
    if (indice == 9)
        return QStringLiteral("Impuestos");
    return QString();
}

QString CamposFormulario::tagChkFiltro(int indice) {
    if (indice < 0 || indice >= CantidadChkFiltro)
        return QString();
    return QString::number(indice);
}

QString CamposFormulario::tituloOptPrecios(int indice) {
    if (indice == 0 || indice == 17)
        return QStringLiteral("Costo");
    if (indice >= 1 && indice <= 8)
        return QStringLiteral("Precio%1").arg(indice);
    if (indice >= 9 && indice <= 16)
        return QStringLiteral("Precio%1").arg(17 - indice);
    return QString();
}

int CamposFormulario::pestanaOptPrecios(int indice) {
    if (indice >= 0 && indice <= 8)
        return 1;
    if (indice >= 9 && indice < CantidadOptPrecios)
        return 2;
    return -1;
}

QList<int> CamposFormulario::optPreciosDePestana(int pestana) {
    QList<int> orden;
    if (pestana == 1) {
        for (int i = 0; i <= 8; ++i)
            orden << i;
    } else if (pestana == 2) {
        for (int i = 17; i >= 9; --i)
            orden << i;
    }
    return orden;
}

int CamposFormulario::optPreciosInicial(int pestana) {
    return pestana == 2 ? 17 : 0;
}

QString CamposFormulario::tituloOptOrden(int indice) {
    if (indice < 0 || indice >= CantidadOptOrden)
        return QString();
    return QString::fromUtf8(kOrden[indice].titulo);
}

QString CamposFormulario::tagOptOrden(int indice) {
    if (indice < 0 || indice >= CantidadOptOrden)
        return QString();
    return QString::fromLatin1(kOrden[indice].tag);
}

} // namespace rp::report
