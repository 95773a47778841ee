// Checksums and containers against their peers in one run: CRC-32 kernels and zlib over 256 MiB,
// the four file strategies over a 512 MiB file in the page cache, MD5 and OpenSSL over 256 MiB,
// a FIFO between two threads, and a history Flush of 10,000 records. BM_UtilRatios, registered
// last, prints the ratios of what ran before it.
#include <openssl/md5.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "util/crc32_kernel.h"

namespace {

constexpr size_t kBufferBytes = size_t{256} << 20;
constexpr size_t kFileBytes = size_t{512} << 20;

// Best throughput seen per benchmark, bytes (or records) per second.
std::map<std::string, double>& Rates() {
    static std::map<std::string, double> rates;
    return rates;
}

double Seconds(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Times each iteration itself so that the best rate can be kept for the ratios. Single-threaded
// work is timed in the thread's processor time (the kernel's copies from the page cache included),
// which the other programs sharing this machine do not inflate; work on two threads in wall time.
template <typename Body>
void Measure(benchmark::State& state, const std::string& key, double units, Body body,
             clockid_t clock = CLOCK_THREAD_CPUTIME_ID) {
    double best = 0;
    for (auto _ : state) {
        const double start = Seconds(clock);
        body();
        const double took = Seconds(clock) - start;
        if (took > 0 && units / took > best) best = units / took;
    }
    Rates()[key] = best;
}

const std::vector<unsigned char>& Buffer() {
    static const std::vector<unsigned char> buffer = [] {
        std::vector<unsigned char> v(kBufferBytes);
        std::mt19937_64 rng(42);
        for (size_t i = 0; i < v.size(); i += 8) {
            const uint64_t r = rng();
            std::memcpy(v.data() + i, &r, 8);
        }
        return v;
    }();
    return buffer;
}

// The same bytes with no zero in them and one at the end, for StringCrc32.
const std::string& Text() {
    static const std::string text = [] {
        std::string s(reinterpret_cast<const char*>(Buffer().data()), kBufferBytes);
        for (auto& c : s)
            if (c == 0) c = 1;
        return s;
    }();
    return text;
}

// A 512 MiB file, read once so that it sits in the page cache; removed when the program ends.
struct BenchFile {
    std::string name;
    ~BenchFile() {
        std::error_code ec;
        std::filesystem::remove(name, ec);
    }
};

const std::string& BigFile() {
    static const BenchFile file = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("zedll-bench-" + std::to_string(::getpid()) + ".bin");
        std::ofstream out(path, std::ios::binary);
        for (size_t at = 0; at < kFileBytes; at += kBufferBytes)
            out.write(reinterpret_cast<const char*>(Buffer().data()), static_cast<std::streamsize>(kBufferBytes));
        out.close();
        unsigned long crc = 0;
        Crc32::FileCrc32Win32(path.string().c_str(), crc);
        return BenchFile{path.string()};
    }();
    return file.name;
}

void BM_Crc32Zlib(benchmark::State& state) {
    const auto& b = Buffer();
    Measure(state, "zlib", kBufferBytes, [&] {
        uLong c = crc32(0L, Z_NULL, 0);
        for (size_t at = 0; at < b.size(); at += size_t{1} << 30)
            c = crc32(c, b.data() + at, static_cast<uInt>(std::min(b.size() - at, size_t{1} << 30)));
        benchmark::DoNotOptimize(c);
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBufferBytes));
}
BENCHMARK(BM_Crc32Zlib)->Unit(benchmark::kMillisecond);

void BM_Crc32Kernel(benchmark::State& state) {
    const auto kernel = static_cast<zed::crc32::Kernel>(state.range(0));
    if (kernel != zed::crc32::Kernel::kSlicing &&
        !(kernel == zed::crc32::Kernel::kClmul ? zed::crc32::ProcessorHasClmul()
                                               : zed::crc32::ProcessorHasClmulWide())) {
        state.SkipWithError("this processor lacks the instructions");
        return;
    }
    state.SetLabel(zed::crc32::KernelName(kernel));
    const auto& b = Buffer();
    Measure(state, std::string("kernel ") + zed::crc32::KernelName(kernel), kBufferBytes, [&] {
        benchmark::DoNotOptimize(zed::crc32::UpdateWith(kernel, 0xFFFFFFFFu, b.data(), b.size()));
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBufferBytes));
}
BENCHMARK(BM_Crc32Kernel)
    ->Arg(static_cast<int>(zed::crc32::Kernel::kSlicing))
    ->Arg(static_cast<int>(zed::crc32::Kernel::kClmul))
    ->Arg(static_cast<int>(zed::crc32::Kernel::kClmulWide))
    ->Unit(benchmark::kMillisecond);

void BM_Crc32String(benchmark::State& state) {
    const std::string& t = Text();
    Measure(state, "StringCrc32", kBufferBytes, [&] {
        unsigned long crc = 0;
        benchmark::DoNotOptimize(Crc32::StringCrc32(t.c_str(), crc));
        benchmark::DoNotOptimize(crc);
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBufferBytes));
}
BENCHMARK(BM_Crc32String)->Unit(benchmark::kMillisecond);

using FileStrategy = unsigned long (*)(const char*, unsigned long&);
void BM_Crc32File(benchmark::State& state, FileStrategy run, const char* key) {
    const std::string& name = BigFile();
    Measure(state, key, kFileBytes, [&] {
        unsigned long crc = 0;
        if (run(name.c_str(), crc) != 0) state.SkipWithError("the file could not be read");
        benchmark::DoNotOptimize(crc);
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}
BENCHMARK_CAPTURE(BM_Crc32File, streams, &Crc32::FileCrc32Streams, "file streams")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Crc32File, win32, &Crc32::FileCrc32Win32, "file win32")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Crc32File, filemap, &Crc32::FileCrc32Filemap, "file filemap")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Crc32File, assembly, &Crc32::FileCrc32Assembly, "file assembly")->Unit(benchmark::kMillisecond);

