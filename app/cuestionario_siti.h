#pragma once
// The questionnaire object that the commands of the window build: the SITI 2020 survey
// over the company database.
#include "app/frm_principal.h"

namespace kv {

TFabricaCuestionario DameFabricaSITI2020();

}  // namespace kv
