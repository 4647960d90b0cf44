#include "jet/sql/key_conditions.h"

#include <string_view>

#include "jet/sql/jet_text.h"

namespace kv::jet {

namespace {

ExprPtr clone(const Expr& e) {
  auto c = std::make_unique<Expr>();
  c->kind = e.kind;
  c->text = e.text;
  c->qualifier = e.qualifier;
  c->op = e.op;
  c->number = e.number;
  c->negated = e.negated;
  c->pos = e.pos;
  for (const auto& a : e.args) c->args.push_back(clone(*a));
  return c;
}

bool isComparison(const std::string& op) {
  for (std::string_view o : {"=", "<>", "<", ">", "<=", ">="})
    if (op == o) return true;
  return false;
}

bool numberOrDate(const Expr& e) {
  return e.kind == Expr::Kind::Number || e.kind == Expr::Kind::Date;
}

// The grouped SELECT's field that the outer column `c` reads, when it is a grouping key
// listed under its own name; nullptr otherwise.
const Expr* groupKey(const Expr& c, const std::string& alias, bool qualified,
                     const SelectCore& grouped) {
  if (c.kind != Expr::Kind::Column) return nullptr;
  if (qualified && c.qualifier.empty()) return nullptr;
  if (!c.qualifier.empty() && (alias.empty() || !sameName(c.qualifier, alias))) return nullptr;
  const Expr* field = nullptr;
  for (const SelectItem& item : grouped.items) {
    if (!item.expr) continue;
    const bool column = item.expr->kind == Expr::Kind::Column;
    const std::string& name = item.alias.empty() && column ? item.expr->text : item.alias;
    if (!sameName(name, c.text)) continue;
    // Listed twice, or as something else than the field itself: left alone.
    if (field || !column || !sameName(item.expr->text, c.text)) return nullptr;
    field = item.expr.get();
  }
  if (!field) return nullptr;
  for (const ExprPtr& k : grouped.groupBy)
    if (k && k->kind == Expr::Kind::Column && sameName(k->text, field->text) &&
        sameName(k->qualifier, field->qualifier))
      return field;
  return nullptr;
}

// The condition `e` rewritten to read the grouped SELECT's own field, when it is one that
// may be copied inside; nullptr otherwise.
ExprPtr inside(const Expr& e, const std::string& alias, bool qualified, const SelectCore& grouped) {
  const bool compare = e.kind == Expr::Kind::Binary && isComparison(e.op) && e.args.size() == 2;
  const bool between = e.kind == Expr::Kind::Between && e.args.size() == 3;
  if (!compare && !between) return nullptr;
  // The key on either side of a comparison; BETWEEN's first operand.
  std::size_t keyArg = 0;
  const Expr* field = groupKey(*e.args[0], alias, qualified, grouped);
  if (!field && compare) {
    keyArg = 1;
    field = groupKey(*e.args[1], alias, qualified, grouped);
  }
  if (!field) return nullptr;
  for (std::size_t i = 0; i < e.args.size(); ++i)
    if (i != keyArg && !numberOrDate(*e.args[i])) return nullptr;
  ExprPtr c = clone(e);
  c->args[keyArg] = clone(*field);
  return c;
}

void andInto(ExprPtr& where, ExprPtr condition) {
  if (!where) {
    where = std::move(condition);
    return;
  }
  if (where->kind != Expr::Kind::Binary || where->op != "AND") {
    auto both = std::make_unique<Expr>();
    both->kind = Expr::Kind::Binary;
    both->op = "AND";
    both->pos = where->pos;
    both->args.push_back(std::move(where));
    where = std::move(both);
  }
  where->args.push_back(std::move(condition));
}

// Into each grouped derived table of the FROM list (joined by commas, that is, filtered
// by the WHERE clause). With other tables beside it, a key must be named with its alias.
void copyInto(SelectCore& core) {
  if (!core.where) return;
  const Expr& w = *core.where;
  const bool chain = w.kind == Expr::Kind::Binary && w.op == "AND";
  for (TableRefPtr& from : core.from) {
    TableRef& t = *from;
    if (t.kind != TableRef::Kind::Derived || !t.query || t.query->members.size() != 1) continue;
    if (core.from.size() > 1 && t.alias.empty()) continue;
    SelectCore& grouped = t.query->members[0];
    if (grouped.groupBy.empty() || grouped.top) continue;
    const bool qualified = core.from.size() > 1;
    auto copy = [&](const Expr& term) {
      if (ExprPtr c = inside(term, t.alias, qualified, grouped))
        andInto(grouped.where, std::move(c));
    };
    if (!chain) {
      copy(w);
    } else {
      for (const ExprPtr& term : w.args) copy(*term);
    }
  }
}

void walk(TableRef& t) {
  if (t.kind == TableRef::Kind::Derived && t.query) copyKeyConditions(*t.query);
  if (t.left) walk(*t.left);
  if (t.right) walk(*t.right);
}

}  // namespace

void copyKeyConditions(Query& query) {
  for (SelectCore& core : query.members) {
    copyInto(core);
    for (TableRefPtr& t : core.from)
      if (t) walk(*t);
  }
}

}  // namespace kv::jet
