// The program on Qt: its command line, the application object, the services
// and the end of the session.

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <optional>

#include "platform/Application.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/QtServices.h"

namespace platform::qt {
namespace {

struct Options {
    std::optional<QSize> windowed;
    bool mute = false;
};

// Ends the program with status 2 after one line on the error output.
[[noreturn]] void Refuse(const QString& line) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName().toLower()), qPrintable(line));
    std::exit(2);
}

const QString kWindowedForm =
    QStringLiteral("--windowed takes WIDTHxHEIGHT in pixels, for example --windowed 1280x800");

class CommandLine {
public:
    explicit CommandLine(const ProgramInfo& info) {
        parser_.setApplicationDescription(QString::fromUtf8(info.description));
        parser_.addOption(help_);
        parser_.addOption(version_);
        parser_.addOption(windowed_);
        parser_.addOption(mute_);
    }

    // --help and --version answer before anything needs a display.
    void answerHelpOrVersion(int argc, char** argv) {
        QStringList args;
        for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
        parser_.parse(args);
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
    }

    // The options left once Qt has taken its own (-platform and the like).
    Options parse(const QStringList& args) {
        if (!parser_.parse(args)) {
            if (args.contains(QLatin1String("--windowed"))) Refuse(kWindowedForm + QStringLiteral(", and no value"));
            Refuse(QStringLiteral("%1; the options are --help, --version, --windowed WIDTHxHEIGHT and --mute")
                       .arg(parser_.errorText().remove(QLatin1Char('.'))));
        }
        if (!parser_.positionalArguments().isEmpty())
            Refuse(QStringLiteral("unexpected argument '%1'; the options are --help, --version, --windowed "
                                  "WIDTHxHEIGHT and --mute")
                       .arg(parser_.positionalArguments().constFirst()));
        Options options;
        options.mute = parser_.isSet(mute_);
        if (parser_.isSet(windowed_)) {
            const QString value = parser_.value(windowed_);
            const auto match = QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(value);
            const QSize size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
            if (size.width() < 1 || size.height() < 1) Refuse(kWindowedForm + QStringLiteral(", not '%1'").arg(value));
            options.windowed = size;
        }
        return options;
    }

private:
    QCommandLineParser parser_;
    QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")};
    QCommandLineOption version_{{QStringLiteral("v"), QStringLiteral("version")},
                                QStringLiteral("Shows the game's version.")};
    QCommandLineOption windowed_{QStringLiteral("windowed"),
                                 QStringLiteral("Plays in a window whose inside is WIDTHxHEIGHT pixels, such as "
                                                "1280x800, instead of the full screen."),
                                 QStringLiteral("WIDTHxHEIGHT")};
    QCommandLineOption mute_{QStringLiteral("mute"), QStringLiteral("Plays without any sound.")};
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
            if (read(fds_[1], &byte, 1) == 1) EndProgram();
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

}  // namespace

int RunProgram(int argc, char** argv, const ProgramInfo& info, const Resources& resources,
               const std::function<void()>& start, const std::function<void()>& finish) {
    QCoreApplication::setApplicationName(QString::fromUtf8(info.name));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(info.version));
    CommandLine commandLine(info);
    commandLine.answerHelpOrVersion(argc, argv);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromUtf8(info.desktopId));
    app.setQuitOnLastWindowClosed(false);  // the game ends when its last form unloads
    const Options options = commandLine.parse(QCoreApplication::arguments());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize free = screen ? screen->availableGeometry().size() : QSize();
    if (options.windowed && (options.windowed->width() > free.width() || options.windowed->height() > free.height()))
        Refuse(QStringLiteral("--windowed %1x%2 does not fit the screen's %3x%4; give WIDTHxHEIGHT up to that")
                   .arg(options.windowed->width())
                   .arg(options.windowed->height())
                   .arg(free.width())
                   .arg(free.height()));

    QtServices qt(resources, options.windowed);
    Services services = qt.services();
    if (options.mute) services.sound = nullptr;
    InstallServices(services);
    SessionEnd sessionEnd;
    const int code = platform::RunProgram(start);
    if (finish) finish();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the forms' last windows
    InstallServices({});
    return code;
}

}  // namespace platform::qt
