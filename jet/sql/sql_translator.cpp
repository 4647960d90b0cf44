#include "jet/sql/sql_translator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

#include "data/db/c_numbers.h"
#include "data/db/error.h"
#include "jet/sql/jet_text.h"
#include "jet/sql/sqlite_functions.h"
#include "jet/textos.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

enum class Type { Unknown, Null, Number, Text, Bool, Date };

bool numeric(Type t) {
  return t == Type::Number || t == Type::Bool || t == Type::Date;
}

struct Sql {
  Sql() = default;
  Sql(std::string t, Type ty = Type::Unknown, bool agg = false, std::string col = {})
      : text(std::move(t)), type(ty), aggregate(agg), column(std::move(col)) {}
  std::string text;
  Type type = Type::Unknown;
  bool aggregate = false;
  std::string column;  // a field: its name as the result names it
};

enum class Use { Value, Condition };

// A column of a table or of a query's result.
struct OutColumn {
  std::string name;
  Type type;
};
struct Columns {
  bool known = false;  // false: some columns are not known, names pass as written
  std::vector<OutColumn> list;
};

// A table of a FROM clause, under the name that qualifies its fields.
struct Source {
  std::string name;
  Columns columns;
};

// An earlier item of the select list with an alias.
struct Alias {
  std::string name;
  Sql value;
};

// Operands SQLite gets in one flat run ("a OR b OR …"): SQLite's trees are as deep as
// a run is long, and it refuses depth 1000.
constexpr std::size_t kFlatRun = 64;
// Operands per call of a jet_* function (SQLite allows 127 arguments).
constexpr std::size_t kCallArgs = 100;
// Bytes the select list may add by repeating aliased items ("1 AS a, a + a AS b, …").
constexpr std::size_t kAliasBytes = 16u << 20;

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

bool isLiteral(const Expr& e) {
  return e.kind == Expr::Kind::Number || e.kind == Expr::Kind::String ||
         e.kind == Expr::Kind::Date || e.kind == Expr::Kind::Boolean;
}

bool isAggregate(const std::string& upperName) {
  const JetFunction* f = findJetFunction(upperName);
  return f && f->kind == JetFunction::Kind::Aggregate;
}

Type typeOf(JetResult r) {
  switch (r) {
    case JetResult::Number:
      return Type::Number;
    case JetResult::Text:
      return Type::Text;
    case JetResult::Bool:
      return Type::Bool;
    case JetResult::Unknown:
      break;
  }
  return Type::Unknown;
}

// The Jet operator's SQLite function; an operator Jet lacks is unsupported.
const JetFunction& jetOperator(const std::string& op, bool unary = false) {
  const JetFunction* f = findJetOperator(op, unary);
  if (!f)
    throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kOperador + op));
  return *f;
}

// f(a, b, …) for a Jet function or operator.
std::string call(const JetFunction& f, const std::vector<std::string>& args) {
  std::string s = std::string(f.sqlName) + "(";
  for (std::size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + args[i];
  return s + ")";
}

std::string upperName(const std::string& s) {
  return toUpper(s);
}

// Whether two expressions are written alike (names without regard to case; a field
// with and without its table's name alike): GROUP BY keys and select items.
bool sameExpr(const Expr& a, const Expr& b) {
  if (a.kind != b.kind || a.negated != b.negated || a.args.size() != b.args.size()) return false;
  switch (a.kind) {
    case Expr::Kind::Column:
      if (!a.qualifier.empty() && !b.qualifier.empty() && !sameName(a.qualifier, b.qualifier))
        return false;
      return sameName(a.text, b.text);
    case Expr::Kind::Function:
      if (upperName(a.text) != upperName(b.text)) return false;
      break;
    case Expr::Kind::Star:
      if (!sameName(a.qualifier, b.qualifier)) return false;
      break;
    case Expr::Kind::Date:
    case Expr::Kind::Boolean:
      if (a.number != b.number) return false;
      break;
    default:
      if (a.text != b.text || a.op != b.op) return false;
  }
  for (std::size_t i = 0; i < a.args.size(); ++i)
    if (!sameExpr(*a.args[i], *b.args[i])) return false;
  return true;
}

Type typeOf(ColumnKind k) {
  switch (k) {
    case ColumnKind::Integer:
    case ColumnKind::Real:
      return Type::Number;
    case ColumnKind::Date:
      return Type::Date;
    case ColumnKind::Text:
      return Type::Text;
    case ColumnKind::Blob:
      break;
  }
  return Type::Unknown;
}

std::string joined(const std::vector<std::string>& parts, std::size_t from, std::size_t to,
                   const char* sep) {
  std::string s;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from) s += sep;
    s += parts[i];
  }
  return s;
}

