#pragma once
// A recording as the program holds it: the logger memory image, the data record that
// reads it, everything derived from it (conversions, value formats, extreme values,
// averages) and its display state (zoom levels, colours, drawn inputs, axis inputs).
// The graph window owns one and draws from it; the export and the command-line tool use
// it without any window.
#include "model/quorvant_data.h"
#include "platform/program_folder.h"
#include "recording/display_settings.h"
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

inline constexpr int kImageSize = 65408;            // 384 header bytes + 508 blocks of 128
inline constexpr int kImageHeaderSize = 384;
inline constexpr int kImageBlockSize = 128;
inline constexpr int kFileSignatureSize = 8;
inline constexpr int kMaxFileSize = kFileSignatureSize + kImageSize; // 65,416
inline constexpr int kAutoScaleMargin = 12;         // raw units around the data at level 0

// Line layouts of a text export; the numbers are the export chooser's positions.
enum class ExportKind : int { Text = 0, Excel = 1, Lotus = 2, TextNoDate = 3, DateOnly = 4 };

enum class ExportResult { Done, Cancelled, Failed };

class Recording {
public:
    // The catalogue (devices.ini) is looked up in folder.
    explicit Recording(ProgramFolder folder);
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // --- Image and identity ------------------------------------------------------------
    // The 65,408-byte image; the creator fills it, then calls Initialize. The buffer
    // never moves during the recording's life.
    std::uint8_t* Image() { return image_.data(); }
    const std::uint8_t* Image() const { return image_.data(); }
    QByteArray ImageBytes() const;
    // Copies at most kImageSize bytes to the start of the image; the rest is zeroed.
    void SetImage(const QByteArray& bytes);
    // A duplicate of another recording: its image, created moment and file name; saved.
    void CopyFrom(const Recording& other);

    TQuorvantData& Data() { return data_; }
    const TQuorvantData& Data() const { return data_; }

    // Moment of the download (days since 30 December 1899); 0 for a recording from a file.
    double Created() const { return created_; }
    void SetCreated(double created) { created_ = created; }

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    const QString& ExportFileName() const { return exportFileName_; }

    bool IsSaved() const { return saved_; }
    void SetSaved(bool saved) { saved_ = saved; }

    // --- Set-up --------------------------------------------------------------------------
    // Derives everything from the image. False, with nothing else changed, when the
    // catalogue does not accept the logger or the image holds fewer than 2 measurements.
    bool Initialize();
    bool IsInitialized() const { return initialized_; }
    int MeasurementCount();

