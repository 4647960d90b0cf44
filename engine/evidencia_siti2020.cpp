// The evidence workbook of the SITI 2020 answers: the rows each answer counts, sums or
// ranks, taken from the same data sets the answers are composed of, and for each answer a
// formula that recomputes it from those rows.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <strings.h>

#include "data/consultas_en_copia.h"
#include "data/db/error.h"
#include "data/db/heartbeat.h"
#include "document/template/plantilla.h"
#include "document/xlsx_writer.h"
#include "engine/rep_cuest_siti2020.h"
#include "engine/textos.h"

namespace kv {

namespace {

using xlsx::Cell;
using xlsx::Kind;

// The sections of operations, in the questionnaire's order: their sheets and words.
struct TSeccionEvidencia {
  TClaseOps clase;
  int nTipoOp;
  const char* sHojaOps;
  const char* sHojaUsuarios;
  const char* sOperaciones;  // what the rows are
};

constexpr TSeccionEvidencia kSecciones[] = {
    {TClaseOps::Dolares, 0, "Compra dólares", "Usuarios compra dólares",
     "compras de dólares americanos en efectivo"},
    {TClaseOps::OtrasDivisas, 0, "Compra otras divisas", "Usuarios compra otras div.",
     "compras de otras divisas en efectivo"},
    {TClaseOps::Dolares, 1, "Venta dólares", "Usuarios venta dólares",
     "ventas de dólares americanos en efectivo"},
    {TClaseOps::OtrasDivisas, 1, "Venta otras divisas", "Usuarios venta otras div.",
     "ventas de otras divisas en efectivo"},
    {TClaseOps::Documentos, 0, "Compra documentos", "Usuarios compra documentos",
     "compras de documentos a la vista"},
    {TClaseOps::Documentos, 1, "Venta documentos", "Usuarios venta documentos",
     "ventas de documentos a la vista"},
};

// The client classification flags and their column titles.
struct TBanderaEvidencia {
  const char* sColumna;
  const char* sTitulo;
};
constexpr TBanderaEvidencia kBanderas[] = {
    {"EsPF", "Persona física"},
    {"EsPM", "Persona moral"},
    {"EsPubGen", "Público en general"},
    {"EsExtrj", "Extranjero"},
    {"EsCC", "Centro cambiario"},
    {"EsEF", "Entidad financiera"},
    {"EsCB", "Casa de cambio"},
    {"EsB", "Banco"},
    {"EsPEP", "PEP"},
};
constexpr std::size_t kNumBanderas = std::size(kBanderas);

// Columns of an operations sheet: what the row shows, the data set's column it comes from.
struct TColumnaEvidencia {
  const char* sTitulo;
  Kind kind;
  const char* sOrigen;
};
constexpr TColumnaEvidencia kColumnasOps[] = {
    {"Tabla", Kind::Text, "Tabla"},
    {"Tipo", Kind::Text, "Tipo"},
    {"Folio", Kind::General, "Folio"},
    {"Fecha", Kind::Date, "Fecha"},
    {"Número de divisa", Kind::Integer, "NDiv"},
    {"Símbolo", Kind::Text, "Simbolo"},
    {"Divisa", Kind::Text, "Divisa"},
    {"Tipo de cambio de la operación", Kind::Rate, "Cot"},
    {"Cantidad en la divisa", Kind::Amount, "AuxCant"},
    {"Monto en dólares", Kind::Amount, "Cantidad"},
    {"Clave del cliente", Kind::Text, "CvCAux"},
    {"Cliente", Kind::Text, "Cliente"},
    {"Sector", Kind::Text, "Actividad"},
    {"Con cliente", Kind::Flag, "AuxCvC"},
};
// The position of an operations column by its data set's name.
constexpr std::size_t ColumnaOps(std::string_view sOrigen) {
  std::size_t i = 0;
  while (i < std::size(kColumnasOps) && kColumnasOps[i].sOrigen != sOrigen) ++i;
  return i;
}
constexpr std::size_t kOpsTabla = ColumnaOps("Tabla");  // never empty: counts the rows
constexpr std::size_t kOpsMonto = ColumnaOps("Cantidad");
constexpr std::size_t kOpsConCliente = ColumnaOps("AuxCvC");
constexpr std::size_t kOpsPrimeraBandera = std::size(kColumnasOps);

constexpr TColumnaEvidencia kColumnasUsuarios[] = {
    {"Clave del cliente", Kind::Text, "ClaveUsuario"},
    {"Cliente", Kind::Text, "NombreUsuario"},
    {"Operaciones", Kind::Integer, "OpsUsuario"},
    {"Folio (público en general)", Kind::General, "FolioUsuario"},
    {"Fecha (público en general)", Kind::Date, "FechaUsuario"},
};
constexpr std::size_t kUsuariosPrimeraBandera = std::size(kColumnasUsuarios);

// The user of each row of the users' population: the client's key, name and number of
// operations for an identified client, the walk-in client's operation otherwise.
constexpr const char* kExtraPorCliente =
    ", tXCSinPG.CvCAux AS ClaveUsuario, MIN(Cliente) AS NombreUsuario, COUNT(1) AS OpsUsuario, "
    "NULL AS FolioUsuario, NULL AS FechaUsuario";
constexpr const char* kExtraPorOperacion =
    ", CvCAux AS ClaveUsuario, Cliente AS NombreUsuario, 1 AS OpsUsuario, Folio AS "
    "FolioUsuario, Fecha AS FechaUsuario";

constexpr TColumnaEvidencia kColumnasRanking[] = {
    {"Pregunta", Kind::Integer, ""},
    {"Posición", Kind::Integer, ""},
    {"Candidato", Kind::Text, "Candidato"},
    {"Operaciones", Kind::Integer, "Operaciones"},
    {"Texto de la respuesta", Kind::Text, "XResul"},
};
constexpr std::size_t kRankPregunta = 0;
constexpr std::size_t kRankOperaciones = 3;

constexpr TColumnaEvidencia kColumnasRespuestas[] = {
    {"Pregunta", Kind::Integer, ""}, {"Texto", Kind::LongText, ""},
    {"Respuesta", Kind::Text, ""},   {"Valor", Kind::General, ""},
    {"Cálculo", Kind::LongText, ""}, {"Evidencia", Kind::LongText, ""},
};

template <std::size_t N>
std::vector<xlsx::Column> Columnas(const TColumnaEvidencia (&columnas)[N], bool bConBanderas) {
  std::vector<xlsx::Column> r;
  for (const auto& c : columnas) r.push_back({c.sTitulo, c.kind});
  if (bConBanderas)
    for (const auto& b : kBanderas) r.push_back({b.sTitulo, Kind::Flag});
  return r;
}

std::size_t IndiceBandera(const char* sBandera) {
  for (std::size_t i = 0; i < kNumBanderas; ++i)
    if (std::string_view(kBanderas[i].sColumna) == sBandera) return i;
  return 0;
}

// ---- Cells from the database's values ----

Cell Celda(const db::Value& v, Kind kind) {
  if (v.isNull()) return std::monostate{};
  switch (kind) {
    case Kind::Date:
      if (v.isDateTime()) return xlsx::Date{std::get<db::DateTime>(v.raw()).days};
      return v.toString();
    case Kind::Flag:
      return v.toInt() != 0 ? 1.0 : 0.0;
    case Kind::Integer:
    case Kind::Amount:
    case Kind::Rate:
      return v.isNumber() ? Cell(v.toDouble()) : Cell(v.toString());
    case Kind::General:
      return v.isNumber() ? Cell(v.toDouble()) : Cell(v.toString());
    default:
      return v.toString();
  }
}

// Hands each row of a statement to a function with the positions, in the row, of the
// columns it asked for by name (nothing for a column the result lacks).
class TFilas : public db::RowSink {
 public:
  using TPosiciones = std::vector<std::optional<std::size_t>>;
  using TFuncion = std::function<void(const std::vector<db::Value>&, const TPosiciones&)>;
  TFilas(std::vector<std::string> nombres, TFuncion f)
      : F_nombres(std::move(nombres)), F_f(std::move(f)) {}
  void columns(const std::vector<std::string>& names) override {
    F_posiciones.clear();
    for (const auto& n : F_nombres) {
      std::optional<std::size_t> pos;
      for (std::size_t i = 0; i < names.size() && !pos; ++i)
        if (!n.empty() && strcasecmp(names[i].c_str(), n.c_str()) == 0) pos = i;
      F_posiciones.push_back(pos);
    }
  }
  void row(const std::vector<db::Value>& values) override { F_f(values, F_posiciones); }

