#pragma once
// Conditions on a grouped derived table's keys, copied inside it.
//
//   SELECT … FROM (SELECT Fecha, … FROM … GROUP BY Fecha, …) AS t WHERE t.Fecha >= #1/1/2019#
//
// keeps the groups whose key passes; the same rows come out when the condition also filters
// the rows before they are grouped, since every row of a group has the group's key. The
// derived table then groups only the rows the statement keeps, instead of every row of
// every year (and is kept, once built, under its own text).
//
// Copied are comparisons (=, <>, <, >, <=, >=, BETWEEN) of a grouping key with a number or
// a date, where the key is a field the grouped SELECT lists under its own name; texts are
// left alone (their comparison depends on the column they are read from). The derived
// table is an item of the FROM list (beside others only joined by commas, and then the key
// is named with the table's alias), not a side of a JOIN. The outer condition stays where
// it was. A grouped SELECT with TOP is left alone.
#include "jet/sql/sql_ast.h"

namespace kv::jet {

// Copies, throughout the query, the outer conditions on grouping keys into the grouped
// derived tables they filter.
void copyKeyConditions(Query& query);

}  // namespace kv::jet
