// What the Linux build's file primitives keep of a settings file when they save it (its mode,
// owner, links, extended attributes and access-control list) and what they refuse to read or
// replace, and the code page against the system's own converter.
#include "TestData.h"
#include "core/Files.h"
#include "core/ProfileFile.h"
#include "core/Windows1250.h"
#include "linux/posix/PosixFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

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

} // namespace

class PosixFilesTest : public QObject {
    Q_OBJECT

  private slots:
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
};

QTEST_GUILESS_MAIN(PosixFilesTest)
#include "test_posix_files.moc"
