// Recordings that cannot be used, cut off or changed, run through the game
// without any toolkit: a kept session (tests/recordings, which must still
// match the game) has its records edited and is played back.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RecordBytes.h"
#include "game/Program.h"
#include "platform/core/Application.h"
#include "platform/core/Recorder.h"
#include "platform/core/Replayer.h"

namespace {

using namespace platform;
using kelvo::test::Bytes;
using kelvo::test::Deflate;
using kelvo::test::Inflate;
using kelvo::test::ReadAll;
using kelvo::test::WriteAll;
using replay::Rec;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("kelvo-replay-test-" + std::to_string(getpid()) + "-" + name))
        .string();
}

// Runs `body` in a child process: the platform keeps its state from one
// run of the program to the next (one run a process, as the program does).
std::string InChild(const std::function<std::string()>& body) {
    const std::string path = TempPath("out");
    const pid_t child = fork();
    if (child == 0) {
        const std::string out = body();
        WriteAll(path, Bytes(out.begin(), out.end()));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the run ended with status " << status;
    const Bytes out = ReadAll(path);
    std::remove(path.c_str());
    return std::string(out.begin(), out.end());
}

const Bytes& Recording() {
    static const Bytes bytes = ReadAll(KELVO_KEPT_RECORDING);
    return bytes;
}

struct Result {
    Replayer::Outcome outcome;
    std::string report;
    bool cutOff = false;
};

// Both journals see each input: the replay that feeds it and a recorder.
struct Both final : Journal {
    Journal& feeds;
    Journal& writes;
    Both(Journal& f, Journal& w) : feeds(f), writes(w) {}
    bool admit(const Input& input) override { return feeds.admit(input) && writes.admit(input); }
    void handled(const Input& input) override {
        feeds.handled(input);
        writes.handled(input);
    }
    void checkpoint() override {
        feeds.checkpoint();
        writes.checkpoint();
    }
};

// Plays the recording back through the game, as --verify does; with AGAIN,
// records the run anew into that file as it goes.
Result Verify(const std::function<bool(replay::Reader&)>& open, const std::string& again = "") {
    const std::string out = InChild([&open, &again] {
        replay::Reader reader;
        if (!open(reader)) return "2-" + reader.error();
        Replayer replayer(reader);
        Recorder recorder;
        Both both(replayer, recorder);
        const bool recording = !again.empty() && recorder.create(again);
        InstallServices(recording ? recorder.begin(reader.header(), replayer.services()) : replayer.services());
        SetJournal(recording ? static_cast<Journal*>(&both) : &replayer);
        std::unique_ptr<kelvo::Program> program;
        RunProgram([&program] {
            program = std::make_unique<kelvo::Program>();
            program->start();
        });
        if (recording) recorder.finish();
        return std::to_string(static_cast<int>(replayer.outcome())) + (replayer.cutOff() ? "+" : "-") +
               replayer.report();
    });
    if (out.size() < 2) return {Replayer::Outcome::Ended, "no outcome"};
    return {static_cast<Replayer::Outcome>(out[0] - '0'), out.substr(2), out[1] == '+'};
}
Result Verify(const Bytes& bytes) {
    return Verify([&bytes](replay::Reader& reader) { return reader.openBytes(bytes); });
}
Result Verify(const std::string& path) {
    return Verify([&path](replay::Reader& reader) { return reader.open(path); });
}

// --- The records, inflated, to be edited ----------------------------------------

struct Record {
    Rec kind;
    std::size_t at, end;
    std::uint64_t event;  // the replay's count of events up to this one
};

// Walks the records by their fields, as the format lays them out.
std::vector<Record> Records(const Bytes& r) {
    std::vector<Record> list;
    std::size_t i = 0;
    std::uint64_t events = 0;
    auto varint = [&] {
        while (r.at(i++) & 0x80) {
        }
    };
    while (i < r.size()) {
        const std::size_t at = i;
        const auto kind = static_cast<Rec>(r[i++]);
        switch (kind) {
        case Rec::Tick: i += 2; break;
        case Rec::MouseDown:
        case Rec::MouseUp: i += 11; break;
        case Rec::Key: ++i, varint(), i += 2; break;
        case Rec::Activate:
        case Rec::Close:
        case Rec::ModalEnd: i += 1; break;
        case Rec::Menu: ++i, varint(); break;
        case Rec::InputAnswer: {
            const std::size_t n = r.at(i++);  // the session's answers are short
            i += n;
            break;
        }
        case Rec::Time: varint(); break;
        case Rec::Geometry: ++i, varint(), i += 24; break;
        case Rec::Check: i += 2; break;
        case Rec::Checkpoint: {
            i += 9;
            const unsigned count = r.at(i++);
            for (unsigned k = 0; k < count; ++k) varint();
            break;
        }
        case Rec::Seed: i += 8; break;
        case Rec::Text: i += 8; break;
        case Rec::Picture: ++i, varint(), varint(); break;
        case Rec::TimeOfDay: i += 4; break;
        default: break;
        }
        const bool event = kind < Rec::Time && kind != Rec::Check;
        list.push_back({kind, at, i, events += event ? 1 : 0});
    }
    return list;
}

const Record& First(const std::vector<Record>& list, Rec kind, int nth = 0) {
    for (const Record& r : list)
        if (r.kind == kind && nth-- == 0) return r;
    throw std::runtime_error("no such record");
}

// The recording with the record's bytes from `from` (0: its kind) replaced.
Bytes Edited(Rec kind, std::size_t from, const Bytes& with, bool insert = false, int nth = 0) {
    Bytes records = Inflate(Recording());
    const std::vector<Record> list = Records(records);
    const Record& r = First(list, kind, nth);
    const auto at = records.begin() + static_cast<std::ptrdiff_t>(r.at + from);
    if (insert)
        records.insert(at, with.begin(), with.end());
    else
        std::copy(with.begin(), with.end(), at);
    return Deflate(Recording(), records);
}

Bytes F32(float f) {
    Bytes b(4);
    std::memcpy(b.data(), &f, 4);
    return b;
}

// --- The cases -----------------------------------------------------------------

// Recorded again while it plays back, the session records as itself: a piece
// the recorder leaves out, or writes at another point, makes the new file
// leave the game.
TEST(Replay, TheSessionMatchesAndRecordsAsItself) {
    const std::string again = TempPath("again");
    const Result run = Verify([](replay::Reader& reader) { return reader.openBytes(Recording()); }, again);
    EXPECT_EQ(run.outcome, Replayer::Outcome::Matches) << run.report;
    EXPECT_FALSE(run.cutOff);
    const Result rerun = Verify(again);
    std::remove(again.c_str());
    EXPECT_EQ(rerun.outcome, Replayer::Outcome::Matches) << rerun.report;
}

TEST(Replay, EveryBadFileEndsWithItsReason) {
    const Bytes good = Recording();
    auto header = [&good](std::size_t at, Bytes with) {
        Bytes b = good;
        std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        return b;
    };
    const std::size_t stage = 11 + good[10];
    Bytes damaged = good;
    damaged[stage + 13] = 0xFF;  // past the header: a deflate block of the reserved type
    const std::uint64_t gigabyte = 1u << 30;
    Bytes huge{static_cast<unsigned char>(Rec::InputAnswer)};
    for (std::uint64_t v = gigabyte; v; v >>= 7)
        huge.push_back(static_cast<unsigned char>((v & 0x7F) | (v > 0x7F ? 0x80 : 0)));
    Bytes crowded{static_cast<unsigned char>(Rec::Checkpoint), 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

    const struct {
        const char* what;
        Bytes bytes;
        const char* says;
    } cases[] = {
        {"empty", {}, "is empty"},
        {"png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}, "not a Kelvo recording"},
        {"cut header", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(stage + 3)),
         "ends inside its header"},
        {"newer format", header(8, {2, 0}), "newer Kelvo (format 2"},
        {"format 0", header(8, {0, 0}), "format 0"},
        {"long version", header(10, {200}), "version of 200 bytes"},
        {"version not text", header(11, {7}), "not text"},
        {"no stage", header(stage, {0, 0}), "stage of 0 x 480"},
        {"huge stage", header(stage, {0x21, 0x4E}), "stage of 20001 x 480"},
        {"flags", header(stage + 4, {4}), "damaged header"},
        {"screen NaN", header(stage + 5, F32(NAN)), "screen's size"},
        {"unknown kind", Edited(Rec::Tick, 0, {99}), "unknown record (kind 99)"},
        {"no such form", Edited(Rec::Tick, 1, {200}), "names form 200"},
        {"no such timer", Edited(Rec::Tick, 2, {200}), "names timer 200"},
        {"mouse x NaN", Edited(Rec::MouseDown, 4, F32(NAN)), "mouse event out of range"},
        {"mouse x far out", Edited(Rec::MouseDown, 4, F32(2e7f)), "mouse event out of range"},
        {"window NaN", Edited(Rec::Geometry, 3, F32(NAN)), "window out of range"},
        {"gigabyte answer", Edited(Rec::Tick, 0, huge, true), "answer of 1073741824 bytes"},
        {"crowded checkpoint", Edited(Rec::Tick, 0, crowded, true), "checkpoint of 9 numbers"},
        {"long pause", Edited(Rec::Time, 1, {0x80, 0x80, 0x80, 0x80, 0x08}, true), "pause of"},
        {"damaged deflate", damaged, "is damaged at byte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result run = Verify(c.bytes);
        EXPECT_EQ(run.outcome, Replayer::Outcome::BadFile) << run.report;
        EXPECT_NE(run.report.find(c.says), std::string::npos) << run.report;
    }
}

TEST(Replay, AFileCutOffMatchesUpToWhereItEnds) {
    const Bytes& good = Recording();
    const std::string path = TempPath("cut");
    WriteAll(path, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2)));
    const Result run = Verify(path);
    std::remove(path.c_str());
    EXPECT_EQ(run.outcome, Replayer::Outcome::Matches) << run.report;
    EXPECT_TRUE(run.cutOff);
    EXPECT_NE(run.report.find("where the recording was cut off"), std::string::npos) << run.report;
}

TEST(Replay, AChangedPlayerEventDivergesThere) {
    const auto list = Records(Inflate(Recording()));
    const Record& returnKey = First(list, Rec::Key);
    const Record& press = First(list, Rec::MouseDown, 4);  // the beam fired in play
    const struct {
        const char* what;
        Bytes bytes;
        std::uint64_t event;
    } cases[] = {
        {"key code", Edited(Rec::Key, 2, {2 * '2'}), returnKey.event},
        {"mouse x", Edited(Rec::MouseDown, 4, F32(7000), false, 4), press.event},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result run = Verify(c.bytes);
        EXPECT_EQ(run.outcome, Replayer::Outcome::Diverged) << run.report;
        EXPECT_NE(run.report.find("at event " + std::to_string(c.event) + " "), std::string::npos) << run.report;
    }
}

}  // namespace
