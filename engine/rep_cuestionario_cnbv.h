#pragma once
// The questionnaire report in the abstract: the reported period, the company number,
// the number of questions and the PEP table; it turns each question's text into the
// answer written in the document and detects the possible PEP clients. The concrete
// questionnaire says, per question number, how the answer is obtained.
#include <map>
#include <memory>
#include <string>

#include "data/kavori_bd.h"
#include "diag/imensajero.h"
#include "engine/respuestas_cc.h"
#include "engine/tabla_peps.h"

namespace kv {

// What the window's commands use of a questionnaire object.
class IRepCuestionarioCNBV {
 public:
  virtual ~IRepCuestionarioCNBV() = default;
  // Lists the possible PEP clients of the period into vtPEPS (all ticks cleared);
  // false when the query failed (shown as "BD-101"), leaving the table open and empty.
  virtual bool DetectaPEPs(TTablaPEPs& vtPEPS) = 0;
  // Produces the filled questionnaire PDF in the program folder with the ticks of vtPEPS;
  // false when a step failed (the working files are removed on every path).
  virtual bool GeneraReporte(TTablaPEPs& vtPEPS) = 0;
  virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                            bool bSoloAdmins) = 0;
  virtual bool UsuariosConectados() = 0;
  // Writes at sRuta the evidence workbook of the answers just reported; false when this
  // questionnaire keeps no evidence. Throws EEvidencia when it could not be written.
  virtual bool GeneraEvidencia(const std::string& sRuta) {
    (void)sRuta;
    return false;
  }
  // After GeneraReporte answered false: what went wrong, for the user and support (empty
  // when a dialog has already said it or nothing is known).
  virtual std::string DameCausaFalla() const { return {}; }
};

class TRepCuestionarioCNBV : public TKavoriBD, public IRepCuestionarioCNBV {
 public:
  // Conector is the open company connection, borrowed.
  TRepCuestionarioCNBV(db::Connection* Conector, int nTotalPreg, int nNumEmp,
                       const std::string& sFIni, const std::string& sFFin);

  // For a question number: a Jet SELECT whose column Resultado holds the answer, or
  // "(** El CC debe responder **)", or "** E R R O R **" for a number not in the survey.
  virtual std::string DameConsultaPregunta(int nPregunta) = 0;

  bool DetectaPEPs(TTablaPEPs& vtPEPS) override;
  bool GeneraReporte(TTablaPEPs& vtPEPS) override;
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                    bool bSoloAdmins) override {
    return TKavoriBD::ValidaAcceso(sUsuario, sPassw, bSoloAdmins);
  }
  bool UsuariosConectados() override { return TKavoriBD::UsuariosConectados(); }
  std::string DameCausaFalla() const override { return F_sCausaFalla; }

  // The text written at question nPregunta's bookmark ("Respuesta: " and the first
  // Resultado, the fixed text, or "** E R R O R **"); false when the question failed.
  bool RespondePregunta(int nPregunta, std::string& sRespuesta);

  // Answers ahead every question the database answers: after the statement every half
  // reads (DameConsultaComun), half of them in a copy of this process, on the other
  // core, and the rest here (KV_COPIA_PARALELA=0: all of them here); each half tells the
  // session the statements it is about to run (db::Session::foresee). RespondePregunta
  // then gives each of those answers once, without running its statement again; a
  // question whose statement failed here is run again there, in its turn, and reports
  // as before. A copy that fails leaves its questions to RespondePregunta.
  void PreparaRespuestas();
  // Seconds the statement of each prepared question took, wherever it ran; 0 is the
  // statement both halves read.
  const std::map<int, double>& SegundosPreparacion() const { return F_SegundosPreparacion; }
  // Seconds of the two halves of the last preparation, after the common statement: this
  // process's own (starting the copy, foresight and its statements), its wait for the copy
  // at the end, and the copy's statements summed. All zero when no copy was made or it did
  // not end well.
  struct TMitades {
    double dAqui = 0, dEspera = 0, dCopia = 0;
  };
  const TMitades& SegundosMitades() const { return F_Mitades; }

  // Removes what report runs that died left behind (working files, converter profiles).
  static void LimpiaCorridasMuertas();

  int TotalPreguntas() const { return F_nTotalPreguntas; }
  // The PEP table whose ticks the answers read; not owned, may be null (nobody ticked).
  void EstableceTablaPEPs(TTablaPEPs* vtPEPS) { F_vtPEPS = vtPEPS; }
  // The exchange house's own answers, written in place of "(** El CC debe responder **)";
  // without them (or for a question still unanswered) that text stays.
  void EstableceRespuestasCC(std::shared_ptr<const TRespuestasCC> respuestas) {
    F_RespuestasCC = std::move(respuestas);
  }
  // The window's status messenger, shown the report's progress; one more reference.
  void EstableceMensajero(std::shared_ptr<IMensajero> Mensajero) {
    F_Mensajero = std::move(Mensajero);
  }

  std::string NombreClase() const override { return "TRepCuestionarioCNBV"; }

 protected:
  std::string F_sFIni;
  std::string F_sFFin;
  std::string F_sNumEmp;
  TTablaPEPs* F_vtPEPS = nullptr;

  // The text of each question's last RespondePregunta, by number (a list the house answered,
  // by the names of its chosen options).
  std::map<int, std::string> F_UltimasRespuestas;

  // The report is headed with the record of its own company.
  std::string DameNumEmpActiva() const override { return F_sNumEmp; }

  // The day after a mm/dd/yyyy date, in the same form: the period ends before it, so that
  // the whole of its last day counts whatever the time of day. A text that is no such
  // date comes back unchanged.
  static std::string DameDiaSiguiente(const std::string& sFecha);

  // Runs an answer text (or takes a fixed one) and makes the text of the bookmark.
  bool DameRespuestaPregunta(const std::string& sConsulta, std::string& sRespuesta);

  // The statement whose derived tables the questions of both halves read; empty for none.
  virtual std::string DameConsultaComun() { return {}; }
  // Whether a question is answered in the copy when the answers are prepared; none
  // unless a questionnaire says which.
  virtual bool RespondeLaCopia(int nPregunta) const {
    (void)nPregunta;
    return false;
  }

 private:
  std::shared_ptr<IMensajero> F_Mensajero;
  std::shared_ptr<const TRespuestasCC> F_RespuestasCC;
  int F_nTotalPreguntas;
  std::string F_sCausaFalla;
  // Answers prepared ahead: question → its statement's text and its answer.
  std::map<int, std::pair<std::string, std::string>> F_Preparadas;
  std::map<int, double> F_SegundosPreparacion;
  TMitades F_Mitades;
};

}  // namespace kv
