#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "graph/ui/graph_window.h"
#include "sim/emulator_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>

namespace qz::test {

ImageBuilder coldStoreImage()
{
    return ImageBuilder()
        .serial("A123")
        .recordName(QStringLiteral("Cold store"))
        .interval(300, 1)
        .input(0,
               {QStringLiteral("Air"),
                QStringLiteral("\xb0"
                               "C"),
                -40, 60, 0, 255 * 256})
        .input(1, {QStringLiteral("Door"), QStringLiteral("%"), 0, 100, 0, 255 * 256})
        .input(4,
               {QStringLiteral("Floor"),
                QStringLiteral("\xb0"
                               "C"),
                -40, 60, 0, 255 * 256})
        .measurements(100, [](int k, int input) { return std::uint8_t((k * (input + 1)) % 200 + 20); });
}

void AppTest::SetUp()
{
    previousLocale_ = QLocale();
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(scratch_.isValid());
}

void AppTest::TearDown()
{
    form_.reset();
    settle();
    QLocale::setDefault(previousLocale_);
}

MainWindow& AppTest::form()
{
    if (!form_) {
        form_ = std::make_unique<MainWindow>(
            AppServices{prompt_, clock_, pump_, ProgramFolder(catalogue_.path()), dialogs_, lines_, jobs_});
        form_->show();
    }
    return *form_;
}

QString AppTest::scratch(const QString& name) const
{
    return scratch_.filePath(name);
}

QString AppTest::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(scratch(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
}

QString AppTest::writeRecording(const QString& name, const ImageBuilder& image)
{
    return writeFile(name, image.file());
}

GraphWindow* AppTest::openThroughMenu(const QString& name)
{
    const int before = static_cast<int>(form().graphWindows().size());
    dialogs_.script({name});
    form().openFile();
    settle();
    const auto graphs = form().graphWindows();
    return graphs.size() > before ? graphs.constFirst() : nullptr;
}

void AppTest::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QStringList AppTest::titles()
{
    QStringList out;
    for (GraphWindow* g : form().graphWindows())
        out << g->windowTitle();
    return out;
}

void SimulatedLoggerTest::SetUp()
{
    AppTest::SetUp();
    QFile::remove(QDir(folder()).filePath("devices.ini"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"),
                            QDir(folder()).filePath("devices.ini")));
    lines_.addNamed(LineRegistry::simulatedPortName(),
                    [this] { return std::make_unique<sim::EmulatorLine>(logger_, clock_); });
    form().options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
}

} // namespace qz::test
