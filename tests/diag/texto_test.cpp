#include <gtest/gtest.h>

#include <string>

#include "diag/qt/utilerias.h"
#include "diag/texto.h"

namespace kv {
namespace {

TEST(ReemplazaTexto, IgnoresCaseIncludingAccentedLetters) {
  struct Caso {
    const char* texto;
    const char* anterior;
    const char* nuevo;
    const char* esperado;
  };
  const Caso casos[] = {
      {"CuestionarioOperatividad2020.docx", ".docx", ".pdf", "CuestionarioOperatividad2020.pdf"},
      {"CUESTIONARIO.DOCX", ".docx", ".pdf", "CUESTIONARIO.pdf"},
      {"Casa de Cambio _NombreCC_ y _nombrecc_", "_NombreCC_", "Divisas Ñandú",
       "Casa de Cambio Divisas Ñandú y Divisas Ñandú"},
      {"ÁRBOL árbol Árbol", "árbol", "x", "x x x"},
      {"AÑO año", "AÑO", "periodo", "periodo periodo"},
      {"sin cambios", "zzz", "x", "sin cambios"},
      {"texto", "", "x", "texto"},
      {"", "a", "x", ""},
      {"aAa", "a", "aa", "aaaaaa"},
      {"abcabc", "ABC", "", ""},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ReemplazaTexto(c.texto, c.anterior, c.nuevo), c.esperado) << c.texto;
}

TEST(StringToPAnsiChar, ConvertsToWindows1252) {
  struct Caso {
    std::string texto;
    std::string ansi;
  };
  const Caso casos[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"Técnico",
       "T\xE9"
       "cnico"},
      {"ÑÁÉÍÓÚÜñáéíóúü¿¡", "\xD1\xC1\xC9\xCD\xD3\xDA\xDC\xF1\xE1\xE9\xED\xF3\xFA\xFC\xBF\xA1"},
      {"€ œ Ÿ “”", "\x80 \x9C \x9F \x93\x94"},
      {"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
      {"\u00A0ÿ", "\xA0\xFF"},
  };
  TUtilerias utilerias;
  for (const auto& c : casos) {
    const char* p = utilerias.StringToPAnsiChar(c.texto);
    EXPECT_EQ(std::string(p), c.ansi) << c.texto;
    EXPECT_EQ(p[c.ansi.size()], '\0');
  }
}

TEST(StringToPAnsiChar, RefusesToLoseCharacters) {
  const std::string casos[] = {
      "Ω",                     // Greek
      "中文",                  // CJK
      "😀",                     // outside the basic plane
      "\u0080",                // a C1 control the code page has no byte for
      "ok\xE9",                // not UTF-8
      std::string("a\0b", 3),  // a NUL would cut the zero-terminated text
  };
  TUtilerias utilerias;
  const std::string anterior = utilerias.StringToPAnsiChar("previo");
  for (const auto& c : casos) {
    try {
      utilerias.StringToPAnsiChar(c);
      ADD_FAILURE() << "sin excepción: " << c;
    } catch (const EConversionAnsi& e) {
      EXPECT_STREQ(e.what(), "Falló la conversión String a PAnsiChar");
    }
  }
  EXPECT_EQ(anterior, "previo");
}

TEST(Cp1252, EveryByteRoundTrips) {
  std::string todos;
  for (int b = 1; b < 256; ++b) todos.push_back(static_cast<char>(b));
  EXPECT_EQ(ACp1252(DeCp1252(todos)), todos);
}

}  // namespace
}  // namespace kv
