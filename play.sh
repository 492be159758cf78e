#!/usr/bin/env bash
# Installs what is missing, builds Flinthand and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
cmake --preset release
cmake --build --preset release
# Hosting listens on port 418, which a user who is not root may take only with
# the capability; every build makes a new binary without it.
if [ "$(id -u)" -ne 0 ]; then
    export PATH="$PATH:/usr/sbin:/sbin"
    if ! getcap build/release/flinthand 2>/dev/null | grep -q cap_net_bind_service; then
        echo "Asking sudo to let Flinthand listen on port 418 (setcap cap_net_bind_service), so that you can host games."
        sudo setcap cap_net_bind_service=+ep build/release/flinthand \
            || echo "Not granted: you can join games, but hosting will say \"Cannot listen on port 418\"."
    fi
fi
# The help page lies beside the program; the link looks for it in the current folder.
cd build/release
exec ./flinthand
