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
// carries a UTF-8 byte-order mark or is valid UTF-8 with non-ASCII text.
class ProfileFile {
  public:
    enum class Encoding { Windows1250, Utf8 };

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
    // What the profile read returns into a buffer of `size` characters.
    QString read(const QString& section, const QString& key, const QString& defaultValue,
                 int size) const;
    // Replaces the key's value, or adds the key (and its section) when missing.
    void setValue(const QString& section, const QString& key, const QString& value);

    const QByteArray& bytes() const { return content_; }
    Encoding encoding() const { return encoding_; }

    // The file-level operations: a missing or unreadable file reads as empty (so every
    // read gives its default); a write is done through a new file renamed over the old one.
    static ProfileFile load(const QString& path);
    // Several values in one replacement of the file: it holds all of them or none.
    static WriteResult writeFile(const QString& path, const QVector<Entry>& entries);

  private:
    struct Line {
        int start = 0; // first byte of the line
        int end = 0;   // end of its content, before the line ending
        int next = 0;  // first byte of the next line
        bool section = false;
        QByteArray name;    // section or key name, trimmed
        int valueStart = 0; // the trimmed value's bytes, for key lines
        int valueEnd = 0;
        bool key = false;
    };

    void parse();
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    QByteArray lineEnding() const;
    QString decode(const QByteArray& bytes) const;
    void switchToUtf8();
    void place(const QString& section, const QString& key, const QString& clean);
    static Encoding detect(const QByteArray& content);

    QByteArray content_;
    Encoding encoding_ = Encoding::Windows1250;
    int bodyStart_ = 0; // after a byte-order mark
    QVector<Line> lines_;
};
