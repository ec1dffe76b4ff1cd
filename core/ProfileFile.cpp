#include "core/ProfileFile.h"

#include "core/Windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

// Narrows [first, last) of data to leave out the blanks at either end.
void trimBlanks(const char* data, int& first, int& last) {
    while (first < last && isBlank(data[first]))
        ++first;
    while (last > first && isBlank(data[last - 1]))
        --last;
}

// The first `c` in [from, to), or -1: every search stays within one line.
int findIn(const char* data, int from, int to, char c) {
    const void* hit = std::memchr(data + from, c, std::size_t(to - from));
    return hit ? int(static_cast<const char*>(hit) - data) : -1;
}

bool hasNonAscii(const QByteArray& bytes) {
    // Block by block, so that the compiler can look at many bytes at once.
    constexpr qsizetype Block = 4096;
    for (qsizetype first = 0; first < bytes.size(); first += Block) {
        unsigned char any = 0;
        for (char c : QByteArrayView(bytes).sliced(first, qMin(Block, bytes.size() - first)))
            any |= static_cast<unsigned char>(c);
        if (any >= 0x80)
            return true;
    }
    return false;
}

QString sanitizeValue(QString value) {
    // A line break or NUL inside a value would split it into further lines of the
    // file, that is into other keys and sections.
    for (QChar& c : value)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    return value;
}

} // namespace

ProfileFile::ProfileFile(QByteArray content) : content_(std::move(content)) {
    encoding_ = detect(content_);
    if (encoding_ == Encoding::Utf16LE || encoding_ == Encoding::Utf16BE) {
        QStringDecoder decoder(encoding_ == Encoding::Utf16LE ? QStringDecoder::Utf16LE
                                                              : QStringDecoder::Utf16BE);
        content_ = QString(decoder.decode(content_)).toUtf8(); // the mark is left out
    } else if (content_.startsWith(Utf8Bom)) {
        bodyStart_ = Utf8Bom.size();
    }
}

