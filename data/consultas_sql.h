#pragma once
// The query service: the one place where SQL text reaches the database. It works on a
// borrowed connection, owns one general-purpose query bound to it, and turns every
// failure into one "BD-101" message box and a false result.
#include <functional>
#include <memory>
#include <string>

#include "data/db/connection.h"
#include "data/db/query.h"

namespace kv {

class ILogErrores;

class IConsultasSQL {
 public:
  virtual ~IConsultasSQL() = default;
  // Opens a row-returning statement on qQuery and leaves it open for the caller.
  virtual bool PideConsulta(const std::string& sConsulta, db::Query& qQuery) = 0;
  // Executes a statement that returns no rows on qQuery.
  virtual bool EjecutaConsulta(const std::string& sConsulta, db::Query& qQuery) = 0;
  virtual void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) = 0;
  virtual void InicializaTabla(const std::string& sNomTabla) = 0;
  // Copies a database file; true when the copy was made (a failure is reported).
  virtual bool RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) = 0;
};

class TConsultasSQL : public IConsultasSQL {
 public:
  // Conector is borrowed (may be null): never opened, closed or freed here.
  explicit TConsultasSQL(db::Connection* Conector);
  ~TConsultasSQL() override;
  TConsultasSQL(const TConsultasSQL&) = delete;
  TConsultasSQL& operator=(const TConsultasSQL&) = delete;

  bool PideConsulta(const std::string& sConsulta, db::Query& qQuery) override;
  bool EjecutaConsulta(const std::string& sConsulta, db::Query& qQuery) override;
  void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) override;
  void InicializaTabla(const std::string& sNomTabla) override;
  bool RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) override;

  // The class name that failure reports show; every class of the chain overrides it
  // so that an object reports its own most derived name.
  virtual std::string NombreClase() const { return "TConsultasSQL"; }

 protected:
  // Runs accion; a failure is shown once as "BD-101" for this object (its most derived
  // class name) and gives false.
  bool Atrapa(const std::function<void()>& accion);

  db::Connection* F_Conector;
  db::Query F_qConsultaGen;
  std::shared_ptr<ILogErrores> F_Errores;
};

}  // namespace kv
