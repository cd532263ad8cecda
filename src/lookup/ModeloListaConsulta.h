#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace rp::lookup {

// The rows of a list lookup, held once in memory: columns with their
// headers, rows of texts with a mark and a stock colour, the display order
// (header sorts reorder an index, never the rows), the type-ahead search
// and the quantity column. The window shows it through a QTableView.
class ModeloListaConsulta : public QAbstractTableModel {
    Q_OBJECT
public:
    // Role of a row's stock colour: a Windows colour value (0x00BBGGRR) when
    // the row is coloured (shown bold in that colour), invalid otherwise.
    static constexpr int RolColorStock = Qt::UserRole + 1;

    struct Columna {
        QString campo;       // field name (the search box's tag)
        QString titulo;      // header text
        int caracteres = 10; // width in characters "X"
    };
    struct Fila {
        QStringList celdas; // cell 0 is the row text
        bool marcada = false;
        QVariant color; // stock colour, invalid when none
    };

    explicit ModeloListaConsulta(QObject* parent = nullptr);

    // ---- filling ------------------------------------------------------------
    void limpiar();
    void setColumnas(const QList<Columna>& columnas);
    void setFilas(QVector<Fila> filas);
    void setConMarcas(bool conMarcas);
    bool conMarcas() const { return conMarcas_; }

    const QList<Columna>& columnas() const { return columnas_; }
    int filas() const { return int(orden_.size()); }
    // The row shown at `pos` (0-based display position).
    const Fila& fila(int pos) const { return filas_[orden_[pos]]; }
    QString celda(int pos, int col) const;
    void setCelda(int pos, int col, const QString& texto);

    // ---- search and sort ------------------------------------------------------
    // 1-based display position of the first row whose cell `col`, trimmed,
    // starts with `texto` (any letter case); 0 when none.
    int Busqueda(int col, const QString& texto) const;
    // 1-based position of the column whose header, trimmed, equals `titulo`
    // trimmed (any letter case); 0 when none.
    int IndiceColumna(const QString& titulo) const;
    // The value of row `pos` for a column header: the row text for the first
    // column, the cell otherwise; nullopt when there is no such column.
    std::optional<QString> valor(int pos, const QString& titulo) const;

    // Header click: sorts by `col`, flipping the shared order (ascending
    // becomes descending, descending ascending).
    void clicEncabezado(int col);
    // Sorts by the current column and order.
    void ordenar();
    int columnaOrden() const { return columnaOrden_; }
    Qt::SortOrder ordenActual() const { return orden__; }

    // ---- marks ------------------------------------------------------------------
    bool marcada(int pos) const { return fila(pos).marcada; }
    void setMarcada(int pos, bool marcada);
    void invertirMarcas();
    void desmarcarTodas();

    // ---- QAbstractTableModel ----------------------------------------------------
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<Columna> columnas_;
    QVector<Fila> filas_;
    QVector<int> orden_;
    bool conMarcas_ = false;
    int columnaOrden_ = 0;
    Qt::SortOrder orden__ = Qt::AscendingOrder;
};

} // namespace rp::lookup
