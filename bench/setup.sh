#!/usr/bin/env bash
# Installs the real pages the benchmarks read beside the generated documents:
# the Node.js API reference (one 8 MB page with a large style sheet).
set -euo pipefail
if dpkg-query -W -f='${Status}' nodejs-doc 2>/dev/null | grep -q 'install ok installed'; then
  exit 0
fi
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends nodejs-doc
