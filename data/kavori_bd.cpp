#include "data/kavori_bd.h"

#include "data/colector_conxs.h"
#include "data/texto_bd.h"
#include "data/textos.h"

namespace kv {

namespace {

const char* const kPrefijoNombre = "Kavori";

// A text as an SQL literal: between apostrophes, each apostrophe inside doubled.
std::string LiteralSQL(const std::string& s) {
  return Entrecomillado(s, '\'');
}

}  // namespace

TKavoriBD::TKavoriBD(db::Connection* Conector)
    : TConsultasSQL(Conector), F_bConectado(Conector != nullptr && Conector->connected()) {
  // The object serves one command: its statements see the database as it is now. A
  // failure here makes each statement fail with its cause, reported there.
  if (F_bConectado) {
    try {
      Conector->beginCommand();
    } catch (const std::exception&) {
    }
  }
}

TKavoriBD::TKavoriBD(const std::string& sRutaKavori, const std::string& sIDNomBD)
    : TKavoriBD(AbreConexPropia(sRutaKavori, sIDNomBD), sIDNomBD) {}

TKavoriBD::TKavoriBD(const std::string& sRutaKavori) : TKavoriBD(sRutaKavori, std::string()) {}

TKavoriBD::TKavoriBD(const ConexPropia& conex, const std::string& sIDNomBD)
    : TConsultasSQL(conex.conector),
      F_bConectado(conex.conector != nullptr),
      F_sIDNomBD(sIDNomBD),
      F_ColectorPropio(conex.colector) {}

TKavoriBD::ConexPropia TKavoriBD::AbreConexPropia(const std::string& sRutaKavori,
                                                  const std::string& sIDNomBD) {
  ConexPropia conex;
  std::shared_ptr<IColectorConxs> colector = ColectorConexiones;
  if (!colector) return conex;
  const std::string sNombre = kPrefijoNombre + sIDNomBD;
  if (!colector->NuevaConexion(sNombre, "", textos_datos::kPasswBDPrinc, "", sRutaKavori, "", "",
                               TTipoMotorBD::tmAccess, true))
    return conex;
  conex.colector = colector;
  db::Connection* conector = nullptr;
  if (colector->Conectado(sNombre) && colector->DameAccessConex(sNombre, conector))
    conex.conector = conector;
  return conex;
}

TKavoriBD::~TKavoriBD() {
  // Only the registration this object made goes; a borrowed connection, or one that
  // somebody else registered under the same name, stays theirs.
  if (F_ColectorPropio) F_ColectorPropio->EliminaConex(kPrefijoNombre + F_sIDNomBD);
}

bool TKavoriBD::ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                             bool bSoloAdmins) {
  std::string sConsulta =
      "SELECT ClaveEmp, Password FROM tEmps WHERE UCASE(ClaveEmp) = " + LiteralSQL(sUsuario) + " ";
  if (bSoloAdmins) sConsulta += "and Nivel = 0";
  if (!PideConsulta(sConsulta, F_qConsultaGen)) return false;
  bool bAcceso = false;
  Atrapa([&] {
    if (F_qConsultaGen.isEmpty()) return;
    F_qConsultaGen.first();
    db::Value vPassw = F_qConsultaGen.fieldByName("Password");
    // An account without password is admitted whatever is typed.
    bAcceso = vPassw.isNull() || vPassw.toString() == sPassw;
  });
  F_qConsultaGen.close();
  return bAcceso;
}

bool TKavoriBD::UsuariosConectados() {
  // Who is connected now counts, not who was when the command started.
  if (F_Conector) F_Conector->readCurrent("tCompUsr");
  if (!PideConsulta("SELECT COUNT(1) as TotalConectados FROM tCompUsr ", F_qConsultaGen))
    return true;
  bool bConectados = true;
  Atrapa([&] {
    if (F_qConsultaGen.isEmpty()) return;
    F_qConsultaGen.first();
    bConectados = F_qConsultaGen.fieldByName("TotalConectados").toInt() != 0;
  });
  F_qConsultaGen.close();
  return bConectados;
}

TEmpresa TKavoriBD::GetEmpresa() {
  TEmpresa Empresa;
  if (!PideConsulta("SELECT * FROM tEmpresa", F_qConsultaGen)) return Empresa;
  const std::string sActiva = DameNumEmpActiva();
  bool bLeido = Atrapa([&] {
    if (F_qConsultaGen.isEmpty()) return;
    // The active company's row; the first row when none is (or no company is known).
    F_qConsultaGen.first();
    for (; !sActiva.empty() && !F_qConsultaGen.eof(); F_qConsultaGen.next()) {
      const db::Value v = F_qConsultaGen.fieldByName("NumEmp");
      if (!v.isNull() && v.toString() == sActiva) break;
    }
    if (F_qConsultaGen.eof()) F_qConsultaGen.first();
    const std::pair<const char*, std::string*> campos[] = {
        {"Empresa", &Empresa.sRazonSocial},
        {"RFC", &Empresa.sRFC},
        {"RegistroCC", &Empresa.sRegistroCNBV},
        {"NumEmp", &Empresa.sNumEmpresa},
        {"NomComercial", &Empresa.sNomComercial}};
    for (const auto& [columna, campo] : campos) {
      db::Value v = F_qConsultaGen.fieldByName(columna);
      if (!v.isNull()) *campo = v.toString();
    }
  });
  F_qConsultaGen.close();
  // A record read halfway is no record.
  return bLeido ? Empresa : TEmpresa{};
}

}  // namespace kv
