// Faults around the settings file: the program killed or signalled while saving, a full disk and a
// read-only folder. The file is always the old content or the new, never anything else,
// and a save that fails says so.
#include "TestData.h"
#include "TestProgram.h"

#include <QDir>
#include <QTemporaryDir>

#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QThread>

#include <array>
#include <csignal>

#include <sys/mount.h>
#include <unistd.h>

class FaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void killedWhileSavingLeavesOldOrNew() {
        QTemporaryDir dir;
        const QString path = dir.filePath("data.ini");
        const QByteArray newer = cp1250("[texts]\r\n1=Nové nastavení\r\n2=" + QString(90, 'n') +
                                        "\r\n[data]\r\n1=45\r\n2=1\r\n");
        const QByteArray older = "[texts]\r\n1=Star\xe9\r\n2=s\r\n[data]\r\n1=60\r\n2=0\r\n";
        int sawNewer = 0, sawOlder = 0;
        for (int run = 0; run < 200; ++run) {
            QProcess saver;
            saver.start(QCoreApplication::applicationDirPath() + "/save_loop", {path});
            QVERIFY(saver.waitForStarted());
            QVERIFY(saver.waitForReadyRead(5000));
            QThread::usleep(QRandomGenerator::global()->bounded(3000));
            // A kill cannot be caught; a request to end (logout, a closed terminal) waits for
            // the save, which then leaves nothing of its own behind.
            const int signal = std::array{SIGKILL, SIGTERM, SIGHUP}[run % 3];
            ::kill(pid_t(saver.processId()), signal);
            QVERIFY(saver.waitForFinished());
            const QByteArray content = readAll(path);
            QVERIFY2(content == newer || content == older,
                     qPrintable("run " + QString::number(run) + ": partial file: " + content));
            ++(content == newer ? sawNewer : sawOlder);
            // Leftovers of a killed save are never taken for the settings.
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
                if (name != "data.ini") {
                    QVERIFY2(signal == SIGKILL, qPrintable(name + " left after a signal"));
                    QFile::remove(dir.filePath(name));
                }
        }
        qInfo("after 200 kills and signals: new content %d times, old content %d times", sawNewer,
              sawOlder);
        QVERIFY(sawNewer > 0 && sawOlder > 0);
    }

    void fullDiskAndReadOnlyFolder_data() {
        columns<bool, QString>("readOnly", "reason"); // in Czech, as all the program says
        // clang-format off
        QTest::newRow("full disk") << false << "na disku není dost místa";
        QTest::newRow("read-only folder") << true << "jen pro čtení";
        // clang-format on
    }
    void fullDiskAndReadOnlyFolder() {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        // The program's folder on a small file system of its own.
        QTemporaryDir disk;
        const QByteArray at = QFile::encodeName(disk.path());
        QVERIFY2(::mount("vestrel-test", at, "tmpfs", 0, "size=64k,mode=0755") == 0,
                 "could not mount a small tmpfs");
        const auto unmount = qScopeGuard([&] { ::umount2(at, MNT_DETACH); });
        TestProgram<> t("[data]\r\n1=60\r\n");
        writeAll(disk.filePath("data.ini"), qBytes(t.written));
        writeAll(disk.filePath("s.wav"), {});
        t.system.folder = stdText(disk.path());
        if (cell<bool>("readOnly")) {
            QVERIFY(::mount("vestrel-test", at, "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0);
        } else {
            QFile filler(disk.filePath("filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size()) {
            }
            while (filler.write("x", 1) == 1) {
            }
        }

        t.inDialog([&](Form2& d) {
            d.Text1->setText(std::u16string(99, u'x'));
            d.Text2->setText(std::u16string(99, u'y'));
            d.Command1_Click();
            QCOMPARE(d.Saved, ReminderState::False);
            QCOMPARE(t.runtime.boxes.size(), 1u);
            const QString text = qText(t.runtime.boxes[0].text);
            QVERIFY2(text.startsWith("Nastavení se nepodařilo uložit.") &&
                         text.contains(cell<QString>("reason")) && !text.contains("space"),
                     qPrintable(text));
            QCOMPARE(t.runtime.boxes[0].style, MessageBoxStyle::OkCritical);
            d.Command2_Click(); // asks, as nothing was saved; "Ne"
            QCOMPARE(t.runtime.boxes.size(), 2u);
            QVERIFY(!d.isLoaded());
        });
        QCOMPARE(readAll(disk.filePath("data.ini")), qBytes(t.written));
        QStringList left = QDir(disk.path()).entryList(QDir::Files);
        left.removeAll("filler");
        QCOMPARE(left, (QStringList{"data.ini", "s.wav"})); // no half-written file left behind
    }
};

QTEST_MAIN(FaultsTest)
#include "test_faults.moc"
