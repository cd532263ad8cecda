#include "lookup/Lib_FrmCons3Tree.h"

#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "db/provider/Recordset.h"
#include "suite/Utilidades.h"

namespace rp::lookup {

using rp::db::DB_Dll;
using rp::db::TextoVb;

Lib_FrmCons3Tree::Lib_FrmCons3Tree(QObject* parent) : QAbstractItemModel(parent) {}

QString Lib_FrmCons3Tree::sentenciaFamilias() {
    return QStringLiteral("SELECT     TOP 100 PERCENT IdFamilia, Descripcion, ") +
           QStringLiteral("(SELECT     TOP 1 idfamilia FROM @Admin_v_ta_familias a  ") +
           QStringLiteral(" Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) "
                          "< Len(LTrim(RTrim(b.IdFamilia)))) ") +
           QStringLiteral(" ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b "
                          "Where IdFamilia<>'' ORDER BY IdFamilia");
}

void Lib_FrmCons3Tree::vaciar() {
    nodos_.clear();
    claves_.clear();
    seleccionado_ = -1;
    Nodo raiz;
    raiz.clave = QStringLiteral("A");
    raiz.texto = QStringLiteral("Consulta...");
    nodos_.append(raiz);
    claves_.insert(raiz.clave, 0);
}

int Lib_FrmCons3Tree::agregar(const QString& clave, const QString& texto, int padre) {
    Nodo n;
    n.clave = clave;
    n.texto = texto;
    n.padre = padre;
    n.fila = int(nodos_[padre].hijos.size());
    const int i = int(nodos_.size());
    nodos_.append(n);
    nodos_[padre].hijos.append(i);
    // A repeated key keeps its first node, as the key of a tree is unique.
    if (!claves_.contains(clave))
        claves_.insert(clave, i);
    return i;
}

void Lib_FrmCons3Tree::Load() {
    Valores.clear();
    sqlActual_ = SQL;
    if (TextoVb::contiene(SQL, QStringLiteral("v_ta_familias")))
        ArmarTreeVFamilias();
    else
        ArmarTreeVAutomatico();
}

bool Lib_FrmCons3Tree::leer(const QString& sentencia, int columnas, QVector<QStringList>& filas,
                            QVector<bool>& sinPariente) {
    DB_Dll& base = rp::db::baseCompartida();
    rp::db::Recordset rs;
    QString s = sentencia;
    base.AbrirRecordset(s, rs, &base.conexion(), rp::db::adOpenForwardOnly, rp::db::adLockReadOnly,
                        -1, true);
    if (!rs.isOpen())
        return false;
    try {
        const int n = qMin(columnas, rs.fieldCount());
        while (!rs.eof()) {
            QStringList f;
            bool nulo = true;
            for (int i = 0; i < n; ++i) {
                const QVariant v = rs.value(i);
                f << (v.isNull() ? QString() : v.toString());
                if (i == 2)
                    nulo = v.isNull();
            }
            while (f.size() < 2)
                f << QString();
            filas.append(f);
            sinPariente.append(nulo);
            rs.moveNext();
        }
    } catch (const rp::db::DbError& e) {
        rp::ui::operador().mensaje(e.description(), rp::ui::estilo::Critical,
                                   QStringLiteral("FORM_LOAD"));
    }
    base.CierraRecordset(rs);
    return true;
}

void Lib_FrmCons3Tree::armar(const QVector<QStringList>& filas, const QVector<bool>& sinPariente,
                             bool porPariente) {
    beginResetModel();
    vaciar();
    // Keys folded to lower case, first node of each: the automatic builder's
    // longest-prefix search looks prefixes up instead of scanning every node.
    QHash<QString, int> plegadas;
    plegadas.insert(QStringLiteral("a"), 0);
    for (int r = 0; r < filas.size(); ++r) {
        const QString& codigo = filas[r].value(0);
        const QString clave = QLatin1Char('A') + codigo;
        const QString texto = codigo + QStringLiteral(" - ") + filas[r].value(1);
        int padre = 0;
        if (porPariente) {
            if (!sinPariente.value(r, true))
                padre = claves_.value(QLatin1Char('A') + filas[r].value(2), 0);
        } else {
            const QString p = clave.toCaseFolded();
            for (qsizetype largo = p.size(); largo >= 1; --largo) {
                const auto it = plegadas.constFind(p.left(largo));
                if (it != plegadas.constEnd()) {
                    padre = it.value();
                    break;
                }
            }
        }
        const int i = agregar(clave, texto, padre);
        const QString pl = clave.toCaseFolded();
        if (!plegadas.contains(pl))
            plegadas.insert(pl, i);
    }
    endResetModel();
    Q_EMIT recargado();
}

void Lib_FrmCons3Tree::ArmarTreeVFamilias() {
    SQL = sentenciaFamilias();
    QVector<QStringList> filas;
    QVector<bool> sinPariente;
    leer(SQL, 3, filas, sinPariente);
    armar(filas, sinPariente, true);
}

void Lib_FrmCons3Tree::ArmarTreeVAutomatico() {
    QVector<QStringList> filas;
    QVector<bool> sinPariente;
    leer(SQL, 2, filas, sinPariente);
    armar(filas, sinPariente, false);
}

int Lib_FrmCons3Tree::nivel(int i) const {
    int n = 0;
    while (i > 0) {
        i = nodos_[i].padre;
        ++n;
    }
    return n;
}

void Lib_FrmCons3Tree::setSeleccionado(int i) {
    if (i < -1 || i >= nodos())
        i = -1;
    if (i == seleccionado_)
        return;
    seleccionado_ = i;
    Q_EMIT seleccionCambiada(i);
}

void Lib_FrmCons3Tree::setMarcada(int i, bool marcada) {
    if (i < 0 || i >= nodos())
        return;
    nodos_[i].marcada = marcada;
    Q_EMIT dataChanged(indiceDeNodo(i), indiceDeNodo(i), {Qt::CheckStateRole});
    QVector<int> nivelActual{i};
    for (int n = 0; n < NivelesMarca && !nivelActual.isEmpty(); ++n) {
        QVector<int> siguiente;
        for (int p : nivelActual) {
            const QVector<int>& hijos = nodos_[p].hijos;
            for (int h : hijos) {
                nodos_[h].marcada = marcada;
                siguiente.append(h);
            }
            if (!hijos.isEmpty())
                Q_EMIT dataChanged(indiceDeNodo(hijos.first()), indiceDeNodo(hijos.last()),
                                   {Qt::CheckStateRole});
        }
        nivelActual = siguiente;
    }
}

void Lib_FrmCons3Tree::cambioBusqueda(const QString& texto) {
    for (int i = 0; i < nodos(); ++i) {
        const QString& t = nodos_[i].texto;
        const qsizetype guion = t.indexOf(QLatin1Char('-'));
        const QString codigo = guion < 0 ? QString() : TextoVb::recortar(t.left(guion));
        const QString desc = TextoVb::recortar(guion < 0 ? t : t.mid(guion + 1));
        if ((guion >= 0 && codigo.startsWith(texto, Qt::CaseInsensitive)) ||
            desc.startsWith(texto, Qt::CaseInsensitive)) {
            setSeleccionado(i);
            return;
        }
    }
}

void Lib_FrmCons3Tree::busquedaServidor(const QString& texto) {
    clausulaOrden_.clear();
    const qsizetype orden = SQL.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (TextoVb::contiene(SQL, QStringLiteral("order")) && orden >= 0) {
        clausulaOrden_ = SQL.mid(orden);
        sqlActual_ = SQL.left(orden);
    }
    const QString union_ = TextoVb::contiene(SQL, QStringLiteral("where"))
                               ? QStringLiteral(" and ")
                               : QStringLiteral(" where ");
    SQL = sqlActual_ + union_ + QStringLiteral("Descripcion like '%") +
          TextoVb::duplicarApostrofes(texto) + QStringLiteral("%' ") + clausulaOrden_;
    sqlActual_ = SQL;
    Load();
}

std::optional<QString> Lib_FrmCons3Tree::buscarValor(const QString& tabla, const QString& codigo,
                                                     const QString& campo) {
    DB_Dll& base = rp::db::baseCompartida();
    rp::db::Recordset rs;
    std::optional<QString> r;
    if (base.ExisteEnTabla(tabla, codigo, campo, &rs, 8, QString(), true)) {
        try {
            r = rp::suite::Utilidades::TextoDeValor(rs.value(CampoDevuelto));
        } catch (const rp::db::DbError&) {
            r.reset();
        }
    }
    if (rs.isOpen())
        base.CierraRecordset(rs);
    return r;
}

bool Lib_FrmCons3Tree::Aceptar() {
    const QString campo = CampoDevuelto.trimmed().toUpper();
    if (CheckBoxes) {
        for (int i = 0; i < nodos(); ++i) {
            if (!nodos_[i].marcada)
                continue;
            const QString c = codigo(i);
            if (campo == QLatin1String("IDFAMILIA") || campo == QLatin1String("CODIGO")) {
                Valores << TextoVb::recortar(c);
            } else if (campo == QLatin1String("IDPOSICION")) {
                if (const auto v = buscarValor(QStringLiteral("MA_POSICIONES"), c,
                                               QStringLiteral("IDPOSICION")))
                    Valores << *v;
            }
        }
        return true;
    }
    if (seleccionado_ < 0)
        return true;
    const QString c = codigo(seleccionado_);
    if (campo == QLatin1String("IDFAMILIA")) {
        ValorDevuelto =
            buscarValor(QStringLiteral("@admin_V_TA_FAMILIAS"), c, QStringLiteral("IDFAMILIA"))
                .value_or(QString());
    } else if (campo == QLatin1String("IDPOSICION")) {
        ValorDevuelto =
            buscarValor(QStringLiteral("MA_POSICIONES"), c, QStringLiteral("IDPOSICION"))
                .value_or(QString());
    } else if (campo == QLatin1String("CODIGO")) {
        std::optional<QString> v =
            buscarValor(QStringLiteral("TA_CCOSTO"), c, QStringLiteral("CODIGO"));
        if (!v)
            v = buscarValor(QStringLiteral("MA_CUENTAS"), c, QStringLiteral("CODIGO"));
        ValorDevuelto = v.value_or(QString());
    }
    return true;
}

void Lib_FrmCons3Tree::Cancelar() {
    ValorDevuelto.clear();
    CmpsDevueltos.reset();
    Valores.clear();
}

void Lib_FrmCons3Tree::NuevaBusqueda() {
    if (TextoVb::contiene(SQL, QStringLiteral("v_ta_familias")))
        ArmarTreeVFamilias();
    else
        ArmarTreeVAutomatico();
}

QModelIndex Lib_FrmCons3Tree::indiceDeNodo(int i) const {
    if (i < 0 || i >= nodos())
        return QModelIndex();
    return createIndex(i == 0 ? 0 : nodos_[i].fila, 0, quintptr(i));
}

int Lib_FrmCons3Tree::nodoDeIndice(const QModelIndex& index) const {
    return index.isValid() ? int(index.internalId()) : -1;
}

QModelIndex Lib_FrmCons3Tree::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return QModelIndex();
    if (!parent.isValid())
        return row == 0 && !nodos_.isEmpty() ? createIndex(0, 0, quintptr(0)) : QModelIndex();
    const int p = nodoDeIndice(parent);
    if (p < 0 || p >= nodos() || row >= nodos_[p].hijos.size())
        return QModelIndex();
    return createIndex(row, 0, quintptr(nodos_[p].hijos[row]));
}

QModelIndex Lib_FrmCons3Tree::parent(const QModelIndex& child) const {
    const int i = nodoDeIndice(child);
    if (i <= 0 || i >= nodos())
        return QModelIndex();
    return indiceDeNodo(nodos_[i].padre);
}

int Lib_FrmCons3Tree::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return nodos_.isEmpty() ? 0 : 1;
    const int p = nodoDeIndice(parent);
    return p >= 0 && p < nodos() ? int(nodos_[p].hijos.size()) : 0;
}

int Lib_FrmCons3Tree::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant Lib_FrmCons3Tree::data(const QModelIndex& index, int role) const {
    const int i = nodoDeIndice(index);
    if (i < 0 || i >= nodos())
        return QVariant();
    if (role == Qt::DisplayRole)
        return nodos_[i].texto;
    if (role == Qt::CheckStateRole && CheckBoxes)
        return nodos_[i].marcada ? Qt::Checked : Qt::Unchecked;
    return QVariant();
}

bool Lib_FrmCons3Tree::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !CheckBoxes)
        return false;
    setMarcada(nodoDeIndice(index), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags Lib_FrmCons3Tree::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractItemModel::flags(index);
    if (CheckBoxes)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace rp::lookup
