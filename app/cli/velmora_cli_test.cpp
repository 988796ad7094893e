// SPDX-License-Identifier: GPL-3.0-or-later
// The velmora program from the outside: --help, --version and the window's
// message with no display at all; the window program started under the
// program's name, or said to be missing; usage errors; the subcommands on real
// photo trees with the built scripts and tools, through pipes and on a
// pseudo-terminal with Ctrl-C typed there; and, with the stand-in backend,
// the list of failed photos, a worker that fails, a missing tool, and a
// signal during a scan and during a run.
#include <QtTest>

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <memory>

#include "fake_backend.h"
#include "program_run.h"
#include "test_kit.h"

using namespace velmora::clitest;
using namespace velmora::testkit;

namespace {

const QString kProgram = QStringLiteral(VELMORA_PROGRAM);
const QString kSummaryTail = QStringLiteral(R"(\d+ KB in \d+\.\d s\n)");
const QString kInterruptedNote =
    QStringLiteral("The photos done stay done; the others were left as they were.\n");

/// One run of velmora through pipes on the source folder "src", and what it
/// must give.
struct PipedRun {
    /// "built": the built program, scripts and tools; "fake": the stand-in
    /// backend; "no tools": the built scripts without the tools.
    QString program = QStringLiteral("built");
    QStringList files = {};      ///< made below the source folder
    QStringList arguments = {};  ///< SRC stands for the source folder
    /// The stand-in's scan summary and run status lines, how many failed
    /// photos and unreadable folders it lists, and how its run ends.
    QString summary = {}, status = {};
    int failures = 0, unreadable = 0, runExit = 0;
    /// The code and words of each failed photo the stand-in lists.
    QString failureReason = QStringLiteral("not a photo");
    /// Lines of the stand-in's lists of photos whose names cannot be read
    /// and of photos copied uncompressed; SRC is the source.
    QStringList unreadableNames = {}, uncompressed = {};
    bool sourceUnreadable = false;  ///< the stand-in's scan could not read the source itself
    int exitCode = 0;
    QString out = {}, err = {};  ///< patterns of the whole output; SRC is the source
    /// The files below the source and the folders in it, with a "/";
    /// when empty, those the run found.
    QStringList filesAfter = {};
};

/// A JPEG of `width` × `height` noise, which no encoder shrinks much.
QByteArray noisyJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(width * 31 + height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, random.generate());
        }
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return buffer.data();
}

/// Writes `names` under `root`: a noisy JPEG for each ".jpg" name, its own
/// relative path as the content of any other file.
bool writeTree(const QString& root, const QStringList& names, QSize size = {64, 48}) {
    const QByteArray photo = noisyJpeg(size.width(), size.height());
    bool written = QDir().mkpath(root);
    for (const QString& name : names) {
        const QString path = QDir(root).filePath(name);
        written = written && writeFile(path, name.endsWith(".jpg") ? photo : name.toUtf8());
    }
    return written;
}

/// The files below `root` and the folders right in it, with a trailing "/".
QStringList treeBelow(const QString& root) {
    QStringList entries = filesBelow(root);
    for (const QString& folder : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        entries << folder + '/';
    }
    entries.sort();
    return entries;
}

/// `pattern` with SRC standing for `source`, matched against the whole text.
bool matchesWhole(const QString& pattern, const QString& source, const QByteArray& text) {
    QString filled = pattern;
    filled.replace(QLatin1String("SRC"), QRegularExpression::escape(source));
    return QRegularExpression(QRegularExpression::anchoredPattern(filled))
        .match(QString::fromUtf8(text))
        .hasMatch();
}

/// The processes whose command lines name `path`.
QList<qint64> processesNaming(const QString& path) {
    QList<qint64> found;
    const QByteArray wanted = QFile::encodeName(path);
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && readFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).contains(wanted)) {
            found << pid;
        }
    }
    return found;
}

/// The pattern of a usage error saying `message`: one line, and where to look.
QString usage(const QString& message) {
    return QRegularExpression::escape("velmora: " + message + "\nTry 'velmora --help'.\n");
}

}  // namespace

Q_DECLARE_METATYPE(PipedRun)

class VelmoraCliTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<QTemporaryDir> layouts_;
    std::unique_ptr<FakeBackend> backend_;
    int layoutCount_ = 0;

    QString path(const QString& name) const { return scratch_->filePath(name); }

    /// No display, and job folders kept in the scratch folder.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = environmentWithoutDisplay();
        QDir().mkpath(path("tmp"));
        environment.insert(QStringLiteral("TMPDIR"), path("tmp"));
        return environment;
    }

    /// A tree bin/velmora, share/velmora/ holding the stand-in backend (or
    /// the built scripts without the tools beside them), in the build tree
    /// so that the program can be a hard link.
    QString programWith(bool builtScripts) {
        const QString root = layouts_->filePath(QString::number(layoutCount_++));
        const QString scripts = root + QStringLiteral("/share/velmora");
        const QString program = root + QStringLiteral("/bin/velmora");
        if (!QDir().mkpath(root + QStringLiteral("/bin")) ||
            !QDir().mkpath(root + QStringLiteral("/share")) ||
            (link(QFile::encodeName(kProgram).constData(),
                  QFile::encodeName(program).constData()) != 0 &&
             !QFile::copy(kProgram, program))) {
            return {};
        }
        if (!builtScripts) {
            return QFile::link(backend_->scriptFolder(), scripts) ? program : QString();
        }
        for (const char* name : {"sorter_backend.sh", "compress_backend.sh", "backend_tools.sh"}) {
            if (!QDir().mkpath(scripts) ||
                !QFile::copy(QStringLiteral(VELMORA_BUILT_DATA_DIR "/") + QLatin1String(name),
                             scripts + '/' + QLatin1String(name))) {
                return {};
            }
        }
        return program;
    }

  private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram));
        layouts_ = std::make_unique<QTemporaryDir>(QStringLiteral(VELMORA_LAYOUT_PARENT "/XXXXXX"));
        QVERIFY(layouts_->isValid());
    }

    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        QVERIFY(scratch_->isValid());
        backend_ = std::make_unique<FakeBackend>();
    }

    void pipedRuns_data() {
        QTest::addColumn<PipedRun>("run");
        const auto add = [](const char* name, const PipedRun& run) { QTest::newRow(name) << run; };

        // Without a display: the answers that need no source, and the window's message.
        const QString help = QStringLiteral(R"(Usage: velmora \[--help \| --version\]\n[\s\S]*)");
        add("help", {.arguments = {"--help"}, .out = help});
        add("a subcommand's help", {.arguments = {"compress", "-h"}, .out = help});
        add("version", {.arguments = {"--version"},
                        .out = QRegularExpression::escape("velmora " VELMORA_VERSION "\n")});
        add("version, short", {.arguments = {"-V"},
                               .out = QRegularExpression::escape("velmora " VELMORA_VERSION "\n")});
        add("the window", {.exitCode = 1,
                           .err = R"(velmora: no display for the window [^\n]*\n)"
                                  R"([^\n]*'xvfb-run -a velmora'[^\n]*\n)"
                                  R"('velmora sort SOURCE' or 'velmora compress SOURCE'[^\n]*\n)"});

        // Usage errors change nothing.
        const std::pair<QStringList, QString> usageErrors[] = {
            {{"--frobnicate"}, "Unknown option 'frobnicate'."},
            {{"shuffle", "SRC"}, "'shuffle' is not a subcommand; there are sort and compress."},
            {{"sort"}, "sort needs a SOURCE folder."},
            {{"sort", "a", "b"}, "sort takes one SOURCE folder, not 2 (a, b)."},
            {{"sort", "SRC", "--workers", "many"},
             "--workers takes a whole number from 1 to 8, not 'many'."},
            {{"compress", "SRC", "--workers"}, "Missing value after '--workers'."},
            {{"sort", "SRC", "--odd", "9"}, "--odd takes a whole number from 1 to 8, not '9'."},
            {{"compress", "SRC", "--quality", "0"},
             "--quality takes a whole number from 1 to 100, not '0'."},
            {{"sort", "SRC", "--copy", "--move"}, "--copy and --move exclude each other."},
            {{"compress", "SRC", "--even", "2"}, "Unknown option 'even'."},
        };
        for (const auto& [arguments, message] : usageErrors) {
            QTest::newRow(qPrintable(arguments.join(' '))) << PipedRun{.files = {"IMG_1.jpg"},
                                                                       .arguments = arguments,
                                                                       .exitCode = 2,
                                                                       .err = usage(message)};
        }

        // The built scripts and tools on real trees: one summary line and
        // nothing drawn in place.
        const QStringList tree{"a/IMG_1.jpg", "a/IMG_2.jpg", "b/x_13.png", "notes.txt"};
        add("sort moves by default",
            {.files = tree,
             .arguments = {"sort", "SRC"},
             .out = "sort finished: 3 done, 0 failed, " + kSummaryTail,
             .filesAfter = {"GANJIL/", "GANJIL/IMG_1.jpg", "GANJIL/x_13.png", "GENAP/",
                            "GENAP/IMG_2.jpg", "a/", "b/", "notes.txt"}});
        add("sort copies into numbered folders",
            {.files = {"IMG_7.jpg"},
             .arguments = {"sort", "SRC", "--copy", "--odd", "3", "--even", "2", "--workers", "1"},
             .out = "sort finished: 1 done, 0 failed, " + kSummaryTail,
             .filesAfter = {"GANJIL_01/", "GANJIL_01/IMG_7.jpg", "GANJIL_02/", "GANJIL_03/",
                            "GENAP_01/", "GENAP_02/", "IMG_7.jpg"}});
        add("sort with a photo that fails",
            {.files = {"x²5.jpg", "IMG_2.jpg"},
             .arguments = {"sort", "SRC"},
             .exitCode = 1,
             .out = "sort finished: 1 done, 1 failed, " + kSummaryTail,
             .err = R"(Failed photos:\n  SRC/x²5\.jpg: .+\n)",
             .filesAfter = {"GANJIL/", "GENAP/", "GENAP/IMG_2.jpg", "x²5.jpg"}});
        add("sort finds nothing",
            {.files = {"notes.txt"},
             .arguments = {"sort", "SRC"},
             .out = R"(sort: no numbered photos in SRC \(other files: 1\); nothing to do\.\n)"});
        add("sort dry run", {
                                .files = tree,
                                .arguments = {"sort", "SRC", "--dry-run", "--copy", "--even", "2",
                                              "--workers", "2"},
                                .out = R"(sort \(dry run\): SRC\n)"
                                       R"(  numbered photos: 3 \(2 odd, 1 even\)\n)"
                                       R"(  other files, left aside: 1\n)"
                                       R"(  a run would copy them with 2 workers into:\n)"
                                       R"(    SRC/GANJIL\n    SRC/GENAP_01\n    SRC/GENAP_02\n)"
                                       R"(Dry run: nothing was changed\.\n)",
                            });
        const QStringList photos{"a/p1.jpg", "p2.jpg", "notes.txt"};
        add("compress",
            {.files = photos,
             .arguments = {"compress", "SRC", "--quality", "75"},
             .out = R"(compress finished: 2 done, 0 failed, \d+ KB read, \d+ KB written in )"
                    R"(\d+\.\d s\n)",
             .filesAfter = {"COMPRESSED_75/", "COMPRESSED_75/p1.jpg", "COMPRESSED_75/p2.jpg", "a/",
                            "a/p1.jpg", "notes.txt", "p2.jpg"}});
        add("compress dry run",
            {
                .files = photos,
                .arguments = {"compress", "SRC", "--dry-run"},
                .out = R"(compress \(dry run\): SRC\n)"
                       R"(  photos: 2 \(\d+ KB\)\n)"
                       R"(  other files, left aside: 1\n)"
                       R"(  a run would compress them at quality 50 with 4 workers into:\n)"
                       R"(    SRC/COMPRESSED_50\n)"
                       R"(Dry run: nothing was changed\.\n)",
            });
        for (const QString command : {"sort", "compress"}) {
            QTest::addRow("%s without its tools", qPrintable(command))
                << PipedRun{.program = "no tools",
                            .files = {"IMG_1.jpg"},
                            .arguments = {command, "SRC"},
                            .exitCode = 3,
                            .err = QRegularExpression::escape(
                                "velmora: the scan of 'SRC' failed: a tool is missing, or the "
                                "temporary folder cannot be written.\n")};
        }

        // The stand-in reports the ends of the scan and the run: failures
        // and unreadable folders listed up to 20, a worker that stops with
        // an error.
        QString failures = QStringLiteral("Failed photos:\n");
        for (int i = 1; i <= 20; ++i) {
            failures += QStringLiteral("  SRC/photo %1.jpg: not a photo\n").arg(i);
        }
        add("25 failures",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .summary = "25|25|0|0",
             .status = "25|25|0|0.5|25",
             .failures = 25,
             .exitCode = 1,
             .out = QRegularExpression::escape("sort finished: 0 done, 25 failed, 0 KB in 0.5 s\n"),
             .err = QRegularExpression::escape(failures + "  and 5 more\n")});
        add("worker fails",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .summary = "10|5|5|0",
             .runExit = 3,
             .exitCode = 3,
             .out = QRegularExpression::escape("sort stopped with exit status 3: 0 done, 0 failed, "
                                               "10 not done, 0 KB in 0.0 s\n")});
        QString unreadable = "velmora: 21 folders could not be read and were left out:\n";
        for (int i = 1; i <= 20; ++i) {
            unreadable += QStringLiteral("  SRC/locked %1\n").arg(i);
        }
        add("unreadable folders",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .summary = "2|1|1|0",
             .status = "2|0|0|0.1|2",
             .unreadable = 21,
             .out = QRegularExpression::escape("sort finished: 2 done, 0 failed, 0 KB in 0.1 s\n"),
             .err = QRegularExpression::escape(unreadable + "  and 1 more\n")});
        // What the user must know beyond the counts: a full disk, a full
        // job folder, a read-only SOURCE, names that cannot be read, photos
        // kept or copied uncompressed.
        add("disk full",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .summary = "3|2|1|0",
             .status = "3|2|1024|0.2|3",
             .failures = 2,
             .failureReason = "disk-full\tdisk full",
             .exitCode = 1,
             .out = QRegularExpression::escape("sort finished: 1 done, 2 failed, 1 KB in 0.2 s\n"),
             .err = QRegularExpression::escape("Failed photos:\n"
                                               "  SRC/photo 1.jpg: disk full\n"
                                               "  SRC/photo 2.jpg: disk full\n"
                                               "velmora: the disk of 'SRC' is full: 2 photos "
                                               "failed for want of space and stayed where they "
                                               "were.\n")});
        add("job folder full",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .summary = "10|5|5|0",
             .status = "4|1|0|0.2|10",
             .failures = 1,
             .runExit = 4,
             .exitCode = 3,
             .out = QRegularExpression::escape("sort stopped with exit status 4: 3 done, 1 failed, "
                                               "6 not done, 0 KB in 0.2 s\n"),
             .err = R"(Failed photos:\n  SRC/photo 1\.jpg: not a photo\n)"
                    R"(velmora: the disk of the job folder '[^\n]+' is full or failing: the )"
                    R"(counts above may be short\. Every photo is where the run left it, )"
                    R"(whole\.\n)"});
        add("read-only to the worker",
            {.program = "fake",
             .arguments = {"compress", "SRC"},
             .summary = "2|0|2048|0",
             .runExit = 5,
             .exitCode = 3,
             .err = QRegularExpression::escape(
                 "velmora: 'SRC' is on a read-only file system: nothing was changed.\n")});
        add("names that cannot be read",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .summary = "3|2|1|2|2",
             .status = "3|0|0|0.1|3",
             .unreadableNames = {"SRC/a\\xff1.jpg", "SRC/b\\xfe2.jpg"},
             .out = QRegularExpression::escape(
                 "sort finished: 3 done, 0 failed, 0 KB in 0.1 s\n"
                 "2 photos have names that cannot be read and were not sorted.\n"),
             .err = QRegularExpression::escape(
                 "velmora: 2 photos have names that cannot be read and will not be sorted:\n"
                 "  SRC/a\\xff1.jpg\n  SRC/b\\xfe2.jpg\n")});
        add("compress keeps some and copies some",
            {.program = "fake",
             .arguments = {"compress", "SRC"},
             .summary = "4|0|4096|0",
             .status = "4|0|1024|4096|0.3|4|1|2",
             .uncompressed = {"SRC/empty.jpg\tnot-image\tnot a readable image; copied unchanged",
                              "SRC/notes.jpg\tnot-image\tnot a readable image; copied unchanged"},
             .out = QRegularExpression::escape(
                 "compress finished: 4 done, 0 failed, 4 KB read, 1 KB written in 0.3 s\n"
                 "1 photo was kept as it was: re-encoded, it came out no smaller.\n"
                 "2 files were copied without compression: they are not readable images.\n"),
             .err = QRegularExpression::escape(
                 "Copied without compression:\n  SRC/empty.jpg\n  SRC/notes.jpg\n")});
        add("quiet",
            {.files = {"IMG_1.jpg", "x²5.jpg"},
             .arguments = {"sort", "SRC", "--quiet", "--copy"},
             .exitCode = 1,
             .filesAfter = {"GANJIL/", "GANJIL/IMG_1.jpg", "GENAP/", "IMG_1.jpg", "x²5.jpg"}});
        // Readable when checked, but no longer when scanned.
        add("source unreadable to the scan",
            {.program = "fake",
             .arguments = {"sort", "SRC"},
             .sourceUnreadable = true,
             .exitCode = 3,
             .err = QRegularExpression::escape("velmora: the scan could not read 'SRC'.\n")});
    }

    void pipedRuns() {
        QFETCH(PipedRun, run);
        const QString source = path("src");
        QVERIFY(writeTree(source, run.files));
        const QStringList before = treeBelow(source);
        QStringList failures, unreadable;
        for (int n = 1; n <= std::max(run.failures, run.unreadable); ++n) {
            failures << QStringLiteral("%1/photo %2.jpg\t").arg(source).arg(n) + run.failureReason;
            unreadable << QStringLiteral("%1/locked %2").arg(source).arg(n);
        }
        QVERIFY(run.summary.isEmpty() || backend_->setSummary(run.summary));
        QVERIFY(run.status.isEmpty() || backend_->setStatus(run.status));
        QVERIFY(run.failures == 0 || backend_->setFailures(failures.mid(0, run.failures)));
        QVERIFY(run.unreadable == 0 || backend_->setUnreadable(unreadable.mid(0, run.unreadable)));
        QVERIFY(!run.sourceUnreadable || backend_->setUnreadable({source}));
        QStringList unreadableNames = run.unreadableNames, uncompressed = run.uncompressed;
        QVERIFY(run.unreadableNames.isEmpty() ||
                backend_->setUnreadableNames(unreadableNames.replaceInStrings("SRC", source)));
        QVERIFY(run.uncompressed.isEmpty() ||
                backend_->setUncompressed(uncompressed.replaceInStrings("SRC", source)));
        QVERIFY(backend_->finish(run.runExit));
        const QString program =
            run.program == "built" ? kProgram : programWith(run.program != "fake");

        QStringList arguments = run.arguments;
        const ProgramRun ran =
            runPiped(program, arguments.replaceInStrings("SRC", source), environment());
        QCOMPARE(ran.exitCode, run.exitCode);
        QVERIFY2(matchesWhole(run.out, source, ran.out), ran.out.constData());
        QVERIFY2(matchesWhole(run.err, source, ran.err), ran.err.constData());
        QCOMPARE(treeBelow(source), run.filesAfter.isEmpty() ? before : run.filesAfter);
    }

    void unusableSource_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing"
                                 << "No such file or directory";
        QTest::newRow("a file") << "file.jpg"
                                << "Not a directory";
        if (getuid() != 0) {  // root lists any folder
            QTest::newRow("unreadable") << "locked"
                                        << "Permission denied";
        }
    }

    void unusableSource() {
        QFETCH(QString, source);
        QFETCH(QString, reason);
        QVERIFY(writeFile(path("file.jpg"), "x"));
        QVERIFY(QDir().mkpath(path("locked")));
        QVERIFY(QFile::setPermissions(path("locked"), QFileDevice::WriteOwner));
        for (const QString& command : {QStringLiteral("sort"), QStringLiteral("compress")}) {
            const ProgramRun run = runPiped(kProgram, {command, path(source)}, environment());
            QCOMPARE(run.exitCode, 3);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(QString::fromUtf8(run.err), QStringLiteral("velmora: cannot use '%1' as "
                                                                "SOURCE: %2\n")
                                                     .arg(path(source), reason));
        }
        QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
    }

    // A SOURCE on a read-only mount ends the job before any photo is
    // tried: one message, exit status 3, nothing changed. A dry run still
    // reports.
    void readOnlySource() {
        if (getuid() != 0) {
            QSKIP("mounting a read-only file system needs root");
        }
        const QString source = path("card");
        QVERIFY(QDir().mkpath(source));
        const auto mount = [](const QStringList& arguments) {
            return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
        };
        if (!mount({"-t", "tmpfs", "-o", "size=4m", "tmpfs", source})) {
            QSKIP("tmpfs cannot be mounted here");
        }
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {source}); });
        QVERIFY(writeTree(source, {"DCIM/IMG_1.jpg", "DCIM/IMG_2.jpg"}));
        QVERIFY(mount({"-o", "remount,ro", source}));
        const QStringList before = treeBelow(source);
        for (const QString& command : {QStringLiteral("sort"), QStringLiteral("compress")}) {
            const ProgramRun run = runPiped(kProgram, {command, source}, environment());
            QCOMPARE(run.exitCode, 3);
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(QString::fromUtf8(run.err),
                     QStringLiteral("velmora: '%1' is on a read-only file system: nothing was "
                                    "changed.\n")
                         .arg(source));
            QCOMPARE(runPiped(kProgram, {command, source, "--dry-run"}, environment()).exitCode, 0);
        }
        QCOMPARE(treeBelow(source), before);
    }

    // Killed, velmora takes its job with it: the worker stops as on Ctrl-C,
    // ends the photos in flight whole and leaves no temporary folder.
    void killedCommandLineEndsItsJob() {
        const QString source = path("src");
        const QString output = QDir(source).filePath("COMPRESSED_50");
        QStringList names;
        for (int i = 0; i < 200; ++i) {
            names << QStringLiteral("photo_%1.jpg").arg(i);
        }
        QVERIFY(writeTree(source, names, {640, 480}));
        bool killed = false;
        const ProgramRun run =
            runPiped(kProgram, {"compress", source, "--workers", "1"}, environment(),
                     [&](const QByteArray&, qint64 velmora, int) {
                         if (!killed && QDir(output).entryList(QDir::Files).size() >= 3) {
                             killed = kill(static_cast<pid_t>(velmora), SIGKILL) == 0;
                         }
                     });
        QVERIFY(killed);
        QCOMPARE(run.exitCode, -1);  // ended by the signal
        QTRY_COMPARE_WITH_TIMEOUT(processesNaming(source), QList<qint64>{}, 10000);
        const QStringList outputs = QDir(output).entryList(QDir::Files);
        QVERIFY2(outputs.size() < names.size(), "the job went on without its command line");
        QCOMPARE(QDir(output).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 outputs);
        for (const QString& name : outputs) {
            QVERIFY2(!QImage(QDir(output).filePath(name)).isNull(), qPrintable(name));
        }
    }

    // --json: one record per photo, saying where it went or why it failed,
    // and a last one with the counts; nothing else on standard output.
    void jsonRecords() {
        const QString source = path("src");
        QVERIFY(writeTree(source, {"a/IMG_1.jpg", "b/IMG_1.jpg", "IMG_2.jpg", "x²5.jpg"}));
        const ProgramRun run = runPiped(kProgram, {"sort", source, "--json"}, environment());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QByteArray());
        QList<QJsonObject> records;
        for (const QByteArray& line : run.out.split('\n')) {
            if (!line.isEmpty()) {
                QJsonParseError error{};
                const QJsonDocument document = QJsonDocument::fromJson(line, &error);
                QVERIFY2(error.error == QJsonParseError::NoError && document.isObject(),
                         line.constData());
                records << document.object();
            }
        }
        QCOMPARE(records.size(), 5);
        QStringList moved, failed;
        for (const QJsonObject& record : records.first(4)) {
            const QString from = record.value("source").toString();
            if (record.value("result") == "failed") {
                failed << from.mid(source.size()) + ' ' + record.value("reason").toString();
                continue;
            }
            QCOMPARE(record.value("result").toString(), "moved");
            const QString to = record.value("destination").toString();
            QVERIFY2(QFileInfo(to).isFile() && !QFileInfo::exists(from), qPrintable(to));
            moved << from.mid(source.size()) + " -> " + to.mid(source.size());
        }
        moved.sort();
        QCOMPARE(failed, QStringList{"/x²5.jpg no-number"});
        QCOMPARE(moved.size(), 3);
        QVERIFY(moved.contains("/IMG_2.jpg -> /GENAP/IMG_2.jpg"));
        // The two IMG_1.jpg both arrive, one under a free name.
        QCOMPARE(
            moved.filter(QRegularExpression(R"(^/[ab]/IMG_1\.jpg -> /GANJIL/IMG_1( \(1\))?\.jpg$)"))
                .size(),
            2);
        const QJsonObject summary = records.last().value("summary").toObject();
        QCOMPARE(summary.value("command").toString(), "sort");
        QCOMPARE(summary.value("outcome").toString(), "finished");
        QCOMPARE(summary.value("done").toInt(), 3);
        QCOMPARE(summary.value("failed").toInt(), 1);
        QCOMPARE(summary.value("notDone").toInt(), 0);
    }

    // A display variable with no server behind it gets the same advice as
    // none at all, and status 1 instead of Qt's abort.
    void staleDisplay_data() {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::newRow("X") << "DISPLAY"
                           << ":987";
        QTest::newRow("X by its socket name") << "DISPLAY"
                                              << "unix:987.0";
        QTest::newRow("Wayland") << "WAYLAND_DISPLAY"
                                 << "wayland-gone";
    }
    void staleDisplay() {
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QProcessEnvironment stale = environment();
        stale.insert(variable, value);
        stale.insert("XDG_RUNTIME_DIR", path("tmp"));
        const ProgramRun run = runPiped(kProgram, {}, stale);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(
            run.err.startsWith("velmora: no display for the window (" + variable.toUtf8() + '=' +
                               value.toUtf8() + " set, but no display server answers there).\n"),
            run.err.constData());
        QVERIFY(run.err.contains("'xvfb-run -a velmora'"));
    }

    // Where only the command line is installed (the package velmora-cli),
    // velmora alone says in one line how to get the window, with a display
    // or without one, and the rest works as before.
    void windowNotInstalled_data() {
        QTest::addColumn<QString>("platform");
        QTest::newRow("no display") << "";
        QTest::newRow("a display") << "offscreen";
    }
    void windowNotInstalled() {
        QFETCH(QString, platform);
        const QString program = programWith(false);
        QVERIFY(!program.isEmpty());
        QProcessEnvironment settings = environment();
        if (!platform.isEmpty()) {
            settings.insert("QT_QPA_PLATFORM", platform);
        }
        const ProgramRun run = runPiped(program, {}, settings);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err, QByteArray("velmora: the window is not installed; install the package "
                                     "\"velmora\" for it ('velmora sort' and 'velmora "
                                     "compress' work without it).\n"));
        const ProgramRun version = runPiped(program, {"--version"}, settings);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("velmora " VELMORA_VERSION "\n"));
    }

    // With a display, velmora becomes the window program installed beside
    // the tools, under its own name, so that the window's X11 class stays
    // "velmora" as the desktop entry says.
    void windowStartedUnderTheProgramName() {
        const QString program = programWith(false);
        QVERIFY(!program.isEmpty());
        const QString root = QFileInfo(program).absolutePath() + QStringLiteral("/..");
        const QString window = QDir::cleanPath(root + "/libexec/velmora/velmora-window");
        QVERIFY(QDir().mkpath(QFileInfo(window).path()));
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_WINDOW_STAND_IN), window));
        QProcessEnvironment settings = environment();
        settings.insert("QT_QPA_PLATFORM", "offscreen");
        const ProgramRun run = runPiped(program, {}, settings);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromLocal8Bit(run.out),
                 "argv0=" + program + "\nexe=" + QFileInfo(window).canonicalFilePath() + '\n');

        // Without a display it is not started, and says what to do instead.
        const ProgramRun noDisplay = runPiped(program, {}, environment());
        QCOMPARE(noDisplay.exitCode, 1);
        QCOMPARE(noDisplay.out, QByteArray());
        QVERIFY2(noDisplay.err.startsWith("velmora: no display for the window ("),
                 noDisplay.err.constData());
    }

    // The help fits a terminal of 80 columns and says where bugs go.
    void helpFitsEightyColumns() {
        const ProgramRun run = runPiped(kProgram, {"--help"}, environment());
        QCOMPARE(run.exitCode, 0);
        for (const QByteArray& line : run.out.split('\n')) {
            QVERIFY2(QString::fromUtf8(line).size() <= 80, line.constData());
        }
        QVERIFY(run.out.contains("\nReport bugs to <https://"));
    }

    // A terminal that takes no escape codes gets no live line.
    void dumbTerminal() {
        const QString source = path("src");
        QVERIFY(writeTree(source, {"IMG_1.jpg", "IMG_2.jpg"}));
        QProcessEnvironment dumb = environment();
        dumb.insert("TERM", "dumb");
        const ProgramRun run = runOnTerminal(kProgram, {"sort", source, "--copy"}, dumb, 80, {});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(!run.out.contains('\033') && !run.out.contains("\r\r"), run.out.constData());
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(
                                        "sort finished: 2 done, 0 failed, " + kSummaryTail))
                     .match(QString::fromUtf8(run.out).remove('\r'))
                     .hasMatch(),
                 run.out.constData());
    }

    // On a terminal: the scan's and the run's live lines, each redrawn in
    // place and cut to the terminal's width; then Ctrl-C typed there ends
    // the run, the photos done stay, the others are untouched, and the
    // summary says so.
    void terminalRunEndedByCtrlC() {
        const int photos = 200;
        const int columns = 50;
        const QString source = path("src");
        const QString output = QDir(source).filePath("COMPRESSED_50");
        QStringList names;
        for (int i = 0; i < photos; ++i) {
            names << QStringLiteral("photo_%1.jpg").arg(i);
        }
        QVERIFY(writeTree(source, names, {640, 480}));
        const QByteArray photo = readFile(QDir(source).filePath(names.first()));
        const QRegularExpression progress(QRegularExpression::anchoredPattern(QStringLiteral(
            R"(compress: (\d+)/200 \((\d+)%\), \d+\.\d MB/s, ETA (--:--|\d\d:\d\d))")));
        bool typed = false;
        const ProgramRun run =
            runOnTerminal(kProgram, {"compress", source, "--workers", "1"}, environment(), columns,
                          [&](const QByteArray& out, qint64, int terminal) {
                              if (!typed && out.count("/200 (") >= 2 &&
                                  QDir(output).entryList(QDir::Files).size() >= 3) {
                                  typed = write(terminal, "\x03", 1) == 1;
                              }
                          });
        QVERIFY(typed);
        QCOMPARE(run.exitCode, 130);

        // Every live line is drawn as "\r", erase to the end of the line, the
        // text. The summary comes last, after the live line is cleared, its
        // lines ended as a terminal ends them: CR LF.
        const qsizetype cleared = run.out.lastIndexOf("\r\033[K");
        QVERIFY2(run.out.startsWith('\r') && cleared > 0, run.out.constData());
        QList<QByteArray> drawn = run.out.left(cleared).split('\r');
        drawn.removeFirst();
        if (drawn.last().endsWith("^C")) {
            drawn.last().chop(2);  // the terminal's echo of the Ctrl-C typed
        }
        QVERIFY(drawn.first().startsWith("\033[Kcompress: scanning "));
        int progressLines = 0;
        qint64 lastCount = -1;
        for (const QByteArray& line : drawn) {
            QVERIFY2(line.startsWith("\033[K") && line.size() - 3 < columns, line.constData());
            const auto match = progress.match(QString::fromUtf8(line.mid(3)));
            if (match.hasMatch()) {
                QVERIFY(match.captured(1).toLongLong() >= lastCount);
                lastCount = match.captured(1).toLongLong();
                ++progressLines;
            }
        }
        QVERIFY2(progressLines >= 2, run.out.constData());
        QString summary = QString::fromUtf8(run.out.mid(cleared + 4));
        QVERIFY2(summary.endsWith("\r\n") && summary.count('\r') == summary.count('\n'),
                 qPrintable(summary));
        const auto ended =
            QRegularExpression(QRegularExpression::anchoredPattern(
                                   R"(compress interrupted: (\d+) done, 0 failed, (\d+) not done, )"
                                   R"([\d.]+ [KM]B read, [\d.]+ [KM]B written in \d+\.\d s\n)" +
                                   QRegularExpression::escape(kInterruptedNote)))
                .match(summary.remove('\r'));
        QVERIFY2(ended.hasMatch(), qPrintable(summary));
        const int done = ended.captured(1).toInt();
        QCOMPARE(done + ended.captured(2).toInt(), photos);
        QVERIFY(done < photos);
        QVERIFY(QDir(output).entryList(QDir::Files).size() >= done);
        for (const QString& name : names) {
            QCOMPARE(readFile(QDir(source).filePath(name)), photo);
        }
    }

    // SIGINT or SIGTERM to velmora ends its backend, during the scan or the run.
    void interruptions_data() {
        QTest::addColumn<QString>("verb");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("out");
        QTest::newRow("SIGINT during the scan")
            << "scan" << SIGINT << "sort interrupted during the scan: nothing was changed.\n";
        QTest::newRow("SIGTERM during the run")
            << "sort" << SIGTERM
            << "sort interrupted: 3 done, 0 failed, 7 not done, 2 KB in 1.0 s\n" + kInterruptedNote;
        // A closed terminal.
        QTest::newRow("SIGHUP during the run")
            << "sort" << SIGHUP
            << "sort interrupted: 3 done, 0 failed, 7 not done, 2 KB in 1.0 s\n" + kInterruptedNote;
    }

    void interruptions() {
        QFETCH(QString, verb);
        QFETCH(int, signal);
        QFETCH(QString, out);
        QVERIFY(backend_->setSummary("10|5|5|0"));
        QVERIFY(backend_->setStatus("3|0|2048|1.0|10"));
        QVERIFY(verb != "scan" || backend_->holdScans(true));
        QVERIFY(QDir().mkpath(path("src")));

        // Signalled once the backend works: scanning, or running with its
        // status written.
        qint64 backend = 0;
        const ProgramRun run =
            runPiped(programWith(false), {"sort", path("src")}, environment(),
                     [&](const QByteArray&, qint64 velmora, int) {
                         const QString job = backend_->arguments(verb).value(2);
                         if (backend == 0 && !job.isEmpty() &&
                             (verb == "scan" || QFileInfo::exists(job + "/status.txt"))) {
                             backend = backend_->processId(verb);
                             kill(static_cast<pid_t>(velmora), signal);
                         }
                     });
        QVERIFY(backend != 0);
        QCOMPARE(run.exitCode, 128 + signal);
        QCOMPARE(QString::fromUtf8(run.out), out);
        QTRY_COMPARE_WITH_TIMEOUT(processState(backend), '\0', 10000);
    }
};

QTEST_GUILESS_MAIN(VelmoraCliTest)
#include "velmora_cli_test.moc"
