#pragma once
// The accessor object over a logger memory image. It owns no bytes: its user binds
// views (pointer and size) into its own image and clock record. Every accessor stays
// inside the bound views whatever the image says; unbound or too short views read as 0
// and ignore writes.
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/program_folder.h"

#include <QString>
#include <cstdint>

namespace qz {

// Identification bytes (address 0), catalogue section and description.
class TDevType {
public:
    TDevType() = default;
    // Binding new identification bytes forgets the block count of the previous ones.
    void SetIdentView(std::uint8_t* data, std::size_t size)
    {
        ident_ = {data, size};
        blockCount_ = -1;
    }

    QString GetSerialNumber() const;
    std::uint16_t GetDeviceCode() const;
    QString GetDeviceCodeText() const;
    // MemoryBlocks(DeviceCode), computed on first use and kept while the binding lasts.
    int GetMemoryBlocks() const
    {
        if (blockCount_ < 0)
            blockCount_ = ComputeMemoryBlocks();
        return blockCount_;
    }

    // From the last LoadDeviceInfo.
    const QString& GetDeviceDesc() const { return description_; }
    const QString& GetSectionName() const { return sectionName_; }
    const QString& GetCatalogPath() const { return catalogPath_; }

protected:
    int ComputeMemoryBlocks() const;
    ByteView ident_;
    QString sectionName_;
    QString catalogPath_;
    QString description_;
    mutable int blockCount_ = -1;
};

// Calibration table (address 8) and the current input.
class TCalibration : public TDevType {
public:
    int CurrentInput = 0;   // 0..7: the input of the per-input accessors
    int CurrentOffset = 0;  // byte of the current input inside a record

    void SetCalibrationView(std::uint8_t* data, std::size_t size) { cal_ = {data, size}; }
    // Converter readings of the current input at its reference points, in counts.
    double GetCalLow() const;
    double GetCalHigh() const;

protected:
    bool CurrentInputValid() const { return CurrentInput >= 0 && CurrentInput < 8; }
    ByteView cal_;
};

// Program block (address 40).
class TProgramInfos : public TCalibration {
public:
    void SetProgramView(std::uint8_t* data, std::size_t size) { prog_ = {data, size}; }

    QString GetRecordName() const;
    // Exactly 50 characters; a shorter text is followed by zero bytes.
    void SetRecordName(const QString& text);
    std::uint8_t GetSamplingPeriod() const;
    void SetSamplingPeriod(std::uint8_t v);
    void SetSamplingReload(std::uint8_t v);
    std::uint16_t GetSamplesPerInterval() const;
    void SetSamplesPerInterval(std::uint16_t v);
    std::uint8_t GetInputMask() const;
    // Bit i := flags[i] == 1.
    void SetInputMask(const std::uint8_t flags[8]);
    bool IsInputEnabled() const;
    // The stored count when it is 1..8, otherwise 1.
    std::uint8_t GetInputCount() const;
    void SetInputCount(std::uint8_t n);
    void SetYearBits(std::uint8_t b);
    void SetYearBcd(int year);
    std::uint8_t GetSamplingInterval() const;
    void SetSamplingInterval(std::uint8_t v);
    std::uint16_t GetStopMode() const;
    void SetStopMode(std::uint16_t v);
    void GetStartStamp(std::uint8_t out[6]) const;
    void SetStartStamp(const std::uint8_t stamp[6]);
    std::uint16_t GetBlocksUsed() const;
    void SetBlocksUsed(std::uint16_t v);
    std::uint16_t GetFirstBlock() const { return prog_.u16(mem::kFirstBlock - mem::kProgram); }
    void SetFirstBlock(std::uint16_t v);
    void SetResetWord1(std::uint16_t v);
    void SetResetWord2(std::uint16_t v);
    // Recording interval in seconds: SamplesPerInterval x SamplingPeriod.
    int GetInterval() const;
    // SamplingPeriod := SamplingInterval, SamplingReload := SamplingPeriod,
    // SamplesPerInterval := seconds div SamplingPeriod (0 when the period is 0).
    void SetInterval(int seconds);
    static int FirstInput() { return 0; }
    static int LastInput() { return 7; }

protected:
    ByteView prog_;
};

// Input table (address 128); the input is CurrentInput.
class TChannelData : public TProgramInfos {
public:
    void SetInputTableView(std::uint8_t* data, std::size_t size) { inputs_ = {data, size}; }

