#include "app/demo/MaestroDemo.h"

#include "app/demo/CatalogoDemo.h"
#include "app/demo/GeneradorAzar.h"

#include <algorithm>
#include <cmath>

namespace rp::demo {

namespace {

QString dosDigitos(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString digitos(GeneradorAzar& azar, int cantidad) {
    QString s;
    for (int i = 0; i < cantidad; ++i)
        s += QChar(u'0' + static_cast<char16_t>(azar.entero(10)));
    return s;
}

// EAN-13 with an Argentine prefix and its check digit.
QString codigoDeBarras(GeneradorAzar& azar) {
    const QString base = QStringLiteral("779") + digitos(azar, 9);
    int suma = 0;
    for (int i = 0; i < base.size(); ++i)
        suma += (base.at(i).unicode() - u'0') * (i % 2 == 0 ? 1 : 3);
    return base + QString::number((10 - suma % 10) % 10);
}

double redondear(double v) {
    return std::round(v * 100.0) / 100.0;
}

struct Combinacion {
    int seccion;
    int linea;
    int articulo;
    int medida;
    int variante;
    int marca;
};

} // namespace

QString MaestroDemo::formatoCodigo(const QString& codigo, int ancho) {
    const QString t = codigo.trimmed();
    if (t.size() >= ancho)
        return t.left(ancho);
    return QString(ancho - t.size(), QLatin1Char(' ')) + t;
}

MaestroDemo::MaestroDemo(int articulos, std::uint64_t semilla) {
    armarTablas();
    armarCuentas(semilla ^ 0x5EED0001ULL, std::clamp(articulos / 40, 24, 400));
    armarArticulos(articulos, semilla ^ 0x5EED0002ULL);
}

void MaestroDemo::armarTablas() {
    const auto& secciones = CatalogoDemo::secciones();
    int marca = 0;
    for (int s = 0; s < secciones.size(); ++s) {
        const SeccionDemo& sec = secciones.at(s);
        rubros_.append({formatoCodigo(QString::number(s + 1), 4), sec.nombre});
        const QString fs = dosDigitos(s + 1);
        familias_.append({fs, sec.nombre});
        for (int l = 0; l < sec.lineas.size(); ++l) {
            const LineaDemo& lin = sec.lineas.at(l);
            const QString fl = fs + dosDigitos(l + 1);
            familias_.append({fl, lin.nombre});
            for (int a = 0; a < lin.articulos.size(); ++a)
                familias_.append({fl + dosDigitos(a + 1), lin.articulos.at(a)});
        }
        QStringList codigos;
        for (const QString& m : sec.marcas) {
            const QString c = formatoCodigo(QString::number(++marca), 4);
            marcas_.append({c, m});
            codigos.append(c);
        }
        marcasPorSeccion_.append(codigos);
    }
}

void MaestroDemo::armarCuentas(std::uint64_t semilla, int proveedores) {
    GeneradorAzar azar(semilla);
    const auto& secciones = CatalogoDemo::secciones();
    const auto& ap = CatalogoDemo::apellidos();
    const auto& loc = CatalogoDemo::localidades();
    const auto& calles = CatalogoDemo::calles();
    auto elegir = [&azar](const QStringList& l) {
        return l.at(static_cast<int>(azar.entero(l.size())));
    };
    auto completar = [&](CuentaDemo& c, const QString& prefijoCuit) {
        c.cuit =
            prefijoCuit + QLatin1Char('-') + digitos(azar, 8) + QLatin1Char('-') + digitos(azar, 1);
        c.localidad = elegir(loc);
        c.domicilio = elegir(calles) + QLatin1Char(' ') + QString::number(azar.entre(100, 3999));
        c.telefono =
            QStringLiteral("0341 ") + digitos(azar, 3) + QLatin1Char('-') + digitos(azar, 4);
        c.contacto = elegir(ap);
    };
    proveedoresPorSeccion_.resize(secciones.size());
    for (int i = 0; i < proveedores; ++i) {
        CuentaDemo c;
        c.tipo = QStringLiteral("P");
        c.codigo = QStringLiteral("2%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        c.seccion = i % static_cast<int>(secciones.size());
        const QString a1 = elegir(ap), a2 = elegir(ap), l = elegir(loc);
        switch (azar.entero(7)) {
        case 0:
            c.razonSocial = a1 + QStringLiteral(" Hnos. S.R.L.");
            break;
        case 1:
            c.razonSocial = QStringLiteral("Distribuidora ") + l + QStringLiteral(" S.A.");
            break;
        case 2:
            c.razonSocial = a1 + QStringLiteral(" y ") + a2 + QStringLiteral(" S.H.");
            break;
        case 3:
            c.razonSocial = QStringLiteral("Mayorista ") + a1 + QStringLiteral(" S.A.");
            break;
        case 4:
            c.razonSocial = QStringLiteral("Comercial ") + l + QStringLiteral(" S.R.L.");
            break;
        case 5:
            c.razonSocial = QStringLiteral("Industrias ") + a1 + QStringLiteral(" S.A.I.C.");
            break;
        default:
            c.razonSocial =
                secciones.at(c.seccion).nombre + QLatin1Char(' ') + l + QStringLiteral(" S.A.");
        }
        completar(c, QStringLiteral("30"));
        c.dadaDeBaja = azar.probabilidad(0.05) ? 1 : 0;
        cuentas_.append(c);
        if (!c.dadaDeBaja || proveedoresPorSeccion_[c.seccion].isEmpty())
            proveedoresPorSeccion_[c.seccion].append(c.codigo);
    }
    for (int i = 0; i < 30; ++i) {
        CuentaDemo c;
        c.tipo = QStringLiteral("C");
        c.codigo = QStringLiteral("1%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        const QString a1 = elegir(ap), l = elegir(loc);
        switch (azar.entero(4)) {
        case 0:
            c.razonSocial = QStringLiteral("Almacén ") + a1;
            break;
        case 1:
            c.razonSocial = QStringLiteral("Supermercado ") + l;
            break;
        case 2:
            c.razonSocial = QStringLiteral("Autoservicio ") + a1 + QStringLiteral(" S.R.L.");
            break;
        default:
            c.razonSocial = QStringLiteral("Ferretería ") + a1;
        }
        completar(c, QStringLiteral("20"));
        cuentas_.append(c);
    }
}

void MaestroDemo::armarArticulos(int cantidad, std::uint64_t semilla) {
    GeneradorAzar azar(semilla);
    const auto& secciones = CatalogoDemo::secciones();
    QList<Combinacion> combinaciones;
    for (int s = 0; s < secciones.size(); ++s) {
        const SeccionDemo& sec = secciones.at(s);
        for (int l = 0; l < sec.lineas.size(); ++l) {
            const LineaDemo& lin = sec.lineas.at(l);
            const int variantes = std::max<int>(1, static_cast<int>(lin.variantes.size()));
            for (int a = 0; a < lin.articulos.size(); ++a)
                for (int m = 0; m < lin.medidas.size(); ++m)
                    for (int v = 0; v < variantes; ++v)
                        for (int b = 0; b < sec.marcas.size(); ++b)
                            combinaciones.append({s, l, a, m, v, b});
        }
    }
    for (qsizetype i = combinaciones.size() - 1; i > 0; --i)
        std::swap(combinaciones[i], combinaciones[azar.entero(i + 1)]);

    articulos_.reserve(cantidad);
    for (int i = 0; i < cantidad; ++i) {
        const Combinacion& c = combinaciones.at(i % combinaciones.size());
        const int vuelta = static_cast<int>(i / combinaciones.size());
        const SeccionDemo& sec = secciones.at(c.seccion);
        const LineaDemo& lin = sec.lineas.at(c.linea);
        ArticuloDemo art;
        art.codigo = formatoCodigo(QString::number(i + 1), 25);
        QString d = lin.articulos.at(c.articulo) + QLatin1Char(' ') + lin.medidas.at(c.medida);
        if (c.variante < lin.variantes.size() && !lin.variantes.at(c.variante).isEmpty())
            d += QLatin1Char(' ') + lin.variantes.at(c.variante);
        d += QLatin1Char(' ') + sec.marcas.at(c.marca);
        if (vuelta > 0)
            d += QStringLiteral(" (pack x %1)").arg(vuelta * 6);
        art.descripcion = d;
        art.idRubro = rubros_.at(c.seccion).codigo;
        art.idTipo = marcasPorSeccion_.at(c.seccion).at(c.marca);
        const QStringList& provs = proveedoresPorSeccion_.at(c.seccion);
        art.proveedor = provs.at(static_cast<int>(azar.entero(provs.size())));
        art.idFamilia =
            dosDigitos(c.seccion + 1) + dosDigitos(c.linea + 1) + dosDigitos(c.articulo + 1);
        art.unidad = lin.unidad;
        art.codigoBarra = codigoDeBarras(azar);
        art.tasaIva = lin.tasaIva;
        art.costoBase =
            redondear(std::exp(azar.real(std::log(lin.costoMinimo), std::log(lin.costoMaximo))));
        art.puntoPedido = azar.probabilidad(0.3) ? 0 : static_cast<double>(azar.entre(5, 60));
        art.stock = azar.probabilidad(0.1) ? 0 : static_cast<double>(azar.entre(-5, 250));
        art.suspendido = azar.probabilidad(0.02) ? 1 : 0;
        articulos_.append(art);
    }
}

} // namespace rp::demo
