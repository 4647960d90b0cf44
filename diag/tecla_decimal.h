#pragma once
// Key filter of a numeric entry (the exchange rate): digits, backspace and Enter always
// pass; a full stop only where the text with it appended still reads as a non-zero number.
#include <QObject>
#include <string>

class QLineEdit;
class QChar;

namespace kv {

// Whether the character cTecla may be typed into an entry holding sTexto. The number is read
// with "." as decimal separator whatever the locale, as the entry only ever holds ".".
bool AceptaTeclaDecimal(const std::string& sTexto, char32_t cTecla);

// The same on a line edit; a rejected Key becomes the null character.
void FiltraTeclaDecimal(const QLineEdit* Control, QChar& Key);

// Event filter for a QLineEdit: swallows the key presses whose characters the filter rejects.
// Keys without a character (arrows, Delete, Home) and Tab, which moves the focus, pass.
class TFiltroTeclaDecimal : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* objeto, QEvent* evento) override;
};

}  // namespace kv