void BM_Md5OpenSsl(benchmark::State& state) {
    const auto& b = Buffer();
    unsigned char d[16];
    Measure(state, "openssl md5", kBufferBytes, [&] {
        MD5_CTX c;   // the deprecated one-shot interface is the plain block function we compare with
        MD5_Init(&c);
        MD5_Update(&c, b.data(), b.size());
        MD5_Final(d, &c);
        benchmark::DoNotOptimize(d);
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBufferBytes));
}
BENCHMARK(BM_Md5OpenSsl)->Unit(benchmark::kMillisecond);

void BM_Md5(benchmark::State& state) {
    const auto& b = Buffer();
    class MD5 md5;   // "class": OpenSSL has a function of the same name
    unsigned char d[16];
    Measure(state, "md5", kBufferBytes, [&] {
        md5.computeSum(b.data(), static_cast<unsigned long>(b.size()), d);
        benchmark::DoNotOptimize(d);
    });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBufferBytes));
}
BENCHMARK(BM_Md5)->Unit(benchmark::kMillisecond);

// One producer and one consumer thread move 10^6 records of 16 to 256 bytes through one FIFO.
void BM_FifoProducerConsumer(benchmark::State& state) {
    constexpr uint32_t kRecords = 1000000;
    Measure(state, "fifo records", kRecords, [&] {
        CLS_FIFO q(1024);
        std::thread producer([&] {
            std::mt19937 rng(1);
            unsigned char rec[256] = {};
            for (uint32_t i = 0; i < kRecords; ++i) {
                const uint32_t length = 16 + rng() % 241;
                std::memcpy(rec, &length, 4);
                std::memcpy(rec + 4, &i, 4);
                while (!q.Write(reinterpret_cast<LifoFifoItem*>(rec))) std::this_thread::yield();
            }
        });
        unsigned char out[256];
        for (uint32_t i = 0; i < kRecords;) {
            if (q.Read(reinterpret_cast<LifoFifoItem*>(out)))
                ++i;
            else
                std::this_thread::yield();
        }
        producer.join();
    }, CLOCK_MONOTONIC);
    state.counters["records_per_second"] = Rates()["fifo records"];
}
BENCHMARK(BM_FifoProducerConsumer)->Unit(benchmark::kMillisecond)->UseRealTime();

