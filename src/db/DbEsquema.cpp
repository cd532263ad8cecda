// Schema inspection and change through the provider's catalogue.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "ui/Operador.h"

namespace rp::db {

namespace {

// Index of a catalogue column by name; -1 when absent.
int columna(const Cursor& cursor, const QString& nombre) {
    const QList<Field>& campos = cursor.fields();
    for (int i = 0; i < campos.size(); ++i)
        if (campos.at(i).name.compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// Walks a catalogue looking for a row whose `nombreColumna` equals `buscado`
// (trimmed, any letter case).
bool buscarEnCatalogo(Cursor& cursor, const QString& nombreColumna, const QString& buscado) {
    const int i = columna(cursor, nombreColumna);
    if (i < 0)
        throw DbError(errc::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to "
                                     "the requested name or ordinal."));
    const QString objetivo = TextoVb::recortar(buscado);
    while (cursor.fetch())
        if (TextoVb::recortar(cursor.value(i).toString()).compare(objetivo, Qt::CaseInsensitive) ==
            0)
            return true;
    return false;
}

} // namespace

bool DB_Dll::ExisteTablaDB(const QString& Tabla) {
    // Retry reads the catalogue again; Ignore and Abort both answer that the
    // table is not there.
    bool existe = false;
    baseCompartida().pasosConAviso(QStringLiteral("VerificaCampos"))([&] {
        // An empty catalogue (or one that could not be read) has no table.
        std::unique_ptr<Cursor> tablas = conexion().openSchemaTables();
        existe = tablas && buscarEnCatalogo(*tablas, QStringLiteral("TABLE_NAME"), Tabla);
    });
    return existe;
}

bool DB_Dll::ExisteCampoDB(const QString& Tabla, const QString& Campo) {
    if (TextoVb::contiene(baseCompartida().gProveedor, QStringLiteral("ORACLE")))
        return true;
    // Ignore and Abort both answer that the field is not there.
    bool existe = false;
    baseCompartida().pasosConAviso(QStringLiteral("VerificaCampos"))([&] {
        std::unique_ptr<Cursor> columnas = conexion().openSchemaColumns(gDBName, Tabla);
        existe = columnas && buscarEnCatalogo(*columnas, QStringLiteral("COLUMN_NAME"), Campo);
    });
    return existe;
}

void DB_Dll::AddField(const QString& Tabla, const QString& Campo, const QString& Tipo,
                      bool PermiteNulos, const std::optional<QString>& ValorDefault) {
    const QString nulos = PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null ");
    const QString porDefecto =
        ValorDefault ? QStringLiteral(" CONSTRAINT DF_") + TextoVb::recortar(Tabla) +
                           QStringLiteral("_") + TextoVb::recortar(Campo) +
                           QStringLiteral(" DEFAULT (") + *ValorDefault + QStringLiteral(")")
                     : QString();
    QString sentencia = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") +
                        Campo + QStringLiteral(" ") + Tipo + nulos + porDefecto;
    qint32 filas = 0;
    // The execution is silent: a rejected statement leaves its provider
    // errors on the connection.
    EjecutaConsultaSQL(sentencia, filas, nullptr);
}

bool DB_Dll::VerCampoDB(const QString& Tabla, const QString& Campo, bool Agregar,
                        const QString& Tipo, bool PermiteNulos,
                        const std::optional<QString>& ValorDefault) {
    if (ExisteTablaDB(Tabla) && !ExisteCampoDB(Tabla, Campo) && Agregar)
        AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
    return true;
}

} // namespace rp::db
