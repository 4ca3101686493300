#pragma once
// INI files that users also read and edit (QUORZK.INI, devices.ini). Reading follows the
// usual INI rules: blanks around section names, keys and values are trimmed; section and
// key names are case-insensitive; a value in matching quotes loses them; the first matching section and key win; lines whose
// first non-blank character is ';' are comments. Writing changes only the line of the
// key set (or adds it) and keeps every other line, comment, order and line ending.
//
// A file is read only when it is a regular text file of at most 1 MB: anything else (a
// huge file, UTF-16, binary, a folder or a named pipe) is refused and reads as empty, and
// a refused file is never written over by update() or writeValue(), so a user's file that
// the program does not understand stays as it is.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace qz {

enum class IniError {
    None,
    Missing, // no file: reads as empty, and may be created
    NotAFile, // a folder, named pipe, device or socket
    CannotRead, // the system refused to read it
    TooLarge, // above kMaxIniFileSize
    NotText, // NUL or other control bytes, or a UTF-16/UTF-32 byte order mark
    CannotWrite, // writing or replacing the file failed
};

struct IniResult {
    IniError error = IniError::None;
    QString reason; // the system's text, or why the file is refused

    bool ok() const { return error == IniError::None; }
    // Read as it is (or as empty when missing) and may be written.
    bool usable() const { return error == IniError::None || error == IniError::Missing; }
};

inline constexpr qint64 kMaxIniFileSize = 1024 * 1024;

// A line of an INI file as the reader takes it, for files in which every line counts.
struct IniLine {
    enum class Kind {
        Blank,
        Comment,
        Section, // section: its name
        Key, // key and value, in the section above
        Other, // none of these: a reader skips it
    };
    int number = 0; // from 1
    Kind kind = Kind::Blank;
    QString section; // the name in brackets, or the section the key is in (empty before any)
    QString key;
    QString value;
};

class IniFile {
public:
    IniFile() = default;
    // Reads a file with the checks above; any failure (a missing file too) leaves an
    // empty IniFile.
    IniResult read(const QString& path);
    // read(), true only when the file was read.
    bool load(const QString& path) { return read(path).ok(); }
    // Whether bytes can be an INI file: no NUL or other control bytes besides tab, line
    // ends, form feed and end-of-file, no UTF-16 or UTF-32 byte order mark.
    static bool isText(const QByteArray& bytes);
    // Text as it would be in a file (UTF-8 when valid, Latin-1 otherwise).
    static IniFile fromBytes(const QByteArray& bytes);
    static IniFile fromText(const QString& text);

    bool hasSection(const QString& section) const;
    bool contains(const QString& section, const QString& key) const;
    // The key's value, or defaultValue when the section or key is missing.
    QString value(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    // Key names of a section in file order (first occurrence of each).
    QStringList keys(const QString& section) const;
    QStringList sections() const;
    // Every line, in order.
    std::vector<IniLine> parsedLines() const;

    // Sets the value of the first matching key; a missing key is added at the end of its
    // section, a missing section at the end of the file.
    void setValue(const QString& section, const QString& key, const QString& value);

    // The whole text and its bytes in the encoding it was read with.
    QString text() const;
    QByteArray toBytes() const;
    // Writes the file through a temporary so that the old file survives a failed write;
    // CannotWrite with the system's reason.
    IniResult save(const QString& path) const;

    // Reads one value from a file (convenience for settings read when needed); the default
    // when the file is missing or refused.
    static QString readValue(const QString& path, const QString& section, const QString& key,
                             const QString& defaultValue = QString());
    // Reads the file, applies change and writes it back when that changed its text. A
    // refused file is left untouched and its refusal returned.
    static IniResult update(const QString& path, const std::function<void(IniFile&)>& change);
    // Sets one value in a file, keeping everything else (update()).
    static IniResult writeValue(const QString& path, const QString& section, const QString& key,
                                const QString& value);

private:
    int findSection(const QString& section) const; // line index of the header
    int findKey(int sectionLine, const QString& key) const; // line index or -1
    static bool sectionName(const QString& line, QString& name);
    static bool keyValue(const QString& line, QString& key, QString& value);

    QStringList lines_;
    QString eol_ = QStringLiteral("\r\n");
    bool finalEol_ = true;
    bool latin1_ = false;
};

} // namespace qz
