#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest/QTest>

#include "diag/qt/tecla_decimal.h"
#include "tests/support/aplicacion_qt.h"

namespace kv {
namespace {

TEST(FiltraTeclaDecimal, AcceptsDigitsControlKeysAndAValidFullStop) {
  struct Caso {
    const char* texto;
    char32_t tecla;
    bool acepta;
  };
  const Caso casos[] = {
      {"19", U'.', true},   {"19.2", U'.', false},  {"", U'.', false},    {"0", U'.', false},
      {"0.0", U'.', false}, {"00", U'.', false},    {"0.5", U'.', false}, {"7", U'.', true},
      {" 19", U'.', true},  {"19.", U'.', false},   {".", U'.', false},   {"abc", U'.', false},
      {"", U'5', true},     {"19.26", U'0', true},  {"abc", U'9', true},  {"", 8, true},
      {"19", 13, true},     {"19", U'a', false},    {"19", U'-', false},  {"19", U',', false},
      {"19", U' ', false},  {"19", U'e', false},    {"19", 9, false},     {"19", 0x2024, false},
      {"19", U'٣', false},  {"19", 0x1D7D7, false},
  };
  for (const auto& c : casos)
    EXPECT_EQ(AceptaTeclaDecimal(c.texto, c.tecla), c.acepta)
        << "'" << c.texto << "' + " << static_cast<unsigned>(c.tecla);
}

TEST(FiltraTeclaDecimal, RejectedKeyBecomesNull) {
  AseguraAplicacionQt();
  QLineEdit edit;
  edit.setText("19.2");
  QChar punto('.'), digito('3');
  FiltraTeclaDecimal(&edit, punto);
  FiltraTeclaDecimal(&edit, digito);
  EXPECT_TRUE(punto.isNull());
  EXPECT_EQ(digito, QChar('3'));
}

TEST(FiltroTeclaDecimal, TypingIntoALineEdit) {
  AseguraAplicacionQt();
  QLineEdit edit;
  TFiltroTeclaDecimal filtro;
  edit.installEventFilter(&filtro);
  struct Caso {
    const char* tecleado;
    const char* queda;
  };
  const Caso casos[] = {
      {"19.26", "19.26"}, {"19.2.6", "19.26"}, {".5", "5"},    {"0.5", "05"},
      {"a1b-9,", "19"},   {"1 9e3", "193"},    {"20.", "20."}, {"", ""},
  };
  for (const auto& c : casos) {
    edit.clear();
    QTest::keyClicks(&edit, c.tecleado);
    EXPECT_EQ(edit.text().toStdString(), c.queda) << c.tecleado;
  }
  edit.setText("19.26");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text().toStdString(), "19.");
}

// Only typed characters are filtered; the keys an X server sends with control characters
// (Tab, Delete, Backspace, Escape, Ctrl+A, Ctrl+C, Ctrl+V) reach the entry.
TEST(FiltroTeclaDecimal, LetsEditingKeysAndShortcutsThrough) {
  AseguraAplicacionQt();
  QLineEdit edit;
  TFiltroTeclaDecimal filtro;
  struct Caso {
    Qt::Key tecla;
    Qt::KeyboardModifiers mod;
    const char* texto;
    bool bTragada;
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Caso casos[] = {
      {Qt::Key_Return, Qt::NoModifier, "\r", false},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", false},
      {Qt::Key_Tab, Qt::NoModifier, "\t", false},
      {Qt::Key_Backtab, Qt::ShiftModifier, "", false},
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", false},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", false},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", false},
      {Qt::Key_A, ctrl, "\x01", false},
      {Qt::Key_A, ctrl, "a", false},
      {Qt::Key_C, ctrl, "\x03", false},
      {Qt::Key_V, ctrl, "\x16", false},
      {Qt::Key_A, Qt::NoModifier, "a", true},
      {Qt::Key_Comma, Qt::NoModifier, ",", true},
      {Qt::Key_Space, Qt::NoModifier, " ", true},
      {Qt::Key_5, Qt::NoModifier, "5", false},
  };
  for (const auto& c : casos) {
    QKeyEvent evento(QEvent::KeyPress, c.tecla, c.mod, QString::fromLatin1(c.texto));
    EXPECT_EQ(filtro.eventFilter(&edit, &evento), c.bTragada)
        << "key " << c.tecla << " text " << static_cast<int>(c.texto[0]);
  }
}

}  // namespace
}  // namespace kv
