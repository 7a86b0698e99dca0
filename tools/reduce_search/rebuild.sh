#!/bin/sh
# Rebuilds the reduced-system catalogue from scratch: the searches into a new
# store, then the catalogue data, the provenance and the table of results.
# One thread; the searches stop after step counts, never after a time, so the
# same seeds give the same store. Run from the top of the tree after building
# reduce_search; STORE names another store to rebuild into (a trial run).
set -eu
tool=${REDUCE_SEARCH:-build/tools/reduce_search/reduce_search}
dir=tools/reduce_search
store=${STORE:-$dir/store.txt}
: > "$store"
# Every structure, the short ones with room to search.
nice -n 19 "$tool" search --store "$store" --lengths 2-8 --seed 1
nice -n 19 "$tool" search --store "$store" --lengths 9-13 --seed 1 --tries 1 --stall 10000 --budget 5e7
# Guarantee 12 once more, with many generator sets per group.
nice -n 19 "$tool" search --store "$store" --lengths 8-13 --radii 1 --seed 2 --tries 24 --budget 3e7 --max-group 2187
# Guarantee 11 once more, then 12 with generators tuned by short searches.
nice -n 19 "$tool" search --store "$store" --lengths 8-13 --radii 2 --seed 3 --tries 8 --budget 3e7 --max-group 2187
nice -n 19 "$tool" search --store "$store" --lengths 7-13 --radii 1 --seed 4 --tries 2 --tune 200 --max-group 729 --budget 3e7
nice -n 19 "$tool" search --store "$store" --lengths 12-13 --radii 1 --seed 6 --tries 12 --tune 100 --max-group 729 --budget 3e7
# Generators and syndromes annealed together where choosing the generators first fell short.
nice -n 19 "$tool" anneal --store "$store" --zw 0 --dw 10 --radius 1 --p 0 --q 4 --size 5 --seed 1 --tries 5 --steps 2e6
# Unit vectors and one more generator, which every spanning choice of q + 1
# generators comes to up to symmetry (only its weight counts): a long search for S.
nice -n 19 "$tool" cover --store "$store" --zw 0 --dw 7 --radius 1 --p 0 --q 6 --generators "1 3 9 27 81 243 364" --tries 3 --steps 2e6
nice -n 19 "$tool" cover --store "$store" --zw 0 --dw 9 --radius 2 --p 0 --q 8 --generators "1 3 9 27 81 243 729 2187 4" --tries 2 --steps 1e6
nice -n 19 "$tool" cover --store "$store" --zw 0 --dw 10 --radius 2 --p 0 --q 9 --generators "1 3 9 27 81 243 729 2187 6561 4" --tries 1 --steps 1e7 --stall 2e6
# Unit vectors and two more, a pair picked by trying random pairs with short runs.
nice -n 19 "$tool" cover --store "$store" --zw 0 --dw 9 --radius 1 --p 0 --q 7 --generators "1 3 9 27 81 243 729 2049 998" --tries 1 --steps 3e6
nice -n 19 "$tool" cover --store "$store" --zw 12 --dw 0 --radius 1 --p 11 --q 0 --generators "1 2 4 8 16 32 64 128 256 512 1024 255" --tries 2 --steps 1e6
# Every choice of generators up to symmetry, each tried by a short search.
nice -n 19 "$tool" kernels --store "$store" --zw 13 --dw 0 --radius 1 --p 10 --q 0
nice -n 19 "$tool" kernels --store "$store" --zw 0 --dw 11 --radius 1 --p 0 --q 8 --keep 12 --steps 1e7 --stall 3e6
if [ -z "${STORE:-}" ]; then
  "$tool" build --store "$store" --data src/systems/reduced_catalogue_data.inc \
    --provenance "$dir/provenance.tsv" --results "$dir/RESULTS.md"
fi
