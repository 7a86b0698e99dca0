#!/bin/sh
# Rebuilds the reduced-system catalogue from scratch: the searches into a new
# store, then the catalogue data, the provenance and the table of results.
# One thread; the searches stop after step counts, so the same seed gives the
# same store. Run from the top of the tree after building reduce_search.
set -eu
tool=${REDUCE_SEARCH:-build/tools/reduce_search/reduce_search}
dir=tools/reduce_search
: > "$dir/store.txt"
nice -n 19 "$tool" search --store "$dir/store.txt" --lengths 2-13 --seed 1
"$tool" build --store "$dir/store.txt" --data src/systems/reduced_catalogue_data.inc \
  --provenance "$dir/provenance.tsv" --results "$dir/RESULTS.md"
