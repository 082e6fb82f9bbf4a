// The program on Qt: its command line, the application object, the services
// and the end of the session.

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include <fontconfig/fontconfig.h>
#include <sys/socket.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Recorder.h"
#include "platform/core/Replayer.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/Snapshots.h"
#include "platform/qt/Trace.h"
#include "platform/qt/TraceJournal.h"

namespace platform::qt {
namespace {

struct Options {
    std::optional<QSize> windowed;
    bool mute = false;
    QString record, replay, verify;  // recordings: the file, or empty
    double replaySpeed = 1;
    QStringList qtArguments;  // the Qt options the game passes on: -platform, -display
};

// An argument as an error line shows it: control, escape and other
// unprintable characters as \xNN (\uNNNN), and no longer than `limit`.
QString Shown(const QString& text, qsizetype limit = 60) {
    QString out;
    for (const QChar c : text) {
        const QString piece = c.isPrint()           ? QString(c)
                              : c.unicode() < 0x100 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                                    : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        if (out.size() + piece.size() > limit) return out + QStringLiteral("...");
        out += piece;
    }
    return out;
}

// Ends the program at once with one line on the error output: nothing of the
// program's is torn down (Qt may be half made, or its display gone).
[[noreturn]] void EndAtOnce(int status, const QString& line) {
    // Qt may say it from two threads at once (Wayland's reader and the
    // game's): the first one says it and ends the process; a second waits for that.
    static std::atomic_flag ending = ATOMIC_FLAG_INIT;
    if (ending.test_and_set())
        for (;;) pause();
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName().toLower()), qPrintable(line));
    std::fflush(stdout);
    _exit(status);
}

// A mistake on the command line: status 2.
[[noreturn]] void Refuse(const QString& line) { EndAtOnce(2, line); }

const QString kOptions = QStringLiteral(
    "the options are --help, --version, --windowed WIDTHxHEIGHT, --mute, --record FILE, --replay FILE, "
    "--replay-speed X, --verify FILE, --platform NAME and --display DISPLAY");
const QString kWindowedForm = QStringLiteral(
    "--windowed takes WIDTHxHEIGHT in pixels, from 320x240 up to the screen, for example --windowed 1280x800");
// Below this the game's windows no longer fit even when drawn at half size.
constexpr QSize kSmallestWindow(320, 240);

// The whole command line is read before anything needs a display. Single-dash
// words are whole option names (-platform, not -p -l -a ...), as Qt's own
// options are written; of Qt's options the game takes -platform and -display
// (a player may need them to reach a display) and refuses every other one, so
// that QApplication sees only those.
class CommandLine {
public:
    explicit CommandLine(const ProgramInfo& info) {
        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser_.setApplicationDescription(QString::fromUtf8(info.description));
        parser_.addOptions(
            {help_, version_, windowed_, mute_, record_, replay_, replaySpeed_, verify_, platform_, display_});
    }

