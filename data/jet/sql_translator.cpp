#include "data/jet/sql_translator.h"

#include <cstdio>
#include <map>

#include "data/db/c_numbers.h"
#include "data/db/error.h"
#include "data/jet/jet_messages.h"
#include "data/jet/jet_text.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

enum class Type { Unknown, Number, Text, Bool };

struct Sql {
  std::string text;
  Type type = Type::Unknown;
  bool aggregate = false;
};

enum class Use { Value, Condition };

std::string quoteString(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string realLiteral(double d) {
  std::string s = kv::db::formatC("%.17g", d);
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  return s;
}

bool isNumberLiteral(const Expr& e) {
  return e.kind == Expr::Kind::Number;
}

const std::map<std::string, int>& aggregateNames() {
  static const std::map<std::string, int> m = {
      {"COUNT", 1}, {"SUM", 1}, {"AVG", 1}, {"MIN", 1}, {"MAX", 1}};
  return m;
}

std::string upperName(const std::string& s) {
  return toUpper(s);
}

class Translator {
 public:
  explicit Translator(const TranslateContext& ctx) : ctx_(ctx) {}

  std::string statement(const Statement& st) {
    switch (st.kind) {
      case Statement::Kind::Select:
        return query(*st.query);
      case Statement::Kind::Delete: {
        std::string s = "DELETE FROM " + quoteName(ctx_.resolveTable(st.table));
        if (st.where) s += " WHERE " + expr(*st.where, Use::Condition).text;
        return s;
      }
      case Statement::Kind::Truncate:
        return "DELETE FROM " + quoteName(ctx_.resolveTable(st.table));
    }
    return {};
  }

 private:
  const TranslateContext& ctx_;

  std::string query(const Query& q) {
    if (q.members.size() == 1) return member(q.members[0], false);
    std::string s;
    for (std::size_t i = 0; i < q.members.size(); ++i) {
      if (i > 0) s += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
      s += member(q.members[i], true);
    }
    if (!q.orderBy.empty()) {
      s += " ORDER BY ";
      for (std::size_t i = 0; i < q.orderBy.size(); ++i) {
        const Expr& e = *q.orderBy[i].expr;
        if (i) s += ", ";
        if (e.kind == Expr::Kind::Column)
          s += quoteName(e.text) + " COLLATE JET";
        else if (e.kind == Expr::Kind::Number)
          s += e.text;
        else
          throw DbError(msg::kClass, msg::unsupported(msg::text::kORDERBYDeUnaUNION));
        if (q.orderBy[i].desc) s += " DESC";
      }
    }
    return s;
  }

  // One SELECT with its TOP and ORDER BY. Inside a compound, a member that sorts or
  // cuts is wrapped so that SQLite accepts it and keeps its order.
  std::string member(const SelectCore& c, bool inCompound) {
    checkGrouping(c);
    std::string base = core(c, "");
    if (c.orderBy.empty() && !c.top) return base;
    std::string keys;
    for (std::size_t i = 0; i < c.orderBy.size(); ++i) {
      Sql k = expr(*c.orderBy[i].expr, Use::Value);
      if (i) keys += ", ";
      keys += k.text;
      if (k.type != Type::Number && k.type != Type::Bool) keys += " COLLATE JET";
      if (c.orderBy[i].desc) keys += " DESC";
    }
    std::string s;
    if (c.top && !c.orderBy.empty()) {
      if (c.distinct)
        throw DbError(msg::kClass, msg::unsupported(msg::text::kTOPConDISTINCTYORDER));
      // Jet's TOP n keeps every row that ties with the n-th one.
      std::vector<std::string> cols = ctx_.describe(base);
      std::string list;
      for (std::size_t i = 0; i < cols.size(); ++i) list += (i ? ", " : "") + quoteName(cols[i]);
      std::string inner = core(c, ", RANK() OVER (ORDER BY " + keys + ") AS jet_rank_, " +
                                      "ROW_NUMBER() OVER (ORDER BY " + keys + ") AS jet_row_");
      s = "SELECT " + list + " FROM (" + inner + ") WHERE jet_rank_ <= " + std::to_string(*c.top) +
          " ORDER BY jet_row_";
    } else if (c.top) {
      s = base + " LIMIT " + std::to_string(*c.top);
    } else {
      s = base + " ORDER BY " + keys;
    }
    return inCompound ? "SELECT * FROM (" + s + ")" : s;
  }

  std::string core(const SelectCore& c, const std::string& extraItems) {
    std::string s = "SELECT ";
    if (c.distinct) s += "DISTINCT ";
    int exprNo = 1000;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
      const SelectItem& it = c.items[i];
      if (i) s += ", ";
      if (it.expr->kind == Expr::Kind::Star) {
        s += it.expr->qualifier.empty() ? "*" : quoteName(it.expr->qualifier) + ".*";
        if (!it.alias.empty())
          throw DbError(msg::kClass, msg::syntax(msg::text::kAliasDe, it.expr->pos));
        continue;
      }
      Sql v = expr(*it.expr, Use::Value);
      std::string name = it.alias;
      if (name.empty() && it.expr->kind != Expr::Kind::Column)
        name = "Expr" + std::to_string(exprNo++);
      // A computed text compares as Jet compares texts here and wherever its column is
      // used: DISTINCT, UNION, an outer query over this one.
      if (it.expr->kind != Expr::Kind::Column && v.type != Type::Number && v.type != Type::Bool)
        v.text = "(" + v.text + ") COLLATE JET";
      s += v.text;
      if (!name.empty()) s += " AS " + quoteName(name);
    }
    s += extraItems;
    if (!c.from.empty()) {
      s += " FROM ";
      for (std::size_t i = 0; i < c.from.size(); ++i) s += (i ? ", " : "") + table(*c.from[i]);
    }
    if (c.where) s += " WHERE " + expr(*c.where, Use::Condition).text;
    if (!c.groupBy.empty()) {
      s += " GROUP BY ";
      for (std::size_t i = 0; i < c.groupBy.size(); ++i) {
        Sql g = expr(*c.groupBy[i], Use::Value);
        s += (i ? ", " : "") + g.text;
        if (g.type != Type::Number && g.type != Type::Bool) s += " COLLATE JET";
      }
    }
    if (c.having) s += " HAVING " + expr(*c.having, Use::Condition).text;
    return s;
  }

  std::string table(const TableRef& t) {
    switch (t.kind) {
      case TableRef::Kind::Table:
        return quoteName(ctx_.resolveTable(t.name)) + " AS " +
               quoteName(t.alias.empty() ? t.name : t.alias);
      case TableRef::Kind::Derived: {
        if (ctx_.derivedTable) {
          TranslateContext inlineOnly = ctx_;
          inlineOnly.derivedTable = nullptr;
          const std::string key = Translator(inlineOnly).query(*t.query);
          const std::string kept = ctx_.derivedTable(key, [&] { return query(*t.query); });
          if (!kept.empty())
            return quoteName(kept) + (t.alias.empty() ? "" : " AS " + quoteName(t.alias));
        }
        std::string s = "(" + query(*t.query) + ")";
        if (!t.alias.empty()) s += " AS " + quoteName(t.alias);
        return s;
      }
      case TableRef::Kind::Join:
        return "(" + table(*t.left) + " " + t.joinType + " JOIN " + table(*t.right) + " ON " +
               expr(*t.on, Use::Condition).text + ")";
    }
    return {};
  }

  // Jet refuses a field that is neither grouped nor inside an aggregate.
  void checkGrouping(const SelectCore& c) {
    bool grouped = !c.groupBy.empty();
    for (const auto& it : c.items)
      if (hasAggregate(*it.expr)) grouped = true;
    if (!grouped) return;
    for (const auto& it : c.items) {
      if (it.expr->kind == Expr::Kind::Star) throw DbError(msg::kClass, msg::notAggregated("*"));
      checkColumnsGrouped(*it.expr, c);
    }
  }

  static bool hasAggregate(const Expr& e) {
    if (e.kind == Expr::Kind::Function && aggregateNames().count(upperName(e.text))) return true;
    for (const auto& a : e.args)
      if (hasAggregate(*a)) return true;
    return false;
  }

  static bool sameName(const std::string& a, const std::string& b) {
    return compareText(a, b) == 0;
  }

  void checkColumnsGrouped(const Expr& e, const SelectCore& c) {
    if (e.kind == Expr::Kind::Function && aggregateNames().count(upperName(e.text))) return;
    if (e.kind == Expr::Kind::Column) {
      for (const auto& g : c.groupBy) {
        if (g->kind != Expr::Kind::Column || !sameName(g->text, e.text)) continue;
        if (g->qualifier.empty() || e.qualifier.empty() || sameName(g->qualifier, e.qualifier))
          return;
      }
      throw DbError(msg::kClass,
                    msg::notAggregated(e.qualifier.empty() ? e.text : e.qualifier + "." + e.text));
    }
    for (const auto& a : e.args) checkColumnsGrouped(*a, c);
  }

  static Sql asUse(Sql s, Use use) {
    if (use == Use::Value && s.type == Type::Bool) {
      s.text = "(-(" + s.text + "))";
      s.type = Type::Number;
    }
    return s;
  }

  static bool bothNumbers(const Sql& a, const Sql& b) {
    return (a.type == Type::Number || a.type == Type::Bool) &&
           (b.type == Type::Number || b.type == Type::Bool);
  }

  static std::string collated(const Sql& a, const Sql& b) {
    return bothNumbers(a, b) ? "" : " COLLATE JET";
  }

  Sql expr(const Expr& e, Use use) { return asUse(exprRaw(e), use); }

  Sql exprRaw(const Expr& e) {
    switch (e.kind) {
      case Expr::Kind::Number:
        return {e.text, Type::Number};
      case Expr::Kind::String:
        return {quoteString(e.text), Type::Text};
      case Expr::Kind::Date:
        return {realLiteral(e.number), Type::Number};
      case Expr::Kind::Boolean:
        return {e.number < 0 ? "-1" : "0", Type::Number};
      case Expr::Kind::Null:
        return {"NULL", Type::Unknown};
      case Expr::Kind::Column:
        return {(e.qualifier.empty() ? "" : quoteName(e.qualifier) + ".") + quoteName(e.text),
                Type::Unknown};
      case Expr::Kind::Star:
        throw DbError(msg::kClass, msg::syntax(msg::text::kFueraDeLaListaDe, e.pos));
      case Expr::Kind::Unary: {
        if (e.op == "NOT") {
          Sql a = expr(*e.args[0], Use::Condition);
          return {"(NOT " + a.text + ")", Type::Bool};
        }
        Sql a = expr(*e.args[0], Use::Value);
        if (e.op == "+") return a;
        if (a.type == Type::Number) return {"(-" + a.text + ")", Type::Number};
        return {"jet_neg(" + a.text + ")", Type::Number};
      }
      case Expr::Kind::Binary:
        return binary(e);
      case Expr::Kind::Like: {
        Sql a = expr(*e.args[0], Use::Value);
        Sql p = expr(*e.args[1], Use::Value);
        std::string s = "jet_like(" + a.text + ", " + p.text + ")";
        return {e.negated ? "(NOT " + s + ")" : s, Type::Bool};
      }
      case Expr::Kind::IsNull: {
        Sql a = expr(*e.args[0], Use::Value);
        return {"(" + a.text + (e.negated ? " IS NOT NULL)" : " IS NULL)"), Type::Bool};
      }
      case Expr::Kind::Between: {
        Sql a = expr(*e.args[0], Use::Value);
        Sql lo = expr(*e.args[1], Use::Value);
        Sql hi = expr(*e.args[2], Use::Value);
        const bool num = bothNumbers(a, lo) && bothNumbers(a, hi);
        return {"(" + a.text + (num ? "" : " COLLATE JET") + (e.negated ? " NOT" : "") +
                    " BETWEEN " + lo.text + " AND " + hi.text + ")",
                Type::Bool};
      }
      case Expr::Kind::InList: {
        Sql a = expr(*e.args[0], Use::Value);
        std::string s = "(" + a.text + " COLLATE JET" + (e.negated ? " NOT IN (" : " IN (");
        for (std::size_t i = 1; i < e.args.size(); ++i)
          s += (i > 1 ? ", " : "") + expr(*e.args[i], Use::Value).text;
        return {s + "))", Type::Bool};
      }
      case Expr::Kind::Function:
        return function(e);
    }
    return {};
  }

  Sql binary(const Expr& e) {
    const std::string& op = e.op;
    if (op == "AND" || op == "OR") {
      Sql a = expr(*e.args[0], Use::Condition);
      Sql b = expr(*e.args[1], Use::Condition);
      return {"(" + a.text + " " + op + " " + b.text + ")", Type::Bool};
    }
    Sql a = expr(*e.args[0], Use::Value);
    Sql b = expr(*e.args[1], Use::Value);
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=")
      return {"(" + a.text + " " + op + " " + b.text + collated(a, b) + ")", Type::Bool};
    if (op == "+") {
      if (a.type == Type::Text && b.type == Type::Text)
        return {"(" + a.text + " || " + b.text + ")", Type::Text};
      if (bothNumbers(a, b)) return {"(" + a.text + " + " + b.text + ")", Type::Number};
      return {"jet_add(" + a.text + ", " + b.text + ")", Type::Unknown};
    }
    if (op == "-" || op == "*") {
      if (bothNumbers(a, b)) return {"(" + a.text + " " + op + " " + b.text + ")", Type::Number};
      return {std::string(op == "-" ? "jet_sub(" : "jet_mul(") + a.text + ", " + b.text + ")",
              Type::Number};
    }
    if (op == "/") {
      const Expr& r = *e.args[1];
      if (bothNumbers(a, b) && isNumberLiteral(r) && kv::db::strtodC(r.text.c_str(), nullptr) != 0)
        return {"(CAST(" + a.text + " AS REAL) / " + b.text + ")", Type::Number};
      return {"jet_div(" + a.text + ", " + b.text + ")", Type::Number};
    }
    if (op == "\\") return {"jet_intdiv(" + a.text + ", " + b.text + ")", Type::Number};
    if (op == "MOD") return {"jet_mod(" + a.text + ", " + b.text + ")", Type::Number};
    if (op == "&") return {"jet_concat(" + a.text + ", " + b.text + ")", Type::Text};
    throw DbError(msg::kClass, msg::unsupported(msg::text::kOperador + op));
  }

  Sql function(const Expr& e) {
    const std::string name = upperName(e.text);
    const std::size_t n = e.args.size();
    auto want = [&](std::size_t lo, std::size_t hi) {
      if (n < lo || n > hi) throw DbError(msg::kClass, msg::wrongArgs(e.text));
    };
    auto arg = [&](std::size_t i) { return expr(*e.args[i], Use::Value); };
    if (name == "IIF") {
      want(3, 3);
      Sql c = expr(*e.args[0], Use::Condition);
      Sql a = arg(1), b = arg(2);
      return {"(CASE WHEN " + c.text + " THEN " + a.text + " ELSE " + b.text + " END)",
              a.type == b.type ? a.type : Type::Unknown};
    }
    if (name == "ISNULL") {
      want(1, 1);
      return {"(" + arg(0).text + " IS NULL)", Type::Bool};
    }
    if (aggregateNames().count(name)) {
      want(1, 1);
      if (e.args[0]->kind == Expr::Kind::Star) {
        if (name != "COUNT" || !e.args[0]->qualifier.empty())
          throw DbError(msg::kClass, msg::syntax(msg::text::kFueraDeCOUNT, e.args[0]->pos));
        return {"count(*)", Type::Number, true};
      }
      if (hasAggregate(*e.args[0]))
        throw DbError(msg::kClass, msg::unsupported(msg::text::kFuncionesDeAgregadoAnidadas));
      Sql a = arg(0);
      if (name == "MIN" || name == "MAX") {
        const bool num = a.type == Type::Number || a.type == Type::Bool;
        return {(name == "MIN" ? "min(" : "max(") + a.text + (num ? ")" : " COLLATE JET)"), a.type,
                true};
      }
      if (name == "COUNT") return {"count(" + a.text + ")", Type::Number, true};
      return {(name == "SUM" ? "jet_sum(" : "jet_avg(") + a.text + ")", Type::Number, true};
    }
    struct Simple {
      const char* sqlName;
      std::size_t lo, hi;
      Type type;
    };
    static const std::map<std::string, Simple> simple = {
        {"UCASE", {"jet_ucase", 1, 1, Type::Text}}, {"LCASE", {"jet_lcase", 1, 1, Type::Text}},
        {"STR", {"jet_str", 1, 1, Type::Text}},     {"ROUND", {"jet_round", 1, 2, Type::Number}},
        {"TRIM", {"jet_trim", 1, 1, Type::Text}},   {"LTRIM", {"jet_ltrim", 1, 1, Type::Text}},
        {"RTRIM", {"jet_rtrim", 1, 1, Type::Text}}, {"LEN", {"jet_len", 1, 1, Type::Number}},
        {"ABS", {"jet_abs", 1, 1, Type::Number}},
    };
    auto it = simple.find(name);
    if (it == simple.end()) throw DbError(msg::kClass, msg::unknownFunction(e.text));
    want(it->second.lo, it->second.hi);
    std::string s = std::string(it->second.sqlName) + "(";
    for (std::size_t i = 0; i < n; ++i) s += (i ? ", " : "") + arg(i).text;
    return {s + ")", it->second.type};
  }
};

void collectTables(const Query& q, std::vector<std::string>& out);

void collectTables(const TableRef& t, std::vector<std::string>& out) {
  switch (t.kind) {
    case TableRef::Kind::Table:
      out.push_back(t.name);
      break;
    case TableRef::Kind::Derived:
      collectTables(*t.query, out);
      break;
    case TableRef::Kind::Join:
      collectTables(*t.left, out);
      collectTables(*t.right, out);
      break;
  }
}

void collectTables(const Query& q, std::vector<std::string>& out) {
  for (const auto& m : q.members)
    for (const auto& t : m.from) collectTables(*t, out);
}

}  // namespace

std::string quoteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string translate(const Statement& st, const TranslateContext& ctx) {
  return Translator(ctx).statement(st);
}

std::vector<std::string> referencedTables(const Statement& st) {
  std::vector<std::string> out;
  if (st.query) collectTables(*st.query, out);
  if (!st.table.empty()) out.push_back(st.table);
  return out;
}

}  // namespace kv::jet
