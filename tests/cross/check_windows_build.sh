#!/usr/bin/env bash
# Builds the windows preset and checks the program it makes with tools independent of the build:
# a 32-bit GUI executable for Intel 80386, importing from USER32 and GDI32 exactly the functions
# the game calls and no MinGW runtime DLL, holding exactly the program's resources in Japanese,
# with the texts in the code page and encoding each side expects.
set -euo pipefail
src=$1
cd "$src"

fail_count=0
fail() {
    echo "FAIL: $*" >&2
    fail_count=$((fail_count + 1))
}

for tool in i686-w64-mingw32-g++ i686-w64-mingw32-windres i686-w64-mingw32-objdump wrestool file \
    iconv od; do
    command -v "$tool" >/dev/null || {
        echo "FAIL: $tool is not installed" >&2
        exit 1
    }
done

cmake --preset windows -S "$src" >/dev/null
cmake --build --preset windows
exe=$src/build/windows/pokorinder.exe
[ -f "$exe" ] || {
    echo "FAIL: the build made no $exe" >&2
    exit 1
}

# The type as file(1) sees it.
type=$(file -b "$exe")
case "$type" in
    "PE32 executable (GUI) Intel 80386"*) ;;
    *) fail "file type is '$type', want a PE32 GUI executable for Intel 80386" ;;
esac

# Every imported function as "DLL function", DLL names in capitals.
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '
    /^[[:space:]]*DLL Name:/ { dll = toupper($3); next }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $NF }
    /^$/ { dll = "" }')
[ -n "$imports" ] || fail "objdump shows no imports at all"

expected_imports=$(sort <<'LIST'
USER32.DLL RegisterClassA
USER32.DLL GetSystemMetrics
USER32.DLL CreateWindowExA
USER32.DLL ShowWindow
USER32.DLL UpdateWindow
USER32.DLL MessageBoxA
USER32.DLL DefWindowProcA
USER32.DLL SetTimer
USER32.DLL KillTimer
USER32.DLL wsprintfA
USER32.DLL DialogBoxParamA
USER32.DLL EndDialog
USER32.DLL LoadBitmapA
USER32.DLL GetDC
USER32.DLL ReleaseDC
GDI32.DLL CreateCompatibleDC
GDI32.DLL SelectObject
GDI32.DLL GetObjectA
GDI32.DLL BitBlt
GDI32.DLL DeleteDC
GDI32.DLL DeleteObject
LIST
)
actual_imports=$(grep -E '^(USER32|GDI32)\.DLL ' <<<"$imports" | sort -u || true)
if [ "$actual_imports" != "$expected_imports" ]; then
    fail "imports from USER32/GDI32 differ (< missing, > unexpected):
$(diff <(echo "$expected_imports") <(echo "$actual_imports") | grep '^[<>]')"
fi

# Built with static libgcc and libstdc++: only DLLs that come with Windows may be imported.
runtime_dlls=$(awk '{ print $1 }' <<<"$imports" | sort -u | grep -E '^LIB|PTHREAD' || true)
[ -z "$runtime_dlls" ] || fail "imports from MinGW runtime DLLs: $runtime_dlls"

# Resources as "type name language", type by number.
actual_resources=$(wrestool -l "$exe" | sed -nE \
    's/^--type=([0-9]+) --name=([0-9]+) --language=([0-9]+) .*/\1 \2 \3/p' | sort)
listed=$(wrestool -l "$exe" | wc -l)
expected_resources=$(
    for name in 101 112 113 114 115 116 117 118 119; do echo "2 $name 1041"; done
    echo "5 122 1041"
    echo "16 1 1041"
)
expected_resources=$(sort <<<"$expected_resources")
if [ "$actual_resources" != "$expected_resources" ]; then
    fail "resources differ (< missing, > unexpected):
$(diff <(echo "$expected_resources") <(echo "$actual_resources") | grep '^[<>]')"
fi
[ "$listed" -eq "$(wc -l <<<"$actual_resources")" ] ||
    fail "wrestool lists resources not named by number:
$(wrestool -l "$exe")"

# Bytes as one line of hex pairs, each followed by a space, so that a match starts on a byte.
hex() { od -An -v -tx1 | tr -s ' \n' '  ' | sed 's/^ //'; }
contains_text() {  # file text encoding
    local needle
    needle=$(printf '%s' "$2" | iconv -f UTF-8 -t "$3" | hex)
    { printf ' '; hex <"$1"; } | grep -qF " $needle"
}

# The resource compiler read the UTF-8 script: Unicode texts in the dialog and version record.
res_dir=$(mktemp -d)
trap 'rm -rf "$res_dir"' EXIT
wrestool -x --raw --type=5 --name=122 "$exe" >"$res_dir/dialog"
wrestool -x --raw --type=16 --name=1 "$exe" >"$res_dir/version"
contains_text "$res_dir/dialog" "説明" UTF-16LE || fail "the dialog has no caption 説明 in UTF-16"
contains_text "$res_dir/dialog" "現在、開発中です。" UTF-16LE ||
    fail "the dialog has no text 現在、開発中です。 in UTF-16"
contains_text "$res_dir/version" "ポコリンダー Ver1.0β" UTF-16LE ||
    fail "the version record has no product name ポコリンダー Ver1.0β in UTF-16"

# The game's own texts are in code page 932, as the ANSI functions on Japanese Windows read them.
for text in "ポコリンダー Ver1.0β" "ＯＫを押すと終了"; do
    contains_text "$exe" "$text" CP932 || fail "the program has no text $text in code page 932"
done

if [ "$fail_count" -ne 0 ]; then
    echo "$fail_count check(s) failed" >&2
    exit 1
fi
echo "pokorinder.exe: 32-bit GUI program, imports and resources as expected"
