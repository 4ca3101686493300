#pragma once
// INI files that users also read and edit (QUORZK.INI, devices.ini). Reading follows the
// usual INI rules: blanks around section names, keys and values are trimmed; section and
// key names are case-insensitive; a value in matching quotes loses them; the first matching section and key win; lines whose
// first non-blank character is ';' are comments. Writing changes only the line of the
// key set (or adds it) and keeps every other line, comment, order and line ending.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qz {

class IniFile {
public:
    IniFile() = default;
    // Reads a file; a missing or unreadable file gives an empty IniFile and false.
    bool load(const QString& path);
    // Text as it would be in a file (UTF-8 when valid, Latin-1 otherwise).
    static IniFile fromBytes(const QByteArray& bytes);
    static IniFile fromText(const QString& text);

    bool hasSection(const QString& section) const;
    bool contains(const QString& section, const QString& key) const;
    // The key's value, or defaultValue when the section or key is missing.
    QString value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;
    // Key names of a section in file order (first occurrence of each).
    QStringList keys(const QString& section) const;
    QStringList sections() const;

    // Sets the value of the first matching key; a missing key is added at the end of its
    // section, a missing section at the end of the file.
    void setValue(const QString& section, const QString& key, const QString& value);

    // The whole text and its bytes in the encoding it was read with.
    QString text() const;
    QByteArray toBytes() const;
    // Writes the file through a temporary so that the old file survives a failed write.
    bool save(const QString& path) const;

    // Reads one value from a file (convenience for settings read when needed).
    static QString readValue(const QString& path, const QString& section, const QString& key,
                             const QString& defaultValue = QString());
    // Sets one value in a file, keeping everything else. False when it cannot be written.
    static bool writeValue(const QString& path, const QString& section, const QString& key,
                           const QString& value);

private:
    int findSection(const QString& section) const;            // line index of the header
    int findKey(int sectionLine, const QString& key) const;   // line index or -1
    static bool sectionName(const QString& line, QString& name);
    static bool keyValue(const QString& line, QString& key, QString& value);

    QStringList lines_;
    QString eol_ = QStringLiteral("\r\n");
    bool finalEol_ = true;
    bool latin1_ = false;
};

} // namespace qz
