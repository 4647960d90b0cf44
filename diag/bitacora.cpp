#include "diag/bitacora.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <mutex>

namespace kv {

namespace {

constexpr const char* kNombreBitacora = "errores.log";
// The folder's name when there is no application object to give one.
constexpr const char* kNombrePrograma = "cuestionario-operatividad";

}  // namespace

std::string DameRutaBitacora() {
  QString sCarpeta = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  if (QCoreApplication::applicationName().isEmpty())
    sCarpeta += QLatin1Char('/') + QLatin1String(kNombrePrograma);
  return (sCarpeta + QLatin1Char('/') + QLatin1String(kNombreBitacora)).toStdString();
}

void RegistraEnBitacora(const std::string& sTexto) {
  static std::mutex cerrojo;
  const std::lock_guard<std::mutex> bloqueo(cerrojo);
  const QString sRuta = QString::fromStdString(DameRutaBitacora());
  QDir().mkpath(QFileInfo(sRuta).absolutePath());
  QFile archivo(sRuta);
  if (!archivo.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
  QString sEntrada = QString::fromUtf8(sTexto);
  sEntrada.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  sEntrada.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  sEntrada.replace(QLatin1Char('\n'), QLatin1String("\n    "));
  const QString sFecha =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  archivo.write((sFecha + QLatin1String("  ") + sEntrada + QLatin1Char('\n')).toUtf8());
}

}  // namespace kv
