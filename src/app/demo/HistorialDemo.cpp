#include "app/demo/HistorialDemo.h"

#include "app/demo/CatalogoDemo.h"
#include "app/demo/GeneradorAzar.h"
#include "app/demo/SentenciaSqlite.h"

#include <QDate>
#include <QList>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace rp::demo {

namespace {

const QDate kInicio(2022, 1, 3); // a Monday
const QDate kFin(2025, 6, 30);
constexpr int kListas = 8;

// Calendar offsets (days from kInicio) of the working days of the period.
const std::vector<int>& diasLaborables() {
    static const std::vector<int> dias = [] {
        std::vector<int> d;
        for (QDate f = kInicio; f <= kFin; f = f.addDays(1))
            if (f.dayOfWeek() <= 5)
                d.push_back(static_cast<int>(kInicio.daysTo(f)));
        return d;
    }();
    return dias;
}

struct Evento {
    qint64 momento; // seconds from kInicio 00:00:00
    qint32 articulo;
    quint8 lista; // 1..8
    quint8 usuario;
    quint8 inicial; // first price of the article in the list
    bool operator<(const Evento& o) const {
        if (momento != o.momento)
            return momento < o.momento;
        if (articulo != o.articulo)
            return articulo < o.articulo;
        if (lista != o.lista)
            return lista < o.lista;
        if (inicial != o.inicial)
            return inicial > o.inicial;
        return usuario < o.usuario;
    }
};

double redondear(double v) {
    return std::round(v * 100.0) / 100.0;
}

struct EstadoLista {
    double costo = 0;
    double ajuste = 1;
};

std::array<double, 9> valores(const EstadoLista& e) {
    std::array<double, 9> v{};
    v[0] = e.costo;
    for (int c = 1; c <= 8; ++c)
        v[c] = redondear(e.costo * (1.0 + CatalogoDemo::margenClase(c)) * e.ajuste);
    return v;
}

} // namespace

HistorialDemo::HistorialDemo(qint64 cambios, std::uint64_t semilla)
    : cambios_(cambios), semilla_(semilla) {}

int HistorialDemo::diasHabiles() {
    return static_cast<int>(diasLaborables().size());
}

qint64 HistorialDemo::inicioDia(int indiceDiaHabil) {
    const std::vector<int>& dias = diasLaborables();
    const int i = std::clamp(indiceDiaHabil, 0, static_cast<int>(dias.size()) - 1);
    return static_cast<qint64>(dias[static_cast<size_t>(i)]) * 86400;
}

namespace {

// "YYYY-MM-DD HH:MM:SS" of a moment given in seconds from kInicio.
void escribirFechaHora(qint64 segundos, char (&out)[19]) {
    static const QList<QByteArray> dias = [] {
        QList<QByteArray> l;
        for (QDate f = kInicio; f <= kFin; f = f.addDays(1))
            l.append(f.toString(QStringLiteral("yyyy-MM-dd")).toLatin1());
        return l;
    }();
    const qint64 dia = segundos / 86400;
    const QByteArray fecha =
        (dia >= 0 && dia < dias.size())
            ? dias.at(dia)
            : kInicio.addDays(dia).toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
    std::memcpy(out, fecha.constData(), 10);
    const int s = static_cast<int>(segundos % 86400);
    out[10] = ' ';
    out[11] = static_cast<char>('0' + s / 36000);
    out[12] = static_cast<char>('0' + (s / 3600) % 10);
    out[13] = ':';
    out[14] = static_cast<char>('0' + (s % 3600) / 600);
    out[15] = static_cast<char>('0' + ((s % 3600) / 60) % 10);
    out[16] = ':';
    out[17] = static_cast<char>('0' + (s % 60) / 10);
    out[18] = static_cast<char>('0' + s % 10);
}

} // namespace

QString HistorialDemo::textoFechaHora(qint64 segundos) {
    char texto[19];
    escribirFechaHora(segundos, texto);
    return QString::fromLatin1(texto, 19);
}

