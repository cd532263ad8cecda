#pragma once

#include "lookup/MiembrosConsulta.h"
#include "ui/Operador.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QStringList>
#include <QVector>
#include <optional>

namespace rp::lookup {

// The family tree dialog "Consulta..." without its window: the nodes (the
// root "Consulta..." with key "A", one node per row keyed "A" + code), both
// tree builders, the search box, check marks and the results. Shown through
// the operator interface under the name "Lib_FrmCons3Tree"; the window
// (VentanaConsultaArbol) shows it through a QTreeView.
class Lib_FrmCons3Tree : public QAbstractItemModel,
                         public ui::DialogoModal,
                         public MiembrosConsulta {
    Q_OBJECT
public:
    struct Nodo {
        QString clave; // "A" + code, blanks kept
        QString texto; // code + " - " + description
        int padre = -1;
        int fila = 0; // position under its parent
        QVector<int> hijos;
        bool marcada = false;
    };
    // Levels below a checked node that take its mark.
    static constexpr int NivelesMarca = 6;

    explicit Lib_FrmCons3Tree(QObject* parent = nullptr);
    QString dialogName() const override { return QStringLiteral("Lib_FrmCons3Tree"); }

    // ---- public members: those of MiembrosConsulta -----------------------------

    // ---- load and builders ------------------------------------------------------
    void Load();
    void ArmarTreeVFamilias();
    void ArmarTreeVAutomatico();
    // Builds the tree from rows of (code, description[, relative]): with
    // `porPariente`, each node hangs from the node of its relative (the root
    // when null); otherwise from the longest key prefix.
    void armar(const QVector<QStringList>& filas, const QVector<bool>& sinPariente,
               bool porPariente);
    // The family statement with the parent of each family worked out by the
    // database.
    static QString sentenciaFamilias();

    // ---- nodes --------------------------------------------------------------------
    int nodos() const { return int(nodos_.size()); }
    const Nodo& nodo(int i) const { return nodos_[i]; }
    // Index of the node with that key (exact); -1 when none.
    int nodoDeClave(const QString& clave) const { return claves_.value(clave, -1); }
    int nivel(int i) const;
    QString codigo(int i) const { return nodos_[i].clave.mid(1); }
    int seleccionado() const { return seleccionado_; }
    void setSeleccionado(int i);
    // Changes a node's mark; descendants down to six levels take it.
    void setMarcada(int i, bool marcada);
    QModelIndex indiceDeNodo(int i) const;
    int nodoDeIndice(const QModelIndex& index) const;

    // ---- operator's actions -----------------------------------------------------
    // The search box's text changed: selects the first node whose code or
    // description starts with it.
    void cambioBusqueda(const QString& texto);
    // F5: narrows on descriptions containing the text and loads again.
    void busquedaServidor(const QString& texto);
    bool Aceptar();
    void Cancelar();
    void NuevaBusqueda();

    // ---- QAbstractItemModel -------------------------------------------------------
    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    void seleccionCambiada(int nodo);
    void recargado();

private:
    void vaciar();
    int agregar(const QString& clave, const QString& texto, int padre);
    // Rows of a statement: code, description and (family builder) relative.
    bool leer(const QString& sentencia, int columnas, QVector<QStringList>& filas,
              QVector<bool>& sinPariente);
    std::optional<QString> buscarValor(const QString& tabla, const QString& codigo,
                                       const QString& campo);

    QVector<Nodo> nodos_;
    QHash<QString, int> claves_;
    int seleccionado_ = -1;
    QString sqlActual_;
    QString clausulaOrden_;
};

} // namespace rp::lookup
