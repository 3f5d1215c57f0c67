# Sourced by run.sh, test.sh and package.sh: makes sure the Debian packages the build needs are installed.
# As root it installs what is missing with apt-get; otherwise it prints the exact line to run.
# qt6-translations-l10n: Qt's own buttons and menus in Chinese.
memo_packages="g++ cmake ninja-build pkg-config qt6-base-dev libsqlite3-dev libpugixml-dev fonts-wqy-microhei
    qt6-translations-l10n"

# libical-dev: iCalendar for the CalDAV sync library; qtkeychain-qt6-dev: its password in the keyring.
memo_packages="$memo_packages libical-dev qtkeychain-qt6-dev"

memo_ensure_packages() {
    local missing="" p
    for p in $memo_packages "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages:$missing" >&2
        echo "Install them with: sudo apt-get update && sudo apt-get install -y --no-install-recommends$missing" >&2
        return 1
    fi
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing
}
