#include "model/ini_file.h"
#include "model/settings_file.h"

#include "support/print_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>
#include <sys/stat.h>

namespace qz {

void PrintTo(IniError e, std::ostream* os)
{
    const char* names[] = {"None", "Missing", "NotAFile", "CannotRead", "TooLarge", "NotText", "CannotWrite"};
    *os << names[int(e)];
}

namespace {

const char* const kSample = "; settings\r\n"
                            "[Comm]\r\n"
                            "  Comport =  /dev/ttyUSB0  \r\n"
                            "Baud=19200\r\n"
                            "comport=second\r\n"
                            ";Modem=old\r\n"
                            "\r\n"
                            "[ Device 485 ]\r\n"
                            "PrimUnit1 = \xB0"
                            "C\r\n"
                            "Empty=\r\n"
                            "Quoted= \" two  blanks \" \r\n"
                            "Half=\"open\r\n"
                            "no equals sign\r\n"
                            "[comm]\r\n"
                            "Late=1\r\n";

IniFile sample()
{
    return IniFile::fromBytes(QByteArray(kSample));
}

TEST(IniFile, ReadingRules)
{
    const IniFile ini = sample();
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"Comm", "Comport", "/dev/ttyUSB0"}, // blanks trimmed, first key wins
        {"COMM", "COMPORT", "/dev/ttyUSB0"}, // case-insensitive
        {"comm", "baud", "19200"},
        {"Comm", "Modem", "<default>"}, // a comment is no key
        {"Comm", "Late", "<default>"}, // only the first matching section counts
        {"Device 485", "primunit1",
         "\xC2\xB0"
         "C"},
        {" device 485 ", "Empty", ""},
        {"Device 485", "no equals sign", "<default>"},
        {"Device 485", "Quoted", " two  blanks "},
        {"Device 485", "Half", "\"open"},
        {"Missing", "Comport", "<default>"},
        {"Comm", "Missing", "<default>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            ini.value(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QStringLiteral("<default>")),
            QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
    EXPECT_TRUE(ini.contains(QStringLiteral("comm"), QStringLiteral("BAUD")));
    EXPECT_FALSE(ini.contains(QStringLiteral("comm"), QStringLiteral("Late")));
    EXPECT_TRUE(ini.hasSection(QStringLiteral("DEVICE 485")));
    EXPECT_EQ(ini.sections(),
              (QStringList{QStringLiteral("Comm"), QStringLiteral("Device 485"), QStringLiteral("comm")}));
    EXPECT_EQ(ini.keys(QStringLiteral("Comm")),
              (QStringList{QStringLiteral("Comport"), QStringLiteral("Baud")}));
}

TEST(IniFile, UnchangedFileIsWrittenBackByteForByte)
{
    EXPECT_EQ(sample().toBytes(), QByteArray(kSample)); // Latin-1 stays Latin-1
    const QByteArray lf = "[A]\nx=1\n\n; end";
    EXPECT_EQ(IniFile::fromBytes(lf).toBytes(), lf);
    const QByteArray utf8 = "[A]\nunit=\xC2\xB0"
                            "C\n";
    EXPECT_EQ(IniFile::fromBytes(utf8).value(QStringLiteral("a"), QStringLiteral("unit")),
              QString::fromUtf8("\xC2\xB0"
                                "C"));
    EXPECT_EQ(IniFile::fromBytes(utf8).toBytes(), utf8);
}

TEST(IniFile, SetValueChangesOneLineOnly)
{
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* text;
    };
    const Case cases[] = {
        {"COMM", "comport", "/dev/ttyS1",
         "[Comm]\n  Comport =/dev/ttyS1\nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\n"},
        {"Comm", "Parity", "N",
         "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\nParity=N\n; note\n\n[Modem]\nInit=ATZ\n"},
        {"modem", "Dial", "ATDT",
         "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\nDial=ATDT\n"},
        {"Device 1", "PrimUnit0", "mV",
         "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\n\n[Device "
         "1]\nPrimUnit0=mV\n"},
    };
    for (const Case& c : cases) {
        IniFile ini = IniFile::fromText(
            QStringLiteral("[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\n"));
        ini.setValue(QLatin1String(c.section), QLatin1String(c.key), QLatin1String(c.value));
        EXPECT_EQ(ini.text(), QLatin1String(c.text)) << c.key;
        EXPECT_EQ(ini.value(QLatin1String(c.section), QLatin1String(c.key)), QLatin1String(c.value));
    }
    // The comment that looks like a key stays a comment.
    IniFile ini = IniFile::fromText(QStringLiteral("[A]\n;x=1\n"));
    ini.setValue(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("2"));
    EXPECT_EQ(ini.text(), QStringLiteral("[A]\nx=2\n;x=1\n"));
}

TEST(IniFile, EmptyAndMissingFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("QUORZK.INI"));
    IniFile ini;
    EXPECT_FALSE(ini.load(path));
    EXPECT_EQ(ini.value(QStringLiteral("Comm"), QStringLiteral("Comport"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(IniFile::readValue(path, QStringLiteral("Comm"), QStringLiteral("Comport")), QString());

    ASSERT_TRUE(IniFile::writeValue(path, QStringLiteral("Comm"), QStringLiteral("Comport"),
                                    QStringLiteral("/dev/ttyS0"))
                    .ok());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Comm]\r\nComport=/dev/ttyS0\r\n"));
    f.close();
    EXPECT_EQ(IniFile::readValue(path, QStringLiteral("comm"), QStringLiteral("comport")),
              QStringLiteral("/dev/ttyS0"));
}

TEST(IniFile, SaveKeepsTheUsersFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("QUORZK.INI"));
    const QByteArray original = "; my logger settings\r\n[Comm]\r\nComport=/dev/ttyUSB0 ; the blue cable\r\n"
                                "[Device 485]\r\nPrimUnit1=\xB0"
                                "C\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    ASSERT_TRUE(IniFile::writeValue(path, QStringLiteral("Device 485"), QStringLiteral("PrimUnit2"),
                                    QStringLiteral("%"))
                    .ok());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), original + "PrimUnit2=%\r\n");
}

