#pragma once
// Tokenizer and recursive-descent parser of the Jet SQL the system writes.
// Anything outside the grammar fails with a DbError ("EJetError"), never a guess.
#include <string>

#include "jet/sql/sql_ast.h"

namespace kv::jet {

Statement parseStatement(const std::string& sql);

// Jet day number of a #…# literal body (m/d/y US order, or y-m-d, optional time).
// Throws DbError on an impossible date.
double parseDateLiteral(const std::string& body);

}  // namespace kv::jet
