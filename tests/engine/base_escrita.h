#pragma once
// A written test database opened through the Jet provider as the program opens the
// company database (its folder is removed at the end), and the ticks of a PEP table.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "data/conexion.h"
#include "data/db/connection.h"
#include "data/textos.h"
#include "engine/tabla_peps.h"
#include "jet/jet_provider.h"
#include "tests/engine/base_prueba.h"
#include "tests/support/archivos.h"

namespace kv::prueba {

class BaseEscrita {
 public:
  explicit BaseEscrita(const TDatos& datos)
      : BaseEscrita([&](const std::filesystem::path& carpeta) {
          EscribeBase(datos, carpeta / "Kavori.mdb");
          return carpeta / "Kavori.mdb";
        }) {}
  // escribe writes a database into the folder and answers its path.
  explicit BaseEscrita(
      const std::function<std::filesystem::path(const std::filesystem::path&)>& escribe) {
    mdb_ = escribe(carpeta_.Ruta());
    jet::registerJetProvider();
    conexion_.setConnectionString(ArmaStrAccess(mdb_.string(), textos_datos::kPasswBDPrinc));
    conexion_.setMode(db::ConnectMode::ShareDenyNone);
    conexion_.setLoginPrompt(false);
    conexion_.setConnected(true);
  }
  ~BaseEscrita() { conexion_.setConnected(false); }
  db::Connection* Conexion() { return &conexion_; }
  const std::filesystem::path& Carpeta() const { return carpeta_.Ruta(); }
  // The database file.
  const std::filesystem::path& Ruta() const { return mdb_; }

 private:
  TCarpetaTemporal carpeta_{"kv-respuestas-"};
  std::filesystem::path mdb_;
  db::Connection conexion_;
};

// A PEP table with the given keys ticked, and one more row unticked, which changes nothing.
inline void Marca(TTablaPEPs& vt, const std::set<std::string>& claves) {
  vt.Open();
  vt.Clear();
  int n = 0;
  for (const auto& c : claves) {
    vt.Append();
    vt.SetField("IdPEP", db::Value(++n));
    vt.SetField("ClaveCliente", db::Value(c));
    vt.SetField("EsPEP", db::Value(-1));
    vt.Post();
  }
  vt.Append();
  vt.SetField("ClaveCliente", db::Value("E5"));
  vt.SetField("EsPEP", db::Value(0));
  vt.Post();
}

}  // namespace kv::prueba