    // --help and --version print and end the program with status 0; any
    // mistake ends it with status 2.
    Options parse(int argc, char** argv) {
        QStringList args;
        for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
        if (!parser_.parse(args)) {
            if (const QStringList unknown = parser_.unknownOptionNames(); !unknown.isEmpty())
                Refuse(
                    QStringLiteral("unknown option '%1'; %2").arg(Shown(Typed(args, unknown.constFirst())), kOptions));
            QString error = parser_.errorText().remove(QLatin1Char('.'));
            if (error.contains(QLatin1String("windowed'"))) Refuse(kWindowedForm + QStringLiteral(", and no value"));
            error[0] = error[0].toLower();  // "missing value after '--display'"
            Refuse(QStringLiteral("%1; %2").arg(Shown(error, 200), kOptions));
        }
        if (parser_.isSet(help_)) {
            QString text = parser_.helpText();
            text.replace(QLatin1String("<executable_name>"), QFileInfo(args.value(0)).fileName());
            std::fputs(qPrintable(text), stdout);
            std::exit(0);
        }
        if (parser_.isSet(version_)) {
            std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                        qPrintable(QCoreApplication::applicationVersion()));
            std::exit(0);
        }
        if (!parser_.positionalArguments().isEmpty())
            Refuse(QStringLiteral("unexpected argument '%1'; %2")
                       .arg(Shown(parser_.positionalArguments().constFirst()), kOptions));
        Options options;
        options.mute = parser_.isSet(mute_);
        if (parser_.isSet(windowed_)) {
            const QString value = parser_.value(windowed_);
            static const QRegularExpression form(QRegularExpression::anchoredPattern(u"([0-9]{1,5})x([0-9]{1,5})"));
            const auto match = form.match(value);
            const QSize size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
            if (size.width() < kSmallestWindow.width() || size.height() < kSmallestWindow.height())
                Refuse(kWindowedForm + QStringLiteral(", not '%1'").arg(Shown(value)));
            options.windowed = size;
        }
        options.record = parser_.value(record_);
        options.replay = parser_.value(replay_);
        options.verify = parser_.value(verify_);
        const int recordings = !options.record.isEmpty() + !options.replay.isEmpty() + !options.verify.isEmpty();
        for (const QCommandLineOption* o : {&record_, &replay_, &verify_})
            if (parser_.isSet(*o) && parser_.value(*o).isEmpty())
                Refuse(QStringLiteral("--%1 takes a file name").arg(o->names().constFirst()));
        if (recordings > 1) Refuse(QStringLiteral("--record, --replay and --verify go one at a time"));
        if ((!options.replay.isEmpty() || !options.verify.isEmpty()) && options.windowed)
            Refuse(QStringLiteral("a replay takes the recorded size; --windowed goes with --record or play"));
        if (parser_.isSet(replaySpeed_)) {
            bool ok = false;
            const QString value = parser_.value(replaySpeed_);
            options.replaySpeed = value.toDouble(&ok);
            if (!ok || !(options.replaySpeed >= 0.25 && options.replaySpeed <= 16))
                Refuse(QStringLiteral("--replay-speed takes a number from 0.25 to 16, not '%1'").arg(Shown(value)));
            if (options.replay.isEmpty()) Refuse(QStringLiteral("--replay-speed goes with --replay FILE"));
        }
        for (const QCommandLineOption* o : {&platform_, &display_})
            if (parser_.isSet(*o))
                options.qtArguments << QLatin1Char('-') + o->names().constFirst() << parser_.value(*o);
        return options;
    }

private:
    // The argument as typed for an unknown option NAME (-name, --name or --name=value).
    static QString Typed(const QStringList& args, const QString& name) {
        for (const QString& arg : args.mid(1)) {
            if (arg == QLatin1String("--")) break;
            const QString bare = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
            if (arg.startsWith(QLatin1Char('-')) && bare == name) return arg;
        }
        return QLatin1Char('-') + name;
    }

    QCommandLineParser parser_;
    QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")};
    QCommandLineOption version_{{QStringLiteral("v"), QStringLiteral("version")},
                                QStringLiteral("Shows the game's version.")};
    QCommandLineOption windowed_{QStringLiteral("windowed"),
                                 QStringLiteral("Plays in a window whose inside is WIDTHxHEIGHT pixels, such as "
                                                "1280x800, instead of the full screen; at least 320x240."),
                                 QStringLiteral("WIDTHxHEIGHT")};
    QCommandLineOption mute_{QStringLiteral("mute"), QStringLiteral("Plays without any sound.")};
    QCommandLineOption record_{QStringLiteral("record"),
                               QStringLiteral("Records the whole session into FILE, to be shown again with --replay "
                                              "or checked with --verify."),
                               QStringLiteral("FILE")};
    QCommandLineOption replay_{QStringLiteral("replay"),
                               QStringLiteral("Shows the session recorded in FILE, at the pace it was played; "
                                              "Escape or closing the window ends it."),
                               QStringLiteral("FILE")};
    QCommandLineOption replaySpeed_{QStringLiteral("replay-speed"),
                                    QStringLiteral("Shows the replay X times as fast, from 0.25 to 16."),
                                    QStringLiteral("X")};
    QCommandLineOption verify_{QStringLiteral("verify"),
                               QStringLiteral("Runs the session recorded in FILE through the game without a display "
                                              "and prints whether it plays out as recorded: status 0 when it does, 1 "
                                              "when it leaves the recording, 2 when the file cannot be used."),
                               QStringLiteral("FILE")};
    QCommandLineOption platform_{QStringLiteral("platform"),
                                 QStringLiteral("Uses Qt's platform NAME, such as xcb (X11) or wayland, instead of "
                                                "the one QT_QPA_PLATFORM or the session names."),
                                 QStringLiteral("NAME")};
    QCommandLineOption display_{QStringLiteral("display"),
                                QStringLiteral("Plays on the X display DISPLAY, such as :1, instead of $DISPLAY."),
                                QStringLiteral("DISPLAY")};
};

