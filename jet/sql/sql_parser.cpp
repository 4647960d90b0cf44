#include "jet/sql/sql_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "data/db/error.h"
#include "jet/mdb/jet4_format.h"
#include "jet/textos.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

enum class Tok { Word, Quoted, Number, String, Date, Symbol, End };

struct Token {
  Tok type;
  std::string text;   // Word: upper-cased ASCII copy in `upper`; Symbol: the symbol
  std::string upper;  // Word only
  std::size_t pos;
};

// Words that cannot be names unless written in brackets.
const std::set<std::string> kReserved = {
    "SELECT",  "FROM",   "WHERE",    "GROUP",       "BY",       "ORDER",     "HAVING",
    "UNION",   "ALL",    "DISTINCT", "DISTINCTROW", "TOP",      "AS",        "AND",
    "OR",      "NOT",    "LIKE",     "IS",          "NULL",     "IN",        "BETWEEN",
    "INNER",   "LEFT",   "RIGHT",    "OUTER",       "JOIN",     "ON",        "TRUE",
    "FALSE",   "DESC",   "ASC",      "DELETE",      "TRUNCATE", "TABLE",     "MOD",
    "PERCENT", "INTO",   "INSERT",   "UPDATE",      "SET",      "XOR",       "EQV",
    "IMP",     "EXISTS", "VALUES",   "TRANSFORM",   "PIVOT",    "PARAMETERS"};

