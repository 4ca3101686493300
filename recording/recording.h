#pragma once
// A recording as the program holds it: the logger memory image, the reader over it,
// everything derived from it (conversions, value formats, extreme values, averages) and
// its display state (zoom levels, colours, drawn inputs, axis inputs). The graph window
// owns one and draws from it; the export and the command-line tool use it without any
// window. Drawing, export and the information text only read: they take a const
// recording.
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "platform/program_folder.h"
#include "recording/display_settings.h"
#include "recording/file_results.h"
#include "recording/scaling.h"
#include "recording/view_record.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class QIODevice;

namespace qz {

class Progress;
class Prompt;

inline constexpr int kFileSignatureSize = 8;
inline constexpr int kMinFileSize = kFileSignatureSize + int(mem::kHeaderSize); // 392
inline constexpr int kMaxFileSize = kFileSignatureSize + int(mem::kImageSize); // 65,416
inline constexpr int kAutoScaleMargin = 12; // raw units around the data at level 0

// Why a recording cannot be shown.
enum class InitError {
    None,
    CatalogUnreadable, // devices.ini could not be read (CatalogMessage of model())
    NotAccepted, // the catalogue does not list or accept the logger model
    TooFewMeasurements, // fewer than two measurements
};

struct InitResult {
    InitError error = InitError::None;

    // Reads as the yes/no answer it refines: true when the recording can be shown.
    operator bool() const { return error == InitError::None; }
    bool operator==(InitError other) const { return error == other; }
};

// Line layouts of an export. Text to TextNoDate are the export chooser's first four
// positions; DateOnly is never offered; Csv is comma-separated values with ISO 8601
// times and a '.' decimal point whatever the locale, without the information text.
enum class ExportKind : int {
    Text = 0,
    Excel = 1,
    Lotus = 2,
    TextNoDate = 3,
    DateOnly = 4,
    Csv = 5
};

class Recording {
public:
    // The catalogue (devices.ini) is looked up in folder.
    explicit Recording(ProgramFolder folder);
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // --- Image and identity ------------------------------------------------------------
    // The 65,408-byte image; the creator fills it (setImage, load), then calls
    // initialize. The buffer never moves during the recording's life.
    ConstByteView image() const { return {image_.data(), image_.size()}; }
    QByteArray imageBytes() const;
    // Copies at most 65,408 bytes to the start of the image; the rest is zeroed.
    void setImage(const QByteArray& bytes);
    // A duplicate of another recording: its image, created moment and file name; saved.
    void copyFrom(const Recording& other);

    // The reader over the image, with the record layout of the last setImage, load or
    // initialize.
    const ImageReader& reader() const { return reader_; }
    // The catalogue's entry for the logger, from the last initialize.
    const LoggerModel& model() const { return model_; }
    // A key of the logger model's section in the settings file, read now; defaultValue
    // when it is missing.
    QString deviceSetting(const QString& key, const QString& defaultValue = QString()) const
    {
        return catalog_.deviceSetting(model_, key, defaultValue);
    }

    // Moment of the download (days since 30 December 1899); 0 for a recording from a file.
    double created() const { return created_; }
    void setCreated(double created) { created_ = created; }

    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }
    const QString& exportFileName() const { return exportFileName_; }

    bool isSaved() const { return saved_; }
    void setSaved(bool saved) { saved_ = saved; }

    // --- Set-up --------------------------------------------------------------------------
    // Derives everything from the image. Refused, with nothing else changed, when the
    // catalogue cannot be read or does not accept the logger, or the image holds fewer
    // than 2 measurements.
    InitResult initialize();
    bool isInitialized() const { return initialized_; }
    // Measurements in the image.
    int measurementCount() const { return reader_.recordCount(); }

