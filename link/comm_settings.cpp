#include "link/comm_settings.h"

#include "link/line_registry.h"
#include "link/link_failure.h"
#include "link/port_list.h"
#include "model/ini_file.h"

namespace qz {

namespace {

const QString kCommunication = QStringLiteral("Communication");
const QString kComport = QStringLiteral("Comport");
const QString kModem = QStringLiteral("Modem");
const QString kModemPresent = QStringLiteral("ModemPresent");
const QString kVerifyDownloads = QStringLiteral("VerifyDownloads");

// Booleans are stored as integers; anything that is no number reads as none.
std::optional<bool> readFlag(const IniFile& ini, const QString& section, const QString& key)
{
    bool ok = false;
    const int v = ini.value(section, key).toInt(&ok);
    return ok ? std::optional<bool>(v != 0) : std::nullopt;
}

bool readBool(const IniFile& ini, const QString& section, const QString& key, bool def)
{
    return readFlag(ini, section, key).value_or(def);
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

PortProbe PortProbe::forRegistry(const LineRegistry& lines)
{
    PortProbe probe;
    probe.platformPorts = [] { return availablePorts(); };
    probe.opens = [&lines](const QString& name) { return portExists(name, lines); };
    probe.whyNot = [&lines](const QString& name) {
        int osError = 0;
        return portOpens(name, lines, osError) ? QString() : openFailureReason(osError);
    };
    probe.namedLines = lines.namedLines();
    return probe;
}

CommSettings::CommSettings(QString iniPath, PortProbe probe, bool modemAvailable)
    : iniPath_(std::move(iniPath)), probe_(std::move(probe)), modemAvailable_(modemAvailable)
{}

QString CommSettings::textFor(const QString& name)
{
    return name == LineRegistry::simulatedPortName() ? simulatedText() : name;
}

void CommSettings::listPorts(const QString& saved)
{
    ports_.clear();
    const auto add = [this](const QString& name) {
        for (const PortChoice& c : ports_)
            if (c.name == name)
                return;
        ports_.append({textFor(name), name});
    };
    const QStringList platform = probe_.platformPorts ? probe_.platformPorts() : QStringList();
    for (const QString& name : platform)
        if (probe_.opens && probe_.opens(name))
            add(name);
    // A saved port the platform does not list (a link such as /dev/serial/by-id/...), or
    // one that is absent now: it stays the choice, so the list shows it.
    if (!saved.isEmpty() && !probe_.namedLines.contains(saved))
        add(saved);
    for (const QString& name : probe_.namedLines)
        add(name);
}

void CommSettings::settleAtStart()
{
    IniFile ini;
    ini.load(iniPath_);
    listPorts(ini.value(kCommunication, kComport).trimmed());
    load();
    // Without a modem file the modem choice is off; the save below writes it.
    if (!modemAvailable_)
        modemChecked_ = false;
    if (currentPort_.isEmpty() && !ports_.isEmpty())
        currentPort_ = ports_.constFirst().name;
    save();
}

void CommSettings::load()
{
    IniFile ini;
    ini.load(iniPath_);
    currentPort_ = ini.value(kCommunication, kComport).trimmed();
    modemChecked_ = modemAvailable_ && readBool(ini, kModem, kModemPresent, false);
    modemLink_ = modemChecked_;
    verify_ = readFlag(ini, kCommunication, kVerifyDownloads);
}

IniResult CommSettings::save()
{
    modemLink_ = modemChecked_;
    const IniResult written = IniFile::update(iniPath_, [this](IniFile& ini) {
        ini.setValue(kCommunication, kComport, currentPort_);
        ini.setValue(kModem, kModemPresent, flagText(modemChecked_));
        if (verify_)
            ini.setValue(kCommunication, kVerifyDownloads, flagText(*verify_));
    });
    if (written.error == IniError::CannotWrite && saveFailed_)
        saveFailed_(written);
    return written;
}

int CommSettings::currentIndex() const
{
    for (int i = 0; i < ports_.size(); ++i)
        if (ports_[i].name == currentPort_)
            return i;
    return -1;
}

void CommSettings::choosePort(int index)
{
    if (index >= 0 && index < ports_.size())
        currentPort_ = ports_[index].name;
}

bool CommSettings::choosePath(const QString& path, QString& reason)
{
    reason.clear();
    const QString name = path.trimmed();
    if (name.isEmpty())
        return false;
    if (!probe_.opens || !probe_.opens(name)) {
        if (probe_.whyNot)
            reason = probe_.whyNot(name);
        return false;
    }
    currentPort_ = name;
    if (currentIndex() < 0)
        ports_.append({textFor(name), name});
    return true;
}

bool CommSettings::readModemPresent(const QString& iniPath)
{
    IniFile ini;
    ini.load(iniPath);
    return readBool(ini, kModem, kModemPresent, false);
}

QString CommSettings::readPort(const QString& iniPath)
{
    IniFile ini;
    ini.load(iniPath);
    return ini.value(kCommunication, kComport).trimmed();
}

} // namespace qz
