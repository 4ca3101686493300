#include "model/ini_file.h"

#include "platform/regular_file.h"
#include "platform/safe_file.h"
#include "platform/system_reason.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>

namespace qz {

namespace {

QString trimmed(const QString& s)
{
    // Blanks and tabs around names and values, as INI readers do.
    int b = 0, e = s.size();
    while (b < e && (s.at(b) == QLatin1Char(' ') || s.at(b) == QLatin1Char('\t')))
        ++b;
    while (e > b
           && (s.at(e - 1) == QLatin1Char(' ') || s.at(e - 1) == QLatin1Char('\t')
               || s.at(e - 1) == QLatin1Char('\r')))
        --e;
    return s.mid(b, e - b);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IniFile::sectionName(const QString& line, QString& name)
{
    const QString t = trimmed(line);
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    name = trimmed(t.mid(1, close - 1));
    return true;
}

bool IniFile::keyValue(const QString& line, QString& key, QString& value)
{
    const QString t = trimmed(line);
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    key = trimmed(t.left(eq));
    value = trimmed(t.mid(eq + 1));
    // A value in matching quotes reads without them, as INI readers do.
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return !key.isEmpty();
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    IniFile ini = fromText(utf8.hasError() ? QString::fromLatin1(bytes) : text);
    ini.latin1_ = utf8.hasError();
    return ini;
}

IniFile IniFile::fromText(const QString& text)
{
    IniFile ini;
    QString t = text;
    if (t.startsWith(QChar(0xFEFF)))
        t.remove(0, 1);
    ini.eol_ = t.contains(QStringLiteral("\r\n")) || !t.contains(QLatin1Char('\n')) ? QStringLiteral("\r\n")
                                                                                    : QStringLiteral("\n");
    ini.finalEol_ = t.isEmpty() || t.endsWith(QLatin1Char('\n'));
    if (t.isEmpty())
        return ini;
    QStringList lines = t.split(QLatin1Char('\n'));
    if (ini.finalEol_)
        lines.removeLast();
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    ini.lines_ = lines;
    return ini;
}

bool IniFile::isText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A)
            return false;
    }
    return true;
}

IniResult IniFile::read(const QString& path)
{
    *this = IniFile();
    QFile file;
    const FileOpenResult opened = openRegularFile(file, path);
    switch (opened.status) {
    case FileOpenStatus::Opened:
        break;
    case FileOpenStatus::Missing:
        return {IniError::Missing, opened.reason};
    case FileOpenStatus::NotRegular:
        return {IniError::NotAFile, opened.reason};
    case FileOpenStatus::Failed:
        return {IniError::CannotRead, opened.reason};
    }
    const IniResult tooLarge{IniError::TooLarge, QStringLiteral("larger than 1 MB")};
    if (file.size() > kMaxIniFileSize)
        return tooLarge;
    // At most one byte more than allowed, in case the file grows meanwhile.
    errno = 0;
    const QByteArray bytes = file.read(kMaxIniFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {IniError::CannotRead, failureReason(file.errorString(), errno)};
    if (bytes.size() > kMaxIniFileSize)
        return tooLarge;
    if (!isText(bytes))
        return {IniError::NotText, QStringLiteral("not a text file")};
    *this = fromBytes(bytes);
    return {};
}

int IniFile::findSection(const QString& section) const
{
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (sectionName(lines_.at(i), name) && sameName(name, section.trimmed()))
            return i;
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const
{
    QString k, v, name;
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        if (sectionName(lines_.at(i), name))
            return -1;
        if (keyValue(lines_.at(i), k, v) && sameName(k, key.trimmed()))
            return i;
    }
    return -1;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) >= 0;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const int s = findSection(section);
    const int k = s >= 0 ? findKey(s, key) : -1;
    if (k < 0)
        return defaultValue;
    QString name, v;
    keyValue(lines_.at(k), name, v);
    return v;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList out;
    const int s = findSection(section);
    if (s < 0)
        return out;
    QString k, v, name;
    for (int i = s + 1; i < lines_.size() && !sectionName(lines_.at(i), name); ++i) {
        if (!keyValue(lines_.at(i), k, v))
            continue;
        bool seen = false;
        for (const QString& o : out)
            seen = seen || sameName(o, k);
        if (!seen)
            out << k;
    }
    return out;
}

