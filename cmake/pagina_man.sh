#!/usr/bin/env bash
# pagina_man.sh PROGRAMA NOMBRE VERSION SALIDA.1.gz: the manual page (section 1) of a program,
# made from its --help text (usage, description, options, examples).
set -euo pipefail
exe=$1 nombre=$2 version=$3 salida=$4
ayuda=$("$exe" --help)
LC_ALL=C.UTF-8 awk -v nombre="$nombre" -v version="$version" '
  function roff(s) {
    gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s)
    if (s ~ /^[.'\'']/) s = "\\&" s
    return s
  }
  BEGIN { parte = "uso" }
  /^$/ { if (parte == "uso") parte = "descripcion"; next }
  /^Opciones:$/ { parte = "opciones"; print ".SH OPCIONES"; next }
  /^Ejemplos?:$/ { parte = "ejemplos"; print ".SH EJEMPLOS"; next }
  parte == "uso" {
    sub(/^(Uso: +| +)/, ""); sub("^" nombre " ?", "")
    if (!usos++) {
      print ".TH \"" toupper(nombre) "\" 1 \"\" \"" nombre " " version "\" \"Cuestionario de Operatividad\""
    }
    linea_uso[usos] = $0; next
  }
  parte == "descripcion" {
    if (!desc++) {
      resumen = $0; sub(/(\. |\.$|;|:| \().*$/, "", resumen)
      print ".SH NOMBRE"; print nombre " \\- " roff(resumen)
      print ".SH SINOPSIS"
      for (i = 1; i <= usos; ++i) { if (i > 1) print ".br"; print ".B " nombre; if (linea_uso[i] != "") print roff(linea_uso[i]) }
      print ".SH DESCRIPCIÓN"
    }
    print roff($0); next
  }
  parte == "opciones" {
    sub(/^ +/, ""); n = index($0, "  ")
    print ".TP"; print ".B " roff(substr($0, 1, n - 1))
    d = substr($0, n); sub(/^ +/, "", d); print roff(d); next
  }
  parte == "ejemplos" { sub(/^ +/, ""); print ".PP"; print ".nf"; print roff($0); print ".fi"; next }
' <<<"$ayuda" | gzip -9n >"$salida"