constexpr std::int64_t kUnknownRows = -1;

// The largest of some row counts; unknown when one is.
std::int64_t largest(const std::vector<std::int64_t>& rows) {
  std::int64_t most = 0;
  for (const std::int64_t n : rows) {
    if (n == kUnknownRows) return kUnknownRows;
    most = std::max(most, n);
  }
  return most;
}

// SQLite joins tables without indexes by indexing the inner one for each statement; when
// a FROM list names its largest table first, its own plan may still index that one, a
// sort of every row where indexing the smaller tables costs little. Such a list is then
// joined in its written order: the largest table scanned once, the others indexed.
bool largestFirst(const std::vector<std::int64_t>& rows) {
  if (rows.size() < 2 || largest(rows) == kUnknownRows) return false;
  return std::all_of(rows.begin() + 1, rows.end(), [&](std::int64_t n) { return n <= rows[0]; });
}

// "(a SEP b SEP …)" for an associative operator, in runs of at most kFlatRun so that
// neither SQLite's tree nor its parser goes deep.
std::string associativeRun(std::vector<std::string> parts, const char* sep) {
  while (parts.size() > kFlatRun) {
    std::vector<std::string> next;
    for (std::size_t i = 0; i < parts.size(); i += kFlatRun)
      next.push_back("(" + joined(parts, i, std::min(parts.size(), i + kFlatRun), sep) + ")");
    parts = std::move(next);
  }
  return "(" + joined(parts, 0, parts.size(), sep) + ")";
}

// fn(a, b, …) for a function whose operands combine in any grouping (jet_concat).
std::string associativeCall(std::vector<std::string> parts, const std::string& fn) {
  while (parts.size() > kCallArgs) {
    std::vector<std::string> next;
    for (std::size_t i = 0; i < parts.size(); i += kCallArgs)
      next.push_back(fn + "(" + joined(parts, i, std::min(parts.size(), i + kCallArgs), ", ") +
                     ")");
    parts = std::move(next);
  }
  return fn + "(" + joined(parts, 0, parts.size(), ", ") + ")";
}

// fn(fn(a, b, …), c, …): a left-to-right chain through a function taking any number of
// operands (jet_add and the like combine them from the left).
std::string leftCall(const std::vector<std::string>& parts, const std::string& fn) {
  std::size_t end = std::min(parts.size(), kCallArgs);
  std::string s = fn + "(" + joined(parts, 0, end, ", ") + ")";
  while (end < parts.size()) {
    const std::size_t from = end;
    end = std::min(parts.size(), from + kCallArgs - 1);
    s = fn + "(" + s + ", " + joined(parts, from, end, ", ") + ")";
  }
  return s;
}

class Translator {
 public:
  explicit Translator(const TranslateContext& ctx) : ctx_(ctx) {}

  Translation statement(const Statement& st) {
    switch (st.kind) {
      case Statement::Kind::Select: {
        Result r = query(*st.query);
        Translation t{std::move(r.sql), {}};
        if (r.columns.known)
          for (const auto& c : r.columns.list) t.dateColumns.push_back(c.type == Type::Date);
        return t;
      }
      case Statement::Kind::Delete: {
        Scope scope(*this);
        const std::string stored = ctx_.resolveTable(st.table);
        scope_->push_back({stored, storedColumns(stored)});
        std::string s = "DELETE FROM " + quoteName(stored);
        if (st.where) s += " WHERE " + expr(*st.where, Use::Condition).text;
        return {s, {}};
      }
      case Statement::Kind::Truncate:
        return {"DELETE FROM " + quoteName(ctx_.resolveTable(st.table)), {}};
    }
    return {};
  }

 private:
  // The SQLite text of a query and the columns of its result.
  struct Result {
    std::string sql;
    Columns columns;
    std::int64_t rows = kUnknownRows;  // about as many rows as its largest table (-1: unknown)
  };