TEST(IniFile, BinaryGarbageIsReadWithoutHarm)
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 131 + 7) & 0xFF));
    junk.replace(0, 10, "[S]\nk = v\n");
    const IniFile ini = IniFile::fromBytes(junk);
    EXPECT_EQ(ini.value(QStringLiteral("s"), QStringLiteral("K")), QStringLiteral("v"));
    EXPECT_EQ(ini.toBytes(), junk);
}

class IniFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& name = QStringLiteral("QUORZK.INI")) const { return dir_.filePath(name); }
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("QUORZK.INI")) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    // The bytes of a regular file; nothing for anything else (a pipe would block).
    QByteArray readText(const QString& path) const
    {
        QFile f(path);
        return QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

TEST_F(IniFileOnDisk, RefusesWhatIsNoSettingsFileAndNeverWritesOverIt)
{
    // UTF-16 settings would otherwise be appended to in another encoding, a huge file read
    // and rewritten at every start, binary content taken for settings.
    const QByteArray utf16("\xFF\xFE[\0C\0o\0m\0m\0]\0", 14);
    const QByteArray ascii16("[\0C\0o\0m\0m\0]\0", 12); // UTF-16 without its mark
    QByteArray huge = "[Comm]\r\nComport=/dev/ttyS0\r\n";
    huge += QByteArray(kMaxIniFileSize + 1 - huge.size(), ';');
    QByteArray limit = "[Comm]\r\nComport=/dev/ttyS0\r\n";
    limit += QByteArray(kMaxIniFileSize - limit.size(), ';');
    const QString fifo = path(QStringLiteral("pipe.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("folder.ini"))));
    const struct {
        const char* name;
        QString path;
        IniError error;
        QString reason;
    } cases[] = {
        {"text", write("[Comm]\r\nComport=/dev/ttyS0\r\n", "text.ini"), IniError::None, {}},
        {"Latin-1 text",
         write("[Comm]\r\nComport=/dev/ttyS0\r\nUnit=\xB0"
               "C\r\n",
               "latin1.ini"),
         IniError::None,
         {}},
        {"exactly 1 MB", write(limit, "limit.ini"), IniError::None, {}},
        {"missing", path(QStringLiteral("none.ini")), IniError::Missing, "No such file or directory"},
        {"above 1 MB", write(huge, "huge.ini"), IniError::TooLarge, "larger than 1 MB"},
        {"UTF-16", write(utf16, "utf16.ini"), IniError::NotText, "not a text file"},
        {"UTF-16 without a mark", write(ascii16, "ascii16.ini"), IniError::NotText, "not a text file"},
        {"control bytes", write("[Comm]\r\nComport=\x01\x02\r\n", "control.ini"), IniError::NotText,
         "not a text file"},
        {"a folder", path(QStringLiteral("folder.ini")), IniError::NotAFile, "Is a directory"},
        {"a named pipe", fifo, IniError::NotAFile, "Not a regular file"},
    };
    for (const auto& c : cases) {
        const QByteArray before = readText(c.path);
        IniFile ini;
        const IniResult read = ini.read(c.path);
        EXPECT_EQ(read.error, c.error) << c.name;
        EXPECT_EQ(read.reason, c.reason) << c.name;
        EXPECT_EQ(ini.value(QStringLiteral("Comm"), QStringLiteral("Comport"), QStringLiteral("default")),
                  c.error == IniError::None ? QStringLiteral("/dev/ttyS0") : QStringLiteral("default"))
            << c.name;
        if (c.error == IniError::None || c.error == IniError::Missing)
            continue;
        // A refused file is left exactly as it is.
        const IniResult written = IniFile::writeValue(c.path, QStringLiteral("Comm"),
                                                      QStringLiteral("Comport"), QStringLiteral("sim"));
        EXPECT_EQ(written.error, c.error) << c.name;
        EXPECT_EQ(readText(c.path), before) << c.name;
        EXPECT_EQ(QFileInfo(c.path).isFile(), !before.isNull()) << c.name;
        EXPECT_EQ(settingsReadWarning(c.path, read),
                  QStringLiteral("The settings file QUORZK.INI could not be read: ") + c.path
                      + QStringLiteral(": ") + c.reason
                      + QStringLiteral(". Default settings are used; the file is left as it is."))
            << c.name;
        EXPECT_EQ(settingsWriteMessage(c.path, written), QString()) << c.name;
    }
    EXPECT_EQ(settingsReadWarning(path(QStringLiteral("none.ini")),
                                  checkSettingsFile(path(QStringLiteral("none.ini")))),
              QString());
}

TEST_F(IniFileOnDisk, AFileThatCannotBeWrittenIsReportedWithTheSystemsReason)
{
    // The settings live behind a link into a folder that is gone (a drive not mounted).
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent/quorzk/QUORZK.INI"), path()));
    EXPECT_EQ(checkSettingsFile(path()).error, IniError::Missing);
    const IniResult written =
        IniFile::writeValue(path(), QStringLiteral("Comm"), QStringLiteral("Comport"), QStringLiteral("sim"));
    EXPECT_EQ(written.error, IniError::CannotWrite);
    EXPECT_EQ(written.reason, QStringLiteral("No such file or directory"));
    EXPECT_EQ(settingsWriteMessage(path(), written),
              QStringLiteral("The settings file QUORZK.INI could not be written: ") + path()
                  + QStringLiteral(": No such file or directory"));
}

TEST_F(IniFileOnDisk, AnUnchangedFileIsNotWrittenAgain)
{
    // A file written again is a new file (a temporary renamed over it): another inode.
    const auto inode = [](const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    const QString path = write("[Comm]\r\nComport=sim\r\n");
    const ino_t before = inode(path);
    EXPECT_TRUE(
        IniFile::writeValue(path, QStringLiteral("comm"), QStringLiteral("comport"), QStringLiteral("sim"))
            .ok());
    EXPECT_EQ(inode(path), before);
    EXPECT_TRUE(
        IniFile::writeValue(path, QStringLiteral("Comm"), QStringLiteral("Comport"), QStringLiteral("COM2"))
            .ok());
    EXPECT_NE(inode(path), before);
    EXPECT_EQ(readText(path), QByteArray("[Comm]\r\nComport=COM2\r\n"));
}

} // namespace
} // namespace qz
