#!/usr/bin/env bash
# Demonstration on a fresh data root under demo-root/ in the repository (wiped on each run).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
vantor="$root/build/cli/vantor"
demo="$root/demo-root"

rm -rf "$demo"
mkdir -p "$demo/common" "$demo/user" "$demo/config"
export VANTOR_COMMON_APPDATA="$demo/common"
export VANTOR_USER_APPDATA="$demo/user"
export XDG_CONFIG_HOME="$demo/config"

echo "== vantor init (data root under $demo/common)"
"$vantor" init
find "$demo/common" | sed "s|$demo/||" | sort

echo "== vantor list machines"
"$vantor" list machines
echo "== vantor list machines --json"
"$vantor" list machines --json
