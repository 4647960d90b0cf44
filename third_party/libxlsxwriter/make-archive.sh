#!/bin/bash
# Makes libxlsxwriter-1.1.4-lib.tar.gz, the part of libxlsxwriter's release 1.1.4 that the
# build compiles, from the release archive as Debian 12 distributes it:
#   http://deb.debian.org/debian/pool/main/libx/libxlsxwriter/libxlsxwriter_1.1.4.orig.tar.gz
# (SHA-256 b379eb35fdd9c653ebe72485b9c992f612c7ea66f732784457997d6e782f619b, listed in
# Debian's signed libxlsxwriter_1.1.4-2.dsc). The whole archive is 20 MB of documentation,
# examples and tests; the library, its headers, the number formatting it is built with and
# its licence are 2 MB. The files are taken unchanged; the archive is made
# the same way each time (sorted names, fixed times and owners), so that anyone can check
# it against the release: run this with the release archive's path.
set -euo pipefail
release=${1:?usage: make-archive.sh libxlsxwriter_1.1.4.orig.tar.gz}
expected=b379eb35fdd9c653ebe72485b9c992f612c7ea66f732784457997d6e782f619b
echo "$expected  $release" | sha256sum --check --quiet
out=$(cd "$(dirname "$0")" && pwd)/libxlsxwriter-1.1.4-lib.tar.gz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$release" -C "$work"
cd "$work"
tar --sort=name --mtime='2021-07-05 00:00:00Z' --owner=0 --group=0 --numeric-owner \
  -cf - libxlsxwriter-RELEASE_1.1.4/{License.txt,include,src/*.c,third_party/dtoa/*.[ch]} |
  gzip -n -9 >"$out"
sha256sum "$out"
