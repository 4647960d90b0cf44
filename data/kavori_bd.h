#pragma once
// Access to the Kavori company database: administrator login check, connected users
// and the company record, on top of the query service.
#include <memory>
#include <string>

#include "data/consultas_sql.h"

namespace kv {

class IColectorConxs;

// The company record; a field is empty when its column is null or the record
// cannot be read.
struct TEmpresa {
  std::string sRazonSocial;
  std::string sRFC;
  std::string sRegistroCNBV;
  std::string sNumEmpresa;
  std::string sNomComercial;
  bool operator==(const TEmpresa&) const = default;
};

class IKavoriBD {
 public:
  virtual ~IKavoriBD() = default;
  virtual bool GetConectado() const = 0;
  virtual TEmpresa GetEmpresa() = 0;
  virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                            bool bSoloAdmins) = 0;
  // True when users are connected to the back office or the count failed.
  virtual bool UsuariosConectados() = 0;
};

class TKavoriBD : public TConsultasSQL, public IKavoriBD {
 public:
  // Over a connection opened by someone else (borrowed), for one command: the database
  // is read as it is at construction (Connection::beginCommand).
  explicit TKavoriBD(db::Connection* Conector);
  // Registers and opens its own Access connection "Kavori" + sIDNomBD to sRutaKavori.
  TKavoriBD(const std::string& sRutaKavori, const std::string& sIDNomBD);
  explicit TKavoriBD(const std::string& sRutaKavori);
  ~TKavoriBD() override;

  bool GetConectado() const override { return F_bConectado; }
  TEmpresa GetEmpresa() override;
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                    bool bSoloAdmins) override;
  bool UsuariosConectados() override;

  std::string NombreClase() const override { return "TKavoriBD"; }

 protected:
  // The number (as decimal text) of the company whose record Empresa reads; empty: the
  // table's first row.
  virtual std::string DameNumEmpActiva() const { return {}; }

  bool F_bConectado = false;
  std::string F_sIDNomBD;

 private:
  struct ConexPropia {
    db::Connection* conector = nullptr;
    std::shared_ptr<IColectorConxs> colector;  // set when the registration is ours
  };
  static ConexPropia AbreConexPropia(const std::string& sRutaKavori, const std::string& sIDNomBD);
  TKavoriBD(const ConexPropia& conex, const std::string& sIDNomBD);

  // The registry where this object registered "Kavori" + F_sIDNomBD itself (and so
  // removes it); held so that the borrowed connection outlives the object.
  std::shared_ptr<IColectorConxs> F_ColectorPropio;
};

}  // namespace kv
