#pragma once
// A boolean that latches away from its initial value: once written with the other value it
// stays there until the initial value is set again. The report's success flag.
#include "diag/interfaced_padre.h"

namespace kv {

class IBoolPersist {
 public:
  virtual ~IBoolPersist() = default;
  virtual void SetInicial(bool bValor) = 0;
  virtual void SetValor(bool bValor) = 0;
  virtual bool GetValor() const = 0;
};

class TBoolPersist : public TInterfacedPadre, public IBoolPersist {
 public:
  explicit TBoolPersist(bool bValor) : F_ValorIni(bValor), F_Valor(bValor) {}

  // Sets the initial and the current value (a reset).
  void SetInicial(bool bValor) override { F_ValorIni = F_Valor = bValor; }
  // Only a value other than the initial one is stored.
  void SetValor(bool bValor) override {
    if (bValor != F_ValorIni) F_Valor = bValor;
  }
  bool GetValor() const override { return F_Valor; }

 private:
  bool F_ValorIni;
  bool F_Valor;
};

}  // namespace kv