// Qt's messages go through here. While the application object is made they
// are held back: a display that cannot be opened ends the program with one
// line and status 1 instead of Qt's explanations and an abort. Afterwards, a
// display server that goes away (Qt says its connection broke, then calls
// exit() under the running game) ends it at once, with one line and status 1.
class QtMessages {
public:
    static void opening() {
        previous_ = qInstallMessageHandler(&handle);
        opening_ = true;
    }
    // The application object is there: what was held back is shown.
    static void opened() {
        opening_ = false;
        for (const Held& m : held_) previous_(m.type, QMessageLogContext(nullptr, 0, nullptr, m.category), m.text);
        held_.clear();
    }

private:
    struct Held {
        QtMsgType type;
        const char* category;  // Qt's categories are static
        QString text;
    };

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (opening_) {
            if (type == QtFatalMsg)
                EndAtOnce(1, QStringLiteral("cannot open a display: %1")
                                 .arg(Shown((held_.empty() ? text : held_.front().text).trimmed(), 200)));
            held_.push_back({type, context.category, text});
            return;
        }
        if (text.contains(QLatin1String("connection broke")))
            EndAtOnce(1, QStringLiteral("the display server went away: %1").arg(Shown(text, 200)));
        previous_(type, context, text);
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::atomic<bool> opening_ = false;  // messages come from every thread
    static inline std::vector<Held> held_;
};

// SIGTERM, SIGINT and SIGHUP end the game as closing its windows does: the
// handler only wakes the event loop, which unloads every form.
class SessionEnd {
public:
    SessionEnd() {
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds_) != 0) return;
        notifier_.emplace(fds_[1], QSocketNotifier::Read);
        QObject::connect(&*notifier_, &QSocketNotifier::activated, [this] {
            char byte = 0;
            if (read(fds_[1], &byte, 1) == 1) EndSession();
        });
        struct sigaction action {};
        action.sa_handler = [](int) {
            const char byte = 1;
            (void)!write(fds_[0], &byte, 1);
        };
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    }

private:
    static inline int fds_[2] = {-1, -1};
    std::optional<QSocketNotifier> notifier_;
};

// exit() called by a library under the running game (Xlib's handler of a
// broken X connection does so, printing its own line) would run the
// program's static destructors under a live application: the game ends at
// once instead, with the same status.
class ExitGuard {
public:
    ExitGuard() {
        running_ = true;
        std::atexit([] {
            if (running_) _exit(1);
        });
    }
    ~ExitGuard() { running_ = false; }

private:
    static inline std::atomic<bool> running_ = false;
};

// QT_SCALE_FACTOR below 1 (Qt takes any positive number): Qt lays its
// windows out at that scale but paints one device pixel for each logical one,
// so the game would show a corner of a field too large. The factor is taken
// from Qt before it starts and the game draws that much smaller itself.
qreal TakeScaleFactorBelowOne() {
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok || factor <= 0 || factor >= 1) return 1;
    qunsetenv("QT_SCALE_FACTOR");
    return factor;
}

