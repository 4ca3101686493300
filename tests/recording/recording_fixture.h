#pragma once
// Shared set-up of the recording tests: a catalogue folder, a fixed "C" locale (the
// decimal point) and the hand-built recordings the tests use.
#include "recording/exports.h"
#include "recording/recording_data.h"
#include "recording/recording_file.h"
#include "support/catalogue_folder.h"
#include "support/image_builder.h"
#include "support/print_qt.h"

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

namespace qz::test {

// Cold store: inputs 1, 2 and 5 (5 with a falling scale), 100 measurements of 5 minutes
// from 05/03/01 14:07:09 in three blocks.
ImageBuilder coldStore();
// One input, exactly two measurements of 90 s in one block.
ImageBuilder twoMeasurements();
// Eight inputs, hourly, 900 measurements filling a 60-block ring whose oldest block is 58.
ImageBuilder wrappedRing();

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(scratch_.isValid());
    }
    void TearDown() override { QLocale::setDefault(previousLocale_); }

    ProgramFolder folder() const { return ProgramFolder(catalogue_.path()); }
    // What the factory makes of the image.
    RecordingResult make(const QByteArray& image, double created = 0) const
    {
        return RecordingData::fromImage(image, created, folder());
    }
    // The recording of the image; fails the test when it is refused.
    std::shared_ptr<const RecordingData> load(const QByteArray& image, double created = 0) const
    {
        RecordingResult made = make(image, created);
        EXPECT_TRUE(made.ok());
        return made.data;
    }
    // The information text of the whole recording, every recorded input shown.
    static QStringList infoLines(const RecordingData& data)
    {
        return informationLines(data, wholeRecording(data));
    }
    QString scratch(const QString& name) const { return scratch_.filePath(name); }

    CatalogueFolder catalogue_;
    QTemporaryDir scratch_;

private:
    QLocale previousLocale_;
};

// Golden files under tests/recording/golden/. Run a test binary with
// QUORZK_UPDATE_GOLDEN=1 to rewrite them on purpose, then review the diff.
QByteArray readGolden(const QString& name);
void checkGolden(const QString& name, const QByteArray& actual);

} // namespace qz::test
