// A small stand-in for libFuzzer (GCC has none): mutates the seed recordings
// and runs each result through LLVMFuzzerTestOneInput.
//
//   kelvo_replay_fuzz [--seconds T] [--seed S] [--save DIR] SEED_FILE|SEED_DIR...
//
// Half the inputs are mutated as they are stored; the other half are
// inflated first, mutated as records and deflated again behind the same
// header, so that the record decoder and the game see them rather than only
// the deflate decoder. Each input runs in a child process, as the program
// runs one recording a process: a child that crashes, is stopped by a
// sanitizer or runs longer than 20 s ends the fuzzing with status 1, and its
// input is kept as DIR/failed.krec (DIR: --save, else the current folder).

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "../replay/RecordBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using kelvo::test::Bytes;

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

std::mt19937_64 rng;
std::size_t Below(std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng) : 0; }
auto At(Bytes& b, std::size_t i) { return b.begin() + static_cast<std::ptrdiff_t>(i); }

// A few random changes: flips, record kinds and counts, cuts, runs copied in
// from another seed, and 32-bit values a float or a count chokes on.
void Mutate(Bytes& b, const Bytes& other) {
    static const unsigned char kBytes[] = {0, 1, 2, 7, 8, 9, 13, 14, 20, 21, 22, 23, 30, 31, 32, 33, 0x7F, 0x80, 0xFF};
    static const std::uint32_t kWords[] = {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x4B189680u,
                                           0xCB189680u, 0x80000000u, 0xFFFFFFFFu, 0x00000001u};
    for (std::size_t c = 1 + Below(4); c > 0; --c) {
        const auto interesting = static_cast<unsigned char>(Below(2) ? kBytes[Below(std::size(kBytes))] : Below(256));
        const std::size_t at = Below(b.size());
        switch (Below(7)) {
        case 0:
            if (!b.empty()) b[at] ^= static_cast<unsigned char>(1u << Below(8));
            break;
        case 1:
            if (!b.empty()) b[at] = interesting;
            break;
        case 2: b.insert(At(b, Below(b.size() + 1)), interesting); break;
        case 3: b.erase(At(b, at), At(b, at + Below(std::min<std::size_t>(16, b.size() - at) + 1))); break;
        case 4: b.resize(Below(b.size() + 1)); break;
        case 5: {  // a run of another seed, or of this input, copied in
            Bytes from = Below(2) ? other : b;
            const std::size_t start = Below(from.size()), n = Below(std::min<std::size_t>(64, from.size() - start) + 1);
            b.insert(At(b, Below(b.size() + 1)), At(from, start), At(from, start + n));
            break;
        }
        default:
            if (b.size() >= 4) {
                const std::uint32_t v = kWords[Below(std::size(kWords))];
                const std::size_t to = Below(b.size() - 3);
                for (std::size_t i = 0; i < 4; ++i) b[to + i] = static_cast<unsigned char>(v >> (8 * i));
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 20;
    std::string saveDir = ".";
    std::vector<Bytes> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool value = i + 1 < argc;
        if (a == "--seconds" && value) {
            seconds = std::atof(argv[++i]);
        } else if (a == "--seed" && value) {
            rng.seed(std::strtoull(argv[++i], nullptr, 10));
        } else if (a == "--save" && value) {
            saveDir = argv[++i];
        } else if (std::filesystem::is_directory(a)) {
            for (const auto& e : std::filesystem::directory_iterator(a))
                if (e.is_regular_file()) seeds.push_back(kelvo::test::ReadAll(e.path()));
        } else if (std::filesystem::is_regular_file(a)) {
            seeds.push_back(kelvo::test::ReadAll(a));
        } else {
            std::fprintf(stderr, "kelvo_replay_fuzz: '%s' is neither an option nor a seed\n", a.c_str());
            return 2;
        }
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "kelvo_replay_fuzz: no seeds\n");
        return 2;
    }

    // Each seed as it is, then mutants until the time runs out.
    std::vector<Bytes> records;
    for (const Bytes& s : seeds) records.push_back(kelvo::test::Inflate(s));
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::uint64_t tried = 0;
    for (; std::chrono::steady_clock::now() < end; ++tried) {
        Bytes input;
        if (tried < seeds.size()) {
            input = seeds[tried];
        } else {
            const std::size_t k = Below(seeds.size()), other = Below(seeds.size());
            if (!records[k].empty() && Below(2)) {
                Bytes r = records[k];
                Mutate(r, records[other]);
                input = kelvo::test::Deflate(seeds[k], r);
            } else {
                input = seeds[k];
                Mutate(input, seeds[other]);
            }
        }
        if (const int status = RunInChild(input); status != 0) {
            const auto kept = std::filesystem::path(saveDir) / "failed.krec";
            kelvo::test::WriteAll(kept, input);
            std::printf("kelvo_replay_fuzz: input %llu (%zu bytes) ended with %s %d; kept as %s\n",
                        static_cast<unsigned long long>(tried), input.size(), status > 128 ? "signal" : "status",
                        status > 128 ? status - 128 : status, kept.c_str());
            return 1;
        }
    }
    std::printf("kelvo_replay_fuzz: %llu inputs tried, none failed\n", static_cast<unsigned long long>(tried));
    return 0;
}
