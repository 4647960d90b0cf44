// respuestas FOLDER --tipo-cambio R [--pep CLAVE]... [--respuestas-cc FILE] [--evidencia OUT.xlsx]
// respuestas FOLDER --peps
// Opens the company database of a Kavori folder as the window does, detects the possible
// PEPs, ticks the given client keys and prints the text of every question's bookmark
// (or the detected rows); the house's own answers come from FILE when given; with
// --evidencia it also writes the evidence workbook of the answers. Read only; no
// administrator login.
#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/archivo_ini.h"
#include "app/textos.h"
#include "data/colector_conxs.h"
#include "diag/cli/opciones.h"
#include "diag/programa.h"
#include "engine/rep_cuest_siti2020.h"
#include "engine/respuestas_cc.h"
#include "engine/tabla_peps.h"
#include "jet/jet_provider.h"
#include "tools/respuestas/textos.h"

namespace {

using namespace kv;

struct TArgumentos {
  std::string sCarpeta;
  std::optional<std::string> sTipoCambio;
  std::vector<std::string> peps;
  std::optional<std::string> sRespuestasCC;
  std::optional<std::string> sEvidencia;
  bool bSoloPEPs = false;
};

// Parses the command line; nothing when it is not valid (the reason and the usage are
// written, the status is in nSalida).
std::optional<TArgumentos> LeeArgumentos(int argc, char** argv, int& nSalida) {
  const cli::TLinea linea =
      cli::LeeArgumentos(textos_respuestas::kPrograma, argc, argv, std::cout, std::cerr);
  if (linea.nSalida) {
    nSalida = *linea.nSalida;
    return std::nullopt;
  }
  TArgumentos a;
  for (const cli::TArgumento& arg : linea.argumentos) {
    if (arg.sOpcion == "--peps") {
      a.bSoloPEPs = true;
    } else if (arg.sOpcion == "--pep") {
      a.peps.push_back(arg.sValor);
    } else if (arg.sOpcion == "--tipo-cambio") {
      a.sTipoCambio = arg.sValor;
    } else if (arg.sOpcion == "--respuestas-cc") {
      a.sRespuestasCC = arg.sValor;
    } else if (arg.sOpcion == "--evidencia") {
      a.sEvidencia = arg.sValor;
    } else if (!a.sCarpeta.empty()) {
      nSalida = cli::ErrorDeUso(textos_respuestas::kPrograma,
                                textos_respuestas::kArgumentoDeMas + arg.sValor, std::cerr);
      return std::nullopt;
    } else {
      a.sCarpeta = arg.sValor;
    }
  }
  if (a.sCarpeta.empty() || a.bSoloPEPs == a.sTipoCambio.has_value() ||
      (a.bSoloPEPs && (a.sRespuestasCC || a.sEvidencia))) {
    nSalida = cli::ErrorDeUso(textos_respuestas::kPrograma, "", std::cerr);
    return std::nullopt;
  }
  return a;
}

// The rate as typed: a decimal number with "." whatever the locale; 0 when it is not one.
double LeeTipoCambio(const std::string& s) {
  double d = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), d);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(d)) return 0;
  return d;
}

int Falla(const std::string& sMensaje) {
  std::cerr << sMensaje << "\n";
  return 1;
}

// The house's own answers of the given file; nothing when it cannot be used (reported).
// Lines that are not taken are reported and make the exit status 1.
std::optional<std::shared_ptr<const TRespuestasCC>> LeeRespuestasCC(const std::string& sRuta,
                                                                    int& nEstado) {
  const TLecturaRespuestasCC lectura = LeeArchivoRespuestasCC(sRuta);
  if (!lectura.bExiste) {
    std::cerr << textos_respuestas::kSinArchivoCC << sRuta << "\n";
    return std::nullopt;
  }
  for (const auto& sError : lectura.errores) std::cerr << sRuta << ": " << sError << "\n";
  if (lectura.bAjeno) return std::nullopt;
  if (!lectura.Correcta()) nEstado = 1;
  return std::make_shared<const TRespuestasCC>(lectura.respuestas);
}

// One line per answer: a line break of a typed text is shown as "\n".
std::string EnUnaLinea(const std::string& s) {
  std::string r;
  for (char c : s) r += c == '\n' ? std::string("\\n") : std::string(1, c);
  return r;
}