ProfileFile::Encoding ProfileFile::detect(const QByteArray& content) {
    if (content.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (content.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    if (content.startsWith(Utf8Bom) || (hasNonAscii(content) && content.isValidUtf8()))
        return Encoding::Utf8;
    return Encoding::Windows1250;
}

QByteArray ProfileFile::bytes() const {
    if (encoding_ != Encoding::Utf16LE && encoding_ != Encoding::Utf16BE)
        return content_;
    QStringEncoder encoder(encoding_ == Encoding::Utf16LE ? QStringEncoder::Utf16LE
                                                          : QStringEncoder::Utf16BE,
                           QStringEncoder::Flag::WriteBom);
    return encoder.encode(QString::fromUtf8(content_));
}

ProfileFile::Line ProfileFile::lineAt(int pos) const {
    const int size = content_.size();
    const char* data = content_.constData();
    Line line;
    line.start = pos;
    int end = pos;
    while (end < size && data[end] != '\n' && data[end] != '\r')
        ++end;
    line.end = end;
    // A line ends with CR LF, LF or CR alone.
    int next = end;
    if (next < size && data[next] == '\r')
        ++next;
    if (next < size && data[next] == '\n')
        ++next;
    line.next = next;

    int first = pos;
    int last = end;
    trimBlanks(data, first, last);
    if (first < last && data[first] == '[') {
        const int close = findIn(data, first + 1, last, ']');
        if (close >= 0) {
            line.section = true;
            line.nameStart = first + 1;
            line.nameEnd = close;
            trimBlanks(data, line.nameStart, line.nameEnd);
        }
    } else if (first < last && data[first] != ';') {
        const int equals = findIn(data, first, last, '=');
        if (equals >= 0) {
            int keyEnd = equals;
            trimBlanks(data, first, keyEnd);
            if (keyEnd > first) {
                line.key = true;
                line.nameStart = first;
                line.nameEnd = keyEnd;
                line.valueStart = equals + 1;
                line.valueEnd = last;
                trimBlanks(data, line.valueStart, line.valueEnd);
            }
        }
    }
    return line;
}

// Section and key names are compared as Windows does, without regard to case. The names
// the program asks for are ASCII, so the stored bytes need no decoding to be compared.
bool ProfileFile::named(const Line& line, const QString& name) const {
    if (line.nameEnd - line.nameStart != name.size())
        return false;
    const char* stored = content_.constData() + line.nameStart;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t wanted = name[i].unicode();
        const auto byte = static_cast<unsigned char>(stored[i]);
        if (wanted >= 0x80 || byte >= 0x80) {
            if (wanted != byte)
                return false;
        } else if (std::tolower(byte) != std::tolower(int(wanted))) {
            return false;
        }
    }
    return true;
}

std::optional<ProfileFile::Line> ProfileFile::findSection(const QString& section) const {
    for (int pos = bodyStart_; pos < content_.size();) {
        const Line line = lineAt(pos);
        if (line.section && named(line, section))
            return line;
        pos = line.next;
    }
    return std::nullopt;
}

std::optional<ProfileFile::Line> ProfileFile::findKey(const Line& sectionLine,
                                                      const QString& key) const {
    for (int pos = sectionLine.next; pos < content_.size();) {
        const Line line = lineAt(pos);
        if (line.section)
            break;
        if (line.key && named(line, key))
            return line;
        pos = line.next;
    }
    return std::nullopt;
}

QString ProfileFile::decode(const QByteArray& bytes) const {
    if (encoding_ != Encoding::Windows1250) {
        // A value may itself begin with U+FEFF: that is text, not a byte-order mark.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    return Windows1250::decode(bytes);
}

std::optional<QString> ProfileFile::value(const QString& section, const QString& key) const {
    const std::optional<Line> sectionLine = findSection(section);
    if (!sectionLine)
        return std::nullopt;
    const std::optional<Line> line = findKey(*sectionLine, key);
    if (!line)
        return std::nullopt;
    QByteArray raw = content_.mid(line->valueStart, line->valueEnd - line->valueStart);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.mid(1, raw.size() - 2);
    const int nul = raw.indexOf('\0');
    if (nul >= 0)
        raw.truncate(nul);
    return decode(raw);
}

QString ProfileFile::read(const QString& section, const QString& key, const QString& defaultValue,
                          int size) const {
    if (size <= 0)
        return {};
    QString found = value(section, key).value_or(defaultValue).left(size - 1);
    if (!found.isEmpty() && found.back().isHighSurrogate())
        found.chop(1); // its other half did not fit
    return found;
}

QByteArray ProfileFile::lineEnding() const {
    const char* data = content_.constData();
    const int size = content_.size();
    for (int i = bodyStart_; i < size; ++i) {
        if (data[i] == '\n')
            return QByteArrayLiteral("\n");
        if (data[i] == '\r')
            return i + 1 < size && data[i + 1] == '\n' ? QByteArrayLiteral("\r\n")
                                                       : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

void ProfileFile::switchToUtf8() {
    const QByteArray body = content_.mid(bodyStart_);
    content_ = content_.left(bodyStart_) + Windows1250::decode(body).toUtf8();
    encoding_ = Encoding::Utf8;
}

void ProfileFile::setValue(const QString& section, const QString& key, const QString& value) {
    setValues({{section, key, value}});
}

void ProfileFile::setValues(const QVector<Entry>& entries) {
    const QByteArray before = content_;
    const Encoding encodingBefore = encoding_;
    for (const Entry& entry : entries)
        place(entry.section, entry.key, sanitizeValue(entry.value));
    if (encodingBefore == Encoding::Windows1250 && encoding_ == Encoding::Windows1250 &&
        detect(content_) == Encoding::Utf8) {
        // The Windows-1250 bytes happen to form UTF-8 now and would be read back as other
        // characters: store the file as UTF-8 instead, which keeps every text as it is.
        content_ = before;
        switchToUtf8();
        for (const Entry& entry : entries)
            place(entry.section, entry.key, sanitizeValue(entry.value));
    }
}

void ProfileFile::place(const QString& section, const QString& key, const QString& clean) {
    QByteArray encoded;
    if (encoding_ == Encoding::Windows1250) {
        bool fits = true;
        encoded = Windows1250::encode(clean, &fits);
        if (!fits) // the code page cannot hold it: keep the text, not the code page
            switchToUtf8();
    }
    if (encoding_ != Encoding::Windows1250)
        encoded = clean.toUtf8();

    const QByteArray eol = lineEnding();
    const std::optional<Line> sectionLine = findSection(section);
    if (!sectionLine) {
        QByteArray append;
        const char last = content_.size() > bodyStart_ ? content_.back() : '\n';
        if (last != '\n' && last != '\r') // last line without its ending
            append += eol;
        append += '[' + section.toUtf8() + ']' + eol + key.toUtf8() + '=' + encoded + eol;
        content_ += append;
        return;
    }
    if (const std::optional<Line> line = findKey(*sectionLine, key)) {
        content_.replace(line->valueStart, line->valueEnd - line->valueStart, encoded);
        return;
    }
    // After the last non-blank line of the section: blank lines that separate it from the
    // next section stay where they are.
    Line after = *sectionLine;
    for (int pos = sectionLine->next; pos < content_.size();) {
        const Line line = lineAt(pos);
        if (line.section)
            break;
        int first = line.start;
        int last = line.end;
        trimBlanks(content_.constData(), first, last);
        if (first < last)
            after = line;
        pos = line.next;
    }
    QByteArray insert;
    if (after.next == after.end) // last line without its ending
        insert += eol;
    insert += key.toUtf8() + '=' + encoded + eol;
    content_.insert(after.next, insert);
}

// --- the file on disk ---------------------------------------------------------------

namespace {

// Terminating signals wait while a save runs: the file is then always whole, and no
// temporary file is left behind for a signal to orphan.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : {SIGTERM, SIGHUP, SIGINT, SIGQUIT})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &before_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t before_;
};

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting what the close says (a delayed write error).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

QString reason() {
    return qt_error_string(errno);
}

bool readAll(int fd, QByteArray& out, off_t expectedSize) {
    out.reserve(qsizetype(expectedSize));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        out.append(buffer, n);
    }
}

bool writeAll(int fd, const QByteArray& bytes, off_t at) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::pwrite(fd, bytes.constData() + done, std::size_t(bytes.size() - done), at + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The file may not be replaced by another without changing what it is: it has other
// names, an access-control list or other extended attributes.
bool mustStayThisFile(const QByteArray& path, const struct stat& info) {
    if (info.st_nlink > 1)
        return true;
    const ssize_t size = ::listxattr(path.constData(), nullptr, 0);
    QByteArray names(qMax<ssize_t>(size, 0), '\0');
    if (size <= 0 || ::listxattr(path.constData(), names.data(), names.size()) <= 0)
        return false;
    // The security label every file has under SELinux is given to a new file as well.
    for (const QByteArray& name : names.split('\0'))
        if (!name.isEmpty() && name != "security.selinux")
            return true;
    return false;
}

QString cannotRead(const QString& path) {
    return QStringLiteral("Soubor %1 nelze přečíst (%2).").arg(path, reason());
}

QString cannotOpenForWriting(const QString& path) {
    return QStringLiteral("Soubor %1 nelze otevřít pro zápis (%2).").arg(path, reason());
}

QString writeFailed(const QString& path) {
    const bool full = errno == ENOSPC || errno == EDQUOT;
    return QStringLiteral("Zápis do souboru %1 se nezdařil (%2).").arg(path, reason()) +
           (full ? QStringLiteral(" Na disku možná není dost místa.") : QString());
}

// Writes over the file itself: it grows first (so a full disk fails before a byte
// changes), then takes the new bytes and is cut to their length.
ProfileFile::WriteResult writeInPlace(const QByteArray& target, const QString& path,
                                      const QByteArray& bytes) {
    Descriptor fd(::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {false, cannotOpenForWriting(path)};
    if (bytes.size() > info.st_size) {
        const int error = ::posix_fallocate(fd.get(), 0, bytes.size());
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            errno = error;
            return {false, writeFailed(path)};
        }
    }
    if (!writeAll(fd.get(), bytes, 0) || ::ftruncate(fd.get(), bytes.size()) != 0 ||
        ::fsync(fd.get()) != 0 || !fd.close())
        return {false, writeFailed(path)};
    return {};
}

// Writes a new file beside the target and renames it over the target, so that a crash
// leaves the old file or the new, never part of either. Nothing when the new file cannot
// be what the old one was (its owner or group) or the folder takes no new file.
std::optional<ProfileFile::WriteResult> replace(const QByteArray& target, const QString& path,
                                                const QByteArray& bytes, const struct stat* old) {
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // A new file gets the mode the umask gives; a replacement the old file's, below.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    old ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        if (old && (errno == EACCES || errno == EPERM || errno == EROFS))
            return std::nullopt;
        return ProfileFile::WriteResult{false, cannotOpenForWriting(path)};
    }
    Descriptor file(fd);
    const auto discard = [&] {
        const int saved = errno;
        ::unlink(temporary.constData());
        errno = saved;
    };
    if (old) {
        const bool sameOwner = old->st_uid == ::geteuid();
        if (::fchown(fd, sameOwner ? uid_t(-1) : old->st_uid, old->st_gid) != 0) {
            discard();
            return std::nullopt;
        }
        // The mode bits as they were, set after the owner (which clears set-id bits).
        ::fchmod(fd, old->st_mode & 07777);
    }
    if (!writeAll(fd, bytes, 0) || ::fsync(fd) != 0 || !file.close() ||
        ::rename(temporary.constData(), target.constData()) != 0) {
        const QString error = writeFailed(path);
        discard();
        return ProfileFile::WriteResult{false, error};
    }
    return ProfileFile::WriteResult{};
}

} // namespace

QString ProfileFile::shownPath(const QString& path) {
    static const QString viaDescriptor = QStringLiteral("/proc/self/fd/");
    if (!path.startsWith(viaDescriptor))
        return path;
    const qsizetype rest = path.indexOf(QLatin1Char('/'), viaDescriptor.size());
    const QString folder = QFileInfo(path.left(rest)).symLinkTarget();
    return folder.isEmpty() ? path : folder + (rest < 0 ? QString() : path.mid(rest));
}

ProfileFile ProfileFile::load(const QString& path) {
    QByteArray content;
    // Not blocking on a FIFO, not reading a device: only a regular file holds settings.
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() >= 0 && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) &&
        !readAll(fd.get(), content, info.st_size))
        content.clear();
    return ProfileFile(content);
}

