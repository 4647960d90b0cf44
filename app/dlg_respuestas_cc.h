#pragma once
// The dialog where the exchange house answers the questions the database cannot: the 39
// questions in order, grouped by section, each with its text, its guidance note and the entry
// its kind asks for; dependent questions enabled only when they apply; Spanish messages at the
// field; Guardar writes RespuestasCC.ini, Cancelar asks before dropping changes.
#include <QDialog>
#include <filesystem>
#include <map>
#include <vector>

#include "engine/respuestas_cc.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;

namespace kv {

class TdlgRespuestasCC : public QDialog {
 public:
  // lectura: what the file held; ruta: where Guardar writes.
  TdlgRespuestasCC(const TLecturaRespuestasCC& lectura, std::filesystem::path ruta,
                   QWidget* padre = nullptr);

  // The answers as the entries hold them now.
  TRespuestasCC Recoge() const;
  // What Guardar does: checks every answer, writes the file (asking before replacing a
  // damaged one, offering the user's folder when the program's cannot be written) and
  // closes the dialog; false when nothing was written.
  bool Guarda();
  // Cancelar, Escape, closing: asks before dropping unsaved changes.
  void reject() override;
  const std::filesystem::path& Ruta() const { return F_Ruta; }

  // The entries of question n (null when the question has none of that kind).
  struct TEntrada {
    TTipoRespuestaCC tipo{};
    QWidget* marco = nullptr;
    QLineEdit* linea = nullptr;
    QPlainTextEdit* texto = nullptr;
    QComboBox* opcion = nullptr;
    std::vector<QCheckBox*> casillas;
    QLineEdit* especifique = nullptr;
    QLabel* mensaje = nullptr;
  };
  const TEntrada& Entrada(int nPregunta) const { return F_Entradas.at(nPregunta); }
  QLabel* txFaltan = nullptr;
  QScrollArea* scPreguntas = nullptr;

 private:
  void CreaControles();
  QWidget* CreaPregunta(const TPreguntaCC& p, QWidget* padre);
  TRespuestaCC RespuestaDe(int nPregunta) const;
  // Messages at the fields, dependent questions, the counter.
  void Actualiza();

  std::map<int, TEntrada> F_Entradas;
  TRespuestasCC F_Guardadas;
  bool F_bArchivoConErrores = false;
  std::filesystem::path F_Ruta;
};

// Opens the dialog over the file in use, telling first what a damaged file lost; true when
// the answers were saved.
bool MuestraRespuestasCC(QWidget* padre);

}  // namespace kv
