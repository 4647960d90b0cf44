#pragma once
// Translates a parsed Jet SQL statement into SQLite SQL that gives Jet's rows when run
// on a connection prepared by installJetFunctions() (sqlite_functions.h).
//
// Jet's behaviour and how it is reproduced (one row per construct):
//
// | Jet                                           | SQLite text / function                    |
// |-----------------------------------------------|-------------------------------------------|
// | text =, <>, <, >, joins, GROUP BY, DISTINCT,  | collation JET (upper case, trailing blanks|
// |   ORDER BY ignore case and trailing blanks    |   ignored) on text columns and on every   |
// |                                               |   comparison, group key and sort key      |
// | LIKE / NOT LIKE with %, _, [list], [!list],   | jet_like(text, pattern): anchored, Unicode|
// |   case-insensitive, Null gives Null           |   case-insensitive, trailing blanks count |
// | a + b: texts concatenate, numbers add, Null   | || when both sides are texts, + when both |
// |   propagates, number + non-numeric text fails |   are numbers, else jet_add               |
// | a & b: text, Null counts as ''                | jet_concat                                |
// | a / b: always real division, b = 0 fails      | jet_div (or CAST(a AS REAL)/literal)      |
// | a \ b, a MOD b: rounded operands              | jet_intdiv, jet_mod                       |
// | IIF(c, a, b): evaluates only the chosen branch| CASE WHEN c THEN a ELSE b END             |
// | ISNULL(x): -1 / 0                             | -((x) IS NULL)                            |
// | True / False: -1 / 0; a comparison used as a  | -1 / 0; -(comparison)                     |
// |   value gives -1 / 0                          |                                           |
// | UCASE / LCASE: Unicode, one to one            | jet_ucase / jet_lcase                     |
// | STR(n): blank before a non-negative number    | jet_str                                   |
// | ROUND(x[, n]): half to even                   | jet_round                                 |
// | #m/d/y [time]#: US order, day number          | the day number as a REAL literal          |
// | TOP n with ORDER BY: ties with the n-th row   | RANK() OVER (ORDER BY …) <= n             |
// |   come too; without ORDER BY: any n rows      |   (rows kept in sort order); LIMIT n      |
// | UNION ALL: members' rows in member order; a   | members with TOP/ORDER BY wrapped as      |
// |   member may carry TOP and ORDER BY           |   SELECT * FROM (…)                       |
// | expression without alias named Expr1000, …   | AS "Expr1000", …                          |
// | a field neither grouped nor aggregated fails  | checked before translation                |
// | table names ignore case                       | resolved by the caller to the stored name |
// | field names ignore case, accented letters too | resolved to the stored spelling           |
// | ORDER BY on text: General sort order (accented| collation JET_GENERAL (jet_text.h)        |
// |   letters with their base letter)             |                                           |
// | GROUP BY an expression, the same expression   | the grouping check compares expressions   |
// |   in the select list, HAVING and ORDER BY     |                                           |
// | a select alias used later in the same list    | the earlier item's SQL in its place       |
// | dates stay dates through MIN, MAX and IIF     | types followed through the statement;     |
// |                                               |   date columns of the result reported     |
// | long AND / OR chains                          | flat runs; "c = 'a' OR c = 'b' …" becomes |
// |                                               |   c IN ('a', 'b', …)                      |
// | long +, -, *, & … chains                      | flat runs or jet_* calls over many        |
// |                                               |   operands, left to right                 |
//
// The parser bounds the depth of the tree, so the recursion here is bounded too.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "jet/sql/sql_ast.h"
#include "jet/table_source.h"

namespace kv::jet {

struct TranslateContext {
  // Stored name of a table as written in the statement; throws when unknown.
  std::function<std::string(const std::string&)> resolveTable;
  // Column names of an SQLite SELECT (needed to hide helper columns of TOP).
  std::function<std::vector<std::string>(const std::string&)> describe;
  // Optional: the name of a table holding the rows of a derived table, or "" to keep
  // the subquery inline. `key` is the derived table's text with every subquery inline;
  // `build` gives its text reading other kept tables (what fills a new table); `grouped`
  // says it groups its rows, so SQLite computes all of them even when it is inline.
  std::function<std::string(const std::string& key, const std::function<std::string()>& build,
                            bool grouped)>
      derivedTable;
  // Optional: the columns of a stored table (to know field spellings and types).
  std::function<std::vector<ColumnInfo>(const std::string& stored)> columns;
  // Optional: the rows of a stored or kept table, or -1 when not known (a FROM list whose
  // first table is the largest is then joined in its written order).
  std::function<std::int64_t(const std::string& table)> rowCount;
};

struct Translation {
  std::string sql;
  // For each column of the result, whether it holds dates; empty when the columns are
  // not all known (then only the declared types tell).
  std::vector<bool> dateColumns;
};

Translation translate(const Statement& st, const TranslateContext& ctx);

// SQLite quoting of a name: "na""me".
std::string quoteName(const std::string& name);

}  // namespace kv::jet