ProfileFile::WriteResult ProfileFile::writeFile(const QString& path,
                                                const QVector<Entry>& entries) {
    const QByteArray name = QFile::encodeName(path);
    const QString shown = shownPath(path);
    QByteArray content;
    struct stat info {};
    Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const bool exists = fd.get() >= 0;
    if (!exists && errno != ENOENT)
        return {false, cannotRead(shown)};
    if (exists) {
        if (::fstat(fd.get(), &info) != 0)
            return {false, cannotRead(shown)};
        if (S_ISDIR(info.st_mode))
            return {false, QStringLiteral("%1 je složka, ne soubor.").arg(shown)};
        if (!S_ISREG(info.st_mode))
            return {false, QStringLiteral("%1 není obyčejný soubor.").arg(shown)};
        // The owner's write bit too: the superuser may write anything, but a file its owner
        // made read-only is meant to stay as it is.
        if (::access(name.constData(), W_OK) != 0 || !(info.st_mode & S_IWUSR))
            return {false, QStringLiteral("Soubor %1 je jen pro čtení.").arg(shown)};
        if (!readAll(fd.get(), content, info.st_size))
            return {false, cannotRead(shown)};
    }
    ProfileFile profile(content);
    profile.setValues(entries);
    const QByteArray bytes = profile.bytes();

    // A link stays a link: its target is what gets written.
    QByteArray target = name;
    if (exists) {
        char resolved[PATH_MAX];
        if (::realpath(name.constData(), resolved))
            target = resolved;
    }
    const SignalsHeld held;
    if (exists && mustStayThisFile(target, info))
        return writeInPlace(target, shown, bytes);
    if (const auto replaced = replace(target, shown, bytes, exists ? &info : nullptr))
        return *replaced;
    return writeInPlace(target, shown, bytes);
}
