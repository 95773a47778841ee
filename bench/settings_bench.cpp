// The Linux registry store: typed writes and reads on one key, REGEDIT4 export and import of a
// 10,000-value tree. Peers measured in the same run: a bare durable atomic file replacement (the
// floor of every committed write) and a stat() call (the floor of a read that re-reads nothing).
// Time per operation is the Time column, in microseconds.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_util.h"

namespace {

// A registry store of its own for one benchmark, removed afterwards.
class ScratchStore {
public:
    ScratchStore() {
        char dir[] = "/tmp/zedll-bench-reg.XXXXXX";
        dir_ = mkdtemp(dir) ? dir : "/tmp";
        setenv("ZEDLL_REGISTRY_DIR", dir_.c_str(), 1);
    }
    ~ScratchStore() {
        const std::string cmd = "rm -rf '" + dir_ + "'";
        if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", dir_.c_str());
        unsetenv("ZEDLL_REGISTRY_DIR");
    }
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
};

// Peer: write a small file, fdatasync, rename it over the old one.
void BM_AtomicFileReplace(benchmark::State& state) {
    ScratchStore store;
    const std::string path = store.Dir() + "/peer", tmp = path + ".tmp";
    const std::string text(200, 'x');
    for (auto _ : state) {
        const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        benchmark::DoNotOptimize(write(fd, text.data(), text.size()));
        fdatasync(fd);
        close(fd);
        rename(tmp.c_str(), path.c_str());
    }
}
BENCHMARK(BM_AtomicFileReplace)->Iterations(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_RegSetDword(benchmark::State& state) {
    ScratchStore store;
    OPT_RegOptions options("Bench", "1");
    DWORD n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(options.SetDword("Counter", ++n, 1));
}
BENCHMARK(BM_RegSetDword)->Iterations(100000)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Peer: the one stat() that tells a reader the hive is unchanged.
void BM_Stat(benchmark::State& state) {
    ScratchStore store;
    const std::string path = store.Dir() + "/peer";
    std::fclose(std::fopen(path.c_str(), "w"));
    struct stat st {};
    for (auto _ : state) benchmark::DoNotOptimize(stat(path.c_str(), &st));
}
BENCHMARK(BM_Stat)->Iterations(100000)->Unit(benchmark::kMicrosecond);

void BM_RegGetDword(benchmark::State& state) {
    ScratchStore store;
    OPT_RegOptions options("Bench", "1");
    for (int i = 0; i < 20; ++i) options.SetDword(("Other" + std::to_string(i)).c_str(), i, 1);
    options.SetDword("Counter", 42, 1);
    for (auto _ : state) benchmark::DoNotOptimize(options.GetDword("Counter", DWORD{0}, 1));
}
BENCHMARK(BM_RegGetDword)->Iterations(100000)->Unit(benchmark::kMicrosecond);

// A REGEDIT4 file of 100 keys with 100 values each: texts, numbers and 40-byte binaries.
std::string TreeFile(const std::string& dir) {
    std::string text = "REGEDIT4\r\n\r\n";
    char line[256];
    for (int k = 0; k < 100; ++k) {
        text += "[HKEY_CURRENT_USER\\Software\\KELVARO\\Bench\\1\\Key" + std::to_string(k) + "]\r\n";
        for (int v = 0; v < 100; ++v) {
            switch (v % 3) {
                case 0:
                    std::snprintf(line, sizeof line, "\"Text%d\"=\"c:\\\\patterns\\\\piece %d.plt\"\r\n", v, k * 100 + v);
                    break;
                case 1: std::snprintf(line, sizeof line, "\"Number%d\"=dword:%08x\r\n", v, k * 7919 + v); break;
                default: {
                    std::string hex = "hex:";
                    for (int b = 0; b < 40; ++b) {
                        char byte[4];
                        std::snprintf(byte, sizeof byte, b ? ",%02x" : "%02x", (k + v + b) & 0xFF);
                        hex += byte;
                    }
                    std::snprintf(line, sizeof line, "\"Bytes%d\"=%s\r\n", v, hex.c_str());
                }
            }
            text += line;
        }
        text += "\r\n";
    }
    const std::string path = dir + "/tree.reg";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

long FileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

void BM_RegImportTree(benchmark::State& state) {
    ScratchStore store;
    const std::string file = TreeFile(store.Dir());
    OPT_RegOptions options("Bench", "1");
    for (auto _ : state) {
        if (!options.Import(file.c_str())) state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(file));
    state.counters["values"] = 10000;
}
BENCHMARK(BM_RegImportTree)->Unit(benchmark::kMillisecond);

void BM_RegExportTree(benchmark::State& state) {
    ScratchStore store;
    OPT_RegOptions options("Bench", "1");
    options.Import(TreeFile(store.Dir()).c_str());
    const std::string out = store.Dir() + "/export.reg";
    for (auto _ : state) options.Export(out.c_str(), 1);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(out));
    state.counters["values"] = 10000;
}
BENCHMARK(BM_RegExportTree)->Unit(benchmark::kMillisecond);

}  // namespace
