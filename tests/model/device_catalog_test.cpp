#include "model/device_catalog.h"

#include "support/print_qt.h"
#include "model/ini_file.h"
#include "model/values.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz {
namespace {

// A program folder with its own catalogue and settings file.
class DeviceCatalogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void Write(const char* name, const QByteArray& text)
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
    Write("devices.ini",
          "[Device 485]\r\nType = ZK \r\nDeviceDesc =  ZK-485 Octo \r\n"
          "[device 101]\r\ntype=zk\r\nDeviceDesc=Lower\r\n"
          "[Device 7]\r\nDeviceDesc=No type\r\n"
          "[Device 8]\r\nType=ZKX\r\n");
    struct Case { std::uint16_t code; bool accepted; const char* section; const char* desc; };
    const Case cases[] = {
        {485, true, "Device 485", "ZK-485 Octo"},
        {101, false, "Device 101", "Lower"},
        {7, false, "Device 7", "No type"},
        {8, false, "Device 8", ""},
        {9, false, "Device 9", ""},
    };
    for (const Case& c : cases) {
        const LoggerModel model = catalog.lookUp(c.code);
        EXPECT_EQ(model.accepted, c.accepted) << c.code;
        EXPECT_EQ(model.section, QLatin1String(c.section));
        EXPECT_EQ(model.description, QLatin1String(c.desc));
        EXPECT_EQ(model.catalogPath, QDir(dir.path()).filePath(QStringLiteral("devices.ini")));
    }
}

TEST_F(DeviceCatalogTest, MissingCatalogueRefusesQuietly)
{
    const LoggerModel model = catalog.lookUp(485);
    EXPECT_FALSE(model.accepted);
    EXPECT_EQ(model.description, QString());
    EXPECT_EQ(model.section, QStringLiteral("Device 485"));
}

TEST_F(DeviceCatalogTest, DeviceSettingsComeFromTheModelsSection)
{
    Write("QUORZK.INI", "[Comm]\r\nPrimUnit1=wrong\r\n[DEVICE 293]\r\n PrimUnit1 = mV \r\n");
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
    struct Case { std::uint16_t code; int blocks; };
    const Case cases[] = {{1, 124}, {69, 188}, {101, 252}, {197, 444}, {293, 124}, {485, 508}};
    for (const Case& c : cases) {
        const QString section = QStringLiteral("Device %1").arg(c.code);
        EXPECT_EQ(catalogue.value(section, QStringLiteral("Type")), QStringLiteral("ZK")) << c.code;
        EXPECT_FALSE(catalogue.value(section, QStringLiteral("DeviceDesc")).isEmpty()) << c.code;
        EXPECT_EQ(MemoryBlocks(c.code), c.blocks) << c.code;
    }
}

} // namespace
} // namespace qz
