#pragma once
// The communication options: which port every logger command uses, whether a modem is
// in the path, and whether downloads are verified, kept in the settings file (QUORZK.INI).
// The options dialog shows this.
#include "link/link_settings.h"
#include "model/ini_file.h"
#include "model/simulated_logger.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qz {

class LineRegistry;

// One choice of the port list: the text shown and the name stored in "Comport".
struct PortChoice {
    QString text;
    QString name;
    bool operator==(const PortChoice&) const = default;
};

// How the ports are found and tried; the program uses the platform's list and opens
// each port, tests give fixed answers.
struct PortProbe {
    std::function<QStringList()> platformPorts;
    std::function<bool(const QString&)> opens;
    // Why a port does not open (the system's reason, possibly empty); unset: opens alone.
    std::function<QString(const QString&)> whyNot;
    // Names of in-process lines offered after the platform's ports ("sim").
    QStringList namedLines;

    static PortProbe forRegistry(const LineRegistry& lines);
};

class CommSettings {
public:
    static QString simulatedText() { return simulatedLoggerText(); }

    // iniPath: the settings file; modemAvailable: a modem description file exists.
    CommSettings(QString iniPath, PortProbe probe, bool modemAvailable);

    // Program start: lists the ports, reads the settings and writes them back. A saved
    // port stays chosen even when it is absent now (a download then says that it does not
    // open): another port, or the simulated logger, would answer in its place. Only a
    // first start, with no port saved, settles on the first port listed (the simulated
    // logger when the machine has no serial port).
    void settleAtStart();

    // Reads "Comport", "ModemPresent" and "VerifyDownloads"; the modem link follows the
    // modem choice.
    void load();
    // The modem link follows the modem choice; the keys are written ("VerifyDownloads"
    // once the user has chosen). A settings file that is refused stays untouched; one
    // that cannot be written gives CannotWrite, which is also handed to the failure
    // handler.
    IniResult save();
    // Called with every save that could not be written, so the user hears of it.
    void onSaveFailed(std::function<void(const IniResult&)> handler) { saveFailed_ = std::move(handler); }

    const QList<PortChoice>& ports() const { return ports_; }
    // Index in ports() of the current port, -1 when it is not listed.
    int currentIndex() const;
    const QString& currentPort() const { return currentPort_; }
    void setCurrentPort(const QString& name) { currentPort_ = name; }
    void choosePort(int index);
    // A port named by hand (a path the platform does not list, such as a pseudo-terminal):
    // chosen, and added to the list, only when it opens now; otherwise false with the
    // system's reason (empty when none is known) and the choice stays as it was.
    bool choosePath(const QString& path, QString& reason);
    // Shown text of a port name.
    static QString textFor(const QString& name);

    bool modemAvailable() const { return modemAvailable_; }
    bool modemChecked() const { return modemChecked_; }
    void setModemChecked(bool on) { modemChecked_ = modemAvailable_ && on; }
    bool modemLink() const { return modemLink_; }
    void setModemLink(bool on) { modemLink_ = on; }

    // Whether a download reads every block twice: the user's choice, and until there is
    // one, on exactly when the link runs through a modem (a telephone line is noisy).
    bool verifyDownloads() const { return verify_.value_or(modemLink_); }
    // What the options dialog shows: the choice, or the default that OK would bring.
    bool verifyChecked() const { return verify_.value_or(modemChecked_); }
    void setVerifyDownloads(bool on) { verify_ = on; }

    // What a new protocol object is given.
    LinkSettings link() const { return {currentPort_, modemLink_}; }
    const QString& iniPath() const { return iniPath_; }

    // "ModemPresent" of the settings file (read each time it is needed).
    static bool readModemPresent(const QString& iniPath);
    // "Comport" of the settings file: the port every logger command uses, empty when none
    // was chosen.
    static QString readPort(const QString& iniPath);

private:
    void listPorts(const QString& saved);

    QString iniPath_;
    PortProbe probe_;
    bool modemAvailable_;
    QList<PortChoice> ports_;
    QString currentPort_;
    bool modemChecked_ = false;
    bool modemLink_ = false;
    std::function<void(const IniResult&)> saveFailed_;
    std::optional<bool> verify_;
};

} // namespace qz
