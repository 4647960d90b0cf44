#include "diag/texto.h"

#include <QString>
#include <array>

#include "diag/textos.h"

namespace kv {
namespace {

// Unicode of the bytes 0x80 to 0x9F; the five unassigned bytes stand for the C1 controls
// of the same number, as Windows converts them.
constexpr std::array<char16_t, 32> kAlto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t UnicodeDe(unsigned char c) {
  return (c >= 0x80 && c <= 0x9F) ? kAlto[c - 0x80] : static_cast<char16_t>(c);
}

}  // namespace

EConversionAnsi::EConversionAnsi() : std::runtime_error(textos::kFalloConversionAnsi) {}

std::string ReemplazaTexto(const std::string& sTexto, const std::string& sAnterior,
                           const std::string& sNuevo) {
  if (sAnterior.empty()) return sTexto;
  return QString::fromStdString(sTexto)
      .replace(QString::fromStdString(sAnterior), QString::fromStdString(sNuevo),
               Qt::CaseInsensitive)
      .toStdString();
}

std::string ACp1252(const std::string& sTexto) {
  const QString s = QString::fromUtf8(sTexto.data(), static_cast<qsizetype>(sTexto.size()));
  if (s.toUtf8().toStdString() != sTexto) throw EConversionAnsi();
  std::string sAnsi;
  sAnsi.reserve(static_cast<size_t>(s.size()));
  for (const QChar q : s) {
    const char16_t u = q.unicode();
    if (u == 0) throw EConversionAnsi();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      sAnsi.push_back(static_cast<char>(u));
      continue;
    }
    size_t i = 0;
    while (i < kAlto.size() && kAlto[i] != u) ++i;
    if (i == kAlto.size()) throw EConversionAnsi();
    sAnsi.push_back(static_cast<char>(0x80 + i));
  }
  return sAnsi;
}

std::string DeCp1252(const std::string& sAnsi) {
  QString s;
  s.reserve(static_cast<qsizetype>(sAnsi.size()));
  for (const char c : sAnsi) s.append(QChar(UnicodeDe(static_cast<unsigned char>(c))));
  return s.toStdString();
}

}  // namespace kv