// Flush of a history holding 10,000 records of 16 to 256 bytes.
void BM_HistoryFlush(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("zedll-bench-history-" + std::to_string(::getpid()) + ".bin");
    {
        std::string name = path.string();
        CLS_History h(name.data(), 10000);
        std::mt19937 rng(2);
        std::vector<unsigned char> data(256, 'h');
        for (int i = 0; i < 10000; ++i) {
            CLS_History::CLS_History_obj o{static_cast<uint32_t>(16 + rng() % 241), data.data()};
            h.Put(&o);
        }
        Measure(state, "history flush", 10000, [&] { h.Flush(); });
    }
    state.counters["records_per_second"] = Rates()["history flush"];
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_HistoryFlush)->Unit(benchmark::kMillisecond);

// The ratios asked of this subsystem, from the rates measured above in this run.
void BM_UtilRatios(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Rates().size());
    auto& r = Rates();
    const double zlib = r["zlib"];
    const std::string best = std::string("kernel ") + zed::crc32::KernelName(zed::crc32::BestKernel());
    const double kernel = r[best];
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    state.counters["kernel/zlib"] = ratio(kernel, zlib);
    state.counters["string/zlib"] = ratio(r["StringCrc32"], zlib);
    state.counters["slicing/zlib"] = ratio(r[std::string("kernel ") + zed::crc32::KernelName(zed::crc32::Kernel::kSlicing)], zlib);
    state.counters["clmul128/zlib"] = ratio(r[std::string("kernel ") + zed::crc32::KernelName(zed::crc32::Kernel::kClmul)], zlib);
    for (const char* s : {"streams", "win32", "filemap", "assembly"})
        state.counters[std::string(s) + "/kernel"] = ratio(r[std::string("file ") + s], kernel);
    state.counters["md5/openssl"] = ratio(r["md5"], r["openssl md5"]);
    std::printf("\nRatios (same run; best iteration each, thread processor time):\n");
    std::printf("  CRC-32 in memory, %s / zlib        %.2f\n", zed::crc32::KernelName(zed::crc32::BestKernel()), ratio(kernel, zlib));
    std::printf("  StringCrc32 / zlib                                       %.2f\n", ratio(r["StringCrc32"], zlib));
    for (auto k : {zed::crc32::Kernel::kSlicing, zed::crc32::Kernel::kClmul, zed::crc32::Kernel::kClmulWide})
        std::printf("  kernel %-34s / zlib       %.2f\n", zed::crc32::KernelName(k),
                    ratio(r[std::string("kernel ") + zed::crc32::KernelName(k)], zlib));
    for (const char* s : {"streams", "win32", "filemap", "assembly"})
        std::printf("  FileCrc32 %-9s / in-memory kernel                    %.2f\n", s, ratio(r[std::string("file ") + s], kernel));
    std::printf("  MD5 / OpenSSL MD5                                        %.2f\n", ratio(r["md5"], r["openssl md5"]));
    std::printf("  FIFO, two threads: %.0f records/s; history Flush of 10,000: %.0f records/s\n",
                r["fifo records"], r["history flush"]);
    std::printf("  rates (GB/s): zlib %.2f, best kernel %.2f, openssl md5 %.2f, md5 %.2f\n\n", zlib / 1e9,
                kernel / 1e9, r["openssl md5"] / 1e9, r["md5"] / 1e9);
}
BENCHMARK(BM_UtilRatios)->Iterations(1);

}  // namespace
