#include "diag/qt/tecla_decimal.h"

#include <QChar>
#include <QKeyEvent>
#include <QLineEdit>
#include <charconv>
#include <cmath>

namespace kv {
namespace {

// The text as a number, 0 when it is not one (blanks around it are allowed).
double NumeroOCero(std::string s) {
  const auto blanco = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blanco(s.back())) s.pop_back();
  size_t i = 0;
  while (i < s.size() && blanco(s[i])) ++i;
  if (i < s.size() && s[i] == '+') ++i;
  double d = 0;
  const char* fin = s.data() + s.size();
  const auto [p, ec] = std::from_chars(s.data() + i, fin, d);
  if (ec != std::errc() || p != fin || !std::isfinite(d)) return 0;
  return d;
}

}  // namespace

bool AceptaTeclaDecimal(const std::string& sTexto, char32_t cTecla) {
  if (cTecla == U'.') return NumeroOCero(sTexto + '.') != 0;
  return cTecla == 8 || cTecla == 13 || (cTecla >= U'0' && cTecla <= U'9');
}

void FiltraTeclaDecimal(const QLineEdit* Control, QChar& Key) {
  const std::string sTexto = Control != nullptr ? Control->text().toStdString() : std::string();
  if (!AceptaTeclaDecimal(sTexto, Key.unicode())) Key = QChar(u'\0');
}

bool EsTextoTecleado(const QKeyEvent& tecla) {
  if (tecla.text().isEmpty() ||
      (tecla.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != Qt::NoModifier)
    return false;
  for (QChar c : tecla.text())
    if (!c.isPrint()) return false;
  return true;
}

bool TFiltroTeclaDecimal::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() != QEvent::KeyPress) return QObject::eventFilter(objeto, evento);
  const auto* tecla = static_cast<QKeyEvent*>(evento);
  if (!EsTextoTecleado(*tecla)) return false;
  const auto* edit = qobject_cast<QLineEdit*>(objeto);
  for (QChar c : tecla->text()) {
    FiltraTeclaDecimal(edit, c);
    if (c.isNull()) return true;
  }
  return false;
}

}  // namespace kv
