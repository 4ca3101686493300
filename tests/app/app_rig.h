#pragma once
// A main window over scripted services: a recording prompt, a virtual clock, file and
// print dialogs that answer from a script, and a program folder with a catalogue.
#include "app/ui/document_dialogs.h"
#include "app/ui/main_window.h"
#include "jobs/job_runner.h"
#include "link/line_registry.h"
#include "sim/emulator.h"
#include "sim/presets.h"
#include "support/catalogue_folder.h"
#include "support/image_builder.h"
#include "support/print_qt.h"
#include "support/recording_prompt.h"
#include "support/scripted_pump.h"
#include "support/virtual_clock.h"

#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace qz::test {

class ScriptedDialogs final : public DocumentDialogs {
public:
    QString openFile(QWidget*, const FileDialogRequest& request) override { return next(request); }
    QString saveFile(QWidget*, const FileDialogRequest& request) override { return next(request); }
    // The next scripted choice of a save dialog with types; a cancel when none is left.
    // Without choices, a name scripted with script() is typed with the extension of one
    // of the types, which it chooses (another extension keeps the type proposed).
    std::optional<FileChoice> saveFileOfType(QWidget*, const FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (choices.empty()) {
            if (names_.empty())
                return std::nullopt;
            const QString name = names_.front();
            names_.pop_front();
            if (name.isEmpty())
                return std::nullopt;
            const qsizetype type = filterExtensions(request.filter).indexOf(QFileInfo(name).suffix());
            return FileChoice{name, type < 0 ? request.type : int(type)};
        }
        const std::optional<FileChoice> c = choices.front();
        choices.pop_front();
        return c;
    }
    std::deque<std::optional<FileChoice>> choices;
    bool print(QWidget*, QPrinter& printer) override
    {
        ++prints;
        printProposed = printer.outputFileName();
        if (!printChoice.isEmpty())
            printer.setOutputFileName(printChoice);
        return printAnswer;
    }
    bool printSetup(QWidget*, QPrinter&) override
    {
        ++setups;
        return true;
    }
    // The next scripted colour; a cancel when none is left.
    std::optional<QColor> chooseColour(QWidget*, const QColor&) override
    {
        if (colours.empty())
            return std::nullopt;
        const QColor c = colours.front();
        colours.pop_front();
        return c;
    }
    std::deque<QColor> colours;

    // File names given to the next dialogs; an empty name is a cancel.
    void script(std::initializer_list<QString> names) { names_.insert(names_.end(), names); }
    std::vector<FileDialogRequest> requests;
    bool printAnswer = true;
    // The file the print dialog proposed, and the one the user chooses in it (none: the
    // proposed one).
    QString printProposed;
    QString printChoice;
    int prints = 0;
    int setups = 0;

private:
    QString next(const FileDialogRequest& request)
    {
        requests.push_back(request);
        if (names_.empty())
            return {};
        QString name = names_.front();
        names_.pop_front();
        return name;
    }
    std::deque<QString> names_;
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window, made on first use so a test can prepare the folder first.
    MainWindow& form();
    // A recording file in the scratch folder.
    QString writeRecording(const QString& name, const ImageBuilder& image);
    QString writeFile(const QString& name, const QByteArray& bytes);
    QString folder() const { return catalogue_.path(); }
    QString scratch(const QString& name) const;
    // Opens a file through the Open command.
    GraphWindow* openThroughMenu(const QString& name);
    // Runs posted events (renumbering after a window is freed).
    static void settle();
    QStringList titles();

    RecordingPrompt prompt_;
    VirtualClock clock_;
    ScriptedPump pump_;
    ScriptedDialogs dialogs_;
    LineRegistry lines_;
    // The logger jobs run at once, on the virtual clock; hold() keeps them waiting.
    InlineJobRunner jobs_;
    CatalogueFolder catalogue_;

private:
    QTemporaryDir scratch_;
    QLocale previousLocale_;
    std::unique_ptr<MainWindow> form_;
};

// Cold store recording of the recording tests' kind: three inputs, 100 measurements.
ImageBuilder coldStoreImage();

// The main window on the simulated logger, with the shipped catalogue that knows its models.
class SimulatedLoggerTest : public AppTest {
protected:
    void SetUp() override;
    void load(const sim::MemoryPreset& preset) { sim::loadMemory(logger_.logger(), preset); }

    sim::Emulator logger_;
};

} // namespace qz::test
