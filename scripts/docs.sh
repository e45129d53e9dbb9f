#!/usr/bin/env bash
# Renews the pictures of docs/ from their text sources (needs graphviz's "dot"; the build
# does not).
set -euo pipefail
cd "$(dirname "$0")/.."
command -v dot >/dev/null || { echo "docs.sh: graphviz (dot) is not installed" >&2; exit 1; }
dot -Tsvg docs/architecture.dot -o docs/architecture.svg
