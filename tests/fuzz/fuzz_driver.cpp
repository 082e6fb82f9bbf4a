// A small stand-in for libFuzzer (GCC has none): mutates the seed recordings
// and runs each result through LLVMFuzzerTestOneInput.
//
//   kelvo_replay_fuzz [--seconds T] [--inputs N] [--seed S] [--save DIR] SEED_FILE|SEED_DIR...
//
// Half the inputs are mutated as they are stored; the other half are
// inflated first, mutated as records and deflated again behind the same
// header, so that the record decoder and the game see them rather than only
// the deflate decoder. Each input runs in a child process, as the program
// runs one recording a process: a child that crashes, is stopped by a
// sanitizer or runs longer than 20 s ends the fuzzing with status 1, and its
// input is kept as DIR/failed.krec (DIR: --save, else the current folder).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "../replay/RecordBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using kelvo::test::Bytes;
using kelvo::test::Deflate;
using kelvo::test::Inflate;
using kelvo::test::ReadAll;
using kelvo::test::WriteAll;

// Runs one input in a child: its exit status, or 128 + the signal that ended it.
int RunInChild(const Bytes& input) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        alarm(20);  // a hang ends with SIGALRM
        LLVMFuzzerTestOneInput(input.data(), input.size());
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class Mutator {
public:
    explicit Mutator(std::uint64_t seed) : rng_(seed) {}
    std::size_t below(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_) : 0; }

    // A few random changes: flips, new bytes, cuts, runs copied from another seed.
    void mutate(Bytes& b, const Bytes& other) {
        const std::size_t changes = 1 + below(4);
        for (std::size_t c = 0; c < changes; ++c) {
            switch (below(8)) {
            case 0:
                if (!b.empty()) b[below(b.size())] ^= static_cast<unsigned char>(1u << below(8));
                break;
            case 1:
                if (!b.empty()) b[below(b.size())] = Interesting();
                break;
            case 2: b.insert(b.begin() + static_cast<std::ptrdiff_t>(below(b.size() + 1)), Interesting()); break;
            case 3:
                if (!b.empty()) {
                    const std::size_t at = below(b.size()), n = 1 + below(std::min<std::size_t>(16, b.size() - at));
                    b.erase(b.begin() + static_cast<std::ptrdiff_t>(at),
                            b.begin() + static_cast<std::ptrdiff_t>(at + n));
                }
                break;
            case 4: b.resize(below(b.size() + 1)); break;
            case 5:
            case 6: {  // a run of another seed, or of this input, copied in
                const Bytes source = below(2) ? other : b;
                if (source.empty()) break;
                const std::size_t from = below(source.size()),
                                  n = 1 + below(std::min<std::size_t>(64, source.size() - from));
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(below(b.size() + 1)),
                         source.begin() + static_cast<std::ptrdiff_t>(from),
                         source.begin() + static_cast<std::ptrdiff_t>(from + n));
                break;
            }
            default:
                if (b.size() >= 4) {  // a 32-bit value: a float or a count
                    static const std::uint32_t values[] = {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x4B189680u,
                                                           0xCB189680u, 0x80000000u, 0xFFFFFFFFu, 0x00000001u};
                    const std::uint32_t v = values[below(std::size(values))];
                    const std::size_t at = below(b.size() - 3);
                    for (int i = 0; i < 4; ++i)
                        b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
                }
                break;
            }
        }
    }

private:
    unsigned char Interesting() {
        static const unsigned char values[] = {0,  1,  2,  7,  8,  9,  13,   14,   20,  21,
                                               22, 23, 30, 31, 32, 33, 0x7F, 0x80, 0xFF};
        return below(2) ? values[below(std::size(values))] : static_cast<unsigned char>(below(256));
    }
    std::mt19937_64 rng_;
};

}  // namespace

int main(int argc, char** argv) {
    double seconds = 20;
    std::uint64_t most = UINT64_MAX, seed = 1;
    std::string saveDir;
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (a == "--inputs" && i + 1 < argc) {
            most = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--save" && i + 1 < argc) {
            saveDir = argv[++i];
        } else if (std::filesystem::is_directory(a)) {
            for (const auto& e : std::filesystem::directory_iterator(a))
                if (e.is_regular_file()) seeds.push_back(ReadAll(e.path()));
        } else if (std::filesystem::is_regular_file(a)) {
            seeds.push_back(ReadAll(a));
        } else {
            std::fprintf(stderr, "kelvo_replay_fuzz: '%s' is neither an option nor a seed\n", a.c_str());
            return 2;
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "kelvo_replay_fuzz: no seeds\n");
        return 2;
    }

    // Each seed as it is, then mutants until the time or the count runs out.
    std::vector<Bytes> records;
    for (const Bytes& s : seeds) records.push_back(Inflate(s));
    Mutator m(seed);
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t tried = 0, asRecords = 0;
    for (; tried < most; ++tried) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= seconds) break;
        Bytes input;
        if (tried < seeds.size()) {
            input = seeds[tried];
        } else {
            const std::size_t k = m.below(seeds.size());
            const std::size_t other = m.below(seeds.size());
            if (!records[k].empty() && m.below(2)) {
                Bytes r = records[k];
                m.mutate(r, records[other]);
                input = Deflate(seeds[k], r);
                ++asRecords;
            } else {
                input = seeds[k];
                m.mutate(input, seeds[other]);
            }
        }
        if (const int status = RunInChild(input); status != 0) {
            const auto kept = std::filesystem::path(saveDir.empty() ? "." : saveDir) / "failed.krec";
            WriteAll(kept, input);
            std::printf("kelvo_replay_fuzz: input %llu (%zu bytes) ended with %s %d; kept as %s\n",
                        static_cast<unsigned long long>(tried), input.size(), status > 128 ? "signal" : "status",
                        status > 128 ? status - 128 : status, kept.c_str());
            return 1;
        }
    }
    std::printf("kelvo_replay_fuzz: %llu inputs tried (%llu mutated as records) in %.0f s, none failed\n",
                static_cast<unsigned long long>(tried), static_cast<unsigned long long>(asRecords),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
