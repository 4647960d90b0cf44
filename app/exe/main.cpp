// cuestionario-operatividad: the questionnaire window.
#include "app/inicio.h"

int main(int argc, char** argv) {
  return kv::EjecutaPrograma(argc, argv);
}
