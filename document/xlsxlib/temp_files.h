#pragma once
// Where libxlsxwriter keeps a workbook's sheets until it closes: utility.c is compiled with
// the C library's tmpfile() renamed to this function (third_party/libxlsxwriter).
#include <cstdio>

extern "C" {
// An unnamed temporary file, open for reading and writing, removed when closed: in the
// folder the environment names in TMP, TEMP or TMPDIR (the first one set), else in /tmp.
// A workbook of a year of operations keeps a few hundred MB there while it is written.
// Null when no file could be made, errno saying why.
FILE* kv_tmpfile(void);
}