bool HistorialDemo::cargar(sqlite3* db, QList<ArticuloDemo>& articulos) {
    const std::vector<int>& dias = diasLaborables();
    const int nDias = static_cast<int>(dias.size());
    const qint64 nArt = articulos.size();
    GeneradorAzar azar(semilla_ ^ 0x5EED0003ULL);

    // Users drawn by their share of the changes.
    const auto& usuarios = CatalogoDemo::usuarios();
    std::vector<int> ruleta;
    for (int u = 0; u < usuarios.size(); ++u)
        for (int k = 0; k < usuarios.at(u).pesoCambios; ++k)
            ruleta.push_back(u);
    auto usuarioAlAzar = [&]() {
        return static_cast<quint8>(
            ruleta[static_cast<size_t>(azar.entero(static_cast<qint64>(ruleta.size())))]);
    };
    auto momento = [&](int indiceDia) {
        return static_cast<qint64>(dias[static_cast<size_t>(indiceDia)]) * 86400 +
               azar.entre(8 * 3600, 20 * 3600 - 1);
    };

    // Changes per article: an even share, moved between pairs of articles.
    std::vector<qint64> porArticulo(static_cast<size_t>(nArt), 0);
    if (nArt > 0) {
        const qint64 base = cambios_ / nArt, resto = cambios_ % nArt;
        for (qint64 a = 0; a < nArt; ++a)
            porArticulo[static_cast<size_t>(a)] = base + (a < resto ? 1 : 0);
        for (qint64 a = 0; a + 1 < nArt; a += 2) {
            const qint64 d =
                azar.entero(std::min(porArticulo[static_cast<size_t>(a + 1)], base / 2 + 1));
            porArticulo[static_cast<size_t>(a)] += d;
            porArticulo[static_cast<size_t>(a + 1)] -= d;
        }
    }

    std::vector<Evento> eventos;
    eventos.reserve(static_cast<size_t>(cambios_));
    for (qint64 a = 0; a < nArt; ++a) {
        const qint64 n = porArticulo[static_cast<size_t>(a)];
        ArticuloDemo& art = articulos[a];
        const int inicio = static_cast<int>(azar.entero(std::max(1, nDias * 2 / 5)));
        art.diaAlta = inicio;
        if (n <= 0)
            continue;
        std::vector<int> listas = {1};
        for (int l = 2; l <= kListas; ++l)
            if (azar.probabilidad(0.35) && static_cast<qint64>(listas.size()) < n)
                listas.push_back(l);
        std::array<int, kListas + 1> diaInicial{};
        for (int l : listas) {
            const int d =
                std::min(nDias - 2, inicio + (l == 1 ? 0 : static_cast<int>(azar.entero(6))));
            diaInicial[static_cast<size_t>(l)] = d;
            eventos.push_back(
                {momento(d), static_cast<qint32>(a), static_cast<quint8>(l), usuarioAlAzar(), 1});
        }
        for (qint64 k = static_cast<qint64>(listas.size()); k < n; ++k) {
            // List 1 is changed three times as often as each other list.
            const qint64 r = azar.entero(static_cast<qint64>(listas.size()) + 2);
            const int l = r < 3 ? 1 : listas[static_cast<size_t>(r - 2)];
            const int d =
                static_cast<int>(azar.entre(diaInicial[static_cast<size_t>(l)] + 1, nDias - 1));
            eventos.push_back(
                {momento(d), static_cast<qint32>(a), static_cast<quint8>(l), usuarioAlAzar(), 0});
        }
    }
    std::sort(eventos.begin(), eventos.end());

    SentenciaSqlite ins(
        db,
        QStringLiteral(
            "INSERT INTO V_MV_PRECIOSHIS (ID, IDARTICULO, IDLISTA, FECHAHORA, USUARIO, COSTO, "
            "PRECIO1, PRECIO2, PRECIO3, PRECIO4, PRECIO5, PRECIO6, PRECIO7, PRECIO8, IMPUESTOS, "
            "COSTOANT, PRECIO1ANT, PRECIO2ANT, PRECIO3ANT, PRECIO4ANT, PRECIO5ANT, PRECIO6ANT, "
            "PRECIO7ANT, PRECIO8ANT, IMPUESTOSANT) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
            "?,?,?,?,?)"));
    if (!ins.valida()) {
        error_ = ins.error();
        return false;
    }
    std::vector<EstadoLista> estados(static_cast<size_t>(nArt * kListas));
    std::vector<qint64> ultimo(static_cast<size_t>(nArt), -1),
        penultimo(static_cast<size_t>(nArt), -1);
    // Texts bound as UTF-8, encoded once.
    QList<QByteArray> codigos;
    codigos.reserve(nArt);
    for (const ArticuloDemo& art : std::as_const(articulos))
        codigos.append(art.codigo.toUtf8());
    QList<QByteArray> codigosLista;
    for (int l = 1; l <= kListas; ++l)
        codigosLista.append(QByteArray::number(l));
    QList<QByteArray> nombresUsuario;
    for (const auto& u : usuarios)
        nombresUsuario.append(u.nombre.toUtf8());
    char fechaHora[19];

    qint64 id = 0;
    for (const Evento& ev : eventos) {
        const ArticuloDemo& art = articulos.at(ev.articulo);
        EstadoLista& e = estados[static_cast<size_t>(ev.articulo) * kListas + ev.lista - 1];
        std::array<double, 9> antes{};
        if (ev.inicial) {
            e.costo = redondear(art.costoBase * CatalogoDemo::factorLista(ev.lista) *
                                azar.real(0.97, 1.03));
            e.ajuste = 1;
        } else {
            antes = valores(e);
            if (azar.probabilidad(0.2))
                e.ajuste *= azar.real(0.96, 1.08); // new margins, same cost
            else if (azar.probabilidad(0.85))
                e.costo = redondear(e.costo * azar.real(1.01, 1.12));
            else
                e.costo = redondear(e.costo * azar.real(0.94, 0.995));
            if (e.costo < 0.01)
                e.costo = 0.01;
        }
        const std::array<double, 9> ahora = valores(e);
        ins.entero(1, ++id);
        const QByteArray& codigo = codigos.at(ev.articulo);
        const QByteArray& lista = codigosLista.at(ev.lista - 1);
        const QByteArray& usuario = nombresUsuario.at(ev.usuario);
        escribirFechaHora(ev.momento, fechaHora);
        ins.utf8(2, codigo.constData(), static_cast<int>(codigo.size()));
        ins.utf8(3, lista.constData(), static_cast<int>(lista.size()));
        ins.utf8(4, fechaHora, 19);
        ins.utf8(5, usuario.constData(), static_cast<int>(usuario.size()));
        for (int c = 0; c < 9; ++c)
            ins.real(6 + c, ahora[static_cast<size_t>(c)]);
        ins.real(15, art.tasaIva);
        for (int c = 0; c < 9; ++c)
            ins.real(16 + c, antes[static_cast<size_t>(c)]);
        ins.real(25, ev.inicial ? 0.0 : art.tasaIva);
        if (!ins.ejecutar()) {
            error_ = ins.error();
            return false;
        }
        if (ev.lista == 1) {
            penultimo[static_cast<size_t>(ev.articulo)] = ultimo[static_cast<size_t>(ev.articulo)];
            ultimo[static_cast<size_t>(ev.articulo)] = ev.momento;
            articulos[ev.articulo].costo = e.costo;
        }
    }

    // Stored date of the last cost change: none, an older change (the report
    // brings it up to date) or the latest one.
    GeneradorAzar azarFechas(semilla_ ^ 0x5EED0004ULL);
    for (qint64 a = 0; a < nArt; ++a) {
        ArticuloDemo& art = articulos[a];
        if (art.costo == 0)
            art.costo = art.costoBase;
        const double r = azarFechas.real();
        if (r < 0.4)
            art.fhUltimoCosto = -1;
        else if (r < 0.75 && penultimo[static_cast<size_t>(a)] >= 0)
            art.fhUltimoCosto = penultimo[static_cast<size_t>(a)];
        else
            art.fhUltimoCosto = ultimo[static_cast<size_t>(a)];
    }
    return true;
}

} // namespace rp::demo
