#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "diag/qt/dialogos_qt.h"
#include "tests/support/aplicacion_qt.h"

namespace kv {
namespace {

struct TCajaVista {
  QString titulo;
  QString texto;
  QMessageBox::Icon icono = QMessageBox::NoIcon;
  QStringList botones;
};

// Waits for the modal box, notes what it shows and presses the button with the given text.
void PulsaAlAparecer(TCajaVista& vista, const QString& boton) {
  QTimer::singleShot(10, [&vista, boton] {
    auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (caja == nullptr) return PulsaAlAparecer(vista, boton);
    vista.titulo = caja->windowTitle();
    vista.texto = caja->text();
    vista.icono = caja->icon();
    for (auto* b : caja->buttons()) {
      vista.botones << b->text();
      if (b->text() == boton) b->click();
    }
  });
}

TEST(TDialogosQt, CaptionsButtonsAndAnswers) {
  AseguraAplicacionQt();
  TDialogosQt dialogos;
  struct Caso {
    const char* pulsa;
    std::function<bool()> muestra;
    bool respuesta;
    std::string titulo;
    QMessageBox::Icon icono;
    QStringList botones;
  };
  const Caso casos[] = {
      {"Aceptar",
       [&] {
         dialogos.Mensaje("Texto é");
         return true;
       },
       true,
       QApplication::applicationDisplayName().toStdString(),
       QMessageBox::NoIcon,
       {"Aceptar"}},
      {"&Sí",
       [&] { return dialogos.AdvertenciaSiNo("Texto é"); },
       true,
       "Advertencia",
       QMessageBox::Warning,
       {"&Sí", "&No"}},
      {"&No",
       [&] { return dialogos.AdvertenciaSiNo("Texto é"); },
       false,
       "Advertencia",
       QMessageBox::Warning,
       {"&Sí", "&No"}},
      {"Aceptar",
       [&] { return dialogos.ErrorAceptarCancelar("Texto é"); },
       true,
       "Error",
       QMessageBox::Critical,
       {"Aceptar", "Cancelar"}},
      {"Cancelar",
       [&] { return dialogos.ErrorAceptarCancelar("Texto é"); },
       false,
       "Error",
       QMessageBox::Critical,
       {"Aceptar", "Cancelar"}},
  };
  for (const auto& c : casos) {
    TCajaVista vista;
    PulsaAlAparecer(vista, QString::fromUtf8(c.pulsa));
    EXPECT_EQ(c.muestra(), c.respuesta) << c.pulsa;
    EXPECT_EQ(vista.texto.toStdString(), "Texto é");
    EXPECT_EQ(vista.titulo.toStdString(), c.titulo);
    EXPECT_EQ(vista.icono, c.icono);
    QStringList botones = vista.botones;
    botones.sort();
    QStringList esperados = c.botones;
    esperados.sort();
    EXPECT_EQ(botones, esperados) << c.pulsa;
  }
}

}  // namespace
}  // namespace kv
