#!/usr/bin/env bash
# Checks the Windows zip against what its programs import: every DLL that vokari.exe and Qt's
# plugins load, followed through the DLLs they load in turn, is either in the zip or part of
# Windows (taken here as a DLL Wine provides), and the zip carries nothing that nobody loads.
# Usage: zipimports.sh check <zip>     fails, naming each fault
#        zipimports.sh catches <zip>   a copy with a DLL taken out and one put in must fail
set -euo pipefail

objdump=x86_64-w64-mingw32-objdump
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
# Loaded by Qt itself rather than imported: without them nothing starts or no icon shows.
plugins=(platforms/qwindows.dll imageformats/qico.dll)

lower() { tr '[:upper:]' '[:lower:]'; }

check() {
  local dir="$1" failures=0 name file
  fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
  }
  declare -A carried=() needed=() seen=() windows=()
  while IFS= read -r name; do
    windows["$name"]=1
  done < <(ls "$wine_dlls" | lower)
  while IFS= read -r file; do
    carried["$(lower <<<"$file")"]="$file"
  done < <(cd "$dir" && find . -type f | sed 's:^\./::')

  [ -n "${carried[vokari.exe]+set}" ] || fail "vokari.exe is missing"
  local queue=(vokari.exe)
  for name in "${plugins[@]}"; do
    if [ -n "${carried[$name]+set}" ]; then
      queue+=("$name")
    else
      fail "$name is missing"
    fi
  done
  if [ -n "${carried[vokari.exe]+set}" ] &&
    ! grep -q 'Subsystem.*(Windows GUI)' <<<"$("$objdump" -p "$dir/vokari.exe")"; then
    fail "vokari.exe is not a windowed program: a console would open beside it"
  fi

  local imported
  while [ ${#queue[@]} -gt 0 ]; do
    file="${queue[0]}"
    queue=("${queue[@]:1}")
    [ -n "${seen[$file]+set}" ] && continue
    seen["$file"]=1
    needed["$file"]=1
    while IFS= read -r imported; do
      name="$(lower <<<"$imported")"
      if [ -n "${carried[$name]+set}" ]; then
        queue+=("$name")
      elif [[ "$name" != api-ms-win-* && "$name" != ext-ms-* && -z "${windows[$name]+set}" ]]; then
        # api-ms-win-* and ext-ms-* are API sets, which the loader maps without any file.
        fail "${carried[$file]} imports $imported, which is neither in the zip nor part of Windows"
      fi
    done < <("$objdump" -p "$dir/${carried[$file]}" | sed -n 's/^[[:space:]]*DLL Name: //p')
  done

  for name in "${!carried[@]}"; do
    [ -n "${needed[$name]+set}" ] || fail "${carried[$name]} is carried for nothing"
  done
  echo "${#carried[@]} files, ${#needed[@]} of them loaded"
  [ "$failures" -eq 0 ]
}

command="$1"
zip="$(realpath "$2")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")

case "$command" in
  check) check "$work/unpacked" ;;
  catches)
    # A DLL that vokari.exe needs taken out, and one that nothing loads put in.
    rm "$work/unpacked/libwinpthread-1.dll"
    cp "$work/unpacked/imageformats/qico.dll" "$work/unpacked/qgif.dll"
    output="$(check "$work/unpacked" || true)"
    echo "$output"
    grep -q 'imports libwinpthread-1.dll, which is neither in the zip' <<<"$output" &&
      grep -q 'qgif.dll is carried for nothing' <<<"$output"
    ;;
  *)
    echo "usage: $0 check|catches <zip>" >&2
    exit 2
    ;;
esac