 private:
  std::vector<std::string> F_nombres;
  TFuncion F_f;
  TPosiciones F_posiciones;
};

// The data set's column names of a sheet's columns, flags after the listed ones.
template <std::size_t N>
std::vector<std::string> Origenes(const TColumnaEvidencia (&columnas)[N], bool bConBanderas) {
  std::vector<std::string> r;
  for (const auto& c : columnas) r.push_back(c.sOrigen);
  if (bConBanderas)
    for (const auto& b : kBanderas) r.push_back(b.sColumna);
  return r;
}

// ---- Formulas over the evidence rows ----

// A filter over a table: columns with the value they must hold (1 or 0), and at least one
// of the `alguno` columns set.
struct TFiltro {
  std::vector<std::pair<std::size_t, int>> todos;
  std::vector<std::size_t> alguno;
};

void AgregaSegmento(TFiltro& f, const TSegmento& s, std::size_t nPrimeraBandera) {
  for (const auto& b : s.todos)
    f.todos.push_back({nPrimeraBandera + IndiceBandera(b.sBandera), b.bActiva ? 1 : 0});
  for (const char* b : s.alguno) f.alguno.push_back(nPrimeraBandera + IndiceBandera(b));
}

std::string SumaPartes(const xlsx::Table& t, const std::function<std::string(std::size_t)>& f) {
  std::string s;
  for (std::size_t p = 0; p < t.parts().size(); ++p) s += (p ? "+" : "") + f(p);
  return t.parts().size() > 1 ? "(" + s + ")" : s;
}

// A flag's criterion: set (1) or unset (the workbook leaves an unset flag empty, which
// COUNTIFS matches with "<>1").
std::string Criterio(int v) {
  return v ? "1" : "\"<>1\"";
}

// The number of rows of t that pass f, or with nSuma the sum of that column over them.
std::string Formula(const xlsx::Table& t, const TFiltro& f, std::optional<std::size_t> nSuma) {
  // Without rows the range is one empty row, which "<>1" would count.
  if (t.rowCount() == 0) return "0";
  return SumaPartes(t, [&](std::size_t p) {
    if (f.todos.empty() && f.alguno.empty())
      return nSuma ? "SUM(" + t.range(p, *nSuma) + ")" : "COUNTA(" + t.range(p, kOpsTabla) + ")";
    if (f.alguno.empty()) {
      std::string s = nSuma ? "SUMIFS(" + t.range(p, *nSuma) + "," : "COUNTIFS(";
      for (std::size_t i = 0; i < f.todos.size(); ++i)
        s += (i ? "," : "") + t.range(p, f.todos[i].first) + "," + Criterio(f.todos[i].second);
      return s + ")";
    }
    std::string s = "SUMPRODUCT(";
    for (const auto& [c, v] : f.todos) s += "(" + t.range(p, c) + (v ? "=1" : "<>1") + ")*";
    s += "((";
    for (std::size_t i = 0; i < f.alguno.size(); ++i) s += (i ? "+" : "") + t.range(p, f.alguno[i]);
    s += ")>0)";
    if (nSuma) s += "*" + t.range(p, *nSuma);
    return s + ")";
  });
}

// Whether a row of cells passes f (an empty cell reads 0, as in the formulas).
bool Pasa(const TFiltro& f, std::span<const Cell> celdas) {
  auto Valor = [&](std::size_t c) {
    const double* d = std::get_if<double>(&celdas[c]);
    return d ? *d : 0.0;
  };
  for (const auto& [c, v] : f.todos)
    if (Valor(c) != v) return false;
  return f.alguno.empty() || std::any_of(f.alguno.begin(), f.alguno.end(),
                                         [&](std::size_t c) { return Valor(c) != 0; });
}

// The filter in words, for the Evidencia column.
std::string DescribeFiltro(const xlsx::Table& t, const TFiltro& f) {
  std::string hojas;
  for (std::size_t p = 0; p < t.parts().size(); ++p) hojas += (p ? " + " : "") + t.parts()[p].sheet;
  if (f.todos.empty() && f.alguno.empty()) return hojas + textos_motor::kTodasLasFilas;
  std::string s;
  for (const auto& [c, v] : f.todos)
    s += (s.empty() ? "" : ", ") + t.columns()[c].title +
         (v ? std::string(" = 1") : textos_motor::kEnBlanco);
  if (!f.alguno.empty()) {
    s += s.empty() ? "" : ", ";
    for (std::size_t i = 0; i < f.alguno.size(); ++i)
      s += (i ? " o " : "") + t.columns()[f.alguno[i]].title + " = 1";
  }
  return hojas + " (" + textos_motor::kFiltro + s + ")";
}

// The number of an answer text ("Respuesta: 1234"); 0 when it has none.
double NumeroRespuesta(const std::string& sRespuesta) {
  std::string s = sRespuesta;
  const std::string sPrefijo = textos_motor::kPrefijoRespuesta;
  if (s.rfind(sPrefijo, 0) == 0) s.erase(0, sPrefijo.size());
  double d = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), d);
  return r.ec == std::errc() ? d : 0;
}