// Shows a replay at its recorded pace (or SPEED times that): between two
// events the windows paint and the player's input is turned away, but for
// Escape and the close button, which end it.
class QtPacer final : public Pacer {
public:
    QtPacer(const Replayer& replayer, const QtWindows& windows, double speed)
        : replayer_(replayer), windows_(windows), speed_(speed) {
        clock_.start();
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &loop_, &QEventLoop::quit);
    }
    // The boxes show as they did, over the active window, but only for the
    // eye: the recording answers them.
    void dialogOpened(const std::string& text, const std::string& title, const std::string* def) override {
        const Form* active = ActiveForm();
        QWidget* parent = active ? windows_.windowOf(*active) : nullptr;
        QDialog* box = nullptr;
        if (def) {
            auto* input = new QInputDialog(parent);
            input->setWindowTitle(QString::fromStdString(title));
            input->setLabelText(QString::fromStdString(text));
            input->setTextValue(QString::fromStdString(*def));
            box = input;
        } else {
            box = new QMessageBox(QMessageBox::Information, QString::fromStdString(title), CaptionText(text),
                                  QMessageBox::Ok, parent);
        }
        box->setWindowModality(Qt::NonModal);
        box->show();
        boxes_.emplace_back(box);
    }
    void dialogClosed(const std::string& answer) override {
        if (boxes_.empty()) return;
        if (auto* input = qobject_cast<QInputDialog*>(boxes_.back().data()))
            input->setTextValue(QString::fromStdString(answer));
        delete boxes_.back().data();
        boxes_.pop_back();
    }
    bool waitUntil(std::int64_t ms) override {
        const auto due = static_cast<qint64>(static_cast<double>(ms) / speed_);
        while (!replayer_.stopping()) {
            const qint64 left = due - clock_.elapsed();
            if (left <= 0) return true;
            timer_.start(static_cast<int>(std::min<qint64>(left, 50)));  // looks at Escape now and then
            loop_.exec();
        }
        return false;
    }

private:
    const Replayer& replayer_;
    const QtWindows& windows_;
    double speed_;
    QElapsedTimer clock_;
    QEventLoop loop_;
    QTimer timer_;
    std::vector<QPointer<QDialog>> boxes_;
};

// Waits for a thread at the end of its scope.
class Joined {
public:
    explicit Joined(std::thread& thread) : thread_(thread) {}
    ~Joined() { thread_.join(); }
    Joined(const Joined&) = delete;
    Joined& operator=(const Joined&) = delete;

private:
    std::thread& thread_;
};

// How the replay's report ends the program.
int Reported(const QString& path, const Replayer& replayer) {
    const std::string line = replayer.report();
    switch (replayer.outcome()) {
    case Replayer::Outcome::Ended: return 0;
    case Replayer::Outcome::BadFile: EndAtOnce(2, QStringLiteral("%1 %2").arg(path, QString::fromStdString(line)));
    case Replayer::Outcome::Diverged:
    case Replayer::Outcome::Matches:
        std::printf("%s: %s\n", qPrintable(path), line.c_str());
        std::fflush(stdout);
        return replayer.outcome() == Replayer::Outcome::Matches ? 0 : 1;
    }
    return 0;
}

}  // namespace

replay::Header RecordingHeader(const char* version, const QtWindows& windows) {
    replay::Header h;
    h.programVersion = version;
    h.stageWidthPx = windows.stage().width();
    h.stageHeightPx = windows.stage().height();
    h.fullScreen = !windows.windowed();
    h.screenWidth = windows.screenWidth();
    h.screenHeight = windows.screenHeight();
    return h;
}

