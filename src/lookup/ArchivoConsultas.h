#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace rp::lookup {

// One record of the lookup definition file "consultas.kst": fixed-length
// records of 1202 single-byte (Windows-1252) characters, text fields
// left-aligned and padded with blanks, each record ended by CR LF.
struct RegistroConsulta {
    static constexpr int LargoTitulo = 100;
    static constexpr int LargoTabla = 100;
    static constexpr int LargoCampos = 500;
    static constexpr int LargoFiltro = 500;
    static constexpr int LargoRegistro = 1202;

    QString Titulo;
    QString Tabla;
    QString Campos; // "|COL1|COL2|"
    QString Filtro; // condition without WHERE

    QByteArray aBytes() const;
    static RegistroConsulta desdeBytes(const QByteArray& bytes);
    // The column names of `Campos`, in order.
    QStringList columnas() const;
};

// The definition file and its default rows.
class ArchivoConsultas {
public:
    // The suite's eleven default rows, in order.
    static QList<RegistroConsulta> filasPorDefecto();
    // Appends the default rows after the last complete record of `ruta`
    // (creating the file). Returns false when the file cannot be written.
    static bool crear(const QString& ruta);
    // The first record whose table (bytes 0 and 255 removed, trimmed) equals
    // `tabla` (trimmed) in any letter case.
    static std::optional<RegistroConsulta> buscar(const QString& ruta, const QString& tabla);
};

} // namespace rp::lookup