    QString GetInputName() const;
    void SetInputName(const QString& text);   // 9 characters, zero-padded
    QString GetInputUnit() const;
    void SetInputUnit(const QString& text);   // 5 characters, zero-padded
    double GetScaleLow() const;
    double GetScaleHigh() const;
    // False (and nothing written) for a value a Real48 cannot hold.
    bool SetScaleLow(double v);
    bool SetScaleHigh(double v);
    QString GetScaleLowText() const;
    QString GetScaleHighText() const;

protected:
    std::uint8_t* Descriptor(std::size_t offset, std::size_t length) const;
    ByteView inputs_;
};

// The whole image with its ring of data blocks.
class TRecordData : public TChannelData {
public:
    void SetImageView(std::uint8_t* data, std::size_t size) { image_ = {data, size}; }
    bool HasImage() const { return image_.bound(); }

    // Blocks the ring can use: the memory's blocks, limited to those the bound image
    // holds.
    int RingBlocks() const;
    // Physical block of logical block j (0 = oldest). A FirstBlock beyond the ring
    // reads as 0; -1 when j is not below RingBlocks.
    int PhysicalBlock(int j) const;
    // BlocksUsed, limited to RingBlocks.
    int UsedBlocks() const;
    // Records in the image (never more than the used blocks hold).
    int GetRecordCount() const;

    // Instant of record n: the oldest block's stamp plus n recording steps.
    double GetRecordDateTime(int n) const;
    QString GetRecordDateText(int n) const;
    QString GetRecordTimeText(int n) const;
    double GetRecordDateTimeRounded(int n, int mode, double limit) const;
    // Battery of the last completed block, e.g. "3.61 V"; "-" without one.
    QString GetBatteryText() const;

    // The data block at physical index k, or nullptr when the image does not hold it.
    const std::uint8_t* BlockAt(int k) const;

protected:
    ByteView image_;
};

// The clock record.
class TRtcData : public TRecordData {
public:
    void SetClockView(std::uint8_t* data, std::size_t size) { clock_ = {data, size}; }
    // (year mod 4) x 64, added by SetClockDay.
    void SetClockYearBits(std::uint8_t bits) { yearBits_ = bits; }

    void SetClockControl(std::uint8_t b);
    // i = 1..7 except 5: byte i := IntToBcd(value).
    void SetClockByte(int i, int value);
    void SetClockDay(int day);
    void SetRunState(std::uint8_t b);
    // i = 9..15: byte i := IntToBcd(value).
    void SetStartByte(int i, int value);

protected:
    ByteView clock_;
    std::uint8_t yearBits_ = 0;
};

// Sample access: one reader per record width, chosen when the record is bound.
class TLoggerData : public TRtcData {
public:
    TLoggerData();
    int RecordsPerBlock() const { return recordsPerBlock_; }
    // RecordsPerBlock := 120 div GetInputCount and the reader for that width.
    void BindRecord();
    // Raw byte of the current input (CurrentOffset) in record n, counted from 1; 0 when
    // the record lies outside the image.
    std::uint8_t GetSample(int n) const { return reader_(*this, n); }

    using SampleReader = std::uint8_t (*)(const TLoggerData&, int);

private:
    template <int Width>
    static std::uint8_t ReadSample(const TLoggerData& d, int n);

    int recordsPerBlock_ = 120;
    SampleReader reader_;
};

class TQuorvantData : public TLoggerData {
public:
    // The catalogue and settings are found in the program's folder.
    TQuorvantData();
    explicit TQuorvantData(ProgramFolder folder);

    // Binds the identification, calibration, program block and input table views to a
    // header image (at least 384 bytes for every field to be seen).
    void BindHeader(std::uint8_t* image, std::size_t size);
    // BindHeader plus the data blocks.
    void BindImage(std::uint8_t* image, std::size_t size);
    // The 400-byte header-and-clock buffer of the configuration windows: the header
    // views, and the clock record at offset 384 when the buffer holds it.
    void BindDeviceImage(std::uint8_t* image, std::size_t size);

    // Looks the device code up in devices.ini; true when its "Type" is exactly "ZK".
    // Also binds the record (RecordsPerBlock and the sample reader).
    bool LoadDeviceInfo();
    // The key of this model's section in the settings file, or defaultValue.
    QString ReadDeviceSetting(const QString& key, const QString& defaultValue) const;

    const ProgramFolder& Folder() const { return folder_; }

private:
    ProgramFolder folder_;
};

} // namespace qz
