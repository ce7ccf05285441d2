#!/bin/bash
# The recipes of docs/many-runs.md, run for real: 64 runs of 50 matches from seed 100 played in
# one process, in two workers, in four GNU parallel shards and in a Slurm job array of four tasks
# on a one-node cluster of its own; every way must give the same CSV rows, summary and picture.
# Needs root for the cluster. Usage: run_shards.sh path/to/quarrow-sim
set -euo pipefail
sim=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
docs=$here/../../docs
tmp=$(mktemp -d)
. "$here/slurm_cluster.sh"
trap 'slurm_stop "$tmp/slurm"; rm -rf "$tmp"' EXIT
export PATH="$(dirname "$sim"):$PATH"
cd "$tmp"
# The JSON summary without the speed, which differs from run to run.
plain() { sed 's/, "frames_per_second": [0-9a-z]*//' "$1"; }
same() {
  [ "$(plain "$1.json")" = "$(plain single.json)" ] || { echo "$1: summary differs"; exit 1; }
  cmp "$1.svg" single.svg
}

quarrow-sim --seed 100 --runs 64 --matches 50 --jobs 1 --csv single.csv --histogram single.svg \
  --summary json >single.json
quarrow-sim --seed 100 --runs 64 --matches 50 --jobs 2 --csv two.csv --histogram two.svg \
  --summary json >two.json
cmp single.csv two.csv
same two
echo "two workers: the same CSV, summary and picture"

parallel quarrow-sim --seed {} --runs 16 --matches 50 --jobs 1 --csv part-{}.csv --summary json \
  ::: 100 116 132 148 >/dev/null
quarrow-sim --pool part-*.csv --histogram parallel.svg --summary json >parallel.json
same parallel
echo "four GNU parallel shards pooled: the same summary and picture"

mkdir slurm
chmod 711 "$tmp"  # munged, running as munge, keeps its files beneath
slurm_start "$tmp/slurm"
cp "$docs/shards.sbatch" .
sbatch --wait shards.sbatch >/dev/null
quarrow-sim --pool shard-*.csv --histogram slurm.svg --summary json >slurm.json
same slurm
echo "four Slurm array tasks pooled: the same summary and picture"
