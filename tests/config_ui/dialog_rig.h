#pragma once
// The configuration dialog over an emulated logger whose header has been read into a
// device image, with a recording prompt, a virtual clock and the shipped catalogue.
#include "config/ui/configuration_dialog.h"
#include "config/ui/delayed_start_dialog.h"
#include "config/ui/inputs_scaling_dialog.h"
#include "jobs/device_read_job.h"
#include "jobs/logger_ports.h"
#include "link/logger_protocol.h"
#include "model/memory_image.h"
#include "platform/date_settings.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/catalogue_folder.h"
#include "support/print_qt.h"
#include "support/recording_prompt.h"
#include "support/scripted_pump.h"
#include "support/virtual_clock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace qz::test {

class CountingDateSettings final : public DateSettings {
public:
    bool open() override
    {
        ++opened;
        return canOpen;
    }
    bool available() const override { return canOpen; }
    int opened = 0;
    bool canOpen = true;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale::c());
        QFile::remove(QDir(folder_.path()).filePath("devices.ini"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"),
                                QDir(folder_.path()).filePath("devices.ini")));
    }
    void TearDown() override
    {
        dialog_.reset();
        QLocale::setDefault(previousLocale_);
    }

    // Loads the logger, reads its header and makes the dialog, initialised for it.
    bool prepare(const sim::MemoryPreset& preset = {
                     .deviceCode = 101, .content = sim::Content::Linear, .blocks = 6, .serial = "7421"})
    {
        sim::loadMemory(emulator_.logger(), preset);
        NullProgress progress;
        auto q = makeLogger();
        const DeviceReadResult read = deviceReadJob(*q, ConnectPolicy::Ask, progress);
        EXPECT_EQ(read.status, DeviceReadStatus::Read);
        image_ = read.image;
        q.reset();
        if (!lines_.isNamed("sim"))
            lines_.addNamed("sim", [this] { return std::make_unique<sim::EmulatorLine>(emulator_, clock_); });
        ConfigurationServices services{
            prompt_, clock_,
            pump_,   ProgramFolder(folder_.path()),
            ports_,  [](const QString& port) { return LinkSettings{port, false}; },
        };
        dialog_ = std::make_unique<ConfigurationDialog>(std::move(services));
        dialog_->setDateSettings(&dates_);
        return dialog_->initialize("sim", {image_.data(), image_.size()});
    }
    std::unique_ptr<LoggerProtocol> makeLogger()
    {
        return std::make_unique<LoggerProtocol>(
            LinkSettings{"sim", false}, std::make_unique<sim::EmulatorLine>(emulator_, clock_), clock_);
    }
    void show()
    {
        dialog_->showConfiguration();
        QApplication::processEvents();
    }

    template <class T = QWidget> T* child(const char* name, QWidget* in = nullptr)
    {
        T* w = (in ? in : static_cast<QWidget*>(dialog_.get()))->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* name, QWidget* in = nullptr)
    {
        QWidget* w = child(name, in);
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            return button->text();
        return {};
    }
    void click(const char* name, QWidget* in = nullptr) { child<QAbstractButton>(name, in)->click(); }
    // Types into a field and leaves it for another control, as Tab does.
    void type(const char* field, const QString& text)
    {
        auto* edit = child<QLineEdit>(field);
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
    std::uint8_t* memory() { return emulator_.logger().memory(); }

    RecordingPrompt prompt_;
    VirtualClock clock_; // 2026-03-05 14:07:09
    ScriptedPump pump_;
    CatalogueFolder folder_;
    sim::Emulator emulator_;
    std::array<std::uint8_t, mem::kDeviceImageSize> image_{};
    CountingDateSettings dates_;
    InlineJobRunner runner_;
    LineRegistry lines_;
    LoggerPorts ports_{runner_, lines_, clock_};
    std::unique_ptr<ConfigurationDialog> dialog_;

private:
    QLocale previousLocale_;
};

} // namespace qz::test
