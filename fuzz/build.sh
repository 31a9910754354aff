#!/bin/sh
# Builds the template fuzzer with clang and libFuzzer (not part of the normal build).
#   fuzz/build.sh            -> fuzz/out/report_template_fuzzer
#   fuzz/run.sh [seconds]    -> runs it on the seed corpus
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out="$here/out"
mkdir -p "$out/moc"
CXX=${CXX:-clang++}
flags="-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
qt=$(pkg-config --cflags --libs Qt6Core)
sources="$(ls "$root"/src/report/*.cpp) $root/src/core/GermanFormat.cpp $root/src/core/DecimalText.cpp $root/src/core/Money.cpp"
$CXX $flags -I"$root/src" $sources "$here/report_template_fuzzer.cpp" $qt -o "$out/report_template_fuzzer"
echo "$out/report_template_fuzzer"