// What a segment of clients is called in the Cálculo column.
std::string DescribeClientes(const TPregunta& p) {
  std::string s = TRepCuestSITI2020::DescribeSegmento(p.nSegmento, p.nExtranjero, p.bSinPEP);
  return s.empty() ? textos_motor::kTodosLosClientes : s;
}

}  // namespace

std::string TRepCuestSITI2020::DescribeSegmento(unsigned nSegmento, int nExtranjero, bool bSinPEP) {
  if (nSegmento == segmento::kTodos) return {};
  std::string s = DameSegmento(nSegmento).sDescripcion;
  const std::string sNac = DameNacionalidad(nExtranjero).sDescripcion;
  if (!sNac.empty()) s += ", " + sNac;
  if (bSinPEP) s += std::string(", ") + DameSinPEP().sDescripcion;
  return s;
}

void TRepCuestSITI2020::EscribeEvidencia(const std::string& sRuta,
                                         const TOpcionesEvidencia& opciones) {
  // The answers as the document shows them.
  std::vector<std::string> respuestas(textos_motor::kTotalPreguntasSITI2020 + 1);
  for (int n = 1; n <= textos_motor::kTotalPreguntasSITI2020; ++n) {
    const auto it = F_UltimasRespuestas.find(n);
    if (it != F_UltimasRespuestas.end())
      respuestas[n] = it->second;
    else
      RespondePregunta(n, respuestas[n]);
  }

  // Runs a statement, each row to f, on the database's worker when the window waits.
  auto Recorre = [&](const std::string& sConsulta, TFilas& filas) {
    if (!F_Conector) throw EEvidencia(textos_motor::kEvidenciaSinBase);
    try {
      db::Session& sesion = F_Conector->session();
      db::runWithHeartbeat([&] { sesion.selectInto(sConsulta, filas); });
    } catch (const db::DbError& e) {
      throw EEvidencia(textos_motor::kEvidenciaFallaBase + std::string(e.what()));
    }
  };

  // The rankings of the tops: few rows but slow statements, run in a copy of this
  // process, on the other core, while this one writes the first sections. Started before
  // the workbook, so that the copy shares none of its files.
  std::vector<int> conRanking;
  std::vector<std::string> consultasRanking;
  for (int n = 1; n <= textos_motor::kTotalPreguntasSITI2020; ++n) {
    std::string sConsulta = DameConsultaTop(n, true);
    if (sConsulta.empty()) continue;
    conRanking.push_back(n);
    consultasRanking.push_back(std::move(sConsulta));
  }
  TConsultasEnCopia copiaRankings;
  const bool bCopiaRankings =
      F_Conector && copiaRankings.Inicia(F_Conector->session(), consultasRanking);

  try {
    xlsx::Workbook::Options o;
    o.rowsPerSheet = opciones.nFilasPorHoja;
    xlsx::Workbook libro(sRuta, o);
    // The answers' sheet is one sheet whatever the evidence's limit.
    xlsx::Table& hojaRespuestas = libro.addTable(
        textos_motor::kHojaRespuestas, Columnas(kColumnasRespuestas, false), xlsx::kMaxDataRows);

    // Writes every row of a statement into a table, cell by cell from the named columns,
    // and shows each row's cells to alEscribir.
    auto Vuelca = [&](const std::string& sConsulta, xlsx::Table& t, std::vector<std::string> origen,
                      std::optional<std::size_t> nConCliente,
                      const std::function<void(std::span<const Cell>)>& alEscribir) {
      std::vector<Cell> celdas(t.columns().size());
      TFilas filas(std::move(origen),
                   [&](const std::vector<db::Value>& v, const TFilas::TPosiciones& pos) {
                     for (std::size_t c = 0; c < celdas.size(); ++c) {
                       if (!pos[c])
                         celdas[c] = std::monostate{};
                       else if (c == nConCliente)
                         celdas[c] = v[*pos[c]].isNull() ? 0.0 : 1.0;
                       else
                         celdas[c] = Celda(v[*pos[c]], t.columns()[c].kind);
                     }
                     t.addRow(celdas);
                     if (alEscribir) alEscribir(celdas);
                   });
      Recorre(sConsulta, filas);
    };

    // The clients of a question's segment as a filter over the flags from nPrimeraBandera on.
    auto FiltroSegmento = [](const TPregunta& p, std::size_t nPrimeraBandera) {
      TFiltro f;
      if (p.nSegmento == segmento::kTodos) return f;
      AgregaSegmento(f, DameSegmento(p.nSegmento), nPrimeraBandera);
      AgregaSegmento(f, DameNacionalidad(p.nExtranjero), nPrimeraBandera);
      if (p.bSinPEP) AgregaSegmento(f, DameSinPEP(), nPrimeraBandera);
      return f;
    };
    // Operations joined to their client, and in the segment of the question.
    auto FiltroOps = [&](const TPregunta& p) {
      TFiltro f = FiltroSegmento(p, kOpsPrimeraBandera);
      f.todos.insert(f.todos.begin(), {kOpsConCliente, 1});
      return f;
    };
    auto Seccion = [](int n) {
      const TPregunta& p = DamePreguntaSITI2020(n);
      std::size_t nSec = 0;
      for (std::size_t i = 0; i < std::size(kSecciones); ++i)
        if (kSecciones[i].clase == p.clase && kSecciones[i].nTipoOp == TipoOperacionPregunta(n))
          nSec = i;
      return nSec;
    };

    // The sum and the count of the rows of each amount and average as they are written:
    // its value before the answer's rounding, the cached result of its formula.
    struct TSuma {
      int n;
      TFiltro filtro;
      double dSuma = 0;
      double dCuenta = 0;
    };
    std::vector<std::vector<TSuma>> sumas(std::size(kSecciones));
    for (int n = 1; n <= textos_motor::kTotalPreguntasSITI2020; ++n) {
      const TPregunta& p = DamePreguntaSITI2020(n);
      if (p.receta == TReceta::Monto || p.receta == TReceta::Promedio ||
          p.receta == TReceta::PromedioSegmento)
        sumas[Seccion(n)].push_back({n, FiltroOps(p)});
    }
    std::map<int, const TSuma*> sumaDe;

    // The rankings of the tops, each in the answer's order: among the candidates tied
    // for the first place, the one the answer took comes first. Those the copy could not
    // give are run here, where a failure says why.
    struct TCandidato {
      db::Value candidato, operaciones, texto;
    };
    std::map<int, std::vector<TCandidato>> ranking;
    auto CalculaRankings = [&] {
      std::optional<std::vector<TConsultasEnCopia::TResultado>> deLaCopia;
      if (bCopiaRankings) deLaCopia = copiaRankings.Espera();
      for (std::size_t i = 0; i < conRanking.size(); ++i) {
        const int n = conRanking[i];
        std::vector<TCandidato>& lista = ranking[n];
        TFilas filas(Origenes(kColumnasRanking, false), [&](const std::vector<db::Value>& v,
                                                            const TFilas::TPosiciones& pos) {
          auto valor = [&](std::size_t c) { return pos[c] ? v[*pos[c]] : db::Value(); };
          lista.push_back({valor(2), valor(3), valor(4)});
        });
        if (deLaCopia && (*deLaCopia)[i].filas) {
          const db::RowSet& rs = *(*deLaCopia)[i].filas;
          filas.columns(rs.columns);
          for (const auto& fila : rs.rows) filas.row(fila);
        } else {
          Recorre(consultasRanking[i], filas);
        }
        const auto elegido = std::find_if(lista.begin(), lista.end(), [&](const TCandidato& c) {
          return textos_motor::kPrefijoRespuesta + c.texto.toString() == respuestas[n];
        });
        if (elegido != lista.end() && elegido->operaciones == lista.front().operaciones)
          std::rotate(lista.begin(), elegido, elegido + 1);
      }
    };

    // The operations and the users of each section.
    std::vector<xlsx::Table*> ops, usuarios;
    for (std::size_t nSec = 0; nSec < std::size(kSecciones); ++nSec) {
      const TSeccionEvidencia& sec = kSecciones[nSec];
      xlsx::Table& t = libro.addTable(sec.sHojaOps, Columnas(kColumnasOps, true));
      F_bConTabla = true;
      const std::string sOps =
          DameOpsConSusClientes(DameForma(sec.clase, TForma::Base, sec.nTipoOp));
      F_bConTabla = false;
      Vuelca(sOps, t, Origenes(kColumnasOps, true), kOpsConCliente,
             [&](std::span<const Cell> celdas) {
               for (TSuma& s : sumas[nSec]) {
                 if (!Pasa(s.filtro, celdas)) continue;
                 if (const double* d = std::get_if<double>(&celdas[kOpsMonto])) s.dSuma += *d;
                 ++s.dCuenta;
               }
             });
      for (const TSuma& s : sumas[nSec]) sumaDe[s.n] = &s;
      ops.push_back(&t);
      if (nSec == 0) CalculaRankings();
      xlsx::Table& u = libro.addTable(sec.sHojaUsuarios, Columnas(kColumnasUsuarios, true));
      Vuelca(DameClientesUnicos(DameForma(sec.clase, TForma::ConCliente, sec.nTipoOp),
                                kExtraPorCliente, kExtraPorOperacion),
             u, Origenes(kColumnasUsuarios, true), std::nullopt, {});
      usuarios.push_back(&u);
    }

    xlsx::Table& rankings =
        libro.addTable(textos_motor::kHojaRankings, Columnas(kColumnasRanking, false));
    std::map<int, double> primerConteo;
    for (const auto& [n, lista] : ranking) {
      if (!lista.empty()) primerConteo[n] = lista.front().operaciones.toDouble();
      for (std::size_t i = 0; i < lista.size(); ++i) {
        const Cell fila[] = {static_cast<double>(n), static_cast<double>(i + 1),
                             Celda(lista[i].candidato, Kind::Text),
                             Celda(lista[i].operaciones, Kind::Integer),
                             Celda(lista[i].texto, Kind::Text)};
        rankings.addRow(fila);
      }
    }

    // The answers: one row per question with its formula over the rows above.
    for (int n = 1; n <= textos_motor::kTotalPreguntasSITI2020; ++n) {
      const TPregunta& p = DamePreguntaSITI2020(n);
      const std::size_t nSec = Seccion(n);
      const TSeccionEvidencia& sec = kSecciones[nSec];
      const xlsx::Table& tOps = *ops[nSec];
      const xlsx::Table& tUsr = *usuarios[nSec];
      const double dRespuesta = NumeroRespuesta(respuestas[n]);
      const std::string sOps = sec.sOperaciones;

      const TFiltro fOps = FiltroOps(p);
      const TFiltro fUsr = FiltroSegmento(p, kUsuariosPrimeraBandera);
      Cell valor;
      std::string sCalculo, sEvidencia;
      const std::string sClientes = DescribeClientes(p);
      switch (p.receta) {
        case TReceta::Ninguna:
          break;
        case TReceta::CCResponde:
          // An answer typed by the exchange house shows as such.
          sCalculo = respuestas[n] == textos_motor::kCCDebeResponder
                         ? textos_motor::kCalculoCCResponde
                         : textos_motor::kCalculoRespuestaCC;
          break;
        case TReceta::Existe:
          valor = xlsx::Formula{Formula(tOps, {}, std::nullopt),
                                static_cast<double>(tOps.rowCount()), Kind::Integer};
          sCalculo = textos_motor::kCalculoExiste + sOps + textos_motor::kDel2019;
          sEvidencia = DescribeFiltro(tOps, {});
          break;
        case TReceta::Usuarios:
          valor = xlsx::Formula{Formula(tUsr, fUsr, std::nullopt), dRespuesta, Kind::Integer};
          sCalculo = textos_motor::kCalculoUsuarios + sOps + textos_motor::kDel2019 + ": " +
                     sClientes + textos_motor::kCalculoUsuariosCuenta;
          sEvidencia = DescribeFiltro(tUsr, fUsr);
          break;
        case TReceta::Operaciones:
          valor = xlsx::Formula{Formula(tOps, fOps, std::nullopt), dRespuesta, Kind::Integer};
          sCalculo = textos_motor::kCalculoOperaciones + sOps + textos_motor::kDel2019 + ": " +
                     sClientes + ".";
          sEvidencia = DescribeFiltro(tOps, fOps);
          break;
        case TReceta::Monto:
          valor = xlsx::Formula{Formula(tOps, fOps, kOpsMonto), sumaDe.at(n)->dSuma, Kind::Amount};
          sCalculo = textos_motor::kCalculoMonto + sOps + textos_motor::kDel2019 + ": " +
                     sClientes + textos_motor::kCalculoRedondeo;
          sEvidencia = DescribeFiltro(tOps, fOps);
          break;
        case TReceta::Promedio:
        case TReceta::PromedioSegmento:
          valor = xlsx::Formula{
              Formula(tOps, fOps, kOpsMonto) + "/MAX(1," + Formula(tOps, fOps, std::nullopt) + ")",
              sumaDe.at(n)->dSuma / std::max(1.0, sumaDe.at(n)->dCuenta), Kind::Amount};
          sCalculo = textos_motor::kCalculoPromedio + sOps + textos_motor::kDel2019 + ": " +
                     sClientes + textos_motor::kCalculoRedondeo;
          sEvidencia = DescribeFiltro(tOps, fOps);
          break;
        case TReceta::ActividadTop:
        case TReceta::DivisaTop:
        case TReceta::ClienteTop: {
          const std::string sPregunta = std::to_string(n);
          std::string f;
          for (std::size_t q = 0; q < rankings.parts().size(); ++q)
            f += (q ? "," : "") + std::string("MAX((") + rankings.range(q, kRankPregunta) + "=" +
                 sPregunta + ")*" + rankings.range(q, kRankOperaciones) + ")";
          valor = xlsx::Formula{"SUMPRODUCT(MAX(" + f + "))", primerConteo[n], Kind::Integer};
          sCalculo =
              p.receta == TReceta::ActividadTop ? textos_motor::kCalculoActividadTop
              : p.receta == TReceta::DivisaTop
                  ? textos_motor::kCalculoDivisaTop + sOps + textos_motor::kDel2019 + "."
                  : textos_motor::kCalculoClienteTop + sOps + textos_motor::kDel2019 +
                        (p.nSegmento == segmento::kBancos ? textos_motor::kEntreBancosNacionales
                                                          : "") +
                        ".";
          sCalculo += textos_motor::kCalculoTop;
          sEvidencia = rankings.parts().front().sheet + " (" + textos_motor::kFiltro +
                       kColumnasRanking[kRankPregunta].sTitulo + " = " + sPregunta + ")";
          break;
        }
      }
      if (p.clase == TClaseOps::OtrasDivisas || p.clase == TClaseOps::Documentos)
        if (p.receta == TReceta::Monto || p.receta == TReceta::Promedio ||
            p.receta == TReceta::PromedioSegmento)
          sCalculo += textos_motor::kCalculoConversion + DameTextoTipoCambio() + ".";
      const Cell fila[] = {static_cast<double>(n),
                           std::string(TextoPregunta(n)),
                           respuestas[n],
                           valor,
                           sCalculo,
                           sEvidencia};
      hojaRespuestas.addRow(fila);
    }
    db::runWithHeartbeat([&] { libro.close(); });
  } catch (const xlsx::XlsxError& e) {
    throw EEvidencia(e.what());
  }
}

}  // namespace kv
