#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph_fixture.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz::test {
namespace {

ImageBuilder small()
{
    return graphRecording()
        .input(0, graphInput("degC"))
        .input(3, graphInput("V"))
        .measurements(200, [](int k, int i) { return std::uint8_t(i == 0 ? k : 255 - k); });
}

// Pages of a PDF file: pdfinfo's count when the tool is there, else the page objects.
int pdfPages(const QString& path)
{
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (!pdfinfo.isEmpty()) {
        QProcess p;
        p.start(pdfinfo, {path});
        if (p.waitForFinished(30000)) {
            const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
            const auto m = re.match(QString::fromLatin1(p.readAllStandardOutput()));
            if (m.hasMatch())
                return m.captured(1).toInt();
        }
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(f.readAll().count("/Type /Page\n") + 0);
}

// The text of a PDF file, or an empty string without pdftotext.
QString pdfText(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUpFontSubstitutions();
        ASSERT_TRUE(dir_.isValid());
    }
    GraphFixture fixture_;
    QTemporaryDir dir_;
};

TEST_F(PrintTest, PrintsOnePageOfAPdfInEitherOrientation)
{
    auto rec = fixture_.load(small());
    ASSERT_TRUE(rec);
    for (const auto orientation : {QPageLayout::Landscape, QPageLayout::Portrait}) {
        const QString path = dir_.filePath(orientation == QPageLayout::Landscape ? "l.pdf" : "p.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(orientation);
        printer.setDocName(QStringLiteral("S/N:4711 - Cold room #1"));
        ASSERT_TRUE(printTo(printer, *rec));
        EXPECT_EQ(pdfPages(path), 1) << path.toStdString();
        const QString text = pdfText(path);
        if (!text.isEmpty()) {
            EXPECT_TRUE(text.contains(QStringLiteral("S/N : 4711")));
            EXPECT_TRUE(text.contains(QStringLiteral("Start : 12/03/01 14:21:00")));
            EXPECT_TRUE(text.contains(QStringLiteral("Cold room")));
        }
    }
}

TEST_F(PrintTest, PageLayoutUsesOffsetsAndThePortraitUpperPart)
{
    auto rec = fixture_.load(small());
    ASSERT_TRUE(rec);
    struct Case {
        QSize page;
        bool portrait;
        QRect frame; // drawn with a one-pixel pen: left..right - 1, top..bottom - 1
        int footerBottom;
    };
    const Case cases[] = {
        // 1000 x 1600 portrait: picture 1000 x 880, offsets 125 and 200.
        {QSize(1000, 1600), true, QRect(185, 140, 629, 459), 880 - 100},
        // 1600 x 1000 landscape: offsets 200 and 125.
        {QSize(1600, 1000), false, QRect(260, 102, 1079, 692), 1000 - 62},
    };
    for (const Case& c : cases) {
        RecordingDevice dev(c.page);
        {
            QPainter p(&dev);
            printTo(p, c.page, c.portrait, *rec);
        }
        const auto& rects = dev.engine().rects;
        EXPECT_NE(std::find(rects.begin(), rects.end(), c.frame), rects.end()) << c.page.width();
        const DrawnText* serial = dev.find(QStringLiteral("S/N : 4711"));
        ASSERT_TRUE(serial);
        const QFontMetrics bm(graphFont(12, true), &dev); // 10 points + 2 on paper
        EXPECT_EQ(serial->font.pointSize(), 12);
        EXPECT_EQ(serial->baseline.y(), c.footerBottom - bm.height() + bm.ascent());
        const int w = bm.horizontalAdvance(QStringLiteral("W"));
        EXPECT_EQ(serial->baseline.x() + bm.horizontalAdvance(serial->text),
                  c.page.width() - c.page.width() / 8 - w);
        const DrawnText* start = dev.find(QStringLiteral("Start : 12/03/01 14:21:00"));
        ASSERT_TRUE(start);
        EXPECT_EQ(start->baseline.x(), w + c.page.width() / 8);
        // 200 minutes from 14:21: hourly ticks from 15:00, labels at 8 + 2 points.
        const DrawnText* label = dev.find(QStringLiteral("12/03-15:00"));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->font.pointSize(), 10);
    }
}

} // namespace
} // namespace qz::test
