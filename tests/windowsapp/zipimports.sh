#!/usr/bin/env bash
# Checks the Windows zip against what its programs import: every DLL that vokari.exe and Qt's
# plugins load, followed through the DLLs they load in turn, is either in the zip or part of
# Windows, and the zip carries nothing that nobody loads. vokari.exe must be a windowed program
# with its manifest.
# Usage: zipimports.sh check <zip>     fails, naming each fault
#        zipimports.sh catches <zip>   copies with a DLL taken out, one put in and an import of
#                                      one Windows lacks must fail
set -euo pipefail

objdump=x86_64-w64-mingw32-objdump
# Part of Windows: the system DLLs that the programs and the zip's DLLs import, every one in
# System32 of a clean Windows 10 x64, and the API sets (api-ms-win-*, ext-ms-*), which the loader
# maps without any file. Wine's own folder is no stand-in: it also has the compilers' runtimes
# (msvcp140.dll, vcruntime140.dll), which Windows lacks. A new system import is added here by
# hand, once a clean Windows 10 is known to have it.
windows_dlls=(
  advapi32.dll authz.dll comdlg32.dll d3d11.dll d3d9.dll dwmapi.dll dwrite.dll dxgi.dll
  gdi32.dll imm32.dll kernel32.dll mpr.dll msvcrt.dll netapi32.dll ole32.dll oleaut32.dll
  shcore.dll shell32.dll shlwapi.dll user32.dll userenv.dll uxtheme.dll version.dll winmm.dll
  ws2_32.dll wtsapi32.dll
)
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
  for name in "${windows_dlls[@]}"; do
    windows["$name"]=1
  done
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
  if [ -n "${carried[vokari.exe]+set}" ]; then
    local headers
    headers="$("$objdump" -p "$dir/vokari.exe")"
    grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" ||
      fail "vokari.exe is not a windowed program: a console would open beside it"
    # The loader reads the manifest from resource type 24 (RT_MANIFEST), id 1, only.
    awk '/^[0-9a-f]+   Entry: /{type = /ID: 0x000018,/}
         type && /^[0-9a-f]+     Entry: ID: 0x000001,/{found = 1} END{exit !found}' <<<"$headers" &&
      grep -aq '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' "$dir/vokari.exe" &&
      grep -aq 'Microsoft.Windows.Common-Controls' "$dir/vokari.exe" ||
      fail "vokari.exe has no manifest (RT_MANIFEST 1) for Windows 10 and common controls 6"
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
    # A DLL that vokari.exe needs taken out, one that nothing loads put in, and vokari.exe's
    # import of libstdc++-6.dll (which Qt's DLLs still need) renamed to a runtime that Wine has
    # and Windows lacks.
    rm "$work/unpacked/libwinpthread-1.dll"
    cp "$work/unpacked/imageformats/qico.dll" "$work/unpacked/qgif.dll"
    perl -0777 -pi -e 's/libstdc\+\+-6\.dll\0/msvcp140.dll\0\0\0\0/ or die "no import"' \
      "$work/unpacked/vokari.exe"
    output="$(check "$work/unpacked" || true)"
    echo "$output"
    grep -q 'imports libwinpthread-1.dll, which is neither in the zip' <<<"$output" &&
      grep -q 'vokari.exe imports msvcp140.dll, which is neither' <<<"$output" &&
      grep -q 'qgif.dll is carried for nothing' <<<"$output"
    ;;
  *)
    echo "usage: $0 check|catches <zip>" >&2
    exit 2
    ;;
esac
