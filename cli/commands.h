#pragma once
// The command-line tool's commands: each takes the arguments after its name and returns
// the exit status.
#include <QStringList>

namespace qz::cli {
} // namespace qz::cli
