#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace rp::lookup {

class Lib_FrmCons3;
class Lib_FrmCons3Tree;

// The lookup request shared by the program (`gConsulta`): builds the bounded
// statement of a lookup (SentenciaConsulta), shows the list dialog
// (Lib_FrmCons3) or the family tree (Lib_FrmCons3Tree) through the operator
// interface and hands back the picked key or the marked keys.
//
// Start-up sets the connection string, the definition file and the
// configuration reader; the configuration values (stock colours, stock
// display, contains-search) are read at the first lookup, "TopConsArt" at
// every lookup.
class Lib_ClsCons3 {
public:
    using LectorConfiguracion = std::function<QString(const QString& clave)>;
    using Lanzador = std::function<void(const QString& comando, const QString& parametro)>;
    // Runs once per shown dialog, after it is loaded and before it is shown
    // (the headless lookup reads the rows there).
    using Observador = std::function<void(Lib_FrmCons3&)>;
    using ObservadorArbol = std::function<void(Lib_FrmCons3Tree&)>;

    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    QStringList Valores;
    QStringList Cantidades;
    bool Checks = false;
    QString ValorDevuelto;
    QString gConnString;
    QString gRutaMascaraConsultas; // program folder + "consultas.kst"
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;
    QString CampoDevuelto;
    // True when the last dialog was accepted (false after a cancel or when
    // no dialog was shown).
    bool Aceptada = false;

    LectorConfiguracion cfg;
    Lanzador lanzador;
    Observador observador;
    ObservadorArbol observadorArbol;

    // The lookup: `sql` is a table or view name or a statement. The
    // parameters passed by reference may come back changed (see the
    // statement builder); `cmpsDevueltos` comes back empty (nullopt).
    void ConsultaSearch(const QString& sql, std::optional<QStringList>& cmpsDevueltos,
                        QString& clave, QString& campoBusqueda, QString& where,
                        QString& sentenciaOpcional, bool& treeView, QString& valoresDefault);
    // The same with no further columns and empty texts.
    void ConsultaSearch(const QString& sql, bool treeView = false);

    // The option pickers.
    QString MenuOpciones(const QString& titulo, const QStringList& opciones);
    // Each option starts with "1" (marked) or another flag character; the
    // marked captions come back in Valores.
    void CheckOpciones(const QString& titulo, const QStringList& opciones);
    QString ConsultaDesdeArchivo(const QString& titulo, const QString& archivo);

    // The statement the last ConsultaSearch built (empty when none).
    QString ultimaSentencia() const { return ultimaSentencia_; }
    bool UsaConsultaLike() const { return usaConsultaLike_; }
    // Reads the configuration values again at the next lookup.
    void olvidarConfiguracion() { configurada_ = false; }

private:
    void configurar();
    void prepararDialogo(Lib_FrmCons3& frm) const;
    bool mostrarOpciones(Lib_FrmCons3& frm, const QString& titulo, const QStringList& opciones,
                         const QList<bool>& marcas);

    bool usaConsultaLike_ = false;
    bool configurada_ = false;
    QString ultimaSentencia_;
};

// The run's lookup request, created on first use.
Lib_ClsCons3& gConsulta();

} // namespace rp::lookup
