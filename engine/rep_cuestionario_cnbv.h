#pragma once
// The questionnaire report in the abstract: the reported period, the company number,
// the number of questions and the PEP table; it turns each question's text into the
// answer written in the document and detects the possible PEP clients. The concrete
// questionnaire says, per question number, how the answer is obtained.
#include <string>

#include "data/db/connection.h"
#include "engine/tabla_peps.h"

namespace kv {

class TRepCuestionarioCNBV {
 public:
  TRepCuestionarioCNBV(db::Connection* Conector, int nTotalPreg, int nNumEmp,
                       const std::string& sFIni, const std::string& sFFin);
  virtual ~TRepCuestionarioCNBV() = default;
  TRepCuestionarioCNBV(const TRepCuestionarioCNBV&) = delete;
  TRepCuestionarioCNBV& operator=(const TRepCuestionarioCNBV&) = delete;

  // For a question number: a Jet SELECT whose column Resultado holds the answer, or
  // "(** El CC debe responder **)", or "** E R R O R **" for a number not in the survey.
  virtual std::string DameConsultaPregunta(int nPregunta) = 0;

  int TotalPreguntas() const { return F_nTotalPreguntas; }
  // The PEP table whose ticks the answers read; not owned, may be null (nobody ticked).
  void EstableceTablaPEPs(TTablaPEPs* vtPEPS) { F_vtPEPS = vtPEPS; }

 protected:
  std::string F_sFIni;
  std::string F_sFFin;
  std::string F_sNumEmp;
  TTablaPEPs* F_vtPEPS = nullptr;

 private:
  int F_nTotalPreguntas;
};

}  // namespace kv
