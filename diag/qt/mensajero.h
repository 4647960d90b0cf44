#pragma once
// The status messenger over the window's message label, with its two one-shot timers.
#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "diag/imensajero.h"
#include "diag/interfaced_padre.h"
#include "diag/qt/utilerias.h"

namespace kv {

inline constexpr int kMsIntervaloAlerta = 50;
inline constexpr int kMsIntervaloLimpieza = 3000;
inline constexpr int kMsPasoParpadeo = 300;
inline constexpr int kPasosParpadeo = 9;
inline constexpr int kMsPausaLarga = 1000;
inline constexpr int kMsPausaCorta = 400;

QColor ColorAlerta();  // red
QColor ColorGris();    // grey

// The font colour of a label is its palette's WindowText colour.
QColor DameColorFuente(const QLabel* txLabel);
void PonColorFuente(QLabel* txLabel, const QColor& cColor);

class TMensajero : public TInterfacedPadre, public IMensajero {
 public:
  explicit TMensajero(std::shared_ptr<IUtilerias> aUtilerias);
  ~TMensajero() override;
  TMensajero(const TMensajero&) = delete;
  TMensajero& operator=(const TMensajero&) = delete;

  void MsjEnTx(const std::string& sTexto) override;
  void MsjTxTemp(const std::string& sTexto) override;
  void MsjTxEspera(const std::string& sTexto, bool bTLargo) override;
  void CampoObligatorio(QLabel* txLabel, QWidget* edEdit) override;
  void SetTxLabel(QLabel* txLabel) override;
  void SetDefColorAlerta(bool bValor) override;
  bool GetDefColorAlerta() const override { return F_bDefCAlerta; }

 private:
  void ColoreaEstado();
  void Parpadea();  // alert-timer tick
  void Limpia();    // clearing-timer tick

  // Labels belong to the window; QPointer turns a destroyed one into "no label".
  QPointer<QLabel> F_txLabel;
  QPointer<QLabel> F_txAdv;
  QPointer<QLabel> F_txAdvAnt;
  QColor F_cColorAnt;
  std::unique_ptr<QTimer> F_Cronometro;
  std::unique_ptr<QTimer> F_CronAdvert;
  bool F_bDefCAlerta = true;
  std::shared_ptr<IUtilerias> F_Utilerias;
};

}  // namespace kv
