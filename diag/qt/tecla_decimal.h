#pragma once
// Key filter of a numeric entry (the exchange rate): digits, backspace and Enter always
// pass; a full stop only where the text with it appended still reads as a non-zero number.
#include <QObject>
#include <string>

class QLineEdit;
class QChar;
class QKeyEvent;

namespace kv {

// Whether the character cTecla may be typed into an entry holding sTexto. The number is read
// with "." as decimal separator whatever the locale, as the entry only ever holds ".".
bool AceptaTeclaDecimal(const std::string& sTexto, char32_t cTecla);

// The same on a line edit; a rejected Key becomes the null character.
void FiltraTeclaDecimal(const QLineEdit* Control, QChar& Key);

// Whether a key press types characters (printable ones, without Ctrl or Meta), as opposed
// to Enter, Tab, the editing keys (Delete, Backspace, arrows) and the shortcuts (Ctrl+A,
// Ctrl+C, Ctrl+V), which an X server sends with control characters as their text.
bool EsTextoTecleado(const QKeyEvent& tecla);

// Event filter for a QLineEdit: swallows the typed key presses whose characters the filter
// rejects. Enter, Tab, the editing keys and the shortcuts pass (a paste is the entry's
// validator's business).
class TFiltroTeclaDecimal : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* objeto, QEvent* evento) override;
};

}  // namespace kv
