#include "jobs/job_messages.h"

#include "config/config_texts.h"
#include "jobs/job_texts.h"
#include "link/link_texts.h"

namespace qz {

namespace {

Message error(const QString& text)
{
    return {text, MessageSymbol::Error};
}

// "This device is not a QuorvantZK", and why the catalogue does not take it.
QString unknownModelText(const DownloadResult& r)
{
    const QString unreadable = catalogMessage(r.model);
    if (unreadable.isEmpty())
        return texts::unknownModel(r.deviceCode);
    return texts::notAQuorvant() + QLatin1Char('\n') + unreadable;
}

} // namespace

Messages messagesOf(const JobResult& r)
{
    Messages out = findingMessages(r.findings);
    if (const std::optional<Message> link = linkMessage(r.link))
        out << *link;
    return out;
}

Messages messagesOf(const DownloadResult& r)
{
    Messages out = messagesOf(static_cast<const JobResult&>(r));
    switch (r.status) {
    case DownloadStatus::Read:
    case DownloadStatus::NotConnected:
    case DownloadStatus::LinkFailed:
    case DownloadStatus::Cancelled:
        break;
    case DownloadStatus::NothingUsable:
        out << error(texts::notAQuorvant());
        break;
    case DownloadStatus::UnsteadyHeader:
        out << error(texts::unsteadyHeader());
        break;
    case DownloadStatus::UnsteadyBlock:
        out << error(texts::unsteadyBlock(r.block));
        break;
    case DownloadStatus::Damaged:
        // With the question open, the block is told in it.
        if (r.question == Question::None)
            out << Message{texts::damagedBlock(r.block),
                           r.taken == 0 ? MessageSymbol::Error : MessageSymbol::Warning};
        break;
    case DownloadStatus::TooFewMeasurements:
        out << error(texts::tooFewMeasurements());
        break;
    case DownloadStatus::UnknownModel:
        if (r.question == Question::None)
            out << error(unknownModelText(r));
        break;
    }
    return out;
}

Messages messagesOf(const DeviceReadResult& r)
{
    return messagesOf(static_cast<const JobResult&>(r));
}

Messages messagesOf(const ConfigureResult& r)
{
    Messages out = messagesOf(static_cast<const JobResult&>(r));
    switch (r.status) {
    case ConfigureStatus::Sent:
    case ConfigureStatus::LinkFailed:
    case ConfigureStatus::NotConfirmed:
        break;
    case ConfigureStatus::StartElapsed:
        out << error(texts::startElapsed());
        break;
    case ConfigureStatus::NotKept:
        out << error(texts::configurationNotKept());
        break;
    case ConfigureStatus::NotHeld:
        out << error(texts::configurationNotHeld());
        break;
    }
    return out;
}

Messages messagesOf(const StopResult& r)
{
    Messages out = messagesOf(static_cast<const JobResult&>(r));
    switch (r.status) {
    case StopStatus::AlreadyStopped:
        out << Message{texts::alreadyStopped(), MessageSymbol::Warning};
        break;
    case StopStatus::StillRunning:
        out << error(texts::stillRunning());
        break;
    case StopStatus::Stopped:
    case StopStatus::NotConfirmed:
    case StopStatus::NotConnected:
    case StopStatus::LinkFailed:
        break;
    }
    return out;
}

Messages messagesOf(const RawDumpResult& r)
{
    // A file that could not be written is told by the caller, in the words it uses for files.
    return messagesOf(static_cast<const JobResult&>(r));
}

std::optional<Message> questionOf(const JobResult& r)
{
    switch (r.question) {
    case Question::None:
    case Question::KeepPartial:
    case Question::SaveUnknownModel:
        break;
    case Question::Connect:
        return Message{texts::pleaseConnect(), MessageSymbol::Warning};
    case Question::RestartRecording:
        return Message{texts::recorderRunning(), MessageSymbol::Confirmation};
    case Question::ConfirmStop:
        return Message{texts::confirmStop(), MessageSymbol::Confirmation};
    }
    return std::nullopt;
}

std::optional<Message> questionOf(const DownloadResult& r)
{
    switch (r.question) {
    case Question::KeepPartial:
        return Message{texts::damagedBlock(r.block) + QLatin1Char('\n') + texts::keepWhatWasRead(),
                       MessageSymbol::Warning};
    case Question::SaveUnknownModel:
        return Message{unknownModelText(r) + QLatin1Char('\n') + texts::saveAnyway(), MessageSymbol::Error};
    default:
        return questionOf(static_cast<const JobResult&>(r));
    }
}

} // namespace qz
