// The fleet file: read with the program's INI rules, refused whole with its line and reason.
#include "fleet/fleet_file.h"
#include "support/print_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

struct FleetFolder {
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
};

TEST(FleetFile, ReadsTheStoreAndEveryLoggerWithItsSettings)
{
    FleetFolder folder;
    folder.write(QStringLiteral("Modem.mdm"), "ATZ\r\n");
    const QString path = folder.write(QStringLiteral("fleet.ini"),
                                      "; the cold-store chain\r\n"
                                      "[Store]\r\n"
                                      "Url = sqlite:data/fleet.sqlite\r\n"
                                      "\r\n"
                                      "[Logger Cold room 1]\r\n"
                                      "Port=/dev/ttyUSB0\r\n"
                                      "\r\n"
                                      "[logger Pump station]\r\n"
                                      "port=/dev/ttyS1\r\n"
                                      "Dial= 0123 456 \r\n"
                                      "Pulse=1\r\n"
                                      "Init=Modem.mdm\r\n"
                                      "Verify=0\r\n"
                                      "[Logger Well]\r\n"
                                      "Port=/dev/ttyS1\r\n"
                                      "Dial=0999\r\n");
    FleetError error;
    const auto fleet = readFleetFile(path, error);
    ASSERT_TRUE(fleet) << error.text().toStdString();
    ASSERT_TRUE(fleet->store);
    EXPECT_EQ(fleet->store->path, QDir(folder.dir.path()).filePath(QStringLiteral("data/fleet.sqlite")));
    ASSERT_EQ(fleet->loggers.size(), 3u);
    const FleetLogger& cold = fleet->loggers[0];
    EXPECT_EQ(cold.label, QStringLiteral("Cold room 1"));
    EXPECT_EQ(cold.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(cold.dial.isEmpty());
    EXPECT_TRUE(cold.verify); // unattended: verified reads unless told otherwise
    const FleetLogger& pump = fleet->loggers[1];
    EXPECT_EQ(pump.label, QStringLiteral("Pump station"));
    EXPECT_EQ(pump.dial, QStringLiteral("0123 456"));
    EXPECT_TRUE(pump.pulse);
    EXPECT_FALSE(pump.verify);
    EXPECT_EQ(pump.initFile, folder.dir.filePath(QStringLiteral("Modem.mdm")));
    EXPECT_EQ(pump.line, 8);
}

TEST(FleetFile, AFileThatDoesNotParseIsRefusedWithItsLineAndReason)
{
    const struct {
        const char* what;
        QByteArray text;
        int line;
        const char* reason;
    } cases[] = {
        {"no logger", "[Store]\nUrl=sqlite:x.sqlite\n", 0,
         "no logger: give one [Logger LABEL] section per logger"},
        {"unknown section", "[Logger A]\nPort=sim\n[Loggers]\n", 3,
         "unknown section [Loggers] (sections are [Store] and [Logger LABEL])"},
        {"unknown key", "[Logger A]\nPort=sim\nSpeed=9600\n", 3,
         "unknown key Speed= in [Logger A] (a logger has Port=, Dial=, Pulse=, Init= and Verify=)"},
        {"key twice", "[Logger A]\nPort=sim\nport=/dev/ttyS0\n", 3, "port= is there twice in [Logger A]"},
        {"section twice", "[Logger A]\nPort=sim\n[logger a]\nPort=sim\n", 3,
         "the section [logger a] is there twice"},
        {"no label", "[Logger ]\nPort=sim\n", 1, "a logger section needs a label: [Logger LABEL]"},
        {"no port", "[Logger A]\nVerify=1\n", 1, "[Logger A] has no Port="},
        {"empty port", "[Logger A]\nPort=\n", 2, "Port= names no port"},
        {"key before a section", "Port=sim\n[Logger A]\n", 1, "Port= comes before any section"},
        {"a line of nothing", "[Logger A]\nPort=sim\njust words\n", 3,
         "neither a [section], a Key=value line nor a ; comment"},
        {"flag", "[Logger A]\nPort=sim\nVerify=yes\n", 3, "Verify= is 0 or 1, not 'yes'"},
        {"store URL", "[Store]\nUrl=mysql://x\n[Logger A]\nPort=sim\n", 2,
         "stores of the kind 'mysql' are not supported (sqlite:PATH and postgresql://USER@HOST:PORT/DB are)"},
        {"store key", "[Store]\nPath=x\n[Logger A]\nPort=sim\n", 2,
         "unknown key Path= in [Store] (it has Url=)"},
        {"two loggers on one cable", "[Logger A]\nPort=/dev/ttyS0\n[Logger B]\nPort=/dev/ttyS0\n", 3,
         "[Logger B] is on the port of [Logger A] (/dev/ttyS0); loggers share a port only through a modem "
         "(Dial=)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FleetFolder folder;
        const QString path = folder.write(QStringLiteral("fleet.ini"), c.text);
        FleetError error;
        EXPECT_FALSE(readFleetFile(path, error));
        EXPECT_EQ(error.file, path);
        EXPECT_EQ(error.line, c.line);
        EXPECT_EQ(error.reason, QString::fromUtf8(c.reason));
    }
}

TEST(FleetFile, TheMessageNamesTheFileAndTheLine)
{
    FleetFolder folder;
    const QString path =
        folder.write(QStringLiteral("fleet.ini"), "[Logger A]\nPort=sim\nInit=missing.mdm\n");
    FleetError error;
    ASSERT_FALSE(readFleetFile(path, error));
    EXPECT_EQ(error.text(),
              path + QStringLiteral(":3: the modem initialisation file ")
                  + folder.dir.filePath(QStringLiteral("missing.mdm")) + QStringLiteral(" is not there"));
    FleetError missing;
    ASSERT_FALSE(readFleetFile(folder.dir.filePath(QStringLiteral("none.ini")), missing));
    EXPECT_EQ(missing.text(),
              folder.dir.filePath(QStringLiteral("none.ini")) + QStringLiteral(": no such file"));
}

} // namespace
} // namespace qz::test
