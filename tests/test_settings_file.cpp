// The settings file, its reads and writes, number conversions and the composed texts.
#include "TestData.h"
#include "core/Conversions.h"
#include "core/Files.h"
#include "core/Messages.h"
#include "core/ProfileFile.h"
#include "core/ReminderState.h"
#include "core/RuntimeError.h"
#include "core/Windows1250.h"
#include "linux/posix/PosixFileSystem.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The settings file as the Linux build reads and replaces it.
PosixFileSystem fileSystem;
Files files(fileSystem);

std::string readFile(const QString& path) {
    return files.read(stdText(path), nullptr);
}

// One value of [data] saved into the file on disk, as the program saves: read, edit, replace.
QString save(const QString& path, const QString& key, const QString& value) {
    return qText(files.replace(stdText(path), [&](std::string stored) {
        ProfileFile file(std::move(stored));
        file.setValue(u"data", stdText(key), stdText(value));
        return file.bytes();
    }));
}

// With its byte-order mark, as editors save "Unicode" text.
QByteArray utf16(const QString& text, QStringEncoder::Encoding order) {
    return QStringEncoder(order, QStringEncoder::Flag::WriteBom).encode(text);
}

const QLocale Czech(QLocale::Czech, QLocale::CzechRepublic);

// A settings file of these bytes in a folder of its own, and the state that reads it.
struct StateFile {
    QTemporaryDir dir;
    ReminderState state;
    Files& files = ::files;
    explicit StateFile(const QByteArray& bytes) {
        state.IniPath = stdText(dir.filePath("data.ini"));
        writeAll(path(), bytes);
    }
    QString path() const { return qText(state.IniPath); }
};

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

  private slots:
    // --- reads: one row per rule of the profile functions ---
    void read_data() {
        columns<QByteArray, QString, QString, int, QString>("content", "section", "key", "size",
                                                            "expected");
        // clang-format off
        QTest::newRow("plain") << QByteArray("[data]\r\n1=60\r\n") << "data" << "1" << 10 << "60";
        QTest::newRow("section and key case") << QByteArray("[DaTa]\r\nK=5\r\n") << "data" << "k" << 10 << "5";
        QTest::newRow("blanks around names and value") << QByteArray("  [ data ]  \r\n\t1  =   60 \t\r\n") << "data" << "1" << 10 << "60";
        QTest::newRow("double quotes") << QByteArray("[t]\n1=\" a b \"\n") << "t" << "1" << 100 << " a b ";
        QTest::newRow("single quotes") << QByteArray("[t]\n1='x'\n") << "t" << "1" << 100 << "x";
        QTest::newRow("unmatched quote stays") << QByteArray("[t]\n1=\"x'\n") << "t" << "1" << 100 << "\"x'";
        QTest::newRow("first section wins") << QByteArray("[t]\n1=a\n[t]\n1=b\n") << "t" << "1" << 100 << "a";
        QTest::newRow("first key wins") << QByteArray("[t]\n1=a\n1=b\n") << "t" << "1" << 100 << "a";
        QTest::newRow("later duplicate section still read") << QByteArray("[t]\n2=a\n[t]\n1=b\n") << "t" << "1" << 100 << "def";
        QTest::newRow("junk lines ignored") << QByteArray("garbage\n[t]\n; comment=no\njunk\n1=a\n") << "t" << "1" << 100 << "a";
        QTest::newRow("key before any section") << QByteArray("1=x\n[t]\n") << "t" << "1" << 100 << "def";
        QTest::newRow("unclosed section header is no section") << QByteArray("[t]\n1=a\n[data\n1=b\n") << "t" << "1" << 100 << "a";
        QTest::newRow("missing key") << QByteArray("[t]\n2=a\n") << "t" << "1" << 100 << "def";
        QTest::newRow("missing section") << QByteArray("[u]\n1=a\n") << "t" << "1" << 100 << "def";
        QTest::newRow("empty value is empty, not default") << QByteArray("[t]\n1=\n") << "t" << "1" << 100 << "";
        QTest::newRow("value with = and inner blanks") << QByteArray("[t]\n1=  a = b  c\n") << "t" << "1" << 100 << "a = b  c";
        QTest::newRow("cut to size - 1") << QByteArray("[t]\n1=123456789012\n") << "t" << "1" << 10 << "123456789";
        QTest::newRow("default cut too") << QByteArray("") << "t" << "1" << 3 << "de";
        QTest::newRow("CR only line ends") << QByteArray("[t]\r1=a\r2=b\r") << "t" << "2" << 100 << "b";
        QTest::newRow("no final line end") << QByteArray("[t]\n1=last") << "t" << "1" << 100 << "last";
        QTest::newRow("NUL ends the value") << QByteArray("[t]\n1=ab\0cd\n", 12) << "t" << "1" << 100 << "ab";
        QTest::newRow("Windows-1250 text") << (QByteArray("[t]\r\n1=") + cp1250("Přestávka č. 1") + "\r\n") << "t" << "1" << 100 << "Přestávka č. 1";
        QTest::newRow("UTF-8 text") << QByteArray("[t]\n1=Žluťoučký kůň\n") << "t" << "1" << 100 << "Žluťoučký kůň";
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[t]\n1=abc\n") << "t" << "1" << 100 << "abc";
        QTest::newRow("only a BOM") << QByteArray("\xEF\xBB\xBF") << "t" << "1" << 100 << "def";
        QTest::newRow("cut counts characters") << QByteArray("[t]\n1=ěščřžýáíé\n") << "t" << "1" << 5 << "ěščř";
        QTest::newRow("cut never splits a character") << QByteArray("[t]\n1=" + QByteArray(98, 'x') + "\xF0\x9F\x98\x80\n") << "t" << "1" << 100 << QString(98, 'x');
        QTest::newRow("UTF-16LE with its mark") << utf16("[t]\r\n1=Přestávka ☕\r\n", QStringEncoder::Utf16LE) << "t" << "1" << 100 << "Přestávka ☕";
        QTest::newRow("UTF-16BE with its mark") << utf16("[t]\n1=kůň\n", QStringEncoder::Utf16BE) << "t" << "1" << 100 << "kůň";
        QTest::newRow("UTF-16 cut never splits a character") << utf16("[t]\n1=" + QString(98, 'x') + "😀\n", QStringEncoder::Utf16LE) << "t" << "1" << 100 << QString(98, 'x');
        // Searches end with the line: nothing of a later line makes this one a key or section.
        QTest::newRow("[ without ] before a ] line") << QByteArray("[t\n]\n[t]\n1=a\n") << "t" << "1" << 100 << "a";
        QTest::newRow("line without = before a key") << QByteArray("[t]\n1\n=b\n1=a\n") << "t" << "1" << 100 << "a";
        // clang-format on
    }
    void read() {
        QTEST(qText(ProfileFile(stdBytes(cell<QByteArray>("content")))
                        .read(stdText(cell<QString>("section")), stdText(cell<QString>("key")),
                              u"def", cell<int>("size"))),
              "expected");
    }

    // --- writes: only the touched value changes ---
    void write_data() {
        columns<QByteArray, QString, QString, QString, QByteArray>("before", "section", "key",
                                                                   "value", "after");
        // clang-format off
        QTest::newRow("empty file") << QByteArray() << "texts" << "1" << "a" << QByteArray("[texts]\r\n1=a\r\n");
        QTest::newRow("replace in place keeps spacing and comments") << QByteArray("; mine\r\n[Data]\r\n 1 = 60 \r\n2=0\r\n") << "data" << "1" << "45" << QByteArray("; mine\r\n[Data]\r\n 1 = 45 \r\n2=0\r\n");
        QTest::newRow("replace quoted value") << QByteArray("[t]\n1=\"old\"\n") << "t" << "1" << "new" << QByteArray("[t]\n1=new\n");
        QTest::newRow("replace empty value") << QByteArray("[t]\n1=\n") << "t" << "1" << "x" << QByteArray("[t]\n1=x\n");
        QTest::newRow("add key at end of section, before blank lines") << QByteArray("[t]\n1=a\n\n[u]\nz=1\n") << "t" << "2" << "b" << QByteArray("[t]\n1=a\n2=b\n\n[u]\nz=1\n");
        QTest::newRow("add key to last section without final line end") << QByteArray("[t]\n1=a") << "t" << "2" << "b" << QByteArray("[t]\n1=a\n2=b\n");
        QTest::newRow("add section keeps LF line ends") << QByteArray("[u]\nz=1\n") << "data" << "1" << "60" << QByteArray("[u]\nz=1\n[data]\n1=60\n");
        QTest::newRow("add section keeps CR line ends") << QByteArray("[u]\rz=1") << "data" << "1" << "60" << QByteArray("[u]\rz=1\r[data]\r1=60\r");
        QTest::newRow("first of duplicate sections is written") << QByteArray("[t]\n1=a\n[t]\n1=b\n") << "t" << "1" << "c" << QByteArray("[t]\n1=c\n[t]\n1=b\n");
        QTest::newRow("line breaks and NUL become blanks") << QByteArray("[t]\r\n1=a\r\n") << "t" << "1" << QString::fromUtf8("x\r\n[data]\n1=0\0y", 15) << QByteArray("[t]\r\n1=x  [data] 1=0 y\r\n");
        QTest::newRow("Windows-1250 file stays Windows-1250") << (QByteArray("[t]\r\n1=") + cp1250("čaj") + "\r\n2=" + cp1250("řeka") + "\r\n") << "t" << "1" << "kůň" << (QByteArray("[t]\r\n1=") + cp1250("kůň") + "\r\n2=" + cp1250("řeka") + "\r\n");
        QTest::newRow("UTF-8 file stays UTF-8") << QByteArray("[t]\n1=čaj\n2=řeka\n") << "t" << "1" << "kůň" << QByteArray("[t]\n1=kůň\n2=řeka\n");
        QTest::newRow("BOM kept") << QByteArray("\xEF\xBB\xBF[t]\n1=a\n") << "t" << "1" << "é" << QByteArray("\xEF\xBB\xBF[t]\n1=é\n");
        QTest::newRow("Windows-1250 bytes that would read as UTF-8 switch the file to UTF-8") << QByteArray("[t]\r\n1=\x9a\r\n") << "t" << "1" << QString::fromUtf8("\xc3\x84\xc5\xa4") << QByteArray("[t]\r\n1=\xc3\x84\xc5\xa4\r\n"); // ÄŤ
        QTest::newRow("UTF-16LE file stays UTF-16LE with its line ends") << utf16("[t]\r\n1=a\r\n2=b\r\n", QStringEncoder::Utf16LE) << "t" << "1" << "čaj ☕" << utf16("[t]\r\n1=čaj ☕\r\n2=b\r\n", QStringEncoder::Utf16LE);
        QTest::newRow("UTF-16BE file takes a new section in UTF-16BE") << utf16("[t]\n1=a\n", QStringEncoder::Utf16BE) << "data" << "1" << "60" << utf16("[t]\n1=a\n[data]\n1=60\n", QStringEncoder::Utf16BE);
        QTest::newRow("UTF-16: a lone surrogate elsewhere and an odd last byte stay as they were") << utf16("[t]\r\n1=a\r\n[x]\r\ny=", QStringEncoder::Utf16LE) + QByteArray("\x00\xD8\r\0\x7f", 5) << "t" << "1" << "b" << utf16("[t]\r\n1=b\r\n[x]\r\ny=", QStringEncoder::Utf16LE) + QByteArray("\x00\xD8\r\0\x7f", 5);
        QTest::newRow("text beyond Windows-1250 switches the file to UTF-8") << (QByteArray("[t]\r\n2=") + cp1250("řeka") + "\r\n") << "t" << "1" << "☕ pauza" << QByteArray("[t]\r\n2=řeka\r\n1=☕ pauza\r\n");
        // clang-format on
    }
    void write() {
        ProfileFile file(stdBytes(cell<QByteArray>("before")));
        file.setValue(stdText(cell<QString>("section")), stdText(cell<QString>("key")),
                      stdText(cell<QString>("value")));
        QTEST(qBytes(file.bytes()), "after");
    }

    void writeFailsOnReadOnlyFileAndKeepsIt() {
        StateFile f("[data]\r\n1=60\r\n");
        ::chmod(QFile::encodeName(f.path()).constData(), 0444);
        const QString result = save(f.path(), "1", "5");
        QVERIFY2(result.contains(QStringLiteral("jen pro čtení")), qPrintable(result));
        QCOMPARE(readAll(f.path()), QByteArray("[data]\r\n1=60\r\n"));
    }

    void writeRefusesWhatIsNoRegularFile_data() {
        QTest::addColumn<QString>("kind");
        // clang-format off
        QTest::newRow("folder") << "folder";
        QTest::newRow("FIFO: no save blocks") << "fifo";
        QTest::newRow("link to an endless device") << "device";
        QTest::newRow("a sparse 2 GiB file is no settings file") << "huge";
        // clang-format on
    }
    void writeRefusesWhatIsNoRegularFile() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("data.ini");
        const QByteArray name = QFile::encodeName(path);
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("data.ini"));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(name.constData(), 0644), 0);
        if (kind == "device")
            QCOMPARE(::symlink("/dev/zero", name.constData()), 0);
        if (kind == "huge") {
            writeAll(path, "[data]\r\n1=60\r\n");
            QCOMPARE(::truncate(name.constData(), 2LL << 30), 0);
        }
        // Reached as a folder whose name is no text is, through a descriptor of the folder;
        // the message names the folder all the same.
        const int folder = ::open(QFile::encodeName(dir.path()), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const QString result =
            save(QStringLiteral("/proc/self/fd/%1/data.ini").arg(folder), "1", "5");
        ::close(folder);
        QVERIFY2(result.contains(path), qPrintable(result));
        // Reads as empty, at once.
        QCOMPARE(ProfileFile(readFile(path)).bytes(), std::string());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{"data.ini"});
    }

    // A save changes the values and nothing else of the file: not its owner, group or mode,
    // not its other names, links, access-control list or extended attributes.
    void writeKeepsWhatTheFileIs_data() {
        columns<QString, QStringList>("kind", "files");
        // clang-format off
        QTest::newRow("mode bits exactly") << "mode" << QStringList{"data.ini"};
        QTest::newRow("hard link") << "hardlink" << QStringList{"data.ini", "other.ini"};
        QTest::newRow("symbolic link stays a link") << "symlink" << QStringList{"data.ini", "real.ini"};
        QTest::newRow("extended attribute") << "xattr" << QStringList{"data.ini"};
        QTest::newRow("access-control list") << "acl" << QStringList{"data.ini"};
        QTest::newRow("another user's file saved by root") << "owner" << QStringList{"data.ini"};
        QTest::newRow("writable file in a folder the user cannot write") << "folder" << QStringList{"data.ini"};
        // clang-format on
    }
    void writeKeepsWhatTheFileIs() {
        QFETCH(QString, kind);
        if ((kind == "owner" || kind == "folder") && ::geteuid() != 0)
            QSKIP("needs root to give the file to another user");
        if (kind == "acl" && QStandardPaths::findExecutable("setfacl").isEmpty())
            QSKIP("setfacl is not installed");
        QTemporaryDir dir;
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        const QString path = dir.filePath("data.ini");
        const QString target = dir.filePath(kind == "symlink" ? "real.ini" : "data.ini");
        if (kind == "symlink")
            QVERIFY(QFile::link("real.ini", path));
        writeAll(target, "[data]\r\n1=60\r\n");
        const QByteArray name = QFile::encodeName(target);
        ::chmod(name.constData(), kind == "mode" ? 06604 : 0644);
        if (kind == "hardlink")
            QCOMPARE(::link(name, QFile::encodeName(dir.filePath("other.ini"))), 0);
        if (kind == "xattr")
            QCOMPARE(::setxattr(name.constData(), "user.vestrel", "kept", 4, 0), 0);
        if (kind == "acl")
            QCOMPARE(QProcess::execute("setfacl", {"-m", "u:nobody:rw,g::r", target}), 0);
        if (kind == "owner" || kind == "folder")
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
        struct stat before {};
        QCOMPARE(::stat(name.constData(), &before), 0);

        if (kind == "folder") { // saved by that user, who may write the file but not the folder
            const pid_t child = ::fork();
            if (child == 0)
                ::_exit(::setgid(65534) || ::setuid(65534) || !save(path, "1", "45").isEmpty());
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QCOMPARE(status, 0);
        } else {
            const QString result = save(path, "1", "45");
            QVERIFY2(result.isEmpty(), qPrintable(result));
        }

        QCOMPARE(readAll(path), QByteArray("[data]\r\n1=45\r\n"));
        struct stat after {};
        QCOMPARE(::stat(name.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        if (kind == "hardlink")
            QCOMPARE(readAll(dir.filePath("other.ini")), QByteArray("[data]\r\n1=45\r\n"));
        if (kind == "symlink")
            QVERIFY(QFileInfo(path).isSymLink());
        if (kind == "xattr") {
            char value[8] = {};
            QCOMPARE(::getxattr(name.constData(), "user.vestrel", value, sizeof value), ssize_t(4));
            QCOMPARE(QByteArray(value), QByteArray("kept"));
        }
        if (kind == "acl") {
            QProcess acl;
            acl.start("getfacl", {"-cp", target});
            QVERIFY(acl.waitForFinished());
            const QByteArray entries = acl.readAllStandardOutput();
            QVERIFY2(entries.contains("user:nobody:rw-") && entries.contains("group::r--"),
                     entries.constData());
        }
        QTEST(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), "files");
    }

    void writeCreatesMissingFile() {
        QTemporaryDir dir;
        QVERIFY(save(dir.filePath("data.ini"), "2", "1").isEmpty());
        QCOMPARE(readAll(dir.filePath("data.ini")), QByteArray("[data]\r\n2=1\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temp left
    }

    // Several megabytes of lines that are no keys or no sections: a save reads the file
    // several times, so anything worse than linear freezes the dialog for seconds.
    void largeFilesTakeLinearTime_data() {
        QTest::addColumn<QByteArray>("line");
        // clang-format off
        QTest::newRow("plain text lines") << QByteArray("plain text without equals\r\n");
        QTest::newRow("[ lines without ]") << QByteArray("[not a section\r\n");
        QTest::newRow("a=b lines") << QByteArray("a=b\n");
        // clang-format on
    }
    void largeFilesTakeLinearTime() {
        QFETCH(QByteArray, line);
        // Four times the file takes about four times as long (a scan that went back over the
        // lines would take sixteen). Each size's best of three: other work shares the machine.
        // Each run reads what the one before saved, and saves another interval.
        const auto bestOfThree = [&](int size, int* wrong) {
            StateFile f("[texts]\r\n" + line.repeated(size / line.size()) + "[data]\r\n1=40\r\n");
            qint64 best = std::numeric_limits<qint64>::max();
            for (int run = 0; run < 3; ++run) {
                QElapsedTimer clock;
                clock.start();
                f.state.LoadSettings(f.files, NumberFormat{});
                *wrong += f.state.IntervalMinutes != float(40 + run);
                *wrong += !f.state.SaveSettings(f.files, 41 + run).empty();
                best = std::min(best, clock.nsecsElapsed());
            }
            *wrong += ProfileFile(readFile(f.path())).value(u"data", u"1") != u"43";
            return best;
        };
        int wrong = 0;
        const qint64 quarter = bestOfThree(2'000'000, &wrong);
        const qint64 whole = bestOfThree(8'000'000, &wrong);
        QCOMPARE(wrong, 0);
        QVERIFY2(whole < 8 * quarter, qPrintable(QString("%1 ms against %2 ms for a quarter")
                                                     .arg(whole / 1000000)
                                                     .arg(quarter / 1000000)));
    }

    void writtenValuesReadBack_data() {
        columns<QByteArray, QString, QString>("file", "value", "readBack");
        // clang-format off
        QTest::newRow("plain") << QByteArray() << "abc" << "abc";
        QTest::newRow("leading U+FEFF is text") << QByteArray() << QString::fromUtf8("\xef\xbb\xbfx") << QString::fromUtf8("\xef\xbb\xbfx");
        QTest::newRow("blanks trimmed, quotes removed") << QByteArray("[t]\n1=old\n") << " 'x' " << "x";
        QTest::newRow("Czech in a BOM file") << QByteArray("\xEF\xBB\xBF") << "čaj" << "čaj";
        // clang-format on
    }
    void writtenValuesReadBack() {
        ProfileFile profile(stdBytes(cell<QByteArray>("file")));
        profile.setValue(u"t", u"1", stdText(cell<QString>("value")));
        QTEST(qText(ProfileFile(profile.bytes()).value(u"t", u"1").value_or(u"<missing>")),
              "readBack");
    }

    void codePageMatchesAndRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString ours = qText(Windows1250::decode(stdBytes(all)));
        const QString theirs = QStringDecoder("windows-1250").decode(all);
        for (int b = 0; b < 256; ++b)
            if (theirs[b] != QChar(0xFFFD)) // ICU leaves the five undefined bytes undecoded
                QCOMPARE(ours[b], theirs[b]);
        bool ok = false;
        QCOMPARE(qBytes(Windows1250::encode(stdText(ours), &ok)), all); // no byte lost either way
        QVERIFY(ok);
        Windows1250::encode(u"€ ok ☕", &ok);
        QVERIFY(!ok);
    }

    // --- the four reads into the reminder state ---
    void load_data() {
        columns<QByteArray, bool, qint16, QString, QString, qint16, float>(
            "content", "czech", "flagBefore", "text1", "text2", "flag", "interval");
        const QByteArray texts = "[texts]\r\n1=A\r\n2=B\r\n";
        // clang-format off
        QTest::newRow("only texts: defaults for the data") << texts << false << ReminderState::True << "A" << "B" << ReminderState::False << 3600.0f;
        QTest::newRow("empty file: all defaults") << QByteArray() << false << ReminderState::False << "..." << "..." << ReminderState::False << 3600.0f;
        QTest::newRow("flag 1") << texts + "[data]\r\n2=1\r\n1=5\r\n" << false << ReminderState::False << "A" << "B" << ReminderState::True << 5.0f;
        QTest::newRow("flag 0") << texts + "[data]\r\n2=0\r\n" << false << ReminderState::True << "A" << "B" << ReminderState::False << 3600.0f;
        QTest::newRow("flag 7 leaves it") << texts + "[data]\r\n2=7\r\n" << false << ReminderState::True << "A" << "B" << ReminderState::True << 3600.0f;
        QTest::newRow("flag 1.0 and 1e0 are 1") << texts + "[data]\r\n2=1e0\r\n" << false << ReminderState::False << "A" << "B" << ReminderState::True << 3600.0f;
        QTest::newRow("flag -1 leaves it") << texts + "[data]\r\n2=-1\r\n" << false << ReminderState::False << "A" << "B" << ReminderState::False << 3600.0f;
        QTest::newRow("flag cut to 4 characters: 10000 reads 1000") << texts + "[data]\r\n2=10001\r\n" << false << ReminderState::False << "A" << "B" << ReminderState::False << 3600.0f;
        QTest::newRow("2,5 under a Czech locale") << texts + "[data]\r\n1=2,5\r\n" << true << ReminderState::False << "A" << "B" << ReminderState::False << 2.5f;
        QTest::newRow("interval cut to 9 characters") << texts + "[data]\r\n1=1234567890\r\n" << false << ReminderState::False << "A" << "B" << ReminderState::False << 123456789.0f;
        QTest::newRow("150 characters read as 99") << QByteArray("[texts]\r\n1=" + QByteArray(150, 'x') + "\r\n") << false << ReminderState::False << QString(99, 'x') << "..." << ReminderState::False << 3600.0f;
        QTest::newRow("= and leading blanks as the profile returns them") << QByteArray("[texts]\r\n1=   a=b \r\n2=\"  quoted \"\r\n") << false << ReminderState::False << "a=b" << "  quoted " << ReminderState::False << 3600.0f;
        QTest::newRow("Czech texts in Windows-1250") << QByteArray("[texts]\r\n1=" + cp1250("Už dost") + "\r\n2=" + cp1250("Běžte ven.") + "\r\n") << false << ReminderState::False << "Už dost" << "Běžte ven." << ReminderState::False << 3600.0f;
        // clang-format on
    }
    void load() {
        QFETCH(QByteArray, content);
        StateFile f(content);
        f.state.HideDesktop = cell<qint16>("flagBefore");
        f.state.LoadSettings(f.files, formatOf(cell<bool>("czech") ? Czech : QLocale::c()));
        QTEST(qText(f.state.MessageText1), "text1");
        QTEST(qText(f.state.MessageText2), "text2");
        QTEST(f.state.HideDesktop, "flag");
        QTEST(f.state.IntervalMinutes, "interval");
        QCOMPARE(f.state.IntervalText.size(), ReminderState::IntervalBufferSize);
        QCOMPARE(readAll(f.path()), content); // reading changes nothing
    }

    void loadRejectsNonNumbers_data() {
        columns<QByteArray, int, QString>("data", "error", "key");
        // clang-format off
        QTest::newRow("empty flag") << QByteArray("2=\r\n") << 13 << "2";
        QTest::newRow("flag abc") << QByteArray("2=abc\r\n") << 13 << "2";
        QTest::newRow("interval NaN") << QByteArray("1=NaN\r\n") << 13 << "1";
        QTest::newRow("interval inf") << QByteArray("1=inf\r\n") << 13 << "1";
        QTest::newRow("interval 0x10") << QByteArray("1=0x10\r\n") << 13 << "1";
        QTest::newRow("interval 60 minut") << QByteArray("1=60 minut\r\n") << 13 << "1";
        QTest::newRow("interval 1e40 overflows") << QByteArray("1=1e40\r\n") << 6 << "1";
        QTest::newRow("empty interval") << QByteArray("1=\r\n") << 13 << "1";
        // clang-format on
    }
    void loadRejectsNonNumbers() {
        StateFile f("[data]\r\n" + cell<QByteArray>("data"));
        try {
            f.state.LoadSettings(f.files, NumberFormat{});
            QFAIL("no error");
        } catch (const RuntimeError& e) {
            QTEST(e.number(), "error");
            const QString message = qText(e.userMessage());
            QVERIFY2(message.contains(f.state.IniPath) && message.contains("[data]") &&
                         message.contains(QStringLiteral("klíč ") + cell<QString>("key")),
                     qPrintable(message));
        }
    }

    void saveIntoEmptyFile() {
        StateFile f("");
        f.state.MessageText1 = stdText(Default1);
        f.state.MessageText2 = stdText(Default2);
        f.state.HideDesktop = ReminderState::False;
        QVERIFY(f.state.SaveSettings(f.files, 60).empty());
        QCOMPARE(readAll(f.path()), DefaultTexts + "[data]\r\n1=60\r\n2=0\r\n");
    }

    void saveKeepsOtherContentAndEncoding() {
        StateFile f(cp1250("; moje nastavení\r\n[texts]\r\n1=Čas\r\n2=Jděte.\r\n"
                           "[jiné]\r\nx=ž\r\n[data]\r\n1=60\r\n2=0\r\n"));
        f.state.LoadSettings(f.files, NumberFormat{});
        f.state.HideDesktop = ReminderState::True;
        QVERIFY(f.state.SaveSettings(f.files, 45).empty());
        QCOMPARE(readAll(f.path()),
                 cp1250("; moje nastavení\r\n[texts]\r\n1=Čas\r\n2=Jděte.\r\n[jiné]\r\nx=ž\r\n"
                        "[data]\r\n1=45\r\n2=1\r\n"));
    }

    void conversions_data() {
        // A locale by its name, or by its separators as a system might give them: "decimal|group".
        columns<QString, QString, double>("text", "locale", "value"); // NaN: error 13; infinity: 6
        const double mismatch = qQNaN();
        const double overflow = qInf();
        // clang-format off
        QTest::newRow("whole") << "60" << "C" << 60.0;
        QTest::newRow("blanks") << " 60 " << "C" << 60.0;
        QTest::newRow("point") << "2.5" << "C" << 2.5;
        QTest::newRow("comma under Czech") << "2,5" << "cs_CZ" << 2.5;
        QTest::newRow("comma under C is no number") << "2,5" << "C" << mismatch;
        QTest::newRow("exponent") << "1e0" << "C" << 1.0;
        QTest::newRow("negative zero") << "-0" << "C" << 0.0;
        QTest::newRow("sign") << "+7" << "C" << 7.0;
        QTest::newRow("empty") << "" << "C" << mismatch;
        QTest::newRow("letters") << "abc" << "C" << mismatch;
        QTest::newRow("nan") << "nan" << "C" << mismatch;
        QTest::newRow("inf") << "inf" << "C" << mismatch;
        QTest::newRow("hex") << "0x10" << "C" << mismatch;
        QTest::newRow("huge") << "1e400" << "C" << overflow;
        QTest::newRow("too small") << "1e-400" << "C" << overflow;
        QTest::newRow("groups of three") << "1,234.5" << "C" << 1234.5;
        QTest::newRow("a group of two") << "1,23" << "C" << mismatch;
        QTest::newRow("a group of four") << "1,2345" << "C" << mismatch;
        QTest::newRow("Czech groups") << "1\u00a0234,5" << "cs_CZ" << 1234.5;
        QTest::newRow("a point alone") << "." << "C" << mismatch;
        QTest::newRow("a trailing point") << "5." << "C" << 5.0;
        QTest::newRow("a leading point") << ".5" << "C" << 0.5;
        QTest::newRow("an exponent without digits") << "1e" << "C" << mismatch;
        // Exponents are read with either letter in every locale, whatever its own notation.
        QTest::newRow("exponent under Swedish") << "1e3" << "sv_SE" << 1000.0;
        QTest::newRow("capital exponent under Swedish") << "1E3" << "sv_SE" << 1000.0;
        QTest::newRow("comma and exponent under Swedish") << "2,5e1" << "sv_SE" << 25.0;
        QTest::newRow("huge under Swedish") << "1e400" << "sv_SE" << overflow;
        QTest::newRow("letters under Swedish") << "1x3" << "sv_SE" << mismatch;
        QTest::newRow("a decimal separator that is no ASCII character") << "2\u066b5" << "ps_AF" << 2.5;
        QTest::newRow("digits that are no ASCII digits") << "\u0662" << "ps_AF" << mismatch;
        QTest::newRow("a digit as the decimal separator") << "2.5" << "0|," << 2.5;
        QTest::newRow("no decimal separator") << "1,002.5" << "|," << 1002.5;
        QTest::newRow("a sign as the decimal separator") << "2.5" << "-|" << 2.5;
        QTest::newRow("groups as the decimal separator") << "2.5" << ".|." << 2.5;
        // clang-format on
    }
    void conversions() {
        QFETCH(double, value);
        try {
            const QStringList separators = cell<QString>("locale").split(u'|');
            const NumberFormat format =
                separators.size() == 2
                    ? NumberFormat::of(stdText(separators[0]), stdText(separators[1]))
                    : formatOf(QLocale(separators[0]));
            const double got = Conversions::toDouble(stdText(cell<QString>("text")), format);
            QVERIFY2(std::isfinite(value), "expected an error");
            QCOMPARE(got, value);
            QVERIFY(!std::signbit(got));
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), std::isnan(value) ? 13 : 6);
        }
    }

    void integerRoundsHalvesToEven() {
        QCOMPARE(Conversions::toInteger(2.5), qint16(2));
        QCOMPARE(Conversions::toInteger(3.5), qint16(4));
        QCOMPARE(Conversions::toInteger(-2.5), qint16(-2));
        QCOMPARE(Conversions::toInteger(59.6), qint16(60));
        QCOMPARE(Conversions::toInteger(32767.4), qint16(32767));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Conversions::toInteger(32767.5));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Conversions::toSingle(u"1e39", NumberFormat{}));
    }

    void composedTexts_data() {
        columns<QString, QString, float, bool, QString, QString>("text1", "text2", "interval",
                                                                 "czech", "warning", "summary");
        // clang-format off
        QTest::newRow("defaults") << "U počítače už sedíte déle jak" << "Doporučuji práci odložit a protáhnout se." << 60.0f << false << "U počítače už sedíte déle jak 60 minut. Doporučuji práci odložit a " "protáhnout se." << "Zobrazit výstražné okno jednou za 60 minut.";
        QTest::newRow("empty texts") << "" << "" << 60.0f << false << " 60 minut. " << "Zobrazit výstražné okno jednou za 60 minut.";
        QTest::newRow("missing texts") << "..." << "..." << 60.0f << false << "... 60 minut. ..." << "Zobrazit výstražné okno jednou za 60 minut.";
        QTest::newRow("first text ending in a blank") << "jak " << "x" << 60.0f << false << "jak  60 minut. x" << "Zobrazit výstražné okno jednou za 60 minut.";
        QTest::newRow("missing-key default") << "jak" << "x" << 3600.0f << false << "jak 3600 minut. x" << "Zobrazit výstražné okno jednou za 3600 minut.";
        QTest::newRow("2,5 under Czech") << "a" << "b" << 2.5f << true << "a 2,5 minut. b" << "Zobrazit výstražné okno jednou za 2,5 minut.";
        QTest::newRow("markup stays text") << "<b>x</b>" << "<img src=a>" << 1.0f << false << "<b>x</b> 1 minut. <img src=a>" << "Zobrazit výstražné okno jednou za 1 minut.";
        // clang-format on
    }
    void composedTexts() {
        ReminderState state;
        state.MessageText1 = stdText(cell<QString>("text1"));
        state.MessageText2 = stdText(cell<QString>("text2"));
        state.IntervalMinutes = cell<float>("interval");
        const NumberFormat format = formatOf(cell<bool>("czech") ? Czech : QLocale::c());
        QTEST(qText(Messages::ComposeWarning(state, format)), "warning");
        QTEST(qText(Messages::ComposeSummary(state, format)), "summary");
    }

    void formatSingle_data() {
        columns<float, QString>("value", "text");
        // clang-format off
        QTest::newRow("whole") << 60.0f << "60";
        QTest::newRow("fraction") << 2.55f << "2.55";
        QTest::newRow("seven digits") << 0.16666667f << "0.1666667";
        QTest::newRow("negative") << -1.5f << "-1.5";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("largest fixed") << 1234567.0f << "1234567";
        QTest::newRow("large") << 1e10f << "1E+10";
        QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07";
        QTest::newRow("small fixed") << 0.0001f << "0.0001";
        QTest::newRow("small") << 0.00001f << "1E-05";
        // clang-format on
    }
    void formatSingle() {
        QTEST(qText(Messages::FormatSingle(cell<float>("value"), NumberFormat{})), "text");
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
