#include "common/Platform.h"

#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace Platform {

bool IsRunningAsRoot() { return ::geteuid() == 0; }

void PrepareWebEngine()
{
    if (IsRunningAsRoot())
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Machines without a GPU blocklist WebGL anyway; the movies draw with
    // Canvas 2D, which the software rasteriser handles well.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--autoplay-policy=no-user-gesture-required");
}

QString RuntimeDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath();
    return dir;
}

bool HasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
           || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace Platform

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/socket.h>

namespace {
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}
} // namespace

qint64 Platform::MillisecondsSinceProcessStart()
{
    // Field 22 of /proc/self/stat is the start time in clock ticks since boot;
    // the fields after the command name (in parentheses, which may hold
    // spaces) start with field 3.
    char text[1024];
    const int fd = ::open("/proc/self/stat", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const ssize_t size = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (size <= 0)
        return -1;
    text[size] = '\0';
    const char* field = std::strrchr(text, ')');
    for (int number = 2; field && number < 22; ++number) {
        field = std::strchr(field + 1, ' ');
    }
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    timespec now {};
    if (!field || ticksPerSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const unsigned long long startTicks = std::strtoull(field + 1, nullptr, 10);
    const qint64 nowMs = qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return nowMs - qint64(startTicks * 1000 / (unsigned long long)ticksPerSecond);
}

void Platform::ReportOversizedWritesAsErrors()
{
    ::signal(SIGXFSZ, SIG_IGN);
}

void Platform::QuitOnTerminationSignals()
{
    if (g_signalPipe[0] >= 0 || !QCoreApplication::instance())
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(g_signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}