QStringList IniFile::sections() const
{
    QStringList out;
    QString name;
    for (const QString& l : lines_)
        if (sectionName(l, name))
            out << name;
    return out;
}

std::vector<IniLine> IniFile::parsedLines() const
{
    std::vector<IniLine> out;
    QString section;
    for (int i = 0; i < lines_.size(); ++i) {
        IniLine line;
        line.number = i + 1;
        const QString t = trimmed(lines_.at(i));
        if (t.isEmpty()) {
            line.kind = IniLine::Kind::Blank;
        } else if (t.startsWith(QLatin1Char(';'))) {
            line.kind = IniLine::Kind::Comment;
        } else if (sectionName(lines_.at(i), line.section)) {
            line.kind = IniLine::Kind::Section;
            section = line.section;
        } else if (keyValue(lines_.at(i), line.key, line.value)) {
            line.kind = IniLine::Kind::Key;
            line.section = section;
        } else {
            line.kind = IniLine::Kind::Other;
            line.section = section;
        }
        out.push_back(line);
    }
    return out;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString name = section.trimmed();
    const QString keyName = key.trimmed();
    const QString val = value.trimmed();
    int s = findSection(name);
    if (s < 0) {
        if (!lines_.isEmpty() && !trimmed(lines_.last()).isEmpty())
            lines_ << QString();
        lines_ << QLatin1Char('[') + name + QLatin1Char(']');
        lines_ << keyName + QLatin1Char('=') + val;
        return;
    }
    const int k = findKey(s, keyName);
    if (k >= 0) {
        // Keep the key as the user spelled it, and any indentation.
        const QString& line = lines_.at(k);
        const int eq = line.indexOf(QLatin1Char('='));
        lines_[k] = line.left(eq + 1) + val;
        return;
    }
    // After the section's last key, so comments that lead into the next section stay
    // with it.
    int at = s;
    QString n, kn, kv;
    for (int i = s + 1; i < lines_.size() && !sectionName(lines_.at(i), n); ++i)
        if (keyValue(lines_.at(i), kn, kv))
            at = i;
    lines_.insert(at + 1, keyName + QLatin1Char('=') + val);
}

QString IniFile::text() const
{
    QString out = lines_.join(eol_);
    if (finalEol_ && !lines_.isEmpty())
        out += eol_;
    return out;
}

QByteArray IniFile::toBytes() const
{
    // A file read as Latin-1 stays Latin-1 unless a new value needs more.
    const QString t = text();
    if (latin1_) {
        bool fits = true;
        for (QChar c : t)
            fits = fits && c.unicode() <= 0xFF;
        if (fits)
            return t.toLatin1();
    }
    return t.toUtf8();
}

IniResult IniFile::save(const QString& path) const
{
    SafeFile file(path);
    if (!file.open() || !file.write(toBytes()) || !file.commit())
        return {IniError::CannotWrite, file.reason()};
    return {};
}

QString IniFile::readValue(const QString& path, const QString& section, const QString& key,
                           const QString& defaultValue)
{
    IniFile ini;
    ini.load(path);
    return ini.value(section, key, defaultValue);
}

IniResult IniFile::update(const QString& path, const std::function<void(IniFile&)>& change)
{
    IniFile ini;
    const IniResult read = ini.read(path);
    if (!read.usable())
        return read;
    const QByteArray before = ini.toBytes();
    change(ini);
    // A file that would not change is not written again.
    if (read.ok() && ini.toBytes() == before)
        return {};
    return ini.save(path);
}

IniResult IniFile::writeValue(const QString& path, const QString& section, const QString& key,
                              const QString& value)
{
    return update(path, [&](IniFile& ini) { ini.setValue(section, key, value); });
}

} // namespace qz