  // The tables a SELECT reads, for the time it is translated.
  class Scope {
   public:
    explicit Scope(Translator& t) : t_(t), saved_(t.scope_), savedAliases_(t.aliases_) {
      t.scope_ = &sources_;
      t.aliases_ = nullptr;
    }
    ~Scope() {
      t_.scope_ = saved_;
      t_.aliases_ = savedAliases_;
    }

   private:
    Translator& t_;
    std::vector<Source>* saved_;
    const std::vector<Alias>* savedAliases_;
    std::vector<Source> sources_;
  };

  const TranslateContext& ctx_;
  std::vector<Source>* scope_ = nullptr;
  const std::vector<Alias>* aliases_ = nullptr;  // earlier aliased items, in a select list
  std::map<std::string, Columns> tableColumns_;  // by stored name
  std::size_t aliasBytes_ = 0;

  Result query(const Query& q) {
    if (q.members.size() == 1) return member(q.members[0], false);
    Result r;
    r.rows = 0;
    for (std::size_t i = 0; i < q.members.size(); ++i) {
      if (i > 0) r.sql += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
      Result m = member(q.members[i], true);
      r.sql += m.sql;
      r.rows = r.rows == kUnknownRows || m.rows == kUnknownRows ? kUnknownRows : r.rows + m.rows;
      if (i == 0) {
        r.columns = std::move(m.columns);
        continue;
      }
      // A column is a date column when every member gives dates (or nulls) there.
      if (!m.columns.known || m.columns.list.size() != r.columns.list.size()) {
        r.columns.known = false;
        continue;
      }
      for (std::size_t c = 0; c < r.columns.list.size(); ++c) {
        Type& t = r.columns.list[c].type;
        const Type other = m.columns.list[c].type;
        if (t == Type::Null) t = other;
        if (other != t && other != Type::Null) t = Type::Unknown;
      }
    }
    if (!q.orderBy.empty()) {
      r.sql += " ORDER BY ";
      for (std::size_t i = 0; i < q.orderBy.size(); ++i) {
        const Expr& e = *q.orderBy[i].expr;
        if (i) r.sql += ", ";
        if (e.kind == Expr::Kind::Column) {
          std::string name = e.text;
          if (r.columns.known)
            for (const auto& c : r.columns.list)
              if (sameName(c.name, e.text)) {
                name = c.name;
                break;
              }
          r.sql += quoteName(name) + " COLLATE JET_GENERAL";
        } else if (e.kind == Expr::Kind::Number) {
          r.sql += e.text;
        } else {
          throw DbError(textos_jet::kClass,
                        textos_jet::unsupported(textos_jet::text::kORDERBYDeUnaUNION));
        }
        if (q.orderBy[i].desc) r.sql += " DESC";
      }
    }
    return r;
  }

  // One SELECT with its TOP and ORDER BY. Inside a compound, a member that sorts or
  // cuts is wrapped so that SQLite accepts it and keeps its order.
  Result member(const SelectCore& c, bool inCompound) {
    checkGrouping(c);
    // The FROM clause is translated once: each derived table in it is met once per
    // statement, however the member is wrapped.
    const bool ranked = c.top && !c.orderBy.empty();
    Core base = core(c, ranked);
    if (c.orderBy.empty() && !c.top)
      return {std::move(base.select), std::move(base.columns), base.rows};
    std::string s;
    if (ranked) {
      if (c.distinct)
        throw DbError(textos_jet::kClass,
                      textos_jet::unsupported(textos_jet::text::kTOPConDISTINCTYORDER));
      // Jet's TOP n keeps every row that ties with the n-th one.
      std::vector<std::string> cols = ctx_.describe(base.select);
      cols.resize(cols.size() - 2);  // without jet_rank_ and jet_row_
      std::string list;
      for (std::size_t i = 0; i < cols.size(); ++i) list += (i ? ", " : "") + quoteName(cols[i]);
      s = "SELECT " + list + " FROM (" + base.select +
          ") WHERE jet_rank_ <= " + std::to_string(*c.top) + " ORDER BY jet_row_";
    } else if (c.top) {
      s = base.select + " LIMIT " + std::to_string(*c.top);
    } else {
      s = base.select + " ORDER BY " + base.keys;
    }
    return {inCompound ? "SELECT * FROM (" + s + ")" : s, std::move(base.columns), base.rows};
  }

