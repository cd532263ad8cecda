#include "lookup/ArchivoConsultas.h"

#include "suite/ArchivoRegular.h"
#include "suite/Texto1252.h"

#include <QFile>
#include <QSaveFile>

namespace rp::lookup {

namespace {

QByteArray campo(const QString& texto, int largo) {
    QByteArray b = rp::suite::Texto1252::codificar(texto).left(largo);
    b.append(QByteArray(largo - b.size(), ' '));
    return b;
}

} // namespace

QByteArray RegistroConsulta::aBytes() const {
    QByteArray r;
    r.reserve(LargoRegistro);
    r += campo(Titulo.trimmed(), LargoTitulo);
    r += campo(Tabla, LargoTabla);
    r += campo(Campos.trimmed(), LargoCampos);
    r += campo(Filtro.trimmed(), LargoFiltro);
    r += "\r\n";
    return r;
}

RegistroConsulta RegistroConsulta::desdeBytes(const QByteArray& bytes) {
    auto parte = [&](int desde, int largo) {
        return rp::suite::Texto1252::decodificar(bytes.mid(desde, largo));
    };
    RegistroConsulta r;
    r.Titulo = parte(0, LargoTitulo);
    r.Tabla = parte(LargoTitulo, LargoTabla);
    r.Campos = parte(LargoTitulo + LargoTabla, LargoCampos);
    r.Filtro = parte(LargoTitulo + LargoTabla + LargoCampos, LargoFiltro);
    return r;
}

QStringList RegistroConsulta::columnas() const {
    QStringList cols;
    for (const QString& c : Campos.trimmed().split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        if (!c.trimmed().isEmpty())
            cols << c.trimmed();
    }
    return cols;
}

QList<RegistroConsulta> ArchivoConsultas::filasPorDefecto() {
    return {
        {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|", {}},
        {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|", {}},
        {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|", {}},
        {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|", {}},
        {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|", {}},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|", {}},
        {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|", {}},
        {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|", {}},
        {"TAREAS", "V_TA_Tareas", "|Descripcion|IdTarea|", {}},
        {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|", {}},
        {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|", {}},
    };
}

bool ArchivoConsultas::crear(const QString& ruta) {
    QByteArray todo;
    for (const RegistroConsulta& r : filasPorDefecto())
        todo += r.aBytes();
    if (!QFile::exists(ruta)) {
        // A new file appears whole or not at all.
        QSaveFile nuevo(ruta);
        return nuevo.open(QIODevice::WriteOnly) && nuevo.write(todo) == todo.size() &&
               nuevo.commit();
    }
    QFile f(ruta);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    // Records go after the last complete one; a torn tail is overwritten.
    const qint64 completos = f.size() / RegistroConsulta::LargoRegistro;
    if (!f.seek(completos * RegistroConsulta::LargoRegistro))
        return false;
    if (f.write(todo) != todo.size())
        return false;
    f.resize(f.pos());
    return f.flush();
}

std::optional<RegistroConsulta> ArchivoConsultas::buscar(const QString& ruta,
                                                         const QString& tabla) {
    const std::optional<QByteArray> todo =
        rp::suite::leerArchivoRegular(ruta, rp::suite::Texto1252::kMaximoArchivo);
    if (!todo)
        return std::nullopt;
    const QString buscada = tabla.trimmed();
    for (qsizetype desde = 0;; desde += RegistroConsulta::LargoRegistro) {
        if (todo->size() - desde < RegistroConsulta::LargoRegistro)
            return std::nullopt;
        RegistroConsulta r =
            RegistroConsulta::desdeBytes(todo->mid(desde, RegistroConsulta::LargoRegistro));
        QString t = r.Tabla;
        t.remove(QChar(0)).remove(QChar(0xFF));
        if (t.trimmed().compare(buscada, Qt::CaseInsensitive) == 0)
            return r;
    }
}

} // namespace rp::lookup
