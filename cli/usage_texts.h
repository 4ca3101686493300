#pragma once
// Each command's synopsis and summary: the list of commands shows them, and the command's
// own usage line and --help begin with them.

namespace qz::cli::usage {

struct Text {
    const char* name;
    const char* synopsis;
    const char* summary;
};

inline constexpr Text kDownload{
    "download",
    "[--port PORT] --output FILE.qrv [--verify] [--keep-partial] [--force] [--yes] [--trace FILE] "
    "[--dial NUMBER [--pulse] [--init FILE.mdm]]",
    "Download a logger's recording and save it to FILE.qrv, as the program's Download and Save do. "
    "Exit status 0 when the recording was saved; 1 when nothing was saved, and also when the "
    "logger's model is unknown to the catalogue (its memory is then saved as it was read)."};
inline constexpr Text kPing{"ping",
                            "[--port PORT] [--trace FILE] [--dial NUMBER [--pulse] [--init FILE.mdm]]",
                            "Tell whether a logger answers on the port."};
inline constexpr Text kStatus{
    "status", "[--port PORT] [--trace FILE] [--dial NUMBER [--pulse] [--init FILE.mdm]]",
    "Print the logger's serial number, device code and model, memory size, clock (with its year, "
    "and its drift from this computer's clock), run state, comment and battery voltage."};
inline constexpr Text kConfigure{
    "configure",
    "[--port PORT] --interval SECONDS|MM:SS --stop full|cyclic [--comment TEXT] "
    "[--start now | --start-at \"YYYY-MM-DD hh:mm:ss\" | --start-after DD:HH:MM] [--inputs FILE.csv] "
    "[--yes] [--trace FILE] [--dial NUMBER [--pulse] [--init FILE.mdm]]",
    "Prepare and start a logger's next recording as the program's Configuration command does: "
    "read the logger, apply the options under the same rules and with the same messages, and "
    "send the program block, the input table and the clock. Prints what was sent."};
inline constexpr Text kStop{
    "stop", "[--port PORT] [--yes] [--trace FILE] [--dial NUMBER [--pulse] [--init FILE.mdm]]",
    "Stop a logger that is recording or waiting for a delayed start; without "
    "--yes, only tell its run state (exit status 0)."};
inline constexpr Text kReadings{
    "readings",
    "[--port PORT] [--count N] [--every SECONDS] [--raw] [--csv] [--trace FILE] "
    "[--dial NUMBER [--pulse] [--init FILE.mdm]]",
    "Print the logger's current readings, one reading per period, until the count is reached, "
    "Ctrl-C, or the logger stops answering."};
inline constexpr Text kCollect{
    "collect", "--fleet FLEET.ini [--store URL] [--json]",
    "Read every logger of a fleet file into the store, only what is new since the last "
    "collection, loggers on different ports at the same time. Prints a table (or JSON) of what "
    "became of each logger. Exit status 0 when every logger was collected, 1 when some failed, "
    "2 for a bad fleet file or store."};
inline constexpr Text kStore{
    "store",
    "loggers [--store URL] [--json] | export --logger SERIAL|LABEL [--from \"YYYY-MM-DD hh:mm:ss\"] "
    "[--to \"YYYY-MM-DD hh:mm:ss\"] [--output FILE [--force]] [--store URL]",
    "Read the store back. loggers: each logger with its last collection and when its memory will "
    "be full; export: a logger's measurements as comma-separated values, as export --kind csv "
    "writes them, one recording after the other in time order."};
inline constexpr Text kInfo{"info", "FILE.qrv", "Print the information text of a recording file."};
inline constexpr Text kExport{
    "export", "FILE.qrv --kind text|excel|lotus|nodate|csv [--output OUT [--force]]",
    "Export a whole recording file as text, to OUT or to standard output. text: with the date "
    "and time; nodate: with the time only; excel and lotus: with a spreadsheet day number; csv: "
    "comma-separated, ISO 8601 times, '.' decimals."};
inline constexpr Text kPlot{
    "plot",
    "FILE.qrv [MORE.qrv ...] | [--store URL] --logger SERIAL|LABEL --output FILE.png|FILE.svg|FILE.pdf "
    "[--size WxH] [--from \"YYYY-MM-DD hh:mm:ss\"] [--to \"YYYY-MM-DD hh:mm:ss\"] [--align start|clock] "
    "[--inputs 1,3] [--own-scales] [--force]",
    "Draw the graph of one or more recording files in one view, or of a logger's measurements in "
    "the store, as the graph window draws it (PDF: the printed A4 page)."};
inline constexpr Text kDump{
    "dump",
    "[--port PORT] --output FILE.qrv [--verify] [--force] [--trace FILE] [--dial NUMBER [--pulse] [--init "
    "FILE.mdm]]",
    "Copy every block of a logger's memory, untested, to a recording file with the logger's own "
    "header, for service."};
inline constexpr Text kHexdump{
    "hexdump",
    "FILE.qrv | [--port PORT] [--address HEX] [--length N] [--clock] [--trace FILE] "
    "[--dial NUMBER [--pulse] [--init FILE.mdm]]",
    "Print memory as hexadecimal lines of 16 bytes, from a recording file (addresses in its "
    "memory image) or from a logger (its 16-bit addresses; --clock: then its clock record)."};

} // namespace qz::cli::usage
