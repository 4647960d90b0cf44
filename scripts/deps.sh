#!/usr/bin/env bash
# The one list of Debian packages that building, testing and running need, and the
# installer both scripts/demo and scripts/test call. Quick when everything is there.

KV_PACKAGES=(
  # build
  g++ cmake ninja-build pkg-config
  # tests, and the formatting check of scripts/test
  libgtest-dev libgmock-dev nodejs clang-format
  # a comma-decimal locale built with localedef (number conversions must ignore it)
  locales
  # Qt 6 widgets (window, dialogs, timers)
  qt6-base-dev libgl-dev
  # the Access database: mdbtools' library and tools, SQLite, glib (libmdb's headers)
  mdbtools mdbtools-dev libglib2.0-dev libsqlite3-dev sqlite3
  # SQL Server through ODBC; SQLite's ODBC driver lets the tests read results through it
  unixodbc-dev tdsodbc libsqliteodbc
  # the questionnaire document: OOXML package, PDF export and its fonts, PDF checks
  libzip-dev libpugixml-dev libreoffice-writer-nogui poppler-utils
  fonts-crosextra-carlito fonts-dejavu-extra fonts-wine
  # the evidence workbook: the zip library its writer (built from third_party/) packs
  # with, and Calc to recalculate it in the tests
  libminizip-dev zlib1g-dev libreoffice-calc-nogui
  # the Debian package (scripts/paquete): shlibdeps, checks, icon sizes drawn from the SVG
  dpkg-dev lintian desktop-file-utils librsvg2-bin
)

kv_missing_packages() {
  local p status
  for p in "${KV_PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || echo "$p"
  done
}

kv_install_deps() {
  local missing sudo=""
  missing=$(kv_missing_packages)
  if [[ -n "$missing" ]]; then
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    echo "Instalando paquetes: $(echo $missing | tr '\n' ' ')"
    $sudo apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
  fi
  # npm ships with nodesource's nodejs; Debian's nodejs needs the npm package.
  if ! command -v npm >/dev/null 2>&1; then
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends npm
  fi
}

# kv_npm_install DIR: install the npm packages of DIR/package.json (lock file kept).
kv_npm_install() {
  local dir=$1
  if [[ ! -d "$dir/node_modules" || "$dir/package.json" -nt "$dir/node_modules" ]]; then
    (cd "$dir" && npm install --no-audit --no-fund --loglevel=error) && touch "$dir/node_modules"
  fi
}
