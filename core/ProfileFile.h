#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// A profile (INI) file as the Windows profile functions treat it: "[section]" lines,
// "key=value" lines, names matched without regard to case, blanks around names and
// values ignored, the first matching section and key winning, everything else left
// alone. Edits change only the bytes of the value they touch, so comments, unknown
// sections, order and line endings survive a save. The file is Windows-1250 unless it
// carries a UTF-8 byte-order mark or is valid UTF-8 with non-ASCII text; a file with a
// UTF-16 byte-order mark (either order) is read and written as UTF-16.
//
// Nothing is kept per line: each look-up walks the bytes once, so a file of any size
// costs its own bytes and time in proportion to them.
class ProfileFile {
  public:
    enum class Encoding { Windows1250, Utf8, Utf16LE, Utf16BE };

    struct Entry {
        QString section;
        QString key;
        QString value;
    };

    struct WriteResult {
        bool ok = true;
        QString error; // Czech reason, for the user, when !ok
    };

    explicit ProfileFile(QByteArray content = {});

    // The stored value (unquoted, cut at a NUL), or nothing when the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // What the profile read returns into a buffer of `size` characters; a character
    // that would not fit whole is left out.
    QString read(const QString& section, const QString& key, const QString& defaultValue,
                 int size) const;
    // Replaces the key's value, or adds the key (and its section) when missing.
    void setValue(const QString& section, const QString& key, const QString& value);
    // The same for several values, one after the other.
    void setValues(const QVector<Entry>& entries);

    // The file's bytes in its own encoding.
    QByteArray bytes() const;

    // The file-level operations: a missing or unreadable file, or anything but a regular
    // file, reads as empty (so every read gives its default).
    static ProfileFile load(const QString& path);
    // Several values in one write of the file: it holds all of them or none. The file
    // keeps its owner, group, mode, links and extended attributes: it is replaced by a new
    // file where the new one can be all that, and written over in place where it cannot.
    static WriteResult writeFile(const QString& path, const QVector<Entry>& entries);

    // The path as the user knows it. A program folder whose name is no valid text is
    // reached through an open descriptor (/proc/self/fd/N); it is shown by its name, decoded
    // as far as it goes.
    static QString shownPath(const QString& path);

  private:
    // One line of the file, as offsets into content_.
    struct Line {
        int start = 0; // first byte of the line
        int end = 0;   // end of its content, before the line ending
        int next = 0;  // first byte of the next line
        bool section = false;
        bool key = false;
        int nameStart = 0; // section or key name, trimmed
        int nameEnd = 0;
        int valueStart = 0; // the trimmed value's bytes, for key lines
        int valueEnd = 0;
    };

    Line lineAt(int pos) const;
    bool named(const Line& line, const QString& name) const;
    std::optional<Line> findSection(const QString& section) const;
    std::optional<Line> findKey(const Line& sectionLine, const QString& key) const;
    QByteArray lineEnding() const;
    QString decode(const QByteArray& bytes) const;
    void switchToUtf8();
    void place(const QString& section, const QString& key, const QString& clean);
    static Encoding detect(const QByteArray& content);

    // UTF-16 files are held as UTF-8 here and encoded again by bytes().
    QByteArray content_;
    Encoding encoding_ = Encoding::Windows1250;
    int bodyStart_ = 0; // after a UTF-8 byte-order mark
};
