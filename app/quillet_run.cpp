// SPDX-License-Identifier: GPL-3.0-or-later
// quillet-run: runs a worksheet file line by line without any window, as if each line were
// typed at the end of the worksheet and completed with Enter, and prints the worksheet.
#include "engine/utf8.h"
#include "graphs/worksheet_session.h"
#include "worksheet/text_codec.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: quillet-run [--seed N] [--status] [--utf8] [--radians] [--base dec|hex|bin] [FILE|-]\n"
    "\n"
    "Runs a worksheet: each line of FILE (or of standard input for - or no FILE) is appended\n"
    "to the worksheet and completed with Enter; the final worksheet is written to standard\n"
    "output with CR LF line breaks.\n"
    "\n"
    "  --seed N       seed the random generator with N (default: the current time)\n"
    "  --status       print the status line after each input line instead of the worksheet\n"
    "  --utf8         read and write UTF-8 instead of GBK\n"
    "  --radians      start in radian mode instead of degrees\n"
    "  --base B       display results in dec (default), hex or bin\n"
    "  --help         show this help\n"
    "  --version      show the version\n"
    "\n"
    "Exit status: 0 when the input was read and the output written in full, 1 when the input\n"
    "could not be read or the output could not be written, 2 on a usage error.\n";

struct Options {
    std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr));
    bool status = false;
    bool utf8 = false;
    bool radians = false;
    quillet::DisplayBase base = quillet::DisplayBase::Decimal;
    std::string file = "-";
};

// Writes all of bytes to standard output and closes it, so that a full disk or a closed
// descriptor is noticed; on failure, says why on standard error and returns false.
bool writeOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            std::cerr << "quillet-run: cannot write output: "
                      << std::strerror(written < 0 ? errno : EIO) << "\n";
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    // Linux releases the descriptor even when close() is interrupted, so EINTR is no loss.
    if (::close(STDOUT_FILENO) != 0 && errno != EINTR) {
        std::cerr << "quillet-run: cannot write output: " << std::strerror(errno) << "\n";
        return false;
    }
    return true;
}

int usageError(const std::string& message) {
    std::cerr << "quillet-run: " << message << "\n" << kUsage;
    return 2;
}

// Parses the command line; returns an exit status when the program should stop.
std::optional<int> parseOptions(int argc, char** argv, Options& options) {
    bool haveFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return writeOutput(kUsage) ? 0 : 1;
        } else if (arg == "--version") {
            return writeOutput("quillet-run " QUILLET_VERSION "\n") ? 0 : 1;
        } else if (arg == "--status") {
            options.status = true;
        } else if (arg == "--utf8") {
            options.utf8 = true;
        } else if (arg == "--radians") {
            options.radians = true;
        } else if (arg == "--seed" || arg == "--base") {
            if (i + 1 >= argc)
                return usageError(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--seed") {
                const auto result =
                    std::from_chars(value.data(), value.data() + value.size(), options.seed);
                if (result.ec != std::errc() || result.ptr != value.data() + value.size())
                    return usageError("--seed takes a number from 0 to 4294967295");
            } else if (value == "dec") {
                options.base = quillet::DisplayBase::Decimal;
            } else if (value == "hex") {
                options.base = quillet::DisplayBase::Hexadecimal;
            } else if (value == "bin") {
                options.base = quillet::DisplayBase::Binary;
            } else {
                return usageError("--base takes dec, hex or bin");
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (haveFile) {
            return usageError("only one FILE may be given");
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    return std::nullopt;
}

// Reads the whole of FILE, or standard input for "-", with plain read() calls so that every
// failure (a directory, an I/O error) is reported instead of looking like the end of the input.
std::optional<std::string> readInput(const std::string& file) {
    int fd = STDIN_FILENO;
    if (file != "-") {
        do
            fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        while (fd < 0 && errno == EINTR);
        if (fd < 0)
            return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    ssize_t count = 0;
    while ((count = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            const int readError = errno;
            if (fd != STDIN_FILENO)
                ::close(fd);
            errno = readError;
            return std::nullopt;
        }
    }
    // FILE may have taken descriptor 1 when standard output was closed: release it before
    // anything is written there.
    if (fd != STDIN_FILENO)
        ::close(fd);
    return bytes;
}

// The text as UTF-8; every undecodable byte becomes U+FFFD and is reported by line.
std::string decodeInput(std::string_view bytes, bool utf8) {
    std::vector<std::size_t> invalid;
    std::string text;
    if (utf8) {
        text = quillet::utf8::sanitized(bytes, invalid);
    } else {
        auto decoded = quillet::decodeGbk(bytes, quillet::InvalidBytes::Replace);
        text = std::move(decoded.utf8);
        invalid = std::move(decoded.invalidByteOffsets);
    }
    std::size_t line = 1, counted = 0, lastReported = 0;
    for (const std::size_t offset : invalid) {
        for (; counted < offset; ++counted)
            line += bytes[counted] == '\n';
        if (line != lastReported)
            std::cerr << "quillet-run: line " << line << ": undecodable "
                      << (utf8 ? "UTF-8" : "GBK") << " byte replaced by U+FFFD\n";
        lastReported = line;
    }
    return text;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const auto exitStatus = parseOptions(argc, argv, options))
        return *exitStatus;

    const auto bytes = readInput(options.file);
    if (!bytes) {
        std::cerr << "quillet-run: cannot read "
                  << (options.file == "-" ? "standard input" : options.file) << ": "
                  << std::strerror(errno) << "\n";
        return 1;
    }
    std::string_view input = *bytes;
    // A byte-order mark is no part of the first line.
    if (options.utf8 && input.starts_with(quillet::utf8::kByteOrderMark))
        input.remove_prefix(quillet::utf8::kByteOrderMark.size());
    const std::string text = decodeInput(input, options.utf8);

    quillet::WorksheetSession session;
    session.engine().seedRandom(options.seed);
    session.engine().setDegrees(!options.radians);
    session.logic().setDisplayBase(options.base);
    quillet::MemoryWorksheet& worksheet = session.worksheet();

    std::string statusLines;
    for (const std::string_view line : splitLines(text)) {
        worksheet.setCaret(worksheet.lineCount() - 1, std::string::npos);
        session.completeLine(line);
        if (options.status) {
            statusLines += session.status();
            statusLines += "\r\n";
        }
    }

    const std::string output = options.status ? statusLines : session.text("\r\n");
    return writeOutput(options.utf8 ? output : quillet::encodeGbk(output).gbk) ? 0 : 1;
}
