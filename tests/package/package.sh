#!/usr/bin/env bash
# Builds the Debian package, or checks it unpacked into a fresh temporary folder (never installed).
# Usage: package.sh build <deb-dir> <cpack> <CPackConfig.cmake>
#        package.sh contents <deb-dir> <app-id> <version> <libdir>
#        package.sh desktop_entry|metainfo <deb-dir> <app-id>
set -euo pipefail

command="$1"
deb_dir="$2"
shift 2

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

the_deb() {
  local debs
  debs=("$deb_dir"/vokari_*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "expected exactly one vokari_*.deb in $deb_dir" >&2
    exit 1
  fi
  echo "${debs[0]}"
}

unpack() {
  deb="$(the_deb)"
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  root="$work/root"
  dpkg-deb -x "$deb" "$root"
}

# The package of an installed shared library. dpkg knows each file by one of its two paths on a
# merged /usr, and the loader may report either.
package_of() {
  local path="$1" alt owner
  [ -n "$path" ] || return 0
  case "$path" in
    /usr/*) alt="${path#/usr}" ;;
    *) alt="/usr$path" ;;
  esac
  owner="$(dpkg -S "$path" 2>/dev/null || dpkg -S "$alt" 2>/dev/null || true)"
  owner="${owner%%:*}"
  echo "$owner"
}

check_contents() {
  local id="$1" version="$2" libdir="$3"
  unpack

  # Every file the package holds, with what `file` must say about it. Nothing else may be in it:
  # a test program or a build tool there would be installed on users' machines.
  local icons=usr/share/icons/hicolor
  local -A expected=(
    [usr/bin/vokari]='ELF .* executable, .*, stripped$'
    [usr/$libdir/vokari/vokari_sound.so]='ELF .* shared object, .*, stripped$'
    [usr/share/applications/$id.desktop]='text'
    [usr/share/metainfo/$id.metainfo.xml]='XML 1.0 document'
    [$icons/16x16/apps/$id.png]='PNG image data, 16 x 16, 8-bit/color RGBA'
    [$icons/32x32/apps/$id.png]='PNG image data, 32 x 32, 8-bit/color RGBA'
    [$icons/48x48/apps/$id.png]='PNG image data, 48 x 48, 8-bit/color RGBA'
  )
  local path description
  for path in "${!expected[@]}"; do
    if [ ! -f "$root/$path" ]; then
      fail "missing /$path"
      continue
    fi
    description="$(file -b "$root/$path")"
    if ! grep -Eq -- "${expected[$path]}" <<<"$description"; then
      fail "/$path is '$description', expected /${expected[$path]}/"
    fi
  done
  [ -x "$root/usr/bin/vokari" ] || fail "/usr/bin/vokari is not executable"
  while IFS= read -r path; do
    path="${path#"$root"/}"
    [ -n "${expected[$path]+set}" ] || fail "unexpected file /$path"
  done < <(find "$root" -type f -o -type l)

  local field want got
  for field in Package Version Architecture; do
    case "$field" in
      Package) want=vokari ;;
      Version) want="$version" ;;
      Architecture) want="$(dpkg --print-architecture)" ;;
    esac
    got="$(dpkg-deb -f "$deb" "$field")"
    [ "$got" = "$want" ] || fail "$field is '$got', expected '$want'"
  done

  # Depends must name the package of every library the program and its module load directly,
  # or installing the package can leave a program that does not start or cannot sound.
  local depends elf loaded soname lib owner
  depends="$(dpkg-deb -f "$deb" Depends)"
  echo "Depends: $depends"
  depends="$(tr ',|' '\n' <<<"$depends" | sed 's/^ *//; s/[ :].*//')"
  while IFS= read -r elf; do
    loaded="$(ldd "$elf")"
    while read -r soname; do
      # ldd names most libraries "soname => path", the loader itself by its path alone.
      lib="$(awk -v s="$soname" '
        $1 == s && $2 == "=>" { print $3; exit }
        substr($1, length($1) - length(s)) == "/" s { print $1; exit }' <<<"$loaded")"
      owner="$(package_of "$lib")"
      if [ -z "$lib" ] || [ -z "$owner" ]; then
        fail "${elf#"$root"}: no installed package owns $soname"
      elif ! grep -Fxq "$owner" <<<"$depends"; then
        fail "${elf#"$root"}: Depends lacks $owner, which has $soname"
      fi
    done < <(objdump -p "$elf" | awk '$1 == "NEEDED" { print $2 }')
  done < <(find "$root" -type f -exec sh -c 'file -b "$1" | grep -q "^ELF"' sh {} \; -print)

  # The menu finds the icon by the entry's Icon name; no validator compares the two.
  local desktop="$root/usr/share/applications/$id.desktop"
  local metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
  if [ -f "$desktop" ]; then
    got="$(sed -n 's/^Icon=//p' "$desktop")"
    [ "$got" = "$id" ] || fail "the desktop entry's Icon is '$got', expected '$id'"
  fi
  # A new version needs a new release entry, newest first.
  if [ -f "$metainfo" ]; then
    got="$(sed -n '/<release /{s:.*<release [^>]*version="\([^"]*\)".*:\1:p;q}' "$metainfo")"
    [ "$got" = "$version" ] || fail "the metainfo's newest release is '$got', expected '$version'"
  fi
}

check_desktop_entry() {
  local id="$1" output
  unpack
  # Hints count too: the entry has none today, and a new one is worth a look.
  output="$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1)" ||
    fail "desktop-file-validate failed"
  if [ -n "$output" ]; then
    echo "$output"
    fail "desktop-file-validate has remarks"
  fi
}

check_metainfo() {
  local id="$1" output status=0
  unpack
  output="$(appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1)" ||
    status=$?
  echo "$output"
  [ "$status" -eq 0 ] || fail "appstreamcli validate failed"
  # Errors, warnings and infos all fail; only pedantic remarks (the capital in the id) may stay.
  if grep -Eq '^[EWI]: ' <<<"$output"; then
    fail "appstreamcli validate has remarks"
  fi
  # Over the whole tree it also checks the metainfo's file name and launchable entry.
  status=0
  output="$(appstreamcli validate-tree --no-net "$root" 2>&1)" || status=$?
  echo "$output"
  [ "$status" -eq 0 ] || fail "appstreamcli validate-tree failed"
  if grep -Eq '^[EWI]: ' <<<"$output"; then
    fail "appstreamcli validate-tree has remarks"
  fi
}

case "$command" in
  build)
    cpack="$1"
    config="$2"
    rm -rf "$deb_dir"
    mkdir -p "$deb_dir"
    "$cpack" -G DEB --config "$config" -B "$deb_dir"
    deb="$(the_deb)"
    dpkg-deb -I "$deb"
    ;;
  contents) check_contents "$@" ;;
  desktop_entry) check_desktop_entry "$@" ;;
  metainfo) check_metainfo "$@" ;;
  *)
    echo "unknown command $command" >&2
    exit 2
    ;;
esac

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
