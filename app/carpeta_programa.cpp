#include "app/carpeta_programa.h"

#include <QDir>
#include <filesystem>

#include "app/textos.h"
#include "diag/dialogos.h"
#include "diag/programa.h"
#include "document/corrida_reporte.h"
#include "document/error_doc.h"

namespace fs = std::filesystem;

namespace kv {

const cli::TPrograma kProgramaVentana{
    "cuestionario-operatividad",
    {"[CARPETA]"},
    "Abre la ventana del Cuestionario de Operatividad sobre la carpeta del Kavori: la que tiene\n"
    "Kavori.INI y DataBase/Kavori.mdb, donde también se guarda el reporte. Sin CARPETA usa la\n"
    "carpeta del programa si tiene Kavori.INI; si no, la elegida la vez anterior o, la primera\n"
    "vez, la que el usuario elija en un diálogo.\n",
    {},
    {"cuestionario-operatividad /home/kavori/Kavori"},
    2};

namespace {

constexpr const char* kClaveCarpeta = "carpetaKavori";
constexpr const char* kNombreAjustes = "cuestionario-operatividad";

bool TieneIni(const std::string& sCarpeta) {
  return !sCarpeta.empty() && BuscaArchivoIgnorandoMayusculas(sCarpeta, textos_app::kArchivoIni);
}

// Absolute, lexically normal, without final separator (the root stays "/").
std::string Normaliza(const std::string& sCarpeta) {
  std::error_code ec;
  fs::path p = fs::absolute(sCarpeta, ec).lexically_normal();
  std::string s = p.string();
  while (s.size() > 1 && s.back() == kSeparador) s.pop_back();
  return s;
}

std::optional<std::string> Pregunta(QSettings& ajustes, const TPideCarpeta& pideCarpeta,
                                    const std::string& sRecordada) {
  std::string sInicial = sRecordada.empty() ? QDir::homePath().toStdString() : sRecordada;
  for (;;) {
    const std::optional<std::string> sElegida = pideCarpeta(sInicial);
    if (!sElegida || sElegida->empty()) return std::nullopt;
    const std::string s = Normaliza(*sElegida);
    if (TieneIni(s)) {
      ajustes.setValue(kClaveCarpeta, QString::fromStdString(s));
      ajustes.sync();
      return s;
    }
    DameDialogos()->Mensaje(textos_app::kCarpetaSinIni + s);
    sInicial = s;
  }
}

}  // namespace

std::unique_ptr<QSettings> DameAjustes() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kNombreAjustes,
                                     kNombreAjustes);
}

std::optional<std::string> EligeCarpetaPrograma(const std::optional<std::string>& sArgumento,
                                                QSettings& ajustes,
                                                const TPideCarpeta& pideCarpeta) {
  std::optional<std::string> sCarpeta;
  if (sArgumento) {
    const std::string s = Normaliza(*sArgumento);
    std::error_code ec;
    if (sArgumento->empty() || !fs::is_directory(s, ec)) {
      DameDialogos()->Mensaje(textos_app::kCarpetaNoExiste + *sArgumento);
      return std::nullopt;
    }
    sCarpeta = s;
  } else if (const std::string sExe = DameCarpetaExe(); TieneIni(sExe)) {
    sCarpeta = sExe;
  } else {
    const std::string sRecordada = ajustes.value(kClaveCarpeta).toString().toStdString();
    if (TieneIni(sRecordada))
      sCarpeta = sRecordada;
    else
      sCarpeta = Pregunta(ajustes, pideCarpeta, sRecordada);
  }
  // Said now, before any work; the report checks it again when it runs.
  if (sCarpeta) {
    try {
      VerificaCarpetaEscribible(*sCarpeta);
    } catch (const EDocumentoWord& e) {
      DameDialogos()->Mensaje(e.what());
    }
  }
  return sCarpeta;
}

}  // namespace kv
