// MD5 throughput over a password-sized input, a page and a large buffer.
#include <cstdint>
#include <string>

#include <benchmark/benchmark.h>

#include "link/md5.h"

namespace {

void BM_Md5Digest(benchmark::State& state) {
    const std::string input(static_cast<std::size_t>(state.range(0)), 'x');
    for (auto _ : state) {
        benchmark::DoNotOptimize(Md5Digest(input));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(BM_Md5Digest)->Arg(64)->Arg(1024)->Arg(1024 * 1024);

}  // namespace
