#include "app/ubicacion_respuestas_cc.h"

#include <QStandardPaths>
#include <QString>

#include "app/textos.h"
#include "diag/programa.h"

namespace kv {

namespace fs = std::filesystem;

fs::path RutaRespuestasCCPrograma() {
  if (const auto sRuta = BuscaArchivoIgnorandoMayusculas(DameCarpetaExe(), kArchivoRespuestasCC))
    return *sRuta;
  return fs::path(DameCarpetaExe()) / kArchivoRespuestasCC;
}

fs::path RutaRespuestasCCUsuario() {
  const QString sCarpeta = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return fs::path(sCarpeta.toStdString()) / "cuestionario-operatividad" / kArchivoRespuestasCC;
}

fs::path RutaRespuestasCCEnUso() {
  return ElijeArchivoRespuestasCC({RutaRespuestasCCPrograma(), RutaRespuestasCCUsuario()})
      .value_or(RutaRespuestasCCPrograma());
}

TLecturaRespuestasCC CargaRespuestasCC() {
  return LeeArchivoRespuestasCC(RutaRespuestasCCEnUso());
}

std::string TextoConfirmacionReporte(int nPendientes) {
  std::string sTexto = textos_app::kIndicaciones;
  if (nPendientes <= 0) return sTexto;
  const std::string sParrafo =
      nPendientes == 1
          ? std::string(textos_app::kFaltanUnaAntesDeGenerar)
          : QString::fromUtf8(textos_app::kFaltanAntesDeGenerar).arg(nPendientes).toStdString();
  const std::string sSeparador = "\r\r\n";
  const auto pos = sTexto.rfind(sSeparador);
  sTexto.insert(pos + sSeparador.size(), sParrafo + sSeparador);
  return sTexto;
}

}  // namespace kv
