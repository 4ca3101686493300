// "Is the logger there", the step every job begins with: a port that does not open is told
// once with its reason and nothing follows it, whatever the job; a logger that does not
// answer leaves the question to connect open (or is a link failure where none is asked).
#include "job_rig.h"
#include "jobs/job_messages.h"
#include "link/device_line.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace qz::test {
namespace {

struct Job {
    const char* name;
    // Runs the job; what the user reads of it.
    std::function<QStringList(LoggerProtocol&, Progress&)> run;
};

template <class Result> QStringList toldOf(const Result& r)
{
    return told(r);
}

std::vector<Job> everyJob(const DeviceCatalog& catalog, const QString& dumpFile)
{
    return {
        {"download", [=](LoggerProtocol& q, Progress& p) { return toldOf(downloadJob(q, {}, catalog, p)); }},
        {"device read",
         [](LoggerProtocol& q, Progress& p) { return toldOf(deviceReadJob(q, ConnectPolicy::Ask, p)); }},
        {"configure",
         [](LoggerProtocol& q, Progress& p) {
             return toldOf(configureJob(q, {}, StartRequest{}, ConfigurePolicy{}, p));
         }},
        {"stop", [](LoggerProtocol& q, Progress&) { return toldOf(stopJob(q, {})); }},
        {"readings cycle",
         [](LoggerProtocol& q, Progress&) { return toldOf(readingJob(q, ConnectPolicy::Ask, false)); }},
        {"raw dump", [=](LoggerProtocol& q, Progress& p) { return toldOf(rawDumpJob(q, dumpFile, p)); }},
        {"memory read",
         [](LoggerProtocol& q, Progress&) {
             return toldOf(static_cast<const JobResult&>(memoryReadJob(q, 0, 128)));
         }},
        {"clock read", [](LoggerProtocol& q, Progress&) { return toldOf(clockReadJob(q)); }},
    };
}

TEST(LoggerPresence, APortThatDoesNotOpenIsToldOnceByEveryJobAndNothingFollows)
{
    QTemporaryDir dir;
    JobRig rig;
    for (const Job& job : everyJob(rig.catalog(), dir.filePath("dump.qrv"))) {
        VirtualClock clock;
        LoggerProtocol q(LinkSettings{dir.filePath("ttyUSB9"), false}, std::make_unique<DeviceLine>(), clock);
        RecordingProgress progress;
        EXPECT_EQ(
            job.run(q, progress),
            QStringList{"Unable to open com port " + dir.filePath("ttyUSB9") + ": No such file or directory"})
            << job.name;
        EXPECT_TRUE(progress.positions.empty()) << job.name;
        EXPECT_FALSE(QFile::exists(dir.filePath("dump.qrv"))) << job.name;
    }
}

TEST(LoggerPresence, ASilentLoggerIsAQuestionWhereTheCommandAsksIt)
{
    // The commands that ping ask to connect; the send tells that the logger does not
    // respond (its clock read is the run state); the service reads do not ping at all.
    QTemporaryDir dir;
    JobRig rig;
    const QString connect = "Please Connect The Quorvant";
    const QString notResponding = "Device Not Responding";
    const std::map<QString, QStringList> expected = {
        {"download", {connect}},
        {"device read", {connect}},
        {"configure", {notResponding}},
        {"stop", {connect}},
        {"readings cycle", {connect}},
        {"raw dump", {notResponding}},
        {"memory read", {}}, // said beside the bytes
        {"clock read", {notResponding}},
    };
    for (const Job& job : everyJob(rig.catalog(), dir.filePath("dump.qrv"))) {
        JobRig r;
        r.emulator.setSilent(true);
        auto q = r.make();
        EXPECT_EQ(job.run(*q, r.progress), expected.at(job.name)) << job.name;
        EXPECT_EQ(r.emulator.commands('C') + r.emulator.commands('A') + r.emulator.commands('H'), 0)
            << job.name;
    }
}

TEST(LoggerPresence, TheQuestionToConnectIsAWarningWithYesAndNo)
{
    JobResult r;
    r.question = Question::Connect;
    EXPECT_EQ(questionOf(r), (Message{"Please Connect The Quorvant", MessageSymbol::Warning}));
    r.question = Question::RestartRecording;
    EXPECT_EQ(questionOf(r),
              (Message{"Recorder running\rSending configuration will restart it\rSend Configuration ?",
                       MessageSymbol::Confirmation}));
    r.question = Question::None;
    EXPECT_FALSE(questionOf(r));
}

} // namespace
} // namespace qz::test
