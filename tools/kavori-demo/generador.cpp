#include "tools/kavori-demo/generador.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/kavori-demo/esquema.h"
#include "tools/mdbwrite/mdbwriter.h"

namespace kv::demo {

namespace {

using mdbw::Column;
using mdbw::Currency;
using mdbw::Timestamp;
using mdbw::Value;

// splitmix64: small, fast and the same on every platform, so a seed always gives the same file.
class Azar {
 public:
  explicit Azar(std::uint64_t semilla) : s_(semilla) {}
  std::uint64_t siguiente() {
    std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double real() { return double(siguiente() >> 11) * 0x1.0p-53; }
  long entre(long a, long b) { return a + long(siguiente() % std::uint64_t(b - a + 1)); }
  bool prob(double p) { return real() < p; }
  template <typename T>
  const T& elige(const std::vector<T>& v) {
    return v[std::size_t(siguiente() % v.size())];
  }
  // Log-uniform amount between a and b: many small operations, a few large ones.
  double monto(double a, double b) { return std::exp(std::log(a) + real() * std::log(b / a)); }

 private:
  std::uint64_t s_;
};

struct Divisa {
  long numero;
  const char* simbolo;
  const char* nombre;
  bool pagare;
  double pesos[3];  // pesos per unit, mid-market, 2018 / 2019 / 2020
  double peso;      // share of the operations
};

const std::vector<Divisa>& divisas() {
  static const std::vector<Divisa> d = {
      {1, "USD", "DÓLAR AMERICANO", false, {19.24, 19.26, 21.49}, 0.60},
      {2, "EUR", "EURO", false, {22.71, 21.56, 24.52}, 0.08},
      {3, "CAD", "DÓLAR CANADIENSE", false, {14.85, 14.52, 16.03}, 0.05},
      {4, "GBP", "LIBRA ESTERLINA", false, {25.67, 24.58, 27.58}, 0.02},
      {5, "JPY", "YEN JAPONÉS", false, {0.1743, 0.1767, 0.2013}, 0.015},
      {6, "CHF", "FRANCO SUIZO", false, {19.68, 19.38, 22.92}, 0.01},
      {7, "AUD", "DÓLAR AUSTRALIANO", false, {14.38, 13.39, 14.82}, 0.01},
      {8, "USD", "DOCUMENTOS EN DÓLARES (CHEQUES Y GIROS)", true, {19.24, 19.26, 21.49}, 0.08},
      {9, "EUR", "DOCUMENTOS EN EUROS", true, {22.71, 21.56, 24.52}, 0.03},
      {10, "CAD", "DOCUMENTOS EN DÓLARES CANADIENSES", true, {14.85, 14.52, 16.03}, 0.01},
      {11, "M.N.", "MONEDA NACIONAL", false, {1, 1, 1}, 0.05},
      {12, "MXV", "UNIDADES DE INVERSIÓN (UDIS)", false, {6.08, 6.30, 6.52}, 0.005},
      {13, "", "ONZA DE PLATA LIBERTAD", false, {310, 325, 440}, 0.005},
      {14, "MXN", "DOCUMENTOS EN MONEDA NACIONAL", true, {1, 1, 1}, 0.005},
  };
  return d;
}

struct Cliente {
  std::string clave;
  long numEmp;
  bool moral;
  std::string nombre;
  std::optional<std::string> paterno, materno;
  std::string actividad;
  bool extranjero;
  std::string sector;
  std::string nacionalidad = "MEXICANA";
  double montoMin = 100, montoMax = 8000;  // in dollars
  bool alAzar = false;                     // not one of the fixed clients
};

const std::vector<std::pair<const char*, const char*>> kSectores = {
    {"01", "NO APLICA"},
    {"02", "COMERCIO AL POR MENOR"},
    {"03", "COMERCIO AL POR MAYOR"},
    {"04", "SERVICIOS FINANCIEROS"},
    {"05", "TURISMO Y HOTELERÍA"},
    {"06", "AGRICULTURA, GANADERÍA Y PESCA"},
    {"07", "INDUSTRIA MANUFACTURERA"},
    {"08", "TRANSPORTE Y LOGÍSTICA"},
    {"09", "CONSTRUCCIÓN"},
    {"10", "SERVICIOS PROFESIONALES"},
    {"11", "GOBIERNO"},
    {"12", "EMPLEADOS Y ASALARIADOS"},
};

const std::vector<std::string> kNombres = {
    "José",   "María",   "Juan Carlos", "Guadalupe", "Ángel",  "Sofía",      "Héctor",
    "Inés",   "Ramón",   "Begoña",      "Raúl",      "Lucía",  "Jesús",      "Verónica",
    "Andrés", "Mónica",  "Joaquín",     "Rocío",     "Efraín", "María José", "Iñaki",
    "Noé",    "Araceli", "Martín",      "Zoé",       "Adrián", "Ximena",     "Óscar"};
const std::vector<std::string> kApellidos = {
    "Peña",     "Ibáñez",   "Muñoz",      "Núñez",      "Gómez",     "Hernández", "López",
    "Martínez", "Sánchez",  "Pérez",      "Rodríguez",  "Castañeda", "Zúñiga",    "Ordóñez",
    "Valdés",   "Álvarez",  "Treviño",    "Montaño",    "Espinosa",  "Domínguez", "Cisneros",
    "Saldaña",  "Quiñones", "Villaseñor", "Echeverría", "Córdova",   "Beltrán",   "Ruíz"};
const std::vector<std::string> kEmpresas1 = {
    "Comercializadora", "Importadora", "Servicios Turísticos", "Grupo Industrial",
    "Transportes",      "Hotelera",    "Agroindustrias",       "Distribuidora",
    "Constructora",     "Exportadora"};
const std::vector<std::string> kEmpresas2 = {
    "del Pacífico", "de Occidente", "Azteca",  "del Golfo", "Maya",      "San José",
    "La Cañada",    "del Bajío",    "Peñasco", "Tulum",     "Monterrey", "Huasteca"};
const std::vector<std::string> kSociedades = {", S.A. de C.V.", ", S. de R.L. de C.V.", ", S.C.",
                                              ", S.A.P.I. de C.V."};
const std::vector<std::string> kActividadesComunes = {"8944098", "6121013", "4621016",
                                                      "8711015", "9999999", "8946007"};
const std::vector<std::string> kActividadesEF = {
    "8123094", "8123052", "8123060", "8123078", "8123086", "8131013", "8131021", "8132011",
    "8132029", "8142010", "8211039", "8211047", "8219041", "8511025", "8511033", "9900903"};
const std::vector<std::string> kExtranjeros = {"John",   "Emily", "Hans",  "Giulia",
                                               "Pierre", "Yuki",  "Chloé", "Søren"};
const std::vector<std::string> kApellidosExt = {"Smith",  "Müller",  "Rossi",  "Dubois",
                                                "Tanaka", "O'Brien", "Larsen", "Brown"};

// The clients every demo has, whatever its size: one of each kind the questionnaire separates.
std::vector<Cliente> clientesFijos() {
  auto pm = [](std::string clave, long emp, std::string nombre, std::string act, std::string sector,
               bool ext = false) {
    Cliente c{clave, emp, true, nombre, std::nullopt, std::nullopt, act, ext, sector};
    c.montoMin = 5000;
    c.montoMax = 250000;
    if (ext) c.nacionalidad = "ESTADOUNIDENSE";
    return c;
  };
  auto pf = [](std::string clave, long emp, std::string nombre, std::optional<std::string> pat,
               std::optional<std::string> mat, std::string sector = "12") {
    return Cliente{clave, emp, false, nombre, pat, mat, "8944098", false, sector};
  };
  std::vector<Cliente> v;
  v.push_back(pf("PG0001", 1, "PUBLICO EN GENERAL", std::nullopt, std::nullopt, "01"));
  v.push_back(pf("PG0002", 2, "PUBLICO EN GENERAL", std::nullopt, std::nullopt, "01"));
  v.push_back(pm("CB0001", 1, "Casa de Cambio del Bajío, S.A. de C.V.", "8219025", "04"));
  v.push_back(pm("CC0001", 1, "Centro Cambiario Frontera Norte, S.A. de C.V.", "9503005", "04"));
  v.push_back(pm("CC0002", 1, "Divisas Peñasco, S.A. de C.V.", "6999992", "04"));
  v.push_back(pm("BA0001", 1, "Banco Mercantil del Sureste, S.A.", "8100000", "04"));
  v.push_back(pm("EF0001", 1, "Arrendadora Financiera Azteca, S.A. de C.V.", "8123052", "04"));
  v.push_back(
      pm("EF0002", 1, "Unión de Crédito Agrícola de Sonora, S.A. de C.V.", "8132011", "04"));
  v.push_back(pm("EX0002", 1, "Pacific Investment Bank Ltd.", "9911018", "04", true));
  Cliente ext = pf("EX0001", 1, "John", std::string("Smith"), std::nullopt, "05");
  ext.extranjero = true;
  ext.nacionalidad = "ESTADOUNIDENSE";
  v.push_back(ext);
  v.push_back(pm("PM0001", 1, "Servicios al Publico del Norte, S.A. de C.V.", "8711015", "10"));
  v.push_back(pm("PM0002", 1, "Hotelera Tulum, S.A. de C.V.", "6121013", "05"));
  v.push_back(pm("SS0001", 1, "Agroindustrias La Cañada, S.C.", "4621016", "99"));  // no sector
  v.push_back(pf("PF0001", 1, "Efraín", std::nullopt, std::string("Zúñiga")));
  v.push_back(pf("PF0002", 1, "Rocío", std::string("Ordóñez  "), std::nullopt));
  v.push_back(pf("PF0003", 1, "", std::string("Núñez"), std::string("Treviño")));
  v.push_back(pf("PF0004", 1, "Ángel", std::string("Domínguez"), std::string("Saldaña"), "01"));
  v.push_back(pf("PEP001", 1, "Ramón", std::string("Castañeda"), std::string("Valdés"), "11"));
  v.push_back(pf("PEP002", 1, "Begoña", std::string("Ibáñez"), std::string("Muñoz"), "11"));
  v.push_back(pf("PEP003", 1, "María José", std::string("Peña"), std::nullopt, "11"));
  v.push_back(pf("PEP004", 1, "Héctor", std::string("Quiñones"), std::string("Beltrán"), "11"));
  v.push_back(pf("PEP005", 1, "Verónica", std::string("Villaseñor"), std::string("Ruíz"), "11"));
  v.push_back(pf("PEP006", 2, "Joaquín", std::string("Echeverría"), std::string("Cisneros"), "11"));
  v.push_back(pf("PEP007", 1, "Lucía", std::string("Montaño"), std::string("Espinosa"), "11"));
  v.push_back(pf("PEP008", 1, "Noé", std::string("Córdova"), std::string("Álvarez"), "11"));
  v.push_back(pm("E20001", 2, "Exportadora Huasteca, S.A. de C.V.", "8711015", "03"));
  v.push_back(pm("E20002", 2, "Banco del Golfo, S.A.", "8100000", "04"));
  return v;
}

Cliente clienteAlAzar(Azar& az, long numero) {
  char clave[32];
  long emp = az.prob(0.85) ? 1 : 2;
  std::snprintf(clave, sizeof clave, "%c%05ld", emp == 1 ? 'A' : 'B', numero);
  Cliente c{clave, emp, false, "", std::nullopt, std::nullopt, "", false, ""};
  c.alAzar = true;
  double tipo = az.real();
  if (tipo < 0.70) {
    c.nombre = az.elige(kNombres);
    if (!az.prob(0.03)) c.paterno = az.elige(kApellidos);
    if (!az.prob(0.10)) c.materno = az.elige(kApellidos);
    c.actividad = az.elige(kActividadesComunes);
    c.sector = az.prob(0.3) ? "12" : kSectores[std::size_t(az.entre(0, 11))].first;
  } else if (tipo < 0.90) {
    c.moral = true;
    c.nombre = az.elige(kEmpresas1) + " " + az.elige(kEmpresas2) + az.elige(kSociedades);
    c.actividad = az.elige(kActividadesComunes);
    c.sector = kSectores[std::size_t(az.entre(1, 10))].first;
    c.montoMin = 2000;
    c.montoMax = 150000;
  } else if (tipo < 0.96) {
    c.nombre = az.elige(kExtranjeros);
    c.paterno = az.elige(kApellidosExt);
    c.actividad = az.elige(kActividadesComunes);
    c.extranjero = true;
    c.nacionalidad = "EXTRANJERA";
    c.sector = "05";
  } else {
    c.moral = true;
    c.nombre = "Financiera " + az.elige(kEmpresas2) + az.elige(kSociedades);
    c.actividad = az.elige(kActividadesEF);
    c.sector = "04";
    c.montoMin = 10000;
    c.montoMax = 300000;
  }
  return c;
}

Timestamp fecha(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  return Timestamp{y, m, d, h, mi, s};
}

Timestamp diaDelAnio(int anio, long dia, long segundo) {
  static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int m = 0;
  bool bisiesto = anio % 4 == 0;
  for (;; ++m) {
    long dm = kDias[m] + (m == 1 && bisiesto ? 1 : 0);
    if (dia < dm) break;
    dia -= dm;
  }
  return fecha(anio, m + 1, int(dia) + 1, int(segundo / 3600), int(segundo / 60 % 60),
               int(segundo % 60));
}

std::int64_t diezmilesimos(double x, int decimales) {
  double f = std::pow(10.0, decimales);
  return std::llround(std::round(x * f) * (10000.0 / f));
}

// One row of tMovtos or tProces.
struct Movimiento {
  long numEmp;
  const char* tipo;
  long folio;
  Timestamp fecha;
  long divisa;
  double cotizacion;
  std::int64_t cantidad;  // ten-thousandths
  const Cliente* cliente;
  bool cancelado;
  const char* cajero;
  bool enProces;
};

// Produces every operation row in a fixed order from the seed; called once per table, so the
// two operations tables are written one after the other without holding either in memory.
class Operaciones {
 public:
  Operaciones(const std::vector<Cliente>& clientes, long total, std::uint64_t semilla)
      : clientes_(clientes), total_(total), semilla_(semilla) {
    for (const Cliente& c : clientes_) {
      if (c.clave == "PG0001") publico_[0] = &c;
      if (c.clave == "PG0002") publico_[1] = &c;
      if (c.alAzar) (c.numEmp == 1 ? delaEmpresa_[0] : delaEmpresa_[1]).push_back(&c);
    }
    for (const Divisa& d : divisas()) pesoTotal_ += d.peso;
  }