  struct Core {
    std::string select;
    std::string keys;  // the ORDER BY keys
    Columns columns;
    std::int64_t rows = kUnknownRows;  // the rows of its largest table (-1: unknown)
  };

  // The SELECT without its ORDER BY; with `rank`, the rank of each row in the ORDER BY
  // order as two more columns (jet_rank_ with ties, jet_row_ without).
  Core core(const SelectCore& c, bool rank) {
    Scope scope(*this);
    Core out;
    std::vector<std::string> tables;
    std::vector<std::int64_t> rows;
    for (const auto& t : c.from) {
      rows.push_back(kUnknownRows);
      tables.push_back(table(*t, rows.back()));
    }
    out.rows = largest(rows);
    const std::string from =
        joined(tables, 0, tables.size(), largestFirst(rows) ? " CROSS JOIN " : ", ");

    out.columns.known = true;
    std::string items;
    std::vector<Alias> aliases;
    int exprNo = 1000;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
      const SelectItem& it = c.items[i];
      if (i) items += ", ";
      if (it.expr->kind == Expr::Kind::Star) {
        if (!it.alias.empty())
          throw DbError(textos_jet::kClass,
                        textos_jet::syntax(textos_jet::text::kAliasDe, it.expr->pos));
        items += star(*it.expr, out.columns);
        continue;
      }
      aliases_ = &aliases;
      Sql v = expr(*it.expr, Use::Value);
      aliases_ = nullptr;
      const bool field = it.expr->kind == Expr::Kind::Column && !v.column.empty();
      std::string name = it.alias;
      if (name.empty() && !field) name = "Expr" + std::to_string(exprNo++);
      out.columns.list.push_back({name.empty() ? v.column : name, v.type});
      if (!it.alias.empty()) aliases.push_back({it.alias, v});
      // A computed text compares as Jet compares texts here and wherever its column is
      // used: DISTINCT, UNION, an outer query over this one.
      std::string text = v.text;
      if (!field && !numeric(v.type)) text = "(" + text + ") COLLATE JET";
      items += text;
      if (!name.empty()) items += " AS " + quoteName(name);
    }

    for (std::size_t i = 0; i < c.orderBy.size(); ++i) {
      Sql k = expr(*c.orderBy[i].expr, Use::Value);
      if (i) out.keys += ", ";
      out.keys += k.text;
      if (!numeric(k.type)) out.keys += " COLLATE JET_GENERAL";
      if (c.orderBy[i].desc) out.keys += " DESC";
    }

