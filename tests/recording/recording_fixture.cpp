#include "recording_fixture.h"

#include <QFile>

namespace qz::test {

ImageBuilder coldStore()
{
    ImageBuilder b;
    b.serial("0815")
        .recordName(QStringLiteral("   Cold store 3"))
        .interval(1, 300)
        .start(1, 3, 5, 14, 7, 9)
        .input(0, {QStringLiteral("Temp"), QStringLiteral("\u00B0C"), -20, 80, 16 * 256, 216 * 256})
        .input(1, {QStringLiteral("Humidity"), QStringLiteral("%RH"), 0, 100, 0, 250 * 256})
        .input(4, {QStringLiteral("Pressure"), QStringLiteral("bar"), 10, 0, 0, 200 * 256})
        .battery(180)
        .measurements(100, [](int k, int input) -> std::uint8_t {
            switch (input) {
            case 0:
                return std::uint8_t(100 + k % 20);
            case 1:
                return std::uint8_t(50 + k / 2);
            default:
                return std::uint8_t(20 + (k * 7) % 50);
            }
        });
    return b;
}

ImageBuilder twoMeasurements()
{
    ImageBuilder b;
    b.serial("0002")
        .recordName(QStringLiteral("Pair"))
        .interval(1, 90)
        .start(5, 6, 15, 10, 0, 0)
        .input(0, {QStringLiteral("Volt"), QStringLiteral("V"), 0, 10, 0, 200 * 256})
        .measurements(2, [](int k, int) -> std::uint8_t { return std::uint8_t(k == 1 ? 40 : 160); });
    return b;
}

ImageBuilder wrappedRing()
{
    ImageBuilder b;
    b.serial("8888")
        .recordName(QStringLiteral("Eight inputs"))
        .interval(60, 60)
        .start(99, 12, 31, 22, 0, 0)
        .firstBlock(58);
    for (int i = 0; i < 8; ++i) {
        b.input(
            i, {QStringLiteral("In%1").arg(i + 1), QStringLiteral("mA"), 4, 20, 0, std::uint16_t(160 * 256)});
    }
    b.measurements(900,
                   [](int k, int input) -> std::uint8_t { return std::uint8_t((k + 10 * input) & 0xFF); });
    return b;
}

namespace {

QString goldenPath(const QString& name)
{
    return QStringLiteral(QUORZK_SOURCE_DIR "/tests/recording/golden/") + name;
}

} // namespace

QByteArray readGolden(const QString& name)
{
    QFile f(goldenPath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void checkGolden(const QString& name, const QByteArray& actual)
{
    if (qEnvironmentVariableIsSet("QUORZK_UPDATE_GOLDEN")) {
        QFile f(goldenPath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
        f.write(actual);
        return;
    }
    const QByteArray expected = readGolden(name);
    ASSERT_FALSE(expected.isEmpty()) << "missing golden file " << name.toStdString();
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i)
        ASSERT_EQ(got[i].toStdString(), want[i].toStdString()) << name.toStdString() << " line " << i + 1;
    EXPECT_EQ(got.size(), want.size()) << name.toStdString();
}

} // namespace qz::test
