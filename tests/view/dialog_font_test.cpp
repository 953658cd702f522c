#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "app/view/dialog_font.h"
#include "app/view/qt_text.h"
#include "tests/view/view_harness.h"

namespace si32 {
namespace {

using viewtest::WindowRun;

struct CacheLine {
    QByteArray key;
    int stretch = 0, control = 0, advance = 0;
};

std::vector<CacheLine> cacheLines(const QString& file) {
    QFile in(file);
    std::vector<CacheLine> lines;
    if (!in.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 4) lines.push_back({f[0], f[1].toInt(), f[2].toInt(), f[3].toInt()});
    }
    return lines;
}

void writeFile(const QString& file, const QByteArray& bytes) {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

// The caption's width in the dialog font at this stretch, as the fit measures it.
int advanceAt(const Control& caption, int stretch) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kDialogFontPoints);
    if (stretch != QFont::Unstretched) font.setStretch(stretch);
    return QFontMetrics(font).horizontalAdvance(fromModelText(caption.text));
}

int stretchOf(const QFont& font) {
    return font.stretch() == QFont::AnyStretch ? int(QFont::Unstretched) : font.stretch();
}

TEST(DialogFont, AnEarlierStartsFitIsTakenOnlyWhileItsFontMeasuresTheSame) {
    WindowRun run(viewtest::viewMachine());
    const std::span<const Control> controls = run.session->form.controls();
    const TwipsScale scale(96, 96);
    const int fitted = stretchOf(dialogFont(controls, scale, 1, QString()));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("cache/si32/dialog-font"));

    // What a start with no cache writes: the key and the widest caption.
    EXPECT_EQ(stretchOf(dialogFont(controls, scale, 1, file)), fitted);
    const std::vector<CacheLine> written = cacheLines(file);
    ASSERT_EQ(written.size(), 1u);
    const CacheLine kept = written.front();
    ASSERT_LT(static_cast<std::size_t>(kept.control), controls.size());
    EXPECT_EQ(kept.stretch, fitted);
    EXPECT_EQ(kept.advance, advanceAt(controls[kept.control], fitted));

    // A different stretch than the fit's, its caption measured at it, stands
    // for an earlier start on another font: taken as it is.
    const int other = fitted == 80 ? 81 : 80;
    auto line = [&](int stretch, int advance) {
        return kept.key + ' ' + QByteArray::number(stretch) + ' ' + QByteArray::number(kept.control) + ' ' +
               QByteArray::number(advance) + '\n';
    };
    const QByteArray remembered = line(other, advanceAt(controls[kept.control], other));

    struct Case {
        const char* what;
        std::function<void()> prepare;
        int expected;
        bool refitted;  // the cache holds the fresh fit afterwards
    };
    // A pipe or a folder in the cache's place is left as it is: reading the
    // pipe would block, and neither is this program's to remove.
    const std::vector<Case> cases = {
        {"a remembered fit", [&] { writeFile(file, remembered); }, other, false},
        {"its caption measures otherwise now",
         [&] { writeFile(file, line(other, advanceAt(controls[kept.control], other) + 1)); }, fitted, true},
        {"among other fonts' lines", [&] { writeFile(file, "0 90 1 5\n12ab 88 2 7\n" + remembered); }, other, false},
        {"binary and Latin-1 bytes",
         [&] { writeFile(file, QByteArray("\x00\xff\xe9t\xe9 90 1\n", 12) + "zz 1 2 3\n"); }, fitted, true},
        {"a stretch out of range", [&] { writeFile(file, line(20, 1)); }, fitted, true},
        {"a file too large to be ours", [&] { writeFile(file, QByteArray(5000, ' ') + remembered); }, fitted, true},
        {"a pipe nobody writes to",
         [&] {
             QFile::remove(file);
             ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
         },
         fitted, false},
        {"a folder", [&] { QDir().mkpath(file); }, fitted, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(file).removeRecursively();
        QFile::remove(file);
        c.prepare();
        EXPECT_EQ(stretchOf(dialogFont(controls, scale, 1, file)), c.expected);
        if (c.refitted) {
            const std::vector<CacheLine> after = cacheLines(file);
            ASSERT_FALSE(after.empty());
            EXPECT_EQ(after.front().stretch, fitted);
        }
    }
    QDir(file).removeRecursively();
}

}  // namespace
}  // namespace si32