int Ejecuta(const TArgumentos& a) {
  int nEstado = 0;
  std::shared_ptr<const TRespuestasCC> respuestasCC;
  if (a.sRespuestasCC) {
    auto leidas = LeeRespuestasCC(*a.sRespuestasCC, nEstado);
    if (!leidas) return 1;
    respuestasCC = *leidas;
  }
  double dTipoCambio = 0;
  if (a.sTipoCambio) {
    if (a.sTipoCambio->empty()) return Falla(textos_app::kFaltaCambio);
    dTipoCambio = LeeTipoCambio(*a.sTipoCambio);
    if (dTipoCambio <= 0) return Falla(textos_app::kCambioCero);
  }

  // The database and the company number, as the window finds them.
  const auto sRutaBD = BuscaArchivoIgnorandoMayusculas(
      a.sCarpeta, std::string(textos_app::kCarpetaBD) + "/" + textos_app::kArchivoBD);
  if (!sRutaBD) return Falla(textos_app::kErrorCarpetaKavori);
  jet::registerJetProvider();
  ColectorConexiones->CreaBDPrinc(*sRutaBD, "", false);
  db::Connection* Conector = nullptr;
  // A refused open was already reported ("BD-101") by the connector.
  if (!ColectorConexiones->Conecta(textos_app::kConexionPrincipal) ||
      !ColectorConexiones->DameAccessConex(textos_app::kConexionPrincipal, Conector) ||
      !Conector->connected())
    return 1;
  const auto sRutaIni = BuscaArchivoIgnorandoMayusculas(a.sCarpeta, textos_app::kArchivoIni);
  const int nNumEmp = sRutaIni ? LeeEnteroIni(*sRutaIni, textos_app::kSeccionControl,
                                              textos_app::kClaveEmpresaActiva, 0)
                               : 0;
  if (nNumEmp <= 0) return Falla(textos_app::kSinNumEmpresa);

  TRepCuestSITI2020 rep(Conector, dTipoCambio, nNumEmp);
  if (rep.UsuariosConectados()) return Falla(textos_app::kUsuarioConectado);
  TTablaPEPs vtPEPs;
  if (!rep.DetectaPEPs(vtPEPs)) return 1;

  if (a.bSoloPEPs) {
    for (std::size_t i = 0; i < vtPEPs.RecordCount(); ++i) {
      const TFilaPEP& f = vtPEPs.Row(i);
      std::cout << f.IdPEP << '\t' << f.ClaveCliente << '\t' << f.Nombre << '\n';
    }
    return 0;
  }

  const std::set<std::string> peps(a.peps.begin(), a.peps.end());
  for (std::size_t i = 0; i < vtPEPs.RecordCount(); ++i)
    if (peps.count(vtPEPs.Row(i).ClaveCliente)) vtPEPs.SetEsPEP(i, true);
  rep.EstableceTablaPEPs(&vtPEPs);
  rep.EstableceRespuestasCC(respuestasCC);

  rep.PreparaRespuestas();
  // Unlike the report, every question is answered even after one fails.
  for (int n = 1; n <= rep.TotalPreguntas(); ++n) {
    std::string sRespuesta;
    if (!rep.RespondePregunta(n, sRespuesta)) nEstado = 1;
    // A list the house answered is ticked in the document; here its options are named.
    if (respuestasCC && BuscaPreguntaCC(n) != nullptr)
      if (auto sTexto = TextoRespuestaCC(*respuestasCC, n)) sRespuesta = *sTexto;
    std::cout << n << '\t' << EnUnaLinea(sRespuesta) << '\n';
  }
  std::cout.flush();
  if (a.sEvidencia) {
    try {
      rep.EscribeEvidencia(*a.sEvidencia, {});
    } catch (const EEvidencia& e) {
      return Falla(e.what());
    }
  }
  return nEstado;
}

}  // namespace

int main(int argc, char** argv) {
  int nSalida = 0;
  const auto args = LeeArgumentos(argc, argv, nSalida);
  if (!args) return nSalida;
  kv::ColectorConexiones = std::make_shared<kv::TColectorConxs>();
  int nEstado = 1;
  try {
    nEstado = Ejecuta(*args);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    nEstado = 1;
  }
  std::cout.flush();
  kv::ColectorConexiones.reset();
  return nEstado;
}
