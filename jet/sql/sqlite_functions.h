#pragma once
// The JET collation and the jet_* functions the translator's SQL calls.
#include <sqlite3.h>

#include <string_view>

namespace kv::jet {

// What a Jet function or operator gives, as the translator follows types.
enum class JetResult { Unknown, Number, Text, Bool };

// One Jet function or operator and the SQLite function that computes it: the single
// table both the translator (Jet name -> SQLite call) and installJetFunctions() read.
struct JetFunction {
  enum class Kind {
    Function,   // UCASE(x): a scalar function
    Aggregate,  // SUM(x): a SQLite aggregate (built in when step is null)
    Operator,   // a + b + …: a chain of two or more operands from the left
    Unary,      // -a
  };
  const char* jetName;  // as written in Jet SQL, upper case: "UCASE", "MOD", "&"
  const char* sqlName;  // the SQLite function: "jet_ucase", "count"
  Kind kind;
  int minArgs, maxArgs;  // Jet's arity (operators: -1, any number from two)
  JetResult result;
  void (*scalar)(sqlite3_context*, int, sqlite3_value**) = nullptr;
  void (*step)(sqlite3_context*, int, sqlite3_value**) = nullptr;
  void (*final)(sqlite3_context*) = nullptr;
  bool associative = false;  // an operator whose operands combine in any grouping
};

// The function (or aggregate) of that Jet name, upper case; null when Jet has none.
const JetFunction* findJetFunction(std::string_view jetName);
// The binary operator ("+", "MOD", "&", "LIKE") or, with unary, the unary one ("-").
const JetFunction* findJetOperator(std::string_view op, bool unary = false);

// Registers everything on a connection; throws DbError when SQLite refuses.
void installJetFunctions(sqlite3* db);

}  // namespace kv::jet
