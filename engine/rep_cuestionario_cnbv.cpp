#include "engine/rep_cuestionario_cnbv.h"

#include <strings.h>

#include <charconv>
#include <chrono>
#include <optional>
#include <vector>

#include "data/consultas_en_copia.h"
#include "data/db/heartbeat.h"
#include "diag/bitacora.h"
#include "document/documento_word.h"
#include "document/error_doc.h"
#include "document/genera_cuestionario.h"
#include "document/template/plantilla.h"
#include "engine/textos.h"

namespace kv {

namespace {

// Without leading and trailing blanks and control characters.
std::string Recorta(const std::string& s) {
  auto blanco = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t b = 0, e = s.size();
  while (b < e && blanco(s[b])) ++b;
  while (e > b && blanco(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The answer text of a question's rows: the column Resultado of the first row;
// nothing when there is none (the question's own turn then says why).
std::optional<std::string> RespuestaDe(const db::RowSet& rs) {
  if (rs.rows.empty()) return std::nullopt;
  for (std::size_t c = 0; c < rs.columns.size(); ++c)
    if (strcasecmp(rs.columns[c].c_str(), "Resultado") == 0)
      return textos_motor::kPrefijoRespuesta + rs.rows.front()[c].toString();
  return std::nullopt;
}

}  // namespace

std::string TRepCuestionarioCNBV::DameDiaSiguiente(const std::string& sFecha) {
  int nMes = 0, nDia = 0, nAnio = 0;
  const char* p = sFecha.data();
  const char* const fin = p + sFecha.size();
  // Two digits, "/", two digits, "/", four digits.
  auto parte = [&](int& n, int nDigitos, bool bBarra) {
    const auto r = std::from_chars(p, fin, n);
    if (r.ec != std::errc() || r.ptr - p != nDigitos) return false;
    p = r.ptr;
    if (!bBarra) return p == fin;
    if (p == fin || *p != '/') return false;
    ++p;
    return true;
  };
  if (!parte(nMes, 2, true) || !parte(nDia, 2, true) || !parte(nAnio, 4, false)) return sFecha;
  const bool bBisiesto = (nAnio % 4 == 0 && nAnio % 100 != 0) || nAnio % 400 == 0;
  const int kDias[] = {31, bBisiesto ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (nMes < 1 || nMes > 12 || nDia < 1 || nDia > kDias[nMes - 1]) return sFecha;
  if (++nDia > kDias[nMes - 1]) {
    nDia = 1;
    if (++nMes > 12) {
      nMes = 1;
      ++nAnio;
    }
  }
  char sTexto[16];
  auto dos = [](char* s, int n) {
    s[0] = static_cast<char>('0' + n / 10);
    s[1] = static_cast<char>('0' + n % 10);
  };
  dos(sTexto, nMes);
  sTexto[2] = '/';
  dos(sTexto + 3, nDia);
  sTexto[5] = '/';
  const auto r = std::to_chars(sTexto + 6, sTexto + sizeof sTexto, nAnio);
  return std::string(sTexto, r.ptr);
}

TRepCuestionarioCNBV::TRepCuestionarioCNBV(db::Connection* Conector, int nTotalPreg, int nNumEmp,
                                           const std::string& sFIni, const std::string& sFFin)
    : TKavoriBD(Conector),
      F_sFIni(sFIni),
      F_sFFin(sFFin),
      F_sNumEmp(std::to_string(nNumEmp)),
      F_nTotalPreguntas(nTotalPreg) {}

bool TRepCuestionarioCNBV::GeneraReporte(TTablaPEPs& vtPEPS) {
  if (!F_Mensajero) return false;
  F_vtPEPS = &vtPEPS;
  TFuentesCuestionario fuentes;
  fuentes.nTotalPreguntas = F_nTotalPreguntas;
  fuentes.DameRazonSocial = [this] { return GetEmpresa().sRazonSocial; };
  fuentes.RespondePregunta = [this](int nPregunta, std::string& sRespuesta) {
    return RespondePregunta(nPregunta, sRespuesta);
  };
  fuentes.PreparaRespuestas = [this] { PreparaRespuestas(); };
  if (F_RespuestasCC)
    fuentes.DameMarcasOpciones = [this](int nPregunta) {
      return MarcasRespuestaCC(*F_RespuestasCC, nPregunta);
    };
  fuentes.plantilla = PlantillaCuestionario();
  fuentes.sNombrePlantilla = textos_motor::kPlantillaDocWord;
  fuentes.sNombreDocumento = textos_motor::kArchivoDocWord;
  // The document object lives for this run only and is released on every path.
  auto docCuestionario = std::make_unique<TDocumentoWord>();
  bool bResultado = false;
  try {
    bResultado = GeneraCuestionario(docCuestionario, *F_Mensajero, fuentes, &F_sCausaFalla);
  } catch (const EDocumentoWord& e) {
    // A check before the work or a file that could not be written: said, not thrown.
    F_sCausaFalla = e.what();
  }
  // What a stopped run left prepared must not answer a later command.
  F_Preparadas.clear();
  if (!F_sCausaFalla.empty()) RegistraEnBitacora(F_sCausaFalla);
  return bResultado;
}

void TRepCuestionarioCNBV::LimpiaCorridasMuertas() {
  kv::LimpiaCorridasMuertas(textos_motor::kArchivoDocWord);
}

void TRepCuestionarioCNBV::PreparaRespuestas() {
  F_Preparadas.clear();
  F_SegundosPreparacion.clear();
  F_Mitades = {};
  if (!F_Conector) return;

  db::Session& sesion = F_Conector->session();
  auto Desde = [](std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
  };
  // Runs one statement here, keeping the window alive; nothing when it fails.
  auto Aqui = [&](const std::string& sConsulta, double& dSegundos) {
    const auto t0 = std::chrono::steady_clock::now();
    std::optional<db::RowSet> filas;
    try {
      db::runWithHeartbeat([&] { filas = sesion.select(sConsulta); });
    } catch (const std::exception&) {
      filas.reset();
    }
    dSegundos = Desde(t0);
    return filas;
  };
  auto Guarda = [this](int n, std::string sConsulta, const std::optional<db::RowSet>& filas,
                       double dSegundos) {
    const auto r = filas ? RespuestaDe(*filas) : std::nullopt;
    if (!r) return;
    F_Preparadas[n] = {std::move(sConsulta), *r};
    F_SegundosPreparacion[n] = dSegundos;
  };

  std::vector<int> aqui, enCopia;
  std::vector<std::string> consultas(static_cast<std::size_t>(F_nTotalPreguntas) + 1);
  for (int n = 1; n <= F_nTotalPreguntas; ++n) {
    std::string s = DameConsultaPregunta(n);
    if (s == textos_motor::kCCDebeResponder || s == textos_motor::kErrorPregunta) continue;
    consultas[static_cast<std::size_t>(n)] = std::move(s);
    (RespondeLaCopia(n) ? enCopia : aqui).push_back(n);
  }
  if (const std::string sComun = DameConsultaComun(); !sComun.empty())
    (void)Aqui(sComun, F_SegundosPreparacion[0]);

  const auto tMitades = std::chrono::steady_clock::now();
  TConsultasEnCopia copia;
  std::vector<std::string> deLaCopia;
  for (int n : enCopia) deLaCopia.push_back(consultas[static_cast<std::size_t>(n)]);
  const bool bCopia = !enCopia.empty() && copia.Inicia(sesion, deLaCopia);
  if (!bCopia) aqui.insert(aqui.end(), enCopia.begin(), enCopia.end());
  // The statements of this half, foreseen while they run and no longer.
  std::vector<std::string> deAqui;
  for (int n : aqui) deAqui.push_back(consultas[static_cast<std::size_t>(n)]);
  try {
    db::runWithHeartbeat([&] { sesion.foresee(deAqui); });
  } catch (const std::exception&) {
    // Each statement reports its own failure in its turn.
  }
  const struct TOlvida {
    db::Session& sesion;
    ~TOlvida() {
      try {
        sesion.foresee({});
      } catch (const std::exception&) {
        // A failed session foresees nothing anyway.
      }
    }
  } olvida{sesion};
  for (int n : aqui) {
    double d = 0;
    const auto filas = Aqui(consultas[static_cast<std::size_t>(n)], d);
    Guarda(n, consultas[static_cast<std::size_t>(n)], filas, d);
  }
  if (!bCopia) return;
  const double dAqui = Desde(tMitades);
  const auto tEspera = std::chrono::steady_clock::now();
  const auto resultados = copia.Espera();
  const double dEspera = Desde(tEspera);

  // A copy that did not end well leaves its questions to their turn.
  if (!resultados) return;
  F_Mitades = {dAqui, dEspera, 0};
  for (std::size_t i = 0; i < enCopia.size(); ++i) {
    Guarda(enCopia[i], consultas[static_cast<std::size_t>(enCopia[i])], (*resultados)[i].filas,
           (*resultados)[i].dSegundos);
    F_Mitades.dCopia += (*resultados)[i].dSegundos;
  }
}

bool TRepCuestionarioCNBV::RespondePregunta(int nPregunta, std::string& sRespuesta) {
  const std::string sConsulta = DameConsultaPregunta(nPregunta);
  if (const auto it = F_Preparadas.find(nPregunta);
      it != F_Preparadas.end() && it->second.first == sConsulta) {
    sRespuesta = std::move(it->second.second);
    F_Preparadas.erase(it);
    F_UltimasRespuestas[nPregunta] = sRespuesta;
    return true;
  }
  if (sConsulta == textos_motor::kCCDebeResponder && F_RespuestasCC) {
    if (auto sTecleada = TextoEnMarcadorCC(*F_RespuestasCC, nPregunta)) {
      sRespuesta = std::move(*sTecleada);
      // A list is ticked in the document; the evidence names its chosen options.
      F_UltimasRespuestas[nPregunta] =
          TextoRespuestaCC(*F_RespuestasCC, nPregunta).value_or(sRespuesta);
      return true;
    }
  }
  const bool bOk = DameRespuestaPregunta(sConsulta, sRespuesta);
  F_UltimasRespuestas[nPregunta] = sRespuesta;
  return bOk;
}

bool TRepCuestionarioCNBV::DameRespuestaPregunta(const std::string& sConsulta,
                                                 std::string& sRespuesta) {
  sRespuesta = textos_motor::kErrorPregunta;
  if (sConsulta == textos_motor::kCCDebeResponder) {
    sRespuesta = sConsulta;
    return true;
  }
  if (sConsulta == textos_motor::kErrorPregunta) return false;
  if (!PideConsulta(sConsulta, F_qConsultaGen)) return false;
  if (F_qConsultaGen.isEmpty()) {
    F_qConsultaGen.close();
    return false;
  }
  // A result without the column Resultado is a failed question, reported like any
  // other database failure.
  const bool bOk = Atrapa([&] {
    F_qConsultaGen.first();
    sRespuesta =
        textos_motor::kPrefijoRespuesta + F_qConsultaGen.fieldByName("Resultado").toString();
  });
  if (!bOk) sRespuesta = textos_motor::kErrorPregunta;
  F_qConsultaGen.close();
  return bOk;
}

bool TRepCuestionarioCNBV::DetectaPEPs(TTablaPEPs& vtPEPS) {
  vtPEPS.Open();
  vtPEPS.Clear();
  const std::string sConsulta =
      "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, "
      "tCliente.ClaveCliente FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND "
      "tRelevan.Fecha >= #" +
      F_sFIni + "# AND " + "tRelevan.Fecha < #" + DameDiaSiguiente(F_sFFin) + "# AND " +
      "tRelevan.Observaciones LIKE '%PEP%' AND " + "tRelevan.NumEmp = " + F_sNumEmp + " AND " +
      "tCliente.ClaveCliente = tRelevan.ClaveCliente";
  if (!PideConsulta(sConsulta, F_qConsultaGen)) return false;
  // Every row is read before the table is touched, so a bad row leaves it empty.
  std::vector<TFilaPEP> filas;
  const bool bOk = Atrapa([&] {
    int n = 0;
    for (F_qConsultaGen.first(); !F_qConsultaGen.eof(); F_qConsultaGen.next()) {
      TFilaPEP f;
      f.IdPEP = ++n;
      f.Nombre = Recorta(F_qConsultaGen.fieldByName("Nombre").toString());
      for (const char* sApellido : {"ApellidoPaterno", "ApellidoMaterno"}) {
        const std::string s = Recorta(F_qConsultaGen.fieldByName(sApellido).toString());
        if (!s.empty()) f.Nombre += " " + s;
      }
      f.ClaveCliente = F_qConsultaGen.fieldByName("ClaveCliente").toString();
      filas.push_back(std::move(f));
    }
  });
  F_qConsultaGen.close();
  if (!bOk) return false;
  for (const auto& f : filas) {
    vtPEPS.Append();
    vtPEPS.SetField("IdPEP", db::Value(f.IdPEP));
    vtPEPS.SetField("ClaveCliente", db::Value(f.ClaveCliente));
    vtPEPS.SetField("Nombre", db::Value(f.Nombre));
    vtPEPS.SetField("EsPEP", db::Value(0));
    vtPEPS.Post();
  }
  return true;
}

}  // namespace kv
