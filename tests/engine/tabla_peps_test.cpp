// The in-memory PEP table: fields, sizes, cursor, editing and change notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/tabla_peps.h"

namespace kv {
namespace {

class TRegistro : public IObservadorTablaPEPs {
 public:
  void TablaReiniciada() override { eventos.push_back("reset"); }
  void FilaAgregada(std::size_t n) override { eventos.push_back("add " + std::to_string(n)); }
  void FilaModificada(std::size_t n) override { eventos.push_back("mod " + std::to_string(n)); }
  void FilaActualCambiada(std::size_t n) override { eventos.push_back("cur " + std::to_string(n)); }
  std::vector<std::string> eventos;
};

void Agrega(TTablaPEPs& vt, int id, const std::string& clave, const std::string& nombre) {
  vt.Append();
  vt.SetField("IdPEP", db::Value(id));
  vt.SetField("ClaveCliente", db::Value(clave));
  vt.SetField("Nombre", db::Value(nombre));
  vt.SetField("EsPEP", db::Value(0));
  vt.Post();
}

TEST(TablaPEPs, RowsFieldsAndSizes) {
  TTablaPEPs vt;
  EXPECT_FALSE(vt.Active());
  vt.Open();
  EXPECT_TRUE(vt.Active());
  EXPECT_TRUE(vt.Eof());
  // Keys are cut to 20 characters and names to 100, counting characters, not bytes.
  const std::string clave = "ÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑÑ";  // 22 characters, 44 bytes
  std::string nombre;
  for (int i = 0; i < 101; ++i) nombre += "é";
  Agrega(vt, 1, clave, nombre);
  Agrega(vt, 2, "K2", "ANA");
  ASSERT_EQ(vt.RecordCount(), 2u);
  EXPECT_EQ(vt.Row(0).ClaveCliente, clave.substr(0, 40));
  EXPECT_EQ(vt.Row(0).Nombre, nombre.substr(0, 200));
  EXPECT_EQ(CortaTextoUtf8("abc", 3), "abc");
  EXPECT_EQ(CortaTextoUtf8("", 3), "");

  vt.First();
  EXPECT_EQ(vt.FieldByName("idpep").toInt(), 1);
  vt.Next();
  EXPECT_EQ(vt.FieldByName("ClaveCliente").toString(), "K2");
  EXPECT_EQ(vt.FieldByName("Nombre").toString(), "ANA");
  EXPECT_EQ(vt.FieldByName("EsPEP").toInt(), 0);
  vt.Next();
  EXPECT_TRUE(vt.Eof());
  EXPECT_THROW(vt.FieldByName("Nombre"), std::out_of_range);
  vt.First();
  EXPECT_THROW(vt.FieldByName("Otro"), std::invalid_argument);
  EXPECT_THROW(vt.SetField("EsPEP", db::Value(-1)), std::logic_error) << "not in edit mode";

  // A tick never written reads as null, which the readers take as false.
  vt.Append();
  vt.SetField("ClaveCliente", db::Value("K3"));
  vt.Post();
  EXPECT_TRUE(vt.FieldByName("EsPEP").isNull());
  EXPECT_FALSE(vt.Row(2).EsPEP.has_value());

  vt.Clear();
  EXPECT_TRUE(vt.Active());
  EXPECT_EQ(vt.RecordCount(), 0u);
}

TEST(TablaPEPs, EditingPostsAndCancels) {
  TTablaPEPs vt;
  vt.Open();
  Agrega(vt, 1, "K1", "UNO");
  vt.First();
  vt.Edit();
  vt.SetField("EsPEP", db::Value(-1));
  EXPECT_EQ(vt.FieldByName("EsPEP").toInt(), -1) << "the buffer is read while editing";
  EXPECT_FALSE(vt.Row(0).EsPEP.value()) << "not stored before Post";
  vt.Post();
  EXPECT_TRUE(vt.Row(0).EsPEP.value());
  vt.Edit();
  vt.SetField("Nombre", db::Value("OTRO"));
  vt.Cancel();
  EXPECT_EQ(vt.Row(0).Nombre, "UNO");
  vt.Edit();
  vt.SetField("Nombre", db::Value("DOS"));
  vt.Next();  // moving posts the pending edit
  EXPECT_EQ(vt.Row(0).Nombre, "DOS");
  EXPECT_THROW(vt.Edit(), std::logic_error) << "past the last row";
}

TEST(TablaPEPs, ObserversSeeEveryChange) {
  TTablaPEPs vt;
  TRegistro obs;
  vt.AddObserver(&obs);
  vt.AddObserver(&obs);  // once only
  vt.Open();
  Agrega(vt, 1, "K1", "UNO");
  Agrega(vt, 2, "K2", "DOS");
  vt.SetEsPEP(0, true);
  vt.Clear();
  EXPECT_EQ(obs.eventos,
            (std::vector<std::string>{"reset", "add 0", "add 1", "cur 0", "mod 0", "reset"}));
  vt.RemoveObserver(&obs);
  Agrega(vt, 1, "K1", "UNO");
  EXPECT_EQ(obs.eventos.size(), 6u);
}

// An observer that leaves during a notification does not disturb the others.
TEST(TablaPEPs, ObserverMayLeaveWhileNotified) {
  TTablaPEPs vt;
  struct TSeVa : IObservadorTablaPEPs {
    TTablaPEPs* vt = nullptr;
    int n = 0;
    void FilaAgregada(std::size_t) override {
      ++n;
      vt->RemoveObserver(this);
    }
  } seVa;
  seVa.vt = &vt;
  TRegistro obs;
  vt.AddObserver(&seVa);
  vt.AddObserver(&obs);
  vt.Open();
  Agrega(vt, 1, "K1", "UNO");
  Agrega(vt, 2, "K2", "DOS");
  EXPECT_EQ(seVa.n, 1);
  EXPECT_EQ(obs.eventos, (std::vector<std::string>{"reset", "add 0", "add 1"}));
}

}  // namespace
}  // namespace kv