bool isWordStart(unsigned char c) {
  return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool isWordChar(unsigned char c) {
  return std::isalnum(c) || c == '_' || c >= 0x80;
}

std::string upperAscii(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

[[noreturn]] void fail(const std::string& detail, std::size_t pos) {
  throw DbError(textos_jet::kClass, textos_jet::syntax(detail, pos));
}

std::vector<Token> tokenize(const std::string& s) {
  std::vector<Token> out;
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (std::isspace(c)) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    if (isWordStart(c)) {
      while (i < n && isWordChar(static_cast<unsigned char>(s[i]))) ++i;
      std::string w = s.substr(start, i - start);
      out.push_back({Tok::Word, w, upperAscii(w), start});
    } else if (c == '[') {
      const std::size_t close = s.find(']', i + 1);
      if (close == std::string::npos) fail(textos_jet::text::kFalta, start);
      std::string w = s.substr(i + 1, close - i - 1);
      if (w.empty()) fail(textos_jet::text::kNombreVacioEntreCorchetes, start);
      i = close + 1;
      out.push_back({Tok::Quoted, w, {}, start});
    } else if (std::isdigit(c) ||
               (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
      while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
      if (i < n && s[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
      }
      if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) {
          i = j;
          while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        }
      }
      if (i < n && isWordStart(static_cast<unsigned char>(s[i])))
        fail(textos_jet::text::kNumeroMalFormado, start);
      out.push_back({Tok::Number, s.substr(start, i - start), {}, start});
    } else if (c == '\'' || c == '"') {
      const char q = static_cast<char>(c);
      std::string v;
      ++i;
      bool closed = false;
      while (i < n) {
        if (s[i] == q) {
          if (i + 1 < n && s[i + 1] == q) {
            v += q;
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        v += s[i++];
      }
      if (!closed) fail(textos_jet::text::kTextoSinCerrar, start);
      out.push_back({Tok::String, v, {}, start});
    } else if (c == '#') {
      const std::size_t close = s.find('#', i + 1);
      if (close == std::string::npos) fail(textos_jet::text::kFechaSinCerrar, start);
      out.push_back({Tok::Date, s.substr(i + 1, close - i - 1), {}, start});
      i = close + 1;
    } else {
      static const char* const two[] = {"<>", "<=", ">=", "!="};
      std::string sym;
      for (const char* t : two)
        if (s.compare(i, 2, t) == 0) sym = t;
      if (sym.empty()) {
        if (std::string("=<>+-*/\\&(),.;").find(static_cast<char>(c)) == std::string::npos)
          fail(std::string(textos_jet::text::kCaracterInesperado) + s[i] + "'", start);
        sym = std::string(1, static_cast<char>(c));
      }
      if (sym == "!=") fail(textos_jet::text::kOperadorUse, start);
      i += sym.size();
      out.push_back({Tok::Symbol, sym, {}, start});
    }
  }
  out.push_back({Tok::End, {}, {}, n});
  return out;
}

constexpr int kMaxDepth = 400;

class Parser {
 public:
  explicit Parser(const std::string& sql) : toks_(tokenize(sql)) {}

  Statement statement() {
    Statement st;
    if (isKw("DELETE")) {
      next();
      expectKw("FROM");
      st.kind = Statement::Kind::Delete;
      st.table = name(textos_jet::text::kNombreDeTabla);
      if (acceptKw("WHERE")) st.where = expr();
    } else if (isKw("TRUNCATE")) {
      next();
      expectKw("TABLE");
      st.kind = Statement::Kind::Truncate;
      st.table = name(textos_jet::text::kNombreDeTabla);
    } else if (isKw("SELECT")) {
      st.kind = Statement::Kind::Select;
      st.query = query();
    } else {
      fail(textos_jet::text::kSeEsperabaSELECTDELETEO, cur().pos);
    }
    acceptSym(";");
    if (cur().type != Tok::End)
      fail(textos_jet::text::kTextoSobrante + cur().text + "'", cur().pos);
    return st;
  }

 private:
  std::vector<Token> toks_;
  std::size_t p_ = 0;
  int depth_ = 0;

  struct DepthGuard {
    explicit DepthGuard(Parser& p) : parser(p) { parser.deeper(); }
    ~DepthGuard() { --parser.depth_; }
    Parser& parser;
  };
  // Counts the levels a loop adds to the tree by wrapping what it has built so far
  // ("a = b = c", "a + b - c"): they count against the same limit as nesting.
  struct LoopDepth {
    explicit LoopDepth(Parser& p) : parser(p) {}
    ~LoopDepth() { parser.depth_ -= levels; }
    void wrap() {
      parser.deeper();
      ++levels;
    }
    Parser& parser;
    int levels = 0;
  };
  void deeper() {
    if (++depth_ > kMaxDepth) throw DbError(textos_jet::kClass, textos_jet::kTooLong);
  }

  const Token& cur() const { return toks_[p_]; }
  const Token& peek(std::size_t k = 1) const { return toks_[std::min(p_ + k, toks_.size() - 1)]; }
  void next() {
    if (p_ + 1 < toks_.size()) ++p_;
  }
  bool isKw(const char* kw) const { return cur().type == Tok::Word && cur().upper == kw; }
  bool isKwAt(std::size_t k, const char* kw) const {
    return peek(k).type == Tok::Word && peek(k).upper == kw;
  }
  bool acceptKw(const char* kw) {
    if (!isKw(kw)) return false;
    next();
    return true;
  }
  void expectKw(const char* kw) {
    if (!acceptKw(kw)) fail(std::string(textos_jet::text::kSeEsperaba) + kw, cur().pos);
  }
  bool isSym(const char* s) const { return cur().type == Tok::Symbol && cur().text == s; }
  bool acceptSym(const char* s) {
    if (!isSym(s)) return false;
    next();
    return true;
  }
  void expectSym(const char* s) {
    if (!acceptSym(s)) fail(std::string(textos_jet::text::kSeEsperaba2) + s + "'", cur().pos);
  }
  bool isName() const {
    return cur().type == Tok::Quoted ||
           (cur().type == Tok::Word && kReserved.count(cur().upper) == 0);
  }
  std::string name(const char* what) {
    if (!isName()) fail(std::string(textos_jet::text::kSeEsperaba) + what, cur().pos);
    std::string n = cur().text;
    next();
    return n;
  }

  std::unique_ptr<Query> query() {
    DepthGuard g(*this);
    auto q = std::make_unique<Query>();
    q->members.push_back(core());
    while (acceptKw("UNION")) {
      q->unionAll.push_back(acceptKw("ALL"));
      q->members.push_back(core());
    }
    if (q->members.size() > 1) {
      // The ORDER BY after the last member sorts the whole union.
      auto& last = q->members.back();
      q->orderBy = std::move(last.orderBy);
      last.orderBy.clear();
      if (last.top)
        throw DbError(textos_jet::kClass,
                      textos_jet::unsupported(textos_jet::text::kTOPEnElUltimoMiembro));
    }
    return q;
  }

  SelectCore core() {
    SelectCore c;
    expectKw("SELECT");
    if (acceptKw("DISTINCT")) {
      c.distinct = true;
    } else if (isKw("DISTINCTROW")) {
      throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kDISTINCTROW));
    } else {
      acceptKw("ALL");
    }
    if (acceptKw("TOP")) {
      if (cur().type != Tok::Number ||
          cur().text.find_first_not_of("0123456789") != std::string::npos)
        fail(textos_jet::text::kTOPNecesitaUnNumeroEntero, cur().pos);
      const std::size_t at = cur().pos;
      c.top = std::strtoll(cur().text.c_str(), nullptr, 10);
      if (*c.top <= 0) fail(textos_jet::text::kTOPNecesitaUnNumeroMayor, at);
      next();
      if (isKw("PERCENT"))
        throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kTOPPERCENT));
    }
    do {
      SelectItem item;
      item.expr = expr();
      if (acceptKw("AS")) item.alias = name(textos_jet::text::kAlias);
      c.items.push_back(std::move(item));
    } while (acceptSym(","));
    if (isKw("INTO"))
      throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kSELECTINTO));
    if (acceptKw("FROM")) {
      do {
        c.from.push_back(joinedTable());
      } while (acceptSym(","));
    }
    if (acceptKw("WHERE")) c.where = expr();
    if (acceptKw("GROUP")) {
      expectKw("BY");
      do {
        c.groupBy.push_back(expr());
      } while (acceptSym(","));
    }
    if (acceptKw("HAVING")) c.having = expr();
    if (acceptKw("ORDER")) {
      expectKw("BY");
      do {
        OrderItem o;
        o.expr = expr();
        if (acceptKw("DESC"))
          o.desc = true;
        else
          acceptKw("ASC");
        c.orderBy.push_back(std::move(o));
      } while (acceptSym(","));
    }
    return c;
  }

  TableRefPtr joinedTable() {
    DepthGuard g(*this);
    TableRefPtr left = tablePrimary();
    for (;;) {
      std::string type;
      if (isKw("INNER") && isKwAt(1, "JOIN")) {
        type = "INNER";
      } else if ((isKw("LEFT") || isKw("RIGHT")) &&
                 (isKwAt(1, "JOIN") || (isKwAt(1, "OUTER") && isKwAt(2, "JOIN")))) {
        type = cur().upper;
      } else if (isKw("JOIN")) {
        fail(textos_jet::text::kJOINSinINNERLEFTO, cur().pos);
      } else {
        break;
      }
      while (!isKw("JOIN")) next();
      next();
      auto j = std::make_unique<TableRef>();
      j->kind = TableRef::Kind::Join;
      j->joinType = type;
      j->left = std::move(left);
      j->right = tablePrimary();
      expectKw("ON");
      j->on = expr();
      left = std::move(j);
    }
    return left;
  }

  TableRefPtr tablePrimary() {
    DepthGuard g(*this);
    auto t = std::make_unique<TableRef>();
    if (acceptSym("(")) {
      if (isKw("SELECT")) {
        t->kind = TableRef::Kind::Derived;
        t->query = query();
        expectSym(")");
      } else {
        // Parenthesised join: (a INNER JOIN b ON …)
        t = joinedTable();
        expectSym(")");
        return t;
      }
    } else {
      t->kind = TableRef::Kind::Table;
      t->name = name(textos_jet::text::kNombreDeTabla);
    }
    if (acceptKw("AS"))
      t->alias = name(textos_jet::text::kAlias);
    else if (isName())
      t->alias = name(textos_jet::text::kAlias);
    return t;
  }

  // A literal beyond a Double's range ("1e999") is Jet's overflow, not infinity. One
  // too small for a Double reads as 0, as before.
  static void checkNumberRange(const Token& t) {
    double value = 0;
    const char* end = t.text.data() + t.text.size();
    const auto [ptr, ec] = std::from_chars(t.text.data(), end, value);
    if (ec != std::errc::result_out_of_range) return;
    const auto e = t.text.find_first_of("eE");
    if (e != std::string::npos && e + 1 < t.text.size() && t.text[e + 1] == '-') return;
    throw DbError(textos_jet::kClass, textos_jet::kOverflow);
  }

  ExprPtr make(Expr::Kind k, std::size_t pos) {
    auto e = std::make_unique<Expr>();
    e->kind = k;
    e->pos = pos;
    return e;
  }
  ExprPtr binary(const std::string& op, ExprPtr a, ExprPtr b, std::size_t pos) {
    auto e = make(Expr::Kind::Binary, pos);
    e->op = op;
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    return e;
  }
  // Adds `b` to the chain `a` when `a` already combines operands with `op` (all these
  // operators group from the left, so "(a + b) + c" is "a + b + c"); otherwise makes a
  // new node over `a`, one level deeper.
  ExprPtr chain(const std::string& op, ExprPtr a, ExprPtr b, std::size_t pos, LoopDepth& depth) {
    if (a->kind == Expr::Kind::Binary && a->op == op) {
      a->args.push_back(std::move(b));
      return a;
    }
    depth.wrap();
    return binary(op, std::move(a), std::move(b), pos);
  }

  ExprPtr expr() {
    DepthGuard g(*this);
    return orExpr();
  }
  ExprPtr orExpr() {
    LoopDepth depth(*this);
    ExprPtr e = andExpr();
    while (isKw("OR")) {
      const std::size_t pos = cur().pos;
      next();
      e = chain("OR", std::move(e), andExpr(), pos, depth);
    }
    if (isKw("XOR") || isKw("EQV") || isKw("IMP"))
      throw DbError(textos_jet::kClass, textos_jet::unsupported(cur().upper));
    return e;
  }
  ExprPtr andExpr() {
    LoopDepth depth(*this);
    ExprPtr e = notExpr();
    while (isKw("AND")) {
      const std::size_t pos = cur().pos;
      next();
      e = chain("AND", std::move(e), notExpr(), pos, depth);
    }
    return e;
  }
  ExprPtr notExpr() {
    if (isKw("NOT")) {
      DepthGuard g(*this);
      auto e = make(Expr::Kind::Unary, cur().pos);
      next();
      e->op = "NOT";
      e->args.push_back(notExpr());
      return e;
    }
    return comparison();
  }
  ExprPtr comparison() {
    LoopDepth depth(*this);
    ExprPtr e = concat();
    for (;;) {
      const std::size_t pos = cur().pos;
      const bool symbol = cur().type == Tok::Symbol &&
                          (cur().text == "=" || cur().text == "<>" || cur().text == "<" ||
                           cur().text == ">" || cur().text == "<=" || cur().text == ">=");
      if (!symbol && !isKw("NOT") && !isKw("LIKE") && !isKw("BETWEEN") && !isKw("IN") &&
          !isKw("IS"))
        return e;
      depth.wrap();  // each comparison wraps what came before it
      if (symbol) {
        std::string op = cur().text;
        next();
        e = binary(op, std::move(e), concat(), pos);
        continue;
      }
      bool negated = false;
      if (isKw("NOT") && (isKwAt(1, "LIKE") || isKwAt(1, "BETWEEN") || isKwAt(1, "IN"))) {
        negated = true;
        next();
      }
      if (acceptKw("LIKE")) {
        auto l = make(Expr::Kind::Like, pos);
        l->negated = negated;
        l->args.push_back(std::move(e));
        l->args.push_back(concat());
        e = std::move(l);
      } else if (acceptKw("BETWEEN")) {
        auto b = make(Expr::Kind::Between, pos);
        b->negated = negated;
        b->args.push_back(std::move(e));
        b->args.push_back(concat());
        expectKw("AND");
        b->args.push_back(concat());
        e = std::move(b);
      } else if (acceptKw("IN")) {
        auto in = make(Expr::Kind::InList, pos);
        in->negated = negated;
        in->args.push_back(std::move(e));
        expectSym("(");
        if (isKw("SELECT"))
          throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kINSELECT));
        do {
          in->args.push_back(concat());
        } while (acceptSym(","));
        expectSym(")");
        e = std::move(in);
      } else if (negated) {
        fail(textos_jet::text::kSeEsperabaLIKEBETWEENO, cur().pos);
      } else if (acceptKw("IS")) {
        auto n = make(Expr::Kind::IsNull, pos);
        n->negated = acceptKw("NOT");
        expectKw("NULL");
        n->args.push_back(std::move(e));
        e = std::move(n);
      } else {
        return e;
      }
    }
  }
  // Binary operators from the loosest to the tightest level, all left-associative.
  static constexpr const char* kArithLevels[][2] = {
      {"&", nullptr}, {"+", "-"}, {"MOD", nullptr}, {"\\", nullptr}, {"*", "/"}};
  static constexpr int kArithCount = 5;

  ExprPtr concat() { return arith(0); }
  ExprPtr arith(int level) {
    if (level == kArithCount) return unary();
    LoopDepth depth(*this);
    ExprPtr e = arith(level + 1);
    for (;;) {
      const char* op = nullptr;
      for (const char* candidate : kArithLevels[level])
        if (candidate && (std::string(candidate) == "MOD" ? isKw("MOD") : isSym(candidate)))
          op = candidate;
      if (!op) return e;
      const std::size_t pos = cur().pos;
      next();
      e = chain(op, std::move(e), arith(level + 1), pos, depth);
    }
  }
  ExprPtr unary() {
    if (isSym("-") || isSym("+")) {
      DepthGuard g(*this);
      auto e = make(Expr::Kind::Unary, cur().pos);
      e->op = cur().text;
      next();
      e->args.push_back(unary());
      return e;
    }
    return primary();
  }
  ExprPtr primary() {
    DepthGuard g(*this);
    const Token& t = cur();
    const std::size_t pos = t.pos;
    switch (t.type) {
      case Tok::Number: {
        checkNumberRange(t);
        auto e = make(Expr::Kind::Number, pos);
        e->text = t.text;
        next();
        return e;
      }
      case Tok::String: {
        auto e = make(Expr::Kind::String, pos);
        e->text = t.text;
        next();
        return e;
      }
      case Tok::Date: {
        auto e = make(Expr::Kind::Date, pos);
        e->text = t.text;
        e->number = parseDateLiteral(t.text);
        next();
        return e;
      }
      case Tok::Symbol:
        if (t.text == "(") {
          next();
          if (isKw("SELECT"))
            throw DbError(textos_jet::kClass,
                          textos_jet::unsupported(textos_jet::text::kSubconsultasEscalares));
          ExprPtr e = expr();
          expectSym(")");
          return e;
        }
        if (t.text == "*") {
          next();
          return make(Expr::Kind::Star, pos);
        }
        fail(textos_jet::text::kSeEsperabaUnaExpresion, pos);
      case Tok::End:
        fail(textos_jet::text::kLaInstruccionTerminaAntesDe, pos);
      case Tok::Word:
        if (t.upper == "TRUE" || t.upper == "FALSE") {
          auto e = make(Expr::Kind::Boolean, pos);
          e->number = t.upper == "TRUE" ? -1 : 0;
          next();
          return e;
        }
        if (t.upper == "NULL") {
          next();
          return make(Expr::Kind::Null, pos);
        }
        if (t.upper == "EXISTS")
          throw DbError(textos_jet::kClass, textos_jet::unsupported(textos_jet::text::kEXISTS));
        if (kReserved.count(t.upper)) fail(textos_jet::text::kPalabraReservada + t.text + "'", pos);
        [[fallthrough]];
      case Tok::Quoted: {
        std::string first = t.text;
        const bool bare = t.type == Tok::Word;
        next();
        if (bare && isSym("(")) {
          next();
          auto f = make(Expr::Kind::Function, pos);
          f->text = first;
          if (!isSym(")")) {
            if (isKw("DISTINCT"))
              throw DbError(textos_jet::kClass,
                            textos_jet::unsupported(textos_jet::text::kDISTINCTDentroDeUnaFuncion));
            do {
              f->args.push_back(expr());
            } while (acceptSym(","));
          }
          expectSym(")");
          return f;
        }
        if (acceptSym(".")) {
          if (acceptSym("*")) {
            auto s = make(Expr::Kind::Star, pos);
            s->qualifier = first;
            return s;
          }
          auto c = make(Expr::Kind::Column, pos);
          c->qualifier = first;
          c->text = name(textos_jet::text::kNombreDeCampo);
          if (isSym("."))
            throw DbError(textos_jet::kClass,
                          textos_jet::unsupported(textos_jet::text::kNombresConTresPartes));
          return c;
        }
        auto c = make(Expr::Kind::Column, pos);
        c->text = first;
        return c;
      }
    }
    fail(textos_jet::text::kSeEsperabaUnaExpresion, pos);
  }
};

}  // namespace