  long recorre(const std::function<void(const Movimiento&)>& f) {
    Azar az(semilla_ ^ 0x4B61766F7269ull);
    long folios[2] = {1000, 5000};
    long hechas = 0;
    auto emite = [&](Movimiento m, bool dividir, bool dividirEnOtraTabla) {
      m.folio = folios[m.numEmp - 1]++;
      if (!dividir) {
        f(m);
      } else {
        // Two rows with the same key fields whose amounts add up to the operation's.
        std::int64_t total = m.cantidad;
        std::int64_t parte = total / 3 / 10000 * 10000;
        if (parte == 0) parte = total / 2;
        m.cantidad = parte;
        f(m);
        m.cantidad = total - parte;
        if (dividirEnOtraTabla) m.enProces = !m.enProces;
        f(m);
      }
      ++hechas;
    };

    // Fixed operations: the edge cases a test or the demo must meet.
    auto op = [&](const char* clave, const char* tipo, Timestamp t, long div, double cant,
                  bool proces = false, bool cancelado = false) {
      const Cliente* c = busca(clave);
      const Divisa& d = divisas()[std::size_t(div - 1)];
      double cot =
          d.pesos[std::min(2, std::max(0, t.year - 2018))] * (tipo[0] == 'V' ? 1.015 : 0.985);
      return Movimiento{c->numEmp,
                        tipo,
                        0,
                        t,
                        div,
                        std::round(cot * 10000) / 10000,
                        diezmilesimos(cant, 2),
                        c,
                        cancelado,
                        "CAJERO1",
                        proces};
    };
    emite(op("PG0001", "C", fecha(2019, 12, 31, 23, 15, 0), 1, 500), false, false);
    emite(op("PG0001", "V", fecha(2019, 12, 31, 18, 40, 10), 2, 300, true), false, false);
    emite(op("PG0001", "C", fecha(2019, 12, 31, 0, 0, 0), 1, 250), false, false);
    emite(op("PG0001", "C", fecha(2019, 1, 1, 0, 0, 0), 1, 120), false, false);
    emite(op("PG0001", "V", fecha(2020, 1, 1, 0, 0, 0), 1, 700), false, false);
    emite(op("PG0001", "C", fecha(2018, 12, 31, 22, 0, 0), 1, 900, true), false, false);
    emite(op("PF0004", "C", fecha(2019, 3, 14, 11, 5, 0), 1, 3000), true, true);
    emite(op("PF0004", "V", fecha(2019, 3, 15, 12, 0, 0), 3, 1200, true), true, false);
    emite(op("PF0004", "C", fecha(2019, 4, 2, 10, 0, 0), 1, 2500, false, true), false, false);
    emite(op("PF0004", "X", fecha(2019, 4, 3, 10, 0, 0), 1, 800), false, false);
    emite(op("PF0004", "T", fecha(2019, 4, 4, 10, 0, 0), 2, 650, true), false, false);
    emite(op("CB0001", "V", fecha(2019, 5, 6, 9, 30, 0), 8, 85000), false, false);
    emite(op("CB0001", "C", fecha(2019, 5, 7, 9, 30, 0), 1, 42000), false, false);
    emite(op("CC0001", "C", fecha(2019, 6, 10, 13, 0, 0), 1, 60000, true), false, false);
    emite(op("CC0002", "V", fecha(2019, 6, 11, 13, 0, 0), 9, 30000), false, false);
    emite(op("BA0001", "V", fecha(2019, 7, 1, 10, 0, 0), 8, 150000), false, false);
    emite(op("EF0001", "C", fecha(2019, 7, 2, 10, 0, 0), 10, 20000), false, false);
    emite(op("EF0002", "V", fecha(2019, 7, 3, 10, 0, 0), 1, 15000, true), false, false);
    emite(op("EX0001", "C", fecha(2019, 8, 5, 16, 20, 0), 1, 1500), false, false);
    emite(op("EX0002", "V", fecha(2019, 8, 6, 16, 20, 0), 2, 45000), false, false);
    emite(op("PM0001", "C", fecha(2019, 8, 7, 16, 20, 0), 1, 4000), false, false);
    emite(op("PM0002", "C", fecha(2019, 8, 8, 16, 20, 0), 5, 2500000), false, false);
    emite(op("SS0001", "V", fecha(2019, 9, 9, 9, 9, 9), 1, 7000), false, false);
    emite(op("PF0001", "C", fecha(2019, 9, 10, 12, 0, 0), 11, 15000), false, false);
    emite(op("PF0002", "V", fecha(2019, 9, 11, 12, 0, 0), 12, 10000), false, false);
    emite(op("PF0003", "C", fecha(2019, 9, 12, 12, 0, 0), 13, 20), false, false);
    emite(op("PF0003", "V", fecha(2019, 9, 13, 12, 0, 0), 14, 50000), false, false);
    emite(op("PEP001", "C", fecha(2019, 10, 1, 12, 0, 0), 1, 9500), false, false);
    emite(op("PEP001", "V", fecha(2019, 10, 20, 12, 0, 0), 4, 2000, true), false, false);
    emite(op("PEP002", "C", fecha(2019, 11, 5, 12, 0, 0), 1, 3000), false, false);
    emite(op("PEP002", "V", fecha(2019, 11, 5, 12, 30, 0), 7, 1800, true), false, false);
    emite(op("PEP003", "C", fecha(2019, 11, 6, 12, 0, 0), 6, 1000), false, false);
    emite(op("PEP005", "V", fecha(2019, 11, 7, 12, 0, 0), 1, 4500), false, false);
    emite(op("PEP006", "C", fecha(2019, 11, 8, 12, 0, 0), 1, 2200), false, false);
    emite(op("E20001", "V", fecha(2019, 2, 1, 12, 0, 0), 8, 70000), false, false);
    emite(op("E20002", "C", fecha(2019, 2, 2, 12, 0, 0), 1, 90000, true), false, false);
    emite(op("PG0002", "C", fecha(2019, 2, 3, 12, 0, 0), 1, 800), false, false);

    while (hechas < total_) {
      Movimiento m{};
      int e = az.prob(0.85) ? 0 : 1;
      m.numEmp = e + 1;
      int anio = int(az.entre(2018, 2020));
      m.fecha = diaDelAnio(anio, az.entre(0, anio == 2020 ? 365 : 364),
                           az.entre(9 * 3600, 20 * 3600 - 1));
      double r = az.real() * pesoTotal_;
      const Divisa* d = &divisas().back();
      for (const Divisa& x : divisas()) {
        if ((r -= x.peso) < 0) {
          d = &x;
          break;
        }
      }
      m.divisa = d->numero;
      double lado = az.real();
      m.tipo = lado < 0.55 ? "C" : lado < 0.995 ? "V" : (az.prob(0.5) ? "X" : "T");
      m.cliente =
          az.prob(0.45) || delaEmpresa_[e].empty() ? publico_[e] : az.elige(delaEmpresa_[e]);
      double dolares = m.cliente == publico_[e]
                           ? az.monto(20, 3000)
                           : az.monto(m.cliente->montoMin, m.cliente->montoMax);
      // Pesos are exchanged at 1; other currencies at a buy or sell rate around the day's.
      double jitter = 1.0 + (az.real() - 0.5) * 0.03;
      double mid = d->pesos[anio - 2018] == 1 ? 1.0 : d->pesos[anio - 2018] * jitter;
      m.cotizacion =
          mid == 1 ? 1.0 : std::round(mid * (m.tipo[0] == 'V' ? 1.015 : 0.985) * 10000) / 10000;
      double unidades = dolares * divisas()[0].pesos[anio - 2018] / mid;
      m.cantidad = diezmilesimos(unidades, d->pagare ? 2 : 0);
      if (m.cantidad <= 0) m.cantidad = 10000;
      m.cancelado = az.prob(0.02);
      m.cajero = az.prob(0.7) ? "CAJERO1" : "ADMIN";
      m.enProces = az.prob(0.45);
      bool dividir = az.prob(0.03);
      emite(m, dividir, az.prob(0.5));
    }
    return hechas;
  }

