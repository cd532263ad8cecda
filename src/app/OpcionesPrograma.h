#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace rp::app {

// The program's command line: options first ("--name value" or
// "--name=value"), then the suite's launch parameter string (everything after
// the options, joined with blanks). "--" ends the options explicitly.
struct OpcionesPrograma {
    QString carpetaPrograma;               // --program-folder
    bool demo = false;                     // --demo
    bool lote = false;                     // --batch
    QString trazaSql;                      // --trace-sql
    std::optional<QString> consulta;       // --query
    std::optional<QString> consultaCampo;  // --lookup TAG
    std::optional<QString> textoConsulta;  // --lookup-search TEXT
    QString exportar;                      // --export
    std::optional<int> pestana;            // --tab
    QList<QPair<QString, QString>> campos; // --field KEY=VALUE
    std::optional<QList<int>> columnas;    // --columns 0,2,5
    std::optional<int> precio;             // --price
    std::optional<int> orden;              // --order
    bool variacion = false;                // --changes
    std::optional<QString> filtro;         // --preset NAME
    std::optional<QString> guardarFiltro;  // --save-preset NAME
    bool ayuda = false;                    // --help
    bool version = false;                  // --version
    QString parametros;                    // launch parameter string

    // Parses argv without the program name. On a bad command line returns
    // nullopt and puts the reason in `error`.
    static std::optional<OpcionesPrograma> leer(const QStringList& args, QString& error);
    static QString textoAyuda();
};

} // namespace rp::app
