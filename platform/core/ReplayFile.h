#pragma once
// The recording file: a header, then the records of everything that reached
// the game, deflated (docs/replay-format.md describes every byte). The writer
// hands what it has to the system at each flush, so a file cut off at any
// moment still reads up to its last flush; the reader never trusts a count
// or a size it reads and stops at the first thing it cannot use.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace platform::replay {

inline constexpr std::uint16_t kFormat = 1;

struct Header {
    std::string programVersion;
    int stageWidthPx = 0, stageHeightPx = 0;  // the stage, in the screen's pixels
    bool fullScreen = false;                  // the stage was a whole screen
    float screenWidth = 0, screenHeight = 0;  // the screen the game was told of, twips
    bool fromTest = false;                    // made by a test: its program runs on with no form loaded
};

// The kinds of record. The first group are the events the program's loops
// hand the game, the second what goes with them, the last the answers the
// game asked of the machine.
enum class Rec : std::uint8_t {
    Tick = 1,      // form, timer: a timer's period ended
    MouseDown,     // form, button, shift, x, y
    MouseUp,       // form, button, shift, x, y
    Key,           // form, key code, shift, auto-repeat
    Activate,      // form: the player clicked into its window
    Close,         // form: its window's close button
    Menu,          // form, item: a menu opened or a command chosen
    SessionEnd,    // the desktop ended the session
    Update,        // the window system's activation update ran
    ModalEnd,      // result: a modal form's loop returned
    EventsDone,    // a pass over the waiting events returned
    MsgBoxClosed,  // a message box was closed
    InputAnswer,   // text: an input box was confirmed (empty: cancelled)
    Finished,      // the program ended; nothing follows
    Time = 20,     // steps of 10 ms since the last Time
    Geometry,      // form, points skipped, six sizes: a window's place and size
    Check,         // 16 bits of the game's state after a player's event
    Checkpoint,    // why, the game's state, a few of its numbers
    Seed = 30,     // the random generator's first seed
    Text,          // width, height: a text measured the first time
    Picture,       // found, width, height: a picture loaded the first time
    TimeOfDay,     // seconds: the clock read by a reseed
};
const char* RecName(Rec kind);

inline constexpr int kTimeStepMs = 10;
inline constexpr std::size_t kLongestAnswer = 4096;  // bytes of a typed answer
inline constexpr float kFarthest = 1e7f;             // twips: no place or size lies farther out

// Writes a recording. Every call only adds to memory but flush(), which
// deflates what was added and writes it out.
class Writer {
public:
    Writer();
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Creates (or empties) the file; false with error() set.
    bool create(const std::string& path);
    void header(const Header& h);
    void put(Rec kind) { u8(static_cast<std::uint8_t>(kind)); }
    void u8(std::uint8_t v) { pending_.push_back(v); }
    void varint(std::uint64_t v);
    void zigzag(std::int64_t v) { varint((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63)); }
    void f32(float v);
    void u64(std::uint64_t v);
    void text(const std::string& s);
    // Writes everything added so far; `last` ends the file's data. False
    // (with error() set) when the system refused to take it.
    bool flush(bool last = false);
    const std::string& error() const { return error_; }
    std::uint64_t written() const { return written_; }

private:
    bool writeOut(const unsigned char* data, std::size_t size);
    struct Deflate;
    std::unique_ptr<Deflate> z_;
    int fd_ = -1;
    std::vector<unsigned char> pending_;
    std::uint64_t written_ = 0;
    std::string error_;
};

// Reads a recording. After the first failure every read fails and error()
// says what was wrong; the end of the data is not a failure (atEnd()).
class Reader {
public:
    Reader();
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Opens the file and reads its header; false with error() set.
    bool open(const std::string& path);
    // The same from bytes in memory (the fuzz target).
    bool openBytes(std::vector<unsigned char> bytes);
    const Header& header() const { return header_; }

    // The next record's kind, not taken yet: 0 at the end or after a failure.
    std::uint8_t peek();
    bool atEnd();  // the data ended (check failed() too)
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    // Fails the reading with this reason (a value out of range, say).
    void fail(const std::string& why);

    bool u8(std::uint8_t& v);
    bool varint(std::uint64_t& v);
    bool zigzag(std::int64_t& v);
    bool f32(float& v);
    bool u64(std::uint64_t& v);
    bool text(std::string& s, std::size_t longest);
    // Bytes of the file read so far, for messages.
    std::uint64_t fileOffset() const;

private:
    bool readHeader();
    bool more();  // inflates more data; false at the end or on a failure
    bool byte(unsigned char& b);
    struct Inflate;
    std::unique_ptr<Inflate> z_;
    Header header_;
    std::vector<unsigned char> out_;
    std::size_t at_ = 0;
    bool ended_ = false;
    std::string error_;
};

}  // namespace platform::replay
