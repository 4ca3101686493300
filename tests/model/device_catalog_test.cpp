#include "model/device_catalog.h"

#include "model/ini_file.h"
#include "model/values.h"
#include "support/print_qt.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

namespace qz {

void PrintTo(CatalogStatus s, std::ostream* os)
{
    const char* names[] = {"Accepted", "NotListed", "NotAccepted", "Unreadable"};
    *os << names[int(s)];
}

namespace {

// A program folder with its own catalogue and settings file.
class DeviceCatalogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void write(const char* name, const QByteArray& text)
    {
        QFile f(QDir(dir.path()).filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    DeviceCatalog catalog{ProgramFolder(dir.path())};
};

TEST_F(DeviceCatalogTest, AcceptsOnlyTypeZk)
{
    write("devices.ini",
          "[Device 485]\r\nType = ZK \r\nDeviceDesc =  ZK-485 Octo \r\n"
          "[device 101]\r\ntype=zk\r\nDeviceDesc=Lower\r\n"
          "[Device 7]\r\nDeviceDesc=No type\r\n"
          "[Device 8]\r\nType=ZKX\r\n");
    struct Case {
        std::uint16_t code;
        bool accepted;
        CatalogStatus status;
        const char* section;
        const char* desc;
    };
    const Case cases[] = {
        {485, true, CatalogStatus::Accepted, "Device 485", "ZK-485 Octo"},
        {101, false, CatalogStatus::NotAccepted, "Device 101", "Lower"},
        {7, false, CatalogStatus::NotAccepted, "Device 7", "No type"},
        {8, false, CatalogStatus::NotAccepted, "Device 8", ""},
        {9, false, CatalogStatus::NotListed, "Device 9", ""},
    };
    for (const Case& c : cases) {
        const LoggerModel model = catalog.lookUp(c.code);
        EXPECT_EQ(model.accepted, c.accepted) << c.code;
        EXPECT_EQ(model.status, c.status) << c.code;
        EXPECT_EQ(catalogMessage(model), QString()) << c.code;
        EXPECT_EQ(model.section, QLatin1String(c.section));
        EXPECT_EQ(model.description, QLatin1String(c.desc));
        EXPECT_EQ(model.catalogPath, QDir(dir.path()).filePath(QStringLiteral("devices.ini")));
    }
}

TEST_F(DeviceCatalogTest, AMissingOrDamagedCatalogueIsToldApartFromAnUnknownModel)
{
    // Nothing in the desktop's data folders stands in for it.
    const test::ScopedEnv dataDirs("XDG_DATA_DIRS", dir.path());
    const test::ScopedEnv dataHome("XDG_DATA_HOME", dir.path());
    const QString path = QDir(dir.path()).filePath(QStringLiteral("devices.ini"));
    const struct {
        const char* name;
        QByteArray content;
        QString reason;
    } cases[] = {
        {"missing", QByteArray(), QStringLiteral("No such file or directory")},
        {"binary", QByteArray("[Device 485]\r\nType=ZK\r\n\0\0\xFF", 26), QStringLiteral("not a text file")},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        if (!c.content.isNull())
            write("devices.ini", c.content);
        const LoggerModel model = catalog.lookUp(485);
        EXPECT_FALSE(model.accepted) << c.name;
        EXPECT_EQ(model.status, CatalogStatus::Unreadable) << c.name;
        EXPECT_EQ(model.reason, c.reason) << c.name;
        EXPECT_EQ(model.description, QString()) << c.name;
        EXPECT_EQ(model.section, QStringLiteral("Device 485")) << c.name;
        EXPECT_EQ(catalogMessage(model),
                  QStringLiteral("The logger catalogue devices.ini could not be read: ") + path
                      + QStringLiteral(": ") + c.reason)
            << c.name;
    }
}

TEST_F(DeviceCatalogTest, DeviceSettingsComeFromTheModelsSection)
{
    write("QUORZK.INI", "[Comm]\r\nPrimUnit1=wrong\r\n[DEVICE 293]\r\n PrimUnit1 = mV \r\n");
    const LoggerModel model293 = catalog.lookUp(293);
    EXPECT_EQ(catalog.deviceSetting(model293, QStringLiteral("primunit1"), QStringLiteral("-")),
              QStringLiteral("mV"));
    EXPECT_EQ(catalog.deviceSetting(model293, QStringLiteral("PrimUnit2"), QStringLiteral("-")),
              QStringLiteral("-"));
    const LoggerModel model485 = catalog.lookUp(485);
    EXPECT_EQ(catalog.deviceSetting(model485, QStringLiteral("PrimUnit1"), QStringLiteral("-")),
              QStringLiteral("-"));
}

TEST(ShippedCatalogue, AcceptsTheProgramsModels)
{
    const QString path = QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini");
    IniFile catalogue;
    ASSERT_TRUE(catalogue.load(path));
    struct Case {
        std::uint16_t code;
        int blocks;
    };
    const Case cases[] = {{1, 124}, {69, 188}, {101, 252}, {197, 444}, {293, 124}, {485, 508}};
    for (const Case& c : cases) {
        const QString section = QStringLiteral("Device %1").arg(c.code);
        EXPECT_EQ(catalogue.value(section, QStringLiteral("Type")), QStringLiteral("ZK")) << c.code;
        EXPECT_FALSE(catalogue.value(section, QStringLiteral("DeviceDesc")).isEmpty()) << c.code;
        EXPECT_EQ(memoryBlocks(c.code), c.blocks) << c.code;
    }
}

} // namespace
} // namespace qz
