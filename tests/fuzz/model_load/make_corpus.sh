#!/usr/bin/env bash
# Builds the seed corpus of the model_load fuzzer from the JSON descriptions
# beside this script, with the model writer.
#   make_corpus.sh MODELWRITER OUT_DIR
set -euo pipefail
writer=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
for json in "$here"/seeds/*.json; do
  "$writer" "$json" "$out/$(basename "${json%.json}").moc"
done
"$writer" --stress 3 12 2 "$out/stress_small.moc"
