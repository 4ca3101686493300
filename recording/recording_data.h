#pragma once
// A recording as it was read: the logger memory image, the reader over it and everything
// that follows from the image alone (the logger model from the catalogue, each input's
// name, unit, conversion and value format, the measurement times). Made once by a factory
// and never changed afterwards, so that any number of graph views, the information text,
// the exports and the command-line tool share one as std::shared_ptr<const RecordingData>.
// Nothing here reads a file after the factory returns: a mouse move over a graph reads the
// memory only.
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "platform/program_folder.h"
#include "recording/file_results.h"
#include "recording/scaling.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

namespace qz {

class RecordingData;

// Why an image cannot be a recording.
enum class InitError {
    None,
    CatalogUnreadable, // devices.ini could not be read (reason holds the catalogue's message)
    NotAccepted, // the catalogue does not list or accept the logger model
    TooFewMeasurements, // fewer than two measurements
};

// What the factory of a memory image made of it.
struct RecordingResult {
    InitError error = InitError::None;
    QString reason; // the catalogue's message when it could not be read
    std::shared_ptr<const RecordingData> data = nullptr; // set exactly when error is None

    bool ok() const { return error == InitError::None; }
    // Reads as the yes/no answer it refines: true when the recording can be shown.
    explicit operator bool() const { return ok(); }
    bool operator==(InitError other) const { return error == other; }
};

// One input as the recording describes it.
struct InputInfo {
    bool enabled = false; // recorded
    QString name;
    QString unit;
    Conversion conversion;
    QString valueFormat = QStringLiteral("0"); // digits of its values
};

class RecordingData {
public:
    // --- Factories -----------------------------------------------------------------------
    // A downloaded image (at most 65,408 bytes are taken, the rest reads as zero), made at
    // the moment created (days since 30 December 1899). The catalogue (devices.ini) and
    // the settings file are read in folder, now and never again.
    static RecordingResult fromImage(const QByteArray& image, double created, const ProgramFolder& folder);
    // A recording file. A path that is not a regular file is refused unread (NotAFile). A
    // file that is no recording file (wrong signature, no whole header, longer than 65,416
    // bytes) is refused as NotARecording. A file cut short keeps its complete blocks only
    // and says how many are missing.
    static LoadResult fromFile(const QString& name, const ProgramFolder& folder);
    // The same from any readable device of size bytes (the fuzz target uses it); name is
    // the file name the recording keeps.
    static LoadResult fromDevice(QIODevice& device, qint64 size, const QString& name,
                                 const ProgramFolder& folder);
    // A raw memory dump (the logger's memory as read, without the file's signature), as
    // its file would open: the blocks in use of a linear logger are found as a download
    // finds them.
    static LoadResult fromDump(const QByteArray& memory, const QString& name, const ProgramFolder& folder);

    RecordingData(const RecordingData&) = delete;
    RecordingData& operator=(const RecordingData&) = delete;

    // The same recording under another file name (after Save As); this one is unchanged.
    std::shared_ptr<const RecordingData> withFileName(const QString& name) const;

    // --- Identity ------------------------------------------------------------------------
    // The 65,408-byte image.
    ConstByteView image() const { return {image_.data(), image_.size()}; }
    QByteArray imageBytes() const;
    const ImageReader& reader() const { return reader_; }
    // The catalogue's entry for the logger, looked up when the recording was made.
    const LoggerModel& model() const { return model_; }
    // Moment of the download (days since 30 December 1899); 0 for a recording from a file.
    double created() const { return created_; }
    // The recording file it came from or was saved to; empty for a fresh download.
    const QString& fileName() const { return fileName_; }
    int measurementCount() const { return count_; }
    // Instant of measurement k (counted from 1), as a day number.
    double measurementTime(int k) const { return reader_.recordDateTime(k); }
    // The text after every physical value of the cursor readout: the logger model's
    // "PrimUnit" setting for the input mask plus one in the settings file, read when the
    // recording was made; empty without one.
    const QString& readoutUnit() const { return readoutUnit_; }

    // --- Texts ---------------------------------------------------------------------------
    // The file name, or the serial number immediately followed by the created moment (with
    // its seconds, so that two downloads of one logger in one minute stay apart).
    QString description() const;
    // The created moment as titles and descriptions show it: the locale's short date and
    // time, with seconds.
    QString createdText() const;
    // " (Simulated logger)" for a recording of the simulated logger, otherwise empty.
    QString simulatedMark() const;

    // --- Per input (0..7; any other index reads as a disabled input) ---------------------
    const InputInfo& input(int input) const;
    bool isEnabled(int i) const { return input(i).enabled; }
    const QString& valueFormat(int i) const { return input(i).valueFormat; }
    const Conversion& conversion(int i) const { return input(i).conversion; }
    // Byte of the input inside a measurement (its position among the enabled inputs).
    int recordPosition(int i) const { return reader_.recordPosition(i); }
    // Raw sample of an enabled input; measurement counted from 1.
    std::uint8_t sample(int i, int measurement) const { return reader_.sample(i, measurement); }
    // The samples of measurements first .. first + count - 1 into out, each as sample()
    // reads it, block by block (a graph of a long recording reads them all).
    void samples(int i, int first, int count, std::uint8_t* out) const;
    long double physicalValue(int i, long double raw) const { return conversion(i).physical(raw); }
    // v rounded to the input's resolution (unrounded for a zero span).
    long double normalize(int i, long double v) const { return qz::normalize(v, conversion(i).resolution); }

private:
    RecordingData();
    // Copies everything; the reader is made again over the copy's own bytes.
    RecordingData(const RecordingData& other, const QString& fileName);
    static RecordingResult derive(std::unique_ptr<RecordingData> data, const ProgramFolder& folder);
    static LoadResult fromBody(std::unique_ptr<RecordingData> data, qint64 body, const ProgramFolder& folder);

    std::vector<std::uint8_t> image_;
    ImageReader reader_;
    LoggerModel model_;
    double created_ = 0;
    QString fileName_;
    QString readoutUnit_;
    int count_ = 0;
    std::array<InputInfo, mem::kInputs> inputs_;
};

// Writes the recording file of data to name: the signature and the image cut after the
// last block in use, through a temporary file that replaces name only when complete.
SaveResult saveRecordingFile(const RecordingData& data, const QString& name);
// The same for an image that is no recording this program shows (a logger model the
// catalogue does not know): its file opens once the catalogue knows the model.
SaveResult saveImageFile(const QByteArray& image, const QString& name);

} // namespace qz
