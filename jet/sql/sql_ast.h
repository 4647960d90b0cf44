#pragma once
// The tree of a parsed Jet SQL statement.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv::jet {

struct Query;

struct Expr {
  enum class Kind {
    Number,   // text holds the literal as written
    String,   // text holds the value
    Date,     // number holds the Jet day number
    Boolean,  // number is -1 or 0
    Null,
    Column,    // qualifier (may be empty) and text (the name)
    Star,      // qualifier.* or * (select list and COUNT(*) only)
    Unary,     // op: "-", "+", "NOT"
    Binary,    // op: "+", "-", "*", "/", "\\", "MOD", "&", "=", "<>", "<", ">", "<=", ">=",
               //     "AND", "OR"; args: the operands, combined from left to right.
               //     A chain of one operator ("a OR b OR c", "a + b + c") is one node
               //     however long; comparisons always have two operands.
    Like,      // args[0] LIKE args[1]; negated for NOT LIKE
    IsNull,    // args[0] IS [NOT] NULL
    Between,   // args[0] [NOT] BETWEEN args[1] AND args[2]
    InList,    // args[0] [NOT] IN (args[1..])
    Function,  // text holds the name as written; args
  };
  Kind kind;
  std::string text;
  std::string qualifier;
  std::string op;
  double number = 0;
  bool negated = false;
  std::vector<std::unique_ptr<Expr>> args;
  std::size_t pos = 0;  // offset in the statement, for messages
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
  ExprPtr expr;
  std::string alias;
};

struct OrderItem {
  ExprPtr expr;
  bool desc = false;
};

struct TableRef {
  enum class Kind { Table, Derived, Join };
  Kind kind;
  std::string name;              // Table: the table's name
  std::string alias;             // Table, Derived
  std::unique_ptr<Query> query;  // Derived
  std::string joinType;          // Join: "INNER", "LEFT", "RIGHT"
  std::unique_ptr<TableRef> left, right;
  ExprPtr on;
};
using TableRefPtr = std::unique_ptr<TableRef>;

struct SelectCore {
  bool distinct = false;
  std::optional<std::int64_t> top;
  std::vector<SelectItem> items;
  std::vector<TableRefPtr> from;
  ExprPtr where;
  std::vector<ExprPtr> groupBy;
  ExprPtr having;
  std::vector<OrderItem> orderBy;
};

// One SELECT or several joined by UNION [ALL]. With several members, the ORDER BY
// written after the last one sorts the whole union and is kept in `orderBy`.
struct Query {
  std::vector<SelectCore> members;
  std::vector<bool> unionAll;  // unionAll[i]: link between member i and i+1
  std::vector<OrderItem> orderBy;
};

struct Statement {
  enum class Kind { Select, Delete, Truncate };
  Kind kind = Kind::Select;
  std::unique_ptr<Query> query;
  std::string table;  // Delete, Truncate
  ExprPtr where;      // Delete
};

}  // namespace kv::jet