    std::string& s = out.select;
    s = "SELECT ";
    if (c.distinct) s += "DISTINCT ";
    s += items;
    if (rank)
      s += ", RANK() OVER (ORDER BY " + out.keys + ") AS jet_rank_, " +
           "ROW_NUMBER() OVER (ORDER BY " + out.keys + ") AS jet_row_";
    if (!from.empty()) s += " FROM " + from;
    if (c.where) s += " WHERE " + expr(*c.where, Use::Condition).text;
    if (!c.groupBy.empty()) {
      s += " GROUP BY ";
      for (std::size_t i = 0; i < c.groupBy.size(); ++i) {
        Sql g = expr(*c.groupBy[i], Use::Value);
        s += (i ? ", " : "") + g.text;
        if (!numeric(g.type)) s += " COLLATE JET";
      }
    }
    if (c.having) s += " HAVING " + expr(*c.having, Use::Condition).text;
    return out;
  }

  // "*" or "t.*", and the columns it stands for.
  std::string star(const Expr& e, Columns& out) {
    std::string text = "*";
    for (const Source& src : *scope_) {
      if (!e.qualifier.empty()) {
        if (!sameName(src.name, e.qualifier)) continue;
        text = quoteName(src.name) + ".*";
      }
      if (!src.columns.known) out.known = false;
      out.list.insert(out.list.end(), src.columns.list.begin(), src.columns.list.end());
      if (!e.qualifier.empty()) return text;
    }
    if (!e.qualifier.empty()) {
      out.known = false;
      return quoteName(e.qualifier) + ".*";
    }
    return text;
  }

  std::int64_t rowCount(const std::string& table) const {
    return ctx_.rowCount ? ctx_.rowCount(table) : kUnknownRows;
  }

  const Columns& storedColumns(const std::string& stored) {
    auto it = tableColumns_.find(stored);
    if (it != tableColumns_.end()) return it->second;
    Columns cols;
    if (ctx_.columns) {
      cols.known = true;
      for (const ColumnInfo& c : ctx_.columns(stored))
        cols.list.push_back({c.name, typeOf(c.kind)});
    }
    return tableColumns_.emplace(stored, std::move(cols)).first->second;
  }

  // The text of a FROM item; its tables join the scope. `rows`: those of its largest table.
  std::string table(const TableRef& t, std::int64_t& rows) {
    switch (t.kind) {
      case TableRef::Kind::Table: {
        const std::string stored = ctx_.resolveTable(t.name);
        rows = rowCount(stored);
        const std::string name = t.alias.empty() ? t.name : t.alias;
        scope_->push_back({name, storedColumns(stored)});
        return quoteName(stored) + " AS " + quoteName(name);
      }
      case TableRef::Kind::Derived: {
        Result inner;
        std::string s;
        if (ctx_.derivedTable) {
          TranslateContext inlineOnly = ctx_;
          inlineOnly.derivedTable = nullptr;
          inner = Translator(inlineOnly).query(*t.query);
          const std::string kept = ctx_.derivedTable(
              inner.sql, [&] { return query(*t.query).sql; }, grouped(*t.query));
          if (!kept.empty()) {
            s = quoteName(kept) + (t.alias.empty() ? "" : " AS " + quoteName(t.alias));
            rows = rowCount(kept);
          }
        }
        if (s.empty()) {
          inner = query(*t.query);
          rows = inner.rows;
          s = "(" + inner.sql + ")";
          if (!t.alias.empty()) s += " AS " + quoteName(t.alias);
        }
        scope_->push_back({t.alias, std::move(inner.columns)});
        return s;
      }
      case TableRef::Kind::Join: {
        std::int64_t left = kUnknownRows, right = kUnknownRows;
        std::string s =
            "(" + table(*t.left, left) + " " + t.joinType + " JOIN " + table(*t.right, right);
        rows = largest({left, right});
        return s + " ON " + expr(*t.on, Use::Condition).text + ")";
      }
    }
    return {};
  }

  // A single SELECT with GROUP BY: SQLite sorts and groups all of its rows wherever the
  // query is used.
  static bool grouped(const Query& q) {
    return q.members.size() == 1 && !q.members[0].groupBy.empty();
  }

  // Jet refuses a field that is neither grouped nor inside an aggregate, in the select
  // list, HAVING and ORDER BY of a grouped query.
  void checkGrouping(const SelectCore& c) {
    bool grouped = !c.groupBy.empty();
    for (const auto& it : c.items)
      if (hasAggregate(*it.expr)) grouped = true;
    if (!grouped) return;
    std::vector<std::string> aliases;
    for (const auto& it : c.items) {
      if (it.expr->kind == Expr::Kind::Star)
        throw DbError(textos_jet::kClass, textos_jet::notAggregated("*"));
      checkColumnsGrouped(*it.expr, c, aliases);
      if (!it.alias.empty()) aliases.push_back(it.alias);
    }
    if (c.having) checkColumnsGrouped(*c.having, c, aliases);
    for (const auto& o : c.orderBy) checkColumnsGrouped(*o.expr, c, aliases);
  }

  static bool hasAggregate(const Expr& e) {
    if (e.kind == Expr::Kind::Function && isAggregate(upperName(e.text))) return true;
    for (const auto& a : e.args)
      if (hasAggregate(*a)) return true;
    return false;
  }

  // `aliases`: the aliases a field name may stand for (checked where they are defined).
  void checkColumnsGrouped(const Expr& e, const SelectCore& c,
                           const std::vector<std::string>& aliases) {
    if (e.kind == Expr::Kind::Function && isAggregate(upperName(e.text))) return;
    for (const auto& g : c.groupBy)
      if (sameExpr(*g, e)) return;
    if (e.kind == Expr::Kind::Column) {
      if (e.qualifier.empty())
        for (const auto& a : aliases)
          if (sameName(a, e.text)) return;
      throw DbError(
          textos_jet::kClass,
          textos_jet::notAggregated(e.qualifier.empty() ? e.text : e.qualifier + "." + e.text));
    }
    for (const auto& a : e.args) checkColumnsGrouped(*a, c, aliases);
  }

  static Sql asUse(Sql s, Use use) {
    if (use == Use::Value && s.type == Type::Bool) {
      s.text = "(-(" + s.text + "))";
      s.type = Type::Number;
    }
    return s;
  }

  static bool bothNumbers(const Sql& a, const Sql& b) { return numeric(a.type) && numeric(b.type); }

  static std::string collated(const Sql& a, const Sql& b) {
    return bothNumbers(a, b) ? "" : " COLLATE JET";
  }

  Sql expr(const Expr& e, Use use) { return asUse(exprRaw(e), use); }

  // A field: an earlier alias of the select list, else a field of the scope's tables
  // under its stored spelling, else the name as written.
  Sql column(const Expr& e) {
    if (e.qualifier.empty() && aliases_)
      for (const Alias& a : *aliases_)
        if (sameName(a.name, e.text)) {
          aliasBytes_ += a.value.text.size();
          if (aliasBytes_ > kAliasBytes) throw DbError(textos_jet::kClass, textos_jet::kTooLong);
          return {"(" + a.value.text + ")", a.value.type, a.value.aggregate};
        }
    std::string qualifier = e.qualifier;
    if (scope_)
      for (const Source& src : *scope_) {
        if (!e.qualifier.empty() && !sameName(src.name, e.qualifier)) continue;
        qualifier = e.qualifier.empty() ? "" : src.name;
        for (const OutColumn& col : src.columns.list)
          if (sameName(col.name, e.text))
            return {(qualifier.empty() ? "" : quoteName(qualifier) + ".") + quoteName(col.name),
                    col.type, false, col.name};
        if (!e.qualifier.empty()) break;
      }
    return {(qualifier.empty() ? "" : quoteName(qualifier) + ".") + quoteName(e.text),
            Type::Unknown, false, e.text};
  }

  Sql exprRaw(const Expr& e) {
    switch (e.kind) {
      case Expr::Kind::Number:
        return {e.text, Type::Number};
      case Expr::Kind::String:
        return {quoteString(e.text), Type::Text};
      case Expr::Kind::Date:
        return {realLiteral(e.number), Type::Date};
      case Expr::Kind::Boolean:
        return {e.number < 0 ? "-1" : "0", Type::Number};
      case Expr::Kind::Null:
        return {"NULL", Type::Null};
      case Expr::Kind::Column:
        return column(e);
      case Expr::Kind::Star:
        throw DbError(textos_jet::kClass,
                      textos_jet::syntax(textos_jet::text::kFueraDeLaListaDe, e.pos));
      case Expr::Kind::Unary: {
        if (e.op == "NOT") {
          Sql a = expr(*e.args[0], Use::Condition);
          return {"(NOT " + a.text + ")", Type::Bool, a.aggregate};
        }
        Sql a = expr(*e.args[0], Use::Value);
        if (e.op == "+") return a;
        if (numeric(a.type)) return {"(-" + a.text + ")", Type::Number, a.aggregate};
        const JetFunction& neg = jetOperator(e.op, true);
        return {call(neg, {a.text}), typeOf(neg.result), a.aggregate};
      }
      case Expr::Kind::Binary:
        return binary(e);
      case Expr::Kind::Like: {
        Sql a = expr(*e.args[0], Use::Value);
        Sql p = expr(*e.args[1], Use::Value);
        const JetFunction& like = jetOperator("LIKE");
        std::string s = call(like, {a.text, p.text});
        return {e.negated ? "(NOT " + s + ")" : s, typeOf(like.result), a.aggregate || p.aggregate};
      }
      case Expr::Kind::IsNull: {
        Sql a = expr(*e.args[0], Use::Value);
        return {"(" + a.text + (e.negated ? " IS NOT NULL)" : " IS NULL)"), Type::Bool,
                a.aggregate};
      }
      case Expr::Kind::Between: {
        Sql a = expr(*e.args[0], Use::Value);
        Sql lo = expr(*e.args[1], Use::Value);
        Sql hi = expr(*e.args[2], Use::Value);
        const bool num = bothNumbers(a, lo) && bothNumbers(a, hi);
        return {"(" + a.text + (num ? "" : " COLLATE JET") + (e.negated ? " NOT" : "") +
                    " BETWEEN " + lo.text + " AND " + hi.text + ")",
                Type::Bool, a.aggregate || lo.aggregate || hi.aggregate};
      }
      case Expr::Kind::InList: {
        Sql a = expr(*e.args[0], Use::Value);
        std::string s = "(" + a.text + " COLLATE JET" + (e.negated ? " NOT IN (" : " IN (");
        bool aggregate = a.aggregate;
        for (std::size_t i = 1; i < e.args.size(); ++i) {
          Sql v = expr(*e.args[i], Use::Value);
          aggregate = aggregate || v.aggregate;
          s += (i > 1 ? ", " : "") + v.text;
        }
        return {s + "))", Type::Bool, aggregate};
      }
      case Expr::Kind::Function:
        return function(e);
    }
    return {};
  }

  // "f = 'a' OR f = 'b' OR …" (a field against literals) as "f IN ('a', 'b', …)": one
  // term for SQLite however many keys (the PEP clause names every ticked client).
  bool orOfEqualities(const Expr& e, Sql& out) {
    const Expr* field = nullptr;
    std::vector<const Expr*> values;
    for (const auto& t : e.args) {
      if (t->kind != Expr::Kind::Binary || t->op != "=") return false;
      const Expr& l = *t->args[0];
      const Expr& r = *t->args[1];
      const Expr* f = l.kind == Expr::Kind::Column ? &l : &r;
      const Expr* v = f == &l ? &r : &l;
      if (f->kind != Expr::Kind::Column || !isLiteral(*v)) return false;
      if (field && (!sameName(field->text, f->text) || !sameName(field->qualifier, f->qualifier)))
        return false;
      field = f;
      values.push_back(v);
    }
    Sql f = expr(*field, Use::Value);
    std::vector<std::string> list;
    bool num = numeric(f.type);
    for (const Expr* v : values) {
      Sql s = expr(*v, Use::Value);
      num = num && numeric(s.type);
      list.push_back(std::move(s.text));
    }
    out = {"(" + f.text + (num ? "" : " COLLATE JET") + " IN (" +
               joined(list, 0, list.size(), ", ") + "))",
           Type::Bool, f.aggregate};
    return true;
  }

  Sql binary(const Expr& e) {
    const std::string& op = e.op;
    if (op == "AND" || op == "OR") {
      Sql in;
      if (op == "OR" && orOfEqualities(e, in)) return in;
      std::vector<std::string> terms;
      bool aggregate = false;
      for (const auto& a : e.args) {
        Sql t = expr(*a, Use::Condition);
        aggregate = aggregate || t.aggregate;
        terms.push_back(std::move(t.text));
      }
      return {associativeRun(std::move(terms), op == "AND" ? " AND " : " OR "), Type::Bool,
              aggregate};
    }
    std::vector<Sql> terms;
    for (const auto& a : e.args) terms.push_back(expr(*a, Use::Value));
    bool aggregate = false;
    for (const Sql& t : terms) aggregate = aggregate || t.aggregate;
    Sql r = terms.size() == 2 ? pair(e, terms[0], terms[1]) : chain(op, terms);
    r.aggregate = aggregate;
    return r;
  }

  // Two operands.
  Sql pair(const Expr& e, const Sql& a, const Sql& b) {
    const std::string& op = e.op;
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=")
      return {"(" + a.text + " " + op + " " + b.text + collated(a, b) + ")", Type::Bool};
    if (op == "+" && a.type == Type::Text && b.type == Type::Text)
      return {"(" + a.text + " || " + b.text + ")", Type::Text};
    if ((op == "+" || op == "-" || op == "*") && bothNumbers(a, b))
      return {"(" + a.text + " " + op + " " + b.text + ")", Type::Number};
    if (op == "/") {
      const Expr& r = *e.args[1];
      if (bothNumbers(a, b) && isNumberLiteral(r) && kv::db::strtodC(r.text.c_str(), nullptr) != 0)
        return {"(CAST(" + a.text + " AS REAL) / " + b.text + ")", Type::Number};
    }
    const JetFunction& f = jetOperator(op);
    return {call(f, {a.text, b.text}), typeOf(f.result)};
  }

  // Three or more operands, combined from the left as the pairs above would combine them.
  Sql chain(const std::string& op, const std::vector<Sql>& terms) {
    std::vector<std::string> texts;
    bool allText = true, allNumbers = true;
    for (const Sql& t : terms) {
      texts.push_back(t.text);
      allText = allText && t.type == Type::Text;
      allNumbers = allNumbers && numeric(t.type);
    }
    if (op == "+" && allText) return {associativeRun(std::move(texts), " || "), Type::Text};
    if ((op == "+" || op == "-" || op == "*") && allNumbers && texts.size() <= kFlatRun)
      return {"(" + joined(texts, 0, texts.size(), (" " + op + " ").c_str()) + ")", Type::Number};
    const JetFunction& f = jetOperator(op);
    if (f.maxArgs >= 0)
      throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kOperador + op));
    if (f.associative) return {associativeCall(std::move(texts), f.sqlName), typeOf(f.result)};
    const Type type = op == "+" && allNumbers ? Type::Number : typeOf(f.result);
    return {leftCall(texts, f.sqlName), type};
  }

  Sql function(const Expr& e) {
    const std::string name = upperName(e.text);
    const std::size_t n = e.args.size();
    auto want = [&](std::size_t lo, std::size_t hi) {
      if (n < lo || n > hi) throw DbError(textos_jet::kClass, textos_jet::wrongArgs(e.text));
    };
    auto arg = [&](std::size_t i) { return expr(*e.args[i], Use::Value); };
    if (name == "IIF") {
      want(3, 3);
      Sql c = expr(*e.args[0], Use::Condition);
      Sql a = arg(1), b = arg(2);
      // Each row has the type of its branch; a Null branch does not change it.
      Type type = a.type == b.type ? a.type : Type::Unknown;
      if (a.type == Type::Null) type = b.type;
      if (b.type == Type::Null) type = a.type;
      return {"(CASE WHEN " + c.text + " THEN " + a.text + " ELSE " + b.text + " END)", type,
              c.aggregate || a.aggregate || b.aggregate};
    }
    if (name == "ISNULL") {
      want(1, 1);
      Sql a = arg(0);
      return {"(" + a.text + " IS NULL)", Type::Bool, a.aggregate};
    }
    const JetFunction* f = findJetFunction(name);
    if (f && f->kind == JetFunction::Kind::Aggregate) {
      want(1, 1);
      if (e.args[0]->kind == Expr::Kind::Star) {
        if (name != "COUNT" || !e.args[0]->qualifier.empty())
          throw DbError(textos_jet::kClass,
                        textos_jet::syntax(textos_jet::text::kFueraDeCOUNT, e.args[0]->pos));
        return {"count(*)", Type::Number, true};
      }
      if (hasAggregate(*e.args[0]))
        throw DbError(textos_jet::kClass,
                      textos_jet::unsupported(textos_jet::text::kFuncionesDeAgregadoAnidadas));
      Sql a = arg(0);
      if (a.aggregate)
        throw DbError(textos_jet::kClass,
                      textos_jet::unsupported(textos_jet::text::kFuncionesDeAgregadoAnidadas));
      // MIN and MAX give the type of what they compare, texts compared as Jet does.
      if (name == "MIN" || name == "MAX")
        return {std::string(f->sqlName) + "(" + a.text + (numeric(a.type) ? ")" : " COLLATE JET)"),
                a.type, true};
      return {call(*f, {a.text}), typeOf(f->result), true};
    }
    if (!f) throw DbError(textos_jet::kClass, textos_jet::unknownFunction(e.text));
    want(static_cast<std::size_t>(f->minArgs), static_cast<std::size_t>(f->maxArgs));
    std::vector<std::string> args;
    bool aggregate = false;
    for (std::size_t i = 0; i < n; ++i) {
      Sql a = arg(i);
      aggregate = aggregate || a.aggregate;
      args.push_back(std::move(a.text));
    }
    return {call(*f, args), typeOf(f->result), aggregate};
  }
};

}  // namespace

std::string quoteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

Translation translate(const Statement& st, const TranslateContext& ctx) {
  return Translator(ctx).statement(st);
}

}  // namespace kv::jet
