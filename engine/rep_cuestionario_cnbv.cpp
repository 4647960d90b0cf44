#include "engine/rep_cuestionario_cnbv.h"

#include <charconv>
#include <vector>

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
  if (!F_sCausaFalla.empty()) RegistraEnBitacora(F_sCausaFalla);
  return bResultado;
}

void TRepCuestionarioCNBV::LimpiaCorridasMuertas() {
  kv::LimpiaCorridasMuertas(textos_motor::kArchivoDocWord);
}

bool TRepCuestionarioCNBV::RespondePregunta(int nPregunta, std::string& sRespuesta) {
  const std::string sConsulta = DameConsultaPregunta(nPregunta);
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
