#!/usr/bin/env bash
# revisa_paquete.sh SOURCES BUILD: builds the package with scripts/paquete in BUILD (lintian
# included) and checks what it installs, its menu entry and its control fields; Depends must
# name the package of every shared library the programs load, found here independently of
# dpkg-shlibdeps.
set -uo pipefail
src=$1 build=$2
for p in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$p" >/dev/null 2>&1 || { echo "sin $p: se omite"; exit 77; }
done

fallas=0
falla() { echo "FALLA: $*"; fallas=$((fallas + 1)); }

# lintian, when present, fails the build of the package on any error it finds.
opciones=(--sin-instalar)
command -v lintian >/dev/null 2>&1 || opciones+=(--sin-lintian)
deb=$("$src/scripts/paquete" "${opciones[@]}" "$build" | tail -n 1)
[[ -f "$deb" ]] || { echo "scripts/paquete no dejó el paquete: $deb"; exit 1; }
echo "paquete: $deb"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp/raiz"
campo() { dpkg-deb -f "$deb" "$1"; }

# Control fields.
[[ $(campo Package) == cuestionario-operatividad ]] || falla "Package: $(campo Package)"
[[ $(campo Version) == 1.0.0 ]] || falla "Version: $(campo Version)"
[[ $(campo Architecture) == $(dpkg --print-architecture) ]] || falla "Architecture: $(campo Architecture)"
[[ $(campo Section) == misc && $(campo Priority) == optional ]] || falla "Section/Priority"
[[ $(campo Maintainer) == *"<"*"@"*">" ]] || falla "Maintainer: $(campo Maintainer)"
[[ $(campo Description | head -n 1) == "Cuestionario de Operatividad CNBV (Encuesta SITI 2020) para centros cambiarios" ]] ||
  falla "Description: $(campo Description | head -n 1)"
[[ $(campo Description | wc -l) -ge 4 ]] || falla "Description sin descripción larga"

# Depends as a list of alternatives, one per line, versions dropped.
depends=$(campo Depends | tr ',' '\n' | sed -E 's/\([^)]*\)//g; s/[[:space:]]+/ /g; s/^ //; s/ $//')
tiene_dep() { grep -qxF -- "$1" <<<"$depends"; }
for d in "libreoffice-writer-nogui | libreoffice-writer" fonts-crosextra-carlito \
  fonts-dejavu-extra fonts-wine tdsodbc xdg-utils; do
  tiene_dep "$d" || falla "Depends sin \"$d\": $(campo Depends)"
done

# Every program, executable, answering --version from the unpacked package.
for p in cuestionario-operatividad respuestas jetsql kavori-demo mdbwrite; do
  exe="$tmp/raiz/usr/bin/$p"
  if [[ ! -x "$exe" ]]; then
    falla "falta /usr/bin/$p"
    continue
  fi
  [[ $(stat -c %a "$exe") == 755 ]] || falla "/usr/bin/$p con permisos $(stat -c %a "$exe")"
  v=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$exe" --version 2>&1)
  [[ "$v" == "$p 1.0.0" ]] || falla "$p --version: $v"
  man="$tmp/raiz/usr/share/man/man1/$p.1.gz"
  if [[ ! -f "$man" ]]; then
    falla "falta la página de manual de $p"
  elif ! zcat "$man" | grep -qF "$p \\- "; then
    falla "la página de manual de $p no tiene su línea NOMBRE"
  elif ! zcat "$man" | grep -qx ".B $p"; then
    falla "la página de manual de $p no tiene su sinopsis"
  fi
done

# Each shared library a program loads comes from a package that Depends names.
programas=$(find "$tmp/raiz/usr" -type f -perm -u+x)
sonames=$(for e in $programas; do objdump -p "$e" | awk '$1 == "NEEDED" { print $2 }'; done | sort -u)
[[ -n "$sonames" ]] || falla "los programas no cargan bibliotecas compartidas"
for so in $sonames; do
  ruta=$(ldconfig -p | awk -v so="$so" '$1 == so && /x86-64|x86_64/ { print $NF; exit }')
  [[ -n "$ruta" ]] || { falla "no se encuentra $so"; continue; }
  pkg=$(dpkg -S "$(readlink -f "$ruta")" 2>/dev/null || dpkg -S "$ruta" 2>/dev/null)
  pkg=${pkg%%:*}
  [[ -n "$pkg" ]] || { falla "$so ($ruta) no es de ningún paquete"; continue; }
  tiene_dep "$pkg" || falla "Depends sin $pkg (de $so): $(campo Depends)"
done

# Menu entry and icon.
escritorio="$tmp/raiz/usr/share/applications/cuestionario-operatividad.desktop"
if [[ -f "$escritorio" ]]; then
  if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$escritorio" || falla "desktop-file-validate"
  fi
  grep -qx "Name=Cuestionario de Operatividad" "$escritorio" || falla "Name del .desktop"
  grep -qx "Categories=Office;Finance;" "$escritorio" || falla "Categories del .desktop"
  grep -qx "Exec=cuestionario-operatividad" "$escritorio" || falla "Exec del .desktop"
  grep -qx "Icon=cuestionario-operatividad" "$escritorio" || falla "Icon del .desktop"
else
  falla "falta el .desktop"
fi
iconos="$tmp/raiz/usr/share/icons/hicolor"
[[ -f "$iconos/scalable/apps/cuestionario-operatividad.svg" ]] || falla "falta el ícono SVG"
for n in 16 24 32 48 64 128 256; do
  png="$iconos/${n}x$n/apps/cuestionario-operatividad.png"
  if [[ ! -f "$png" ]]; then
    falla "falta el ícono de $n"
  elif [[ $(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4, $7 * 256 + $8 }') != "$n $n" ]]; then
    falla "el ícono de $n no mide ${n}x$n"
  fi
done

# Debian's documentation files.
doc="$tmp/raiz/usr/share/doc/cuestionario-operatividad"
[[ -f "$doc/copyright" ]] || falla "falta copyright"
gzip -t "$doc/changelog.gz" 2>/dev/null || falla "falta changelog.gz o no es gzip"

if [[ $fallas -gt 0 ]]; then
  echo "$fallas fallas"
  exit 1
fi
echo "paquete correcto"
