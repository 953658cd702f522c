// The window on real display servers, each its own process: Qt's offscreen
// platform with a described screen, Xvfb (a server of the test's own, with
// its own cookie) and weston's headless backend. A server that is not
// installed skips its test.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/support/source_dir.h"
#include "tests/support/x_server.h"

namespace {

QString binaryDir() {
    const char* dir = std::getenv("SI32_BINARY_DIR");
    return QString::fromLocal8Bit(dir != nullptr ? dir : ".") + "/bin/";
}

QString sourceDir() { return QString::fromStdString(si32::testsupport::sourceDir()); }

struct Ended {
    bool finished = false;
    int status = -1;
    QString out;
    QString err;
};

// Starts program with the environment changed as given, in a process group
// of its own; a run that hangs is killed and reported as not finished, and
// whatever it started ends with it.
class Child {
public:
    Child(const QString& program, const QStringList& args, const QStringList& set, const QStringList& unset = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& name : unset) env.remove(name);
        for (const auto& pair : set) env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        process_.setProcessEnvironment(env);
        process_.setChildProcessModifier([] { ::setpgid(0, 0); });
        process_.start(program, args);
        if (process_.waitForStarted()) group_ = static_cast<pid_t>(process_.processId());
    }
    ~Child() {
        if (process_.state() != QProcess::NotRunning) {
            ::kill(-group_, SIGTERM);
            if (!process_.waitForFinished(3000)) process_.kill();
            process_.waitForFinished();
        }
        if (group_ > 0) ::kill(-group_, SIGKILL);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    Ended wait(int ms = 30000) {
        Ended run;
        run.finished = process_.waitForFinished(ms);
        if (!run.finished) return run;
        run.status = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process_.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process_.readAllStandardError());
        return run;
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    pid_t group_ = 0;
};

bool installed(const char* program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

bool xvfbInstalled() { return QFile::exists("/usr/bin/Xvfb"); }

// What a client of the server is given: its display and its cookie.
QStringList clientOf(const si32::testsupport::XServer& server) {
    QStringList set;
    for (const std::string& pair : server.environment()) set << QString::fromStdString(pair);
    return set;
}

QStringList lineOf(const QString& out, const QString& who) {
    for (const QString& line : out.split('\n'))
        if (line.startsWith(who + ' ')) return line.split(' ').mid(1);
    return {};
}

TEST(ScreenFacts, DevicePixelsAndDensityAtEveryScaleFactor) {
    const QTemporaryDir dir;
    struct Case {
        const char* what;
        int logicalDpi;           // the screen's density as the platform reports it
        const char* scaleFactor;  // an application zoom on top, or none
        QString density;
    };
    const Case cases[] = {
        {"100 %", 96, nullptr, "96"},
        {"150 % from the density", 144, nullptr, "144"},
        {"200 % from the density", 192, nullptr, "192"},
        {"QT_SCALE_FACTOR=1.5", 96, "1.5", "96"},
        {"QT_SCALE_FACTOR=2", 96, "2", "96"},
        {"150 % and QT_SCALE_FACTOR=1.5", 144, "1.5", "144"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString config = dir.filePath(QString::number(c.logicalDpi) + ".json");
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"screens":[{"name":"wide","x":0,"y":0,"width":2560,"height":1600,)"
                                  R"("logicalDpi":%1,"logicalBaseDpi":96,"dpr":1}]})")
                       .arg(c.logicalDpi)
                       .toUtf8());
        file.close();
        QStringList set = {"QT_QPA_PLATFORM=offscreen:configfile=" + config};
        if (c.scaleFactor != nullptr) set << QString("QT_SCALE_FACTOR=") + c.scaleFactor;
        Child probe(binaryDir() + "screen_probe", {}, set, {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"});
        const Ended run = probe.wait();
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(lineOf(run.out, "window"),
                  QStringList({"2560", "1600", c.density, c.density, "2560", "1600", "2560"}))
            << run.out.toStdString();
    }
}

TEST(ScreenFacts, AnXServerAt200PercentReadsTheSameInTheWindowAndTheReport) {
    if (!xvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    for (const QString& dpi : {QString("192"), QString("96")}) {
        SCOPED_TRACE(dpi.toStdString());
        const si32::testsupport::XServer server({"-screen", "0", "2560x2048x24"});
        ASSERT_TRUE(server.ready()) << server.log();
        Child probe(binaryDir() + "screen_probe", {"--xft-dpi", dpi}, clientOf(server) << "QT_QPA_PLATFORM=xcb",
                    {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"});
        const Ended run = probe.wait();
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QStringList window = lineOf(run.out, "window");
        ASSERT_EQ(window.size(), 7) << run.out.toStdString();
        EXPECT_EQ(window.mid(0, 4), QStringList({"2560", "2048", dpi, dpi}));
        EXPECT_EQ(lineOf(run.out, "report"), window);
    }
}

// A private runtime directory, as a login session has one.
QStringList session(const QTemporaryDir& runtime) { return {"XDG_RUNTIME_DIR=" + runtime.path()}; }

TEST(RealDisplays, WestonShowsTheWindowAndStartUpEndsWithoutTheBackdrop) {
    if (!installed("weston")) GTEST_SKIP() << "weston is not installed";
    if (!QFile::exists("/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so") &&
        !QFile::exists("/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-egl.so"))
        GTEST_SKIP() << "qt6-wayland is not installed";
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket = "si32-test-" + QString::number(::getpid());
    // An output of 2560 x 1600 pixels that the compositor scales by 2.
    Child weston("weston",
                 {"--backend=headless-backend.so", "--socket=" + socket, "--width=1280", "--height=800", "--scale=2",
                  "--idle-time=0", "--no-config"},
                 session(runtime));
    for (int i = 0; i < 100 && !QFile::exists(runtime.filePath(socket)); ++i) QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(runtime.filePath(socket))) << "weston did not start";
    const QStringList onWeston = session(runtime) << "WAYLAND_DISPLAY=" + socket << "QT_QPA_PLATFORM=wayland";
    const QStringList notX11 = {"DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"};

    Child probe(binaryDir() + "screen_probe", {}, onWeston, notX11);
    const Ended measured = probe.wait();
    ASSERT_TRUE(measured.finished);
    EXPECT_EQ(lineOf(measured.out, "window").mid(0, 4), QStringList({"2560", "1600", "192", "192"}))
        << measured.out.toStdString() << measured.err.toStdString();

    // The view test that waits for start-up to end without asking for an
    // activation, run on the compositor.
    Child view(binaryDir() + "view_tests", {"--gtest_filter=WindowView.StartUpEndsOnceTheWindowIsShown"},
               QStringList(onWeston) << "SI32_SOURCE_DIR=" + sourceDir(), notX11);
    const Ended run = view.wait(60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("[  PASSED  ] 1 test")) << run.out.toStdString();
}

// The lock file a window holds on the host, if any.
bool aWindowHoldsItsLock(const QString& runtime) {
    for (const QString& name : QDir(runtime).entryList({"si32-*-window-*.lock"}, QDir::Files)) {
        const int fd = ::open(QFile::encodeName(runtime + "/" + name).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        if (held) return true;
    }
    return false;
}

TEST(RealDisplays, OneUserOnTwoXDisplaysGetsAWindowOnEach) {
    if (!xvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    const si32::testsupport::XServer one({"-screen", "0", "1024x768x24"});
    const si32::testsupport::XServer two({"-screen", "0", "1024x768x24"});
    ASSERT_TRUE(one.ready()) << one.log();
    ASSERT_TRUE(two.ready()) << two.log();
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QStringList host = session(runtime) << "QT_QPA_PLATFORM=xcb"
                                              << "SI32_PREFIX=" + runtime.filePath("prefix");
    const QStringList notSimulated = {"SI32_MACHINE", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"};
    Child first(binaryDir() + "si32", {}, clientOf(one) << host, notSimulated);
    for (int i = 0; i < 200 && !aWindowHoldsItsLock(runtime.path()); ++i) QThread::msleep(50);
    ASSERT_TRUE(aWindowHoldsItsLock(runtime.path())) << "the first window never started";

    // Were the guard still per user, the second would wait on the warning
    // box for ever.
    Child second(binaryDir() + "si32", {}, clientOf(two) << host << "SI32_EXIT_AFTER_ACTIVATION=1", notSimulated);
    const Ended run = second.wait(30000);
    ASSERT_TRUE(run.finished) << "the second display's window never came up";
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(first.process().state(), QProcess::Running);
}

TEST(RealDisplays, CentredOnTheFrameTheWindowManagerReports) {
    if (!xvfbInstalled() || !installed("openbox")) GTEST_SKIP() << "needs Xvfb and openbox";
    const si32::testsupport::XServer server({"-screen", "0", "1280x960x24"});
    ASSERT_TRUE(server.ready()) << server.log();
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Child view(binaryDir() + "view_tests", {"--gtest_filter=WindowView.CentresWithTheFrameTheWindowManagerDraws"},
               clientOf(server) << session(runtime) << "QT_QPA_PLATFORM=xcb"
                                << "SI32_WINDOW_MANAGER=openbox"
                                << "SI32_SOURCE_DIR=" + sourceDir(),
               {"WAYLAND_DISPLAY"});
    const Ended run = view.wait(60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("[  PASSED  ] 1 test")) << run.out.toStdString();
}

}  // namespace
