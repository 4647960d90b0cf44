#pragma once
// The main window: the four steps of the questionnaire (rate, administrator login,
// detection of possible PEPs, ticking the real ones) and the report command.
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "data/db/connection.h"
#include "engine/rep_cuestionario_cnbv.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace kv {

class IMensajero;
class IUtilerias;
class TTablaPEPs;
class TModeloPEPs;
class TdmMain;

// Builds the questionnaire object of one run over the borrowed connection.
using TFabricaCuestionario = std::function<std::unique_ptr<IRepCuestionarioCNBV>(
    db::Connection* Conector, std::shared_ptr<IMensajero> Mensajero, double dTCambio, int nNumEmp)>;

// A rounded rectangle with a silver outline and no fill, behind the controls of a step.
class TShape : public QWidget {
 public:
  explicit TShape(QWidget* padre);

 protected:
  void paintEvent(QPaintEvent* evento) override;
};

class TfrmPrincipal : public QWidget {
 public:
  // The window's own message that shows the instructions once the window is on screen.
  static constexpr int kWM_USER = 0x0400;
  static constexpr QEvent::Type kMsjIndicaciones = static_cast<QEvent::Type>(kWM_USER + 150);
  // Longest the window goes without serving its events while the database works.
  static constexpr std::chrono::milliseconds kMsLatido{50};

  // dmMain holds the PEP table; fabrica builds the questionnaire of each run.
  TfrmPrincipal(TdmMain& dmMain, TFabricaCuestionario fabrica, QWidget* padre = nullptr);
  ~TfrmPrincipal() override;

  // Controls, named as the window's design names them.
  QLabel* Label1 = nullptr;
  QLabel* txCambio = nullptr;
  QPushButton* bnGenReporte = nullptr;
  QLineEdit* edCambio = nullptr;
  QLabel* txMensajes = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* txPassw = nullptr;
  QLineEdit* edPassw = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* txUsuario = nullptr;
  QLineEdit* edUsuario = nullptr;
  QLabel* txPruebas = nullptr;
  TShape* Shape1 = nullptr;
  QLabel* Label4 = nullptr;
  TShape* Shape2 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label9 = nullptr;
  TShape* Shape3 = nullptr;
  QLabel* Label8 = nullptr;
  QPushButton* bnDetectaPEPs = nullptr;
  TShape* Shape4 = nullptr;
  QLabel* txPaso4 = nullptr;
  QLabel* Label7 = nullptr;
  QWidget* pnIgnorar = nullptr;
  QLabel* Label11 = nullptr;
  QTableView* grdPEPs = nullptr;

  std::shared_ptr<IMensajero> Mensajero() const { return _MensajeroForm; }
  TModeloPEPs* dsPEPs() const { return F_dsPEPs; }

  // Services the commands use.
  bool DameNumEmpresa(int& nNumEmp);
  bool ConectaBD(db::Connection*& Conector);

  // The command handlers.
  void bnDetectaPEPsClick();
  void bnGenReporteClick();
  bool FaltanDatos();
  // A rate outside kTipoCambioMinimo..kTipoCambioMaximo pesos per dollar is used only when
  // the user confirms it; false when not (the rate entry is flagged).
  bool ConfirmaTipoCambio();
  static constexpr double kTipoCambioMinimo = 5;
  static constexpr double kTipoCambioMaximo = 100;
  void MuestraAvisoSinPEPs(bool bMostrar);

 protected:
  bool event(QEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void CreaControles();
  void FormCreate();
  void FormShow();
  void MuestraIndicaciones();
  void InicializaPantalla();
  // Enter (13) moves the focus on (Shift: back) and becomes the null character.
  void AvanzaConEnter(QWidget* Sender, QChar& Key);
  bool edCambioKeyPress(QChar& Key);
  bool edPasswKeyPress(QWidget* Sender, QChar& Key);

  void grdPEPsCellClick(const QModelIndex& indice);
  bool grdPEPsKeyPress(QKeyEvent* tecla);
  void HabilitaRejilla();

  // Steps shared by both works: database, company, questionnaire object, connected users
  // and login. Nothing when a step refused (its message already shown).
  std::unique_ptr<IRepCuestionarioCNBV> AbreCuestionario(bool bDeteccion);
  void ProcesaDeteccion();
  void ProcesaReporte();
  // Runs a work under the busy wrapper with both command buttons disabled meanwhile.
  void EjecutaComando(QPushButton* bnBoton, const std::function<void()>& trabajo);
  // The rate entry as a number, read with "." as separator; 0 when it is not a number.
  double DameTipoCambio() const;

  TdmMain& F_dmMain;
  TFabricaCuestionario F_Fabrica;
  TModeloPEPs* F_dsPEPs = nullptr;
  std::shared_ptr<IUtilerias> F_Utilerias;
  std::shared_ptr<IMensajero> _MensajeroForm;
  bool F_bShift = false;  // Shift held with the key being handled
  bool F_bEnProceso = false;
  bool F_bCierrePendiente = false;  // the window was closed while a command ran
  bool F_bReporteHabilitado = false;
};

}  // namespace kv
