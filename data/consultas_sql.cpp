#include "data/consultas_sql.h"

#include <ctime>
#include <filesystem>
#include <system_error>

#include "data/atrapa_errores.h"
#include "data/db/error.h"
#include "data/texto_bd.h"
#include "data/textos.h"
#include "diag/errores_bd.h"

namespace kv {

namespace fs = std::filesystem;

namespace {

// Local date and time as "yyyy_mm_dd_hh_mm".
std::string SelloFechaHora() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y_%m_%d_%H_%M", &tm);
  return buf;
}

}  // namespace

TConsultasSQL::TConsultasSQL(db::Connection* Conector)
    : F_Conector(Conector), F_qConsultaGen(Conector), F_Errores(std::make_shared<TErroresBD>()) {}

TConsultasSQL::~TConsultasSQL() = default;

bool TConsultasSQL::Atrapa(const std::function<void()>& accion) {
  return EjecutaAtrapando(*F_Errores, NombreClase(), accion);
}

bool TConsultasSQL::PideConsulta(const std::string& sConsulta, db::Query& qQuery) {
  qQuery.close();
  qQuery.clearSql();
  return Atrapa([&] {
    qQuery.addSql(sConsulta);
    qQuery.open();
  });
}

bool TConsultasSQL::EjecutaConsulta(const std::string& sConsulta, db::Query& qQuery) {
  qQuery.close();
  qQuery.clearSql();
  return Atrapa([&] {
    qQuery.addSql(sConsulta);
    qQuery.execSql();
    qQuery.close();
  });
}

void TConsultasSQL::LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) {
  std::string sConsulta = "DELETE FROM " + sNomTabla;
  if (!sCondicion.empty()) sConsulta += " WHERE " + sCondicion;
  EjecutaConsulta(sConsulta, F_qConsultaGen);
}

void TConsultasSQL::InicializaTabla(const std::string& sNomTabla) {
  EjecutaConsulta("TRUNCATE TABLE " + sNomTabla, F_qConsultaGen);
}

bool TConsultasSQL::RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) {
  fs::path destino;
  if (!EnBlanco(sRutaDestino)) {
    destino = sRutaDestino;
  } else {
    fs::path origen(sRutaOrigen);
    fs::path carpeta = origen.parent_path() / "Respaldos";
    std::error_code ec;
    // A folder that cannot be made shows up as the copy's failure below.
    if (!fs::exists(carpeta, ec)) fs::create_directory(carpeta, ec);
    destino = carpeta / ("RESP_" + SelloFechaHora() + "_" + origen.filename().string());
  }
  return Atrapa([&] {
    std::error_code ec;
    fs::copy_file(sRutaOrigen, destino, fs::copy_options::overwrite_existing, ec);
    if (ec)
      throw db::DbError(textos_datos::kClaseFallaCopia,
                        textos_datos::FallaCopia(sRutaOrigen, destino.string(), ec.message()));
  });
}

}  // namespace kv
