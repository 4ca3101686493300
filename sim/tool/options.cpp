#include "options.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <sstream>

namespace qz::sim::tool {

namespace {

bool toInt(const std::string& s, long long lo, long long hi, long long& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (*end != '\0' || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool toDouble(const std::string& s, double& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return *end == '\0';
}

// "2026-03-05 14:07:09" or "2026-03-05T14:07:09".
bool toCivil(const std::string& s, CivilTime& t)
{
    int y, mo, d, h, mi, se;
    char sep;
    if (std::sscanf(s.c_str(), "%d-%d-%d%c%d:%d:%d", &y, &mo, &d, &sep, &h, &mi, &se) != 7
        || (sep != ' ' && sep != 'T'))
        return false;
    t = CivilTime{y, mo, d, h, mi, se, 0};
    return isValidCivil(t);
}

// KIND[,key=value...]
bool toFault(const std::string& s, Fault& f, std::string& error)
{
    std::stringstream in(s);
    std::string kind;
    std::getline(in, kind, ',');
    static const std::map<std::string, FaultKind> kinds = {
        {"no-echo", FaultKind::NoEcho},           {"wrong-echo", FaultKind::WrongEcho},
        {"bad-checksum", FaultKind::BadChecksum}, {"short-reply", FaultKind::ShortReply},
        {"silence", FaultKind::Silence},          {"slow-echo", FaultKind::SlowEcho},
        {"ignored", FaultKind::Ignored},          {"paired-bit-errors", FaultKind::PairedBitErrors}};
    const auto k = kinds.find(kind);
    if (k == kinds.end()) {
        error = "unknown fault '" + kind + "'";
        return false;
    }
    f = Fault{};
    f.kind = k->second;
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto eq = item.find('=');
        const std::string key = item.substr(0, eq);
        long long v = 0;
        if (eq == std::string::npos || !toInt(item.substr(eq + 1), 0, 1LL << 40, v)) {
            error = "fault setting '" + item + "' needs a whole number: key=value";
            return false;
        }
        if (key == "frame")
            f.frame = v;
        else if (key == "frames")
            f.frames = v;
        else if (key == "byte")
            f.byte = int(v);
        else if (key == "withheld")
            f.withheld = int(v);
        else if (key == "delay-ms")
            f.delayUs = v * 1000;
        else {
            error = "unknown fault setting '" + key + "'";
            return false;
        }
    }
    return true;
}

} // namespace

std::string fleetSerial(int i, const std::string& given)
{
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return (given.empty() ? std::string("SIM") : given.substr(0, 3)) + kDigits[i % kMaxFleet];
}

std::string helpText()
{
    return R"(Usage: quorzk-sim [options]

Serves an emulated data logger on a pseudo-terminal. The first line printed is the
device path to open as the serial port (19200 baud, 8N1). Runs until interrupted
(Ctrl+C or SIGTERM); the device may be opened and closed any number of times.

Memory:
  --model CODE         device code of the logger model (default 485; 1, 101, 293, 485
                       are the catalogue's models; the code sets the memory size)
  --memory KIND        erased | linear | wrapped (default linear)
  --blocks N           data blocks recorded (linear: the last one half full; wrapped:
                       blocks recorded after the memory first filled)
  --records N          exactly N records instead of --blocks
  --damage K           data block K reads month 13 in its stamp (damaged memory)
  --impossible-dates K,N  data blocks K .. K+N-1 read 31 February in their stamps
  --inputs N           recorded inputs, 1..8 (default: the model's)
  --interval SECONDS   recording interval (default: the model's)
  --start "YYYY-MM-DD HH:MM:SS"  start of the ready-made recording
  --running            keep the logger recording after its ready-made recording
                       (with --speed, a memory that grows while it is served)
  --serial TEXT        the logger's serial number, 4 characters (default SIM and the
                       model code's last digit)
  --battery COUNT      battery converter count, 0..255 (default 183, 3.60 V)
  --clock WHEN         the logger's clock once its recording is made: "now" (this
                       computer's local time) or "YYYY-MM-DD HH:MM:SS" (default: the
                       instant of the last record)

Line and time:
  --paced              pace both directions at 19200 baud (520.83 us per byte)
  --speed X            the logger's clock runs X times as fast as real time (default 1)
  --pause-ms N         the parser forgets a half-received frame after N ms (default 250)
  --seed N             seed of the sensors' noise (default 1)

Faults (frames are counted from the start, the first frame is 0):
  --fault KIND[,frame=N][,frames=M][,byte=K][,withheld=W][,delay-ms=D]
                       KIND is one of:
                         no-echo       bytes K.. of the frame are not echoed
                         wrong-echo    byte K is echoed complemented
                         bad-checksum  the reply's checksum is one too high
                         short-reply   the last W bytes of the reply are not sent
                         silence       the frame is neither echoed nor carried out
                         slow-echo     every echo of the frame comes D ms late
                         ignored       the frame is echoed but not carried out
                         paired-bit-errors  reply bytes K+n and K+n+1 (n: the
                                       frame's place in the fault) exchange a bit:
                                       the checksum still matches
                       frames=M covers M frames from N on (0 = all); default 1.
                       May be given more than once.
  --byte-errors RATE[,seed=S]  flip a bit in each byte sent with probability RATE
  --silent             answer nothing at all (a logger that is switched off)

Modem (a telephone modem in front of the logger; off unless --modem is given):
  --modem              answer AT commands; ATD dials, then the logger is online
  --dial-result R      connect | busy | no-carrier | no-dialtone | no-answer
                       (default connect)
  --rings N            "RING" lines before the dial result, one second apart
                       (default 0)
  --dial-ms N          from the dial command to its result (default 3000)
  --guard-ms N         silence needed before and after "+++" (default 1000)
  --modem-latency-ms N each way, once connected (default 40)
  --result-pieces-ms N results come in three pieces N ms apart: the line end, the
                       word, the line end (default 0: at once)
  --slow-echoes N[,delay-ms=D]  the modem echoes its first N command bytes D ms late
                       (default D 2500; N -1: every byte)

Fleet:
  --fleet N            N loggers (1..36), each on a pseudo-terminal of its own, one
                       device path printed per line; serial numbers SIM0, SIM1, ...
                       SIM9, SIMA, ... (with --serial: its first 3 characters and 0,
                       1, ...) and each its own sensor noise, otherwise as the options say

  --help               this text
)";
}

bool parseOptions(int argc, char** argv, Options& o, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= argc) {
                error = a + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        std::string v;
        long long n = 0;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--paced") {
            o.emulator.paced = true;
        } else if (a == "--running") {
            o.memory.running = true;
        } else if (a == "--silent") {
            o.silent = true;
        } else if (a == "--modem") {
            o.emulator.modem.enabled = true;
        } else if (a == "--dial-result") {
            static const std::map<std::string, DialResult> results = {{"connect", DialResult::Connect},
                                                                      {"busy", DialResult::Busy},
                                                                      {"no-carrier", DialResult::NoCarrier},
                                                                      {"no-dialtone", DialResult::NoDialTone},
                                                                      {"no-answer", DialResult::NoAnswer}};
            if (!value(v) || !results.count(v))
                return error = "--dial-result is connect, busy, no-carrier, no-dialtone or "
                               "no-answer",
                       false;
            o.emulator.modem.result = results.at(v);
        } else if (a == "--rings") {
            if (!value(v) || !toInt(v, 0, 20, n))
                return error = "--rings needs 0..20", false;
            o.emulator.modem.rings = int(n);
        } else if (a == "--dial-ms") {
            if (!value(v) || !toInt(v, 0, 600000, n))
                return error = "--dial-ms needs 0..600000", false;
            o.emulator.modem.dialUs = n * 1000;
        } else if (a == "--guard-ms") {
            if (!value(v) || !toInt(v, 0, 60000, n))
                return error = "--guard-ms needs 0..60000", false;
            o.emulator.modem.guardUs = n * 1000;
        } else if (a == "--result-pieces-ms") {
            if (!value(v) || !toInt(v, 0, 60000, n))
                return error = "--result-pieces-ms needs 0..60000", false;
            o.emulator.modem.pieceGapUs = n * 1000;
        } else if (a == "--slow-echoes") {
            if (!value(v))
                return false;
            const auto comma = v.find(',');
            long long delay = 2500;
            if (!toInt(v.substr(0, comma), -1, 1000000, n))
                return error = "--slow-echoes needs a count (-1: every byte)", false;
            if (comma != std::string::npos) {
                const std::string d = v.substr(comma + 1);
                if (d.rfind("delay-ms=", 0) != 0 || !toInt(d.substr(9), 0, 600000, delay))
                    return error = "--slow-echoes takes N,delay-ms=D", false;
            }
            o.emulator.modem.slowEchoes = int(n);
            o.emulator.modem.echoDelayUs = delay * 1000;
        } else if (a == "--modem-latency-ms") {
            if (!value(v) || !toInt(v, 0, 5000, n))
                return error = "--modem-latency-ms needs 0..5000", false;
            o.emulator.modem.latencyUs = n * 1000;
        } else if (a == "--fleet") {
            if (!value(v) || !toInt(v, 1, kMaxFleet, n))
                return error = "--fleet needs a number of loggers, 1..36", false;
            o.fleet = int(n);
        } else if (a == "--serial") {
            if (!value(v) || v.empty() || v.size() > 4)
                return error = "--serial needs 1 to 4 characters", false;
            o.memory.serial = v;
        } else if (a == "--model") {
            if (!value(v) || !toInt(v, 0, 65535, n))
                return error = "--model needs a device code 0..65535", false;
            o.memory.deviceCode = std::uint16_t(n);
        } else if (a == "--memory") {
            if (!value(v))
                return false;
            if (v == "erased")
                o.memory.content = Content::Erased;
            else if (v == "linear")
                o.memory.content = Content::Linear;
            else if (v == "wrapped")
                o.memory.content = Content::Wrapped;
            else
                return error = "--memory is erased, linear or wrapped", false;
        } else if (a == "--blocks") {
            if (!value(v) || !toInt(v, 1, 100000, n))
                return error = "--blocks needs a number of blocks", false;
            o.memory.blocks = int(n);
        } else if (a == "--damage") {
            if (!value(v) || !toInt(v, 0, 507, n))
                return error = "--damage needs a block number 0..507", false;
            o.memory.damagedBlock = int(n);
        } else if (a == "--impossible-dates") {
            long long from = 0;
            const std::size_t comma = value(v) ? v.find(',') : std::string::npos;
            if (comma == std::string::npos || !toInt(v.substr(0, comma), 0, 507, from)
                || !toInt(v.substr(comma + 1), 1, 508, n))
                return error = "--impossible-dates takes K,N: the first block and how many", false;
            o.memory.impossibleDatesFrom = int(from);
            o.memory.impossibleDates = int(n);
        } else if (a == "--records") {
            if (!value(v) || !toInt(v, 1, 100000000, n))
                return error = "--records needs a number of records", false;
            o.memory.records = n;
        } else if (a == "--inputs") {
            if (!value(v) || !toInt(v, 1, 8, n))
                return error = "--inputs needs 1..8", false;
            o.memory.inputs = int(n);
        } else if (a == "--interval") {
            if (!value(v) || !toInt(v, 1, 86400, n))
                return error = "--interval needs seconds, 1..86400", false;
            o.memory.intervalSeconds = int(n);
        } else if (a == "--start") {
            if (!value(v) || !toCivil(v, o.memory.start))
                return error = "--start needs \"YYYY-MM-DD HH:MM:SS\"", false;
        } else if (a == "--clock") {
            if (!value(v))
                return false;
            if (v == "now") {
                const std::time_t now = std::time(nullptr);
                std::tm local{};
                localtime_r(&now, &local);
                o.clock = CivilTime{local.tm_year + 1900,
                                    local.tm_mon + 1,
                                    local.tm_mday,
                                    local.tm_hour,
                                    local.tm_min,
                                    std::min(local.tm_sec, 59),
                                    0};
            } else if (!toCivil(v, o.clock)) {
                return error = "--clock needs now or \"YYYY-MM-DD HH:MM:SS\"", false;
            }
            o.setClock = true;
        } else if (a == "--battery") {
            if (!value(v) || !toInt(v, 0, 255, n))
                return error = "--battery needs a count 0..255", false;
            o.battery = int(n);
        } else if (a == "--speed") {
            if (!value(v) || !toDouble(v, o.emulator.timeSpeed) || !(o.emulator.timeSpeed > 0))
                return error = "--speed needs a number above 0", false;
        } else if (a == "--pause-ms") {
            if (!value(v) || !toInt(v, 1, 60000, n))
                return error = "--pause-ms needs 1..60000", false;
            o.emulator.parserPauseUs = n * 1000;
        } else if (a == "--seed") {
            if (!value(v) || !toInt(v, 0, 1LL << 62, n))
                return error = "--seed needs a whole number", false;
            o.emulator.seed = std::uint64_t(n);
        } else if (a == "--fault") {
            Fault f;
            if (!value(v) || !toFault(v, f, error))
                return false;
            o.faults.push_back(f);
        } else if (a == "--byte-errors") {
            if (!value(v))
                return false;
            const auto comma = v.find(',');
            if (!toDouble(v.substr(0, comma), o.byteErrorRate) || o.byteErrorRate < 0 || o.byteErrorRate > 1)
                return error = "--byte-errors needs a rate 0..1", false;
            if (comma != std::string::npos) {
                const std::string seed = v.substr(comma + 1);
                if (seed.rfind("seed=", 0) != 0 || !toInt(seed.substr(5), 0, 1LL << 62, n))
                    return error = "--byte-errors takes RATE,seed=N", false;
                o.byteErrorSeed = std::uint64_t(n);
            }
        } else {
            error = "unknown option '" + a + "' (see --help)";
            return false;
        }
    }
    return true;
}

} // namespace qz::sim::tool