 private:
  const Cliente* busca(const std::string& clave) const {
    for (const Cliente& c : clientes_) {
      if (c.clave == clave) return &c;
    }
    throw std::logic_error("client " + clave);
  }

  const std::vector<Cliente>& clientes_;
  long total_;
  std::uint64_t semilla_;
  const Cliente* publico_[2] = {nullptr, nullptr};
  std::vector<const Cliente*> delaEmpresa_[2];
  double pesoTotal_ = 0;
};

void escribeIni(const std::filesystem::path& ruta) {
  std::filesystem::path temporal = ruta;
  temporal += ".tmp";
  {
    std::ofstream f(temporal, std::ios::binary);
    f << "[Control]\r\nEmpresaActiva=1\r\n";
    f.close();
    if (!f) throw std::runtime_error("cannot write " + temporal.string());
  }
  std::error_code ec;
  std::filesystem::rename(temporal, ruta, ec);
  if (ec) {
    std::filesystem::remove(temporal, ec);
    throw std::runtime_error("cannot write " + ruta.string());
  }
}

}  // namespace

ResumenDemo GeneraDemo(const OpcionesDemo& opciones) {
  if (opciones.operaciones < 0) throw std::invalid_argument("operaciones < 0");
  ResumenDemo resumen;
  std::filesystem::create_directories(opciones.carpeta / "DataBase");

  Azar az(opciones.semilla);
  std::vector<Cliente> clientes = clientesFijos();
  long aleatorios = std::clamp(opciones.operaciones / 12, 40L, 30000L);
  for (long i = 1; i <= aleatorios; ++i) clientes.push_back(clienteAlAzar(az, i));
  resumen.clientes = long(clientes.size());

  mdbw::Options o;
  o.password = kPasswordBD;
  o.created = fecha(2017, 6, 12, 9, 41, 0);
  mdbw::DatabaseWriter w(opciones.carpeta / "DataBase" / "Kavori.mdb", o);
  // Each table through the schema: its columns, and its rows by column name.
  std::vector<Column> columnas;
  auto tabla = [&](const char* sNombre) {
    columnas = kavori::ColumnasKavori(sNombre, kavori::TVarianteEsquema::Completa);
    w.beginTable(sNombre, columnas);
  };
  auto renglon = [&](std::initializer_list<std::pair<std::string_view, Value>> valores) {
    w.addRow(kavori::RenglonKavori(columnas, valores));
  };

  tabla("tEmpresa");
  renglon({{"NumEmp", std::int64_t(1)},
           {"Empresa", "Centro Cambiario Quokka, S.A. de C.V."},
           {"NomComercial", "Cambios Quokka"},
           {"RFC", "CCQ9501011A2"},
           {"RegistroCC", "CC-0427-2015"},
           {"Domicilio", "Av. Benito Juárez 1450, Col. Centro, Tijuana, B.C."}});
  renglon({{"NumEmp", std::int64_t(2)},
           {"Empresa", "Divisas del Ñandú, S.A. de C.V."},
           {"NomComercial", "Cambios Ñandú"},
           {"RFC", "DÑA0302154K7"},
           {"RegistroCC", "CC-0913-2016"}});

  tabla("tEmps");
  renglon({{"ClaveEmp", kClaveAdmin},
           {"Nombre", "Administrador del Sistema"},
           {"Password", kPasswordAdmin},
           {"Nivel", std::int64_t(0)},
           {"Activo", true}});
  renglon({{"ClaveEmp", "CAJERO1"},
           {"Nombre", "María Fernanda Ibáñez Peña"},
           {"Password", "VENTANILLA"},
           {"Nivel", std::int64_t(2)},
           {"Activo", true}});

  tabla("tCompUsr");

  tabla("tSector");
  for (const auto& [clave, nombre] : kSectores)
    renglon({{"ClaveSector", clave}, {"Sector", nombre}});

  tabla("tDivisas");
  for (const Divisa& d : divisas())
    renglon({{"NumeroDivisa", std::int64_t(d.numero)},
             {"Simbolo", d.simbolo},
             {"Divisa", d.nombre},
             {"Pagare", d.pagare}});

  tabla("tCliente");
  for (const Cliente& c : clientes) {
    renglon({{"ClaveCliente", c.clave},
             {"NumEmp", std::int64_t(c.numEmp)},
             {"PersonaMoral", c.moral},
             {"Nombre", c.nombre},
             {"ApellidoPaterno", c.paterno},
             {"ApellidoMaterno", c.materno},
             {"ClaveActividad", c.actividad},
             {"Extranjero", c.extranjero},
             {"ClaveSector", c.sector},
             {"Nacionalidad", c.nacionalidad},
             {"FechaAlta", diaDelAnio(int(az.entre(2012, 2017)), az.entre(0, 364),
                                      az.entre(9 * 3600, 19 * 3600))}});
  }

  Operaciones ops(clientes, opciones.operaciones, opciones.semilla);
  for (bool proces : {false, true}) {
    tabla(proces ? "tProces" : "tMovtos");
    long& cuenta = proces ? resumen.renglonesProces : resumen.renglonesMovtos;
    resumen.operaciones = ops.recorre([&](const Movimiento& m) {
      if (m.enProces != proces) return;
      renglon({{"NumEmp", std::int64_t(m.numEmp)},
               {"Tipo", std::string(m.tipo)},
               {"Folio", std::int64_t(m.folio)},
               {"Fecha", m.fecha},
               {"NumeroDivisa", std::int64_t(m.divisa)},
               {"Cotizacion", m.cotizacion},
               {"Cantidad", Currency{m.cantidad}},
               {"Importe", Currency{diezmilesimos(double(m.cantidad) / 10000.0 * m.cotizacion, 2)}},
               {"ClaveCliente", m.cliente->clave},
               {"Cancelado", m.cancelado},
               {"ClaveEmp", std::string(m.cajero)}});
      ++cuenta;
    });
  }

  // Reports: the PEP ones the detection must find (kind 'I', "PEP" in the observations, 2019,
  // company 1) and others that must not count.
  tabla("tRelevan");
  long folio = 1;
  auto reporte = [&](long emp, const char* tipo, Timestamp t, const std::string& clave,
                     const std::string& obs) {
    renglon({{"NumEmp", std::int64_t(emp)},
             {"Folio", std::int64_t(folio++)},
             {"TipoRelev", tipo},
             {"Fecha", t},
             {"ClaveCliente", clave},
             {"Monto", Currency{az.entre(1000, 500000) * 10000}},
             {"Observaciones", obs}});
  };
  reporte(1, "I", fecha(2019, 3, 2, 10, 0, 0), "PEP001",
          "Cliente identificado como PEP: presidente municipal en funciones.");
  reporte(1, "I", fecha(2019, 10, 2, 17, 30, 0), "PEP001",
          "Segunda operación del PEP en el año; se da seguimiento.");
  reporte(1, "I", fecha(2019, 6, 18, 12, 0, 0), "PEP002", "Posible pep (homónimo por revisar).");
  reporte(1, "I", fecha(2019, 1, 1, 0, 0, 0), "PEP003", "PEP - diputada local.");
  reporte(1, "I", fecha(2019, 12, 31, 0, 0, 0), "PEP007", "Funcionaria estatal, PEP.");
  reporte(1, "I", fecha(2018, 11, 20, 9, 0, 0), "PEP004", "PEP según lista de 2018.");
  reporte(1, "R", fecha(2019, 5, 5, 9, 0, 0), "PEP005", "Operación relevante de un PEP.");
  reporte(2, "I", fecha(2019, 7, 7, 9, 0, 0), "PEP006", "PEP reportado por la otra empresa.");
  reporte(1, "I", fecha(2020, 1, 15, 9, 0, 0), "PEP008", "PEP detectado en 2020.");
  reporte(1, "I", fecha(2019, 12, 31, 16, 45, 0), "PEP008",
          "PEP: reporte del 31 de diciembre por la tarde.");
  reporte(1, "I", fecha(2019, 4, 4, 9, 0, 0), "PF0004",
          "Operaciones fraccionadas sin justificación.");
  std::string larga = "Observaciones del oficial de cumplimiento: ";
  while (larga.size() < 3000)
    larga += "el cliente fraccionó sus operaciones en varias sucursales; ";
  reporte(1, "P", fecha(2019, 8, 8, 9, 0, 0), "PM0002", larga);
  const std::vector<std::string> motivos = {
      "Operación en efectivo superior a 7,500 dólares.",
      "Cambio de divisas sin justificación aparente del origen de los recursos.",
      "Cliente con operaciones frecuentes por montos cercanos al umbral.",
      "Operación relevante en dólares en efectivo."};
  for (long i = 0; i < opciones.operaciones / 200; ++i) {
    const Cliente& c = clientes[std::size_t(az.entre(2, long(clientes.size()) - 1))];
    int anio = int(az.entre(2018, 2020));
    reporte(c.numEmp, az.prob(0.5) ? "I" : "R",
            diaDelAnio(anio, az.entre(0, 364), az.entre(32400, 68400)), c.clave, az.elige(motivos));
  }
  resumen.reportes = folio - 1;

  w.finish();
  escribeIni(opciones.carpeta / "Kavori.INI");
  return resumen;
}

}  // namespace kv::demo
