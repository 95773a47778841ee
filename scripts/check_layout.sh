#!/usr/bin/env bash
# The tree's rooms: Windows SDK headers only in the Windows glue, and no platform switch in a
# portable library source outside the short list below.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

sdk='windows|winuser|wingdi|winbase|winreg|winnls|winver|winnt|windowsx|commctrl|commdlg|prsht|mmsystem|shellapi|shlobj|shlwapi|objbase|ole2|richedit|uxtheme|dwmapi|psapi|tlhelp32|winresrc|winsock2|ws2tcpip|vfw|digitalv'
# Windows glue: os/win32/, any <folder>/win32/ (the public Windows-only headers included), the
# header of the platform's types, and the tests' child-process helper, which starts processes on
# both platforms. Resource scripts (.rc) are Windows files by nature and not looked at.
allowed_sdk='(^|/)win32/|^include/zedll/platform_types\.h$|^tests/support/child_process\.h$'
strays=$(git ls-files -co --exclude-standard -- '*.h' '*.hpp' '*.cpp' '*.inc' |
    xargs -r grep -lE "#[[:space:]]*include[[:space:]]*[<\"]($sdk)\.h[>\"]" 2>/dev/null |
    grep -vE "$allowed_sdk" || true)

# Portable library sources that must tell the platforms apart: the 32-bit layout checks, and the
# date classes whose Windows-only constructors the public header declares.
allowed_switch='^(geometry|pieces|settings|ui)/layout_checks\.cpp$|^settings/date_time\.cpp$'
switches=$(git ls-files -co --exclude-standard -- \
    'os/*.cpp' 'geometry/*.cpp' 'pieces/*.cpp' 'curves/*.cpp' 'log/*.cpp' 'settings/*.cpp' \
    'ui/*.cpp' 'magnify/*.cpp' 'util/*.cpp' 'platform/*.cpp' |
    grep -vE '(^|/)(win32|posix)/' |
    xargs -r grep -lE '#[[:space:]]*(if|ifdef|ifndef|elif).*_WIN(32|64)' 2>/dev/null |
    grep -vE "$allowed_switch" || true)

status=0
if [ -n "$strays" ]; then
    echo "Windows SDK headers outside the Windows glue:"; echo "$strays"; status=1
fi
if [ -n "$switches" ]; then
    echo "platform switches in portable sources (move the difference behind os/):"; echo "$switches"; status=1
fi
[ $status -eq 0 ] && echo "layout: Windows headers and platform switches in their rooms"
exit $status
