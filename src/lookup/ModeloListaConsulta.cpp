#include "lookup/ModeloListaConsulta.h"

#include "db/TextoVb.h"

#include <algorithm>
#include <numeric>

namespace rp::lookup {

using rp::db::TextoVb;

ModeloListaConsulta::ModeloListaConsulta(QObject* parent) : QAbstractTableModel(parent) {}

void ModeloListaConsulta::limpiar() {
    beginResetModel();
    filas_.clear();
    orden_.clear();
    endResetModel();
}

void ModeloListaConsulta::setColumnas(const QList<Columna>& columnas) {
    beginResetModel();
    columnas_ = columnas;
    endResetModel();
}

void ModeloListaConsulta::setFilas(QVector<Fila> filas) {
    beginResetModel();
    filas_ = std::move(filas);
    orden_.resize(filas_.size());
    std::iota(orden_.begin(), orden_.end(), 0);
    endResetModel();
}

void ModeloListaConsulta::setConMarcas(bool conMarcas) {
    if (conMarcas_ == conMarcas)
        return;
    beginResetModel();
    conMarcas_ = conMarcas;
    endResetModel();
}

QString ModeloListaConsulta::celda(int pos, int col) const {
    if (pos < 0 || pos >= filas() || col < 0)
        return QString();
    const QStringList& c = fila(pos).celdas;
    return col < c.size() ? c[col] : QString();
}

void ModeloListaConsulta::setCelda(int pos, int col, const QString& texto) {
    if (pos < 0 || pos >= filas() || col < 0 || col >= columnas_.size())
        return;
    QStringList& c = filas_[orden_[pos]].celdas;
    while (c.size() <= col)
        c.append(QString());
    c[col] = texto;
    Q_EMIT dataChanged(index(pos, col), index(pos, col));
}

int ModeloListaConsulta::Busqueda(int col, const QString& texto) const {
    const int n = filas();
    for (int pos = 0; pos < n; ++pos) {
        const QStringList& c = filas_[orden_[pos]].celdas;
        if (col < c.size() && TextoVb::recortar(c[col]).startsWith(texto, Qt::CaseInsensitive))
            return pos + 1;
        if (col >= c.size() && texto.isEmpty())
            return pos + 1;
    }
    return 0;
}

int ModeloListaConsulta::IndiceColumna(const QString& titulo) const {
    const QString t = titulo.trimmed();
    for (int i = 0; i < columnas_.size(); ++i)
        if (columnas_[i].titulo.trimmed().compare(t, Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

std::optional<QString> ModeloListaConsulta::valor(int pos, const QString& titulo) const {
    const int p = IndiceColumna(titulo);
    if (p == 0)
        return std::nullopt;
    return celda(pos, p - 1);
}

void ModeloListaConsulta::clicEncabezado(int col) {
    columnaOrden_ = col;
    orden__ = orden__ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    ordenar();
}

void ModeloListaConsulta::ordenar() {
    const int col = columnaOrden_;
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList antes = persistentIndexList();
    const QVector<int> anterior = orden_;
    // Keys folded once: the comparisons then run on plain texts.
    QVector<QString> claves(filas_.size());
    for (int i = 0; i < filas_.size(); ++i) {
        const QStringList& c = filas_[i].celdas;
        claves[i] = col < c.size() ? c[col].toCaseFolded() : QString();
    }
    if (orden__ == Qt::AscendingOrder)
        std::stable_sort(orden_.begin(), orden_.end(),
                         [&](int a, int b) { return claves[a] < claves[b]; });
    else
        std::stable_sort(orden_.begin(), orden_.end(),
                         [&](int a, int b) { return claves[b] < claves[a]; });
    // Persistent indexes (the view's selection) follow their rows.
    QVector<int> posNueva(filas_.size());
    for (int p = 0; p < orden_.size(); ++p)
        posNueva[orden_[p]] = p;
    QModelIndexList nuevos;
    for (const QModelIndex& i : antes)
        nuevos << index(posNueva[anterior[i.row()]], i.column());
    changePersistentIndexList(antes, nuevos);
    Q_EMIT layoutChanged();
}

void ModeloListaConsulta::setMarcada(int pos, bool marcada) {
    if (pos < 0 || pos >= filas())
        return;
    filas_[orden_[pos]].marcada = marcada;
    Q_EMIT dataChanged(index(pos, 0), index(pos, 0), {Qt::CheckStateRole});
}

void ModeloListaConsulta::invertirMarcas() {
    for (Fila& f : filas_)
        f.marcada = !f.marcada;
    if (!filas_.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(filas() - 1, 0), {Qt::CheckStateRole});
}

void ModeloListaConsulta::desmarcarTodas() {
    for (Fila& f : filas_)
        f.marcada = false;
    if (!filas_.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(filas() - 1, 0), {Qt::CheckStateRole});
}

int ModeloListaConsulta::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : filas();
}

int ModeloListaConsulta::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columnas_.size());
}

QVariant ModeloListaConsulta::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= filas())
        return QVariant();
    const Fila& f = fila(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return celda(index.row(), index.column());
    case Qt::CheckStateRole:
        if (conMarcas_ && index.column() == 0)
            return f.marcada ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case RolColorStock:
        return f.color;
    default:
        return QVariant();
    }
}

bool ModeloListaConsulta::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || !conMarcas_ || index.column() != 0)
        return false;
    setMarcada(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant ModeloListaConsulta::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnas_.size())
        return columnas_[section].titulo;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ModeloListaConsulta::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (conMarcas_ && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace rp::lookup