double parseDateLiteral(const std::string& body) {
  // Accepts m/d/y or m-d-y (US order), y-m-d, and an optional time hh:nn[:ss] [AM|PM].
  std::vector<std::string> parts;
  std::string cur;
  std::vector<char> seps;
  std::size_t i = 0;
  const std::size_t n = body.size();
  while (i < n && body[i] == ' ') ++i;
  std::size_t dateEnd = body.find(' ', i);
  std::string datePart =
      body.substr(i, dateEnd == std::string::npos ? std::string::npos : dateEnd - i);
  std::string timePart = dateEnd == std::string::npos ? "" : body.substr(dateEnd);
  auto bad = [&]() -> double { throw DbError(textos_jet::kClass, textos_jet::invalidDate(body)); };
  auto number = [&](const std::string& s) {
    if (s.empty() || s.size() > 4 || s.find_first_not_of("0123456789") != std::string::npos) bad();
    return std::atoi(s.c_str());
  };
  for (char c : datePart) {
    if (c == '/' || c == '-') {
      parts.push_back(cur);
      seps.push_back(c);
      cur.clear();
    } else {
      cur += c;
    }
  }
  parts.push_back(cur);
  if (parts.size() != 3) bad();
  int y, m, d;
  if (parts[0].size() == 4) {
    y = number(parts[0]);
    m = number(parts[1]);
    d = number(parts[2]);
  } else {
    m = number(parts[0]);
    d = number(parts[1]);
    y = number(parts[2]);
    if (parts[2].size() <= 2) y += y < 30 ? 2000 : 1900;
  }
  if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) bad();
  if (d > jet4::daysInMonth(y, m)) bad();
  const std::int64_t day = jet4::dayNumber(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
  double days = static_cast<double>(day);
  // Time of day.
  std::string t;
  for (char c : timePart)
    if (c != ' ') t += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (!t.empty()) {
    bool pm = false, am = false;
    if (t.size() > 2 && (t.ends_with("AM") || t.ends_with("PM"))) {
      pm = t.ends_with("PM");
      am = !pm;
      t.resize(t.size() - 2);
    }
    std::vector<std::string> tp;
    std::string piece;
    for (char c : t) {
      if (c == ':') {
        tp.push_back(piece);
        piece.clear();
      } else {
        piece += c;
      }
    }
    tp.push_back(piece);
    if (tp.size() < 2 || tp.size() > 3) bad();
    int hh = number(tp[0]), mi = number(tp[1]), ss = tp.size() == 3 ? number(tp[2]) : 0;
    if ((am || pm) && (hh < 1 || hh > 12)) bad();
    if (pm && hh != 12) hh += 12;
    if (am && hh == 12) hh = 0;
    if (hh > 23 || mi > 59 || ss > 59) bad();
    days = jet4::dateTime(day, hh * 3600 + mi * 60 + ss);
  }
  return days;
}

Statement parseStatement(const std::string& sql) {
  return Parser(sql).statement();
}

}  // namespace kv::jet