    // --- Texts ---------------------------------------------------------------------------
    // The file name, or the serial number immediately followed by the created moment (with
    // its seconds, so that two downloads of one logger in one minute stay apart).
    QString description() const;
    // The created moment as titles and descriptions show it: the locale's short date and
    // time, with seconds.
    QString createdText() const;
    // " (Simulated logger)" for a recording of the simulated logger, otherwise empty.
    QString simulatedMark() const;
    // Sets the caption once, numbered n; does nothing while the title is set.
    void childTitle(int n);
    bool isTitleSet() const { return titleSet_; }
    void clearTitleSet() { titleSet_ = false; }
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }

    // --- Per input (0..7) ----------------------------------------------------------------
    bool isEnabled(int input) const;
    const QString& valueFormat(int input) const;
    const Conversion& conversion(int input) const;
    long double gain(int input) const { return conversion(input).gain; }
    long double offset(int input) const { return conversion(input).offset; }
    long double rawSum(int input) const;
    // Byte of the input inside a measurement (its position among the enabled inputs).
    int recordPosition(int input) const { return reader_.recordPosition(input); }
    // Raw sample of an enabled input; measurement counted from 1.
    std::uint8_t sample(int input, int measurement) const { return reader_.sample(input, measurement); }
    // v rounded to the input's resolution (unrounded for a zero span).
    long double normalize(int input, long double v) const;
    long double physicalValue(int input, long double raw) const { return conversion(input).physical(raw); }

    // --- Display state -------------------------------------------------------------------
    const ColourTable& colours() const { return colours_; }
    void setColourTable(const ColourTable& colours) { colours_ = colours; }
    const DisplaySettings& settings() const { return settings_; }
    void setDisplaySettings(const DisplaySettings& settings) { settings_ = settings; }
    bool isInputDrawn(int input) const { return qz::isInputDrawn(settings_, input); }
    // New colours and settings from the graphic configuration dialog: the current view's
    // plotted range follows them.
    void applyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings);

    // --- Zoom levels ---------------------------------------------------------------------
    ViewRecord& view(int level);
    const ViewRecord& view(int level) const;
    int currentLevel() const { return currentLevel_; }
    // Clamped to 0..16.
    void setCurrentLevel(int level);
    ViewRecord& currentView() { return view(currentLevel_); }
    const ViewRecord& currentView() const { return view(currentLevel_); }
    int autoScaleMargin() const { return margin_; }

    // --- Scaling -------------------------------------------------------------------------
    // Extreme raw values and raw sums of the view's measurements (first..last clamped to
    // the recording); a falling scale exchanges minimum and maximum.
    void searchMaxMin(ViewRecord& view);
    // Raw range plotted per enabled input: the data plus the margin (automatic scale) or
    // the calibrated range (fixed scale). A flat range on a deeper level keeps the range of
    // the level above.
    void updateScalingMode(ViewRecord& view);
    // average[i] from the raw sums left by searchMaxMin.
    void computeAverages(ViewRecord& view) const;
    // Physical top, bottom and label step of the input's axis on the current view.
    AxisScale axisScale(int input) const;

    // --- Information text ----------------------------------------------------------------
    // The lines describing the view (the last one empty).
    QStringList infoLines(const ViewRecord& view) const;
    void appendInfoLines(QStringList& lines, const ViewRecord& view) const;

    // --- File ----------------------------------------------------------------------------
    // Writes signature and image (cut after the last used block) to a temporary file that
    // replaces name only when complete. The file name and saved flag change only on
    // success.
    SaveResult save(const QString& name);
    // Reads a recording file and initializes from it. The file name is taken and the
    // recording marked saved whatever the result. A path that is not a regular file is
    // refused unread (NotAFile). A file that is no recording file (wrong signature, no
    // whole header, longer than 65,416 bytes) is refused as NotARecording. A file cut
    // short keeps its complete blocks only (KeepCompleteBlocks) and says how many are
    // missing.
    LoadResult load(const QString& name);
    // The same from any readable device (the file reader and the fuzz target use it).
    LoadResult loadFrom(QIODevice& device, qint64 size);
    // Close query: true when the recording is saved or the user agrees to lose it.
    bool mayClose(Prompt& prompt);
    bool saveChanges(Prompt& prompt) const;

    // --- Export --------------------------------------------------------------------------
    // Information text of the current view (for Csv: a line of column names), then one
    // line per measurement of it, CR LF.
    // The file is written through a temporary that replaces it when complete (a cancelled
    // export keeps the lines written so far); the recording's own file is never an
    // output (SameAsInput).
    ExportOutcome exportFile(const QString& name, ExportKind kind, Progress& progress);
    ExportOutcome exportRecord(ExportKind kind, Progress& progress) const;
    // To any device; a failed write gives the system's reason.
    ExportOutcome exportTo(QIODevice& out, ExportKind kind, Progress& progress) const;

private:
    void rebind();
    int storedBlocks() const;
    int levelOf(const ViewRecord& view) const;

    DeviceCatalog catalog_;
    std::vector<std::uint8_t> image_;
    ImageReader reader_;
    LoggerModel model_;
    double created_ = 0;
    QString fileName_;
    QString exportFileName_;
    QString caption_;
    bool saved_ = false;
    bool titleSet_ = false;
    bool initialized_ = false;
    std::array<bool, mem::kInputs> enabled_{};
    std::array<QString, mem::kInputs> formats_;
    std::array<Conversion, mem::kInputs> conversion_{};
    std::array<long double, mem::kInputs> rawSum_{};
    int measurementCount_ = 0;
    ColourTable colours_ = defaultColours();
    DisplaySettings settings_;
    std::array<ViewRecord, kViewLevels> views_{};
    int currentLevel_ = 0;
    int margin_ = kAutoScaleMargin;
};

} // namespace qz
