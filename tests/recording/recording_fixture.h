#pragma once
// Shared set-up of the recording tests: a catalogue folder, a fixed "C" locale (the
// decimal point) and the hand-built recordings the tests use.
#include "recording/recording.h"
#include "support/catalogue_folder.h"
#include "support/image_builder.h"
#include "support/print_qt.h"

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

    std::unique_ptr<Recording> make() const
    {
        return std::make_unique<Recording>(ProgramFolder(catalogue_.path()));
    }
    // A recording initialized from the image; fails the test when it is refused.
    std::unique_ptr<Recording> load(const QByteArray& image) const
    {
        auto r = make();
        r->setImage(image);
        EXPECT_TRUE(r->initialize());
        return r;
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