int RunQtProgram(int argc, char** argv, const ProgramInfo& info, const Resources& resources,
                 const std::function<void()>& start, const std::function<void()>& finish) {
    QCoreApplication::setApplicationName(QString::fromUtf8(info.name));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(info.version));
    if (argc > 1 && std::strcmp(argv[1], "--sound-player") == 0) return RunSoundPlayer(argc, argv);
    const Options options = CommandLine(info).parse(argc, argv);
    if (!options.verify.isEmpty()) return VerifyRecording(options.verify.toStdString(), start, finish);
    // A recording that cannot be written, or a replay that cannot be read, is
    // told before any window opens.
    Recorder recorder;
    if (!options.record.isEmpty() && !recorder.create(options.record.toStdString()))
        Refuse(QStringLiteral("cannot record to '%1': %2")
                   .arg(Shown(options.record, 200), QString::fromStdString(recorder.error())));
    replay::Reader reader;
    if (!options.replay.isEmpty() && !reader.open(options.replay.toStdString()))
        Refuse(QStringLiteral("%1 %2").arg(Shown(options.replay, 200), QString::fromStdString(reader.error())));

    // QApplication keeps argc and argv for its whole life.
    std::vector<QByteArray> kept{QByteArray(argv[0])};
    for (const QString& a : options.qtArguments) kept.push_back(a.toLocal8Bit());
    std::vector<char*> qtArgv;
    for (QByteArray& a : kept) qtArgv.push_back(a.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(kept.size());
    const qreal factor = TakeScaleFactorBelowOne();
    QtMessages::opening();
    // The briefing's first frame has text, and the fonts would otherwise be
    // read only then: fontconfig reads its configuration and font lists
    // while Qt connects to the display, and Qt makes its list of fonts from
    // them while the main window is set up.
    std::promise<void> opened;
    std::thread fonts([ready = opened.get_future()] {
        FcInit();
        ready.wait();
        QFontDatabase::families();
    });
    QApplication app(qtArgc, qtArgv.data());
    QtMessages::opened();
    opened.set_value();
    Joined fontsRead(fonts);  // before the application object goes
    ExitGuard exitGuard;
    QGuiApplication::setDesktopFileName(QString::fromUtf8(info.desktopId));
    app.setQuitOnLastWindowClosed(false);  // the game ends when its last form unloads
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize free = screen ? (QSizeF(screen->availableGeometry().size()) / factor).toSize() : QSize();
    std::optional<QSize> windowed = options.windowed;
    qreal scaled = factor;
    if (!options.replay.isEmpty()) {
        // The recorded stage, in a window, drawn smaller where it does not fit.
        const QSize stage(reader.header().stageWidthPx, reader.header().stageHeightPx);
        windowed = stage;
        scaled = std::min({factor, qreal(free.width()) / stage.width(), qreal(free.height()) / stage.height()});
    } else if (options.windowed &&
               (options.windowed->width() > free.width() || options.windowed->height() > free.height()))
        Refuse(QStringLiteral("--windowed %1x%2 does not fit the screen's %3x%4; give WIDTHxHEIGHT up to that")
                   .arg(options.windowed->width())
                   .arg(options.windowed->height())
                   .arg(free.width())
                   .arg(free.height()));

    QtServices qt(resources, windowed);
    qt.windows.takeScaleFactor(scaled);
    Services services = qt.services();
    if (options.mute) services.sound = nullptr;
    std::optional<Replayer> replayer;
    std::optional<QtPacer> pacer;
    QTimer flushing;  // a recording reaches the disk at least once a second
    if (!options.replay.isEmpty()) {
        replayer.emplace(reader);
        pacer.emplace(*replayer, qt.windows, options.replaySpeed);
        replayer->setPacer(&*pacer);
        services = replayer->services(&qt.windows, services.sound);
        SetJournal(&*replayer);
    } else if (!options.record.isEmpty()) {
        services = recorder.begin(RecordingHeader(info.version, qt.windows), services);
        SetJournal(&recorder);
        QObject::connect(&flushing, &QTimer::timeout, [&recorder] { recorder.flushIfDue(); });
        flushing.start(250);
    }
    std::optional<Snapshots> snapshots;
    if (Journal* journal = CurrentJournal(); journal && qEnvironmentVariableIsSet("KELVO_SNAPSHOTS")) {
        snapshots.emplace(*journal, qt.windows, qEnvironmentVariable("KELVO_SNAPSHOTS"));
        SetJournal(&*snapshots);
    }
    std::optional<TraceJournal> traced;  // a replay's ticks in the trace, as Timers.cpp writes live ones
    if (replayer && trace::On()) SetJournal(&traced.emplace(*CurrentJournal()));
    InstallServices(services);
    SessionEnd sessionEnd;
    int code = platform::RunProgram(start);
    if (!options.record.isEmpty()) recorder.finish();
    if (replayer) code = Reported(options.replay, *replayer);
    if (finish) finish();
    SetJournal(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the forms' last windows
    InstallServices({});
    return code;
}

}  // namespace platform::qt
