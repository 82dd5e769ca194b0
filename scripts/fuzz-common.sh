# Shared by run-fuzzers and fuzz-campaign (sourced, not run).
# The options every fuzz run uses: an input that takes two seconds or a gigabyte is
# a finding like a crash. Inputs are of at most 4 KB (a story of 24 short scripts
# fits; long inputs are slow to run and rarely reach more). Leaks are not looked
# for (Qt keeps caches as long as the process), so libFuzzer need not run an input
# twice to look for them.
FUZZ_LIMITS=(-timeout=2 -rss_limit_mb=1024 -max_len=4096 -detect_leaks=0)

# How libFuzzer picks the next input to mutate. Its default schedule favours inputs
# that reach rare features whatever they cost, and counts every feature seen under
# 255 times as rare: with thousands of features (a story reaches over 10,000) it
# searched that list for each feature of each run, a third of the story target's
# time, and it spent most runs on the slowest inputs. Inputs are weighed by the
# inverse of their running time, and a feature is rare while seen under 8 times
# (the 100 rarest are always kept).
FUZZ_SCHEDULE=(-entropic_scale_per_exec_time=1 -entropic_feature_frequency_threshold=8)

# fuzz_kinds BUILD: the targets built in BUILD/fuzz, by kind (fuzz_<kind>).
fuzz_kinds() {
    local t
    for t in "$1"/fuzz/fuzz_*; do
        [ -f "$t" ] && [ -x "$t" ] && basename "$t" | sed 's/^fuzz_//'
    done
    return 0
}

# fuzz_seed ROOT BUILD KIND DIR: fills DIR with the starting inputs of KIND: the
# committed corpus and regressions, the seeds and, for scripts, the demo story's
# scripts. (The demo's pictures are not among them: they are large, alike, and take
# milliseconds each to decode; the small seeds reach the same decoders.)
fuzz_seed() {
    local root=$1 build=$2 kind=$3 dir=$4 seeds s
    mkdir -p "$dir"
    case $kind in
        script | checker) seeds="$root/fuzz/seeds/script $build/bin/dat2" ;;
        story) seeds="$root/fuzz/seeds/story" ;;
        loadgame) seeds="$root/fuzz/seeds/store" ;;
        picture) seeds="$root/fuzz/seeds/picture" ;;
        *) seeds="$root/fuzz/seeds/$kind" ;;
    esac
    for s in $seeds "$root/fuzz/corpus/$kind" "$root/fuzz/regressions/$kind"; do
        [ -d "$s" ] && find "$s" -maxdepth 1 -type f -size -200k -exec cp -n {} "$dir"/ \;
    done
    return 0
}

# fuzz_dict ROOT KIND: the dictionary option of KIND, if it has one.
fuzz_dict() {
    [ -f "$1/fuzz/dict/$2.dict" ] && echo "-dict=$1/fuzz/dict/$2.dict"
    return 0
}
