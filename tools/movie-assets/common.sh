# Shared by the asset scripts: headless Chromium as these scripts run it.
chromium_shot() { # URL WIDTH HEIGHT OUT.png [VIRTUAL_MS]
  profile=$(mktemp -d)
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --autoplay-policy=no-user-gesture-required \
    --user-data-dir="$profile" --window-size="$2,$3" --virtual-time-budget="${5:-2000}" \
    --screenshot="$4" "$1" >/dev/null 2>&1
  rm -rf "$profile"
  [ -s "$4" ]
}
