#include "diag/qt/escritorio.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QString>
#include <QUrl>
#include <stdexcept>

namespace kv {

bool AbreConEscritorio(const std::string& sArchivo) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    throw std::logic_error("no graphical application to open " + sArchivo);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(sArchivo)));
}

}  // namespace kv