    // --- Texts ---------------------------------------------------------------------------
    // The file name, or the serial number immediately followed by the created moment.
    QString Description() const;
    // Sets the caption once, numbered n; does nothing while the title is set.
    void ChildTitle(int n);
    bool IsTitleSet() const { return titleSet_; }
    void ClearTitleSet() { titleSet_ = false; }
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }

    // --- Per input (0..7) ----------------------------------------------------------------
    bool IsEnabled(int input) const;
    const QString& ValueFormat(int input) const;
    const Conversion& InputConversion(int input) const;
    long double Gain(int input) const { return InputConversion(input).gain; }
    long double Offset(int input) const { return InputConversion(input).offset; }
    long double RawSum(int input) const;
    // Byte of the input inside a measurement (its position among the enabled inputs).
    int RecordPosition(int input) const;
    // Points the data record at the input (current input and offset) for GetSample.
    void SelectInput(int input);
    // Raw sample of an enabled input; measurement counted from 1.
    std::uint8_t Sample(int input, int measurement);
    // v rounded to the input's resolution (unrounded for a zero span).
    long double Normalize(int input, long double v) const;
    long double PhysicalValue(int input, long double raw) const { return InputConversion(input).Physical(raw); }

    // --- Display state -------------------------------------------------------------------
    const ColourTable& Colours() const { return colours_; }
    void SetColourTable(const ColourTable& colours) { colours_ = colours; }
    const DisplaySettings& Settings() const { return settings_; }
    void SetDisplaySettings(const DisplaySettings& settings) { settings_ = settings; }
    bool IsInputDrawn(int input) const { return qz::IsInputDrawn(settings_, input); }
    // New colours and settings from the graphic configuration dialog: the current view's
    // plotted range follows them.
    void ApplyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings);

    // --- Zoom levels ---------------------------------------------------------------------
    ViewRecord& View(int level);
    const ViewRecord& View(int level) const;
    int CurrentLevel() const { return currentLevel_; }
    // Clamped to 0..16.
    void SetCurrentLevel(int level);
    ViewRecord& CurrentView() { return View(currentLevel_); }
    const ViewRecord& CurrentView() const { return View(currentLevel_); }
    int AutoScaleMargin() const { return margin_; }

    // --- Scaling -------------------------------------------------------------------------
    // Extreme raw values and raw sums of the view's measurements (first..last clamped to
    // the recording); a falling scale exchanges minimum and maximum.
    void SearchMaxMin(ViewRecord& view);
    // Raw range plotted per enabled input: the data plus the margin (automatic scale) or
    // the calibrated range (fixed scale). A flat range on a deeper level keeps the range of
    // the level above.
    void UpdateScalingMode(ViewRecord& view);
    // average[i] from the raw sums left by SearchMaxMin.
    void ComputeAverages(ViewRecord& view) const;
    // Physical top, bottom and label step of the input's axis on the current view.
    AxisScale ComputeAxisScale(int input);

    // --- Information text ----------------------------------------------------------------
    // Appends the lines describing the view (the last one empty).
    void InfosZk300(QStringList& lines, const ViewRecord& view);
    QStringList InfosZk300(const ViewRecord& view);

    // --- File ----------------------------------------------------------------------------
    // Writes signature and image (cut after the last used block) to a temporary file that
    // replaces name only when complete. False, with the reason in LastError, on failure.
    bool save(const QString& name);
    // Reads a recording file and initializes from it. A file that is no recording file
    // (wrong signature, longer than 65,416 bytes) is refused with "Invalid data file ".
    bool LoadFile(const QString& name, Prompt& prompt);
    // The same from any readable device (the file reader and the fuzz target use it).
    bool LoadFrom(QIODevice& device, qint64 size, Prompt& prompt);
    // Close query: true when the recording is saved or the user agrees to lose it.
    bool MayClose(Prompt& prompt);
    bool SaveChanges(Prompt& prompt);
    const QString& LastError() const { return lastError_; }

    // --- Export --------------------------------------------------------------------------
    // Information text of the current view, then one line per measurement of it, CR LF.
    ExportResult ExportFile(const QString& name, ExportKind kind, Progress& progress);
    ExportResult ExportRecord(ExportKind kind, Progress& progress);
    ExportResult ExportTo(QIODevice& out, ExportKind kind, Progress& progress);

private:
    int StoredBlocks() const;
    int LevelOf(const ViewRecord& view) const;

    ProgramFolder folder_;
    std::vector<std::uint8_t> image_;
    TQuorvantData data_;
    double created_ = 0;
    QString fileName_;
    QString exportFileName_;
    QString caption_;
    QString lastError_;
    bool saved_ = false;
    bool titleSet_ = false;
    bool initialized_ = false;
    std::array<bool, kInputCount> enabled_{};
    std::array<QString, kInputCount> formats_;
    std::array<Conversion, kInputCount> conversion_{};
    std::array<long double, kInputCount> rawSum_{};
    std::array<int, kInputCount> position_{};
    int measurementCount_ = 0;
    ColourTable colours_ = DefaultColours();
    DisplaySettings settings_;
    std::array<ViewRecord, kViewLevels> views_{};
    int currentLevel_ = 0;
    int margin_ = kAutoScaleMargin;
};

} // namespace qz
