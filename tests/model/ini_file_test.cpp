#include "model/ini_file.h"

#include "support/print_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz {
namespace {

const char* const kSample =
    "; settings\r\n"
    "[Comm]\r\n"
    "  Comport =  /dev/ttyUSB0  \r\n"
    "Baud=19200\r\n"
    "comport=second\r\n"
    ";Modem=old\r\n"
    "\r\n"
    "[ Device 485 ]\r\n"
    "PrimUnit1 = \xB0" "C\r\n"
    "Empty=\r\n"
    "Quoted= \" two  blanks \" \r\n"
    "Half=\"open\r\n"
    "no equals sign\r\n"
    "[comm]\r\n"
    "Late=1\r\n";

IniFile Sample() { return IniFile::fromBytes(QByteArray(kSample)); }

TEST(IniFile, ReadingRules)
{
    const IniFile ini = Sample();
    struct Case { const char* section; const char* key; const char* expected; };
    const Case cases[] = {
        {"Comm", "Comport", "/dev/ttyUSB0"},  // blanks trimmed, first key wins
        {"COMM", "COMPORT", "/dev/ttyUSB0"},  // case-insensitive
        {"comm", "baud", "19200"},
        {"Comm", "Modem", "<default>"},       // a comment is no key
        {"Comm", "Late", "<default>"},        // only the first matching section counts
        {"Device 485", "primunit1", "\xC2\xB0" "C"},
        {" device 485 ", "Empty", ""},
        {"Device 485", "no equals sign", "<default>"},
        {"Device 485", "Quoted", " two  blanks "},
        {"Device 485", "Half", "\"open"},
        {"Missing", "Comport", "<default>"},
        {"Comm", "Missing", "<default>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.value(QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                            QStringLiteral("<default>")),
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
    EXPECT_EQ(Sample().toBytes(), QByteArray(kSample)); // Latin-1 stays Latin-1
    const QByteArray lf = "[A]\nx=1\n\n; end";
    EXPECT_EQ(IniFile::fromBytes(lf).toBytes(), lf);
    const QByteArray utf8 = "[A]\nunit=\xC2\xB0" "C\n";
    EXPECT_EQ(IniFile::fromBytes(utf8).value(QStringLiteral("a"), QStringLiteral("unit")),
              QString::fromUtf8("\xC2\xB0" "C"));
    EXPECT_EQ(IniFile::fromBytes(utf8).toBytes(), utf8);
}

TEST(IniFile, SetValueChangesOneLineOnly)
{
    struct Case { const char* section; const char* key; const char* value; const char* text; };
    const Case cases[] = {
        {"COMM", "comport", "/dev/ttyS1",
         "[Comm]\n  Comport =/dev/ttyS1\nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\n"},
        {"Comm", "Parity", "N",
         "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\nParity=N\n; note\n\n[Modem]\nInit=ATZ\n"},
        {"modem", "Dial", "ATDT",
         "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\nDial=ATDT\n"},
        {"Device 1", "PrimUnit0", "mV",
         "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\n\n[Device 1]\nPrimUnit0=mV\n"},
    };
    for (const Case& c : cases) {
        IniFile ini = IniFile::fromText(QStringLiteral(
            "[Comm]\n  Comport =  /dev/ttyUSB0  \nBaud=19200\n; note\n\n[Modem]\nInit=ATZ\n"));
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
                                    QStringLiteral("/dev/ttyS0")).ok());
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
    const QByteArray original =
        "; my logger settings\r\n[Comm]\r\nComport=/dev/ttyUSB0 ; the blue cable\r\n"
        "[Device 485]\r\nPrimUnit1=\xB0" "C\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    ASSERT_TRUE(IniFile::writeValue(path, QStringLiteral("Device 485"), QStringLiteral("PrimUnit2"),
                                    QStringLiteral("%")).ok());
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

} // namespace
} // namespace qz
