// Modem connection, Modem disconnection and the hang-up at exit, on the emulated logger
// behind its telephone modem.
#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "link/line_registry.h"
#include "link/ui/dialer_dialog.h"
#include "link/ui/dialing_dialog.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "support/tap_line.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

namespace qz::test {
namespace {

sim::EmulatorOptions modemInFront()
{
    sim::EmulatorOptions o;
    o.modem.enabled = true;
    return o;
}

class ModemCommandsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Without a modem description the options take the modem out of the settings.
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/Default.mdm"),
                                QDir(folder()).filePath("Default.mdm")));
        lines_.addNamed(LineRegistry::simulatedPortName(), [this] {
            return std::make_unique<TapLine>(std::make_unique<sim::EmulatorLine>(logger_, clock_), clock_,
                                             tap_);
        });
    }
    void writeIni(const QByteArray& text)
    {
        QFile ini(ProgramFolder(folder()).settingsFile());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
    }

    sim::Emulator logger_{modemInFront()};
    TapLog tap_;
};

TEST_F(ModemCommandsTest, ExitHangsUpOnlyWithAModemPresent)
{
    struct Case {
        QByteArray ini;
        QByteArray sent;
    };
    const Case cases[] = {
        {"[Communication]\r\nComport=sim\r\n[Modem]\r\nModemPresent=1\r\n", "+++ATH0\rAT\r"},
        {"[Communication]\r\nComport=sim\r\n[Modem]\r\nModemPresent=0\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        tap_.clear();
        writeIni(c.ini);
        form().options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
        EXPECT_TRUE(form().close());
        EXPECT_EQ(tap_.text(), c.sent);
        EXPECT_TRUE(prompt_.records().empty());
    }
}

TEST_F(ModemCommandsTest, ConnectionDialsAndLaterCommandsUseTheModemTimings)
{
    writeIni("[Modem]\r\nModemPresent=1\r\nLastNumberCalled=5551234\r\n");
    form().options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
    form().options()->settings().setModemLink(false);
    QTimer* timer = form().dialer()->dialingDialog()->pollTimer();
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [this] { clock_.advance(1000); });
    QTimer::singleShot(0, [this] { form().dialer()->dial(); });
    form().action("Connect1")->trigger();
    EXPECT_EQ(prompt_.texts(), QStringList{"Connected"});
    EXPECT_EQ(tap_.text(), "AT\rATDT5551234\r");
    EXPECT_TRUE(form().options()->link().modemLink);
    EXPECT_TRUE(form().options()->settings().verifyDownloads()) << "a download through the modem is verified";

    tap_.clear();
    form().action("Disconnect1")->trigger();
    EXPECT_EQ(tap_.text(), "+++ATH0\rAT\r");
    EXPECT_EQ(prompt_.texts(), QStringList{"Connected"}) << "the hang-up tells nothing more";
}

} // namespace
} // namespace qz::test
