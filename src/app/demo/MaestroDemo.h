#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace rp::demo {

struct CodigoDescripcion {
    QString codigo;
    QString descripcion;
};

struct CuentaDemo {
    QString codigo;
    QString razonSocial;
    QString tipo; // "P" supplier, "C" customer
    QString cuit;
    QString domicilio;
    QString localidad;
    QString telefono;
    QString contacto;
    int dadaDeBaja = 0;
    int seccion = -1; // section a supplier serves
};

struct ArticuloDemo {
    QString codigo; // 25 wide
    QString descripcion;
    QString idRubro;
    QString idTipo;
    QString proveedor;
    QString idFamilia;
    QString unidad;
    QString codigoBarra;
    double tasaIva = 21;
    double costoBase = 1;
    double puntoPedido = 0;
    double stock = 0;
    int suspendido = 0;
    int diaAlta = 0; // working-day index of the first price
    // Filled in by the price history.
    double costo = 0;
    qint64 fhUltimoCosto = -1; // seconds from the start of the period; -1 = none
};

// The master data of the demo database (groups, families, brands, accounts,
// articles), built in memory from the catalogue and the seed.
class MaestroDemo {
public:
    MaestroDemo(int articulos, std::uint64_t semilla);

    const QList<CodigoDescripcion>& rubros() const { return rubros_; }
    const QList<CodigoDescripcion>& familias() const { return familias_; }
    const QList<CodigoDescripcion>& marcas() const { return marcas_; }
    const QList<CuentaDemo>& cuentas() const { return cuentas_; }
    QList<ArticuloDemo>& articulos() { return articulos_; }
    const QList<ArticuloDemo>& articulos() const { return articulos_; }

    // Right-aligns a code in its width, padding with blanks on the left (as
    // the suite stores article, group and unit-of-business codes).
    static QString formatoCodigo(const QString& codigo, int ancho);

private:
    void armarTablas();
    void armarCuentas(std::uint64_t semilla, int proveedores);
    void armarArticulos(int cantidad, std::uint64_t semilla);

    QList<CodigoDescripcion> rubros_;
    QList<CodigoDescripcion> familias_;
    QList<CodigoDescripcion> marcas_;
    QList<CuentaDemo> cuentas_;
    QList<ArticuloDemo> articulos_;
    QList<QStringList> marcasPorSeccion_;      // brand codes of each section
    QList<QStringList> proveedoresPorSeccion_; // supplier codes of each section
};

} // namespace rp::demo
