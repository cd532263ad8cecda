#include "lookup/Lib_FrmCons3.h"

#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "db/provider/Recordset.h"
#include "lookup/ArchivoAnchos.h"
#include "suite/Regional.h"
#include "suite/Utilidades.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>

namespace rp::lookup {

using rp::db::DB_Dll;
using rp::db::TextoVb;
using rp::suite::Utilidades;

namespace {

const QString kCantidad = QStringLiteral("**Cantidad**");

QString numero(double v, int decimales) {
    QString t = QString::number(v, 'f', decimales);
    return t.replace(QLatin1Char('.'), rp::suite::Regional::actual().separadorDecimal);
}

bool esSi(const QString& v) {
    return v.compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
}

} // namespace

Lib_FrmCons3::Lib_FrmCons3(QObject* parent) : QObject(parent) {}

void Lib_FrmCons3::setSeleccionada(int pos) {
    if (pos < -1 || pos >= modelo_.filas())
        pos = -1;
    if (pos == seleccionada_)
        return;
    seleccionada_ = pos;
    Q_EMIT seleccionCambiada(pos);
}

void Lib_FrmCons3::Load() {
    esArticulos_ = TextoVb::contiene(SQL, QStringLiteral("articulos"));
    Valores.clear();
    Cantidades.clear();
    modelo_.limpiar();
    seleccionada_ = -1;
    if (TextoVb::recortar(SQL).isEmpty()) {
        Q_EMIT recargado();
        return;
    }
    SQL += QLatin1Char(' ');
    const qsizetype f = SQL.indexOf(QLatin1String("from"), 0, Qt::CaseInsensitive);
    if (f >= 0) {
        const qsizetype blanco = SQL.indexOf(QLatin1Char(' '), f + 5);
        if (blanco > f + 4)
            tablaConsulta_ = SQL.mid(f + 4, blanco - f - 4).trimmed();
    }
    if (sqlOriginal_.isEmpty())
        sqlOriginal_ = SQL;
    sqlActual_ = SQL;
    modelo_.setConMarcas(CheckBoxes);
    leerFilas();
    if (OrdenarPorLwv)
        modelo_.ordenar();
    busquedas_ = QStringList();
    for (int i = 0; i < modelo_.columnas().size(); ++i)
        busquedas_ << QString();
    if (!TextoVb::recortar(FiltroInicial).isEmpty() && !busquedas_.isEmpty()) {
        Q_EMIT busquedaCambiada(0, FiltroInicial);
        cambioBusqueda(0, FiltroInicial);
    }
    QString tabla = tablaConsulta_;
    if (tabla.compare(QLatin1String("Stk_ma_articulos"), Qt::CaseInsensitive) == 0)
        tablaConsulta_ = tabla = QStringLiteral("VT_MA_ARTICULOS");
    anchos_ = rutaAnchos.isEmpty() ? QList<int>() : ArchivoAnchos::leer(rutaAnchos, tabla);
    Q_EMIT recargado();
}

void Lib_FrmCons3::leerFilas() {
    DB_Dll& base = UsarUDBC && UDBC ? *UDBC : rp::db::baseCompartida();
    rp::db::Recordset rs;
    QString sentencia = SQL;
    base.AbrirRecordset(sentencia, rs, nullptr, rp::db::adOpenForwardOnly, rp::db::adLockReadOnly,
                        -1, true);
    if (!rs.isOpen())
        return;
    const bool articulos = TextoVb::contiene(SQL, QStringLiteral("V_MA_ARTICULOS")) ||
                           TextoVb::contiene(SQL, QStringLiteral("STK_MA_ARTICULOS"));
    QList<ModeloListaConsulta::Columna> columnas;
    for (const rp::db::Field& campo : rs.fields()) {
        int x = campo.definedSize;
        if (campo.type == rp::db::adtype::Currency || campo.type == rp::db::adtype::Numeric)
            x = 12;
        // Numbers without a defined size get the width of a currency.
        if (x <= 0)
            x = 12;
        x = qMin(x, 60);
        QString titulo = campo.name;
        if (articulos) {
            static const QRegularExpression precio(QStringLiteral("^PRECIO([1-8])$"),
                                                   QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch m = precio.match(campo.name);
            if (m.hasMatch() && cfg)
                titulo = cfg(QStringLiteral("NOM_PCLASE") + m.captured(1));
        } else if (ValoresDefault == QLatin1String("@10")) {
            x += 10;
        }
        columnas.append({campo.name, titulo, x});
    }
    modelo_.setColumnas(columnas);

    const int n = rs.fieldCount();
    const int iPunto = rs.fieldIndex(QStringLiteral("PUNTOPEDIDO"));
    const int iStock = rs.fieldIndex(QStringLiteral("Stock"));
    const int iClave = CampoDevuelto.isEmpty() ? -1 : rs.fieldIndex(CampoDevuelto);
    // Pre-marked keys: the comma-separated keys of ValoresDefault, whole.
    QStringList marcadas;
    if (CheckBoxes)
        for (const QString& k : ValoresDefault.split(QLatin1Char(',')))
            if (!k.trimmed().isEmpty())
                marcadas << k.trimmed().toCaseFolded();
    const bool colorear = esSi(MuestraStock) && esArticulos_;
    const QVariant niveles[4] = {StkNivel1, StkNivel2, StkNivel3, StkNivel4};

    QVector<ModeloListaConsulta::Fila> filas;
    try {
        while (!rs.eof()) {
            ModeloListaConsulta::Fila fila;
            if (esArticulos_ && iPunto >= 0 && iStock >= 0) {
                const double p = rs.value(iPunto).toDouble();
                const double s = rs.value(iStock).toDouble();
                int nivel = 4;
                if (p == 0 && s > 0)
                    nivel = 1;
                else if (p > 0 && s > p)
                    nivel = 2;
                else if (p > 0 && s < p)
                    nivel = 3;
                const QVariant& c = niveles[nivel - 1];
                if (colorear && c.isValid() && !c.toString().trimmed().isEmpty())
                    fila.color = c;
            }
            fila.celdas.reserve(n);
            for (int i = 0; i < n; ++i) {
                const QVariant v = rs.value(i);
                // A null cell is shown empty.
                fila.celdas << (v.isNull() ? QString() : Utilidades::FormatoCodigo(v));
            }
            if (!marcadas.isEmpty() && iClave >= 0)
                fila.marcada = marcadas.contains(fila.celdas.value(iClave).toCaseFolded());
            filas.append(std::move(fila));
            rs.moveNext();
        }
    } catch (const rp::db::DbError& e) {
        rp::ui::operador().mensaje(e.description(), rp::ui::estilo::Critical,
                                   QStringLiteral("FORM_LOAD"));
    }
    base.CierraRecordset(rs);
    modelo_.setFilas(std::move(filas));
}

void Lib_FrmCons3::cargarOpciones(const QString& titulo, const QStringList& opciones,
                                  const QList<bool>& marcas) {
    modelo_.setConMarcas(CheckBoxes);
    modelo_.setColumnas({{titulo, titulo, int(titulo.size())}});
    QVector<ModeloListaConsulta::Fila> filas;
    for (int i = 0; i < opciones.size(); ++i)
        filas.append({{opciones[i]}, marcas.value(i, false), QVariant()});
    modelo_.setFilas(std::move(filas));
    busquedas_ = QStringList{QString()};
    if (OrdenarPorLwv)
        modelo_.ordenar();
    Q_EMIT recargado();
}

void Lib_FrmCons3::cambioBusqueda(int k, const QString& texto) {
    if (k < 0 || k >= modelo_.columnCount())
        return;
    while (busquedas_.size() <= k)
        busquedas_ << QString();
    busquedas_[k] = texto;
    const int pos = modelo_.Busqueda(k, TextoVb::recortar(texto));
    if (pos > 0)
        setSeleccionada(pos - 1);
}

QString Lib_FrmCons3::sentenciaBusqueda(const QString& sql, const QString& columna,
                                        const QString& texto, bool usaLike,
                                        QString* clausulaOrden) {
    QString clausula;
    QString actual = sql;
    const qsizetype orden = sql.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (orden >= 0) {
        clausula = sql.mid(orden);
        actual = sql.left(orden);
    }
    const qsizetype grupo = sql.indexOf(QLatin1String("group by"), 0, Qt::CaseInsensitive);
    if (grupo >= 0) {
        if (!TextoVb::recortar(sql.mid(grupo)).isEmpty())
            clausula = sql.mid(grupo);
        actual = sql.left(grupo);
    }
    QString prefijo;
    if (TextoVb::contiene(actual, QStringLiteral("v_ma_articulos")))
        prefijo = QStringLiteral("v_ma_articulos.");
    else if (TextoVb::contiene(actual, QStringLiteral("stk_ma_articulos")))
        prefijo = QStringLiteral("stk_ma_articulos.");
    const QString union_ = TextoVb::contiene(sql, QStringLiteral("where"))
                               ? QStringLiteral(" and ")
                               : QStringLiteral(" where ");
    // The typed text stands inside a quoted literal: its apostrophes are
    // doubled, so it never ends the literal.
    QString v = TextoVb::duplicarApostrofes(texto);
    if (clausulaOrden)
        *clausulaOrden = clausula;
    if (usaLike)
        return actual + union_ + prefijo + columna + QStringLiteral(" like '%") +
               v.replace(QLatin1Char(' '), QLatin1Char('%')) + QStringLiteral("%' ") + clausula;
    v.replace(QLatin1Char('*'), QLatin1Char('%'));
    return actual + union_ + prefijo + columna + QStringLiteral(" like '") + v +
           QStringLiteral("%' ") + clausula;
}

void Lib_FrmCons3::busquedaServidor(int k) {
    if (k < 0 || k >= modelo_.columnas().size())
        return;
    SQL = sentenciaBusqueda(SQL, modelo_.columnas()[k].campo, busquedas_.value(k),
                            CfgUsaConsultaLIKE, &clausulaOrden_);
    busquedas_[k].clear();
    Q_EMIT busquedaCambiada(k, QString());
    sqlActual_ = SQL;
    const QString filtro = FiltroInicial;
    FiltroInicial.clear();
    Load();
    FiltroInicial = filtro;
}

std::optional<QString> Lib_FrmCons3::teclaLista(int codigo, int shift, bool& aceptar,
                                                const QString& texto) {
    aceptar = false;
    const int sel = seleccionada_;
    if (codigo == 32 && CheckBoxes) {
        if (sel >= 0)
            modelo_.setMarcada(sel, !modelo_.marcada(sel));
        return std::nullopt;
    }
    if (codigo == 13) {
        aceptar = true;
        return std::nullopt;
    }
    if ((codigo == 45 || codigo == 46) && UsaCantidades) {
        const int col = modelo_.IndiceColumna(kCantidad) - 1;
        if (sel < 0 || col < 0)
            return std::nullopt;
        const double q = Utilidades::TextoANumero(modelo_.celda(sel, col));
        if (codigo == 45 && shift == 1) {
            const std::optional<QString> r = rp::ui::operador().ingresar(
                QStringLiteral("Ingrese la Cantidad del Articulo..."),
                QStringLiteral("Carga de Datos"), modelo_.celda(sel, col));
            if (!r)
                return std::nullopt;
            const double nueva = Utilidades::TextoANumero(*r);
            modelo_.setCelda(sel, col, numero(nueva, 2));
            modelo_.setMarcada(sel, nueva > 0);
        } else if (codigo == 45 && shift == 0) {
            modelo_.setCelda(sel, col, numero(q + 1, 1));
            modelo_.setMarcada(sel, true);
        } else if (codigo == 46 && shift == 0) {
            const double nueva = q - 1;
            if (nueva > 0) {
                modelo_.setCelda(sel, col, numero(nueva, 1));
            } else {
                modelo_.setMarcada(sel, false);
                modelo_.setCelda(sel, col, numero(0, 2));
            }
        }
        return std::nullopt;
    }
    const QString actual = busquedas_.value(BusquedaActiva);
    if (codigo >= 47 && codigo <= 93)
        return actual + QChar(codigo);
    if (codigo == 32)
        return actual + QLatin1Char(' ');
    // The numeric keypad types its digit or sign, Backspace takes back the
    // last character; function keys type nothing.
    if (codigo >= 96 && codigo <= 105)
        return actual + QChar(u'0' + (codigo - 96));
    static const QHash<int, QChar> kSignosTeclado{
        {106, u'*'}, {107, u'+'}, {109, u'-'}, {110, u'.'}, {111, u'/'}};
    if (kSignosTeclado.contains(codigo))
        return actual + kSignosTeclado.value(codigo);
    if (codigo == 8)
        return actual.left(actual.size() - 1);
    // Keys without a code (accented letters, punctuation) type their text.
    if (codigo == 0 && texto.size() > 0 && texto.at(0).isPrint())
        return actual + texto;
    return std::nullopt;
}

QString Lib_FrmCons3::valorDe(int pos, const QString& campo, const QString& anterior) const {
    return modelo_.valor(pos, campo).value_or(anterior);
}

bool Lib_FrmCons3::Aceptar() {
    if (CheckBoxes) {
        if (CampoDevuelto.isEmpty() && !modelo_.columnas().isEmpty())
            CampoDevuelto = modelo_.columnas().first().titulo;
        QString v;
        for (int pos = 0; pos < modelo_.filas(); ++pos)
            if (modelo_.marcada(pos)) {
                v = valorDe(pos, CampoDevuelto, v);
                Valores << v;
            }
        return true;
    }
    if (seleccionada_ < 0)
        return true;
    QString v;
    if (CmpsDevueltos)
        for (const QString& campo : *CmpsDevueltos) {
            v = valorDe(seleccionada_, campo, v);
            Valores << v;
        }
    if (!TextoVb::recortar(CampoDevuelto).isEmpty())
        v = valorDe(seleccionada_, CampoDevuelto, v);
    ValorDevuelto = v;
    return true;
}

void Lib_FrmCons3::Cancelar() {
    ValorDevuelto.clear();
    CmpsDevueltos.reset();
    Valores.clear();
}

void Lib_FrmCons3::NuevaBusqueda() {
    SQL = sqlOriginal_;
    Load();
}

void Lib_FrmCons3::Marcar() {
    modelo_.invertirMarcas();
}

std::pair<QString, QString> Lib_FrmCons3::programaMantenimiento(const QString& tabla) {
    const QString t = TextoVb::recortar(tabla);
    auto es = [&](const char* n) { return t.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
    if (es("V_TA_RUBROS") || es("V_TA_UNIDAD"))
        return {QStringLiteral("SHELL:V_TA_TABLAS"), tabla};
    if (es("VT_CLIENTES"))
        return {QStringLiteral("SHELL:V_MA_CLIENTES"), QStringLiteral("1")};
    if (es("VT_PROVEEDORES"))
        return {QStringLiteral("SHELL:V_MA_CLIENTES"), QStringLiteral("0")};
    if (es("V_TA_Tecnicos"))
        return {QStringLiteral("SHELL:V_TA_Tecnicos"), QString()};
    if (es("V_TA_VENDEDORES"))
        return {QStringLiteral("SHELL:V_TA_VENDEDORES"), QString()};
    if (es("V_MA_ARTICULOS") || es("VT_MA_ARTICULOS"))
        return {QStringLiteral("SHELL:V_MA_ARTICULOS"), QString()};
    return {QStringLiteral("SHELL:V_TA_TABLAS"), tabla};
}

void Lib_FrmCons3::Nuevo() {
    const auto [programa, parametro] = programaMantenimiento(tablaConsulta_);
    if (lanzador) {
        lanzador(programa, parametro);
        return;
    }
    rp::ui::operador().mensaje(QStringLiteral("Opcion no Implementada!\rComuniquese con su "
                                              "proveedor de sistemas"),
                               rp::ui::estilo::Critical, QString::fromUtf8("Atención"));
}

void Lib_FrmCons3::informarFaltante() {
    if (!esArticulos_ || seleccionada_ < 0)
        return;
    const QString a = valorDe(seleccionada_, QStringLiteral("idarticulo"), QString());
    const QString d = valorDe(seleccionada_, QStringLiteral("Descripcion"), QString());
    const int r = rp::ui::operador().mensaje(
        QStringLiteral("Desea informar el articulo ") + a.trimmed() + QLatin1Char(' ') +
            d.trimmed() + QStringLiteral("\r\ncomo un faltante de stock?"),
        rp::ui::estilo::YesNo + rp::ui::estilo::Question, QString::fromUtf8("Atención!"));
    if (r != rp::ui::vbYes)
        return;
    DB_Dll& base = rp::db::baseCompartida();
    const QString q = QStringLiteral("'");
    QString sentencia =
        QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) "
                       "values(") +
        DB_Dll::SQLValue(Utilidades::TextoDeValor(QDateTime::currentDateTime()), q) +
        QLatin1Char(',') + DB_Dll::SQLValue(Utilidades::FormatoCodigo(a, 25), q) +
        QLatin1Char(',') + DB_Dll::SQLValue(d.trimmed(), q) + QLatin1Char(',') +
        DB_Dll::SQLValue(base.gUsuario, q) + QLatin1Char(')');
    qint32 filas = 0;
    base.EjecutaConsultaSQL(sentencia, filas);
}

bool Lib_FrmCons3::GrabarAnchos(const QList<int>& twips) const {
    if (rutaAnchos.isEmpty() || tablaConsulta_.isEmpty())
        return false;
    return ArchivoAnchos::grabar(rutaAnchos, tablaConsulta_, twips);
}

} // namespace rp::lookup
