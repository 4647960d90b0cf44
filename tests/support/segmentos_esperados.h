#pragma once
// The questionnaire's segment filters as the tests expect them, written out as literals:
// the WHERE of each segment code (0, the whole population, has none) and the nationality
// options that follow it.
#include <string>

namespace kv {

inline constexpr const char* kCondicionSegmento[] = {
    "",
    "WHERE EsPubGen <> 0 ",
    "WHERE EsPF <> 0 AND EsPubGen = 0 ",
    "WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB = 0 ",
    "WHERE EsCC <> 0 ",
    "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) ",
    "WHERE EsCB <> 0 ",
    "WHERE EsB <> 0 ",
    "WHERE EsPEP <> 0 ",
    "WHERE (EsCC <> 0 OR EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) ",
    "WHERE EsPubGen = 0 ",
};
// Nationality option 0 and 3: everyone; 1: Mexicans only; 2: foreigners only.
inline constexpr const char* kCondicionNacionalidad[] = {"", "AND EsExtrj = 0 ",
                                                         "AND EsExtrj <> 0 ", ""};

// The segment query over c as the builders write it.
inline std::string ConsultaSegmentoEsperada(const std::string& c, unsigned seg, int ext,
                                            bool bSinPEP) {
  if (seg == 0) return c;
  return "SELECT * FROM (" + c + ") " + kCondicionSegmento[seg] + kCondicionNacionalidad[ext] +
         (bSinPEP ? "AND EsPEP = 0 " : "");
}

}  // namespace kv
